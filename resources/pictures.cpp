#include "resources/pictures.h"

#include "resources/jpeg_image.h"

namespace resources {

QString PicturePath(const QString& name) {
    return QStringLiteral(":/pictures/") + name;
}

QImage LoadPicture(const QString& name) {
    const QString path = PicturePath(name);
    // The JPEG pictures go through libjpeg directly rather than through an
    // image-format plugin that a Qt installation may or may not have.
    if (name.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive))
        return LoadJpegResource(path);
    return QImage(path, "BMP");
}

}  // namespace resources
