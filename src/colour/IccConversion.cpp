// SPDX-License-Identifier: MIT
#include "colour/IccConversion.h"

#include <lcms2.h>

#include <algorithm>

IccConversion::IccConversion(const QByteArray &profile)
{
    if (profile.isEmpty())
        return;
    cmsHPROFILE source = cmsOpenProfileFromMem(profile.constData(), cmsUInt32Number(profile.size()));
    if (!source)
        return;
    const cmsColorSpaceSignature space = cmsGetColorSpace(source);
    const int channels = space == cmsSigRgbData ? 3 : space == cmsSigGrayData ? 1 : 0;
    if (channels) {
        cmsHPROFILE lab = cmsCreateLab4Profile(cmsD50_xyY());
        m_transform = cmsCreateTransform(source, channels == 3 ? TYPE_RGB_DBL : TYPE_GRAY_DBL, lab, TYPE_Lab_DBL,
                                         INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_NOCACHE);
        cmsCloseProfile(lab);
        if (m_transform)
            m_channels = channels;
    }
    cmsCloseProfile(source);
}

IccConversion::~IccConversion()
{
    if (m_transform)
        cmsDeleteTransform(static_cast<cmsHTRANSFORM>(m_transform));
}

std::optional<PrintColours::Converted> IccConversion::convert(const double *values, int count) const
{
    if (!m_transform || count != m_channels)
        return std::nullopt;
    double in[3] = {0, 0, 0};
    for (int i = 0; i < count; ++i)
        in[i] = std::clamp(values[i], 0.0, 1.0);
    cmsCIELab lab;
    cmsDoTransform(static_cast<cmsHTRANSFORM>(m_transform), in, &lab, 1);
    return PrintColours::fromLabD50(lab.L, lab.a, lab.b);
}
