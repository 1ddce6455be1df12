#!/usr/bin/env bash
# recibo's command line with no display at all (as over ssh): --help and
# --version answer on the terminal, a wrong option says so in Spanish with
# status 2, and none of them tries to open a window.
#   command_line.sh RECIBO
set -uo pipefail
recibo=$1
failed=0
# arguments | status | first line of the output (standard output, then error)
while IFS='|' read -r arguments status first; do
    read -ra words <<<"$arguments"
    output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LANG=C.UTF-8 "$recibo" "${words[@]}" 2>&1)
    got=$?
    line=$(head -n 1 <<<"$output")
    if [[ $got != "$status" || $line != $first ]]; then
        echo "recibo $arguments: estado $got, «$line»; se esperaba $status, «$first»" >&2
        failed=1
    fi
done <<'CASES'
--help|0|Uso: *recibo \[opciones\] \[planilla.csv\]
-h planilla.csv|0|Uso: *recibo \[opciones\] \[planilla.csv\]
--version|0|recibo [0-9]*.[0-9]*.[0-9]*
--ayuda|2|recibo: Opción desconocida «ayuda». Las opciones se ven con «recibo --help».
planilla.csv -x|2|recibo: Opción desconocida «x». Las opciones se ven con «recibo --help».
CASES
exit $failed
