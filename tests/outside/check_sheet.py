#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""A swatch sheet read back by poppler and qpdf: every code in its text,
every patch rendered at the colour's sRGB value within 1 per channel, the
page size of the paper asked for, qpdf's check passed and an output intent
in the file. The expected codes and colours come from the card's CSV.

Usage: check_sheet.py <sheet.pdf> <card5327.csv> <A4|Letter> card
       check_sheet.py <sheet.pdf> <card5327.csv> <A4|Letter> CODE...
(the collection's codes in its order; a code not on the card has no patch)
Prints PASS or FAIL lines; exits non-zero when a check failed.
"""
import csv
import glob
import os
import re
import subprocess
import sys
import tempfile

from PIL import Image

# The sheet's layout, in millimetres: rendered at 25.4 dots per inch a
# pixel is a millimetre.
MARGIN, HEADER, ENTRY, PATCH_W, PATCH_H, COLUMNS = 15, 12, 18, 24, 14, 2
PAPER = {"A4": ((595, 842), (210, 297)), "Letter": ((612, 792), (216, 279))}

failures = 0


def check(what, ok, detail=""):
    global failures
    print(("PASS: %s" % what) if ok else ("FAIL: %s %s" % (what, detail)))
    failures += 0 if ok else 1


def main():
    pdf, card_csv, paper = sys.argv[1:4]
    wanted = sys.argv[4:]
    with open(card_csv, newline="") as f:
        rows = [(int(r["Page"]), int(r["Row"]), r["Code"], (int(r["R"]), int(r["G"]), int(r["B"])))
                for r in csv.DictReader(f)]
    by_code = {code: rgb for _, _, code, rgb in rows}
    points, millimetres = PAPER[paper]

    # Sheet pages, each a list of (code, rgb or None) in their places.
    if wanted == ["card"]:
        pages = {}
        for page, row, code, rgb in sorted(rows):
            pages.setdefault(page, []).append((code, rgb))
        sheets = [pages[p] for p in sorted(pages)]
    else:
        per_page = int((millimetres[1] - 2 * MARGIN - HEADER) // ENTRY) * COLUMNS
        entries = [(code, by_code.get(code)) for code in wanted]
        sheets = [entries[i:i + per_page] for i in range(0, len(entries), per_page)] or [[]]

    info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True, check=True).stdout
    pages_line = re.search(r"^Pages:\s+(\d+)$", info, re.M)
    check("%d pages" % len(sheets), pages_line is not None and int(pages_line.group(1)) == len(sheets), info)
    size = "Page size:       %d x %d pts" % points
    check("page size of %s" % paper, size in info, info)

    text = subprocess.run(["pdftotext", pdf, "-"], capture_output=True, text=True, check=True).stdout
    missing = [code for sheet in sheets for code, _ in sheet if code not in text]
    check("pdftotext finds every code", not missing, "missing %s" % missing[:10])
    hexes = ["#%02x%02x%02x" % rgb for sheet in sheets for _, rgb in sheet if rgb]
    check("pdftotext finds every #rrggbb", all(h in text for h in hexes))

    qpdf = subprocess.run(["qpdf", "--check", pdf], capture_output=True, text=True)
    check("qpdf --check passes", qpdf.returncode == 0, qpdf.stdout + qpdf.stderr)
    with open(pdf, "rb") as f:
        raw = f.read()
    check("an /OutputIntents entry", b"/OutputIntents" in raw and b"sRGB" in raw)

    rows_per_column = int((millimetres[1] - 2 * MARGIN - HEADER) // ENTRY)
    column_width = (millimetres[0] - 2 * MARGIN) / COLUMNS
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run(["pdftoppm", "-r", "25.4", "-png", pdf, os.path.join(folder, "p")], check=True)
        images = sorted(glob.glob(os.path.join(folder, "p-*.png")))
        wrong = []
        patches = 0
        for sheet, path in zip(sheets, images):
            image = Image.open(path).convert("RGB")
            for i, (code, rgb) in enumerate(sheet):
                if rgb is None:
                    continue
                x = MARGIN + (i // rows_per_column) * column_width + PATCH_W / 2
                y = MARGIN + HEADER + (i % rows_per_column) * ENTRY + PATCH_H / 2
                got = image.getpixel((int(x), int(y)))
                patches += 1
                if any(abs(a - b) > 1 for a, b in zip(got, rgb)):
                    wrong.append((code, rgb, got))
        check("every patch (%d) at its sRGB within 1" % patches, not wrong and patches == len(hexes),
              str(wrong[:5]))

    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
