// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QPixmap>

// The window's artwork, built into the program as resources. Each picture
// has variants drawn in device pixels for the screen scales 1.25, 1.5 and 2
// ("name@1.25x.ext", "name@1.5x.ext", "name@2x.ext"), with every frame one
// device pixel wide where Qt puts the controls at that scale: picture()
// gives the one for the application's device pixel ratio, so the window is
// shown unscaled and crisp there.
namespace Artwork {

QPixmap picture(const QString &resource);
// The program icon, a colour wheel at 16, 32, 48, 128 and 256 pixels, each
// size a PNG image of its own, read when a pixmap of the icon is first
// asked for.
QIcon programIcon();

} // namespace Artwork
