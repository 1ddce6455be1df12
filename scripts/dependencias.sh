#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need,
# only those that are missing. Safe to run again. libqpdf-dev reads and
# writes the PDF books recibo_pdf makes smaller. fonts-urw-base35 gives the
# receipt its sans-serif (Nimbus Sans) on screen and in the printed PDF pages,
# and fonts-liberation the other one it may have (Liberation Sans): the print
# tests run once with each; qt6-translations-l10n gives Qt's own texts
# (buttons, the file dialog) in Spanish; the print tests read the PDF pages
# back with poppler-utils and qpdf; xvfb, openbox, xdotool and x11-utils
# (xprop) give the walkthrough test a desktop with a window manager, driven
# by real pointer and keyboard events; at-spi2-core, python3-pyatspi and
# dbus-daemon let the screen reader test read the program as Orca does.
# libfmt-dev and libfast-float-dev write and read the engine's doubles (header
# only); emscripten builds the engine as WebAssembly (scripts/web.sh), with
# libcsv's source unpacked by dpkg-source (dpkg-dev); chromium opens its page
# in the page's test, driven by puppeteer-core and checked by axe-core, both
# from the npm registry at the versions tests/web/package-lock.json records.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev libgl-dev qt6-translations-l10n
    libcsv-dev libtomlplusplus-dev libqpdf-dev libfmt-dev libfast-float-dev
    emscripten dpkg-dev chromium
    libgtest-dev libbenchmark-dev
    poppler-utils qpdf xvfb xauth openbox xdotool x11-utils
    at-spi2-core python3-pyatspi dbus-daemon
    fonts-urw-base35 fonts-liberation
)

bash "$(dirname "$0")/instalar-faltantes.sh" "${packages[@]}"
web_tests="$(dirname "$0")/../tests/web"
if [[ ! -f "$web_tests/node_modules/.package-lock.json" ]] \
    || [[ "$web_tests/package-lock.json" -nt "$web_tests/node_modules/.package-lock.json" ]]; then
    command -v npm >/dev/null || bash "$(dirname "$0")/instalar-faltantes.sh" npm
    npm ci --prefix "$web_tests" --no-audit --no-fund --loglevel=error
fi
