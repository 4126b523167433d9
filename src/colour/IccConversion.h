// SPDX-License-Identifier: MIT
#pragma once

#include "colour/PrintColours.h"

#include <QByteArray>

#include <optional>

// RGB or grey values through an ICC profile that a palette carries (a Krita
// palette zips the profile of each colour beside its values, and its RGB
// may be linear light): to D50 L*a*b*, relative colorimetric, then to the
// card's terms as PrintColours gives Lab.
class IccConversion
{
public:
    // The profile as its file's bytes; not usable when Little CMS cannot
    // open it or it is neither RGB nor grey.
    explicit IccConversion(const QByteArray &profile);
    ~IccConversion();
    IccConversion(const IccConversion &) = delete;
    IccConversion &operator=(const IccConversion &) = delete;

    // 3 for an RGB profile, 1 for grey, 0 when not usable.
    int channels() const { return m_channels; }
    // Each value 0 to 1, as many as channels(); empty when not usable or
    // the count differs.
    std::optional<PrintColours::Converted> convert(const double *values, int count) const;

private:
    void *m_transform = nullptr;
    int m_channels = 0;
};
