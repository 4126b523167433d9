#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""A swatch sheet read back by poppler, MuPDF, Ghostscript and qpdf: every
code in its text, every patch rendered at exactly the colour's sRGB value by
pdftoppm, mutool draw and gs, the page size of the paper asked for, qpdf's
check passed and an output intent in the file; no L*a*b* value written
"-0.00". The expected codes and colours come from the card's CSV; with the
program's own CSV export of the card, every L*a*b* line is checked against
it.

Usage: check_sheet.py [--see-as VISION] <sheet.pdf> <card5327.csv> <A4|Letter> card [export.csv]
       check_sheet.py [--see-as VISION] <sheet.pdf> <card5327.csv> <A4|Letter> CODE...
(the collection's codes in its order; a code not on the card has no patch).
With --see-as (deuteranopia, protanopia:0.6, ...), a sheet printed as that
eye sees it: each patch within 1 of colorspacious's simulation of the card's
colour (tests/x11/vision.py), the codes and values the card's, and every page
saying so.
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

# Each renderer at 25.4 dots per inch into folder, its pages' images in
# page order.
RENDERERS = {
    "pdftoppm": lambda pdf, out: ["pdftoppm", "-r", "25.4", "-png", pdf, out + "-"],
    "mutool draw": lambda pdf, out: ["mutool", "draw", "-q", "-r", "25.4", "-c", "rgb", "-o", out + "-%d.png", pdf],
    "gs": lambda pdf, out: ["gs", "-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-sDEVICE=png16m", "-r25.4",
                            "-sOutputFile=" + out + "-%d.png", pdf],
}


def render(name, pdf, folder):
    out = os.path.join(folder, name.split()[0])
    subprocess.run(RENDERERS[name](pdf, out), check=True, capture_output=True)
    images = glob.glob(out + "-*.png")
    return sorted(images, key=lambda path: int(re.search(r"-(\d+)\.png$", path).group(1)))


def check(what, ok, detail=""):
    global failures
    print(("PASS: %s" % what) if ok else ("FAIL: %s %s" % (what, detail)))
    failures += 0 if ok else 1


def main():
    arguments = sys.argv[1:]
    see_as = None
    if arguments[:1] == ["--see-as"]:
        see_as, arguments = arguments[1], arguments[2:]
        sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "x11"))
        import vision
        kind, _, severity = see_as.partition(":")
        looks = lambda rgb: vision.seen(rgb, kind, float(severity or 1))
    else:
        looks = lambda rgb: rgb
    pdf, card_csv, paper = arguments[:3]
    wanted = arguments[3:]
    export_csv = None
    if wanted[:1] == ["card"] and len(wanted) == 2:
        wanted, export_csv = ["card"], wanted[1]
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
    check("no L*a*b* value written -0.00", "-0.00" not in text)
    if see_as:
        said = text.count("Patches as seen with %s;" % see_as.partition(":")[0])
        check("every page says how its patches are seen", said == len(sheets), "%d of %d" % (said, len(sheets)))
    if export_csv:
        with open(export_csv, newline="") as f:
            labs = ["L* %s a* %s b* %s" % (r["lab_l"], r["lab_a"], r["lab_b"]) for r in csv.DictReader(f)]
        lines = set(text.splitlines())
        unlike = [lab for lab in labs if lab not in lines]
        check("every L*a*b* line (%d) as the CSV export writes it" % len(labs), labs and not unlike, str(unlike[:5]))

    qpdf = subprocess.run(["qpdf", "--check", pdf], capture_output=True, text=True)
    check("qpdf --check passes", qpdf.returncode == 0, qpdf.stdout + qpdf.stderr)
    with open(pdf, "rb") as f:
        raw = f.read()
    check("an /OutputIntents entry", b"/OutputIntents" in raw and b"sRGB" in raw)

    rows_per_column = int((millimetres[1] - 2 * MARGIN - HEADER) // ENTRY)
    column_width = (millimetres[0] - 2 * MARGIN) / COLUMNS
    with tempfile.TemporaryDirectory() as folder:
        for name in RENDERERS:
            images = render(name, pdf, folder)
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
                    expected = looks(rgb)
                    if see_as is None and got != rgb or any(abs(g - e) > 1 for g, e in zip(got, expected)):
                        wrong.append((code, expected, got))
            check("%s: %d pages" % (name, len(sheets)), len(images) == len(sheets), str(len(images)))
            check("%s: every patch (%d) %s" % (name, patches, "within 1 of the simulation" if see_as else "exactly its sRGB"),
                  not wrong and patches == len(hexes),
                  "%d wrong: %s" % (len(wrong), wrong[:5]))

    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
