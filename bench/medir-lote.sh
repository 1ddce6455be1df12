#!/usr/bin/env bash
# Measures recibo-lote's figures for -j and --pdf-unico on an existing build:
#
#   bench/medir-lote.sh BUILD_DIRECTORY
#
# 1. a table of 1,000,000 rows (recibo_write_table), JSON to /dev/null, with
#    -j 1 and -j 2 alternating: the median time of each and their ratio;
#    the output of both compared byte for byte; peak memory (maximum
#    resident set) for 200,000 and for 1,000,000 rows;
# 2. a table of 1,000 rows with --pdf-unico: the median time and the size of
#    the file.
#
# The output goes to /dev/null so that what is timed is the program, not the
# disk: 1,000,000 receipts are about 1.5 GB of JSON. Every run is checked
# (exit status 0). Repetitions: RECIBO_REPETICIONES (default 7).
set -euo pipefail

build=${1:?"uso: $0 CARPETA_DE_COMPILACIÓN"}
build=$(cd "$build" && pwd)
repeats=${RECIBO_REPETICIONES:-7}
lote="$build/src/batch/recibo-lote"
table="$build/bench/recibo_write_table"
for program in "$lote" "$table"; do
    if [[ ! -x "$program" ]]; then
        echo "falta $program: compilá con cmake --preset release && cmake --build --preset release" >&2
        exit 2
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C

fail() {
    echo "error: $*" >&2
    exit 1
}

# Runs the command, its standard output to /dev/null, and leaves its
# seconds and peak kilobytes in $seconds and $kb.
timed() {
    /usr/bin/time -f "%e %M" -o "$work/time" "$@" > /dev/null || fail "falló: $*"
    read -r seconds kb < "$work/time"
}

median() {
    sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

"$table" 1000000 > "$work/millon.csv"
"$table" 200000 > "$work/doscientas-mil.csv"
"$table" 1000 > "$work/mil.csv"

echo "recibo-lote, 1.000.000 filas, JSON a /dev/null ($repeats corridas alternadas de cada una)"
for ((i = 0; i < repeats; i++)); do
    for jobs in 1 2; do
        timed "$lote" --locale C -j "$jobs" "$work/millon.csv"
        echo "$seconds" >> "$work/j$jobs"
        echo "$kb" >> "$work/kb$jobs"
    done
done
one=$(median < "$work/j1")
two=$(median < "$work/j2")
echo "  -j 1: mediana $one s ($(sort -g "$work/j1" | tr '\n' ' ')), $(sort -g "$work/kb1" | tail -1) KB"
echo "  -j 2: mediana $two s ($(sort -g "$work/j2" | tr '\n' ' ')), $(sort -g "$work/kb2" | tail -1) KB"
awk -v a="$one" -v b="$two" 'BEGIN { printf "  -j 2 da %.2f veces las filas por segundo de -j 1\n", a / b }'

"$lote" --locale C -j 1 "$work/millon.csv" | sha256sum > "$work/sum1"
"$lote" --locale C -j 2 "$work/millon.csv" | sha256sum > "$work/sum2"
cmp -s "$work/sum1" "$work/sum2" || fail "-j 1 y -j 2 escribieron salidas distintas"
echo "  la salida de -j 1 y la de -j 2 son idénticas"
timed "$lote" --locale C -j 2 "$work/doscientas-mil.csv"
small=$kb
timed "$lote" --locale C -j 2 "$work/millon.csv"
echo "  memoria máxima con -j 2: $small KB con 200.000 filas, $kb KB con 1.000.000"

echo "recibo-lote --pdf-unico, 1.000 filas ($repeats corridas)"
for ((i = 0; i < repeats; i++)); do
    timed "$lote" --locale C --pdf-unico "$work/mil.pdf" "$work/mil.csv"
    echo "$seconds" >> "$work/pdf"
done
echo "  mediana $(median < "$work/pdf") s ($(sort -g "$work/pdf" | tr '\n' ' ')), $(stat -c %s "$work/mil.pdf") bytes"
