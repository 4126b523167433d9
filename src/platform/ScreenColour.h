// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QSet>
#include <QVector>

#include <optional>

class QScreen;
class QWidget;

// The display's colour profile, as colour-managed X11 programs find it: the
// root window's _ICC_PROFILE property (_ICC_PROFILE_n for the n-th
// monitor). What the window paints goes from sRGB to that profile through
// Little CMS, relative colorimetric with black-point compensation; with no
// profile, an unusable one, or no X11 at all, everything passes unchanged.
// Only painting asks here: the colours the program keeps, copies and says
// stay sRGB.
class ScreenColour : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    static ScreenColour *instance();
    ~ScreenColour() override;

    // What to paint for an sRGB colour, pixmap or image.
    static QColor of(const QColor &colour);
    static QPixmap of(const QPixmap &pixmap);
    static QImage of(QImage image);
    // Converts the opaque pixels of an area of an image where they lie, for
    // a widget that painted them straight into its window's backing store.
    static void convertInPlace(QImage *image, const QRect &area);
    // Whether convertInPlace takes an image of this kind.
    static bool convertsInPlace(const QImage &image);
    // The sRGB colour of a pixel read from the screen, which holds the
    // display's values: as near as sRGB comes.
    static QColor fromScreen(const QColor &pixel);
    // Whether a profile is in use, so that painting is converted.
    static bool active();

    // How far (CIEDE2000) the screen's nearest colour lies from an sRGB
    // colour, when it is 2 or more: the profile's gamut is too small.
    static std::optional<double> offBy(const QColor &colour);
    // The words that say so, or nothing.
    static QString offByText(const QColor &colour);

    // Takes the profile of the monitor window stands on, now and whenever
    // it moves to another.
    void follow(QWidget *window);

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

signals:
    // The profile in use changed: everything painted is painted again.
    void changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ScreenColour();
    struct Profile;
    struct Build;

    void listen();
    void useScreen(QScreen *screen);
    void reload();
    QByteArray readProperty(int index) const;
    void setProfile(const QByteArray &bytes);
    Profile *profile();
    void repaintAll();

    void *m_connection = nullptr;  // xcb_connection_t, when on X11
    quint32 m_root = 0;
    QVector<quint32> m_atoms;      // _ICC_PROFILE, _ICC_PROFILE_1, ...
    int m_screenIndex = 0;
    QByteArray m_bytes;            // the profile in use
    Profile *m_profile = nullptr;  // its transforms, or none
    Build *m_build = nullptr;      // its transform while it is being made
    QHash<QRgb, QRgb> m_colours;
    QHash<qint64, QPixmap> m_pixmaps;
    QSet<QByteArray> m_refused;    // SHA-256 of profiles said unusable, at most RefusedLimit
};
