#!/usr/bin/env bash
# Installs what is missing and builds everything in build/release.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/dependencias.sh
cmake --preset release >/dev/null
cmake --build --preset release
