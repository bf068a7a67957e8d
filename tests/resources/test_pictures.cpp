// The smaller pictures: coins, side strip, banner and speed-button pictures;
// and every picture's 2x variant against its 1x one.

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

int Distance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
           std::abs(qBlue(a) - qBlue(b)) + std::abs(qAlpha(a) - qAlpha(b));
}

// Sharp steps between neighbouring pixels of a 2x picture: those inside a
// 2 x 2 block, which only a finer drawing can have (a doubled 1x picture has
// none, a smoothly enlarged one only soft ones), and those between blocks.
struct Steps {
    int inside = 0, between = 0;
};

Steps SharpSteps(const QImage& picture) {
    constexpr int kSharp = 300;
    // Premultiplied, so that the colour under a transparent pixel does not count.
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    Steps steps;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            int& right = x % 2 == 0 ? steps.inside : steps.between;
            int& down = y % 2 == 0 ? steps.inside : steps.between;
            if (x + 1 < image.width() && Distance(c, image.pixel(x + 1, y)) >= kSharp)
                ++right;
            if (y + 1 < image.height() && Distance(c, image.pixel(x, y + 1)) >= kSharp)
                ++down;
        }
    }
    return steps;
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

    void twiceAsDenseIsDrawnNotEnlarged_data() {
        QTest::addColumn<QString>("name");
        for (const char* name : {"table.bmp", "heads.bmp", "tails.bmp", "strip.bmp", "banner.bmp",
                                 "title.jpg", "about.jpg", "sound_on.bmp", "sound_off.bmp"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void twiceAsDenseIsDrawnNotEnlarged() {
        QFETCH(QString, name);
        const QImage raw = resources::LoadPicture(name, 2);
        QCOMPARE(raw.devicePixelRatio(), 2.0);
        const QImage once = Load(name);
        const QImage twice = raw.convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(twice.size(), once.size() * 2);
        // The same drawing: halved, it is close to the 1x picture.
        const QImage halved =
            twice.scaled(once.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        qint64 difference = 0;
        for (int y = 0; y < once.height(); ++y)
            for (int x = 0; x < once.width(); ++x)
                difference += Distance(once.pixel(x, y), halved.pixel(x, y));
        const double perPixel = double(difference) / (once.width() * once.height());
        QVERIFY2(perPixel < 40, qPrintable(QString::number(perPixel)));
        // Finer: sharp steps inside the 2 x 2 blocks, where the 1x picture
        // doubled has none and smoothly enlarged only a few.
        const Steps steps = SharpSteps(twice);
        const Steps enlarged =
            SharpSteps(once.scaled(twice.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        QVERIFY2(steps.inside >= 2 * enlarged.inside + 20,
                 qPrintable(QString("%1 sharp steps inside blocks, enlarged %2")
                                .arg(steps.inside)
                                .arg(enlarged.inside)));
    }

    void unknownPictureIsNull() {
        QVERIFY(resources::LoadPicture("missing.bmp").isNull());
        QVERIFY(resources::LoadPicture("missing.jpg").isNull());
    }
};

QTEST_GUILESS_MAIN(PicturesTest)
#include "test_pictures.moc"
