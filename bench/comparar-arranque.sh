#!/usr/bin/env bash
# Compares the start-up and the peak memory of several builds of the desktop
# program and of reference windows, in the same state of the machine: every
# round runs each program once, in turn, so that whatever else the machine
# is doing falls on all of them alike.
#
#   bench/comparar-arranque.sh BUILD_DIRECTORY [recibo|referencia]:NAME=PROGRAM...
#
# for instance, with a copy of the programs kept before a change:
#
#   bench/comparar-arranque.sh build/release \
#       recibo:antes=/tmp/antes/recibo recibo:despues=build/release/src/app/recibo \
#       referencia:referencia=build/release/bench/recibo_baseline_window
#
# "recibo" programs are watched until "Ingreso de datos" is on the display and
# measured after one receipt; "referencia" programs until "Ventana de
# referencia" is, and measured with their window painted, as bench/medir.sh
# does. The watcher and the memory probe are BUILD_DIRECTORY's. Prints, for
# each program, the medians of the time to the window mapped and painted, of
# the processor time used until then, and of the peak resident memory. Needs
# a display (run it under xvfb-run, as scripts/rendimiento.sh does). Rounds:
# RECIBO_ARRANQUES (default 21) and RECIBO_REPETICIONES (memory, default 5).
set -euo pipefail

build=${1:?"uso: $0 CARPETA_DE_COMPILACIÓN [recibo|referencia]:NOMBRE=PROGRAMA..."}
build=$(cd "$build" && pwd)
shift
(($# > 0)) || { echo "uso: $0 CARPETA_DE_COMPILACIÓN [recibo|referencia]:NOMBRE=PROGRAMA..." >&2; exit 2; }
starts=${RECIBO_ARRANQUES:-21}
repeats=${RECIBO_REPETICIONES:-5}
watch="$build/bench/recibo_startup_watch"
probe="$build/bench/librecibo_memory_probe.so"
for program in "$watch" "$probe"; do
    [[ -e "$program" ]] || { echo "falta $program: compilá con scripts/rendimiento.sh" >&2; exit 2; }
done
[[ -n "${DISPLAY:-}" ]] || { echo "$0 necesita una pantalla (DISPLAY): corrélo con xvfb-run." >&2; exit 2; }

kinds=() names=() programs=()
for argument in "$@"; do
    [[ $argument =~ ^(recibo|referencia):([^=]+)=(.+)$ ]] || { echo "no entiendo \"$argument\"" >&2; exit 2; }
    [[ -x ${BASH_REMATCH[3]} ]] || { echo "no se puede ejecutar ${BASH_REMATCH[3]}" >&2; exit 2; }
    kinds+=("${BASH_REMATCH[1]}") names+=("${BASH_REMATCH[2]}") programs+=("${BASH_REMATCH[3]}")
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export LC_ALL=C
desktop_locale=es_AR.UTF-8
fail() { echo "error: $*" >&2; exit 1; }
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) exit 1
    if (NR % 2) printf "%.2f", v[(NR + 1) / 2]; else printf "%.2f", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
field() { sed -n "s/.*$1[= ]\\([0-9.]*\\).*/\\1/p"; }

echo "Carga al empezar (1, 5, 15 min): $(cut -d' ' -f1-3 /proc/loadavg)"
for ((run = 0; run <= starts; ++run)); do
    for i in "${!programs[@]}"; do
        title="Ingreso de datos"
        [[ ${kinds[i]} == referencia ]] && title="Ventana de referencia"
        sleep 0.2
        seen=$(LC_ALL=$desktop_locale "$watch" "$title" "${programs[i]}" 2>"$work/err") ||
            fail "${names[i]}: $(cat "$work/err")"
        ((run == 0)) || echo "$seen" >>"$work/arranque-$i"
    done
done
for ((run = 1; run <= repeats; ++run)); do
    for i in "${!programs[@]}"; do
        mode=recibo
        [[ ${kinds[i]} == referencia ]] && mode=ventana
        rm -f "$work/sonda"
        LC_ALL=$desktop_locale RECIBO_SONDA=$mode RECIBO_SONDA_SALIDA="$work/sonda" LD_PRELOAD="$probe" \
            "${programs[i]}" 2>"$work/err" || fail "${names[i]} con la sonda de memoria: $(cat "$work/err")"
        [[ -s "$work/sonda" ]] || fail "la sonda de memoria no escribió nada en ${names[i]}"
        [[ $mode == ventana || $(field lineas_recibo <"$work/sonda") == 26 ]] ||
            fail "el recibo medido en ${names[i]} no tiene 26 líneas"
        grep '^VmHWM_kB ' "$work/sonda" | field VmHWM_kB >>"$work/memoria-$i"
    done
done
echo "Carga al terminar (1, 5, 15 min): $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Medianas de $starts arranques y $repeats mediciones de memoria de cada programa, alternados:"
printf '%-16s %10s %12s %14s %10s\n' programa "mapeo ms" "pintura ms" "procesador ms" "VmHWM MB"
for i in "${!programs[@]}"; do
    printf '%-16s %10s %12s %14s %10s\n' "${names[i]}" "$(field mapeo_ms <"$work/arranque-$i" | median)" \
        "$(field pintura_ms <"$work/arranque-$i" | median)" "$(field cpu_ms <"$work/arranque-$i" | median)" \
        "$(median <"$work/memoria-$i" | awk '{ printf "%.2f", $1 / 1024 }')"
done
