// Each trigram marker, shown over the table, turns exactly the brown bars of
// its heading green and changes no other pixel of the window.
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QToolButton>

#include "harness.h"
#include "resources/pictures.h"

using testing_support::Harness;
using testing_support::WorkingFolder;

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
    QTest::addColumn<int>("trigram");
    const char* rows[8] = {"Image4",  "Image11", "Image12", "Image13",
                           "Image14", "Image15", "Image16", "Image17"};
    for (int k = 1; k <= 8; ++k) {
        QTest::newRow(("Image" + QByteArray::number(17 + k)).constData()) << k;
        QTest::newRow(rows[k - 1]) << k;
    }
}

void TableMarkersTest::markerLightsItsHeadingOnly() {
    QFETCH(int, trigram);
    Harness h;
    auto* table = h.find<QGroupBox>("GroupBox2");
    auto* marker = h.find<QLabel>(QTest::currentDataTag());
    QVERIFY(marker && marker->isHidden());
    const QImage before = table->grab().toImage().convertToFormat(QImage::Format_RGB32);
    marker->show();
    const QImage after = table->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(after.size(), before.size());

    // The brown pixels of the table picture, in the group's coordinates.
    const QImage picture =
        resources::LoadPicture("table.bmp").convertToFormat(QImage::Format_RGB32);
    const QPoint origin = h.find("Image1")->pos();
    // The marker's picture, centred unscaled in its control.
    const QSize size = marker->pixmap().size();
    const QRect control = marker->geometry();
    const QRect area(control.topLeft() + QPoint((control.width() - size.width()) / 2,
                                                (control.height() - size.height()) / 2),
                     size);
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
    QCOMPARE(brown, bars);
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
