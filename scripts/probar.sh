#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/compilar.sh
bash scripts/dependencias-pruebas.sh
ctest --preset release
