// The journal window's practice of returning to casts, over a journal in
// memory with every dialog answered by the test: the search by structure,
// how it turned out and the date to return, links, a random entry, and the
// entries written out as CSV and read back as a spreadsheet would.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <deque>

#include "divination/hexagrams.h"
#include "forms/document/csv_export.h"
#include "forms/journal/journal_window.h"
#include "harness.h"

using testing_support::WorkingFolder;

namespace {

std::string Name(int n) {
    return std::string(divination::kHexagramNames.at(n - 1).name);
}

// A cast by hand: its values as six digits, and for the methods that keep
// them, coins or stalk totals that give those values.
journal::NewCast Cast(const std::string& castAt, const std::string& lines,
                      const std::string& question = "",
                      divination::Method method = divination::Method::HeadsAndTails) {
    journal::NewCast cast;
    cast.castAt = castAt;
    cast.method = method;
    cast.question = question;
    for (int i = 0; i < 6; ++i)
        cast.values[i] = lines[i] - '0';
    if (divination::HasCoins(method)) {
        divination::CoinNumbers coins{};
        for (int line = 0; line < 6; ++line) {
            const int v = cast.values[line];
            const int heads = v == 9 ? 3 : v == 7 ? 2 : v == 8 ? 1 : 0;  // odd numbers are heads
            for (int coin = 0; coin < 3; ++coin)
                coins[3 * line + coin] = coin < heads ? 1 : 2;
        }
        cast.coins = coins;
    }
    if (divination::HasTotals(method)) {
        // Each change's small total counts three, its large one two.
        divination::StalkTotals totals{};
        for (int line = 0; line < 6; ++line) {
            const int v = cast.values[line];
            const std::array<int, 3> held = v == 9   ? std::array{5, 4, 4}
                                            : v == 6 ? std::array{9, 8, 8}
                                            : v == 7 ? std::array{9, 8, 4}
                                                     : std::array{5, 4, 8};
            for (int change = 0; change < 3; ++change)
                totals[3 * line + change] = held[change];
        }
        cast.totals = totals;
    }
    return cast;
}

// The four entries the searches look through, oldest first: 1 ☰ over ☰
// unchanged; 63 Кань over Ли; 3 Кань over Чжэнь, line 1 changing to 8 (Кань
// over Кунь); an own throw of 43 (Дуй over Цянь) with line 6 changing to 1.
void RecordFour(journal::Journal& journal) {
    journal.Record(Cast("2026-12-06T09:00:00+03:00", "777777", "Ёлка во дворе"));
    journal.Record(Cast("2026-12-07T10:30:00+03:00", "787878", "Переезд в новый дом"));
    journal.Record(Cast("2026-12-08T21:14:05+03:00", "988878", "Стоит ли начинать?"));
    journal.Record(
        Cast("2026-12-09T12:00:00+03:00", "777776", "Свой бросок", divination::Method::OwnThrow));
}

// A tiny RFC 4180 reader: rows of fields, quoted fields with doubled quotes
// and line breaks inside; rows end in CR LF (a bare LF too, for sqlite3).
QList<QStringList> ReadCsv(const QString& text) {
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false, wasQuoted = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                field += '"', ++i;
            else if (c == '"')
                quoted = false;
            else
                field += c;
        } else if (c == '"' && field.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == ',') {
            row << field, field.clear(), wasQuoted = false;
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            row << field, field.clear(), wasQuoted = false;
            rows << row, row.clear();
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || !row.isEmpty())
        rows << (row << field);
    return rows;
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Fixture {
    journal::Journal journal = journal::Journal::OpenInMemory(Name);
    QStringList errors;
    std::deque<QString> files;
    std::deque<std::int64_t> earlier;    // what «Связать с…» answers
    std::vector<std::int64_t> askedFor;  // the entries it was asked for
    std::vector<std::int64_t> opened;
    std::vector<std::int64_t> counts;  // what the random draw was offered
    std::int64_t drawn = 0;
    std::unique_ptr<forms::JournalWindow> window;

    void open() {
        forms::JournalWindow::Seams seams;
        seams.journal = [this] { return &journal; };
        seams.openInterpretation = [this](const journal::Cast& cast) { opened.push_back(cast.id); };
        seams.reportError = [this](const QString& text) { errors << text; };
        seams.chooseFile = [this](const QString&, const QString&, bool) {
            const QString file = files.front();
            files.pop_front();
            return file;
        };
        seams.chooseEarlier = [this](const journal::Cast& later) {
            askedFor.push_back(later.id);
            const std::int64_t id = earlier.front();
            earlier.pop_front();
            return id;
        };
        seams.pick = [this](std::int64_t count) {
            counts.push_back(count);
            return drawn;
        };
        seams.today = [] { return QStringLiteral("2026-12-09"); };
        window = std::make_unique<forms::JournalWindow>(seams);
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    template <typename T = QWidget>
    T* find(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    QTableView* list() const { return find<QTableView>("JournalList"); }
    QStringList questions() const {
        QStringList shown;
        for (int row = 0; row < window->model()->rowCount(); ++row)
            shown << window->model()->index(row, forms::JournalModel::Question).data().toString();
        return shown;
    }
    void select(int row) {
        list()->selectionModel()->setCurrentIndex(
            window->model()->index(row, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    QStringList links() const {
        QStringList shown;
        auto* links = find<QListWidget>("JournalLinks");
        for (int row = 0; row < links->count(); ++row)
            shown << links->item(row)->text();
        return shown;
    }
};

}  // namespace

class JournalPracticeTest : public QObject {
    Q_OBJECT

private slots:
    void structureSearchCombinesConditions_data();
    void structureSearchCombinesConditions();
    void panelIsReachableAndNamed();
    void outcomeAndReturnDateAreKept();
    void linksShowBothWaysAndOpen();
    void randomEntryIsOneOfThoseShown();
    void csvQuotesAndReadsBack_data();
    void csvQuotesAndReadsBack();
    void csvHoldsTheJournalsOwnColumns();
    void csvOpensAsASpreadsheetWould();
    void unwritableCsvIsReportedAndLeavesNothing();

private:
    WorkingFolder folder_;
};

// Each condition by the control a user sets; "" and 0 leave one unset.
void JournalPracticeTest::structureSearchCombinesConditions_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("hexagram");
    QTest::addColumn<int>("place");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("trigram");
    QTest::addColumn<int>("trigramPlace");  // below, above, below second, above second
    QTest::addColumn<int>("method");        // 0 any, else Method + 1
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("dueOnly");
    QTest::addColumn<QStringList>("shown");
    const QString own = "Свой бросок", move = "Переезд в новый дом", start = "Стоит ли начинать?",
                  tree = "Ёлка во дворе";
    QTest::newRow("second hexagram") << "" << 8 << 1 << 0 << 0 << 0 << 0 << ""
                                     << "" << false << QStringList{start};
    QTest::newRow("second, not the cast") << "" << 3 << 1 << 0 << 0 << 0 << 0 << ""
                                          << "" << false << QStringList{};
    QTest::newRow("opposite, any place") << "" << 2 << 5 << 0 << 0 << 0 << 0 << ""
                                         << "" << false << QStringList{tree};
    QTest::newRow("the cast's, any place") << "" << 1 << 5 << 0 << 0 << 0 << 0 << ""
                                           << "" << false << QStringList{own, tree};
    QTest::newRow("changing line 1") << "" << 0 << 0 << 1 << 0 << 0 << 0 << ""
                                     << "" << false << QStringList{start};
    QTest::newRow("line 6 of hexagram 43") << "" << 43 << 0 << 6 << 0 << 0 << 0 << ""
                                           << "" << false << QStringList{own};
    QTest::newRow("line 6 of hexagram 3") << "" << 3 << 0 << 6 << 0 << 0 << 0 << ""
                                          << "" << false << QStringList{};
    QTest::newRow("Кань above") << "" << 0 << 0 << 0 << 6 << 1 << 0 << ""
                                << "" << false << QStringList{start, move};
    QTest::newRow("Кань above in the second") << "" << 0 << 0 << 0 << 6 << 3 << 0 << ""
                                              << "" << false << QStringList{start};
    QTest::newRow("Чжэнь below") << "" << 0 << 0 << 0 << 4 << 0 << 0 << ""
                                 << "" << false << QStringList{start};
    QTest::newRow("own throw") << "" << 0 << 0 << 0 << 0 << 0 << 4 << ""
                               << "" << false << QStringList{own};
    QTest::newRow("dates, both ends in") << "" << 0 << 0 << 0 << 0 << 0 << 0 << "2026-12-07"
                                         << "2026-12-08" << false << QStringList{start, move};
    QTest::newRow("words and a trigram") << "переезд" << 0 << 0 << 0 << 6 << 1 << 0 << ""
                                         << "" << false << QStringList{move};
    QTest::newRow("words, trigram elsewhere") << "ёлка" << 0 << 0 << 0 << 6 << 1 << 0 << ""
                                              << "" << false << QStringList{};
    QTest::newRow("due only") << "" << 0 << 0 << 0 << 0 << 0 << 0 << ""
                              << "" << true << QStringList{move};
    QTest::newRow("due and a method") << "" << 0 << 0 << 0 << 0 << 0 << 4 << ""
                                      << "" << true << QStringList{};
}

void JournalPracticeTest::structureSearchCombinesConditions() {
    QFETCH(QString, typed);
    QFETCH(int, hexagram);
    QFETCH(int, place);
    QFETCH(int, line);
    QFETCH(int, trigram);
    QFETCH(int, trigramPlace);
    QFETCH(int, method);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(bool, dueOnly);
    QFETCH(QStringList, shown);
    Fixture f;
    RecordFour(f.journal);
    f.journal.SetReturnOn(2, "2026-12-09");  // due today
    f.journal.SetReturnOn(1, "2026-12-20");  // not yet
    f.open();
    // Said on opening, whatever the list shows.
    QCOMPARE(f.find<QLabel>("JournalDue")->text(), QString("К пересмотру: 1"));
    auto* toggle = f.find<QToolButton>("JournalStructureToggle");
    QVERIFY(!f.find("JournalStructure")->isVisible());
    QTest::keyClick(toggle, Qt::Key_Space);
    QVERIFY(f.find("JournalStructure")->isVisible());

    f.find<QComboBox>("JournalFilter")->setCurrentIndex(hexagram);
    f.find<QComboBox>("JournalPlace")->setCurrentIndex(place);
    f.find<QComboBox>("JournalLine")->setCurrentIndex(line);
    f.find<QComboBox>("JournalTrigram")->setCurrentIndex(trigram);
    f.find<QComboBox>("JournalTrigramPlace")->setCurrentIndex(trigramPlace);
    f.find<QComboBox>("JournalMethod")->setCurrentIndex(method);
    if (!from.isEmpty()) {
        f.find<QDateEdit>("JournalFrom")->setDate(QDate::fromString(from, Qt::ISODate));
        f.find<QCheckBox>("JournalFromOn")->setChecked(true);
    }
    if (!to.isEmpty()) {
        f.find<QDateEdit>("JournalTo")->setDate(QDate::fromString(to, Qt::ISODate));
        f.find<QCheckBox>("JournalToOn")->setChecked(true);
    }
    f.find<QCheckBox>("JournalDueOnly")->setChecked(dueOnly);
    // Conditions apply at once; the words after the typing pause.
    QTest::keyClicks(f.find<QLineEdit>("JournalSearch"), QString());
    f.find<QLineEdit>("JournalSearch")->setText(typed);
    QTRY_COMPARE(f.questions(), shown);
    QCOMPARE(f.find<QLabel>("JournalStatus")->text(), QString("Записей: %1").arg(shown.size()));
    // Folded away, the panel still says it holds conditions.
    QTest::keyClick(toggle, Qt::Key_Space);
    const bool any = line || trigram || method || !from.isEmpty() || !to.isEmpty() || dueOnly;
    QCOMPARE(toggle->text().contains("условий"), any);
    QCOMPARE(f.questions(), shown);
    QVERIFY(f.errors.isEmpty());
}

void JournalPracticeTest::panelIsReachableAndNamed() {
    Fixture f;
    RecordFour(f.journal);
    f.open();
    f.find<QToolButton>("JournalStructureToggle")->setChecked(true);
    f.select(0);
    f.find<QCheckBox>("JournalReturnOn")->setChecked(true);
    // Every control, the new ones too, carries a Russian name and is met by Tab.
    QStringList unnamed, unreached;
    QSet<QWidget*> chain;
    chain.insert(f.find("JournalSearch"));
    QWidget* start = f.find("JournalSearch");
    for (QWidget* w = start->nextInFocusChain(); w != start; w = w->nextInFocusChain())
        chain.insert(w);
    const QList<QWidget*> controls = f.window->findChildren<QWidget*>();
    for (QWidget* control : controls) {
        if (control->focusPolicy() == Qt::NoFocus || !control->isVisibleTo(f.window.get()) ||
            control->objectName().startsWith("qt_") || control->objectName().isEmpty())
            continue;
        if (control->accessibleName().isEmpty())
            unnamed << control->objectName();
        if (!chain.contains(control))
            unreached << control->objectName();
    }
    QCOMPARE(unnamed, QStringList());
    QCOMPARE(unreached.join(" "), QString());
    // Russian dates, as the rest of the program writes them.
    auto* from = f.find<QDateEdit>("JournalFrom");
    from->setDate(QDate(2026, 12, 9));
    QCOMPARE(from->text(), QString("9 декабря 2026"));
}

void JournalPracticeTest::outcomeAndReturnDateAreKept() {
    Fixture f;
    RecordFour(f.journal);
    f.open();
    QCOMPARE(f.find<QLabel>("JournalDue")->text(), QString());  // nothing waits
    auto* outcome = f.find<QPlainTextEdit>("JournalOutcome");
    auto* returnOn = f.find<QCheckBox>("JournalReturnOn");
    auto* date = f.find<QDateEdit>("JournalReturnDate");
    QVERIFY(!outcome->isEnabled() && !returnOn->isEnabled());
    f.select(2);  // «Переезд в новый дом», id 2
    outcome->setFocus();
    QTest::keyClicks(outcome, "Moved in May");
    f.list()->setFocus();
    QCOMPARE(f.journal.Find(2)->outcome, std::string("Moved in May"));

    // A date set starts a month on; set to today it is due at once.
    QVERIFY(!date->isEnabled());
    QTest::mouseClick(returnOn, Qt::LeftButton, {}, QPoint(4, returnOn->height() / 2));
    QCOMPARE(f.journal.Find(2)->returnOn, std::string("2027-01-09"));
    QCOMPARE(date->text(), QString("9 января 2027"));
    date->setDate(QDate(2026, 12, 9));
    emit date->editingFinished();
    QCOMPARE(f.journal.Find(2)->returnOn, std::string("2026-12-09"));
    QCOMPARE(f.find<QLabel>("JournalDue")->text(), QString("К пересмотру: 1"));

    // Another entry shows its own; back again, the first shows what was kept.
    f.select(0);
    QCOMPARE(outcome->toPlainText(), QString());
    QVERIFY(!returnOn->isChecked());
    f.select(2);
    QCOMPARE(outcome->toPlainText(), QString("Moved in May"));
    QVERIFY(returnOn->isChecked());
    QCOMPARE(date->date(), QDate(2026, 12, 9));
    QTest::mouseClick(returnOn, Qt::LeftButton, {}, QPoint(4, returnOn->height() / 2));
    QCOMPARE(f.journal.Find(2)->returnOn, std::string());
    QCOMPARE(f.find<QLabel>("JournalDue")->text(), QString());
    QVERIFY(f.errors.isEmpty());
}

void JournalPracticeTest::linksShowBothWaysAndOpen() {
    Fixture f;
    RecordFour(f.journal);
    f.open();
    f.select(1);  // «Стоит ли начинать?», id 3
    QVERIFY(!f.window->command("JournalUnlink")->isEnabled());
    f.earlier = {0, 1, 2};  // cancelled first, then two entries it follows up
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(f.list(), Qt::Key_L, Qt::ControlModifier);
    QCOMPARE(f.askedFor, std::vector<std::int64_t>({3, 3, 3}));
    QCOMPARE(f.journal.FollowedUp(3), std::vector<std::int64_t>({1, 2}));
    QCOMPARE(f.links(), QStringList({"Продолжает: 6 декабря 2026, 09:00 — Ёлка во дворе",
                                     "Продолжает: 7 декабря 2026, 10:30 — Переезд в новый дом"}));
    // The other way round, from the earlier entry.
    f.select(3);
    QCOMPARE(f.links(), QStringList{"Продолжена: 8 декабря 2026, 21:14 — Стоит ли начинать?"});
    auto* links = f.find<QListWidget>("JournalLinks");
    links->setFocus();
    QTest::keyClick(links, Qt::Key_Return);
    QCOMPARE(f.opened, std::vector<std::int64_t>{3});
    // Removed from either end.
    QTest::mouseClick(f.find<QPushButton>("JournalUnlinkButton"), Qt::LeftButton);
    QCOMPARE(f.journal.FollowedUp(3), std::vector<std::int64_t>{2});
    QCOMPARE(f.links(), QStringList());
    QVERIFY(!f.window->command("JournalUnlink")->isEnabled());
    QVERIFY(f.errors.isEmpty());
    // The journal's own refusal is reported, not hidden.
    f.select(1);
    f.earlier = {3};
    f.window->command("JournalLink")->trigger();
    QCOMPARE(f.errors.size(), 1);
    QVERIFY2(f.errors[0].contains("саму себя"), qPrintable(f.errors[0]));
}

void JournalPracticeTest::randomEntryIsOneOfThoseShown() {
    Fixture f;
    RecordFour(f.journal);
    f.open();
    f.drawn = 1;  // the draws count from the oldest
    f.window->command("JournalRandom")->trigger();
    QCOMPARE(f.counts, std::vector<std::int64_t>{4});
    QCOMPARE(f.opened, std::vector<std::int64_t>{2});
    QCOMPARE(f.list()->currentIndex().row(), 2);
    QCOMPARE(f.find<QLineEdit>("JournalQuestion")->text(), QString("Переезд в новый дом"));
    // Drawn from what the search shows.
    f.find<QComboBox>("JournalFilter")->setCurrentIndex(1);
    f.drawn = 0;
    QTest::keyClick(f.list(), Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(f.counts, std::vector<std::int64_t>({4, 1}));
    QCOMPARE(f.opened, std::vector<std::int64_t>({2, 1}));
    f.find<QComboBox>("JournalFilter")->setCurrentIndex(2);
    QVERIFY(!f.window->command("JournalRandom")->isEnabled());
    QVERIFY(f.errors.isEmpty());
}

void JournalPracticeTest::csvQuotesAndReadsBack_data() {
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("field");  // as the file must hold it
    QTest::newRow("plain") << "Стоит ли"
                           << "Стоит ли";
    QTest::newRow("comma") << "Ехать, или нет"
                           << "\"Ехать, или нет\"";
    QTest::newRow("quotes") << "Книга «Путь» и \"Дао\""
                            << "\"Книга «Путь» и \"\"Дао\"\"\"";
    QTest::newRow("new line") << "Первая\nвторая"
                              << "\"Первая\nвторая\"";
    QTest::newRow("CR LF") << "Первая\r\nвторая"
                           << "\"Первая\r\nвторая\"";
    QTest::newRow("all at once") << "\"a\",\nb"
                                 << "\"\"\"a\"\",\nb\"";
    QTest::newRow("blanks kept") << "  с краю  "
                                 << "  с краю  ";
    QTest::newRow("empty") << ""
                           << "";
}

void JournalPracticeTest::csvQuotesAndReadsBack() {
    QFETCH(QString, question);
    QFETCH(QString, field);
    journal::Journal journal = journal::Journal::OpenInMemory(Name);
    journal.Record(Cast("2026-12-08T21:14:05+03:00", "988878", question.toStdString()));
    journal.SetNote(1, "заметка, с запятой");
    const QByteArray bytes = forms::CsvOfCasts(journal.Page({}, {}, 10));
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QString text = QString::fromUtf8(bytes.mid(3));
    QVERIFY(text.endsWith("\r\n"));
    QVERIFY(text.contains("," + field + ",\"заметка, с запятой\","));
    const QList<QStringList> rows = ReadCsv(text);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0], forms::CsvColumns());
    QCOMPARE(rows[0].join(','),
             QString("id,cast_at,mode,lines,coins,hexagram,relating,question,note,moment,totals,"
                     "outcome,return_on,hexagram_name,relating_name,nuclear_name,opposite_name,"
                     "inverted_name"));
    QCOMPARE(rows[1].size(), rows[0].size());
    QCOMPARE(rows[1][7], question);
    QCOMPARE(rows[1].mid(0, 7),
             QStringList({"1", "2026-12-08T21:14:05+03:00", "3", "988878", "", "3", "8"}));
    // The names as the interpretation finds them, the name alone.
    QCOMPARE(rows[1].mid(13),
             QStringList({"Начальная трудность", "Приближение", "Разорение",
                          QString::fromStdString(Name(50)), QString::fromStdString(Name(4))}));
}

// Against the journal's own file, read by sqlite3: the same columns by the
// same names with the same values, for every method; the names after them.
void JournalPracticeTest::csvHoldsTheJournalsOwnColumns() {
    const QString sqlite = QStandardPaths::findExecutable("sqlite3");
    if (sqlite.isEmpty())
        QSKIP("sqlite3 is not installed (make test installs it)");
    const QString path = folder_.absolute("Journal-csv.db");
    QFile::remove(path);
    journal::Journal journal = journal::Journal::Open(path.toStdString(), Name);
    using M = divination::Method;
    const std::pair<M, int> methods[] = {{M::Coins, 1},         {M::SemiAutomatic, 2},
                                         {M::HeadsAndTails, 3}, {M::OwnThrow, 4},
                                         {M::Yarrow, 5},        {M::OwnThrowTotals, 6}};
    int day = 1;
    for (const auto& [method, number] : methods) {
        QCOMPARE(forms::CsvModeNumber(method), number);
        journal.Record(Cast(QString("2026-12-0%1T10:00:00+03:00").arg(day++).toStdString(),
                            "967869", "Способ " + std::to_string(number), method));
    }
    journal.SetOutcome(2, "Сложилось, \"как надо\"");
    journal.SetReturnOn(3, "2027-03-01");
    const std::vector<journal::Cast> casts = journal.Page({}, {}, 10);
    const QString csvPath = folder_.absolute("casts.csv");
    forms::WriteCsv(casts, csvPath);
    const QList<QStringList> ours = ReadCsv(QString::fromUtf8(FileBytes(csvPath).mid(3)));

    QProcess process;
    const QString columns = forms::CsvColumns().mid(0, 13).join(',');
    process.start(sqlite, {"-csv", "-header", path,
                           "SELECT " + columns + " FROM casts ORDER BY moment DESC, id DESC"});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    const QList<QStringList> theirs = ReadCsv(QString::fromUtf8(process.readAllStandardOutput()));
    QCOMPARE(theirs.size(), 7);
    QCOMPARE(ours.size(), theirs.size());
    for (int row = 0; row < ours.size(); ++row)
        QCOMPARE(ours[row].mid(0, 13), theirs[row]);
    QCOMPARE(ours[6][2], QString("1"));  // the oldest, by coins
    QVERIFY(!ours[6][4].isEmpty() && ours[6][10].isEmpty());
    QVERIFY(!ours[2][10].isEmpty());  // yarrow keeps its totals
}

// LibreOffice is not among the packages the tests install: Python's csv
// module in strict mode stands in for it, reading the file as a spreadsheet
// would (UTF-8 after the byte order mark, RFC 4180 quoting), every row and
// every column.
void JournalPracticeTest::csvOpensAsASpreadsheetWould() {
    const QString python = QStandardPaths::findExecutable("python3");
    if (python.isEmpty())
        QSKIP("python3 is not installed");
    Fixture f;
    RecordFour(f.journal);
    f.journal.SetNote(3, "Спросила вечером,\r\nу окна \"тихо\"");
    f.journal.SetOutcome(1, "Выросла\n\nи цветёт");
    f.open();
    const QString path = folder_.absolute("shown.csv");
    f.files = {path};
    QTest::keyClick(f.list(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY2(f.errors.isEmpty(), qPrintable(f.errors.join('\n')));
    QCOMPARE(f.find<QLabel>("JournalStatus")->text(), "Записей: 4. Сохранено в \"" + path + "\"");
    const char* script = R"(import csv, json, sys
with open(sys.argv[1], encoding="utf-8-sig", newline="") as f:
    rows = list(csv.reader(f, strict=True))
print(json.dumps({"rows": len(rows), "widths": sorted({len(r) for r in rows}),
                  "header": rows[0], "note": rows[2][8], "outcome": rows[4][11]}))
)";
    QProcess process;
    process.start(python, {"-c", script, path});
    QVERIFY(process.waitForFinished(30000));
    QVERIFY2(process.exitCode() == 0, process.readAllStandardError().constData());
    const QString out = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    const QString header = "[\"" + forms::CsvColumns().join("\", \"") + "\"]";
    QCOMPARE(out, QString(R"({"rows": 5, "widths": [18], "header": %1, )"
                          R"("note": "\u0421\u043f\u0440\u043e\u0441\u0438\u043b\u0430 )"
                          R"(\u0432\u0435\u0447\u0435\u0440\u043e\u043c,\r\n\u0443 )"
                          R"(\u043e\u043a\u043d\u0430 \"\u0442\u0438\u0445\u043e\"", )"
                          R"("outcome": "\u0412\u044b\u0440\u043e\u0441\u043b\u0430\n\n)"
                          R"(\u0438 \u0446\u0432\u0435\u0442\u0451\u0442"})")
                      .arg(header));
}

void JournalPracticeTest::unwritableCsvIsReportedAndLeavesNothing() {
    Fixture f;
    RecordFour(f.journal);
    f.open();
    folder_.write("csv/plain", "not a folder");
    folder_.write("csv/kept.csv", "old");
    const QString intoFile = folder_.absolute("csv/plain/casts.csv");
    const QString kept = folder_.absolute("csv/kept.csv");
    f.files = {intoFile, ""};
    f.window->command("JournalExportCsv")->trigger();
    f.window->command("JournalExportCsv")->trigger();  // cancelled: nothing happens
    QCOMPARE(f.errors,
             QStringList{"Не удалось сохранить файл \"" + intoFile + "\". Not a directory"});
    QCOMPARE(QDir(folder_.absolute("csv"))
                 .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList({"kept.csv", "plain"}));
    QCOMPARE(FileBytes(kept), QByteArray("old"));
    // Written over, the old file is replaced whole.
    f.select(0);
    f.files = {kept};
    f.window->command("JournalExportCsv")->trigger();
    QCOMPARE(ReadCsv(QString::fromUtf8(FileBytes(kept).mid(3))).size(), 2);
}

QTEST_MAIN(JournalPracticeTest)
#include "tst_journal_practice.moc"
