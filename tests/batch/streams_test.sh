#!/usr/bin/env bash
# streams_test.sh RECIBO_LOTE ROWS DATA_LIMIT_KB
#
# recibo-lote on streams far larger than the memory it is allowed (ulimit -d;
# 0: no limit, as under the sanitizers, which reserve memory of their own):
# a generated table of ROWS rows through a pipe is computed whole; endless
# input is refused at once; a table whose last line is unusable writes
# nothing; a full output, or one its reader closed, is reported. No
# temporary file is left behind.
set -uo pipefail
lote=$1 rows=$2 limit=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMPDIR=$work/tmp
mkdir "$TMPDIR"
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

limited() (
    if [[ $limit != 0 ]]; then ulimit -d "$limit"; fi
    exec "$lote" "$@"
)

header='docente,tipo,codcargo,antiguedad,zona,transporte,cantkm,hijos,cantidadhijos,Iosper,AGMER'
row='"Díaz, Ana Inés",cargo,702,7,2,1,148,1,4,1,1'
table() {
    echo "$header"
    yes "$row" | head -n "$rows"
}

# Every row of a table piped in, computed in order, the last one included.
# Two threads compute the rows, in the memory the limit allows.
table | limited --locale C -j 2 - 2>"$work/err" | awk -v rows="$rows" '
    NR == 1 && !/^\{"fila":1,"docente":"Díaz, Ana Inés",/ { print "first line: " $0; bad = 1 }
    END {
        if (NR != rows) print NR " lines for " rows " rows"
        else if ($0 !~ "^\\{\"fila\":" rows ",.*\"liquido\":\"\\$ [0-9.]+\",\"escala\":\"[^\"]+\"\\}$") print "last line: " $0
        else if (!bad) print "ok"
    }' >"$work/verdict"
status=("${PIPESTATUS[@]}")
[[ ${status[1]} == 0 && $(cat "$work/verdict") == ok ]] ||
    fail "streamed table: status ${status[1]}, $(cat "$work/verdict"), $(head -c 300 "$work/err")"

# Unusable input: status 2, nothing written, the reason on standard error.
expect_unusable() {
    local name=$1 reason=$2 status
    shift 2
    "$@" >"$work/out" 2>"$work/err"
    status=$?
    [[ $status == 2 ]] || fail "$name: status $status"
    [[ ! -s $work/out ]] || fail "$name: wrote $(wc -c <"$work/out") bytes to standard output"
    grep -q -- "$reason" "$work/err" || fail "$name: $(head -c 300 "$work/err")"
}

endless='la fila que empieza en la línea 1 pasa de 1 MiB'
expect_unusable "/dev/zero as a file" "$endless" limited /dev/zero
expect_unusable "/dev/zero piped in" "$endless" limited - </dev/zero

expect_unusable "blank lines and no header" "la tabla no tiene cabecera" \
    limited - < <(yes '' | head -n 1100000)

lastLine=$((rows + 2))
expect_unusable "bad quote on the last line, piped in" "comillas mal puestas en la línea $lastLine" \
    limited --locale C - < <(table; echo 'Beto,ca"rgo,645')
{ table; echo '"Beto,cargo,645'; } >"$work/unclosed.csv"
expect_unusable "unclosed quote on the last line, a file" "la fila empieza en la línea $lastLine" \
    limited --locale C "$work/unclosed.csv"

limited --help >/dev/full 2>"$work/err"
status=$?
[[ $status == 2 ]] && grep -q "no se pudo escribir la salida (el disco está lleno)" "$work/err" ||
    fail "help to a full disk: status $status, $(cat "$work/err")"

# A reader that stops reading is told apart from a finished run.
table | limited --locale C - 2>"$work/err" | head -c 1 >/dev/null
status=${PIPESTATUS[1]}
[[ $status == 2 ]] && grep -q "el programa que recibía la salida ya la cerró" "$work/err" ||
    fail "output closed by its reader: status $status, $(head -c 300 "$work/err")"

leftovers=$(find "$TMPDIR" -mindepth 1 | head -3)
[[ -z $leftovers ]] || fail "temporary files left behind: $leftovers"

exit $((failures != 0))
