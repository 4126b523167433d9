#pragma once

#include <QImage>
#include <QList>

class QByteArray;

// Reads the images of a Windows icon file (.ico) whose entries are plain
// device-independent bitmaps of 1, 4, 8, 24 or 32 bits per pixel with their
// transparency masks, the kind the program's artwork holds, straight into
// ARGB images: no image plugin is looked up or loaded.
//
// Gives no images at all when the data is not such a file (another kind of
// entry, a PNG one for instance, or anything cut short), so that the caller
// can hand it to a general reader instead.
class IconFile
{
public:
    static QList<QImage> read(const QByteArray &data);
};
