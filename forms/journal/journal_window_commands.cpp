// The journal window's commands: open, delete, clear, the recording switch,
// print and export, and the copy and its restore.
#include "forms/journal/journal_window.h"

#include <QCheckBox>
#include <QDir>
#include <QItemSelectionModel>
#include <QPrinter>
#include <QProgressDialog>
#include <QTableView>

#include <algorithm>
#include <filesystem>

#include "forms/document/cast_document.h"

namespace forms {

namespace {

// Printing and export show a progress window from this many entries on.
constexpr int kProgressFrom = 20;

// Reading everything the list shows, for printing or export with nothing
// selected, in pages of this size.
constexpr int kReadAllPage = 500;

std::filesystem::path FsPath(const QString& path) {
    return std::filesystem::path(path.toStdString());
}

}  // namespace

void JournalWindow::openSelected() {
    saveEdits();
    if (const journal::Cast* cast = currentCast(); cast && seams_.openInterpretation)
        seams_.openInterpretation(*cast);
}

void JournalWindow::showSelectedReading() {
    if (const journal::Cast* cast = currentCast(); cast && seams_.showReading)
        seams_.showReading(divination::HexagramOf(cast->values));
}

void JournalWindow::deleteSelected() {
    const std::vector<int> rows = selectedRows();
    if (rows.empty() || !journal_)
        return;
    saveEdits();
    if (!seams_.confirm(QStringLiteral("Удалить выбранные записи (%1)?").arg(rows.size())))
        return;
    std::vector<std::int64_t> ids;
    for (int row : rows)
        ids.push_back(model_->cast(row).id);
    shownId_ = 0;
    journal_->Delete(ids);
    refresh();
    // The keyboard carries on from where the deleted entries stood.
    const int next = std::min(rows.front(), model_->rowCount() - 1);
    if (next >= 0)
        list_->selectionModel()->setCurrentIndex(
            model_->index(next, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void JournalWindow::clearJournal() {
    if (!journal_)
        return;
    saveEdits();
    if (!seams_.confirm(
            QStringLiteral("Удалить все записи журнала? Это действие нельзя отменить.")))
        return;
    shownId_ = 0;
    journal_->Clear();
    requery();
}

void JournalWindow::setRecording(bool on) {
    journal::Journal* journal = journal_;
    if (!journal)
        return;
    // Shows the journal's own state if the change is refused.
    recording_->setChecked(!on);
    journal->SetRecording(on);
    recording_->setChecked(journal->Recording());
}

std::vector<consultation::Entry> JournalWindow::selectedOrAll() {
    std::vector<consultation::Entry> entries;
    for (const journal::Cast& cast : selectedCastsOrAll())
        entries.push_back(consultation::EntryOf(
            cast, seams_.school ? seams_.school() : divination::School::AllChanging));
    return entries;
}

std::vector<journal::Cast> JournalWindow::selectedCastsOrAll() {
    std::vector<journal::Cast> casts;
    const std::vector<int> rows = selectedRows();
    if (!rows.empty()) {
        for (int row : rows)
            casts.push_back(model_->cast(row));
        return casts;
    }
    if (!journal_)
        return casts;
    // Everything the search shows, also what the list has not fetched yet.
    journal::Position after;
    for (;;) {
        std::vector<journal::Cast> page = journal_->Page(model_->query(), after, kReadAllPage);
        if (page.empty())
            break;
        after = journal::After(page.back());
        const bool last = page.size() < static_cast<size_t>(kReadAllPage);
        casts.insert(casts.end(), std::make_move_iterator(page.begin()),
                     std::make_move_iterator(page.end()));
        if (last)
            break;
    }
    return casts;
}

bool JournalWindow::runWithProgress(
    const QString& caption, int total,
    const std::function<bool(const std::function<bool(int, int)>&)>& work) {
    if (seams_.progress)
        return work(seams_.progress);
    if (total < kProgressFrom)
        return work({});
    QProgressDialog progress(caption, QStringLiteral("Отмена"), 0, total, this);
    progress.setObjectName(QStringLiteral("JournalProgress"));
    progress.setWindowTitle(kJournalTitle);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    return work([&progress](int done, int) {
        progress.setValue(done);
        return !progress.wasCanceled();
    });
}

void JournalWindow::printEntries() {
    saveEdits();
    const std::vector<consultation::Entry> casts = selectedOrAll();
    if (casts.empty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(kJournalTitle);
    if (!seams_.choosePrinter(printer))
        return;
    runWithProgress(
        QStringLiteral("Печать записей журнала…"), static_cast<int>(casts.size()),
        [&](const DocumentProgress& progress) { return PrintCasts(casts, printer, progress); });
}

void JournalWindow::exportEntries() {
    saveEdits();
    const std::vector<consultation::Entry> casts = selectedOrAll();
    if (casts.empty())
        return;
    const QString path = seams_.chooseFile(
        QStringLiteral("Экспорт записей журнала"),
        QStringLiteral("Документ PDF (*.pdf);;Страница HTML (*.html *.htm);;Текст (*.txt)"), true);
    if (path.isEmpty())
        return;
    // Another suffix typed by hand: the plainest of the three.
    const DocumentFormat format = FormatOfPath(path).value_or(DocumentFormat::Text);
    const bool written =
        runWithProgress(QStringLiteral("Экспорт записей журнала…"), static_cast<int>(casts.size()),
                        [&](const DocumentProgress& progress) {
                            return ExportCasts(casts, path, format, progress);
                        });
    if (written)
        updateStatus(QStringLiteral("Сохранено в \"%1\"").arg(QDir::toNativeSeparators(path)));
}

void JournalWindow::backUp() {
    if (!journal_)
        return;
    const QString path =
        seams_.chooseFile(QStringLiteral("Сохранить копию журнала"),
                          QStringLiteral("Журнал гаданий (*.db);;Все файлы (*)"), true);
    if (path.isEmpty())
        return;
    journal_->BackupTo(FsPath(path));
    updateStatus(
        QStringLiteral("Копия журнала сохранена в \"%1\"").arg(QDir::toNativeSeparators(path)));
}

void JournalWindow::restore() {
    if (!journal_)
        return;
    const QString path =
        seams_.chooseFile(QStringLiteral("Восстановить журнал из копии"),
                          QStringLiteral("Журнал гаданий (*.db);;Все файлы (*)"), false);
    if (path.isEmpty())
        return;
    saveEdits();
    const std::int64_t added = journal_->RestoreFrom(FsPath(path));
    refresh();
    seams_.inform(QStringLiteral("Добавлено записей: %1").arg(added));
}

void JournalWindow::configureSync() {
    if (seams_.configureSync)
        seams_.configureSync();
    refresh();  // a merge may have brought entries
}

}  // namespace forms
