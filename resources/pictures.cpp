// The embedded pictures, at the scale the screen needs.
#include "resources/pictures.h"

#include "resources/jpeg_image.h"

namespace resources {

QString PicturePath(const QString& name, int scale) {
    QString file = name;
    if (scale > 1) {
        const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
        file.insert(dot < 0 ? file.size() : dot, QStringLiteral("@%1x").arg(scale));
    }
    return QStringLiteral(":/pictures/") + file;
}

int PictureScale(qreal devicePixelRatio) {
    return devicePixelRatio > 1 ? 2 : 1;
}

QImage LoadPicture(const QString& name, int scale) {
    const QString path = PicturePath(name, scale);
    // The JPEG pictures go through libjpeg directly rather than through an
    // image-format plugin that a Qt installation may or may not have.
    QImage image = name.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive)
                       ? LoadJpegResource(path)
                       : QImage(path, "BMP");
    image.setDevicePixelRatio(scale);
    return image;
}

}  // namespace resources
