#!/usr/bin/env bash
# Builds the Debian package recibo_<version>_<architecture>.deb and leaves it
# in the repository's top directory. Installs whatever is missing first (with
# sudo when not run as root). Safe to run again: it only rebuilds what changed.
#
#   RECIBO_BUILD_DIR   build directory (default build/paquete)
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${RECIBO_BUILD_DIR:-build/paquete}

# What the build needs, then what packaging adds: dpkg-shlibdeps and
# dpkg-buildflags (dpkg-dev) and file, which cpack uses to find the programs.
bash scripts/dependencias.sh
bash scripts/instalar-faltantes.sh dpkg-dev file gzip

# The build type the test suite runs (scripts/probar.sh), with Debian's
# compiler and linker flags, hardening included, on top. cpack strips the
# debugging information from the packaged programs.
# The preset "package" takes them from the environment.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
RECIBO_PACKAGE_CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
RECIBO_PACKAGE_LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
export RECIBO_PACKAGE_CXXFLAGS RECIBO_PACKAGE_LDFLAGS

cmake --preset package -B "$build_dir" >/dev/null
cmake --build "$build_dir"

rm -f "$build_dir"/recibo_*.deb
(cd "$build_dir" && cpack -G DEB >/dev/null)
built=("$build_dir"/recibo_*.deb)
if ((${#built[@]} != 1)) || [[ ! -f "${built[0]}" ]]; then
    echo "cpack no produjo el paquete recibo_*.deb en $build_dir" >&2
    exit 1
fi

# Only the package just built stays here, so that ./recibo_*.deb names one file.
rm -f ./recibo_*.deb
cp "${built[0]}" .
deb=$(basename "${built[0]}")
echo "Paquete listo: ./$deb"
echo "Para instalarlo:    sudo apt-get install ./$deb"
echo "Para desinstalarlo: sudo apt-get remove recibo"
