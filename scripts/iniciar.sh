#!/usr/bin/env bash
# Installs what is missing, builds, and starts the desktop program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/compilar.sh
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "No hay pantalla gráfica (DISPLAY vacío): el programa de escritorio necesita una." >&2
    echo "Para probarlo sin pantalla: xvfb-run -a build/release/src/app/recibo" >&2
    exit 1
fi
exec build/release/src/app/recibo
