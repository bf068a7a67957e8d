// Casting through real button clicks, with the notice answered by the test:
// glyphs, coin faces, markers, readings, sounds, clearing and the table.
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include "divination/coins.h"
#include "divination/hexagrams.h"
#include "harness.h"

using testing_support::Harness;
using testing_support::WorkingFolder;

namespace {

const std::string kFanfare = ".\\Fanfare.wav";
const std::string kRemoval = ".\\udalenie.wav";

// "Гексаграмма N" in Windows-1251, then 60 lines, each with a non-breaking
// space (0xA0), CR LF breaks.
QByteArray ReadingBytes(int n) {
    QByteArray bytes = "\xC3\xE5\xEA\xF1\xE0\xE3\xF0\xE0\xEC\xEC\xE0 " + QByteArray::number(n);
    bytes += "\r\n";
    for (int i = 0; i < 60; ++i)
        bytes += "\xF1\xEB\xEE\xE2\xEE\xA0\r\n";
    return bytes;
}

// The reading as the reading area gives it back: the non-breaking space
// comes back as a blank.
QString ReadingText(int n) {
    QString text = QString("Гексаграмма %1\n").arg(n);
    for (int i = 0; i < 60; ++i)
        text += "слово \n";
    return text;
}

void WriteAllReadings(const WorkingFolder& folder) {
    for (int n = 1; n <= 64; ++n)
        folder.write(QString("Text/Text%1.dat").arg(n), ReadingBytes(n));
}

}  // namespace

class CastingTest : public QObject {
    Q_OBJECT

private slots:
    void init() { WriteAllReadings(folder_); }

    void sixHeadsInTheNormalMode();
    void tailsHeadsTailsLightTrigramSix();
    void pressesAfterTheSixthShowTheNoticeFirst();
    void normalCastBringsTheTableBack();
    void semiAutomaticCastShowsTheReading();
    void semiAutomaticMissingReadingIsReported();
    void automaticCastFillsCoinsAndReads();
    void newHexagramClearsEverything();
    void failingRemovalSoundClearsNothing();
    void soundOffPlaysNothing();
    void everyTableButtonOpensItsOwnReading();
    void sameReadingKeepsTheScrollPosition();
    void modeChangeClearsWithoutSound();

private:
    static void click(Harness& h, const char* button) {
        QTest::mouseClick(h.find<QPushButton>(button), Qt::LeftButton);
    }
    static QStringList glyphs(Harness& h) {
        QStringList rows;
        auto* list = h.find<QListWidget>("ListBox2");
        for (int i = 0; i < list->count(); ++i)
            rows << list->item(i)->text();
        return rows;
    }
    static QStringList visibleMarkers(Harness& h) {
        QStringList names;
        for (int k = 4; k <= 25; ++k) {
            if (k >= 5 && k <= 10)
                continue;
            const QByteArray name = "Image" + QByteArray::number(k);
            if (!h.find(name.constData())->isHidden())
                names << name;
        }
        return names;
    }
    static QString memo(Harness& h) { return h.find<QPlainTextEdit>("Memo1")->toPlainText(); }

    WorkingFolder folder_;
};

void CastingTest::sixHeadsInTheNormalMode() {
    Harness h;
    for (int press = 1; press <= 6; ++press) {
        click(h, "Button2");
        QCOMPARE(glyphs(h).size(), press);
        const QStringList expected = press < 3   ? QStringList{}
                                     : press < 6 ? QStringList{"Image18"}
                                                 : QStringList{"Image4", "Image18"};
        QCOMPARE(visibleMarkers(h), expected);
        QCOMPARE(h.player.played.size(), press == 6 ? 1u : 0u);
    }
    QCOMPARE(glyphs(h), QStringList(6, "___________"));
    QVERIFY(h.find("Label3")->isHidden());
    QVERIFY(h.find("Label4")->isHidden());
    for (const char* heads : {"Image26", "Image28", "Image29"})
        QVERIFY(!h.find(heads)->isHidden());
    for (const char* tails : {"Image27", "Image30", "Image31"})
        QVERIFY(h.find(tails)->isHidden());
    QCOMPARE(h.player.played.back(), kFanfare);
    // The normal mode leaves the reading to the table.
    QCOMPARE(memo(h), QString("Здесь вы увидите ответ"));
    QCOMPARE(h.notices, 0);
    QVERIFY(h.errors.isEmpty());
}

void CastingTest::tailsHeadsTailsLightTrigramSix() {
    Harness h;
    click(h, "Button3");
    click(h, "Button2");
    QVERIFY(visibleMarkers(h).isEmpty());
    click(h, "Button3");
    QCOMPARE(visibleMarkers(h), QStringList{"Image23"});
    QCOMPARE(glyphs(h), (QStringList{"____      ____", "___________", "____      ____"}));
    // Tails lie over the heads shown before.
    for (const char* tails : {"Image27", "Image30", "Image31"})
        QVERIFY(!h.find(tails)->isHidden());
}

void CastingTest::pressesAfterTheSixthShowTheNoticeFirst() {
    Harness h;
    for (int press = 0; press < 6; ++press)
        click(h, "Button3");
    QCOMPARE(h.player.played.size(), 1u);
    click(h, "Button2");  // other kind than line 6: notice only
    QCOMPARE(h.notices, 1);
    QCOMPARE(h.player.played.size(), 1u);
    QVERIFY(!h.find("Image26")->isHidden());
    QVERIFY(h.find("Image27")->isHidden());
    click(h, "Button3");  // same kind: notice, then the fanfare again
    QCOMPARE(h.notices, 2);
    QCOMPARE(h.player.played.size(), 2u);
    QCOMPARE(glyphs(h).size(), 6);
    QCOMPARE(visibleMarkers(h), (QStringList{"Image17", "Image25"}));
}

void CastingTest::normalCastBringsTheTableBack() {
    Harness h;
    h.form->Invoke(forms::kTableItem);
    QCOMPARE(h.find("Memo1")->height(), 525);
    click(h, "Button2");
    QCOMPARE(h.form->settingsValues().TableState, 2.0);
    QCOMPARE(h.find("Memo1")->height(), 180);
    QVERIFY(h.find("SpeedButton65")->isHidden());
    QVERIFY(!h.find("SpeedButton66")->isHidden());
    QCOMPARE(h.form->item(forms::kTableItem)->text(), QString("скрыть\tF3"));
    QVERIFY(h.form->item(forms::kButtonsMenu)->isVisible());
}

void CastingTest::semiAutomaticCastShowsTheReading() {
    Harness h;
    h.form->Invoke(forms::kSemiAutomaticItem);
    QVERIFY(!h.find("Button4")->isHidden());
    QVERIFY(h.find("Button2")->isHidden());
    for (const char* button : {"Button5", "Button5", "Button5"})
        click(h, button);
    QCOMPARE(visibleMarkers(h), QStringList{"Image25"});
    click(h, "Button4");
    click(h, "Button4");
    QCOMPARE(memo(h), QString("Здесь вы увидите ответ"));
    QVERIFY(h.player.played.empty());
    click(h, "Button4");
    QCOMPARE(memo(h), ReadingText(12));
    QCOMPARE(h.player.played, std::vector<std::string>{kFanfare});
    QCOMPARE(visibleMarkers(h), (QStringList{"Image4", "Image25"}));
}

void CastingTest::semiAutomaticMissingReadingIsReported() {
    Harness h;
    folder_.remove("Text/Text12.dat");
    h.form->Invoke(forms::kSemiAutomaticItem);
    for (const char* button : {"Button5", "Button5", "Button5", "Button4", "Button4", "Button4"})
        click(h, button);
    QCOMPARE(h.errors, QStringList{"Cannot open file \"" + folder_.absolute("Text/Text12.dat") +
                                   "\". No such file or directory"});
    QCOMPARE(glyphs(h).size(), 6);
    QCOMPARE(memo(h), QString("Здесь вы увидите ответ"));
    QVERIFY(h.player.played.empty());
    QCOMPARE(visibleMarkers(h), QStringList{"Image25"});
    // The next press of the same kind shows the notice and tries again.
    folder_.write("Text/Text12.dat", ReadingBytes(12));
    click(h, "Button4");
    QCOMPARE(h.notices, 1);
    QCOMPARE(memo(h), ReadingText(12));
    QCOMPARE(visibleMarkers(h), (QStringList{"Image4", "Image25"}));
}

void CastingTest::automaticCastFillsCoinsAndReads() {
    Harness h;
    h.form->Invoke(forms::kAutomaticItem);
    QVERIFY(!h.find("Button1")->isHidden());
    divination::SeedCoinGenerator(7);
    for (int press = 1; press <= 6; ++press) {
        click(h, "Button1");
        const auto& coins = h.form->castState().coinCells;
        for (int coin = 0; coin < 3; ++coin) {
            const int n = std::stoi(coins[coin]);
            QVERIFY(n >= 0 && n <= 999);
            QCOMPARE(std::to_string(n), coins[coin]);  // no leading zeros
            const char* tails[] = {"Image27", "Image30", "Image31"};
            QCOMPARE(h.find(tails[coin])->isHidden(), n % 2 != 0);
        }
        if (press < 6)
            QCOMPARE(memo(h), QString("Здесь вы увидите ответ"));
    }
    const int n = divination::IdentifyHexagram(h.form->castState().lines);
    QCOMPARE(memo(h), ReadingText(n));
    QCOMPARE(h.player.played.size(), 1u);
    QCOMPARE(visibleMarkers(h).size(), 2);
    // A table reading in between is replaced by the seventh press.
    QTest::mouseClick(h.find<QToolButton>("SpeedButton1"), Qt::LeftButton);
    click(h, "Button1");
    QCOMPARE(h.notices, 1);
    QCOMPARE(memo(h), ReadingText(n));
    QCOMPARE(glyphs(h).size(), 6);
}

void CastingTest::newHexagramClearsEverything() {
    Harness h;
    for (int press = 0; press < 6; ++press)
        click(h, "Button2");
    QTest::mouseClick(h.find<QToolButton>("SpeedButton9"), Qt::LeftButton);
    click(h, "Button6");
    QCOMPARE(h.player.played.back(), kRemoval);
    QVERIFY(glyphs(h).isEmpty());
    QVERIFY(visibleMarkers(h).isEmpty());
    QCOMPARE(memo(h), QString("Здесь вы увидите ответ"));
    QVERIFY(!h.find("Label3")->isHidden());
    QVERIFY(!h.find("Label4")->isHidden());
    for (int k : {26, 27, 28, 29, 30, 31})
        QVERIFY(h.find(("Image" + QByteArray::number(k)).constData())->isHidden());
    QCOMPARE(h.form->castState().lines.castCount(), 0);
    // Clearing an empty hexagram runs all the same.
    click(h, "Button6");
    QCOMPARE(h.player.played.size(), 3u);
}

void CastingTest::failingRemovalSoundClearsNothing() {
    Harness h;
    click(h, "Button2");
    click(h, "Button3");
    h.player.fails = true;
    click(h, "Button6");
    QCOMPARE(h.errors, QStringList{"The sound device can't be opened"});
    QCOMPARE(glyphs(h).size(), 2);
    QVERIFY(h.find("Label3")->isHidden());
}

void CastingTest::soundOffPlaysNothing() {
    Harness h;
    h.form->Invoke(forms::kSoundItem);
    QCOMPARE(h.form->Edit10, QString("0"));
    QVERIFY(h.find("SpeedButton67")->isHidden());
    QVERIFY(!h.find("SpeedButton68")->isHidden());
    for (int press = 0; press < 7; ++press)
        click(h, "Button2");
    click(h, "Button6");
    QVERIFY(h.player.played.empty());
}

void CastingTest::everyTableButtonOpensItsOwnReading() {
    Harness h;
    click(h, "Button2");
    for (int i = 1; i <= 64; ++i) {
        auto* button = h.find<QToolButton>(("SpeedButton" + QByteArray::number(i)).constData());
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(memo(h), ReadingText(button->text().toInt()));
    }
    QCOMPARE(glyphs(h).size(), 1);  // the cast is left alone
    folder_.remove("Text/Text64.dat");
    QTest::mouseClick(h.find<QToolButton>("SpeedButton22"), Qt::LeftButton);
    QCOMPARE(h.errors.size(), 1);
    QVERIFY(h.errors[0].endsWith("Text/Text64.dat\". No such file or directory"));
    QCOMPARE(memo(h), ReadingText(h.find<QToolButton>("SpeedButton64")->text().toInt()));
}

void CastingTest::sameReadingKeepsTheScrollPosition() {
    Harness h;
    h.form->show();
    QTest::mouseClick(h.find<QToolButton>("SpeedButton1"), Qt::LeftButton);
    QScrollBar* bar = h.find<QPlainTextEdit>("Memo1")->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    bar->setValue(bar->maximum());
    QTest::mouseClick(h.find<QToolButton>("SpeedButton1"), Qt::LeftButton);
    QCOMPARE(bar->value(), bar->maximum());
    // A new reading is shown from its beginning.
    QTest::mouseClick(h.find<QToolButton>("SpeedButton2"), Qt::LeftButton);
    QCOMPARE(bar->value(), 0);
}

void CastingTest::modeChangeClearsWithoutSound() {
    Harness h;
    for (int press = 0; press < 3; ++press)
        click(h, "Button2");
    QTest::mouseClick(h.find<QToolButton>("SpeedButton69"), Qt::LeftButton);
    QCOMPARE(h.form->settingsValues().CastMode, 1.0);
    QVERIFY(glyphs(h).isEmpty());
    QVERIFY(visibleMarkers(h).isEmpty());
    QVERIFY(h.player.played.empty());
    QVERIFY(!h.find("Button6")->isHidden());
}

QTEST_MAIN(CastingTest)
#include "tst_casting.moc"
