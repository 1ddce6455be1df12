#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need,
# only those that are missing. Safe to run again. lld lays out the code
# recibo runs first side by side (src/app/CMakeLists.txt). libqpdf-dev reads and
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
# in the page's test (whose npm packages scripts/dependencias-pruebas.sh
# installs).
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config lld
    qt6-base-dev libgl-dev qt6-translations-l10n
    libcsv-dev libtomlplusplus-dev libqpdf-dev libfmt-dev libfast-float-dev
    emscripten dpkg-dev chromium
    libgtest-dev libbenchmark-dev
    poppler-utils qpdf xvfb xauth openbox xdotool x11-utils
    at-spi2-core python3-pyatspi dbus-daemon
    fonts-urw-base35 fonts-liberation
)

bash "$(dirname "$0")/instalar-faltantes.sh" "${packages[@]}"
