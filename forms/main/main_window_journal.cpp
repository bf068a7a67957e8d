// The journal side of the main window: the question, the journal window,
// and print and export of what is on the screen.
#include <QPrinter>
#include <QTimer>

#include "forms/document/cast_document.h"
#include "forms/document/cast_picture.h"
#include "forms/journal/journal_model.h"
#include "forms/journal/journal_sync.h"
#include "forms/journal/journal_window.h"
#include "forms/main/item_names.h"
#include "forms/main/main_window.h"
#include "forms/statistics/statistics_window.h"

using namespace forms;

// The program then works on without the journal until the next start, and
// the menu says so; the journal window lets go of it now.
void TForm1::journalLost() {
    if (journalWindow_)
        journalWindow_->journalLost();
    menus_.setCaption(kJournalItem, QStringLiteral("Журнал гаданий (недоступен)"));
}

// The folder in Preferences.txt, merged as the journal opens. Its reports
// wait for the action that opened the journal, or, from the folder's
// watcher, come at once.
void TForm1::journalOpened() {
    sync_ = new forms::JournalSync([this] { return consultation_.journal(); },
                                   [this](const QString& text) {
                                       consultation_.Report(text.toStdString());
                                       QTimer::singleShot(0, this, [this] { deliverReports(); });
                                   },
                                   [this] {
                                       if (journalWindow_)
                                           journalWindow_->refresh();
                                   },
                                   this);
    const QString folder = QString::fromStdString(preferences().get("syncFolder"));
    if (!folder.isEmpty())
        sync_->setFolder(folder);
}

void TForm1::configureSync() {
    if (!consultation_.journal() || !sync_)
        return;
    const SyncChoice choice = seams_.chooseSync(sync_->statusText());
    switch (choice.action) {
        case SyncChoice::Close:
            return;
        case SyncChoice::SyncNow:
            sync_->syncNow();
            return;
        case SyncChoice::Choose:
            if (choice.folder.isEmpty())
                return;
            sync_->setFolder(choice.folder);
            break;
        case SyncChoice::TurnOff:
            sync_->setFolder({});
            break;
    }
    preferences().set("syncFolder", sync_->folder().toStdString());
}

void TForm1::editQuestion() {
    const std::optional<QString> text =
        seams_.askQuestion(QString::fromStdString(consultation_.question()));
    if (text)
        consultation_.SetQuestion(text->toStdString());
}

void TForm1::showJournal() {
    if (!journalWindow_) {
        forms::JournalWindow::Seams seams;
        // Asked from the journal window's own commands: what opening it
        // left to say is said there and then.
        seams.journal = [this] {
            journal::Journal* kept = consultation_.journal();
            deliverReports();
            return kept;
        };
        seams.openInterpretation = [this](const journal::Cast& cast) { showJournalEntry(cast); };
        seams.showReading = [this](int hexagram) { ShowReading(hexagram); };
        seams.reportError = seams_.reportError;
        seams.school = [this] {
            preferences();
            return consultation_.school();
        };
        seams.configureSync = [this] {
            configureSync();
            deliverReports();
        };
        journalWindow_ = new forms::JournalWindow(std::move(seams), this);
    }
    journalWindow_->show();
    journalWindow_->raise();
    journalWindow_->activateWindow();
}

void TForm1::showStatistics() {
    if (!statisticsWindow_) {
        forms::StatisticsWindow::Seams seams;
        seams.journal = [this] {
            journal::Journal* kept = consultation_.journal();
            deliverReports();
            return kept;
        };
        seams.reportError = seams_.reportError;
        seams.chooseFile = [this](const QString& caption, const QString& filter) {
            return seams_.chooseSaveFile(caption, filter);
        };
        statisticsWindow_ = new forms::StatisticsWindow(std::move(seams), this);
    }
    statisticsWindow_->showFor(journalWindow_ ? journalWindow_->model()->query()
                                              : journal::Query{});
    statisticsWindow_->show();
    statisticsWindow_->raise();
    statisticsWindow_->activateWindow();
}

void TForm1::showJournalEntry(const journal::Cast& cast) {
    consultation_.OpenEntry(cast);
    showInterpretation();
    deliverReports();
}

void TForm1::printCurrent() {
    preferences();  // how changing lines are read
    const std::vector<consultation::Entry> entries = {consultation_.Current()};
    QPrinter printer(QPrinter::HighResolution);
    if (seams_.choosePrinter(printer))
        forms::PrintCasts(entries, printer);
}

void TForm1::saveCurrentAs() {
    preferences();  // how changing lines are read
    const std::vector<consultation::Entry> entries = {consultation_.Current()};
    const QString path =
        seams_.chooseSaveFile(QStringLiteral("Сохранить как"),
                              QStringLiteral("PDF (*.pdf);;HTML (*.html *.htm);;Текст (*.txt);;"
                                             "Рисунок PNG (*.png);;Рисунок SVG (*.svg)"));
    if (path.isEmpty())
        return;
    // The cast alone as a picture: its figure, title, second hexagram, date
    // and question.
    if (const std::optional<forms::PictureFormat> picture = forms::PictureFormatOfPath(path)) {
        forms::WriteCastPicture(entries.front(), path, *picture);
        return;
    }
    const std::optional<forms::DocumentFormat> format = forms::FormatOfPath(path);
    if (!format)
        throw base::Error("Файл \"" + path.toStdString() +
                          "\" не сохранён: его имя должно кончаться на .pdf, .html, .txt, .png "
                          "или .svg");
    forms::ExportCasts(entries, path, *format);
}
