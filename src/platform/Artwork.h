#pragma once

#include <QIcon>
#include <QPixmap>

// The window's artwork, built into the program as resources. Each picture
// has a twice-as-fine variant ("name@2x.ext") used on screens with a device
// pixel ratio of 1.5 or more, so the window stays crisp there.
namespace Artwork {

QPixmap picture(const QString &resource);
QIcon programIcon();

} // namespace Artwork
