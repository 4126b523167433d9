// SPDX-License-Identifier: MIT
#pragma once

#include "colour/CardColour.h"

#include <QVector>

#include <vector>

// The card colours nearest to a given colour by CIEDE2000, found without
// measuring the difference to every one: the colours are kept in order of
// L*, scanned outward from the query's L*, and a colour is measured only
// when a cheap lower bound of its difference does not already rule it out.
// The result is exactly that of measuring every colour.
class NearestColours
{
public:
    struct Match
    {
        int index = -1;      // into colours()
        double deltaE = 0;
    };

    explicit NearestColours(QVector<CardColour> colours);

    // The count colours with the smallest difference to lab, smallest
    // first; of equal differences the lower serial number first. Fewer when
    // the card has fewer colours, none for a count below 1 or a lab that is
    // not a number.
    QVector<Match> nearest(const Lab &lab, int count) const;

    const QVector<CardColour> &colours() const { return m_colours; }

private:
    QVector<CardColour> m_colours;
    // The colours by ascending L*, their values side by side for the scan.
    std::vector<int> m_index;
    std::vector<int> m_sn;
    std::vector<double> m_l;
    std::vector<double> m_a;
    std::vector<double> m_b;
    std::vector<double> m_chroma;
};
