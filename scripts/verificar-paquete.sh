#!/usr/bin/env bash
# Checks the Debian package without installing it on this machine: builds it
# (scripts/paquete.sh), checks its contents and control fields, validates the
# menu entry and the AppStream metadata, runs lintian, unpacks it with dpkg -x
# into a throwaway root and runs the programs from there.
set -euo pipefail
cd "$(dirname "$0")/.."

app_id=example.recibo.Recibo
example=examples/docentes.csv

fail() {
    echo "verificar-paquete: $*" >&2
    exit 1
}

bash scripts/paquete.sh

# The validators.
bash scripts/instalar-faltantes.sh desktop-file-utils appstream lintian

debs=(./recibo_*.deb)
if ((${#debs[@]} != 1)) || [[ ! -f "${debs[0]}" ]]; then
    fail "se esperaba un solo ./recibo_*.deb"
fi
deb=${debs[0]}
echo "== $deb"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/raiz
dpkg -x "$deb" "$root"

# Control fields: the name, a maintainer, and the libraries that the programs
# need on a machine without a compiler, found by dpkg-shlibdeps.
[[ $(dpkg-deb -f "$deb" Package) == recibo ]] || fail "el paquete no se llama recibo"
[[ -n $(dpkg-deb -f "$deb" Maintainer) ]] || fail "falta el campo Maintainer"
[[ -n $(dpkg-deb -f "$deb" Section) ]] || fail "falta el campo Section"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libcsv3 libqpdf29 qt6-qpa-plugins qt6-translations-l10n; do
    [[ ", $depends," == *", $library "* || ", $depends," == *", $library,"* ]] \
        || fail "Depends no nombra $library"
done

# Contents: every file where the desktop and man look for it, nothing outside /usr.
expected=(
    usr/bin/recibo
    usr/bin/recibo-lote
    "usr/share/applications/$app_id.desktop"
    "usr/share/icons/hicolor/scalable/apps/$app_id.svg"
    "usr/share/metainfo/$app_id.metainfo.xml"
    usr/share/doc/recibo/copyright
    usr/share/doc/recibo/changelog.gz
    usr/share/man/man1/recibo.1.gz
    usr/share/man/man1/recibo-lote.1.gz
)
for file in "${expected[@]}"; do
    [[ -f "$root/$file" ]] || fail "falta /$file en el paquete"
done
[[ -x "$root/usr/bin/recibo" && -x "$root/usr/bin/recibo-lote" ]] || fail "los programas no son ejecutables"
outside=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v -e '^\./$' -e '^\./usr/' || true)
[[ -z "$outside" ]] || fail "archivos fuera de /usr: $outside"

# The menu entry and the metadata: valid, and naming the installed program,
# the installed icon and each other.
desktop=$root/usr/share/applications/$app_id.desktop
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
report=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $report"
[[ -z "$report" ]] || fail "desktop-file-validate: $report"
echo "desktop-file-validate: sin observaciones"
# No network here: the screenshots' addresses are checked for form only.
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate falló"
grep -qx 'Exec=recibo %f' "$desktop" || fail "la entrada del menú no ejecuta recibo con el archivo elegido"
grep -qx 'MimeType=text/csv;' "$desktop" || fail "la entrada del menú no ofrece abrir planillas CSV"
grep -qx "Icon=$app_id" "$desktop" || fail "la entrada del menú no usa el ícono $app_id"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" \
    || fail "los metadatos no nombran la entrada del menú $app_id.desktop"
for screenshot in ingreso recibo; do
    grep -q "/$screenshot.png</image>" "$metainfo" || fail "los metadatos no muestran $screenshot.png"
    [[ -f "docs/$screenshot.png" ]] || fail "falta docs/$screenshot.png"
done

# lintian: no errors and no warnings.
echo "== lintian"
lintian --fail-on error,warning --tag-display-limit 0 "$deb" || fail "lintian encontró problemas"
echo "lintian: sin errores ni advertencias"

# The programs as unpacked, with nothing from the build tree around them.
run() {
    env -i PATH=/usr/bin:/bin LANG=C.UTF-8 "$@"
}
echo "== recibo-lote desde $root/usr/bin"
unresolved=$(ldd "$root/usr/bin/recibo-lote" "$root/usr/bin/recibo" | grep 'not found' || true)
[[ -z "$unresolved" ]] || fail "bibliotecas que faltan: $unresolved"

# Each program's --help shows its use, and its manual page documents exactly
# the options that --help lists.
for program in recibo recibo-lote; do
    status=0
    run "$root/usr/bin/$program" --help >"$work/ayuda.txt" || status=$?
    ((status == 0)) || fail "$program --help terminó con estado $status"
    head -n 1 "$work/ayuda.txt" | grep -q "^Uso: .*$program " || fail "$program --help no muestra el uso"
    help_options=$(grep -o -e '--[a-z][a-z-]*' "$work/ayuda.txt" | sort -u)
    man_options=$(gzip -dc "$root/usr/share/man/man1/$program.1.gz" \
        | grep -o -e '\\-\\-[a-z]\([a-z]\|\\-\)*' | sed 's/\\//g' | sort -u)
    [[ "$help_options" == "$man_options" ]] \
        || fail "las opciones de $program(1) (${man_options//$'\n'/ }) no son las de --help (${help_options//$'\n'/ })"
done

# One JSON line per row of the example (it has no line breaks inside cells),
# all calculated, and the same output as the program just built.
rows=$(($(grep -c . "$example") - 1))
status=0
run "$root/usr/bin/recibo-lote" --locale C "$example" >"$work/recibos.jsonl" || status=$?
((status == 0)) || fail "recibo-lote $example terminó con estado $status"
lines=$(wc -l <"$work/recibos.jsonl")
((lines == rows)) || fail "recibo-lote escribió $lines líneas para $rows filas"
calculated=$(grep -c '^{"fila":[0-9]*,.*"liquido":' "$work/recibos.jsonl" || true)
((calculated == rows)) || fail "sólo $calculated de $rows filas traen el líquido a pagar"
built=${RECIBO_BUILD_DIR:-build/paquete}/src/batch/recibo-lote
run "$built" --locale C "$example" | cmp -s - "$work/recibos.jsonl" \
    || fail "el recibo-lote del paquete no da lo mismo que $built"
echo "recibo-lote: $lines recibos de $rows filas, estado 0"

# The book of the example, compacted by the module the package installs
# beside the programs (object streams are written only by the compaction).
modules=("$root"/usr/lib/*/recibo/librecibo-pdf.so)
[[ -f "${modules[0]}" ]] || fail "falta el módulo librecibo-pdf.so en /usr/lib/…/recibo"
run QT_QPA_PLATFORM=offscreen "$root/usr/bin/recibo-lote" --pdf-unico "$work/libro.pdf" "$example" >/dev/null \
    || fail "recibo-lote --pdf-unico no escribió el libro"
grep -qa /ObjStm "$work/libro.pdf" || fail "el libro no salió compactado: el programa no encontró el módulo"
echo "recibo-lote --pdf-unico: libro compactado con ${modules[0]#"$root"}"

# The printer module "Imprimir" loads, beside the pdf one, with what it needs
# (Qt PrintSupport) found on this system.
printer=("$root"/usr/lib/*/recibo/librecibo-impresora.so)
[[ -f "${printer[0]}" ]] || fail "falta el módulo librecibo-impresora.so en /usr/lib/…/recibo"
! ldd "${printer[0]}" | grep -q "not found" || fail "al módulo ${printer[0]#"$root"} le faltan bibliotecas"
echo "imprimir: módulo ${printer[0]#"$root"}"

# A table it cannot use: status 2 and nothing on the output.
printf 'columna_que_no_existe\n1\n' >"$work/mala.csv"
status=0
run "$root/usr/bin/recibo-lote" "$work/mala.csv" >"$work/mala.out" 2>/dev/null || status=$?
((status == 2)) || fail "una tabla inservible dio estado $status en vez de 2"
[[ ! -s "$work/mala.out" ]] || fail "una tabla inservible escribió en la salida"

# The desktop program starts and keeps running (without a screen, on Qt's
# offscreen platform) until it is stopped.
echo "== recibo desde $root/usr/bin"
status=0
run QT_QPA_PLATFORM=offscreen timeout 5 "$root/usr/bin/recibo" >"$work/recibo.log" 2>&1 || status=$?
((status == 124)) || fail "recibo terminó solo, con estado $status: $(cat "$work/recibo.log")"
echo "recibo: abrió y siguió abierto hasta que se lo cerró"

echo "verificar-paquete: todo en orden"
