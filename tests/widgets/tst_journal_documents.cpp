// The journal window's documents: casts printed, and exported as PDF, HTML
// and text, each whole or not at all.
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QTest>

#include <algorithm>

#include "forms/document/cast_document.h"
#include "forms/kit/widgets.h"
#include "journal_window_fixture.h"

using namespace journal_window_test;

class JournalDocumentsTest : public QObject {
    Q_OBJECT

private slots:
    void exportWritesEachFormat();
    void typedNameDecidesTheFormat_data();
    void typedNameDecidesTheFormat();
    void headingsStayWithTheirText();
    void exportSurvivesMissingTextsAndStopsWhenCancelled();
    void unwritableExportIsReportedAndLeavesNothing();

private:
    WorkingFolder folder_;
};

void JournalDocumentsTest::exportWritesEachFormat() {
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
void JournalDocumentsTest::typedNameDecidesTheFormat_data() {
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

void JournalDocumentsTest::typedNameDecidesTheFormat() {
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
void JournalDocumentsTest::headingsStayWithTheirText() {
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

void JournalDocumentsTest::exportSurvivesMissingTextsAndStopsWhenCancelled() {
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

void JournalDocumentsTest::unwritableExportIsReportedAndLeavesNothing() {
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

QTEST_MAIN(JournalDocumentsTest)
#include "tst_journal_documents.moc"
