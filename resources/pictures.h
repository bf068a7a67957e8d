// The pictures embedded in the program, each at 1× and 2×.
#pragma once

#include <QImage>
#include <QString>

namespace resources {

// The path of an embedded picture, e.g. PicturePath("table.bmp") is
// ":/pictures/table.bmp", and PicturePath("table.bmp", 2) is
// ":/pictures/table@2x.bmp".
QString PicturePath(const QString& name, int scale = 1);

// The scale of the pictures to show on a screen of the given device pixel
// ratio: 1 at 1 (or below), 2 above it. At 1.25 or 1.5 the 2x pictures are
// drawn slightly smaller rather than the 1x ones enlarged.
int PictureScale(qreal devicePixelRatio);

// An embedded picture by file name, drawn at scale 1 or 2: the JPEG
// pictures through DecodeJpeg, the bitmaps through Qt's own reader
// (transparent ones come with alpha). A 2x picture carries device pixel
// ratio 2, so that its size in logical pixels is that of the 1x one.
// Only the asked-for scale is read. An unknown name gives a null image.
QImage LoadPicture(const QString& name, int scale = 1);

}  // namespace resources
