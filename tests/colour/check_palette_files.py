#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Reads the palettes that colour_samples writes with parsers made from each
format's own description: Python's csv module, GIMP's CSS regular
expression, xml.etree with LibreOffice's namespaces, and a line reader for
GIMP palettes. Usage: check_palette_files.py COLOUR_SAMPLES"""
import csv
import io
import json
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

OFFICE = "urn:oasis:names:tc:opendocument:xmlns:office:1.0"
DRAW = "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
# The expression GIMP's CSS palette import matches each line with.
GIMP_CSS = re.compile(r".*color.*:(.*);", re.IGNORECASE)
GIMP_LINE = re.compile(r"^([ \d]{2}\d) ([ \d]{2}\d) ([ \d]{2}\d)\t([^\t\n]*)$")

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def hex_of(rgb):
    return "#%02x%02x%02x" % tuple(rgb)


def check_csv(raw, entries):
    text = raw.decode("utf-8")
    check(text.endswith("\r\n") and "\n" not in text.replace("\r\n", ""), "csv: every line ends in CRLF")
    rows = list(csv.reader(io.StringIO(text, newline="")))
    check(rows[0] == "code,hex,r,g,b,lab_l,lab_a,lab_b,page,row".split(","), "csv: header")
    check(len(rows) == len(entries) + 1, "csv: one row per entry")
    for row, e in zip(rows[1:], entries):
        check(row[0] == e["code"], "csv: code %r read as %r" % (e["code"], row[0]))
        if "rgb" in e:
            check(row[1] == hex_of(e["rgb"]), "csv: hex of " + e["code"])
            check([int(v) for v in row[2:5]] == e["rgb"], "csv: r, g, b of " + e["code"])
            check(all(abs(float(v) - x) <= 0.005 for v, x in zip(row[5:8], e["lab"])), "csv: Lab of " + e["code"])
        else:
            check(row[1:8] == [""] * 7, "csv: no colour for " + e["code"])
        place = [str(e["page"]) if e["page"] else "", str(e["row"]) if e["row"] else ""]
        check(row[8:10] == place, "csv: page and row of " + e["code"])


def check_css(raw, coloured):
    lines = raw.decode("utf-8").split("\n")
    check(lines[0] == ":root {" and lines[-2:] == ["}", ""], "css: :root { ... }")
    body = lines[1:-2]
    check(len(body) == len(coloured), "css: one line per colour")
    for line, e in zip(body, coloured):
        match = GIMP_CSS.match(line)
        check(match is not None and match.group(1).strip() == hex_of(e["rgb"]), "css: GIMP reads " + line)
        check(line == "  %s: %s;" % (e["css"], hex_of(e["rgb"])), "css: line " + line)
        check(re.fullmatch(r"--[A-Za-z0-9_-]+", e["css"]) is not None, "css: identifier " + e["css"])


def check_soc(raw, coloured):
    root = ET.fromstring(raw)
    check(root.tag == "{%s}color-table" % OFFICE, "soc: root is office:color-table")
    colours = list(root)
    check(len(colours) == len(coloured), "soc: one draw:color per colour")
    for element, e in zip(colours, coloured):
        check(element.tag == "{%s}color" % DRAW, "soc: draw:color element")
        check(element.get("{%s}name" % DRAW) == e["code"], "soc: name " + e["code"])
        check(element.get("{%s}color" % DRAW) == hex_of(e["rgb"]), "soc: colour of " + e["code"])


def check_scribus(raw, coloured, name):
    root = ET.fromstring(raw)
    check(root.tag == "SCRIBUSCOLORS" and root.get("Name") == name, "scribus: root SCRIBUSCOLORS")
    colours = root.findall("COLOR")
    check(len(colours) == len(coloured) == len(list(root)), "scribus: one COLOR per colour")
    for element, e in zip(colours, coloured):
        check(element.get("NAME") == e["code"], "scribus: name " + e["code"])
        check(element.get("RGB") == hex_of(e["rgb"]), "scribus: colour of " + e["code"])


def check_gimp(raw, coloured, name, columns):
    lines = raw.decode("utf-8").split("\n")
    check(lines[-1] == "", "gpl: ends with a line break")
    lines = lines[:-1]
    check(lines[:4] == ["GIMP Palette", "Name: " + name, "Columns: %d" % columns, "#"], "gpl: header")
    check("" not in lines, "gpl: no blank lines")
    body = lines[4:]
    check(len(body) == len(coloured), "gpl: one line per colour")
    for line, e in zip(body, coloured):
        match = GIMP_LINE.match(line)
        check(match is not None, "gpl: layout of " + repr(line))
        if match:
            check([int(match.group(i)) for i in (1, 2, 3)] == e["rgb"], "gpl: colour of " + e["code"])
            check(match.group(4) == e["code"], "gpl: name " + e["code"])


def main():
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run([sys.argv[1], "palettes", folder], check=True)
        with open(os.path.join(folder, "expected.json"), encoding="utf-8") as f:
            expected = json.load(f)

        def read(name):
            with open(os.path.join(folder, name), "rb") as f:
                return f.read()

        entries = expected["entries"]
        coloured = [e for e in entries if "rgb" in e]
        check(len(coloured) < len(entries), "the sample has an entry without colour")
        for name in ("sample.gpl", "sample.ase", "sample.css", "sample.soc", "sample.xml"):
            check(expected["skipped"][name] == len(entries) - len(coloured), name + ": skipped count")
        check(expected["skipped"]["sample.csv"] == 0, "sample.csv: nothing skipped")
        check_csv(read("sample.csv"), entries)
        check_css(read("sample.css"), coloured)
        check_soc(read("sample.soc"), coloured)
        check_scribus(read("sample.xml"), coloured, expected["name"])
        check_gimp(read("sample.gpl"), coloured, expected["name"], expected["columns"])
    for failure in failures:
        print("FAIL:", failure)
    print("%d failed checks" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
