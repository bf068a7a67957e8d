// The smaller pictures: coins, side strip, banner and speed-button pictures.

#include <QImage>
#include <QTest>

#include "resources/pictures.h"

namespace {

QImage Load(const QString& name) {
    return resources::LoadPicture(name).convertToFormat(QImage::Format_ARGB32);
}

int Count(const QImage& image, auto predicate) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += predicate(image.pixel(x, y)) ? 1 : 0;
    return n;
}

bool IsGrey(QRgb c) {
    return std::abs(qRed(c) - qGreen(c)) <= 4 && std::abs(qGreen(c) - qBlue(c)) <= 4;
}

}  // namespace

class PicturesTest : public QObject {
    Q_OBJECT

private slots:
    void coinsAreGreyFacesOnThePanelSilver() {
        const QImage heads = Load("heads.bmp"), tails = Load("tails.bmp");
        QVERIFY(heads != tails);
        for (const QImage& coin : {heads, tails}) {
            QCOMPARE(coin.size(), QSize(33, 33));
            QCOMPARE(Count(coin, [](QRgb c) { return qAlpha(c) != 255 || !IsGrey(c); }), 0);
            QVERIFY(Count(coin.copy(8, 8, 17, 17), [](QRgb c) { return qGray(c) < 110; }) > 30);
            QCOMPARE(coin.pixel(0, 0), qRgb(192, 192, 192));
            QCOMPARE(coin.pixel(32, 32), qRgb(192, 192, 192));
        }
    }

    void stripAndBannerStandOnATransparentGround_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("golden");  // else blue outlines
        QTest::newRow("strip") << "strip.bmp" << QSize(36, 148) << false;
        QTest::newRow("banner") << "banner.bmp" << QSize(150, 65) << true;
    }

    void stripAndBannerStandOnATransparentGround() {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        QFETCH(bool, golden);
        QVERIFY(resources::LoadPicture(name).hasAlphaChannel());
        const QImage image = Load(name);
        QCOMPARE(image.size(), size);
        const int w = size.width() - 1, h = size.height() - 1;
        for (QPoint corner : {QPoint(0, 0), QPoint(w, 0), QPoint(0, h), QPoint(w, h)})
            QCOMPARE(qAlpha(image.pixel(corner)), 0);
        const int area = size.width() * size.height();
        QVERIFY(Count(image, [](QRgb c) { return qAlpha(c) == 0; }) > area / 4);
        QVERIFY(Count(image, [](QRgb c) { return qAlpha(c) == 255; }) > area / 10);
        const int coloured = Count(image, [&](QRgb c) {
            return qAlpha(c) == 255 &&
                   (golden ? qRed(c) > 200 && qGreen(c) > 130 && qBlue(c) < 110
                           : qBlue(c) > 120 && qRed(c) < 110 && qGreen(c) < 130);
        });
        QVERIFY(coloured > area / 30);
    }

    void stripShowsEightLettersOneUnderAnother() {
        const QImage strip = Load("strip.bmp");
        int bands = 0;
        bool inBand = false;
        for (int y = 0; y < strip.height(); ++y) {
            const bool solid = Count(strip.copy(0, y, strip.width(), 1),
                                     [](QRgb c) { return qAlpha(c) == 255; }) > 0;
            bands += solid && !inBand;
            inBand = solid;
        }
        QCOMPARE(bands, 8);
    }

    void speedButtonPictures_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRgb>("colour");  // what the picture shows besides black
        QTest::newRow("show table") << "table_show" << qRgb(0, 0, 128);
        QTest::newRow("hide table") << "table_hide" << qRgb(255, 255, 255);
        QTest::newRow("sound on") << "sound_on" << qRgb(255, 0, 0);
        QTest::newRow("sound off") << "sound_off" << qRgb(255, 0, 0);
    }

    void speedButtonPictures() {
        QFETCH(QString, name);
        QFETCH(QRgb, colour);
        const QImage normal = Load(name + ".bmp");
        const QImage greyed = Load(name + "_disabled.bmp");
        QCOMPARE(normal.size(), QSize(16, 16));
        QCOMPARE(greyed.size(), QSize(16, 16));
        QCOMPARE(qAlpha(normal.pixel(0, 15)), 0);  // the button face shows through
        QVERIFY(Count(normal, [](QRgb c) { return c == qRgb(0, 0, 0); }) > 10);
        QVERIFY(Count(normal, [&](QRgb c) { return c == colour; }) >= 10);
        // The greyed variant has no colour left, only grey and white.
        QVERIFY(Count(greyed, [](QRgb c) { return qAlpha(c) == 255; }) > 10);
        QCOMPARE(Count(greyed, [](QRgb c) { return qAlpha(c) > 0 && qRed(c) != qBlue(c); }), 0);
        QCOMPARE(Count(greyed, [](QRgb c) { return qAlpha(c) > 0 && qRed(c) != qGreen(c); }), 0);
    }

    void unknownPictureIsNull() {
        QVERIFY(resources::LoadPicture("missing.bmp").isNull());
        QVERIFY(resources::LoadPicture("missing.jpg").isNull());
    }
};

QTEST_GUILESS_MAIN(PicturesTest)
#include "test_pictures.moc"
