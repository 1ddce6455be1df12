#!/usr/bin/python3
"""The desktop program as a screen reader reads it: the accessibility tree
over AT-SPI (the bus Orca listens to), and the keyboard through real X key
events. A teacher is loaded from a planilla with Tab and Enter, "Calcular" is
pressed, and Tab through "Haberes" must reach each total with its caption;
"Calcular" with no kind of employment gives an alert that says why; the
zone list keeps its label and a typed position code is confirmed by name.

    screen_reader_test.py RECIBO PLANILLA   (on a desktop with a D-Bus
                                             session: desktop_session.sh
                                             dbus-run-session -- ...)
"""

import os
import re
import subprocess
import sys
import time

import pyatspi

RECIBO, PLANILLA = sys.argv[1], sys.argv[2]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FALLA: " + what, file=sys.stderr)


def wait_for(find, what, seconds=10):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = find()
        if found:
            return found
        time.sleep(0.05)
    sys.exit("no llegó: " + what)


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "recibo":
            return app
    return None


def window(title):
    app = application()
    if app is None:
        return None
    for each in app:
        if each is not None and each.name.startswith(title) and each.getState().contains(pyatspi.STATE_SHOWING):
            return each
    return None


def focused(root):
    """The object that has the keyboard focus under `root`: the innermost
    focused one (a table's focused cell rather than the table)."""
    has_focus = lambda o: o is not None and o.getState().contains(pyatspi.STATE_FOCUSED)
    found = pyatspi.findDescendant(root, has_focus) if root is not None else None
    while found is not None:
        inner = next((child for child in found if has_focus(child)), None)
        if inner is None:
            return found
        found = inner
    return None


def key(name):
    subprocess.run(["xdotool", "key", "--clearmodifiers", name], check=True)
    time.sleep(0.15)


def tab_until(root, wanted, limit=60):
    """Tab until the focused object satisfies `wanted`; the names passed."""
    passed = []
    for _ in range(limit):
        key("Tab")
        now = focused(root)
        if now is not None:
            passed.append(now.name)
            if wanted(now):
                return now, passed
    return None, passed


program = subprocess.Popen([RECIBO, PLANILLA], env=dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                                                        LC_ALL="es_AR.UTF-8"))
try:
    entry = wait_for(lambda: window("Ingreso de datos"), "la ventana «Ingreso de datos»")

    # The list: Tab reaches it, Enter loads the teacher it is on.
    item, passed = tab_until(entry, lambda o: o.getRole() in (pyatspi.ROLE_LIST, pyatspi.ROLE_LIST_ITEM))
    check(item is not None, "Tab no llega a la lista de docentes: " + " | ".join(passed))
    docente = pyatspi.findDescendant(entry, lambda o: o is not None and o.getRole() == pyatspi.ROLE_TEXT
                                     and o.name == "Apellido y nombre:")
    check(docente is not None, "no hay un cuadro «Apellido y nombre»")
    typed = lambda: docente.queryText().getText(0, -1)
    check(typed() == "", "moverse a la lista cargó un docente: " + typed())
    key("Return")
    wait_for(lambda: typed() == "Gómez, María Laura", "el docente de la lista con Enter")

    calcular = pyatspi.findDescendant(entry, lambda o: o is not None and o.getRole() == pyatspi.ROLE_PUSH_BUTTON
                                      and o.name == "Calcular")
    calcular.queryAction().doAction(0)
    haberes = wait_for(lambda: window("Haberes"), "la ventana «Haberes»")

    # The lines are a table: Tab reaches its first line, Down the next one,
    # each cell with its column's header and the line's explanation.
    cell, passed = tab_until(haberes, lambda o: o.getRole() == pyatspi.ROLE_TABLE_CELL)
    check(cell is not None, "Tab no llega a las líneas del recibo: " + " | ".join(passed))
    if cell is not None:
        table = cell.parent.queryTable()
        check(table.nRows == 11, "la tabla tiene %d filas, no las 11 líneas" % table.nRows)
        headers = [table.getColumnHeader(column).name for column in range(table.nColumns)]
        check(headers == ["Código", "Cantidad", "Concepto", "Haberes", "Descuentos"], "encabezados: %s" % headers)
        key("Down")
        below = focused(haberes)
        index = below.getIndexInParent() if below is not None else -1
        where = (table.getRowAtIndex(index), table.getColumnAtIndex(index)) if index >= 0 else None
        check(where == (1, 0), "Down no lleva a la segunda línea: %s" % (where,))
        check(below is not None and below.name == "010" and "antigüedad" in below.description,
              "la segunda línea se lee «%s», «%s»" % (below.name, below.description) if below else "nada")
        deduction = table.getAccessibleAt(8, 4)
        check(re.fullmatch(r"\$ [0-9.]+,[0-9]{4}, descuento", deduction.name) and table.getAccessibleAt(8, 3).name == "",
              "la línea del IOSPER no es un descuento: «%s»" % deduction.name)

    # The frame's ruled lines and the margin boxes shown only on paper are
    # not read as blank objects.
    noise = pyatspi.findAllDescendants(haberes, lambda o: o is not None and (
        o.getRole() == pyatspi.ROLE_FILLER and o.name == "Recibo de haberes"
        or o.getRole() == pyatspi.ROLE_TEXT and o.name == "AGMER"))
    check(not noise, "«Haberes» tiene %d objetos sin nada que leer" % len(noise))

    # Every total is a stop of Tab, read with its caption and amount.
    for caption in ("Total Haberes", "Total descuentos", "Liquido a pagar"):
        total, passed = tab_until(haberes, lambda o: o.name.startswith(caption))
        check(total is not None, "Tab no llega a «%s» en «Haberes»: %s" % (caption, " | ".join(passed)))
        if total is not None:
            check(re.fullmatch(re.escape(caption) + r": \$ -?[0-9.]+,[0-9]{4}", total.name) is not None,
                  "«%s» se lee «%s»" % (caption, total.name))

    # "Volver", then "Calcular" with no kind of employment: the notice is an
    # alert, and its text is read with it.
    volver = pyatspi.findDescendant(haberes, lambda o: o is not None and o.name == "Volver")
    volver.queryAction().doAction(0)
    wait_for(lambda: window("Haberes") is None, "«Haberes» guardada con «Volver»")
    calcular.queryAction().doAction(0)
    notice = wait_for(lambda: window("Error de selección"), "el aviso «Error de selección»")
    check(notice.getRole() == pyatspi.ROLE_ALERT, "el aviso se lee como «%s», no como alerta" % notice.getRoleName())
    said = [notice.description] + [child.name for child in notice if child is not None]
    check("No seleccionaste cargo ni horas" in said, "el aviso no dice su texto: %s" % said)
    key("Return")
    wait_for(lambda: window("Error de selección") is None, "el aviso cerrado con Enter")

    # The zone list is named by its label, not by the zone chosen in it.
    zona = pyatspi.findDescendant(entry, lambda o: o is not None and o.getRole() == pyatspi.ROLE_COMBO_BOX)
    labels = [target.name for relation in zona.getRelationSet()
              if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY
              for target in (relation.getTarget(i) for i in range(relation.getNTargets()))]
    check(labels == ["Ubicación Escuela (Zona)"], "la lista de zonas se llama %s, «%s»" % (labels, zona.name))

    # A typed code is confirmed with the position's name, as a notification.
    cargo = pyatspi.findDescendant(entry, lambda o: o is not None and o.getRole() == pyatspi.ROLE_RADIO_BUTTON
                                   and o.name == "Cargo")
    cargo.queryComponent().grabFocus()
    key("space")
    dialog = wait_for(lambda: window("Selección de cargo"), "el diálogo «Selección de cargo»")
    wait_for(lambda: focused(dialog) is not None and focused(dialog).name == "Código del cargo",
             "el foco en «Código del cargo»")
    subprocess.run(["xdotool", "type", "--delay", "50", "750"], check=True)
    said = lambda: [o.name for o in pyatspi.findAllDescendants(dialog, lambda o: o is not None
                    and o.getRole() == pyatspi.ROLE_NOTIFICATION and o.getState().contains(pyatspi.STATE_SHOWING))]
    try:
        wait_for(lambda: said() == ["Bibliotecario, código 750"], "el cargo elegido anunciado", seconds=3)
    except SystemExit:
        check(False, "el código escrito no anuncia el cargo: %s" % said())
finally:
    program.terminate()
    program.wait(10)

if failures:
    sys.exit("%d fallas" % len(failures))
print("el lector de pantalla llega al recibo y a sus totales")
