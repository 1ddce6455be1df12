#!/usr/bin/env bash
# Installs what is missing, then builds the program and the whole test suite
# with AddressSanitizer and UndefinedBehaviorSanitizer (clang 14, preset
# "asan", in build/asan) and runs the suite through ctest. A sanitizer report
# ends the test that made it with a failure, and so fails this command.
# Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/dependencias.sh
bash scripts/dependencias-pruebas.sh
bash scripts/clang14.sh
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan
