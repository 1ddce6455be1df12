#!/usr/bin/env bash
# Usage: scripts/fuente-libcsv.sh FOLDER
# Unpacks the source of Debian 12's libcsv (the version the native build
# links) into FOLDER/libcsv, for the WebAssembly build, which compiles it;
# prints the source folder. Done once: nothing is fetched when it is there.
# apt-get source reads a source list of its own under FOLDER, made from the
# machine's package sources, so the machine's apt settings are left alone.
set -euo pipefail
folder=$(mkdir -p "$1" && cd "$1" && pwd)
source_dir="$folder/libcsv"
if [[ -f "$source_dir/libcsv.c" ]]; then
    echo "$source_dir"
    exit 0
fi

apt_dir="$folder/apt"
rm -rf "$apt_dir" "$source_dir"
mkdir -p "$apt_dir/sources" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/unpacked"
shopt -s nullglob
for list in /etc/apt/sources.list.d/*.sources; do
    sed 's/^Types: deb$/Types: deb-src/' "$list" >"$apt_dir/sources/$(basename "$list")"
done
for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [[ -f "$list" ]] || continue
    sed -n 's/^deb /deb-src /p' "$list" >"$apt_dir/sources/$(basename "$list")"
done
apt_options=(
    -o "Dir::Etc::SourceList=/dev/null"
    -o "Dir::Etc::SourceParts=$apt_dir/sources"
    -o "Dir::State::Lists=$apt_dir/lists"
    -o "Dir::Cache=$apt_dir/cache"
)
apt-get "${apt_options[@]}" update -qq >&2
version=$(dpkg-query -W -f='${Version}' libcsv-dev)
(cd "$apt_dir/unpacked" && apt-get "${apt_options[@]}" source -qq "libcsv=$version" >&2)
mv "$apt_dir/unpacked"/libcsv-*/ "$source_dir"
rm -rf "$apt_dir"
echo "$source_dir"
