// The journal window: the list, the search and the filter, the entry's
// question and note edited in place, and the commands' buttons and keys.
#include "forms/journal/journal_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

#include "forms/kit/widgets.h"

namespace forms {

namespace {

// The pause after a keystroke before the list is searched again: typing a
// word runs one search, not one a letter.
constexpr int kSearchPauseMs = 150;

bool AskYesNo(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, kApplicationTitle, text, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Нет"), QMessageBox::NoRole);
    // Enter alone never deletes.
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void Inform(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Information, kApplicationTitle, text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace

JournalWindow::JournalWindow(Seams seams, QWidget* parent)
    : QDialog(parent), seams_(std::move(seams)) {
    answerSeams();
    buildWindow();
    showEntry();
    updateCommands();
    updateStatus();
}

void JournalWindow::answerSeams() {
    if (!seams_.reportError)
        seams_.reportError = ShowErrorBox;
    if (!seams_.confirm)
        seams_.confirm = [this](const QString& text) { return AskYesNo(this, text); };
    if (!seams_.inform)
        seams_.inform = [this](const QString& text) { Inform(this, text); };
    if (!seams_.chooseFile)
        seams_.chooseFile = [this](const QString& caption, const QString& filter, bool save) {
            return forms::ChooseFile(this, caption, filter, save);
        };
    if (!seams_.choosePrinter)
        seams_.choosePrinter = [this](QPrinter& printer) {
            QPrintDialog dialog(&printer, this);
            return dialog.exec() == QDialog::Accepted;
        };
}

void JournalWindow::buildWindow() {
    setObjectName(QStringLiteral("JournalWindow"));
    setWindowTitle(kJournalTitle);
    SetAccessibleText(this, kJournalTitle);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setAttribute(Qt::WA_QuitOnClose, false);
    setModal(false);
    setSizeGripEnabled(true);
    resize(760, 520);

    // Search and filter.
    search_ = Named(new QLineEdit(this), "JournalSearch");
    search_->setPlaceholderText(QStringLiteral("Поиск по вопросам, заметкам и названиям"));
    search_->setClearButtonEnabled(true);
    SetAccessibleText(search_, QStringLiteral("Поиск"),
                      QStringLiteral("Начала слов из вопросов, заметок и названий гексаграмм"));
    filter_ = Named(new QComboBox(this), "JournalFilter");
    filter_->addItem(QStringLiteral("Все гексаграммы"));
    for (int n = 1; n <= 64; ++n)
        filter_->addItem(HexagramTitle(n));
    filter_->setMaxVisibleItems(20);
    SetAccessibleText(filter_, QStringLiteral("Гексаграмма"),
                      QStringLiteral("Показывать записи только этой гексаграммы"));
    auto* searchLabel = Named(new QLabel(QStringLiteral("&Поиск:"), this), "JournalSearchLabel");
    searchLabel->setBuddy(search_);
    auto* filterLabel =
        Named(new QLabel(QStringLiteral("&Гексаграмма:"), this), "JournalFilterLabel");
    filterLabel->setBuddy(filter_);
    searchTimer_ = Named(new QTimer(this), "JournalSearchTimer");
    searchTimer_->setSingleShot(true);
    searchTimer_->setInterval(kSearchPauseMs);

    // The list.
    model_ = Named(new JournalModel(seams_.reportError, this), "JournalModel");
    list_ = Named(new QTableView(this), "JournalList");
    list_->setModel(model_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setTabKeyNavigation(false);  // Tab leaves the list for the fields below
    list_->setAlternatingRowColors(true);
    list_->setWordWrap(false);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 8);
    list_->horizontalHeader()->setSectionResizeMode(JournalModel::Question, QHeaderView::Stretch);
    list_->horizontalHeader()->setHighlightSections(false);
    list_->setColumnWidth(JournalModel::When, 190);
    list_->setColumnWidth(JournalModel::Hexagram, 300);
    SetAccessibleText(list_, QStringLiteral("Записи журнала"),
                      QStringLiteral("Новые сверху; Enter открывает толкование записи"));

    // The selected entry's own words.
    question_ = Named(new QLineEdit(this), "JournalQuestion");
    SetAccessibleText(
        question_, QStringLiteral("Вопрос"),
        QStringLiteral("Вопрос выбранной записи; сохраняется, когда правка окончена"));
    note_ = Named(new QPlainTextEdit(this), "JournalNote");
    note_->setTabChangesFocus(true);
    note_->setFixedHeight(note_->fontMetrics().lineSpacing() * 4 + 12);
    SetAccessibleText(note_, QStringLiteral("Заметка"),
                      QStringLiteral("Заметка к выбранной записи; сохраняется при уходе из поля"));
    note_->installEventFilter(this);
    list_->installEventFilter(this);
    auto* fields = new QFormLayout;
    auto* questionLabel =
        Named(new QLabel(QStringLiteral("&Вопрос:"), this), "JournalQuestionLabel");
    questionLabel->setBuddy(question_);
    auto* noteLabel = Named(new QLabel(QStringLiteral("&Заметка:"), this), "JournalNoteLabel");
    noteLabel->setBuddy(note_);
    fields->addRow(questionLabel, question_);
    fields->addRow(noteLabel, note_);
    std::vector<QPushButton*> linkRow;
    addPracticeFields(fields, linkRow);

    std::vector<QPushButton*> entryRow, journalRow;
    buildCommands(entryRow, journalRow);

    status_ = Named(new QLabel(this), "JournalStatus");
    SetAccessibleText(status_, QStringLiteral("Состояние журнала"));
    due_ = Named(new QLabel(this), "JournalDue");
    SetAccessibleText(due_, QStringLiteral("Записи к пересмотру"));
    QWidget* structure = buildStructurePanel();
    arrange(entryRow, journalRow, linkRow, fields, structure);
}

void JournalWindow::buildCommands(std::vector<QPushButton*>& entryRow,
                                  std::vector<QPushButton*>& journalRow) {
    // Commands. Return and Delete belong to the list alone: in the text
    // fields they end a line and delete a letter.
    commands_.open = addCommand("JournalOpen", QStringLiteral("Открыть"), {},
                                &JournalWindow::openSelected, entryRow);
    commands_.open->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    commands_.open->setShortcutContext(Qt::WidgetShortcut);
    list_->addAction(commands_.open);
    commands_.showReading = addCommand(
        "JournalShowReading", QStringLiteral("Показать толкование в главном окне"),
        QKeySequence(Qt::CTRL | Qt::Key_R), &JournalWindow::showSelectedReading, entryRow);
    commands_.remove = addCommand("JournalDelete", QStringLiteral("Удалить…"), {},
                                  &JournalWindow::deleteSelected, entryRow);
    commands_.remove->setShortcut(QKeySequence(QKeySequence::Delete));
    commands_.remove->setShortcutContext(Qt::WidgetShortcut);
    list_->addAction(commands_.remove);
    commands_.print =
        addCommand("JournalPrint", QStringLiteral("Печать…"), QKeySequence(Qt::CTRL | Qt::Key_P),
                   &JournalWindow::printEntries, entryRow);
    commands_.exportEntries =
        addCommand("JournalExport", QStringLiteral("Экспорт…"), QKeySequence(Qt::CTRL | Qt::Key_S),
                   &JournalWindow::exportEntries, entryRow);
    commands_.exportCsv = addCommand("JournalExportCsv", QStringLiteral("Экспорт CSV…"),
                                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
                                     &JournalWindow::exportCsv, entryRow);
    commands_.random = addCommand("JournalRandom", QStringLiteral("Случайная запись"),
                                  QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R),
                                  &JournalWindow::openRandom, journalRow);
    commands_.clear = addCommand("JournalClear", QStringLiteral("Очистить журнал…"), {},
                                 &JournalWindow::clearJournal, journalRow);
    commands_.backUp = addCommand("JournalBackup", QStringLiteral("Сохранить копию журнала…"), {},
                                  &JournalWindow::backUp, journalRow);
    commands_.restore = addCommand("JournalRestore", QStringLiteral("Восстановить из копии…"), {},
                                   &JournalWindow::restore, journalRow);
    commands_.sync = addCommand("JournalSync", QStringLiteral("Синхронизация…"), {},
                                &JournalWindow::configureSync, journalRow);
    recording_ = Named(new QCheckBox(QStringLiteral("Вести журнал"), this), "JournalRecording");
    SetAccessibleText(recording_, QStringLiteral("Вести журнал"),
                      QStringLiteral("Записывать каждое новое гадание в журнал"));
    auto* close = Named(new QPushButton(QStringLiteral("Закрыть"), this), "JournalClose");
    close->setAutoDefault(false);
    SetAccessibleText(close, QStringLiteral("Закрыть"), QStringLiteral("Закрыть журнал"));
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

void JournalWindow::arrange(const std::vector<QPushButton*>& entryRow,
                            const std::vector<QPushButton*>& journalRow,
                            const std::vector<QPushButton*>& linkRow, QFormLayout* fields,
                            QWidget* structure) {
    auto* close = findChild<QPushButton*>(QStringLiteral("JournalClose"));
    auto* searchLabel = findChild<QLabel*>(QStringLiteral("JournalSearchLabel"));
    auto* filterLabel = findChild<QLabel*>(QStringLiteral("JournalFilterLabel"));

    // Layout: search over the list, the fields, two rows of commands, the status.
    auto* top = new QHBoxLayout;
    top->addWidget(searchLabel);
    top->addWidget(search_, 1);
    top->addWidget(filterLabel);
    top->addWidget(filter_);
    auto* structureLine = new QHBoxLayout;
    structureLine->addWidget(structureToggle_);
    structureLine->addStretch();
    auto* entryLine = new QHBoxLayout;
    for (QPushButton* button : entryRow)
        entryLine->addWidget(button);
    entryLine->addStretch();
    auto* journalLine = new QHBoxLayout;
    journalLine->addWidget(recording_);
    for (QPushButton* button : journalRow)
        journalLine->addWidget(button);
    journalLine->addStretch();
    journalLine->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(structureLine);
    layout->addWidget(structure);
    layout->addWidget(list_, 1);
    layout->addLayout(fields);
    layout->addLayout(entryLine);
    layout->addLayout(journalLine);
    auto* statusLine = new QHBoxLayout;
    statusLine->addWidget(status_, 1);
    statusLine->addWidget(due_);
    layout->addLayout(statusLine);

    // Top to bottom as the controls stand: search, the structure panel, the
    // list, the entry's fields and links, then the commands.
    QWidget* previous = search_;
    for (QWidget* next : std::initializer_list<QWidget*>{
             filter_, structureToggle_, place_, line_, trigram_, trigramPlace_, method_, fromOn_,
             from_, toOn_, to_, dueOnly_, list_, question_, note_, outcome_, returnOn_, returnDate_,
             links_})
        setTabOrder(std::exchange(previous, next), next);
    for (QPushButton* button : linkRow)
        setTabOrder(std::exchange(previous, button), button);
    for (QPushButton* button : entryRow)
        setTabOrder(std::exchange(previous, button), button);
    setTabOrder(std::exchange(previous, recording_), recording_);
    for (QPushButton* button : journalRow)
        setTabOrder(std::exchange(previous, button), button);
    setTabOrder(previous, close);
    connectSignals();
}

void JournalWindow::connectSignals() {
    connect(search_, &QLineEdit::textChanged, searchTimer_, qOverload<>(&QTimer::start));
    connect(searchTimer_, &QTimer::timeout, this,
            Guarded(seams_.reportError, [this] { applySearch(); }));
    connect(filter_, &QComboBox::currentIndexChanged, this,
            Guarded(seams_.reportError, [this] { applySearch(); }));
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            Guarded(seams_.reportError, [this] { selectionChanged(); }));
    connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            Guarded(seams_.reportError, [this] { updateCommands(); }));
    connect(list_, &QTableView::doubleClicked, this,
            Guarded(seams_.reportError, [this] { openSelected(); }));
    connect(question_, &QLineEdit::editingFinished, this,
            Guarded(seams_.reportError, [this] { saveEdits(); }));
    connect(recording_, &QCheckBox::clicked, this,
            [this](bool on) { RunGuarded(seams_.reportError, [this, on] { setRecording(on); }); });
}

QAction* JournalWindow::addCommand(const char* name, const QString& text, const QKeySequence& key,
                                   void (JournalWindow::*handler)(),
                                   std::vector<QPushButton*>& row) {
    auto* action = Named(new QAction(text, this), name);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(action);
    connect(action, &QAction::triggered, this,
            Guarded(seams_.reportError, [this, handler] { (this->*handler)(); }));

    auto* button = Named(new QPushButton(text, this), (QByteArray(name) + "Button").constData());
    // A dialog's buttons take Return by default; here Return finishes a
    // field or opens an entry, never presses a button unseen.
    button->setAutoDefault(false);
    QString spoken = text;
    spoken.remove(QChar(u'…'));
    SetAccessibleText(button, spoken);
    connect(button, &QPushButton::clicked, action, &QAction::trigger);
    connect(action, &QAction::changed, button, Guarded(seams_.reportError, [action, button] {
                button->setEnabled(action->isEnabled());
                const QKeySequence shortcut = action->shortcut();
                button->setToolTip(
                    shortcut.isEmpty() ? QString() : shortcut.toString(QKeySequence::NativeText));
            }));
    emit action->changed();
    row.push_back(button);
    return action;
}

QAction* JournalWindow::command(const char* name) const {
    return findChild<QAction*>(QString::fromLatin1(name));
}

journal::Journal* JournalWindow::journal() {
    if (!asked_) {
        asked_ = true;
        if (seams_.journal)
            RunGuarded(seams_.reportError, [this] { journal_ = seams_.journal(); });
    }
    return journal_;
}

void JournalWindow::journalLost() {
    // What is typed now has nowhere to go; the fields are emptied with the list.
    shownId_ = 0;
    journal_ = nullptr;
    model_->reset(nullptr, model_->query());
    showEntry();
    updateCommands();
    updateStatus();
    updateDue();
}

void JournalWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The journal is opened when the window is first shown, not when the
    // program starts.
    if (!asked_) {
        RunGuarded(seams_.reportError, [this] { load(); });
        search_->setFocus();
    }
}

void JournalWindow::hideEvent(QHideEvent* event) {
    RunGuarded(seams_.reportError, [this] { saveEdits(); });
    QDialog::hideEvent(event);
}

bool JournalWindow::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == note_ || watched == outcome_) && event->type() == QEvent::FocusOut)
        RunGuarded(seams_.reportError, [this] { saveEdits(); });
    // Reached with Tab, the list has a current row but none selected: the
    // row the keyboard stands on is the one Return opens.
    if (watched == list_ && event->type() == QEvent::FocusIn &&
        !list_->selectionModel()->hasSelection() && model_->rowCount() > 0) {
        const QModelIndex current = list_->currentIndex();
        list_->selectRow(current.isValid() ? current.row() : 0);
    }
    return QDialog::eventFilter(watched, event);
}

void JournalWindow::load() {
    journal::Journal* journal = this->journal();
    if (journal)
        recording_->setChecked(journal->Recording());
    requery();
}

void JournalWindow::requery() {
    saveEdits();
    const journal::Query query = currentQuery();
    // The fields are emptied first: a failed read must not leave them
    // showing an entry the list no longer has.
    shownId_ = 0;
    try {
        model_->reset(journal_, query);
    } catch (...) {
        showEntry();
        updateCommands();
        updateStatus();
        throw;
    }
    showEntry();
    updateCommands();
    updateStatus();
    updateDue();
}

void JournalWindow::applySearch() {
    searchTimer_->stop();
    if (!asked_)
        return;  // the first show reads the list with the search as it is
    requery();
}

void JournalWindow::refresh() {
    if (!asked_)
        return;  // not shown yet: the first show reads the journal
    if (!journal_) {
        // Perhaps it can be had now.
        asked_ = false;
        load();
        return;
    }
    saveEdits();
    std::set<std::int64_t> selected;
    for (int row : selectedRows())
        selected.insert(model_->cast(row).id);
    const QModelIndex current = list_->currentIndex();
    const std::int64_t currentId = current.isValid() ? model_->cast(current.row()).id : 0;
    shownId_ = 0;
    recording_->setChecked(journal_->Recording());
    try {
        model_->reload();
    } catch (...) {
        showEntry();
        updateCommands();
        updateStatus();
        throw;
    }
    QItemSelection selection;
    for (int row = 0; row < model_->rowCount(); ++row)
        if (selected.count(model_->cast(row).id))
            selection.select(model_->index(row, 0),
                             model_->index(row, JournalModel::ColumnCount - 1));
    const int currentRow = currentId ? model_->rowOf(currentId) : -1;
    if (currentRow >= 0)
        list_->selectionModel()->setCurrentIndex(model_->index(currentRow, 0),
                                                 QItemSelectionModel::NoUpdate);
    list_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    showEntry();
    updateCommands();
    updateStatus();
    updateDue();
}

std::vector<int> JournalWindow::selectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

const journal::Cast* JournalWindow::currentCast() const {
    const QModelIndex current = list_->currentIndex();
    if (current.isValid() && list_->selectionModel()->isRowSelected(current.row(), {}))
        return &model_->cast(current.row());
    const std::vector<int> rows = selectedRows();
    return rows.size() == 1 ? &model_->cast(rows.front()) : nullptr;
}

void JournalWindow::selectionChanged() {
    // What was typed for the entry left behind is kept before the fields
    // show the next one; showEntry runs even when that fails.
    struct Show {
        JournalWindow* window;
        ~Show() {
            window->showEntry();
            window->updateCommands();
        }
    } show{this};
    saveEdits();
}

void JournalWindow::showEntry() {
    const std::vector<int> rows = selectedRows();
    const journal::Cast* cast = rows.size() == 1 ? &model_->cast(rows.front()) : nullptr;
    const std::int64_t id = cast ? cast->id : 0;
    if (id == shownId_ && id != 0)
        return;
    shownId_ = id;
    shownQuestion_ = cast ? QString::fromStdString(cast->question) : QString();
    shownNote_ = cast ? QString::fromStdString(cast->note) : QString();
    question_->setText(shownQuestion_);
    question_->setCursorPosition(0);
    note_->setPlainText(shownNote_);
    question_->setEnabled(cast != nullptr);
    note_->setEnabled(cast != nullptr);
    showPractice(cast);
}

void JournalWindow::saveEdits() {
    if (shownId_ == 0 || !journal_)
        return;
    const QString question = question_->text();
    const QString note = note_->toPlainText();
    // Taken as shown before writing: a refused text is reported once, not
    // again at every focus change, and stays in the field to be corrected.
    const bool questionChanged = question != shownQuestion_;
    const bool noteChanged = note != shownNote_;
    shownQuestion_ = question;
    shownNote_ = note;
    bool kept = true;
    if (questionChanged)
        kept = journal_->SetQuestion(shownId_, question.toStdString()) && kept;
    if (noteChanged)
        kept = journal_->SetNote(shownId_, note.toStdString()) && kept;
    const std::optional<bool> practiceKept = savePractice();
    if (!questionChanged && !noteChanged && !practiceKept)
        return;
    kept = kept && practiceKept.value_or(true);
    // Gone (another running copy deleted it): it leaves the list at the
    // next reading; the row shows what it held.
    if (kept)
        model_->refreshEntry(shownId_);
}

void JournalWindow::updateCommands() {
    const bool have = journal_ != nullptr;
    const bool any = have && model_->total() > 0;
    const bool one = currentCast() != nullptr;
    commands_.open->setEnabled(one);
    commands_.showReading->setEnabled(one);
    commands_.remove->setEnabled(!selectedRows().empty());
    commands_.print->setEnabled(any);
    commands_.exportEntries->setEnabled(any);
    commands_.exportCsv->setEnabled(any);
    commands_.random->setEnabled(any);
    commands_.link->setEnabled(one);
    commands_.unlink->setEnabled(one && links_->currentItem() != nullptr);
    commands_.clear->setEnabled(have);
    commands_.backUp->setEnabled(have);
    commands_.restore->setEnabled(have);
    recording_->setEnabled(have);
    search_->setEnabled(have);
    filter_->setEnabled(have);
    structureToggle_->setEnabled(have);
}

void JournalWindow::updateStatus(const QString& done) {
    if (!asked_)
        status_->clear();
    else if (!journal_)
        status_->setText(QStringLiteral("Журнал недоступен"));
    else if (done.isEmpty())
        status_->setText(QStringLiteral("Записей: %1").arg(model_->total()));
    else
        status_->setText(QStringLiteral("Записей: %1. %2").arg(model_->total()).arg(done));
}

}  // namespace forms
