#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# How well the keyboard cue stands out, from screenshots of the same window
# area: one without the cue and several with it, taken over a second or
# more. The pixels that changed are the cue; the unchanged pixels touching
# them are what it is seen against.
# A text box's caret blinks: pixels that differ from one shot with the cue
# to another are the caret, and are neither cue nor what it is seen
# against. Where nothing but the caret changed (an empty box), the caret is
# the cue, measured in the shot that shows it.
# Prints, for the cue's edge pixels, the lowest (each with the best within
# two pixels: dashes) and the tenth-percentile WCAG contrast ratio against
# their unchanged neighbours, the number of cue pixels, their bounding box
# and the number of blinking pixels.
#   contrast.py <without.png> <x> <y> <width> <height> [--view <out.png>] <with cue.png>...
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
    bare_path = sys.argv[1]
    x, y, w, h = (int(v) for v in sys.argv[2:6])
    rest = sys.argv[6:]
    view_path = None
    if rest[:1] == ["--view"]:
        view_path, rest = rest[1], rest[2:]
    box = (x, y, x + w, y + h)
    bare = Image.open(bare_path).convert("RGB").crop(box)
    shots = [Image.open(p).convert("RGB").crop(box) for p in rest]
    # Only what changed, with a margin for what lies beside it, is read.
    boxes = [ImageChops.difference(s, bare).getbbox() for s in shots]
    boxes = [b for b in boxes if b]
    if not boxes:
        print("0 0 0 none 0")
        return
    near = (max(0, min(b[0] for b in boxes) - 3), max(0, min(b[1] for b in boxes) - 3),
            min(w, max(b[2] for b in boxes) + 3), min(h, max(b[3] for b in boxes) + 3))
    bare = bare.crop(near)
    shots = [s.crop(near) for s in shots]
    w, h = bare.size
    bare_px = list(bare.getdata())
    shot_px = [list(s.getdata()) for s in shots]
    n = w * h
    # Changed alike in every shot: the cue. Differing between shots: the
    # caret.
    cue = [all(s[i] != bare_px[i] for s in shot_px) and all(s[i] == shot_px[0][i] for s in shot_px)
           for i in range(n)]
    blink = [any(s[i] != shot_px[0][i] for s in shot_px) for i in range(n)]
    shown = shot_px[0]
    shot = shots[0]
    if not any(cue):
        # Only the caret changed: measured in the shot with the most of it.
        counts = [sum(1 for i in range(n) if s[i] != bare_px[i]) for s in shot_px]
        best = counts.index(max(counts))
        shown, shot = shot_px[best], shots[best]
        cue = [shown[i] != bare_px[i] for i in range(n)]
        blink = [False] * n
    blinking = sum(blink)
    changed = [i for i in range(n) if cue[i]]
    if not changed:
        print("0 0 0 none %d" % blinking)
        return
    xs = [i % w for i in changed]
    ys = [i // w for i in changed]
    bbox = (min(xs), min(ys), max(xs) + 1, max(ys) + 1)
    edge = {}
    for i in changed:
        px, py = i % w, i // w
        beside = [shown[ny * w + nx] for nx, ny in ((px - 1, py), (px + 1, py), (px, py - 1), (px, py + 1))
                  if 0 <= nx < w and 0 <= ny < h and not cue[ny * w + nx] and not blink[ny * w + nx]]
        if beside:
            # Against what lies beside it, taken together.
            edge[px, py] = ratio(shown[i], tuple(sum(c[k] for c in beside) / len(beside) for k in range(3)))
    # A cue of two colours (dashes) stands out where either does: each edge
    # pixel counts with the best edge pixel within two pixels of it.
    ratios = [max(edge.get((px + dx, py + dy), 0) for dx in range(-2, 3) for dy in range(-2, 3))
              for px, py in edge]
    if view_path:
        view = shot.crop((bbox[0] - 4, bbox[1] - 4, bbox[2] + 4, bbox[3] + 4))
        view.resize((view.width * 8, view.height * 8), Image.NEAREST).save(view_path)
    where = "%d,%d,%d,%d" % (bbox[0] + near[0], bbox[1] + near[1], bbox[2] + near[0], bbox[3] + near[1])
    if not ratios:
        print("0 0 %d %s %d" % (len(changed), where, blinking))
        return
    ratios.sort()
    print("%.2f %.2f %d %s %d" % (ratios[0], ratios[len(ratios) // 10], len(changed), where, blinking))


main()
