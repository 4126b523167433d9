#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# How well the keyboard cue stands out, from two screenshots of the same
# window area: one with the cue, one without. The pixels that changed are
# the cue (or a text box's caret); the unchanged pixels touching them are
# what it is seen against. Prints, for the cue's edge pixels, the lowest
# (each with the best within two pixels: dashes) and the tenth-percentile WCAG contrast ratio against their unchanged
# neighbours, the number of changed pixels and their bounding box.
#   contrast.py <with cue.png> <without.png> <x> <y> <width> <height>
import sys

from PIL import Image, ImageChops


def luminance(rgb):
    def channel(c):
        c /= 255.0
        return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = rgb[:3]
    return 0.2126 * channel(r) + 0.7152 * channel(g) + 0.0722 * channel(b)


def ratio(a, b):
    la, lb = luminance(a), luminance(b)
    return (max(la, lb) + 0.05) / (min(la, lb) + 0.05)


def main():
    cue_path, bare_path = sys.argv[1:3]
    x, y, w, h = (int(v) for v in sys.argv[3:7])
    box = (x, y, x + w, y + h)
    cue = Image.open(cue_path).convert("RGB").crop(box)
    bare = Image.open(bare_path).convert("RGB").crop(box)
    diff = ImageChops.difference(cue, bare).convert("L").point(lambda v: 255 if v else 0)
    bbox = diff.getbbox()
    if bbox is None:
        print("0 0 0 none")
        return
    changed = diff.load()
    shown = cue.load()
    edge = {}
    for py in range(bbox[1], bbox[3]):
        for px in range(bbox[0], bbox[2]):
            if not changed[px, py]:
                continue
            beside = [shown[nx, ny] for nx, ny in ((px - 1, py), (px + 1, py), (px, py - 1), (px, py + 1))
                      if 0 <= nx < w and 0 <= ny < h and not changed[nx, ny]]
            if beside:
                # Against what lies beside it, taken together.
                edge[px, py] = ratio(shown[px, py], tuple(sum(c[i] for c in beside) / len(beside) for i in range(3)))
    # A cue of two colours (dashes) stands out where either does: each edge
    # pixel counts with the best edge pixel within two pixels of it.
    ratios = [max(edge.get((px + dx, py + dy), 0) for dx in range(-2, 3) for dy in range(-2, 3))
              for px, py in edge]
    if len(sys.argv) > 7:
        view = cue.crop((bbox[0] - 4, bbox[1] - 4, bbox[2] + 4, bbox[3] + 4))
        view.resize((view.width * 8, view.height * 8), Image.NEAREST).save(sys.argv[7])
    count = sum(1 for v in diff.getdata() if v)
    if not ratios:
        print("0 0 %d %d,%d,%d,%d" % ((count,) + bbox))
        return
    ratios.sort()
    print("%.2f %.2f %d %d,%d,%d,%d" % ((ratios[0], ratios[len(ratios) // 10], count) + bbox))


main()
