#!/usr/bin/env bash
# Usage: lote_test.sh RECIBO_LOTE [WRITE_TABLE] -- TABLE...
# The WebAssembly engine (scripts/web.sh --lote) against
# `recibo-lote --locale C` over each table, and over one of WRITE_TABLE's
# generated tables when it is given: the same bytes on standard output, the
# same message and the same exit status. Skipped (77) without emscripten.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
recibo_lote=$1
shift
write_table=""
if [[ "$1" != "--" ]]; then
    write_table=$1
    shift
fi
shift

if ! command -v emcc >/dev/null; then
    echo "emcc no está instalado (paquete emscripten): se omite la comparación con WebAssembly" >&2
    exit 77
fi
bash "$root/scripts/web.sh" >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tables=("$@")
if [[ -n "$write_table" ]]; then
    "$write_table" 3000 >"$work/generada.csv"
    tables+=("$work/generada.csv")
fi

failed=0
for table in "${tables[@]}"; do
    native=0
    "$recibo_lote" --locale C -j 1 "$table" >"$work/nativo.out" 2>"$work/nativo.err" || native=$?
    web=0
    node "$root/build/web/lote.mjs" "$table" >"$work/web.out" 2>"$work/web.err" || web=$?
    if ! cmp -s "$work/nativo.out" "$work/web.out"; then
        echo "$table: la salida difiere" >&2
        diff <(head -c 2000 "$work/nativo.out") <(head -c 2000 "$work/web.out") >&2 || true
        failed=1
    fi
    if ! cmp -s "$work/nativo.err" "$work/web.err" || ((native != web)); then
        echo "$table: estado $native y $web, mensajes:" >&2
        cat "$work/nativo.err" "$work/web.err" >&2
        failed=1
    fi
done
echo "${#tables[@]} tablas comparadas"
exit "$failed"
