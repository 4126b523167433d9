// SPDX-License-Identifier: MIT
#include "platform/WaylandLimits.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>

bool WaylandLimits::active()
{
    // "wayland" and its EGL variant "wayland-egl".
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

QString WaylandLimits::screenGrab()
{
    return active() ? QCoreApplication::translate("WaylandLimits",
                                                  "Pick from screen is not available: Wayland lets no program read "
                                                  "the screen.")
                    : QString();
}

QString WaylandLimits::placement()
{
    return active() ? QCoreApplication::translate("WaylandLimits",
                                                  "Find colour opens where the compositor puts it, not beside the "
                                                  "card: Wayland lets no program place its windows.")
                    : QString();
}

QString WaylandLimits::displayProfile()
{
    return active() ? QCoreApplication::translate("WaylandLimits",
                                                  "Colours are sent as sRGB: the compositor gives no display "
                                                  "profile to programs.")
                    : QString();
}

QString WaylandLimits::paragraph()
{
    if (!active())
        return QString();
    return QCoreApplication::translate("WaylandLimits", "On Wayland: %1")
        .arg(QStringList{screenGrab(), placement(), displayProfile()}.join(QLatin1Char(' ')));
}

void WaylandLimits::sayDisplayProfile()
{
    static bool said = false;
    if (said || !active())
        return;
    said = true;
    std::fprintf(stderr, "tesselle: %s\n", qPrintable(displayProfile()));
}
