#pragma once

#include <QImage>
#include <QString>

namespace resources {

// The path of an embedded picture, e.g. PicturePath("table.bmp") is
// ":/pictures/table.bmp".
QString PicturePath(const QString& name);

// An embedded picture by file name: the JPEG pictures through DecodeJpeg,
// the bitmaps through Qt's own reader (transparent ones come with alpha).
// An unknown name gives a null image.
QImage LoadPicture(const QString& name);

}  // namespace resources
