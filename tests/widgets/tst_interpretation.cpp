// Changing lines in the glyph list, and the «Толкование» window for a cast,
// a reading from the table and one's own throw.
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include "base/text_file.h"
#include "divination/coins.h"
#include "divination/line_texts.h"
#include "forms/document/cast_document.h"
#include "forms/interpretation/interpretation_window.h"
#include "forms/kit/hexagram_figure.h"
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

// A line-texts file of the hexagram: each line's text names it.
void WriteLineTexts(const WorkingFolder& folder, int hexagram) {
    std::string text = "Гексаграмма " + std::to_string(hexagram) + "\r\n";
    for (int line = 1; line <= (hexagram <= 2 ? 7 : 6); ++line)
        text += "\r\n" + divination::LineHeading(hexagram, line) + "\r\nТекст " +
                std::to_string(line) + ".\r\n";
    WriteText(folder, QString("Text/Lines%1.dat").arg(hexagram), text);
}

// The texts said, in order: the heading over them and each line's text.
QStringList SaidTexts(const QString& shown) {
    QStringList said;
    for (const QString& line : shown.split('\n')) {
        if ((line.startsWith("Текст ") && !line.startsWith("Текст не прочитан")) ||
            line == "Изменяющиеся черты" || line == "Тексты черт" || line == "Главный текст" ||
            line == "Другие тексты" || line.startsWith("Изменяющихся черт нет"))
            said << line;
    }
    return said;
}

}  // namespace

class InterpretationTest : public QObject {
    Q_OBJECT

private slots:
    void automaticCastColoursExactlyTheUnanimousLines();
    void ownThrowShowsItsTextsAndTheSecondHexagramsReading();
    void followsTheMainWindow();
    void unreadableLineTextsAreReportedAndTheRestShown();
    void windowAndDocumentGiveTheSameTexts_data();
    void windowAndDocumentGiveTheSameTexts();
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

// Whatever the subject, print and export give the texts «Толкование» shows.
void InterpretationTest::windowAndDocumentGiveTheSameTexts_data() {
    QTest::addColumn<int>("table");
    QTest::addColumn<divination::LineValues>("ownThrow");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("school");  // as the window lists them: 0 every changing line
    const divination::LineValues none{};
    QTest::newRow("hexagram 3 from the table")
        << 3 << none << QStringList{"Тексты черт", "Текст 1.", "Текст 2.", "Текст 3.",
                                    "Текст 4.",    "Текст 5.", "Текст 6."}
        << 0;
    QTest::newRow("two changing lines")
        << 0 << divination::LineValues{9, 8, 8, 6, 7, 8}
        << QStringList{"Изменяющиеся черты", "Текст 1.", "Текст 4."} << 0;
    QTest::newRow("none changing")
        << 0 << divination::LineValues{7, 8, 8, 8, 7, 8}
        << QStringList{"Изменяющихся черт нет: ответом служит общее толкование гексаграммы."} << 0;
    QTest::newRow("all six of 2") << 0 << divination::LineValues{6, 6, 6, 6, 6, 6}
                                  << QStringList{"Изменяющиеся черты", "Текст 1.", "Текст 2.",
                                                 "Текст 3.",           "Текст 4.", "Текст 5.",
                                                 "Текст 6.",           "Текст 7."}
                                  << 0;
    QTest::newRow("by Zhu Xi, the upper of two governs")
        << 0 << divination::LineValues{9, 8, 8, 6, 7, 8}
        << QStringList{"Главный текст", "Текст 4.", "Другие тексты", "Текст 1."} << 1;
    QTest::newRow("one main line, the lower of two alike")
        << 0 << divination::LineValues{9, 8, 8, 9, 7, 8}
        << QStringList{"Главный текст", "Текст 1.", "Другие тексты", "Текст 4."} << 2;
}

void InterpretationTest::windowAndDocumentGiveTheSameTexts() {
    QFETCH(int, table);
    QFETCH(divination::LineValues, ownThrow);
    QFETCH(QStringList, texts);
    QFETCH(int, school);
    WorkingFolder folder;
    WriteLineTexts(folder, 2);
    WriteLineTexts(folder, 3);
    WriteLineTexts(folder, 17);
    WriteText(folder, "Text/Text3.dat", "Гексаграмма 3\r\n");
    Harness h;
    h.form->Invoke(forms::kInterpretationItem);
    auto* schools = h.form->findChild<QComboBox*>("InterpretationSchool");
    schools->setCurrentIndex(school);
    emit schools->activated(school);  // as the user chooses it
    if (table) {
        // The table's button that shows this hexagram's number.
        for (QToolButton* button : h.form->findChildren<QToolButton*>()) {
            if (button->objectName().startsWith("SpeedButton") &&
                button->text() == QString::number(table))
                QTest::mouseClick(button, Qt::LeftButton);
        }
    } else {
        h.ownThrowAnswers = {ownThrow};
        h.form->InvokeGuarded(forms::kOwnThrowItem);
    }
    QCOMPARE(SaidTexts(Shown(h, "InterpretationTexts")), texts);
    const std::optional<QString> printed =
        forms::CastsPlainText({h.form->consultation().Current()});
    QVERIFY(printed);
    QCOMPARE(SaidTexts(*printed), texts);
}

QTEST_MAIN(InterpretationTest)
#include "tst_interpretation.moc"
