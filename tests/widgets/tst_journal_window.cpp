// The journal window over a journal in memory, every dialog answered by the
// test: the list and its pages, search and filter, editing in place, the
// commands that delete, and the documents that print and export casts.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include <algorithm>
#include <deque>

#include "base/text_file.h"
#include "divination/changes.h"
#include "divination/hexagrams.h"
#include "forms/document/cast_document.h"
#include "forms/journal/journal_window.h"
#include "forms/kit/widgets.h"
#include "harness.h"

using testing_support::WorkingFolder;

namespace {

std::string Name(int n) {
    return std::string(divination::kHexagramNames.at(n - 1).name);
}

// A cast by hand, its values as six digits.
journal::NewCast Cast(const std::string& castAt, const std::string& lines,
                      const std::string& question = "", const std::string& note = "") {
    divination::LineValues values{};
    for (int i = 0; i < 6; ++i)
        values[i] = lines[i] - '0';
    return {castAt, divination::Method::HeadsAndTails, values, std::nullopt, question, note};
}

// 988878: hexagram 3, line 1 changes, so the second is 8.
const std::string kChanging = "988878";

struct Fixture {
    journal::Journal journal = journal::Journal::OpenInMemory(Name);
    QStringList errors, asked, informed;
    std::deque<bool> answers;
    std::deque<QString> files;
    QString printFile;  // where the printer writes; empty: the dialog is cancelled
    std::vector<std::int64_t> opened;
    std::vector<int> readings;
    std::unique_ptr<forms::JournalWindow> window;

    void open() {
        forms::JournalWindow::Seams seams;
        seams.journal = [this] { return &journal; };
        seams.openInterpretation = [this](const journal::Cast& cast) { opened.push_back(cast.id); };
        seams.showReading = [this](int n) { readings.push_back(n); };
        seams.reportError = [this](const QString& text) { errors << text; };
        seams.confirm = [this](const QString& text) {
            asked << text;
            const bool answer = answers.front();
            answers.pop_front();
            return answer;
        };
        seams.inform = [this](const QString& text) { informed << text; };
        seams.choosePrinter = [this](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(printFile);
            return !printFile.isEmpty();
        };
        seams.chooseFile = [this](const QString&, const QString&, bool) {
            const QString file = files.front();
            files.pop_front();
            return file;
        };
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
    QString cell(int row, int column) const {
        return window->model()->index(row, column).data().toString();
    }
    QStringList questions() const {
        QStringList shown;
        for (int row = 0; row < window->model()->rowCount(); ++row)
            shown << cell(row, forms::JournalModel::Question);
        return shown;
    }
    // The rows selected, the first of them current.
    void select(std::initializer_list<int> rows) {
        QItemSelectionModel* selection = list()->selectionModel();
        selection->setCurrentIndex(window->model()->index(*rows.begin(), 0),
                                   QItemSelectionModel::NoUpdate);
        selection->clearSelection();
        for (int row : rows)
            selection->select(window->model()->index(row, 0),
                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
};

// Three casts, recorded oldest first.
void RecordThree(journal::Journal& journal) {
    journal.Record(Cast("2026-12-06T09:00:00+03:00", "777777", "Ёлка во дворе", "посадили осенью"));
    journal.Record(Cast("2026-12-07T10:30:00+03:00", "787878", "Переезд в новый дом"));
    journal.Record(Cast("2026-12-08T21:14:05+03:00", kChanging, "Стоит ли начинать?"));
}

void WriteTexts(const WorkingFolder& folder) {
    folder.write("Text/Lines3.dat",
                 QByteArray::fromStdString(base::EncodeCp1251(
                     "Гексаграмма 3. Начальная трудность (Чжунь)\n\nВ начале девятка\n"
                     "Камень на пути; стой твёрдо.\n\nШестёрка вторая\nКони врозь.\n")));
    folder.write("Text/Text3.dat", QByteArray::fromStdString(base::EncodeCp1251(
                                       "Гексаграмма 3. Начальная трудность (Чжунь)\r\n\r\n"
                                       "Образ\r\n\r\n"
                                       "Росток пробивает землю.\r\n\r\n"
                                       "Совет\r\n\r\n"
                                       "Жди весны.\r\n")));
}

// Types text as keys carrying it: QTest::keyClicks drops what is not Latin-1.
void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What a poppler tool says of a PDF; poppler-utils is one of the packages
// `make test` installs.
QString Poppler(const QString& tool, const QStringList& arguments, QString* errors = nullptr) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return "failed: " + QString::fromUtf8(process.readAllStandardError());
    if (errors)
        *errors = QString::fromUtf8(process.readAllStandardError());
    return QString::fromUtf8(process.readAllStandardOutput());
}

// One field of pdfinfo's report: "Title:          …".
QString PdfInfo(const QString& path, const QString& field, QString* errors = nullptr) {
    const QString info = Poppler("pdfinfo", {path}, errors);
    const QRegularExpression line("^" + field + ":\\s*(.*)$", QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(info);
    return match.hasMatch() ? match.captured(1) : info;
}

}  // namespace

class JournalWindowTest : public QObject {
    Q_OBJECT

private slots:
    void listShowsNewestFirstAndOpensByKey();
    void searchNarrowsAsYouType_data();
    void searchNarrowsAsYouType();
    void editingInPlaceReachesTheJournal();
    void deletingAsksFirst_data();
    void deletingAsksFirst();
    void journalCommandsReachTheJournal();
    void listFetchesInPages();
    void unavailableJournalShowsAnEmptyList();
    void exportWritesEachFormat();
    void typedNameDecidesTheFormat_data();
    void typedNameDecidesTheFormat();
    void headingsStayWithTheirText();
    void exportSurvivesMissingTextsAndStopsWhenCancelled();
    void unwritableExportIsReportedAndLeavesNothing();

private:
    WorkingFolder folder_;
};

void JournalWindowTest::listShowsNewestFirstAndOpensByKey() {
    Fixture f;
    RecordThree(f.journal);
    f.open();
    QCOMPARE(f.window->windowTitle(), QString("Журнал гаданий"));
    QCOMPARE(f.find<QLabel>("JournalStatus")->text(), QString("Записей: 3"));
    QCOMPARE(f.questions(),
             QStringList({"Стоит ли начинать?", "Переезд в новый дом", "Ёлка во дворе"}));
    QCOMPARE(f.cell(0, 0), QString("8 декабря 2026, 21:14"));
    QCOMPARE(f.cell(0, 2), QString("3. Начальная трудность → 8. Приближение"));
    QCOMPARE(f.cell(2, 2), QString("1. Творчество"));
    QCOMPARE(f.window->model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
             QString("Когда"));
    // Every control a screen reader meets has a Russian name.
    QStringList unnamed;
    const QList<QWidget*> controls = f.window->findChildren<QWidget*>();
    for (QWidget* control : controls)
        if (control->focusPolicy() != Qt::NoFocus && control->isVisibleTo(f.window.get()) &&
            control->accessibleName().isEmpty() && !control->objectName().startsWith("qt_"))
            unnamed << control->objectName() + ":" + control->metaObject()->className();
    QCOMPARE(unnamed, QStringList());

    // Return on the list opens the current entry; Ctrl+R shows its reading.
    f.list()->setFocus();
    f.select({1});
    QTest::keyClick(f.list(), Qt::Key_Return);
    QTest::keyClick(f.list(), Qt::Key_R, Qt::ControlModifier);
    // Of several selected, the current one opens.
    f.select({0, 1});
    QTest::keyClick(f.list(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(f.opened, std::vector<std::int64_t>({2, 3}));
    QCOMPARE(f.readings, std::vector<int>{63});

    // A new cast shows at the top after refresh; the selection stays.
    f.journal.Record(Cast("2026-12-09T08:00:00+03:00", "888888", "Новое"));
    f.window->refresh();
    QCOMPARE(f.questions().first(), QString("Новое"));
    QList<int> selected;
    for (const QModelIndex& index : f.list()->selectionModel()->selectedRows())
        selected << index.row();
    std::sort(selected.begin(), selected.end());
    QCOMPARE(selected, QList<int>({1, 2}));
    QCOMPARE(f.find<QLabel>("JournalStatus")->text(), QString("Записей: 4"));
    QVERIFY(f.errors.isEmpty());
}

void JournalWindowTest::searchNarrowsAsYouType_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("hexagram");  // the filter's index: 0 for all
    QTest::addColumn<QStringList>("shown");
    const QStringList trees{"Ёлка во дворе", "Елка в лесу"};
    QTest::newRow("ё typed") << "ёлк" << 0 << trees;
    QTest::newRow("е typed, other case") << "ЕЛК" << 0 << trees;
    QTest::newRow("the note") << "осень" << 0 << QStringList{"Ёлка во дворе"};
    QTest::newRow("second hexagram's name") << "прибл" << 0 << QStringList{"Стоит ли начинать?"};
    QTest::newRow("every word needed") << "новый дом" << 0 << QStringList{"Переезд в новый дом"};
    QTest::newRow("one word missing") << "новый сад" << 0 << QStringList{};
    QTest::newRow("filter alone") << "" << 3 << QStringList{"Стоит ли начинать?"};
    QTest::newRow("filter and search") << "ёлка" << 1 << QStringList{"Ёлка во дворе"};
    QTest::newRow("filter, search elsewhere") << "ёлка" << 3 << QStringList{};
}

void JournalWindowTest::searchNarrowsAsYouType() {
    QFETCH(QString, typed);
    QFETCH(int, hexagram);
    QFETCH(QStringList, shown);
    Fixture f;
    RecordThree(f.journal);
    f.journal.Record(Cast("2026-12-01T12:00:00+03:00", "787878", "Елка в лесу"));
    f.open();
    auto* filter = f.find<QComboBox>("JournalFilter");
    QCOMPARE(filter->count(), 65);
    QCOMPARE(filter->itemText(0), QString("Все гексаграммы"));
    QCOMPARE(filter->itemText(3), QString("3. Начальная трудность"));
    filter->setCurrentIndex(hexagram);
    Type(f.find<QLineEdit>("JournalSearch"), typed);
    // Results come after the typing pause, by themselves.
    QTRY_COMPARE(f.questions(), shown);
    QCOMPARE(f.find<QLabel>("JournalStatus")->text(), QString("Записей: %1").arg(shown.size()));
}

void JournalWindowTest::editingInPlaceReachesTheJournal() {
    Fixture f;
    RecordThree(f.journal);
    f.open();
    auto* question = f.find<QLineEdit>("JournalQuestion");
    auto* note = f.find<QPlainTextEdit>("JournalNote");
    QVERIFY(!question->isEnabled());
    f.select({2});
    QCOMPARE(question->text(), QString("Ёлка во дворе"));
    QCOMPARE(note->toPlainText(), QString("посадили осенью"));

    question->setFocus();
    question->selectAll();
    Type(question, "Ёлка у дома");
    QTest::keyClick(question, Qt::Key_Return);
    QCOMPARE(f.journal.Find(1)->question, std::string("Ёлка у дома"));
    QCOMPARE(f.cell(2, 1), QString("Ёлка у дома"));
    QVERIFY(f.opened.empty());  // Return in the field ends the edit, nothing more

    // The note is written when focus leaves it, and when another entry is
    // chosen while it still has focus.
    note->setFocus();
    note->moveCursor(QTextCursor::End);
    Type(note, ", весной цвела");
    f.list()->setFocus();
    QCOMPARE(f.journal.Find(1)->note, std::string("посадили осенью, весной цвела"));
    note->setFocus();
    note->moveCursor(QTextCursor::End);
    Type(note, "!");
    f.select({0});
    QCOMPARE(f.journal.Find(1)->note, std::string("посадили осенью, весной цвела!"));
    QCOMPARE(note->toPlainText(), QString());
    QCOMPARE(question->text(), QString("Стоит ли начинать?"));
    QVERIFY(f.errors.isEmpty());
}

void JournalWindowTest::deletingAsksFirst_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QStringList>("left");
    const QString two = "Удалить выбранные записи (2)?";
    const QString all = "Удалить все записи журнала? Это действие нельзя отменить.";
    const QStringList three{"Стоит ли начинать?", "Переезд в новый дом", "Ёлка во дворе"};
    QTest::newRow("delete, no") << "JournalDelete" << false << two << three;
    QTest::newRow("delete, yes") << "JournalDelete" << true << two
                                 << QStringList{"Переезд в новый дом"};
    QTest::newRow("clear, no") << "JournalClear" << false << all << three;
    QTest::newRow("clear, yes") << "JournalClear" << true << all << QStringList{};
}

void JournalWindowTest::deletingAsksFirst() {
    QFETCH(QString, command);
    QFETCH(bool, answer);
    QFETCH(QString, question);
    QFETCH(QStringList, left);
    Fixture f;
    RecordThree(f.journal);
    f.open();
    f.select({0, 2});
    f.answers = {answer};
    if (command == "JournalDelete") {
        f.list()->setFocus();
        QTest::keyClick(f.list(), Qt::Key_Delete);
    } else {
        f.window->command("JournalClear")->trigger();
    }
    QCOMPARE(f.asked, QStringList{question});
    QCOMPARE(f.questions(), left);
    QCOMPARE(f.journal.Count({}), left.size());
    QCOMPARE(f.find<QLabel>("JournalStatus")->text(), QString("Записей: %1").arg(left.size()));
    QVERIFY(f.errors.isEmpty());
}

void JournalWindowTest::journalCommandsReachTheJournal() {
    Fixture f;
    RecordThree(f.journal);
    f.journal.SetRecording(false);
    f.open();
    auto* recording = f.find<QCheckBox>("JournalRecording");
    QVERIFY(!recording->isChecked());
    QTest::mouseClick(recording, Qt::LeftButton);
    QVERIFY(f.journal.Recording());

    // A copy, the journal cleared, the copy merged back.
    const QString copy = folder_.absolute("copy.db");
    QFile::remove(copy);
    f.files = {copy, copy, copy};
    f.answers = {true};
    f.window->command("JournalBackup")->trigger();
    QCOMPARE(f.find<QLabel>("JournalStatus")->text(),
             "Записей: 3. Копия журнала сохранена в \"" + copy + "\"");
    f.window->command("JournalClear")->trigger();
    QCOMPARE(f.window->model()->rowCount(), 0);
    f.window->command("JournalRestore")->trigger();
    QCOMPARE(f.informed, QStringList{"Добавлено записей: 3"});
    QCOMPARE(f.questions(),
             QStringList({"Стоит ли начинать?", "Переезд в новый дом", "Ёлка во дворе"}));
    f.window->command("JournalRestore")->trigger();  // nothing new the second time
    QCOMPARE(f.informed.last(), QString("Добавлено записей: 0"));

    // The library's own message for a copy that can't be read.
    f.files = {folder_.absolute("no-such.db")};
    f.window->command("JournalRestore")->trigger();
    QCOMPARE(f.errors.size(), 1);
    QVERIFY2(f.errors[0].contains("\"" + folder_.absolute("no-such.db") + "\""),
             qPrintable(f.errors[0]));
    QCOMPARE(f.informed.size(), 2);
}

void JournalWindowTest::listFetchesInPages() {
    Fixture f;
    // 500 casts a minute apart, in an order the ids do not follow.
    for (int i = 0; i < 500; ++i) {
        const int minute = (i * 7) % 500;
        f.journal.Record(Cast(QString("2026-01-%1T%2:%3:00+03:00")
                                  .arg(1 + minute / 60 / 24, 2, 10, QChar('0'))
                                  .arg(minute / 60 % 24, 2, 10, QChar('0'))
                                  .arg(minute % 60, 2, 10, QChar('0'))
                                  .toStdString(),
                              "777777", std::to_string(minute)));
    }
    f.open();
    forms::JournalModel* model = f.window->model();
    QCOMPARE(model->rowCount(), 100);
    QCOMPARE(f.find<QLabel>("JournalStatus")->text(), QString("Записей: 500"));
    // Scrolling to the end brings the next page, not the rest.
    f.list()->scrollToBottom();
    QTRY_COMPARE(model->rowCount(), 200);
    while (model->canFetchMore({}))
        model->fetchMore({});
    QCOMPARE(model->rowCount(), 500);
    for (int row = 0; row < 500; ++row)
        QCOMPARE(f.cell(row, 1), QString::number(499 - row));
}

void JournalWindowTest::unavailableJournalShowsAnEmptyList() {
    forms::JournalWindow::Seams seams;
    QStringList errors;
    seams.reportError = [&](const QString& text) { errors << text; };
    int asked = 0;
    seams.journal = [&]() -> journal::Journal* {
        ++asked;
        return nullptr;
    };
    forms::JournalWindow window(seams);
    QCOMPARE(asked, 0);  // nothing opened before the window is shown
    window.show();
    QCOMPARE(asked, 1);
    QCOMPARE(window.model()->rowCount(), 0);
    QCOMPARE(window.findChild<QLabel*>("JournalStatus")->text(), QString("Журнал недоступен"));
    for (const char* name : {"JournalExport", "JournalPrint", "JournalClear", "JournalRestore"})
        QVERIFY2(!window.command(name)->isEnabled(), name);
    QVERIFY(!window.findChild<QCheckBox*>("JournalRecording")->isEnabled());
    window.refresh();  // asked again: it may be had now
    QCOMPARE(asked, 2);
    QVERIFY(errors.isEmpty());
}

void JournalWindowTest::exportWritesEachFormat() {
    WriteTexts(folder_);
    Fixture f;
    RecordThree(f.journal);
    f.journal.SetNote(3, "Спросила вечером\nу окна");
    f.open();
    f.select({0, 1});
    f.files = {folder_.absolute("casts.txt"), folder_.absolute("casts.html"),
               folder_.absolute("casts.pdf")};
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(f.list(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(f.errors.isEmpty());
    QCOMPARE(f.find<QLabel>("JournalStatus")->text(),
             "Записей: 3. Сохранено в \"" + folder_.absolute("casts.pdf") + "\"");

    // The unchanging cast of 63 reads its texts from files not written
    // here: one line says so and the entry goes on.
    const QString missing = folder_.absolute("Text/Text63.dat");
    // Headings are underlined, the entry's date double, a line's heading
    // with tildes.
    const auto under = [](const QString& heading, QChar line) {
        return heading + "\n" + QString(heading.size(), line);
    };
    QCOMPARE(QString::fromUtf8(FileBytes(folder_.absolute("casts.txt"))),
             QString(under("8 декабря 2026, 21:14", '=') +
                     "\n\n"
                     "Вопрос: Стоит ли начинать?\n"
                     "Заметка: Спросила вечером\nу окна\n\n"
                     "6  ———   ———\n"
                     "5  —————————\n"
                     "4  ———   ———\n"
                     "3  ———   ———\n"
                     "2  ———   ———\n"
                     "1  —————————  ○\n\n" +
                     under("Гексаграмма 3. Начальная трудность", '-') +
                     "\n"
                     "Вторая гексаграмма: 8. Приближение\n"
                     "Ядерная гексаграмма: 23. Разорение\n"
                     "Противоположная гексаграмма: 50. Жертвенник\n"
                     "Перевёрнутая гексаграмма: 4. Недоразвитость\n"
                     "Шаг перемены, черта 1: 8. Приближение\n\n" +
                     under("Изменяющиеся черты", '-') + "\n\n" + under("В начале девятка", '~') +
                     "\n"
                     "Камень на пути; стой твёрдо.\n\n" +
                     under("Гексаграмма 3. Начальная трудность (Чжунь)", '-') + "\n\n" +
                     under("Образ", '-') +
                     "\n\n"
                     "Росток пробивает землю.\n\n" +
                     under("Совет", '-') +
                     "\n\n"
                     "Жди весны.\n\n\n" +
                     under("7 декабря 2026, 10:30", '=') +
                     "\n\n"
                     "Вопрос: Переезд в новый дом\n\n"
                     "6  ———   ———\n"
                     "5  —————————\n"
                     "4  ———   ———\n"
                     "3  —————————\n"
                     "2  ———   ———\n"
                     "1  —————————\n\n" +
                     under("Гексаграмма 63. Уже конец", '-') +
                     "\n"
                     "Ядерная гексаграмма: 64. Ещё не конец\n"
                     "Противоположная гексаграмма: 64. Ещё не конец\n"
                     "Перевёрнутая гексаграмма: 64. Ещё не конец\n\n"
                     "Изменяющихся черт нет: ответом служит общее толкование гексаграммы.\n\n"
                     "Текст не прочитан: Cannot open file \"%1\". No such file or directory.\n")
                 .arg(missing));

    const QString html = QString::fromUtf8(FileBytes(folder_.absolute("casts.html")));
    QVERIFY(html.contains("<meta charset=\"utf-8\""));
    QVERIFY(html.contains("<img src=\"data:image/png;base64,iVBOR"));
    QVERIFY(html.contains("Заметка: Спросила вечером<br />у окна"));
    // Headings as headings, each text an element of its own.
    const std::pair<const char*, const char*> elements[] = {
        {"h1", "8 декабря 2026, 21:14"},
        {"h2", "Гексаграмма 3. Начальная трудность"},
        {"h2", "Изменяющиеся черты"},
        {"h3", "В начале девятка"},
        {"p", "Камень на пути; стой твёрдо."},
        {"h2", "Гексаграмма 3. Начальная трудность (Чжунь)"},
        {"h2", "Образ"},
        {"p", "Росток пробивает землю."},
        {"h2", "Совет"},
        {"p", "Жди весны."},
        {"h1", "7 декабря 2026, 10:30"}};
    for (const auto& [tag, text] : elements) {
        const QString element = QString("<%1[^>]*>(<span[^>]*>)?%2(</span>)?</%1>")
                                    .arg(tag, QRegularExpression::escape(text));
        QVERIFY2(html.contains(QRegularExpression(element)), text);
    }
    QVERIFY(!html.contains("src=\"figure"));
    QVERIFY(html.contains("<html lang=\"ru\">"));
    QVERIFY(html.contains("<title>Журнал гаданий</title>"));

    // Read back as a viewer reads it: the title, the program, the language
    // (added after Qt's writer), and not a complaint about the file.
    QString complaints;
    QCOMPARE(PdfInfo(folder_.absolute("casts.pdf"), "Title", &complaints), "Журнал гаданий");
    QCOMPARE(complaints, QString());
    QCOMPARE(PdfInfo(folder_.absolute("casts.pdf"), "Creator"), "ТАЙНОВИД 1.0");
    QCOMPARE(PdfInfo(folder_.absolute("casts.pdf"), "Pages"), "2");
    QVERIFY(FileBytes(folder_.absolute("casts.pdf")).contains("/Lang (ru)"));
    QVERIFY(Poppler("pdftotext", {folder_.absolute("casts.pdf"), "-"}).contains("Жди весны."));

    // One cast is titled by its hexagram and date, printed as exported.
    f.select({0});
    f.files = {folder_.absolute("one.pdf")};
    QTest::keyClick(f.list(), Qt::Key_S, Qt::ControlModifier);
    f.printFile = folder_.absolute("printed.pdf");
    QTest::keyClick(f.list(), Qt::Key_P, Qt::ControlModifier);
    for (const QString& file : {folder_.absolute("one.pdf"), f.printFile}) {
        QCOMPARE(PdfInfo(file, "Title", &complaints),
                 "Гексаграмма 3. Начальная трудность — 8 декабря 2026, 21:14");
        QCOMPARE(complaints, QString());
        QCOMPARE(PdfInfo(file, "Creator"), "ТАЙНОВИД 1.0");
        QVERIFY(FileBytes(file).contains("/Lang (ru)"));
    }
    QCOMPARE(QDir(folder_.path()).entryList({"casts*"}, QDir::Files).size(), 3);
}

// The name typed against the filter selected: the format follows a suffix
// the command writes; a bare name takes the filter's; another suffix asks
// once whether to add the filter's, and a name so made that is a file
// already asks before it is replaced.
void JournalWindowTest::typedNameDecidesTheFormat_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QString>("written");  // empty: nothing is written
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("questions");
    const QString pdf = "PDF (*.pdf)", html = "HTML (*.html *.htm)", text = "Текст (*.txt)";
    QTest::newRow("cast.html, PDF selected") << "cast.html" << pdf << QList<bool>{} << "cast.html"
                                             << "html" << 0;
    QTest::newRow("cast.txt, PDF") << "cast.txt" << pdf << QList<bool>{} << "cast.txt"
                                   << "text" << 0;
    QTest::newRow("upper case .HTM, text") << "cast.HTM" << text << QList<bool>{} << "cast.HTM"
                                           << "html" << 0;
    QTest::newRow("cast.pdf, HTML") << "cast.pdf" << html << QList<bool>{} << "cast.pdf"
                                    << "pdf" << 0;
    QTest::newRow("bare, PDF") << "cast" << pdf << QList<bool>{} << "cast.pdf"
                               << "pdf" << 0;
    QTest::newRow("bare, HTML") << "cast" << html << QList<bool>{} << "cast.html"
                                << "html" << 0;
    QTest::newRow("stray dot, text") << "cast." << text << QList<bool>{} << "cast.txt"
                                     << "text" << 0;
    QTest::newRow("a date, suffix added")
        << "Гадание 12.05" << pdf << QList<bool>{true} << "Гадание 12.05.pdf"
        << "pdf" << 1;
    QTest::newRow(".doc, declined") << "cast.doc" << html << QList<bool>{false} << ""
                                    << "" << 1;
    QTest::newRow(".doc, added over a file")
        << "kept.doc" << text << QList<bool>{true, true} << "kept.doc.txt"
        << "text" << 2;
    QTest::newRow(".doc, added, not over a file")
        << "kept.doc" << text << QList<bool>{true, false} << ""
        << "" << 2;
}

void JournalWindowTest::typedNameDecidesTheFormat() {
    QFETCH(QString, typed);
    QFETCH(QString, filter);
    QFETCH(QList<bool>, answers);
    QFETCH(QString, written);
    QFETCH(QString, format);
    QFETCH(int, questions);
    folder_.write("kept.doc.txt", "old");
    const QString filters = "PDF (*.pdf);;HTML (*.html *.htm);;Текст (*.txt)";
    int asked = 0;
    const QString path =
        forms::SettleSaveName(folder_.absolute(typed), filters, filter,
                              [&](const QString&) { return answers.value(asked++); });
    QCOMPARE(asked, questions);
    QCOMPARE(path, written.isEmpty() ? QString() : folder_.absolute(written));
    const std::optional<forms::DocumentFormat> decided = forms::FormatOfPath(path);
    const QString names[] = {"pdf", "html", "text"};
    QCOMPARE(decided ? names[static_cast<int>(*decided)] : QString(), format);
    // A filter that takes any name keeps any suffix.
    QCOMPARE(forms::DecideSaveName("copy.bak", "Журнал гаданий (*.db);;Все файлы (*)",
                                   "Журнал гаданий (*.db)")
                 .path,
             "copy.bak");
}

// Casts whose notes grow by a line each move every heading down the page
// through its foot: none is left alone there, apart from its text.
void JournalWindowTest::headingsStayWithTheirText() {
    WriteTexts(folder_);
    std::string reading = "Гексаграмма 3. Начальная трудность (Чжунь)\n\n";
    for (const char* heading : {"Триграммы", "Образ", "Суждение", "Ситуация", "Совет"}) {
        reading += std::string(heading) + "\n\n";
        for (int i = 0; i < 4; ++i)
            reading +=
                "Росток пробивает землю, и трудность начала велика, но всякое начало "
                "трудно, а стойкость приносит счастье.\n\n";
    }
    folder_.write("Text/Text3.dat", QByteArray::fromStdString(base::EncodeCp1251(reading)));
    journal::Journal journal = journal::Journal::OpenInMemory(Name);
    std::string note;
    for (int lines = 0; lines < 48; ++lines) {
        journal.Record(Cast("2026-12-08T21:14:05+03:00", kChanging, "Стоит ли?", note));
        note += note.empty() ? "строка" : "\nстрока";
    }
    std::vector<consultation::Entry> casts;
    for (const journal::Cast& cast : journal.Page({}, {}, 100))
        casts.push_back(consultation::EntryOf(cast));
    const QString pdf = folder_.absolute("long.pdf");
    QVERIFY(forms::ExportCasts(casts, pdf, forms::DocumentFormat::Pdf));

    const QStringList headings = {"Триграммы",
                                  "Образ",
                                  "Суждение",
                                  "Ситуация",
                                  "Совет",
                                  "Изменяющиеся черты",
                                  "В начале девятка",
                                  "Гексаграмма 3. Начальная трудность",
                                  "Гексаграмма 3. Начальная трудность (Чжунь)"};
    const QStringList pages = Poppler("pdftotext", {pdf, "-"}).split('\f', Qt::SkipEmptyParts);
    QVERIFY(pages.size() > 48);
    int headingsSeen = 0;
    for (const QString& page : pages) {
        QStringList lines = page.split('\n', Qt::SkipEmptyParts);
        QVERIFY(lines.size() >= 2);
        lines.removeLast();  // the page's number
        QVERIFY2(!headings.contains(lines.last().trimmed()), qPrintable(page));
        for (const QString& line : lines)
            headingsSeen += headings.contains(line.trimmed());
    }
    QCOMPARE(headingsSeen, 48 * 9);
}

void JournalWindowTest::exportSurvivesMissingTextsAndStopsWhenCancelled() {
    folder_.remove("Text/Lines3.dat");
    folder_.remove("Text/Text3.dat");
    journal::Journal journal = journal::Journal::OpenInMemory(Name);
    journal.Record(Cast("2026-12-08T21:14:05+03:00", kChanging));
    journal.Record(Cast("2026-12-01T08:00:00+03:00", "777777"));
    std::vector<consultation::Entry> casts;
    for (const journal::Cast& cast : journal.Page({}, {}, 10))
        casts.push_back(consultation::EntryOf(cast));
    casts.back().castAt.clear();  // a cast not recorded has no time

    const std::optional<QString> text = forms::CastsPlainText(casts);
    QVERIFY(text);
    const QString lines = "Текст не прочитан: Cannot open file \"" +
                          folder_.absolute("Text/Lines3.dat") + "\". No such file or directory.";
    QVERIFY2(text->contains(lines + "\n\nВ начале девятка\n~~~~~~~~~~~~~~~~\n\nТекст не прочитан"),
             qPrintable(*text));
    // No time, no heading: the entry opens with its figure.
    QVERIFY(text->contains("\n\n\n6  —————————\n"));

    // Stopped after the first entry: in each format nothing is left, not
    // even the temporary a PDF is drawn into.
    for (const auto& [name, format] : {std::pair{"stopped.html", forms::DocumentFormat::Html},
                                       {"stopped.pdf", forms::DocumentFormat::Pdf},
                                       {"stopped.txt", forms::DocumentFormat::Text}}) {
        std::vector<std::pair<int, int>> steps;
        QVERIFY(
            !forms::ExportCasts(casts, folder_.absolute(name), format, [&](int done, int total) {
                steps.emplace_back(done, total);
                return false;
            }));
        QCOMPARE(steps, (std::vector<std::pair<int, int>>{{1, 2}}));
    }
    QCOMPARE(QDir(folder_.path()).entryList({"stopped*"}, QDir::AllEntries | QDir::Hidden),
             QStringList());
}

void JournalWindowTest::unwritableExportIsReportedAndLeavesNothing() {
    Fixture f;
    RecordThree(f.journal);
    f.open();
    folder_.write("out/plain", "not a folder");
    folder_.write("out/kept.txt", "old");
    QDir(folder_.path()).mkpath("out/folder.html");
    const QString intoFile = folder_.absolute("out/plain/casts.txt");
    const QString folder = folder_.absolute("out/folder.html");
    f.files = {intoFile, folder};
    f.window->command("JournalExport")->trigger();  // nothing selected: all three
    f.window->command("JournalExport")->trigger();
    QCOMPARE(f.errors.size(), 2);
    QCOMPARE(f.errors,
             QStringList(
                 {"Не удалось сохранить файл \"" + intoFile + "\". Not a directory",
                  "Не удалось сохранить файл \"" + folder + "\". Filename refers to a directory"}));
    QCOMPARE(QDir(folder_.absolute("out"))
                 .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList({"folder.html", "kept.txt", "plain"}));
    QVERIFY(QDir(folder).isEmpty());
    QCOMPARE(FileBytes(folder_.absolute("out/plain")), QByteArray("not a folder"));
}

QTEST_MAIN(JournalWindowTest)
#include "tst_journal_window.moc"
