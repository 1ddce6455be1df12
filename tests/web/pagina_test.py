#!/usr/bin/env python3
"""Usage: pagina_test.py RECIBO_LOTE

The page in a real browser (headless chromium): opened on a receipt through
its link, it must show what `recibo-lote --locale es_AR` writes for the
same teacher, line by line and total by total, or the same message for a
teacher that cannot be computed. Skipped (77) without emcc or chromium."""

import html.parser
import json
import os
import shutil
import subprocess
import sys
import urllib.parse

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))

# The form's values in the page's link, as the table's columns.
CASES = [
    {"tipo": "cargo", "codcargo": "645", "antiguedad": "4", "zona": "0", "AGMER": "1"},
    {"tipo": "cargo", "codcargo": "634", "antiguedad": "12", "zona": "3", "conyuge": "1", "Osplad": "1",
     "Iosper": "0", "cajacomp": "1", "Seguro3011": "1"},
    {"tipo": "medio", "codcargo": "", "horas": "12,5", "antiguedad": "7", "zona": "-1"},
    {"tipo": "cargo", "codcargo": "99999"},
]
# What the page's form has before anything is chosen.
FORM_DEFAULTS = {"tipo": "cargo", "codcargo": "", "horas": "0", "antiguedad": "0", "zona": "-1",
                 "opincentivo": "1", "conyuge": "0", "Iosper": "1", "Osplad": "0", "APORTEJUB": "1",
                 "Ley4035": "1", "AGMER": "0", "cajacomp": "0", "Seguro3011": "0"}


class ReceiptText(html.parser.HTMLParser):
    """The texts of the page's #estado, and of each row of the receipt's table."""

    def __init__(self):
        super().__init__()
        self.rows, self.estado = [], ""
        self._row, self._cell, self._in_estado = None, None, False

    def handle_starttag(self, tag, attrs):
        if tag == "p" and ("id", "estado") in attrs:
            self._in_estado = True
        elif tag == "tr":
            self._row = []
        elif tag in ("td", "th") and self._row is not None:
            self._cell = ""

    def handle_endtag(self, tag):
        if tag == "p":
            self._in_estado = False
        elif tag in ("td", "th") and self._cell is not None:
            self._row.append(self._cell)
            self._cell = None
        elif tag == "tr" and self._row is not None:
            self.rows.append(self._row)
            self._row = None

    def handle_data(self, data):
        if self._in_estado:
            self.estado += data
        if self._cell is not None:
            self._cell += data


def expected(recibo_lote, case, folder):
    values = dict(FORM_DEFAULTS, **case)
    columns = {k: v for k, v in values.items() if k != "horas"}
    columns["numerohorasmed"] = values["horas"] if values["tipo"] == "medio" else "0"
    columns["numerohorassup"] = values["horas"] if values["tipo"] == "superior" else "0"
    table = os.path.join(folder, "fila.csv")
    with open(table, "w", encoding="utf-8") as out:
        out.write(";".join(columns) + "\n" + ";".join(f'"{v}"' for v in columns.values()) + "\n")
    run = subprocess.run([recibo_lote, "--locale", "es_AR", table], capture_output=True, text=True)
    line = json.loads(run.stdout)
    if "error" in line:
        return {"estado": line["error"], "rows": []}
    rows = [[l["cod"], l.get("cantidad", ""), l["descripcion"], l.get("haberes", l.get("descuentos"))]
            for l in line["lineas"]]
    totals = [["Total haberes", line["total_haberes"]], ["Total descuentos", line["total_descuentos"]],
              ["Líquido", line["liquido"]]]
    return {"estado": "", "rows": rows + totals}


def shown(page):
    parser = ReceiptText()
    parser.feed(page)
    # Lines have four cells, totals two; headings and group titles are left out.
    rows = [r for r in parser.rows if len(r) == 4 and r[0] != "Código" or len(r) == 2]
    return {"estado": parser.estado.strip(), "rows": rows if not parser.estado.strip() else []}


def main():
    recibo_lote = sys.argv[1]
    browser = shutil.which("chromium")
    if not shutil.which("emcc") or not browser:
        print("falta emcc (emscripten) o chromium: se omite la prueba de la página", file=sys.stderr)
        return 77
    subprocess.run(["bash", os.path.join(ROOT, "scripts", "web.sh")], check=True, stdout=subprocess.DEVNULL)
    folder = os.path.join(ROOT, "build", "web")
    server = subprocess.Popen([sys.executable, "-u", "-m", "http.server", "0", "--bind", "127.0.0.1",
                               "--directory", folder], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    try:
        port = server.stdout.readline().split(" port ")[1].split()[0]
        failed = 0
        for case in CASES:
            url = f"http://127.0.0.1:{port}/?{urllib.parse.urlencode(case)}"
            page = subprocess.run([browser, "--headless", "--no-sandbox", "--disable-gpu",
                                   "--virtual-time-budget=10000", "--dump-dom", url],
                                  capture_output=True, text=True, timeout=120).stdout
            want, got = expected(recibo_lote, case, os.environ.get("TMPDIR", "/tmp")), shown(page)
            if want != got:
                failed += 1
                print(f"{url}\n  recibo-lote: {want}\n  página:      {got}", file=sys.stderr)
        print(f"{len(CASES) - failed} passed, {failed} failed")
        return 1 if failed else 0
    finally:
        server.terminate()
        server.wait()


if __name__ == "__main__":
    sys.exit(main())
