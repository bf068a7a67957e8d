// The main window and the journal: every completed cast kept once, with the
// question written for it, whatever became of the press; a journal that
// fails is said once, after the press's own report.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "base/text_file.h"
#include "divination/changes.h"
#include "divination/coins.h"
#include "divination/hexagrams.h"
#include "forms/dialogs/own_throw_dialog.h"
#include "forms/dialogs/yarrow_window.h"
#include "harness.h"
#include "journal/journal.h"

using testing_support::Harness;
using testing_support::WorkingFolder;

namespace {

std::vector<journal::Cast> Entries() {
    journal::Journal kept = journal::Journal::Open("Journal.db", [](int) { return std::string(); });
    return kept.Page({}, {}, 100);
}

void Press(Harness& h, const char* button, int times) {
    for (int press = 0; press < times; ++press)
        QTest::mouseClick(h.find<QPushButton>(button), Qt::LeftButton);
}

}  // namespace

class JournalRecordingTest : public QObject {
    Q_OBJECT

private slots:
    void automaticCastIsKeptOnceWithItsQuestionAndCoins();
    void questionAfterACastEditsThatCast();
    void failureIsSaidOnceAfterThePressAndTheProgramGoesOn();
    void yarrowCastIsKeptWithItsTotalsAndShown();
    void stalksWindowCountsEighteenDivisions();
    void ownThrowTakesStalkTotalsAndRefusesImpossibleOnes();
    void twoMachinesMeetInTheSharedFolder();
    void theCastOnTheScreenSavesAsAPicture();
};

void JournalRecordingTest::automaticCastIsKeptOnceWithItsQuestionAndCoins() {
    WorkingFolder folder;
    Harness h;
    h.form->Invoke(forms::kAutomaticItem);
    h.questionAnswers = {QString("Ехать ли мне?")};
    h.form->Invoke(forms::kQuestionItem);
    divination::SeedCoinGenerator(7);
    Press(h, "Button1", 5);
    QVERIFY(!QFile::exists("Journal.db"));  // nothing opens it before a cast is complete
    Press(h, "Button1", 3);                 // the sixth, then two that change nothing
    // No reading files here: each press from the sixth on fails at its
    // reading, and the cast is kept all the same, once.
    QCOMPARE(h.errors.size(), 3);
    const std::vector<journal::Cast> entries = Entries();
    QCOMPARE(entries.size(), size_t(1));
    const journal::Cast& cast = entries[0];
    QCOMPARE(cast.method, divination::Method::Coins);
    QCOMPARE(cast.question, std::string("Ехать ли мне?"));
    const divination::CastState& state = h.form->castState();
    divination::LineValues values{};
    divination::CoinNumbers coins{};
    for (int line = 0; line < 6; ++line) {
        const auto& three = state.coins[line];
        values[line] = divination::ValueFromCoins(three[0], three[1], three[2]);
        for (int coin = 0; coin < 3; ++coin)
            coins[3 * line + coin] = three[coin];
    }
    QCOMPARE(cast.values, values);
    QCOMPARE(cast.coins, std::optional(coins));
    QCOMPARE(divination::HexagramOf(cast.values), divination::IdentifyHexagram(state.lines));
    QVERIFY(journal::ParseTimestamp(cast.castAt).has_value());
}

void JournalRecordingTest::questionAfterACastEditsThatCast() {
    WorkingFolder folder;
    Harness h;
    h.questionAnswers = {QString("Первый"), QString("Первый, уточнённый"), QString("Второй")};
    h.form->Invoke(forms::kQuestionItem);
    Press(h, "Button2", 6);
    h.form->Invoke(forms::kQuestionItem);  // after the cast: that cast's question
    QCOMPARE(Entries().at(0).question, std::string("Первый, уточнённый"));
    Press(h, "Button6", 1);
    h.form->Invoke(forms::kQuestionItem);  // a new hexagram: the next cast's
    Press(h, "Button3", 6);
    const std::vector<journal::Cast> entries = Entries();
    QCOMPARE(entries.size(), size_t(2));
    QCOMPARE(entries[0].question + " / " + entries[1].question,
             std::string("Второй / Первый, уточнённый"));
    QCOMPARE(entries[1].values, (divination::LineValues{7, 7, 7, 7, 7, 7}));
    QCOMPARE(entries[1].method, divination::Method::HeadsAndTails);

    // Written with no cast in progress, a question goes with an own throw,
    // and the next cast starts without it.
    Press(h, "Button6", 1);
    h.questionAnswers = {QString("Третий")};
    h.form->Invoke(forms::kQuestionItem);
    h.ownThrowAnswers = {divination::LineValues{9, 8, 7, 6, 7, 8}};
    h.form->Invoke(forms::kOwnThrowItem);
    Press(h, "Button2", 6);
    const std::vector<journal::Cast> later = Entries();
    QCOMPARE(later.size(), size_t(4));
    QCOMPARE(later[1].method, divination::Method::OwnThrow);
    QCOMPARE(later[1].values, (divination::LineValues{9, 8, 7, 6, 7, 8}));
    QCOMPARE(later[1].question, std::string("Третий"));
    QCOMPARE(later[0].question, std::string());
}

void JournalRecordingTest::failureIsSaidOnceAfterThePressAndTheProgramGoesOn() {
    WorkingFolder folder;
    QDir().mkdir("Journal.db");  // in the way: not a file
    Harness h;
    h.form->Invoke(forms::kSemiAutomaticItem);
    Press(h, "Button4", 6);
    QCOMPARE(h.errors.size(), 2);
    QVERIFY(h.errors[0].startsWith("Cannot open file"));  // the press's own report first
    QVERIFY(h.errors[1].contains(folder.absolute("Journal.db")));
    QCOMPARE(h.form->item(forms::kJournalItem)->text().section('\t', 0, 0),
             QString("Журнал гаданий (недоступен)"));
    Press(h, "Button6", 1);
    Press(h, "Button5", 6);
    QCOMPARE(h.errors.size(), 3);  // the reading again, the journal never more
    QCOMPARE(h.form->castState().lines.castCount(), 6);
}

// By stalks: kept with its method and totals, its reading shown as a table
// button shows one, «Толкование» opened on it; the line cells stay empty.
void JournalRecordingTest::yarrowCastIsKeptWithItsTotalsAndShown() {
    WorkingFolder folder;
    folder.write("Text/Text17.dat",
                 QByteArray::fromStdString(base::EncodeCp1251("Гексаграмма 17\r\n")));
    Harness h;
    h.questionAnswers = {QString("Стоит ли?")};
    h.form->Invoke(forms::kQuestionItem);
    // 7 8 8 7 7 8 from below: lake under thunder, 17.
    const divination::StalkTotals totals{5, 8, 8, 9, 4, 4, 9, 4, 4, 5, 8, 8, 5, 8, 8, 9, 4, 4};
    h.yarrowAnswers = {totals, std::nullopt};
    h.form->InvokeGuarded(forms::kYarrowItem);
    QVERIFY2(h.errors.isEmpty(), qPrintable(h.errors.join("\n")));
    const std::vector<journal::Cast> entries = Entries();
    QCOMPARE(entries.size(), size_t(1));
    QCOMPARE(entries[0].method, divination::Method::Yarrow);
    QCOMPARE(entries[0].totals, std::optional(totals));
    QCOMPARE(entries[0].values, (divination::LineValues{7, 8, 8, 7, 7, 8}));
    QCOMPARE(entries[0].question, std::string("Стоит ли?"));
    QCOMPARE(h.find<QPlainTextEdit>("Memo1")->toPlainText().trimmed(), QString("Гексаграмма 17"));
    QCOMPARE(h.form->castState().lines.castCount(), 0);
    auto* title = h.form->findChild<QLabel*>("InterpretationTitle");
    QVERIFY(title && title->text().startsWith("Стебли тысячелистника. Гексаграмма 17."));
    h.form->InvokeGuarded(forms::kYarrowItem);  // cancelled: nothing more
    QCOMPARE(Entries().size(), size_t(1));
}

// The window's own count: one press a division, each said and logged, the
// totals those of the divisions; «Все сразу» finishes what is left.
void JournalRecordingTest::stalksWindowCountsEighteenDivisions() {
    forms::YarrowWindow window(nullptr, [](int stalks) { return stalks / 2; });
    auto* divide = window.findChild<QPushButton*>("YarrowDivide");
    auto* done = window.findChild<QPushButton*>("YarrowDone");
    QTest::mouseClick(divide, Qt::LeftButton);
    auto* said = window.findChild<QLabel*>("YarrowSaid");
    QVERIFY(said->text().startsWith("Черта 1, перемена 1: слева 24, справа 25"));
    QCOMPARE(said->accessibleName(), said->text());
    QVERIFY(!done->isEnabled());
    window.findChild<QPushButton*>("YarrowAll")->click();
    QVERIFY(window.cast().finished());
    QCOMPARE(window.findChild<QListWidget*>("YarrowLog")->count(), 18);
    QVERIFY(done->isEnabled() && !divide->isEnabled());
    const divination::StalkTotals totals = window.cast().totals();
    QCOMPARE(divination::ValuesFromTotals(totals), std::optional(window.cast().values()));
}

// «Свой бросок…» by real stalks: a total that can't occur in its change is
// refused as it is typed; three good ones set the line's value.
void JournalRecordingTest::ownThrowTakesStalkTotalsAndRefusesImpossibleOnes() {
    forms::OwnThrowDialog dialog(nullptr);
    auto* first = dialog.findChild<QLineEdit*>("OwnThrowTotals1");
    for (const char* refused : {"4", "8", "5 5", "9 9", "5 4 9", "5 4 8 4", "x"}) {
        first->clear();
        QTest::keyClicks(first, refused);
        QVERIFY2(first->text() != QString::fromLatin1(refused), refused);
    }
    first->clear();
    QTest::keyClicks(first, "5 4 8");  // 3 + 3 + 2: a 8, broken
    QCOMPARE(dialog.findChild<QComboBox*>("OwnThrowLine1")->currentData().toInt(), 8);
    QVERIFY(!dialog.totals());  // the other lines are not given by stalks
    for (int line = 2; line <= 6; ++line)
        QTest::keyClicks(dialog.findChild<QLineEdit*>(QString("OwnThrowTotals%1").arg(line)),
                         "9 8 8");  // 6 each
    QCOMPARE(dialog.values(), (std::optional<divination::LineValues>{{8, 6, 6, 6, 6, 6}}));
    QVERIFY(dialog.totals());
    QCOMPARE(divination::ValuesFromTotals(*dialog.totals()), dialog.values());
}

// Two working folders, one shared: the first writes its own file as it
// closes, the second merges it as soon as the folder is chosen and keeps
// the choice for its next start.
void JournalRecordingTest::twoMachinesMeetInTheSharedFolder() {
    QTemporaryDir shared;
    const TForm1::SyncChoice choose{TForm1::SyncChoice::Choose, shared.path()};
    {
        WorkingFolder first;
        Harness h;
        h.questionAnswers = {QString("С первого")};
        h.form->Invoke(forms::kQuestionItem);
        Press(h, "Button2", 6);
        h.syncAnswers = {choose};
        h.form->Invoke(forms::kJournalItem);
        h.form->findChild<QAction*>("JournalSync")->trigger();
        h.form->close();  // writes its own file
        QCOMPARE(QDir(shared.path()).entryList({"*.taynovid-journal"}).size(), 1);
    }
    WorkingFolder second;
    {
        Harness h;
        h.syncAnswers = {choose};
        h.form->Invoke(forms::kJournalItem);
        h.form->findChild<QAction*>("JournalSync")->trigger();
        QVERIFY2(h.errors.isEmpty(), qPrintable(h.errors.join("\n")));
        const std::vector<journal::Cast> entries = Entries();
        QCOMPARE(entries.size(), size_t(1));
        QCOMPARE(entries[0].question, std::string("С первого"));
        h.form->close();
    }
    QCOMPARE(QDir(shared.path()).entryList({"*.taynovid-journal"}).size(), 2);
    QVERIFY(QFile(second.absolute("Preferences.txt")).exists());
}

// «Сохранить как…» with a picture's name: the cast alone, PNG at 2× or SVG.
void JournalRecordingTest::theCastOnTheScreenSavesAsAPicture() {
    WorkingFolder folder;
    Harness h;
    h.ownThrowAnswers = {divination::LineValues{9, 8, 8, 6, 7, 8}};
    h.form->InvokeGuarded(forms::kOwnThrowItem);
    h.errors.clear();  // no line texts here
    h.saveFileAnswers = {folder.absolute("cast.png"), folder.absolute("cast.svg")};
    h.form->InvokeGuarded(forms::kSaveAsItem);
    h.form->InvokeGuarded(forms::kSaveAsItem);
    QVERIFY2(h.errors.isEmpty(), qPrintable(h.errors.join("\n")));
    const QImage picture(folder.absolute("cast.png"));
    QVERIFY(!picture.isNull() && picture.width() > 200);
    QFile svg(folder.absolute("cast.svg"));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(svg.readAll()).contains("Начальная трудность"));
}

QTEST_MAIN(JournalRecordingTest)
#include "tst_journal_recording.moc"
