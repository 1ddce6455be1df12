#!/usr/bin/env bash
# Checks that every C++ source the repository tracks is in the house style
# of .clang-format (clang-format 14, Debian 12's). With --fix, formats them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/instalar-faltantes.sh clang-format-14

mapfile -t sources < <(git ls-files '*.cpp' '*.h')
if [[ "${1:-}" == "--fix" ]]; then
    clang-format-14 --style=file -i "${sources[@]}"
    exit 0
fi
unformatted=()
for source in "${sources[@]}"; do
    clang-format-14 --style=file "$source" | cmp -s - "$source" || unformatted+=("$source")
done
if ((${#unformatted[@]} > 0)); then
    echo "Sin el formato de .clang-format (scripts/formato.sh --fix los corrige):" >&2
    printf '  %s\n' "${unformatted[@]}" >&2
    exit 1
fi
echo "Formato: ${#sources[@]} archivos en el estilo de .clang-format"
