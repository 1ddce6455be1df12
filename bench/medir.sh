#!/usr/bin/env bash
# Measures every figure of the README's "Rendimiento" section on an existing
# build and prints each with its baseline or goal and the ratio:
#
#   bench/medir.sh BUILD_DIRECTORY        (on a display: scripts/rendimiento.sh
#                                          runs it under Xvfb)
#
# 1. start-up of recibo and of the baseline window (bench/baseline_window.cpp),
#    alternating, seen from the display by recibo_startup_watch, with the
#    processor time each used until then;
# 2. "Calcular" latency on the real windows (recibo_calcular_latency);
# 3. peak resident memory (VmHWM) of recibo after one receipt and of the
#    baseline window, read inside the unchanged programs (librecibo_memory_probe);
# 4. the engine and recibo-lote throughput.
#
# Every run is checked (exit status, rows written, receipt lines shown); a run
# that fails stops the measurement with an error. Repetitions can be changed
# with RECIBO_ARRANQUES (start-ups of each program, default 21),
# RECIBO_CLICS (clicks of each kind, default 200) and RECIBO_REPETICIONES
# (memory and recibo-lote runs, default 5).
set -euo pipefail

build=${1:?"uso: $0 CARPETA_DE_COMPILACIÓN"}
build=$(cd "$build" && pwd)
starts=${RECIBO_ARRANQUES:-21}
clicks=${RECIBO_CLICS:-200}
repeats=${RECIBO_REPETICIONES:-5}

if [[ -z "${DISPLAY:-}" ]]; then
    echo "medir.sh necesita una pantalla (DISPLAY); scripts/rendimiento.sh lo corre bajo Xvfb." >&2
    exit 2
fi

recibo="$build/src/app/recibo"
lote="$build/src/batch/recibo-lote"
baseline="$build/bench/recibo_baseline_window"
watch="$build/bench/recibo_startup_watch"
latency="$build/bench/recibo_calcular_latency"
probe="$build/bench/librecibo_memory_probe.so"
table="$build/bench/recibo_write_table"
engine="$build/bench/recibo_bench"
for program in "$recibo" "$lote" "$baseline" "$watch" "$latency" "$probe" "$table" "$engine"; do
    if [[ ! -e "$program" ]]; then
        echo "falta $program: compilá con scripts/rendimiento.sh" >&2
        exit 2
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Qt wants a private runtime directory; the desktop programs run with the
# Argentine regional settings, as a teacher runs them. Numbers in this
# script are handled in the C locale.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export LC_ALL=C
desktop_locale=es_AR.UTF-8

fail() {
    echo "error: $*" >&2
    exit 1
}

# The median of the numbers on standard input, one a line.
median() {
    sort -g | awk '{ v[NR] = $1 } END {
        if (NR == 0) exit 1
        if (NR % 2) printf "%.6f\n", v[(NR + 1) / 2]; else printf "%.6f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# The value of "name value" (or "name=value") on each line of a text. Every
# value is a number with a decimal point: any other text (a decimal comma
# written under a Spanish locale, which awk would read as a whole number)
# stops the measurement.
value_of() {
    awk -v key="$1" 'function put(v) {
            if (v !~ /^-?[0-9]+(\.[0-9]+)?$/) { printf "error: %s=%s no es un número con punto decimal\n", key, v > "/dev/stderr"; bad = 1; exit 1 }
            print v }
        { for (i = 1; i <= NF; ++i) {
            n = split($i, kv, "="); if (n == 2 && kv[1] == key) { put(kv[2]); next }
            if ($i == key && i < NF) { put($(i + 1)); next } } }
        END { if (bad) exit 1 }'
}

now() { printf '%s\n' "$EPOCHREALTIME"; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.6f\n", b - a }'; }

load() { cut -d' ' -f1-3 /proc/loadavg; }

cpu=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
qt=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || echo "?")
echo "Máquina: $(nproc) núcleos, ${cpu:-CPU desconocida}, Debian $(cat /etc/debian_version 2>/dev/null || echo "?"), Qt $qt"
echo "Compilación: $build"
echo "Carga al empezar (1, 5, 15 min): $(load)"
if awk -v l="$(cut -d' ' -f1 /proc/loadavg)" -v n="$(nproc)" 'BEGIN { exit !(l > n / 2) }'; then
    echo "Aviso: la máquina está ocupada; las cifras pueden salir peores que en reposo."
fi
echo

# ---- 1. Start-up ------------------------------------------------------------
echo "Arranque: $starts veces cada programa, alternados (más uno de calentamiento)..." >&2
: >"$work/arranque"
for ((run = 0; run <= starts; ++run)); do
    for who in recibo referencia; do
        # The program before has ended; its display resources are let go of.
        sleep 0.2
        if [[ $who == recibo ]]; then
            seen=$(LC_ALL=$desktop_locale "$watch" "Ingreso de datos" "$recibo" 2>"$work/arranque.err") ||
                fail "recibo_startup_watch con recibo: $(cat "$work/arranque.err")"
        else
            seen=$(LC_ALL=$desktop_locale "$watch" "Ventana de referencia" "$baseline" 2>"$work/arranque.err") ||
                fail "recibo_startup_watch con la ventana de referencia: $(cat "$work/arranque.err")"
        fi
        ((run == 0)) || echo "$who $seen" >>"$work/arranque"
    done
done
start_median() { grep "^$1 " "$work/arranque" | value_of "$2" | median; }
start_map=$(start_median recibo mapeo_ms)
start_paint=$(start_median recibo pintura_ms)
base_map=$(start_median referencia mapeo_ms)
base_paint=$(start_median referencia pintura_ms)
start_cpu=$(start_median recibo cpu_ms)
base_cpu=$(start_median referencia cpu_ms)

# ---- 2. "Calcular" ------------------------------------------------------------
echo "Calcular: $clicks clics de cada clase..." >&2
LC_ALL=$desktop_locale "$latency" "$clicks" >"$work/latencia" 2>"$work/latencia.err" ||
    fail "recibo_calcular_latency: $(cat "$work/latencia.err")"
lat() { value_of "$1" <"$work/latencia"; }
# Checked here: lat is called inside other commands' arguments, where a
# failure would not stop the script.
mapfile -t names < <(cut -d' ' -f1 "$work/latencia")
for name in "${names[@]}"; do
    lat "$name" >/dev/null || fail "recibo_calcular_latency escribió $(grep "^$name " "$work/latencia")"
done

# ---- 3. Memory ----------------------------------------------------------------
echo "Memoria: $repeats veces cada programa..." >&2
: >"$work/memoria"
for ((run = 1; run <= repeats; ++run)); do
    rm -f "$work/sonda"
    LC_ALL=$desktop_locale RECIBO_SONDA=recibo RECIBO_SONDA_SALIDA="$work/sonda" LD_PRELOAD="$probe" \
        "$recibo" 2>"$work/sonda.err" || fail "recibo con la sonda de memoria: $(cat "$work/sonda.err")"
    [[ -s "$work/sonda" ]] || fail "la sonda de memoria no escribió nada en recibo"
    [[ $(value_of lineas_recibo <"$work/sonda") == 26 ]] || fail "el recibo medido no tiene 26 líneas"
    echo "recibo $(tr '\n' ' ' <"$work/sonda")" >>"$work/memoria"

    rm -f "$work/sonda"
    LC_ALL=$desktop_locale RECIBO_SONDA=ventana RECIBO_SONDA_SALIDA="$work/sonda" LD_PRELOAD="$probe" \
        "$baseline" 2>"$work/sonda.err" || fail "ventana de referencia con la sonda: $(cat "$work/sonda.err")"
    [[ -s "$work/sonda" ]] || fail "la sonda de memoria no escribió nada en la ventana de referencia"
    echo "referencia $(tr '\n' ' ' <"$work/sonda")" >>"$work/memoria"
done
mem_median() { grep "^$1 " "$work/memoria" | value_of "$2" | median; }
mem_recibo=$(mem_median recibo VmHWM_kB)
mem_open=$(mem_median recibo al_abrir_VmHWM_kB)
mem_base=$(mem_median referencia VmHWM_kB)
controls_recibo=$(grep "^recibo " "$work/memoria" | head -1 | value_of controles_ingreso)
controls_base=$(grep "^referencia " "$work/memoria" | head -1 | value_of controles)

# ---- 4. Engine and recibo-lote --------------------------------------------------
echo "Motor de cálculo y recibo-lote..." >&2
bench_median() {
    "$engine" --benchmark_filter="$1" --benchmark_repetitions="$repeats" --benchmark_report_aggregates_only=true \
        --benchmark_format=csv 2>"$work/bench.err" >"$work/bench.csv" || fail "recibo_bench: $(cat "$work/bench.err")"
    # name,iterations,real_time,cpu_time,time_unit,bytes_per_second,items_per_second,...
    awk -F, '$1 ~ /_median"$/ { print $7 }' "$work/bench.csv"
}
engine_rate=$(bench_median '^BM_Engine$')
inprocess_rate=$(bench_median '^BM_Batch')
[[ -n "$engine_rate" && -n "$inprocess_rate" ]] || fail "recibo_bench no dio sus cifras"

rows=100000
pdf_rows=100
"$table" "$rows" >"$work/planilla.csv"
"$table" "$pdf_rows" >"$work/planilla-pdf.csv"
: >"$work/lote"
: >"$work/lote-pdf"
for ((run = 1; run <= repeats; ++run)); do
    begin=$(now)
    "$lote" --locale C -j 1 "$work/planilla.csv" >"$work/recibos.jsonl" 2>"$work/lote.err" ||
        fail "recibo-lote terminó con error: $(head -3 "$work/lote.err")"
    end=$(now)
    [[ $(wc -l <"$work/recibos.jsonl") == "$rows" ]] || fail "recibo-lote no escribió $rows recibos"
    grep -q '"error"' "$work/recibos.jsonl" && fail "alguna fila de la planilla dio error"
    elapsed "$begin" "$end" >>"$work/lote"

    rm -rf "$work/pdf"
    begin=$(now)
    "$lote" --locale C -j 1 --pdf "$work/pdf" "$work/planilla-pdf.csv" >"$work/recibos-pdf.jsonl" 2>"$work/lote.err" ||
        fail "recibo-lote --pdf terminó con error: $(head -3 "$work/lote.err")"
    end=$(now)
    [[ $(find "$work/pdf" -name '*.pdf' -size +1k | wc -l) == "$pdf_rows" ]] || fail "recibo-lote --pdf no dejó $pdf_rows PDF"
    elapsed "$begin" "$end" >>"$work/lote-pdf"
done
lote_rate=$(awk -v r="$rows" -v t="$(median <"$work/lote")" 'BEGIN { printf "%.0f\n", r / t }')
pdf_rate=$(awk -v r="$pdf_rows" -v t="$(median <"$work/lote-pdf")" 'BEGIN { printf "%.1f\n", r / t }')

# ---- The figures ------------------------------------------------------------------
echo
echo "Carga al terminar (1, 5, 15 min): $(load)"
echo
# Columns padded by characters, not bytes: the names carry accents.
pad() {
    local LC_ALL=C.UTF-8
    local text=$1 width=$2
    if ((width < 0)); then
        printf '%s%*s' "$text" $((-width - ${#text} > 0 ? -width - ${#text} : 0)) ''
    else
        printf '%*s%s' $((width - ${#text} > 0 ? width - ${#text} : 0)) '' "$text"
    fi
}
line() {   # name, result, baseline, ratio, goal, verdict
    echo "$(pad "$1" -50) $(pad "$2" 16) $(pad "$3" 26) $(pad "$4" 6) $(pad "$5" 8)  $6"
}
row() {   # name, result, unit, baseline, ratio, goal, met (1/0)
    line "$1" "$2 $3" "$4" "$5" "$6" "$([[ $7 == 1 ]] && echo cumple || echo "NO CUMPLE")"
}
note() {   # name, result, remark
    echo "$(pad "$1" -50) $(pad "$2" 16)  ($3)"
}
line "medida" "resultado" "referencia" "razón" "objetivo" ""
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.6f\n", a / b }'; }
shown() { awk -v v="$1" 'BEGIN { printf "%.3f\n", v }'; }
atmost() { awk -v a="$1" -v b="$2" 'BEGIN { print (a <= b) ? 1 : 0 }'; }
below() { awk -v a="$1" -v b="$2" 'BEGIN { print (a < b) ? 1 : 0 }'; }
ms() { awk -v v="$1" 'BEGIN { printf "%.1f\n", v }'; }
ms2() { awk -v v="$1" 'BEGIN { printf "%.2f\n", v }'; }
mb() { awk -v v="$1" 'BEGIN { printf "%.1f\n", v / 1024 }'; }
per_second() { awk -v v="$1" 'BEGIN { printf "%.0f\n", v }'; }

r=$(ratio "$start_map" "$base_map")
row "arranque hasta \"Ingreso de datos\" en pantalla" "$(ms "$start_map")" ms "$(ms "$base_map") ms (referencia)" "$(shown "$r")" "≤ 1.1×" "$(atmost "$r" 1.1)"
r=$(ratio "$start_paint" "$base_paint")
row "arranque hasta su primera pintura" "$(ms "$start_paint")" ms "$(ms "$base_paint") ms (referencia)" "$(shown "$r")" "≤ 1.1×" "$(atmost "$r" 1.1)"
note "procesador usado hasta esa pintura" "$(ms "$start_cpu") ms" \
    "referencia $(ms "$base_cpu") ms, razón $(shown "$(ratio "$start_cpu" "$base_cpu")"); sin objetivo, cambia menos que el reloj con otros programas corriendo"

for kind in a_la_vista tras_volver; do
    case $kind in
    a_la_vista) name="\"Calcular\", recibo a la vista (26 líneas)" ;;
    tras_volver) name="\"Calcular\" tras \"Volver\" (26 líneas)" ;;
    esac
    m=$(lat "${kind}_mediana_ms")
    r=$(ratio "$m" 5)
    row "$name" "$(ms2 "$m")" ms "5 ms (objetivo)" "$(shown "$r")" "< 5 ms" "$(below "$m" 5)"
done
note "\"Calcular\", el primer clic" "$(ms2 "$(lat primer_clic_ms)") ms" "la ventana se muestra por primera vez; sin objetivo"
note "una ventana simple vuelta a mostrar y pintada" "$(ms2 "$(lat minima_mediana_ms)") ms" "una etiqueta, del tamaño de \"Haberes\": lo mínimo de mostrar una ventana"

r=$(ratio "$mem_recibo" "$mem_base")
row "memoria máxima (VmHWM) tras un recibo" "$(mb "$mem_recibo")" MB "$(mb "$mem_base") MB (referencia)" "$(shown "$r")" "≤ 1.15×" "$(atmost "$r" 1.15)"
note "memoria máxima (VmHWM) al abrir, antes del recibo" "$(mb "$mem_open") MB" "sin objetivo"

r=$(ratio "$engine_rate" 1000000)
row "motor de cálculo (BM_Engine), un núcleo" "$(per_second "$engine_rate")" "rec/s" "1000000 rec/s (objetivo)" "$(shown "$r")" "≥ 1×" "$(atmost 1 "$r")"
r=$(ratio "$lote_rate" 200000)
row "recibo-lote, $rows filas, sólo JSON" "$lote_rate" "filas/s" "200000 filas/s (objetivo)" "$(shown "$r")" "≥ 1×" "$(atmost 1 "$r")"
r=$(ratio "$inprocess_rate" 200000)
row "recibo-lote en memoria (BM_Batch), $rows filas" "$(per_second "$inprocess_rate")" "filas/s" "200000 filas/s (objetivo)" "$(shown "$r")" "≥ 1×" "$(atmost 1 "$r")"
r=$(ratio "$pdf_rate" 100)
row "recibo-lote --pdf, $pdf_rows filas" "$pdf_rate" "filas/s" "100 filas/s (documentado)" "$(shown "$r")" "≥ 1×" "$(atmost 1 "$r")"

echo
echo "Medianas: arranque de $starts corridas de cada programa; Calcular de $(lat tras_volver_clics) clics de cada clase"
echo "(p90: a la vista $(ms2 "$(lat a_la_vista_p90_ms)") ms, tras Volver $(ms2 "$(lat tras_volver_p90_ms)") ms); memoria y recibo-lote de $repeats corridas;"
echo "motor y BM_Batch de $repeats repeticiones. Controles: \"Ingreso de datos\" $controls_recibo, referencia $controls_base."
