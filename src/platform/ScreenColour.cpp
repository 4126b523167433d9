// SPDX-License-Identifier: MIT
#include "platform/ScreenColour.h"

#include "platform/WaylandLimits.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QSet>
#include <QWidget>
#include <QWindow>

#include <lcms2.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstring>
#include <thread>
#include <utility>
#include <vector>

namespace {

// The layout of a QImage::Format_ARGB32 pixel in memory.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr cmsUInt32Number PixelType = TYPE_BGRA_8;
#else
constexpr cmsUInt32Number PixelType = TYPE_ARGB_8;
#endif

// Relative colorimetric keeps every colour the screen can show exactly where
// the card puts it, which is what a comparison with the printed card needs;
// black-point compensation only matters for a profile whose black is not
// zero, where it keeps the darkest colours apart instead of clipping them.
constexpr cmsUInt32Number Intent = INTENT_RELATIVE_COLORIMETRIC;
constexpr cmsUInt32Number Flags = cmsFLAGS_BLACKPOINTCOMPENSATION;

// The gamut is judged from here up: below it the difference is lost in the
// rounding to 8 bits per channel.
constexpr double NoticeableDeltaE = 2.0;

// More pictures than the window ever shows at once: past it the cache of
// converted pictures starts again.
constexpr int PixmapCacheLimit = 64;

// More unusable profiles than a desktop sets in a session: each is said
// once while the set of their digests holds it.
constexpr int RefusedLimit = 256;

QPointer<ScreenColour> theInstance;

// Converts a line of 32-bit pixels where it lies, each run of equal pixels
// once: what is painted is mostly runs of flat colour, and the transform
// costs about a hundred instructions a pixel.
void convertLine(cmsHTRANSFORM transform, quint32 *line, int width, std::vector<quint32> *runs)
{
    if (width <= 0)
        return;
    if (runs->size() < size_t(width))
        runs->resize(size_t(width));
    quint32 *heads = runs->data();
    int count = 0;
    heads[count++] = line[0];
    for (int x = 1; x < width; ++x) {
        if (line[x] != line[x - 1])
            heads[count++] = line[x];
    }
    cmsDoTransform(transform, heads, heads, cmsUInt32Number(count));
    int run = 0;
    quint32 previous = line[0];
    line[0] = heads[0];
    for (int x = 1; x < width; ++x) {
        const quint32 pixel = line[x];
        if (pixel != previous) {
            ++run;
            previous = pixel;
        }
        line[x] = heads[run];
    }
}

xcb_connection_t *x11Connection()
{
    auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!app)
        return nullptr;
    auto *x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

} // namespace

struct ScreenColour::Profile
{
    // The display profile's bytes: the profiles are closed as soon as a
    // transform is made, and opened again for the rarer ones.
    QByteArray bytes;
    cmsHTRANSFORM pixels = nullptr;   // sRGB to the display, 8-bit with alpha
    // Made when first asked for: most runs never judge the gamut or pick
    // a pixel, and each transform holds tables of its own.
    cmsHTRANSFORM device = nullptr;   // sRGB to the display, 16-bit: clipped to its gamut
    cmsHTRANSFORM shown = nullptr;    // the display's 16-bit values to Lab
    cmsHTRANSFORM meant = nullptr;    // sRGB to Lab
    cmsHTRANSFORM back = nullptr;     // the display's 8-bit values to sRGB
    bool gamutTried = false;
    bool backTried = false;

    ~Profile()
    {
        for (cmsHTRANSFORM t : {pixels, device, shown, meant, back})
            if (t)
                cmsDeleteTransform(t);
    }

    // The display profile, its relative-colorimetric tables made to be
    // its only ones where it has no others. A profile built from tables
    // alone (Argyll's colprof -al: A2B0 and B2A0) is converted with them
    // anyway, but Little CMS looks for the relative intent's own tables to
    // find the black point: without them it takes the black as zero, and
    // black-point compensation does nothing, crushing the darkest colours
    // into the display's black.
    cmsHPROFILE openDisplay() const
    {
        cmsHPROFILE display = cmsOpenProfileFromMem(bytes.constData(), cmsUInt32Number(bytes.size()));
        if (!display)
            return nullptr;
        const std::pair<cmsTagSignature, cmsTagSignature> tables[] = {{cmsSigAToB1Tag, cmsSigAToB0Tag},
                                                                      {cmsSigBToA1Tag, cmsSigBToA0Tag}};
        for (const auto &[relative, perceptual] : tables)
            if (!cmsIsTag(display, relative) && cmsIsTag(display, perceptual))
                cmsLinkTag(display, relative, perceptual);
        return display;
    }

    // The flags for a transform between sRGB and the display. A profile of
    // tables has the whole conversion sampled into one table: Little CMS
    // otherwise fits curves along the grey axis first, which moves
    // near-blacks by several levels where the display's black is not zero.
    // A matrix-shaper profile keeps Little CMS's exact shortcut.
    static cmsUInt32Number flagsFor(cmsHPROFILE display)
    {
        return cmsIsCLUT(display, Intent, LCMS_USED_AS_OUTPUT) ? Flags | cmsFLAGS_FORCE_CLUT : Flags;
    }

    // The profile for its bytes, or none when Little CMS cannot use it for
    // an RGB display. Runs on a thread of its own.
    static Profile *make(const QByteArray &bytes)
    {
        auto *profile = new Profile;
        profile->bytes = bytes;
        cmsHPROFILE display = profile->openDisplay();
        if (display && cmsGetColorSpace(display) == cmsSigRgbData) {
            cmsHPROFILE srgb = cmsCreate_sRGBProfile();
            profile->pixels = cmsCreateTransform(srgb, PixelType, display, PixelType, Intent,
                                                 flagsFor(display) | cmsFLAGS_COPY_ALPHA);
            cmsCloseProfile(srgb);
        }
        if (display)
            cmsCloseProfile(display);
        if (!profile->pixels) {
            delete profile;
            return nullptr;
        }
        return profile;
    }

    bool gamut()
    {
        if (!gamutTried) {
            gamutTried = true;
            cmsHPROFILE display = openDisplay();
            cmsHPROFILE srgb = cmsCreate_sRGBProfile();
            cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
            device = cmsCreateTransform(srgb, TYPE_RGB_8, display, TYPE_RGB_16, Intent, flagsFor(display));
            shown = cmsCreateTransform(display, TYPE_RGB_16, lab, TYPE_Lab_DBL, INTENT_RELATIVE_COLORIMETRIC, 0);
            meant = cmsCreateTransform(srgb, TYPE_RGB_8, lab, TYPE_Lab_DBL, INTENT_RELATIVE_COLORIMETRIC, 0);
            for (cmsHPROFILE p : {display, srgb, lab})
                if (p)
                    cmsCloseProfile(p);
        }
        return device && shown && meant;
    }

    bool toSrgb()
    {
        if (!backTried) {
            backTried = true;
            cmsHPROFILE display = openDisplay();
            cmsHPROFILE srgb = cmsCreate_sRGBProfile();
            back = cmsCreateTransform(display, TYPE_RGB_8, srgb, TYPE_RGB_8, Intent, flagsFor(display));
            for (cmsHPROFILE p : {display, srgb})
                if (p)
                    cmsCloseProfile(p);
        }
        return back != nullptr;
    }
};

// A profile's transform being made on a thread of its own, so that it is
// made while the window is: Little CMS takes milliseconds to build it.
struct ScreenColour::Build
{
    explicit Build(const QByteArray &profileBytes)
        : bytes(profileBytes), thread([this] { result = Profile::make(bytes); })
    {
    }

    QByteArray bytes;
    Profile *result = nullptr;
    std::thread thread;
};

ScreenColour *ScreenColour::instance()
{
    if (!theInstance)
        theInstance = new ScreenColour;
    return theInstance;
}

ScreenColour::ScreenColour() : QObject(QCoreApplication::instance())
{
    listen();
    // Wayland has no profile to listen for: said, not silently skipped.
    WaylandLimits::sayDisplayProfile();
}

ScreenColour::~ScreenColour()
{
    delete profile();
}

// Subscribes to the root window's property changes and reads the profile
// of the first monitor. Qt's own subscriptions on the root window stay.
void ScreenColour::listen()
{
    auto *connection = x11Connection();
    if (!connection)
        return;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen)
        return;
    m_connection = connection;
    m_root = screen->root;

    xcb_get_window_attributes_reply_t *attributes =
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, m_root), nullptr);
    const quint32 mask = (attributes ? attributes->your_event_mask : 0) | XCB_EVENT_MASK_PROPERTY_CHANGE;
    free(attributes);
    xcb_change_window_attributes(connection, m_root, XCB_CW_EVENT_MASK, &mask);
    QCoreApplication::instance()->installNativeEventFilter(this);

    const int screens = std::max<int>(8, int(QGuiApplication::screens().size()));
    QVector<xcb_intern_atom_cookie_t> cookies;
    for (int i = 0; i < screens; ++i) {
        const QByteArray name = i == 0 ? QByteArrayLiteral("_ICC_PROFILE")
                                       : "_ICC_PROFILE_" + QByteArray::number(i);
        cookies.append(xcb_intern_atom(connection, 0, uint16_t(name.size()), name.constData()));
    }
    for (const xcb_intern_atom_cookie_t &cookie : cookies) {
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
        m_atoms.append(reply ? reply->atom : quint32(XCB_ATOM_NONE));
        free(reply);
    }
    reload();
}

QByteArray ScreenColour::readProperty(int index) const
{
    if (!m_connection || index < 0 || index >= m_atoms.size() || m_atoms.at(index) == XCB_ATOM_NONE)
        return {};
    auto *connection = static_cast<xcb_connection_t *>(m_connection);
    // Up to 64 MiB, in 32-bit units: any display profile fits.
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(connection, 0, m_root, m_atoms.at(index), XCB_ATOM_ANY, 0, 16u << 20);
    xcb_get_property_reply_t *reply = xcb_get_property_reply(connection, cookie, nullptr);
    QByteArray bytes;
    if (reply && reply->format == 8)
        bytes = QByteArray(static_cast<const char *>(xcb_get_property_value(reply)),
                           xcb_get_property_value_length(reply));
    free(reply);
    return bytes;
}

void ScreenColour::reload()
{
    const QByteArray bytes = readProperty(m_screenIndex);
    if (bytes == m_bytes)
        return;
    setProfile(bytes);
    emit changed();
    repaintAll();
}

void ScreenColour::setProfile(const QByteArray &bytes)
{
    delete profile();
    m_profile = nullptr;
    m_bytes = bytes;
    m_colours.clear();
    m_pixmaps.clear();
    if (bytes.isEmpty())
        return;
    m_build = new Build(bytes);
}

// The profile in use, once its transform is made.
ScreenColour::Profile *ScreenColour::profile()
{
    if (!m_build)
        return m_profile;
    m_build->thread.join();
    m_profile = m_build->result;
    const QByteArray bytes = m_build->bytes;
    delete m_build;
    m_build = nullptr;
    if (m_profile)
        return m_profile;
    // Said once a profile. Kept by digest, not by bytes: a profile may be
    // megabytes, and a desktop may set many. Past the bound the set starts
    // again, and a profile refused long ago is said once more.
    const QByteArray digest = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
    if (!m_refused.contains(digest)) {
        if (m_refused.size() >= RefusedLimit)
            m_refused.clear();
        m_refused.insert(digest);
        std::fprintf(stderr, "tesselle: the display's colour profile (%lld bytes) cannot be used; "
                             "colours are shown as they are\n",
                     static_cast<long long>(bytes.size()));
    }
    return m_profile;
}

void ScreenColour::repaintAll()
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    for (QWidget *widget : QApplication::allWidgets())
        widget->update();
}

bool ScreenColour::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
        return false;
    const auto *property = static_cast<const xcb_property_notify_event_t *>(message);
    if (property->window == m_root && property->atom == m_atoms.value(m_screenIndex, XCB_ATOM_NONE))
        reload();
    return false;
}

void ScreenColour::follow(QWidget *window)
{
    window->installEventFilter(this);
    if (window->windowHandle()) {
        connect(window->windowHandle(), &QWindow::screenChanged, this, &ScreenColour::useScreen,
                Qt::UniqueConnection);
        useScreen(window->windowHandle()->screen());
    }
}

bool ScreenColour::eventFilter(QObject *watched, QEvent *event)
{
    // The native window exists from the first show on.
    if (event->type() == QEvent::Show || event->type() == QEvent::WinIdChange) {
        auto *window = qobject_cast<QWidget *>(watched);
        if (window && window->windowHandle()) {
            connect(window->windowHandle(), &QWindow::screenChanged, this, &ScreenColour::useScreen,
                    Qt::UniqueConnection);
            useScreen(window->windowHandle()->screen());
        }
    }
    return QObject::eventFilter(watched, event);
}

// The n-th monitor in the desktop's order has _ICC_PROFILE_n; the first
// has _ICC_PROFILE.
void ScreenColour::useScreen(QScreen *screen)
{
    const int index = std::max<int>(0, int(QGuiApplication::screens().indexOf(screen)));
    if (index == m_screenIndex || !m_connection)
        return;
    if (index >= m_atoms.size())
        return;  // beyond the eighth monitor: the first one's profile stays
    m_screenIndex = index;
    reload();
}

bool ScreenColour::active()
{
    return instance()->profile() != nullptr;
}

QColor ScreenColour::of(const QColor &colour)
{
    ScreenColour *self = instance();
    Profile *profile = self->profile();
    if (!profile || !colour.isValid())
        return colour;
    const QRgb rgb = colour.rgba() | 0xff000000u;
    auto it = self->m_colours.constFind(rgb);
    if (it == self->m_colours.constEnd()) {
        QRgb shown = rgb;
        cmsDoTransform(profile->pixels, &rgb, &shown, 1);
        it = self->m_colours.insert(rgb, shown | 0xff000000u);
    }
    QColor result = QColor::fromRgb(*it);
    result.setAlpha(colour.alpha());
    return result;
}

QColor ScreenColour::fromScreen(const QColor &pixel)
{
    ScreenColour *self = instance();
    Profile *profile = self->profile();
    if (!profile || !pixel.isValid() || !profile->toSrgb())
        return pixel;
    const unsigned char in[3] = {uchar(pixel.red()), uchar(pixel.green()), uchar(pixel.blue())};
    unsigned char out[3];
    cmsDoTransform(profile->back, in, out, 1);
    return QColor(out[0], out[1], out[2]);
}

QImage ScreenColour::of(QImage image)
{
    ScreenColour *self = instance();
    Profile *profile = self->profile();
    if (!profile || image.isNull())
        return image;
    // Converted in place when the image is the caller's alone.
    QImage converted = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
                           ? std::move(image)
                           : image.convertToFormat(QImage::Format_ARGB32);
    converted.detach();
    std::vector<quint32> runs;
    for (int y = 0; y < converted.height(); ++y)
        convertLine(profile->pixels, reinterpret_cast<quint32 *>(converted.scanLine(y)), converted.width(), &runs);
    return converted;
}

bool ScreenColour::convertsInPlace(const QImage &image)
{
    // Premultiplied pixels are the plain ones where they are opaque.
    const QImage::Format format = image.format();
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32
           || format == QImage::Format_ARGB32_Premultiplied;
}

void ScreenColour::convertInPlace(QImage *image, const QRect &area)
{
    ScreenColour *self = instance();
    Profile *profile = self->profile();
    if (!profile || !convertsInPlace(*image))
        return;
    const QRect inside = area & image->rect();
    std::vector<quint32> runs;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        auto *line = reinterpret_cast<quint32 *>(image->scanLine(y)) + inside.left();
        convertLine(profile->pixels, line, inside.width(), &runs);
    }
}

QPixmap ScreenColour::of(const QPixmap &pixmap)
{
    ScreenColour *self = instance();
    if (!self->profile() || pixmap.isNull())
        return pixmap;
    auto it = self->m_pixmaps.constFind(pixmap.cacheKey());
    if (it != self->m_pixmaps.constEnd())
        return *it;
    if (self->m_pixmaps.size() >= PixmapCacheLimit)
        self->m_pixmaps.clear();
    QPixmap converted = QPixmap::fromImage(of(pixmap.toImage()));
    converted.setDevicePixelRatio(pixmap.devicePixelRatio());
    self->m_pixmaps.insert(pixmap.cacheKey(), converted);
    return converted;
}

std::optional<double> ScreenColour::offBy(const QColor &colour)
{
    ScreenColour *self = instance();
    Profile *profile = self->profile();
    if (!profile || !colour.isValid() || !profile->gamut())
        return std::nullopt;
    const unsigned char rgb[3] = {uchar(colour.red()), uchar(colour.green()), uchar(colour.blue())};
    quint16 device[3];
    cmsCIELab meant;
    cmsCIELab shown;
    cmsDoTransform(profile->device, rgb, device, 1);
    cmsDoTransform(profile->shown, device, &shown, 1);
    cmsDoTransform(profile->meant, rgb, &meant, 1);
    const double deltaE = cmsCIE2000DeltaE(&meant, &shown, 1, 1, 1);
    if (deltaE < NoticeableDeltaE)
        return std::nullopt;
    return deltaE;
}

QString ScreenColour::offByText(const QColor &colour)
{
    const std::optional<double> deltaE = offBy(colour);
    if (!deltaE)
        return {};
    return QCoreApplication::translate("ScreenColour", "this screen shows it about ΔE %1 off")
        .arg(*deltaE, 0, 'f', 1);
}
