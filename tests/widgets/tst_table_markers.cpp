// Each trigram marker, shown over the table, turns exactly the brown bars of
// its heading green and changes no other pixel of the window: with the 1x
// pictures drawn at device pixel ratio 1, and with the 2x ones at 2.
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QToolButton>

#include "harness.h"
#include "resources/pictures.h"

using testing_support::Harness;
using testing_support::WorkingFolder;

namespace {

// The widget as a screen of the given device pixel ratio shows it.
QImage Render(QWidget* widget, int ratio) {
    QImage image(widget->size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    widget->render(&image);
    return image;
}

}  // namespace

class TableMarkersTest : public QObject {
    Q_OBJECT

private slots:
    void markerLightsItsHeadingOnly_data();
    void markerLightsItsHeadingOnly();
    void completeCastLightsColumnAndRowOfItsButton();

private:
    WorkingFolder folder_;
};

void TableMarkersTest::markerLightsItsHeadingOnly_data() {
    QTest::addColumn<QByteArray>("marker");
    QTest::addColumn<int>("trigram");
    QTest::addColumn<int>("ratio");
    const char* rows[8] = {"Image4",  "Image11", "Image12", "Image13",
                           "Image14", "Image15", "Image16", "Image17"};
    for (int ratio : {1, 2}) {
        for (int k = 1; k <= 8; ++k) {
            const QByteArray column = "Image" + QByteArray::number(17 + k);
            QTest::addRow("%s, %dx", column.constData(), ratio) << column << k << ratio;
            QTest::addRow("%s, %dx", rows[k - 1], ratio) << QByteArray(rows[k - 1]) << k << ratio;
        }
    }
}

void TableMarkersTest::markerLightsItsHeadingOnly() {
    QFETCH(QByteArray, marker);
    QFETCH(int, trigram);
    QFETCH(int, ratio);
    Harness h({}, ratio);
    auto* table = h.find<QGroupBox>("GroupBox2");
    auto* label = h.find<QLabel>(marker.constData());
    QVERIFY(label && label->isHidden());
    QCOMPARE(label->pixmap().devicePixelRatio(), qreal(ratio));
    const QImage before = Render(table, ratio);
    label->show();
    const QImage after = Render(table, ratio);
    QCOMPARE(after.size(), before.size());

    // The brown pixels of the table picture, in the group's device pixels.
    const QImage picture =
        resources::LoadPicture("table.bmp", ratio).convertToFormat(QImage::Format_RGB32);
    const QPoint origin = h.find("Image1")->pos() * ratio;
    // The marker's picture, centred unscaled in its control.
    const QSize size = label->pixmap().deviceIndependentSize().toSize();
    const QRect control = label->geometry();
    const QRect area((control.topLeft() + QPoint((control.width() - size.width()) / 2,
                                                 (control.height() - size.height()) / 2)) *
                         ratio,
                     size * ratio);
    int changed = 0, brown = 0;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            const QPoint p(x, y);
            const QPoint inPicture = p - origin;
            const bool isBrown = area.contains(p) && picture.rect().contains(inPicture) &&
                                 picture.pixelColor(inPicture) == QColor(159, 80, 0);
            const bool differs = before.pixel(x, y) != after.pixel(x, y);
            brown += isBrown;
            changed += differs;
            if (isBrown) {
                QCOMPARE(before.pixelColor(p), QColor(159, 80, 0));
                QCOMPARE(after.pixelColor(p), QColor(0, 255, 0));
            } else if (differs) {
                QFAIL(qPrintable(QString("pixel %1,%2 changed").arg(x).arg(y)));
            }
        }
    }
    // A trigram drawing has three bars of 32 × 3, or 24 × 3 when broken.
    const int bars = 3 * 3 * 32 - 8 * 3 * ((trigram - 1) >> 2 & 1) -
                     8 * 3 * ((trigram - 1) >> 1 & 1) - 8 * 3 * ((trigram - 1) & 1);
    QCOMPARE(brown, bars * ratio * ratio);
    QCOMPARE(changed, brown);
}

void TableMarkersTest::completeCastLightsColumnAndRowOfItsButton() {
    // Lines broken, broken, broken, solid, solid, solid: column 8, row 1,
    // whose crossing carries the button 12.
    Harness h;
    for (const char* button : {"Button3", "Button3", "Button3", "Button2", "Button2", "Button2"})
        QTest::mouseClick(h.find(button), Qt::LeftButton);
    const QRect column = h.find("Image25")->geometry();
    const QRect row = h.find("Image4")->geometry();
    QVERIFY(!h.find("Image25")->isHidden());
    QVERIFY(!h.find("Image4")->isHidden());
    // The column marker spans its column's width, the row marker its row's height.
    QWidget* crossing = nullptr;
    for (int i = 1; i <= 64; ++i) {
        QWidget* button = h.find(("SpeedButton" + QByteArray::number(i)).constData());
        const QRect g = button->geometry();
        if (g.left() >= column.left() && g.right() <= column.right() && g.top() >= row.top() &&
            g.bottom() <= row.bottom())
            crossing = button;
    }
    QVERIFY(crossing);
    QCOMPARE(static_cast<QToolButton*>(crossing)->text(), QString("12"));
}

QTEST_MAIN(TableMarkersTest)
#include "tst_table_markers.moc"
