#!/usr/bin/env bash
# Usage: desktop_session.sh PROGRAM [ARGUMENT...]
# Runs PROGRAM on a desktop of its own: a virtual X display (Xvfb) on the
# first free number, with the openbox window manager managing it, and a
# home, settings and runtime folder that are thrown away afterwards. Exits
# with PROGRAM's status.
set -euo pipefail

for tool in Xvfb openbox xdotool xprop; do
    if ! command -v "$tool" >/dev/null; then
        echo "Falta $tool: instalalo con scripts/dependencias.sh" >&2
        exit 1
    fi
done

work=$(mktemp -d)
xvfb_pid=""
openbox_pid=""
finish() {
    for pid in $openbox_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap finish EXIT

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_CONFIG_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER

# Xvfb writes the display number it took once it accepts connections.
Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [[ -s "$work/display" ]] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log" >&2; exit 1; }
    sleep 0.1
done
[[ -s "$work/display" ]] || { echo "Xvfb no abrió una pantalla" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

# The window manager has taken the screen once it names its check window.
openbox --sm-disable >"$work/openbox.log" 2>&1 &
openbox_pid=$!
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    kill -0 "$openbox_pid" 2>/dev/null || { cat "$work/openbox.log" >&2; exit 1; }
    sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
    { echo "openbox no tomó la pantalla" >&2; exit 1; }

status=0
QT_QPA_PLATFORM=xcb "$@" || status=$?
exit "$status"
