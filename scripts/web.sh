#!/usr/bin/env bash
# The engine in the browser: builds the WebAssembly module into build/web/
# (emscripten, Debian's; installed when missing).
#   scripts/web.sh                    builds it
#   scripts/web.sh --lote ARCHIVO.csv computes a teachers' table with it under
#                                     node and prints what
#                                     `recibo-lote --locale C ARCHIVO.csv` prints
# Whatever the build says goes to standard error: standard output is the
# table's JSON lines only.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

table=""
case "${1:-}" in
"") ;;
--lote)
    [[ $# -eq 2 ]] || {
        echo "Uso: scripts/web.sh [--lote ARCHIVO.csv]" >&2
        exit 2
    }
    table=$2
    ;;
*)
    echo "Uso: scripts/web.sh [--lote ARCHIVO.csv]" >&2
    exit 2
    ;;
esac

(
    cd "$root"
    bash scripts/dependencias.sh
    RECIBO_LIBCSV_SOURCE=$(bash scripts/fuente-libcsv.sh build/fuentes)
    export RECIBO_LIBCSV_SOURCE
    cmake --preset web >/dev/null
    cmake --build --preset web
) >&2

if [[ -n "$table" ]]; then
    exec node "$root/build/web/lote.mjs" "$table"
fi
