#!/usr/bin/env bash
# Installs clang 14 and its sanitizer and libFuzzer runtimes (Debian 12),
# only when missing. Safe to run again.
set -euo pipefail

packages=(clang-14 libclang-rt-14-dev)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]} > 0)); then
    echo "Instalando: ${missing[*]}"
    sudo=""
    if ((EUID != 0)); then
        sudo="sudo"
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
