#!/usr/bin/env bash
# Usage: scripts/instalar-faltantes.sh PACKAGE...
# Installs, with apt-get, those of the given Debian packages that are not
# installed yet (through sudo when not run as root). Safe to run again.
set -euo pipefail

missing=()
for package in "$@"; do
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
