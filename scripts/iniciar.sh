#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/compilar.sh
exec build/release/src/batch/recibo-lote examples/docentes.csv
