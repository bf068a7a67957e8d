// What the journal window's tests share: a window over a journal in memory
// with every dialog answered by the test, casts by hand, the texts they
// read, and what poppler's tools say of a PDF.
#pragma once

#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>

#include <deque>

#include "base/text_file.h"
#include "divination/hexagrams.h"
#include "forms/journal/journal_window.h"
#include "harness.h"

namespace journal_window_test {

using testing_support::WorkingFolder;

inline std::string Name(int n) {
    return std::string(divination::kHexagramNames.at(n - 1).name);
}

// A cast by hand, its values as six digits.
inline journal::NewCast Cast(const std::string& castAt, const std::string& lines,
                      const std::string& question = "", const std::string& note = "") {
    divination::LineValues values{};
    for (int i = 0; i < 6; ++i)
        values[i] = lines[i] - '0';
    return {castAt, divination::Method::HeadsAndTails, values, std::nullopt, question, note,
            std::nullopt};
}

// 988878: hexagram 3, line 1 changes, so the second is 8.
inline const std::string kChanging = "988878";

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
inline void RecordThree(journal::Journal& journal) {
    journal.Record(Cast("2026-12-06T09:00:00+03:00", "777777", "Ёлка во дворе", "посадили осенью"));
    journal.Record(Cast("2026-12-07T10:30:00+03:00", "787878", "Переезд в новый дом"));
    journal.Record(Cast("2026-12-08T21:14:05+03:00", kChanging, "Стоит ли начинать?"));
}

inline void WriteTexts(const WorkingFolder& folder) {
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
inline void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

inline QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What a poppler tool says of a PDF; poppler-utils is one of the packages
// `make test` installs.
inline QString Poppler(const QString& tool, const QStringList& arguments, QString* errors = nullptr) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return "failed: " + QString::fromUtf8(process.readAllStandardError());
    if (errors)
        *errors = QString::fromUtf8(process.readAllStandardError());
    return QString::fromUtf8(process.readAllStandardOutput());
}

// One field of pdfinfo's report: "Title:          …".
inline QString PdfInfo(const QString& path, const QString& field, QString* errors = nullptr) {
    const QString info = Poppler("pdfinfo", {path}, errors);
    const QRegularExpression line("^" + field + ":\\s*(.*)$", QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(info);
    return match.hasMatch() ? match.captured(1) : info;
}

}  // namespace journal_window_test
