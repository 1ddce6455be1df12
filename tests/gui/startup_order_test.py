#!/usr/bin/env python3
"""recibo's start-up functions (src/app/startup-order.txt) are still the
program's own and lie side by side in its code: a list gone stale, or a link
that ignored it, makes the program's memory at start-up grow unseen
(bench/ordenar-arranque.sh writes the list again).

    startup_order_test.py RECIBO ORDER_FILE
"""
import subprocess
import sys

recibo, order = sys.argv[1:3]
with open(order, encoding="utf-8") as lines:
    listed = {line.strip() for line in lines if line.strip() and not line.startswith("#")}

placed = {}  # name: (start, size)
symbols = subprocess.run(["nm", "--defined-only", "-S", recibo], check=True, capture_output=True, text=True)
for line in symbols.stdout.splitlines():
    fields = line.split(maxsplit=3)
    if len(fields) == 4 and fields[2] in "tTwW" and fields[3] in listed:
        placed.setdefault(fields[3], (int(fields[0], 16), int(fields[1], 16)))

total = sum(size for _, size in placed.values())
spread = max(start + size for start, size in placed.values()) - min(start for start, _ in placed.values()) if placed else 0
print(f"{len(placed)} of {len(listed)} listed functions found, {total} bytes, spread over {spread} bytes")
if len(placed) < 0.9 * len(listed):
    sys.exit("the list is stale: run bench/ordenar-arranque.sh")
if spread > 1.25 * total:
    sys.exit("the listed functions are not side by side: was the list given to the linker?")
