// SPDX-License-Identifier: MIT
#include "colour/ColourSpace.h"

#include <lcms2.h>

namespace {

// sRGB's own white, the one Little CMS builds its sRGB profile with.
constexpr cmsCIExyY d65xyY = {0.3127, 0.3290, 1.0};

// The transform from 8-bit sRGB to XYZ, made once. Little CMS's sRGB
// profile maps its D65 white onto the D50 white of the profile connection
// space with a Bradford adaptation, and any Lab profile's values are
// relative to that D50 white; the card's L* and C* are relative to D65,
// and D50 values differ from them by up to 5 in C*. So the XYZ is taken
// back to D65 with the same Bradford adaptation and only then made Lab.
class SrgbToXyz
{
public:
    SrgbToXyz()
    {
        cmsHPROFILE srgb = cmsCreate_sRGBProfile();
        cmsHPROFILE xyz = cmsCreateXYZProfile();
        // No cache: the transform is shared between threads.
        m_transform = cmsCreateTransform(srgb, TYPE_RGB_8, xyz, TYPE_XYZ_DBL,
                                         INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_NOCACHE);
        cmsCloseProfile(srgb);
        cmsCloseProfile(xyz);
        cmsxyY2XYZ(&m_white, &d65xyY);
    }
    ~SrgbToXyz() { cmsDeleteTransform(m_transform); }
    SrgbToXyz(const SrgbToXyz &) = delete;
    SrgbToXyz &operator=(const SrgbToXyz &) = delete;

    Lab lab(QRgb rgb) const
    {
        const unsigned char pixel[3] = {static_cast<unsigned char>(qRed(rgb)),
                                        static_cast<unsigned char>(qGreen(rgb)),
                                        static_cast<unsigned char>(qBlue(rgb))};
        cmsCIEXYZ d50;
        cmsDoTransform(m_transform, pixel, &d50, 1);
        cmsCIEXYZ d65;
        cmsAdaptToIlluminant(&d65, cmsD50_XYZ(), &m_white, &d50);
        cmsCIELab lab;
        cmsXYZ2Lab(&m_white, &lab, &d65);
        return {lab.L, lab.a, lab.b};
    }

private:
    cmsHTRANSFORM m_transform = nullptr;
    cmsCIEXYZ m_white;
};

} // namespace

Lab ColourSpace::labFromRgb(QRgb rgb)
{
    static const SrgbToXyz transform;
    return transform.lab(rgb);
}

double ColourSpace::deltaE00(const Lab &first, const Lab &second)
{
    const cmsCIELab a = {first.l, first.a, first.b};
    const cmsCIELab b = {second.l, second.a, second.b};
    return cmsCIE2000DeltaE(&a, &b, 1, 1, 1);
}
