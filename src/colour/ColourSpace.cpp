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
        // The adaptation is linear: its matrix, column by column, is what
        // Little CMS makes of the unit vectors, so it is worked out once.
        const cmsCIEXYZ units[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
        for (int column = 0; column < 3; ++column) {
            cmsCIEXYZ adapted;
            cmsAdaptToIlluminant(&adapted, cmsD50_XYZ(), &m_white, &units[column]);
            m_adaptation[0][column] = adapted.X;
            m_adaptation[1][column] = adapted.Y;
            m_adaptation[2][column] = adapted.Z;
        }
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
        const double(&m)[3][3] = m_adaptation;
        const cmsCIEXYZ d65 = {m[0][0] * d50.X + m[0][1] * d50.Y + m[0][2] * d50.Z,
                               m[1][0] * d50.X + m[1][1] * d50.Y + m[1][2] * d50.Z,
                               m[2][0] * d50.X + m[2][1] * d50.Y + m[2][2] * d50.Z};
        cmsCIELab lab;
        cmsXYZ2Lab(&m_white, &lab, &d65);
        return {lab.L, lab.a, lab.b};
    }

private:
    cmsHTRANSFORM m_transform = nullptr;
    cmsCIEXYZ m_white;
    double m_adaptation[3][3];  // D50 to D65, Bradford
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
