// SPDX-License-Identifier: MIT
#include "colour/PrintColours.h"

#include <QFile>

#include <lcms2.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr cmsCIExyY d65xyY = {0.3127, 0.3290, 1.0};

// D50 Lab to sRGB for the swatch, and D50 XYZ to the card's D65 Lab.
class LabD50
{
public:
    LabD50()
    {
        cmsHPROFILE lab = cmsCreateLab4Profile(cmsD50_xyY());
        cmsHPROFILE srgb = cmsCreate_sRGBProfile();
        m_toRgb = cmsCreateTransform(lab, TYPE_Lab_DBL, srgb, TYPE_RGB_8, INTENT_RELATIVE_COLORIMETRIC,
                                     cmsFLAGS_NOCACHE);
        cmsCloseProfile(lab);
        cmsCloseProfile(srgb);
        cmsxyY2XYZ(&m_white, &d65xyY);
    }
    ~LabD50() { cmsDeleteTransform(m_toRgb); }
    LabD50(const LabD50 &) = delete;
    LabD50 &operator=(const LabD50 &) = delete;

    PrintColours::Converted convert(const cmsCIELab &d50) const
    {
        PrintColours::Converted out;
        unsigned char pixel[3];
        cmsDoTransform(m_toRgb, &d50, pixel, 1);
        out.rgb = qRgb(pixel[0], pixel[1], pixel[2]);
        cmsCIEXYZ xyz50;
        cmsLab2XYZ(cmsD50_XYZ(), &xyz50, &d50);
        cmsCIEXYZ xyz65;
        cmsAdaptToIlluminant(&xyz65, cmsD50_XYZ(), &m_white, &xyz50);
        cmsCIELab lab;
        cmsXYZ2Lab(&m_white, &lab, &xyz65);
        out.lab = {lab.L, lab.a, lab.b};
        return out;
    }

private:
    cmsHTRANSFORM m_toRgb = nullptr;
    cmsCIEXYZ m_white;
};

const LabD50 &labD50()
{
    static const LabD50 conversion;
    return conversion;
}

// CMYK (percent of each ink) to D50 Lab through the profile, made once.
class CmykToLab
{
public:
    CmykToLab()
    {
        const QString path = PrintColours::cmykProfilePath();
        if (path.isEmpty())
            return;
        cmsHPROFILE cmyk = cmsOpenProfileFromFile(QFile::encodeName(path).constData(), "r");
        if (!cmyk)
            return;
        if (cmsGetColorSpace(cmyk) == cmsSigCmykData) {
            cmsHPROFILE lab = cmsCreateLab4Profile(cmsD50_xyY());
            m_transform = cmsCreateTransform(cmyk, TYPE_CMYK_DBL, lab, TYPE_Lab_DBL, INTENT_RELATIVE_COLORIMETRIC,
                                             cmsFLAGS_NOCACHE);
            cmsCloseProfile(lab);
        }
        cmsCloseProfile(cmyk);
    }
    ~CmykToLab()
    {
        if (m_transform)
            cmsDeleteTransform(m_transform);
    }
    CmykToLab(const CmykToLab &) = delete;
    CmykToLab &operator=(const CmykToLab &) = delete;

    bool ready() const { return m_transform != nullptr; }
    cmsCIELab lab(const double ink[4]) const
    {
        cmsCIELab out;
        cmsDoTransform(m_transform, ink, &out, 1);
        return out;
    }

private:
    cmsHTRANSFORM m_transform = nullptr;
};

} // namespace

PrintColours::Converted PrintColours::fromLabD50(double l, double a, double b)
{
    const cmsCIELab lab = {std::clamp(l, 0.0, 100.0), std::clamp(a, -128.0, 127.0), std::clamp(b, -128.0, 127.0)};
    return labD50().convert(lab);
}

std::optional<PrintColours::Converted> PrintColours::fromCmyk(double c, double m, double y, double k)
{
    static const CmykToLab conversion;
    if (!conversion.ready())
        return std::nullopt;
    // Little CMS takes CMYK as percentages.
    const double ink[4] = {std::clamp(c, 0.0, 1.0) * 100, std::clamp(m, 0.0, 1.0) * 100,
                           std::clamp(y, 0.0, 1.0) * 100, std::clamp(k, 0.0, 1.0) * 100};
    return labD50().convert(conversion.lab(ink));
}

QString PrintColours::cmykProfilePath()
{
    const QString path = qEnvironmentVariableIsSet("TESSELLE_CMYK_PROFILE")
        ? qEnvironmentVariable("TESSELLE_CMYK_PROFILE")
        : QStringLiteral("/usr/share/color/icc/ghostscript/default_cmyk.icc");
    return !path.isEmpty() && QFile::exists(path) ? path : QString();
}

QString PrintColours::cmykIntentName()
{
    return QStringLiteral("relative colorimetric");
}
