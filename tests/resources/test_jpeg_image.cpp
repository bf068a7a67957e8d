// Decoding the embedded JPEG pictures with libjpeg, and refusing damaged
// data without taking the program down.

#include <QFile>
#include <QImage>
#include <QTest>

#include "resources/jpeg_image.h"
#include "resources/pictures.h"

namespace {

QByteArray ResourceBytes(const QString& name) {
    QFile file(resources::PicturePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// Offset of the start-of-frame segment (baseline or progressive).
qsizetype FrameHeader(const QByteArray& jpeg) {
    for (qsizetype i = 2; i + 9 < jpeg.size(); ++i)
        if (uchar(jpeg[i]) == 0xFF && (uchar(jpeg[i + 1]) == 0xC0 || uchar(jpeg[i + 1]) == 0xC2))
            return i;
    return -1;
}

int Distance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
           std::abs(qBlue(a) - qBlue(b));
}

}  // namespace

class JpegTest : public QObject {
    Q_OBJECT

private slots:
    void embeddedPictures() {
        const QImage title = resources::LoadJpegResource(":/pictures/title.jpg");
        QCOMPARE(title.size(), QSize(152, 191));
        QCOMPARE(resources::LoadPicture("about.jpg").size(), QSize(309, 436));
        // White ground; orange lettering above and below the figurine.
        QVERIFY(Distance(title.pixel(1, 100), qRgb(255, 255, 255)) < 12);
        int orange = 0;
        for (int y = 0; y < title.height(); ++y)
            for (int x = 0; x < title.width(); ++x)
                orange +=
                    (y < 24 || y > 160) && Distance(title.pixel(x, y), qRgb(255, 112, 0)) < 40;
        QVERIFY(orange > 800);
    }

    // Decoded straight into Format_RGB32, whose fourth byte must be 0xFF:
    // anything else shows as garbage once the image is drawn or scaled.
    void decodedPixelsAreOpaqueRgb32() {
        QFile grey(QStringLiteral(TAYNOVID_JPEG_CORPUS "/gray.jpg"));
        QVERIFY(grey.open(QIODevice::ReadOnly));
        for (const QImage& image : {resources::DecodeJpeg(ResourceBytes("title.jpg")),
                                    resources::DecodeJpeg(grey.readAll())}) {
            QCOMPARE(image.format(), QImage::Format_RGB32);
            for (int y = 0; y < image.height(); ++y) {
                const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
                for (int x = 0; x < image.width(); ++x)
                    QCOMPARE(qAlpha(row[x]), 255);
            }
        }
    }

    void damagedData_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = ResourceBytes("title.jpg");
        QVERIFY(good.size() > 1000);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("garbage") << QByteArray("this is not a picture at all, only words", 40);
        QTest::newRow("start marker only") << good.left(2);
        QTest::newRow("headers only") << good.left(FrameHeader(good) + 20);
        QTest::newRow("cut in half") << good.left(good.size() / 2);
        QTest::newRow("end cut off") << good.left(good.size() - 200);

        QByteArray zeroed = good;
        for (qsizetype i = good.size() / 3; i < good.size() * 2 / 3; ++i)
            zeroed[i] = 0;
        QTest::newRow("scan data zeroed") << zeroed;

        // A frame header claiming 65000 x 65000 pixels over the small data.
        QByteArray huge = good;
        const qsizetype frame = FrameHeader(huge);
        QVERIFY(frame > 0);
        for (qsizetype at : {frame + 5, frame + 7}) {
            huge[at] = char(0xFD);
            huge[at + 1] = char(0xE8);
        }
        QTest::newRow("huge size") << huge;
    }

    void damagedData() {
        QFETCH(QByteArray, bytes);
        QVERIFY(resources::DecodeJpeg(bytes).isNull());
    }

    void missingFileGivesNullImage() {
        QVERIFY(resources::LoadJpegResource(":/pictures/nothing.jpg").isNull());
    }
};

QTEST_GUILESS_MAIN(JpegTest)
#include "test_jpeg_image.moc"
