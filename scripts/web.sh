#!/usr/bin/env bash
# The engine in the browser: builds the WebAssembly module into build/web/
# (emscripten, Debian's; installed when missing).
#   scripts/web.sh                    builds it
#   scripts/web.sh --lote ARCHIVO.csv computes a teachers' table with it under
#                                     node and prints what
#                                     `recibo-lote --locale C ARCHIVO.csv` prints
#   scripts/web.sh --servir           serves the page (build/web/index.html) at
#                                     http://127.0.0.1:8000/ until Ctrl+C
#   scripts/web.sh --publicar CARPETA copies the page's files, and nothing
#                                     else of the build, into CARPETA
# Whatever the build says goes to standard error: standard output is the
# table's JSON lines only.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

usage() {
    echo "Uso: scripts/web.sh [--lote ARCHIVO.csv | --servir | --publicar CARPETA]" >&2
    exit 2
}
table=""
serve=false
publish=""
case "${1:-}" in
"") ;;
--lote)
    [[ $# -eq 2 ]] || usage
    table=$2
    ;;
--servir)
    [[ $# -eq 1 ]] || usage
    serve=true
    ;;
--publicar)
    [[ $# -eq 2 ]] || usage
    publish=$2
    ;;
*) usage ;;
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
if $serve; then
    echo "La página está en http://127.0.0.1:8000/ (Ctrl+C la detiene)" >&2
    exec python3 -m http.server 8000 --bind 127.0.0.1 --directory "$root/build/web"
fi
if [[ -n "$publish" ]]; then
    mkdir -p "$publish"
    web="$root/build/web"
    # The page's modules: every .mjs but lote.mjs, which is node's.
    pages=()
    for module in "$web"/*.mjs; do
        [[ $(basename "$module") == lote.mjs ]] || pages+=("$module")
    done
    cp "$web/index.html" "$web/estilo.css" "$web/recibo.wasm" "${pages[@]}" "$publish/"
    echo "La página quedó en $publish: copiala a un servidor de páginas estáticas." >&2
fi
