#!/usr/bin/env python3
"""Writes the seed inputs of calculation_fuzzer into corpus/calculation.

Each seed is a teacher's entry values encoded the way the fuzzer decodes its
bytes (see EntryDecoder in calculation_fuzzer.cpp): texts as "as typed"
bytes, options and check boxes as their states. Run it again after changing
the decoding, so that the seeds keep meaning what their names say.
"""
import pathlib
import re

HERE = pathlib.Path(__file__).resolve().parent
CATALOGUE = HERE.parent / "src" / "positions" / "catalogue_data.cpp"
CODES = re.findall(r'^\s*\{"(\d{3})",', CATALOGUE.read_text(encoding="utf-8"), re.M)

POINT, COMMA = 0, 1
NONE, POSITION, MIDDLE, HIGHER = 0, 1, 2, 3
CLEAR, CHECKED, GRAYED = 0, 1, 2


def raw(text):
    data = text.encode("utf-8")
    assert len(data) < 250
    return bytes([len(data)]) + data


def box(text):
    return bytes([0]) + raw(text)   # choice 0 of 8: the text as typed


def typed_code(code):
    """The selection dialog with one catalogue code typed into it."""
    row = CODES.index(code)
    return bytes([0, 1, 0, row >> 8, row & 0xFF])


def boxes(punbas, compbas="0", proljor="0", jorcom="0", tardif="0", code="600", points=None, name="Cargo"):
    return (bytes([1]) + box(punbas) + box(compbas) + box(proljor) + box(jorcom) + box(tardif)
            + raw(code) + raw(points if points is not None else punbas) + raw(name))


def seed(settings, position, kind, docente="", med="0", sup="0", cod06="0", incen="0", cod113="0",
         seniority=0, zona=-1, incentivo=CHECKED, dinasist="0", transporte=CLEAR, cantkm="0",
         hijos=CLEAR, cantidadhijos="0", hijosdisc=CLEAR, cantidadhijosdisc="0", conyuge=CLEAR,
         deductions=(CLEAR,) * 7):
    data = bytes([settings]) + position + bytes([kind]) + raw(docente)
    data += box(med) + box(sup) + box(cod06) + box(incen) + box(cod113)
    data += bytes([seniority, zona + 2, incentivo]) + box(dinasist)
    data += bytes([transporte]) + box(cantkm) + bytes([hijos]) + box(cantidadhijos)
    data += bytes([hijosdisc]) + box(cantidadhijosdisc) + bytes([conyuge]) + bytes(deductions)
    return data


SEEDS = {
    "typical_position_645": seed(POINT, typed_code("645"), POSITION, "Pérez, Ana María", seniority=4, zona=1,
                                 deductions=(CHECKED, CLEAR, CHECKED, CLEAR, CHECKED, CLEAR, CLEAR)),
    "middle_hours_comma_everything": seed(
        COMMA, typed_code("645"), MIDDLE, "Gómez; Luis", med="12,5", cod06="45", incen="30", cod113="31",
        seniority=12, zona=4, dinasist="3", transporte=CHECKED, cantkm="301", hijos=CHECKED, cantidadhijos="2",
        hijosdisc=CHECKED, cantidadhijosdisc="1", conyuge=CHECKED, deductions=(CHECKED,) * 7),
    "higher_hours_grayed_deductions": seed(
        POINT, typed_code("645"), HIGHER, "Núñez", sup="12", cod06="14", incen="24", cod113="24", zona=0,
        incentivo=CLEAR, deductions=(GRAYED,) * 7),
    "position_guaranteed_minimum": seed(
        COMMA, boxes("1000", "0", "0", "0", "0,5"), POSITION, dinasist="1",
        deductions=(CHECKED, CHECKED, CLEAR, CHECKED, CLEAR, CHECKED, CLEAR)),
    "position_every_point_box": seed(
        COMMA, boxes("1000", "101,5", "0", "620", "150"), POSITION, seniority=9, zona=2, dinasist="2,5",
        incentivo=GRAYED, deductions=(CHECKED, CHECKED, CLEAR, CHECKED, CLEAR, CHECKED, CLEAR)),
    "fullest_receipt_26_lines": seed(
        POINT, boxes("1500", "101", "155", "620", "150"), POSITION, "Apellido, Nombre", seniority=10, zona=3,
        dinasist="2", transporte=CHECKED, cantkm="300", hijos=CHECKED, cantidadhijos="3", hijosdisc=CHECKED,
        cantidadhijosdisc="2", conyuge=CHECKED, deductions=(CHECKED,) * 7),
    "no_kind_chosen": seed(POINT, typed_code("999"), NONE, deductions=(CHECKED,) * 7),
    "base_points_beyond_integer": seed(POINT, boxes("32768"), POSITION),
    "children_product_beyond_integer": seed(
        COMMA, boxes("906"), POSITION, hijos=CHECKED, cantidadhijos="149"),
    "largest_amounts_overflow": seed(
        POINT, boxes("32767", "900000000000000", "32767", "32767", "922337203685477"), POSITION, seniority=12,
        zona=4),
    "hours_negative": seed(
        COMMA, typed_code("645"), MIDDLE, "x" * 60 + "ñ", med="-1.000,5", cod06="-3", incen="-2", cod113="-7",
        dinasist="-1"),
    # The message quotes the first 40 bytes; the 40th is inside the "ñ".
    "long_text_failure": seed(POINT, typed_code("645"), HIGHER, sup="12", dinasist="7" * 39 + "ñ" + "8" * 20),
    # A name picked, "Salir sin datos", then the complement typed by hand.
    "dialog_name_picked_then_left": seed(POINT, bytes([0, 3, 2, 0, 20, 6, 4, 1]) + box("2000"), POSITION),
}

if __name__ == "__main__":
    out = HERE / "corpus" / "calculation"
    out.mkdir(parents=True, exist_ok=True)
    for name, data in SEEDS.items():
        (out / name).write_bytes(data)
    print(f"{len(SEEDS)} seeds written to {out}")
