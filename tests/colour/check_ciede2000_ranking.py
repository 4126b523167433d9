#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Ranks the shipped card for 200 seeded random colours with scikit-image's
CIEDE2000 and compares with the program's nearest-colour search; also
compares the program's sRGB to L*a*b* (D65) with scikit-image's.
Usage: check_ciede2000_ranking.py COLOUR_SAMPLES. Exits 77 (skipped)
without scikit-image."""
import json
import os
import subprocess
import sys
import tempfile

try:
    import numpy as np
    from skimage.color import deltaE_ciede2000, rgb2lab
except ImportError:
    print("scikit-image is not installed: skipped")
    sys.exit(77)

# Rankings may differ only between colours whose differences are this close.
TIE = 1e-6
# The two conversions use slightly different sRGB matrices.
LAB_TOLERANCE = 0.05


def main():
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "ranking.json")
        subprocess.run([sys.argv[1], "ranking", path], check=True)
        with open(path, encoding="utf-8") as f:
            data = json.load(f)

    card = data["card"]
    sns = np.array([c["sn"] for c in card])
    card_lab = np.array([c["lab"] for c in card], dtype=float)
    by_sn = {sn: i for i, sn in enumerate(sns)}
    failures = []

    rgbs = np.array([c["rgb"] for c in card] + [q["rgb"] for q in data["queries"]], dtype=float) / 255
    labs = np.array([c["lab"] for c in card] + [q["lab"] for q in data["queries"]], dtype=float)
    theirs = rgb2lab(rgbs[np.newaxis], illuminant="D65", observer="2")[0]
    worst = float(np.abs(theirs - labs).max())
    if worst > LAB_TOLERANCE:
        failures.append("sRGB to Lab differs from scikit-image's by %.4f" % worst)

    for number, query in enumerate(data["queries"]):
        lab = np.array(query["lab"], dtype=float)
        differences = deltaE_ciede2000(np.broadcast_to(lab, card_lab.shape), card_lab)
        order = np.lexsort((sns, differences))
        ours = query["nearest"]
        for place, (sn, delta) in enumerate(ours):
            expected = order[place]
            mine = differences[by_sn[sn]]
            if abs(mine - delta) >= TIE:
                failures.append("query %d place %d: sn %d, dE %.9f here, %.9f by scikit-image"
                                % (number, place, sn, delta, mine))
            if sns[expected] != sn and abs(differences[expected] - mine) >= TIE:
                failures.append("query %d place %d: sn %d (dE %.9f) here, sn %d (dE %.9f) by scikit-image"
                                % (number, place, sn, mine, sns[expected], differences[expected]))
        if len(ours) != 10:
            failures.append("query %d: %d found" % (number, len(ours)))

    for failure in failures[:20]:
        print("FAIL:", failure)
    print("%d queries ranked, Lab within %.4f of scikit-image, %d failed checks"
          % (len(data["queries"]), worst, len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
