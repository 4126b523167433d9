// SPDX-License-Identifier: MIT
#pragma once

#include "colour/CardColour.h"

#include <QVector>

#include <random>

// Cards for the colour tests and benchmark: the shipped card read from its
// CSV, and large cards of random colours made the same way on every machine.
class ColourFixtures
{
public:
    // Every colour of data/card5327.csv, columns found by their header names;
    // empty with a warning when the file cannot be read.
    static QVector<CardColour> shippedCard();
    // count random sRGB colours, serial numbers 1 to count.
    static QVector<CardColour> generatedCard(int count, quint32 seed);
    // A random sRGB colour; the same sequence from the same generator state
    // everywhere (std::mt19937's output is fixed by the C++ standard).
    static QRgb randomRgb(std::mt19937 &random);
};
