// The journal: opened at its first use, every completed cast kept with its
// question, the journal window, and print and export of the cast on screen.
#include <QPrinter>

#include <ctime>

#include "divination/hexagrams.h"
#include "forms/cast_document.h"
#include "forms/item_names.h"
#include "forms/journal_window.h"
#include "forms/main_window.h"

using namespace forms;

journal::Journal* TForm1::journal() {
    if (journalFailedOnce_)
        return nullptr;
    if (journal_)
        return &*journal_;
    try {
        journal_ = journal::Journal::Open(journal::kJournalFile, [](int hexagram) {
            return std::string(divination::kHexagramNames.at(hexagram - 1).name);
        });
    } catch (const std::exception& e) {
        journalFailed(QString::fromUtf8(e.what()));
        return nullptr;
    }
    // A damaged journal was put aside and a new one begun: say where the old
    // one is, in the same place a failure would be said.
    if (!journal_->DamagedNotice().empty())
        reportLater(QString::fromStdString(journal_->DamagedNotice()));
    return &*journal_;
}

// Said once; the program then works on without the journal until the next
// start, and the menu says so. The journal object itself stays until the
// main window goes, and the journal window lets go of it now.
void TForm1::journalFailed(const QString& text) {
    journalFailedOnce_ = true;
    if (journalWindow_)
        journalWindow_->journalLost();
    reportLater(text);
    menus_.setCaption(kJournalItem, QStringLiteral("Журнал гаданий (недоступен)"));
}

void TForm1::reportLater(const QString& text) {
    laterReports_ << text;
}

void TForm1::reportQueued() {
    for (const QString& text : std::exchange(laterReports_, {}))
        seams_.reportError(text);
}

// The entry is kept whatever the window's reading again of its list says.
void TForm1::refreshJournalWindow() {
    if (!journalWindow_)
        return;
    try {
        journalWindow_->refresh();
    } catch (const std::exception& e) {
        reportLater(QString::fromUtf8(e.what()));
    }
}

std::int64_t TForm1::recordCast(const divination::LineValues& values, int mode,
                                const std::string& coins, const QString& question) {
    journal::Journal* kept = journal();
    if (!kept)
        return 0;
    try {
        if (!kept->Recording())
            return 0;
        journal::NewCast cast;
        cast.castAt = journal::LocalTimestamp(std::time(nullptr));
        cast.mode = static_cast<journal::Mode>(mode);
        cast.lines = divination::ValueDigits(values);
        cast.coins = coins;
        cast.hexagram = divination::HexagramOf(values);
        cast.relating = divination::RelatingHexagram(values);
        cast.question = question.toStdString();
        const std::int64_t id = kept->Record(cast);
        refreshJournalWindow();
        return id;
    } catch (const std::exception& e) {
        journalFailed(QString::fromUtf8(e.what()));
        return 0;
    }
}

// Before or during a cast the question waits for it; after a cast it is
// that cast's, and a change goes into the journal.
void TForm1::N48Click() {
    const std::optional<QString> text = seams_.askQuestion(question_);
    if (!text)
        return;
    // Refused here, before it is kept: too long a question is the user's to
    // shorten, not a failure of the journal.
    if (static_cast<size_t>(text->toUtf8().size()) > journal::kMaxTextBytes)
        throw base::Error("Вопрос не записан: он длиннее " +
                          std::to_string(journal::kMaxTextBytes) + " байт");
    question_ = *text;
    if (!questionUsed_ || !lastCastId_)
        return;
    if (journal::Journal* kept = journal()) {
        try {
            kept->SetQuestion(lastCastId_, question_.toStdString());
        } catch (const std::exception& e) {
            journalFailed(QString::fromUtf8(e.what()));
        }
        refreshJournalWindow();
    }
    reportQueued();
}

void TForm1::N51Click() {
    if (!journalWindow_) {
        forms::JournalWindow::Seams seams;
        seams.journal = [this] {
            journal::Journal* kept = journal();
            reportQueued();
            return kept;
        };
        seams.openInterpretation = [this](const journal::Cast& cast) { showJournalEntry(cast); };
        seams.showReading = [this](int hexagram) { ShowReading(hexagram); };
        seams.reportError = seams_.reportError;
        journalWindow_ = new forms::JournalWindow(std::move(seams), this);
    }
    journalWindow_->show();
    journalWindow_->raise();
    journalWindow_->activateWindow();
}

void TForm1::showJournalEntry(const journal::Cast& cast) {
    castSubject_ = divination::ValuesFromDigits(cast.lines).value_or(divination::LineValues{});
    journalSubject_ = cast;
    subjectOrigin_ = QStringLiteral("Из журнала, %1. ")
                         .arg(QString::fromStdString(journal::RussianDateTime(cast.castAt)));
    N49Click();
}

journal::Cast TForm1::currentCast() const {
    if (journalSubject_)
        return *journalSubject_;
    divination::LineValues values{};
    journal::Cast cast;
    if (castSubject_) {
        values = *castSubject_;
    } else if (tableSubject_) {
        values = divination::RestingValues(tableSubject_);
    } else if (cast_.lines.complete()) {
        values = cast_.values;
        cast.question = question_.toStdString();
        cast.castAt = journal::LocalTimestamp(std::time(nullptr));
    } else {
        throw base::Error(
            "Нечего выводить: бросьте все шесть черт или откройте толкование из таблицы");
    }
    cast.lines = divination::ValueDigits(values);
    cast.hexagram = divination::HexagramOf(values);
    cast.relating = tableSubject_ ? 0 : divination::RelatingHexagram(values);
    return cast;
}

void TForm1::N52Click() {
    const std::vector<journal::Cast> casts = {currentCast()};
    QPrinter printer(QPrinter::HighResolution);
    if (seams_.choosePrinter(printer))
        forms::PrintCasts(casts, printer);
}

void TForm1::N53Click() {
    const std::vector<journal::Cast> casts = {currentCast()};
    const QString path =
        seams_.chooseSaveFile(QStringLiteral("Сохранить как"),
                              QStringLiteral("PDF (*.pdf);;HTML (*.html *.htm);;Текст (*.txt)"));
    if (path.isEmpty())
        return;
    const std::optional<forms::DocumentFormat> format = forms::FormatOfPath(path);
    if (!format)
        throw base::Error("Файл \"" + path.toStdString() +
                          "\" не сохранён: его имя должно кончаться на .pdf, .html или .txt");
    forms::ExportCasts(casts, path, *format);
}
