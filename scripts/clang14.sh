#!/usr/bin/env bash
# Installs clang 14 and its sanitizer and libFuzzer runtimes (Debian 12),
# only when missing. Safe to run again.
set -euo pipefail

bash "$(dirname "$0")/instalar-faltantes.sh" clang-14 libclang-rt-14-dev
