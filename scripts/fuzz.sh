#!/usr/bin/env bash
# Usage: scripts/fuzz.sh [SECONDS]
#
# Installs what is missing, builds the libFuzzer targets (preset "fuzz",
# in build/fuzz) and runs each for SECONDS seconds (60 when not given), one
# worker each, starting from the committed seeds in fuzz/corpus. Fails when
# any target crashes, trips a sanitizer or finds a broken invariant; the
# input that did it is kept in build/fuzz/artifacts/. Safe to run again: the
# inputs found so far stay in build/fuzz/work/ and the next run starts from
# them.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
    echo "uso: scripts/fuzz.sh [SEGUNDOS]" >&2
    exit 2
fi

bash scripts/dependencias.sh
bash scripts/clang14.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

mkdir -p build/fuzz/work build/fuzz/artifacts
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

failed=()
# run_target NAME CORPUS [libFuzzer options...]
run_target() {
    local name=$1 corpus=$2
    shift 2
    mkdir -p "build/fuzz/work/$name"
    echo "== $name: $seconds s"
    if ! "build/fuzz/fuzz/$name" \
            -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
            -print_final_stats=1 -artifact_prefix="build/fuzz/artifacts/$name-" "$@" \
            "build/fuzz/work/$name" "fuzz/corpus/$corpus" 2>"build/fuzz/work/$name.log"; then
        tail -n 60 "build/fuzz/work/$name.log" >&2
        failed+=("$name")
        return
    fi
    grep -E '^(Done|stat::number_of_executed_units)' "build/fuzz/work/$name.log" || true
}

run_target calculation_fuzzer calculation
run_target batch_table_fuzzer batch_table -dict=fuzz/batch_table.dict
run_target planilla_fuzzer planilla -dict=fuzz/batch_table.dict
# A book's smallest pages with their fonts take some 30 KB.
run_target pdf_compaction_fuzzer pdf_compaction -max_len=65536
# The built-in scale's file takes some 30 KB.
run_target scale_file_fuzzer scale_file -max_len=65536

if ((${#failed[@]} > 0)); then
    echo "fuzzing failed: ${failed[*]} (inputs in build/fuzz/artifacts/)" >&2
    exit 1
fi
