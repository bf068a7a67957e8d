// «Журнал гаданий»: the casts kept in the journal, newest first, searched as
// the user types and by the structure of the casts; each entry's question,
// note, outcome, date to return and links edited in place; entries opened,
// drawn at random, deleted, printed and exported; the journal copied to a
// file and merged back from one.
#pragma once

#include <QDialog>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "consultation/consultation.h"
#include "forms/journal/journal_model.h"
#include "forms/kit/error_report.h"
#include "journal/journal.h"

class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QFormLayout;
class QGridLayout;
class QItemSelection;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPrinter;
class QPushButton;
class QTableView;
class QTimer;
class QToolButton;

namespace forms {

inline const QString kJournalTitle = QStringLiteral("Журнал гаданий");

// A date field as the journal window shows dates: «9 декабря 2026».
QDateEdit* RussianDateEdit(QWidget* parent, const char* name, const QString& spoken);

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
        // «Связать с…»: the earlier entry `later` follows up, 0 when the user
        // cancels. Default: a list of the entries older than it.
        std::function<std::int64_t(const journal::Cast& later)> chooseEarlier;
        // «Случайная запись»: one of 0…count − 1. Default: the system's random source.
        std::function<std::int64_t(std::int64_t count)> pick;
        // Today's local date, "2026-12-09", for the entries to look at again.
        // Default: the system's clock.
        std::function<QString()> today;
        // «Синхронизация…»: the folder journals are kept in step through.
        std::function<void()> configureSync;
        // How changing lines are read in what the window prints and exports.
        std::function<divination::School()> school;
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
    // «Связать с…», «Убрать связь», the link under the cursor opened.
    void linkEntry();
    void unlinkEntry();
    void openLink();
    void openRandom();
    // The entries shown (the selected ones, or all the search finds) as CSV.
    void exportCsv();
    void configureSync();
    // Runs the search typed so far now rather than after the typing pause.
    void applySearch();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The construction, in its steps.
    void answerSeams();
    void buildWindow();
    void buildCommands(std::vector<QPushButton*>& entryRow, std::vector<QPushButton*>& journalRow);
    void arrange(const std::vector<QPushButton*>& entryRow,
                 const std::vector<QPushButton*>& journalRow,
                 const std::vector<QPushButton*>& linkRow, QFormLayout* fields, QWidget* structure);
    void connectSignals();
    journal::Journal* journal();
    void load();
    void requery();
    std::vector<journal::Cast> selectedCastsOrAll();
    std::vector<consultation::Entry> selectedOrAll();
    // The search typed and the structure panel's conditions.
    journal::Query currentQuery() const;
    QString today() const;
    // The structure panel, collapsed under the search field.
    QWidget* buildStructurePanel();
    void addStructureRows(QGridLayout* grid);
    void structureChanged();
    // The outcome, the date to return and the links, under the note.
    void addPracticeFields(QFormLayout* fields, std::vector<QPushButton*>& linkRow);
    void showPractice(const journal::Cast* cast);
    void showLinks();
    // Writes back the outcome and the date when changed: nullopt when
    // neither was, false when the entry is gone.
    std::optional<bool> savePractice();
    void updateDue();
    std::int64_t chooseEarlierDialog(const journal::Cast& later);
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
    QLabel* due_ = nullptr;
    // The structure panel.
    QToolButton* structureToggle_ = nullptr;
    QWidget* structure_ = nullptr;
    QComboBox* place_ = nullptr;
    QComboBox* line_ = nullptr;
    QComboBox* trigram_ = nullptr;
    QComboBox* trigramPlace_ = nullptr;
    QComboBox* method_ = nullptr;
    QCheckBox* fromOn_ = nullptr;
    QCheckBox* toOn_ = nullptr;
    QDateEdit* from_ = nullptr;
    QDateEdit* to_ = nullptr;
    QCheckBox* dueOnly_ = nullptr;
    // How it turned out, and what it links to.
    QPlainTextEdit* outcome_ = nullptr;
    QCheckBox* returnOn_ = nullptr;
    QDateEdit* returnDate_ = nullptr;
    QListWidget* links_ = nullptr;
    struct {
        QAction* open = nullptr;
        QAction* showReading = nullptr;
        QAction* remove = nullptr;
        QAction* print = nullptr;
        QAction* exportEntries = nullptr;
        QAction* clear = nullptr;
        QAction* backUp = nullptr;
        QAction* restore = nullptr;
        QAction* link = nullptr;
        QAction* unlink = nullptr;
        QAction* random = nullptr;
        QAction* exportCsv = nullptr;
        QAction* sync = nullptr;
    } commands_;
    // The entry the fields show, and what they held when
    // it was shown: only a change is written back.
    std::int64_t shownId_ = 0;
    QString shownQuestion_;
    QString shownNote_;
    QString shownOutcome_;
    QString shownReturnOn_;
};

}  // namespace forms
