#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need,
# only those that are missing. Safe to run again. fonts-urw-base35 gives the
# receipt its sans-serif (Nimbus Sans) on screen and in the printed PDF pages.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev libgl-dev
    libcsv-dev
    libgtest-dev libbenchmark-dev
    poppler-utils xvfb xauth
    fonts-urw-base35
)

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
