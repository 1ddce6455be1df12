#!/usr/bin/env bash
# Installs what is missing, builds build/release and measures, under Xvfb,
# every figure of the README's "Rendimiento" section: start-up against a
# plain window, "Calcular", memory against the same window, the engine and
# recibo-lote against their goals. Safe to run again: it only installs what
# is missing and only rebuilds what changed.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/dependencias.sh

# The start-up watcher needs libxcb's DAMAGE extension.
bash scripts/instalar-faltantes.sh libxcb1-dev libxcb-damage0-dev

cmake --preset release >/dev/null
cmake --build --preset release

# One X server for every measurement; it is reset by nobody in between.
exec xvfb-run -a -s "-screen 0 1920x1200x24 -nolisten tcp -noreset" bash bench/medir.sh build/release
