// JPEG pictures decoded through libjpeg, safely for damaged data.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace resources {

// Decodes a baseline or progressive JPEG (colour or grey) with libjpeg.
// Damaged or truncated data gives a null image; the decoder never prints,
// aborts or exits. The image is in QImage::Format_RGB32.
QImage DecodeJpeg(const QByteArray& bytes);

// Reads a file, usually a Qt resource such as ":/pictures/title.jpg", and
// decodes it; a missing file gives a null image.
QImage LoadJpegResource(const QString& path);

}  // namespace resources
