#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Checks the program's colour-vision simulation and its list of confused
colours against colorspacious (Machado, Oliveira and Fernandes 2009) and
scikit-image's CIEDE2000.
Usage: check_vision.py COLOUR_SAMPLES. Exits 77 (skipped) without
colorspacious or scikit-image."""
import json
import os
import subprocess
import sys
import tempfile

try:
    import numpy as np
    from colorspacious import cspace_convert
    from colorspacious.cvd import machado_et_al_2009_matrix
    from skimage.color import deltaE_ciede2000, rgb2lab
except ImportError as e:
    print(f"{e}: skipped")
    sys.exit(77)

KINDS = {"protanopia": "protanomaly", "deuteranopia": "deuteranomaly", "tritanopia": "tritanomaly"}
# Confused: below 3 as the eye sees them, while 10 or more apart in normal
# vision.
CONFUSED_BELOW = 3.0
DISTINCT_FROM = 10.0
# Pairs this close to a threshold may fall either way between two CIEDE2000s.
MARGIN = 0.01


def reference(rgb255, kind, severity):
    """The colours as the eye sees them: linear sRGB, the deficiency's matrix
    (or the luminance Y), clipped to 0-1, encoded and rounded."""
    linear = cspace_convert(np.asarray(rgb255, dtype=float) / 255, "sRGB1", "sRGB1-linear")
    if kind == "achromatopsia":
        y = cspace_convert(linear, "sRGB1-linear", "XYZ100")[:, 1] / 100
        out = np.repeat(y[:, None], 3, axis=1)
    elif kind == "normal":
        out = linear
    else:
        matrix = machado_et_al_2009_matrix(KINDS[kind], severity * 100)
        out = np.einsum("ij,...j->...i", matrix, linear)
    out = np.clip(out, 0, 1)
    return np.rint(cspace_convert(out, "sRGB1-linear", "sRGB1") * 255).astype(int)


def lab(rgb255):
    return rgb2lab(np.asarray(rgb255, dtype=float)[None, :, :] / 255)[0]


def main():
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "vision.json")
        subprocess.run([sys.argv[1], "vision", path], check=True)
        with open(path, encoding="utf-8") as f:
            data = json.load(f)

    failures = []
    colours = np.array(data["colours"])
    for sim in data["simulations"]:
        expected = reference(colours, sim["kind"], sim["severity"])
        got = np.array(sim["seen"])
        worst = np.abs(expected - got).max()
        print(f"{sim['kind']} {sim['severity']}: {len(got)} colours, largest difference {worst}")
        if worst > 1:
            i = int(np.abs(expected - got).max(axis=1).argmax())
            failures.append(f"{sim['kind']} {sim['severity']}: {colours[i].tolist()} seen as "
                            f"{got[i].tolist()}, reference {expected[i].tolist()}")

    sample = np.array(data["sample"])
    normal = lab(sample)
    n = len(sample)
    first, second = np.triu_indices(n, 1)
    apart = deltaE_ciede2000(normal[first], normal[second])
    low, high = CONFUSED_BELOW, DISTINCT_FROM
    got = {(p["kind"], p["first"], p["second"]): p for p in data["pairs"]}
    near = {"seen": 0, "normal": 0}
    for kind in ("protanopia", "deuteranopia", "tritanopia", "achromatopsia"):
        seen = lab(reference(sample, kind, 1.0))
        seen_apart = deltaE_ciede2000(seen[first], seen[second])
        for f, s, a, sa in zip(first, second, apart, seen_apart):
            if abs(a - high) <= MARGIN or abs(sa - low) <= MARGIN:
                continue
            if abs(sa - low) < 0.5 and a >= high:
                near["seen"] += 1
            if abs(a - high) < 0.5 and sa < low:
                near["normal"] += 1
            confused = sa < low and a >= high
            key = (kind, int(f), int(s))
            if confused != (key in got):
                failures.append(f"{kind} {sample[f].tolist()} {sample[s].tolist()}: reference "
                                f"{sa:.3f}/{a:.3f}, {'listed' if key in got else 'not listed'}")
            elif confused:
                p = got[key]
                if abs(p["seen"] - sa) > 0.05 or abs(p["normal"] - a) > 0.05:
                    failures.append(f"{kind} {key}: differences {p['seen']:.3f}/{p['normal']:.3f}, "
                                    f"reference {sa:.3f}/{a:.3f}")
    print(f"{len(got)} confused pairs among {n} colours; pairs within 0.5 of a threshold: "
          f"{near['seen']} (simulated), {near['normal']} (normal vision)")
    if not near["seen"] or not near["normal"]:
        failures.append("the sample holds no pair near a threshold: it tests too little")
    for line in failures[:20]:
        print("FAIL", line)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
