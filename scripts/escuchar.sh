#!/usr/bin/env bash
# Usage: scripts/escuchar.sh [ARGUMENTO DE recibo...] < TECLAS
#        scripts/escuchar.sh --pagina DIRECCIÓN < TECLAS
# What Orca says while a person uses the desktop program (or, with
# --pagina, the web page at DIRECCIÓN in chromium): recibo runs on a
# desktop of its own (tests/gui/desktop_session.sh) with Orca started first,
# as on a blind user's desktop; each line read from standard input is pressed
# as xdotool key names ("Tab", "shift+Tab", "Return", "Down"), or typed when
# it starts with "escribir " ("escribir 645"). Prints each line and what Orca
# spoke after it. Needs orca (apt-get install orca).
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ "${1:-}" != --dentro ]]; then
    command -v orca >/dev/null || { echo "Falta orca: instalalo con «apt-get install orca»." >&2; exit 1; }
    [[ "${1:-}" == --pagina || -x build/release/src/app/recibo ]] || bash scripts/compilar.sh
    keys=$(mktemp)
    trap 'rm -f "$keys"' EXIT
    cat >"$keys"
    tests/gui/desktop_session.sh dbus-run-session -- bash "$0" --dentro "$keys" "$@"
    exit
fi
shift
keys=$1
shift
log=$(mktemp -d)
# Spanish, as the program's users hear it.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LANGUAGE=es LC_ALL=es_AR.UTF-8
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
orca --debug-file="$log/orca" >/dev/null 2>&1 &
orca_pid=$!
sleep 5  # Orca has said "Lector de pantalla activado" and listens
if [[ "${1:-}" == --pagina ]]; then
    # Chromium shows its page to screen readers only when asked to.
    chromium --no-sandbox --force-renderer-accessibility --no-first-run --disable-background-networking \
        --disable-component-update --disable-sync --disable-features=Translate --lang=es-AR --user-data-dir="$log/chromium" \
        --start-maximized "$2" >"$log/recibo" 2>&1 &
    sleep 4
else
    build/release/src/app/recibo "$@" >"$log/recibo" 2>&1 &
fi
recibo_pid=$!
sleep 4

# What Orca spoke since the given line of its log.
spoken() { tail -n +"$1" "$log/orca" | sed -n "s/^.* - SPEECH OUTPUT: '\(.*\)' *{'established.*/    \1/p"; }
mark=$(wc -l <"$log/orca")
echo "(al empezar)"
spoken 1
while IFS= read -r line; do
    mark=$(wc -l <"$log/orca")
    if [[ "$line" == escribir\ * ]]; then
        xdotool type --delay 120 "${line#escribir }"
    elif [[ -n "$line" ]]; then
        read -ra names <<<"$line"
        xdotool key --clearmodifiers "${names[@]}"
    fi
    sleep 1.5
    echo "$line"
    spoken $((mark + 1))
done <"$keys"
sleep 3
kill "$recibo_pid" "$orca_pid" 2>/dev/null || true
rm -rf "$log"
