// Changing lines in the glyph list, and the «Толкование» window for a cast,
// a reading from the table and one's own throw.
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include "base/text_file.h"
#include "divination/coins.h"
#include "forms/hexagram_figure.h"
#include "forms/interpretation_window.h"
#include "harness.h"

using testing_support::Harness;
using testing_support::WorkingFolder;

namespace {

void WriteText(const WorkingFolder& folder, const QString& relative, const std::string& utf8) {
    folder.write(relative, QByteArray::fromStdString(base::EncodeCp1251(utf8)));
}

QString Shown(const Harness& h, const char* name) {
    auto* window = h.form->findChild<forms::InterpretationWindow*>("InterpretationWindow");
    if (!window)
        return {};
    if (auto* label = window->findChild<QLabel*>(name))
        return label->text();
    return window->findChild<QTextBrowser*>(name)->toPlainText();
}

}  // namespace

class InterpretationTest : public QObject {
    Q_OBJECT

private slots:
    void automaticCastColoursExactlyTheUnanimousLines();
    void ownThrowShowsItsTextsAndTheSecondHexagramsReading();
    void followsTheMainWindow();
    void unreadableLineTextsAreReportedAndTheRestShown();
};

void InterpretationTest::automaticCastColoursExactlyTheUnanimousLines() {
    WorkingFolder folder;
    int changing = 0;
    for (std::uint32_t seed = 1; seed <= 8; ++seed) {
        Harness h;
        h.form->Invoke(forms::kAutomaticItem);
        divination::SeedCoinGenerator(seed);
        for (int press = 0; press < 6; ++press)
            QTest::mouseClick(h.find<QPushButton>("Button1"), Qt::LeftButton);
        auto* list = h.find<QListWidget>("ListBox2");
        QCOMPARE(list->count(), 6);
        for (int row = 0; row < 6; ++row) {
            const auto& coins = h.form->castState().coins[row];
            const int heads = divination::IsHeads(coins[0]) + divination::IsHeads(coins[1]) +
                              divination::IsHeads(coins[2]);
            const bool unanimous = heads == 0 || heads == 3;
            changing += unanimous;
            QListWidgetItem* glyph = list->item(row);
            QCOMPARE(glyph->foreground().color() == forms::kChangingLineColor, unanimous);
            QCOMPARE(glyph->text(),
                     QString::fromLatin1(heads >= 2 ? "___________" : "____      ____"));
            QString spoken = QStringLiteral("Черта %1: ").arg(row + 1) +
                             (heads >= 2 ? "сплошная" : "прерывистая");
            if (unanimous)
                spoken += QStringLiteral(", изменяющаяся");
            QCOMPARE(glyph->data(Qt::AccessibleTextRole).toString(), spoken);
        }
    }
    QVERIFY(changing > 0);  // 48 lines: a unanimous toss is all but certain
}

void InterpretationTest::ownThrowShowsItsTextsAndTheSecondHexagramsReading() {
    WorkingFolder folder;
    WriteText(folder, "Text/Lines1.dat",
              "Гексаграмма 1. Творчество (Цянь)\r\n\r\nВ начале девятка\r\nДракон таится в "
              "глубине.\r\n\r\nДевятка вторая\r\nДракон показался в поле.\r\n");
    WriteText(folder, "Text/Text44.dat", "Гексаграмма 44. Перечение (Гоу)\r\n");
    Harness h;
    h.ownThrowAnswers = {divination::LineValues{9, 7, 7, 7, 7, 7}};
    h.form->Invoke(forms::kOwnThrowItem);
    QCOMPARE(Shown(h, "InterpretationTitle"),
             QString("Свой бросок. Гексаграмма 1. Творчество (Цянь)"));
    QCOMPARE(Shown(h, "InterpretationTexts"),
             QString("Изменяющиеся черты\nВ начале девятка (черта 1)\nДракон таится в глубине."));
    QCOMPARE(Shown(h, "InterpretationSecond"), QString("Вторая гексаграмма: 44. Перечение"));
    QCOMPARE(Shown(h, "InterpretationNuclear"), QString("Ядерная гексаграмма: 1. Творчество"));
    // The main window is left as it was until the second reading is asked for.
    QCOMPARE(h.find<QListWidget>("ListBox2")->count(), 0);
    QCOMPARE(h.find<QPlainTextEdit>("Memo1")->toPlainText(), QString("Здесь вы увидите ответ"));
    QTest::mouseClick(h.form->findChild<QPushButton*>("InterpretationSecondReading"),
                      Qt::LeftButton);
    QCOMPARE(h.find<QPlainTextEdit>("Memo1")->toPlainText(),
             QString("Гексаграмма 44. Перечение (Гоу)\n"));
    QVERIFY(h.errors.isEmpty());

    // Cancelled: nothing changes.
    h.ownThrowAnswers = {std::nullopt};
    h.form->Invoke(forms::kOwnThrowItem);
    QVERIFY(Shown(h, "InterpretationTitle").startsWith("Свой бросок."));
}

void InterpretationTest::followsTheMainWindow() {
    WorkingFolder folder;
    WriteText(folder, "Text/Text2.dat", "Гексаграмма 2\r\n");
    Harness h;
    h.form->Invoke(forms::kInterpretationItem);
    QCOMPARE(Shown(h, "InterpretationTitle"), QString("Черты ещё не брошены"));
    QTest::mouseClick(h.find<QPushButton>("Button3"), Qt::LeftButton);
    QCOMPARE(Shown(h, "InterpretationTitle"), QString("Брошено черт: 1 из 6"));
    QVERIFY(Shown(h, "InterpretationTexts").startsWith("Осталось бросить черт: 5."));
    for (int press = 0; press < 5; ++press)
        QTest::mouseClick(h.find<QPushButton>("Button3"), Qt::LeftButton);
    QCOMPARE(Shown(h, "InterpretationTitle"), QString("Гексаграмма 2. Исполнение (Кунь)"));
    QCOMPARE(Shown(h, "InterpretationTexts"),
             QString("Изменяющихся черт нет: ответом служит общее толкование гексаграммы."));
    // A reading from the table, then a mode change that clears the cast.
    QTest::mouseClick(h.find<QToolButton>("SpeedButton2"), Qt::LeftButton);
    QCOMPARE(Shown(h, "InterpretationTitle"), QString("Гексаграмма 2. Исполнение (Кунь)"));
    h.form->Invoke(forms::kSemiAutomaticItem);
    QCOMPARE(Shown(h, "InterpretationTitle"), QString("Черты ещё не брошены"));
}

void InterpretationTest::unreadableLineTextsAreReportedAndTheRestShown() {
    WorkingFolder folder;
    Harness h;
    h.ownThrowAnswers = {divination::LineValues{6, 8, 8, 8, 8, 6}};
    h.form->InvokeGuarded(forms::kOwnThrowItem);  // a user's action: its reports follow it
    QCOMPARE(h.errors.size(), 1);
    QVERIFY(
        h.errors[0].startsWith("Cannot open file \"" + folder.absolute("Text/Lines2.dat") + "\"."));
    QCOMPARE(Shown(h, "InterpretationTitle"),
             QString("Свой бросок. Гексаграмма 2. Исполнение (Кунь)"));
    QCOMPARE(
        Shown(h, "InterpretationTexts"),
        QString("Изменяющиеся черты\nВ начале шестёрка (черта 1)\nТекст этой черты не удалось "
                "прочитать.\nНаверху шестёрка (черта 6)\nТекст этой черты не удалось прочитать."));
    QCOMPARE(Shown(h, "InterpretationSecond"), QString("Вторая гексаграмма: 27. Питание"));
}

QTEST_MAIN(InterpretationTest)
#include "tst_interpretation.moc"
