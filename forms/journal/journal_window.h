// «Журнал гаданий»: the casts kept in the journal, newest first, searched as
// the user types and filtered by hexagram; each entry's question and note
// edited in place; entries opened, deleted, printed and exported; the journal
// copied to a file and merged back from one.
#pragma once

#include <QDialog>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

#include "consultation/consultation.h"
#include "forms/journal/journal_model.h"
#include "forms/kit/error_report.h"
#include "journal/journal.h"

class QAction;
class QCheckBox;
class QComboBox;
class QItemSelection;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPrinter;
class QPushButton;
class QTableView;
class QTimer;

namespace forms {

inline const QString kJournalTitle = QStringLiteral("Журнал гаданий");

class JournalWindow : public QDialog {
    Q_OBJECT

public:
    // What the window asks of the rest of the program; tests answer these.
    struct Seams {
        // The journal, opened at its first use; nullptr when it can't be had
        // (the caller has said why). Asked again at refresh() while missing.
        std::function<journal::Journal*()> journal;
        std::function<void(const journal::Cast&)> openInterpretation;
        std::function<void(int hexagram)> showReading;
        ErrorReporter reportError;                         // default: the error box
        std::function<bool(const QString& text)> confirm;  // default: «Да»/«Нет»
        std::function<void(const QString& text)> inform;   // default: a message box
        // A file to write (save) or read; empty when the user cancels.
        std::function<QString(const QString& caption, const QString& filter, bool save)> chooseFile;
        std::function<bool(QPrinter&)> choosePrinter;  // default: the print dialog
        // Long printing and export: done of total, false to stop. Default: a
        // progress window with «Отмена».
        std::function<bool(int done, int total)> progress;
    };

    explicit JournalWindow(Seams seams, QWidget* parent = nullptr);

    // Reads the list again after a cast was recorded, keeping the selection
    // and the entries loaded.
    void refresh();
    // The journal failed and is closed: the window lets go of it and shows
    // it as unavailable.
    void journalLost();

    JournalModel* model() const { return model_; }
    // A command by its object name, as tests find it.
    QAction* command(const char* name) const;

    // The handlers of the commands.
    void openSelected();
    void showSelectedReading();
    void deleteSelected();
    void clearJournal();
    void printEntries();
    void exportEntries();
    void backUp();
    void restore();
    void setRecording(bool on);
    // Runs the search typed so far now rather than after the typing pause.
    void applySearch();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    journal::Journal* journal();
    void load();
    void requery();
    std::vector<consultation::Entry> selectedOrAll();
    std::vector<int> selectedRows() const;
    const journal::Cast* currentCast() const;
    void selectionChanged();
    void showEntry();
    void saveEdits();
    void updateCommands();
    // "Записей: N", followed by what a command has just done, if anything.
    void updateStatus(const QString& done = {});
    bool runWithProgress(const QString& caption, int total,
                         const std::function<bool(const std::function<bool(int, int)>&)>& work);
    // The command's action and its button, added at the end of `row`.
    QAction* addCommand(const char* name, const QString& text, const QKeySequence& key,
                        void (JournalWindow::*handler)(), std::vector<QPushButton*>& row);

    Seams seams_;
    journal::Journal* journal_ = nullptr;
    bool asked_ = false;
    JournalModel* model_ = nullptr;
    QLineEdit* search_ = nullptr;
    QComboBox* filter_ = nullptr;
    QTimer* searchTimer_ = nullptr;
    QTableView* list_ = nullptr;
    QLineEdit* question_ = nullptr;
    QPlainTextEdit* note_ = nullptr;
    QCheckBox* recording_ = nullptr;
    QLabel* status_ = nullptr;
    struct {
        QAction* open = nullptr;
        QAction* showReading = nullptr;
        QAction* remove = nullptr;
        QAction* print = nullptr;
        QAction* exportEntries = nullptr;
        QAction* clear = nullptr;
        QAction* backUp = nullptr;
        QAction* restore = nullptr;
    } commands_;
    // The entry the question and note fields show, and what they held when
    // it was shown: only a change is written back.
    std::int64_t shownId_ = 0;
    QString shownQuestion_;
    QString shownNote_;
};

}  // namespace forms
