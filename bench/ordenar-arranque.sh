#!/usr/bin/env bash
# Writes src/app/startup-order.txt: the functions of recibo that run from
# start-up until the fullest receipt is on screen, the way the memory probe
# works the windows (bench/memory_probe.cpp), found by running it once under
# callgrind.
#
#   bench/ordenar-arranque.sh [BUILD_DIRECTORY]      (default build/release)
#
# The linker lays these functions out side by side at the start of recibo's
# code (src/app/CMakeLists.txt). The kernel maps a program's code in blocks
# of several pages around each page first used; with that code scattered
# among everything else (the planilla, the PDF books, the payslip check),
# nearly every block of it became resident at start-up. Run this again when
# the start-up or the receipt window changes much: a name that no longer
# exists is skipped by the linker, and tests/gui/startup_order.sh fails
# when too many of them are gone.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/release}
recibo="$build/src/app/recibo"
probe="$build/bench/librecibo_memory_probe.so"
for file in "$recibo" "$probe"; do
    [[ -e "$file" ]] || { echo "falta $file: compilá primero (cmake --build --preset release)" >&2; exit 2; }
done
bash scripts/instalar-faltantes.sh valgrind xvfb xauth

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

LC_ALL=es_AR.UTF-8 RECIBO_SONDA=recibo RECIBO_SONDA_SALIDA="$work/sonda" \
    xvfb-run -a -s "-screen 0 1920x1200x24 -nolisten tcp" env LD_PRELOAD="$probe" \
    valgrind --tool=callgrind --demangle=no --compress-strings=no --compress-pos=no \
    --callgrind-out-file="$work/callgrind" "$recibo" >/dev/null 2>"$work/err" \
    || { echo "error: recibo bajo callgrind: $(tail -5 "$work/err")" >&2; exit 1; }
grep -q '^lineas_recibo 26$' "$work/sonda" || { echo "error: el recibo no llegó a la pantalla" >&2; exit 1; }

# Every function callgrind saw run inside recibo itself (ob= names the
# object, fn= the function), named as the linker knows it.
{
    echo "# Functions of recibo run from start-up to the first receipt on screen,"
    echo "# laid out together by the linker. Written by bench/ordenar-arranque.sh."
    awk '/^ob=/ { inside = ($0 ~ /\/src\/app\/recibo$/) }
         /^fn=/ && inside { print substr($0, 4) }' "$work/callgrind" \
        | grep -v -e '^(below main)$' -e '^0x' | LC_ALL=C sort -u
} >src/app/startup-order.txt
echo "src/app/startup-order.txt: $(grep -vc '^#' src/app/startup-order.txt) funciones"
