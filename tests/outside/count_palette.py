#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Counts the colours of a palette file, read from each format's own
description and independently of the program: prints the count, then, for
.ase, .aco and .kpl, the count per colour model ("model<TAB>count").

Usage: count_palette.py FILE
       count_palette.py --list LIST   (each file named in LIST: "count<TAB>file")
       count_palette.py --write-aco FILE | --write-kpl FILE   (writes a sample)
"""
import struct
import sys
import xml.etree.ElementTree as ET
import zipfile
from collections import Counter


def local(tag):
    return tag.rsplit('}', 1)[-1]


def gpl(data):
    lines = data.decode('utf-8-sig').splitlines()
    assert lines[0].strip() == 'GIMP Palette'
    n = 0
    for line in lines[1:]:
        s = line.strip()
        if not s or s.startswith('#') or line.startswith('Name:') or line.startswith('Columns:'):
            continue
        n += 1
    return n, {}


def ase(data):
    assert data[:4] == b'ASEF'
    (count,) = struct.unpack('>I', data[8:12])
    at, n, models = 12, 0, Counter()
    for _ in range(count):
        kind, length = struct.unpack('>HI', data[at:at + 6])
        body = data[at + 6:at + 6 + length]
        at += 6 + length
        if kind == 1:
            (units,) = struct.unpack('>H', body[:2])
            models[body[2 + 2 * units:6 + 2 * units].decode('ascii').strip()] += 1
            n += 1
    return n, models


def aco(data):
    version, count = struct.unpack('>HH', data[:4])
    at = 4
    if version == 1 and len(data) > 4 + 10 * count:
        at = 4 + 10 * count
        version, count = struct.unpack('>HH', data[at:at + 4])
        at += 4
    models = Counter()
    for _ in range(count):
        space = struct.unpack('>H', data[at:at + 2])[0]
        models[str(space)] += 1
        at += 10
        if version == 2:
            (units,) = struct.unpack('>I', data[at:at + 4])
            at += 4 + 2 * units
    return count, models


def xml_count(data, name):
    root = ET.fromstring(data)
    return sum(1 for e in root.iter() if local(e.tag) == name), {}


def sbz(data, path):
    with zipfile.ZipFile(path) as z:
        root = ET.fromstring(z.read('swatchbook.xml'))
    materials = [e for e in root.iter() if local(e.tag) == 'materials']
    return sum(1 for m in materials for e in m if local(e.tag) == 'color'), {}


def kpl(path):
    # Entries of every group; the model is the entry's colour element.
    with zipfile.ZipFile(path) as z:
        root = ET.fromstring(z.read('colorset.xml'))
    entries = [e for e in root.iter() if e.tag == 'ColorSetEntry']
    models = Counter(next((c.tag for c in e if c.tag != 'Position'), '-') for e in entries)
    return len(entries), models


# Colour functions of CSS Color 4 that tinycss2's CSS Color 3 parser does
# not know, counted by their name.
WIDE_FUNCTIONS = {'hwb', 'lab', 'lch', 'oklab', 'oklch', 'color'}


def css(data):
    """Colours in a stylesheet, through tinycss2's tokenizer and its CSS
    Color 3 parser: each declaration's colour tokens, each distinct one once;
    custom properties' values included. Names count in colour properties or
    as a custom property's whole value."""
    import tinycss2
    import tinycss2.color3

    def colours(tokens, names):
        found = []
        for token in tokens:
            if token.type in ('whitespace', 'comment'):
                continue
            if token.type == 'function' and token.lower_name in WIDE_FUNCTIONS:
                found.append(tinycss2.serialize([token]))
                continue
            if token.type == 'ident' and not names:
                continue
            if token.type in ('hash', 'function', 'ident'):
                parsed = tinycss2.color3.parse_color(token)
                if parsed is not None and parsed != 'currentColor' and not (
                        token.type == 'ident' and token.lower_value == 'transparent'):
                    found.append(tinycss2.serialize([token]))
                    continue
            if token.type == 'function':
                found.extend(colours(token.arguments, names))
        return found

    total = 0

    def rules(nodes):
        nonlocal total
        for node in nodes:
            if node.type not in ('qualified-rule', 'at-rule') or node.content is None:
                continue
            if node.type == 'at-rule' and node.lower_at_keyword in ('media', 'supports', 'layer', 'container'):
                rules(tinycss2.parse_rule_list(node.content, skip_comments=True, skip_whitespace=True))
                continue
            for d in tinycss2.parse_declaration_list(node.content, skip_comments=True, skip_whitespace=True):
                if d.type != 'declaration':
                    continue
                meaningful = [t for t in d.value if t.type not in ('whitespace', 'comment')]
                custom = d.name.startswith('--')
                names = len(meaningful) == 1 if custom else ('color' in d.lower_name or d.lower_name.startswith(
                    ('background', 'border', 'outline', 'box-shadow', 'text-shadow', 'fill', 'stroke')))
                total += len(set(colours(d.value, names)))

    rules(tinycss2.parse_stylesheet(data.decode('utf-8'), skip_comments=True, skip_whitespace=True))
    return total, Counter()


def count(path):
    with open(path, 'rb') as f:
        data = f.read()
    suffix = path.rsplit('.', 1)[-1].lower()
    if suffix == 'gpl':
        return gpl(data)
    if suffix == 'ase':
        return ase(data)
    if suffix == 'aco':
        return aco(data)
    if suffix == 'soc':
        return xml_count(data, 'color')
    if suffix == 'xml':
        return xml_count(data, 'COLOR')
    if suffix == 'sbz':
        return sbz(data, path)
    if suffix == 'kpl':
        return kpl(path)
    if suffix == 'css':
        return css(data)
    raise SystemExit('no counter for ' + path)


def name16(text):
    return struct.pack('>I', len(text) + 1) + (text + '\0').encode('utf-16-be')


def write_aco(path):
    # Photoshop's layout: version 1, then version 2 with names; RGB, HSB,
    # CMYK, Lab, grey and a Pantone book colour (space 3) not read.
    colours = [('red', 0, (65535, 0, 0, 0)), ('hsb', 1, (30000, 50000, 60000, 0)),
               ('ink', 2, (0, 65535, 65535, 65535)), ('lab', 7, (6000, 2000, 65536 - 3000, 0)),
               ('grey', 8, (2500, 0, 0, 0)), ('book', 3, (1, 2, 3, 0))]
    v1 = struct.pack('>HH', 1, len(colours)) + b''.join(struct.pack('>5H', s, *v) for _, s, v in colours)
    v2 = struct.pack('>HH', 2, len(colours)) + b''.join(struct.pack('>5H', s, *v) + name16(n) for n, s, v in colours)
    with open(path, 'wb') as f:
        f.write(v1 + v2)


def write_kpl(path):
    # Krita's layout: colorset.xml in a zip archive, groups of entries in
    # RGB, CMYK, Lab and grey, and one in XYZ, not read.
    entries = [('<RGB r="1" g="0.5" b="0" space="sRGB-elle-V2-srgbtrc.icc"/>', 'orange'),
               ('<CMYK c="0" m="1" y="1" k="0" space="Chemical proof"/>', 'ink red'),
               ('<Lab L="70" a="-20" b="40" space="Lab identity built-in"/>', 'lab green'),
               ('<Gray g="0.25" space="Gray-D50"/>', 'dark grey'),
               ('<XYZ x="0.3" y="0.3" z="0.3" space="XYZ"/>', 'xyz')]
    body = ''.join('<ColorSetEntry name="%s" id="%d" spot="false" bitdepth="U8">%s</ColorSetEntry>'
                   % (name, i, colour) for i, (colour, name) in enumerate(entries))
    xml = ('<?xml version="1.0" encoding="UTF-8"?><ColorSet version="2.0" name="sample" columns="4" rows="2" '
           'comment=""><Group name="g" rows="2">%s</Group></ColorSet>' % body)
    with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as z:
        z.writestr('mimetype', 'krita/x-colorset', compress_type=zipfile.ZIP_STORED)
        z.writestr('colorset.xml', xml)
        z.writestr('profiles.xml', '<Profiles/>')


if __name__ == '__main__':
    if sys.argv[1] == '--write-aco':
        write_aco(sys.argv[2])
    elif sys.argv[1] == '--write-kpl':
        write_kpl(sys.argv[2])
    elif sys.argv[1] == '--list':
        with open(sys.argv[2]) as names:
            for name in names.read().splitlines():
                print('%d\t%s' % (count(name)[0], name))
    else:
        n, models = count(sys.argv[1])
        print(n)
        for model, k in sorted(models.items()):
            print('%s\t%d' % (model, k))
