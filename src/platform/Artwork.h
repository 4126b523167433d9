#pragma once

#include <QIcon>
#include <QPixmap>

// The window's artwork, built into the program as resources. Each picture
// has a twice-as-fine variant ("name@2x.ext") used on screens with a device
// pixel ratio of 1.5 or more, so the window stays crisp there.
namespace Artwork {

QPixmap picture(const QString &resource);
// The program icon, a colour wheel at 16, 32, 48, 128 and 256 pixels, each
// size a PNG image of its own, read when a pixmap of the icon is first
// asked for.
QIcon programIcon();

} // namespace Artwork
