// SPDX-License-Identifier: MIT
#include "colour/NearestColours.h"

#include "colour/ColourSpace.h"

#include <algorithm>
#include <cmath>
#include <numeric>

// Why the bounds below hold. CIEDE2000 is
//   dE^2 = (dL/SL)^2 + x^2 + y^2 + RT*x*y,  x = dC'/SC,  y = dH'/SH,
// with dL the plain difference of L*, and
//   SL = 1 + 0.015 (Lm-50)^2 / sqrt(20 + (Lm-50)^2),  Lm the mean L*,
//   SC = 1 + 0.045 Cm',  SH = 1 + 0.015 Cm' T,  Cm' the mean C',
//   RT = -sin(2 dTheta) RC,  dTheta = 30 exp(-((hm-275)/25)^2) degrees,
//   RC = 2 sqrt(Cm'^7 / (Cm'^7 + 25^7)).
// dTheta lies in (0, 30] degrees, so |RT| <= sin(60 degrees) RC <= sqrt(3).
// The form x^2 + y^2 + RT x y is then never negative, so dE >= |dL| / SL:
// this stops the scan. It is also at least (1 - RT^2/4) max(x^2, y^2) (its
// minimum over one variable with the other fixed) and at least
// (1 - |RT|/2)(x^2 + y^2) (its smaller eigenvalue): with C', dC', SC and RC
// exact and SH at its largest, these give the lower bound that spares most
// measurements.
namespace {

double weightL(double meanL)
{
    const double t = (meanL - 50) * (meanL - 50);
    return 1 + 0.015 * t / std::sqrt(20 + t);
}

// The largest value of the hue weighting T over all hues is 1.5725 (found by
// sampling every 0.001 degree; T changes by at most 2.41 per radian, so by
// less than 1e-4 between samples).
constexpr double largestT = 1.58;

constexpr double pow25to7 = 6103515625.0;

double seventhPower(double v)
{
    const double cube = v * v * v;
    return cube * cube * v;
}

// A rounding allowance for comparing a bound with a measured difference:
// the bound is made of a few dozen operations, each off by one part in 1e16.
double loosened(double bound)
{
    return bound * (1 - 1e-9) - 1e-9;
}

struct Candidate
{
    double deltaE;
    int sn;
    int index;
    bool operator<(const Candidate &o) const
    {
        return deltaE < o.deltaE || (deltaE == o.deltaE && sn < o.sn);
    }
};

} // namespace

NearestColours::NearestColours(QVector<CardColour> colours) : m_colours(std::move(colours))
{
    const int n = m_colours.size();
    m_index.resize(n);
    std::iota(m_index.begin(), m_index.end(), 0);
    std::sort(m_index.begin(), m_index.end(),
              [this](int i, int j) { return m_colours[i].lab.l < m_colours[j].lab.l; });
    m_sn.reserve(n);
    m_l.reserve(n);
    m_a.reserve(n);
    m_b.reserve(n);
    m_chroma.reserve(n);
    for (int i : m_index) {
        const Lab &lab = m_colours[i].lab;
        m_sn.push_back(m_colours[i].sn);
        m_l.push_back(lab.l);
        m_a.push_back(lab.a);
        m_b.push_back(lab.b);
        m_chroma.push_back(lab.chroma());
    }
}

QVector<NearestColours::Match> NearestColours::nearest(const Lab &lab, int count) const
{
    const int n = int(m_index.size());
    count = std::min(count, n);
    if (count < 1 || !std::isfinite(lab.l) || !std::isfinite(lab.a) || !std::isfinite(lab.b))
        return {};

    const double queryChroma = lab.chroma();
    // The mean L* of the query and any colour lies between these two, and SL
    // grows with the distance of the mean from 50, so it is largest at one
    // of them.
    const double largestSL = std::max(weightL((lab.l + m_l.front()) / 2), weightL((lab.l + m_l.back()) / 2));

    // The best so far, the worst of them on top.
    std::vector<Candidate> best;
    best.reserve(count + 1);

    // A lower bound of the difference to the colour at position i (see above).
    const auto lowerBound = [&](int i) {
        const double dL = lab.l - m_l[i];
        const double sl = weightL((lab.l + m_l[i]) / 2);
        const double lightness = dL * dL / (sl * sl);

        const double c7 = seventhPower((queryChroma + m_chroma[i]) / 2);
        const double g = 0.5 * (1 - std::sqrt(c7 / (c7 + pow25to7)));
        const double a1 = (1 + g) * lab.a;
        const double a2 = (1 + g) * m_a[i];
        const double c1 = std::sqrt(a1 * a1 + lab.b * lab.b);
        const double c2 = std::sqrt(a2 * a2 + m_b[i] * m_b[i]);
        const double dC = c1 - c2;
        const double meanC = (c1 + c2) / 2;
        const double sc = 1 + 0.045 * meanC;
        const double sh = 1 + 0.015 * meanC * largestT;
        // dC'^2 + dH'^2 is the squared distance in the (a', b) plane.
        const double da = a1 - a2;
        const double db = lab.b - m_b[i];
        const double dH2 = std::max(0.0, da * da + db * db - dC * dC);
        const double mc7 = seventhPower(meanC);
        const double rt = std::sqrt(3.0) * std::sqrt(mc7 / (mc7 + pow25to7));
        const double x2 = dC * dC / (sc * sc);
        const double y2 = dH2 / (sh * sh);
        const double chromaHue = std::max((1 - rt * rt / 4) * std::max(x2, y2), (1 - rt / 2) * (x2 + y2));
        return std::sqrt(lightness + chromaHue);
    };

    const auto consider = [&](int i) {
        const bool full = int(best.size()) == count;
        if (full && loosened(lowerBound(i)) > best.front().deltaE)
            return;
        const Candidate candidate{ColourSpace::deltaE00(lab, Lab{m_l[i], m_a[i], m_b[i]}), m_sn[i], m_index[i]};
        if (!full) {
            best.push_back(candidate);
            std::push_heap(best.begin(), best.end());
        } else if (candidate < best.front()) {
            std::pop_heap(best.begin(), best.end());
            best.back() = candidate;
            std::push_heap(best.begin(), best.end());
        }
    };

    int above = int(std::lower_bound(m_l.begin(), m_l.end(), lab.l) - m_l.begin());
    int below = above - 1;
    while (below >= 0 || above < n) {
        const double belowDistance = below >= 0 ? lab.l - m_l[below] : HUGE_VAL;
        const double aboveDistance = above < n ? m_l[above] - lab.l : HUGE_VAL;
        const double nearer = std::min(belowDistance, aboveDistance);
        // Every colour left is at least this far in L*.
        if (int(best.size()) == count && loosened(nearer / largestSL) > best.front().deltaE)
            break;
        consider(belowDistance <= aboveDistance ? below-- : above++);
    }

    std::sort_heap(best.begin(), best.end());
    QVector<Match> matches;
    matches.reserve(int(best.size()));
    for (const Candidate &c : best)
        matches.append({c.index, c.deltaE});
    return matches;
}
