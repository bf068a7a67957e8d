// The journal window's practice of returning to a cast: how it turned out,
// the date to look at it again, the links between questions, an entry drawn
// at random, and the entries written out as CSV.
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDate>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTableView>
#include <QVBoxLayout>

#include "forms/document/csv_export.h"
#include "forms/journal/journal_window.h"
#include "forms/kit/widgets.h"

namespace forms {

namespace {

// How many earlier entries the default «Связать с…» dialog offers.
constexpr int kEarlierShown = 500;

// Which way a link runs, kept with its row in «Связи».
constexpr int kIdRole = Qt::UserRole;
constexpr int kEarlierRole = Qt::UserRole + 1;  // true: this entry follows it up

QString EntryLine(const journal::Cast& cast) {
    QString question = QString::fromStdString(cast.question).simplified();
    if (question.isEmpty())
        question = QStringLiteral("без вопроса");
    return QString::fromStdString(journal::RussianDateTime(cast.castAt)) + QStringLiteral(" — ") +
           question;
}

}  // namespace

void JournalWindow::addPracticeFields(QFormLayout* fields, std::vector<QPushButton*>& linkRow) {
    outcome_ = Named(new QPlainTextEdit(this), "JournalOutcome");
    outcome_->setTabChangesFocus(true);
    outcome_->setFixedHeight(outcome_->fontMetrics().lineSpacing() * 3 + 12);
    SetAccessibleText(outcome_, QStringLiteral("Как всё сложилось"),
                      QStringLiteral("Чем обернулось дело; сохраняется при уходе из поля"));
    outcome_->installEventFilter(this);
    auto* outcomeLabel =
        Named(new QLabel(QStringLiteral("Как всё с&ложилось:"), this), "JournalOutcomeLabel");
    outcomeLabel->setBuddy(outcome_);
    fields->addRow(outcomeLabel, outcome_);

    returnOn_ =
        Named(new QCheckBox(QStringLiteral("Вернуться к гад&анию:"), this), "JournalReturnOn");
    SetAccessibleText(returnOn_, QStringLiteral("Вернуться к гаданию"),
                      QStringLiteral("Назначить дату, когда пересмотреть запись"));
    returnDate_ = RussianDateEdit(this, "JournalReturnDate", QStringLiteral("Дата возвращения"));
    connect(returnOn_, &QCheckBox::clicked, this, Guarded(seams_.reportError, [this] {
                // A new date starts a month on: far enough for things to show.
                const bool on = returnOn_->isChecked();
                if (on && shownReturnOn_.isEmpty())
                    returnDate_->setDate(QDate::fromString(today(), Qt::ISODate).addMonths(1));
                returnDate_->setEnabled(on);
                saveEdits();
            }));
    connect(returnDate_, &QDateEdit::editingFinished, this,
            Guarded(seams_.reportError, [this] { saveEdits(); }));
    connect(returnDate_->calendarWidget(), &QCalendarWidget::clicked, this,
            Guarded(seams_.reportError, [this] { saveEdits(); }));
    auto* returnLine = new QHBoxLayout;
    returnLine->addWidget(returnDate_);
    returnLine->addStretch();
    fields->addRow(returnOn_, returnLine);

    links_ = Named(new QListWidget(this), "JournalLinks");
    links_->setFixedHeight(links_->fontMetrics().height() * 3 + 12);
    SetAccessibleText(links_, QStringLiteral("Связи"),
                      QStringLiteral("Записи, которые эта продолжает, и те, что продолжают её; "
                                     "Enter открывает толкование"));
    connect(links_, &QListWidget::itemActivated, this,
            Guarded(seams_.reportError, [this] { openLink(); }));
    connect(links_, &QListWidget::currentRowChanged, this,
            Guarded(seams_.reportError, [this] { updateCommands(); }));
    commands_.link =
        addCommand("JournalLink", QStringLiteral("Связать с…"), QKeySequence(Qt::CTRL | Qt::Key_L),
                   &JournalWindow::linkEntry, linkRow);
    commands_.unlink = addCommand("JournalUnlink", QStringLiteral("Убрать связь"), {},
                                  &JournalWindow::unlinkEntry, linkRow);
    auto* linksLine = new QHBoxLayout;
    linksLine->addWidget(links_, 1);
    auto* linkButtons = new QVBoxLayout;
    for (QPushButton* button : linkRow)
        linkButtons->addWidget(button);
    linkButtons->addStretch();
    linksLine->addLayout(linkButtons);
    auto* linksLabel = Named(new QLabel(QStringLiteral("Св&язи:"), this), "JournalLinksLabel");
    linksLabel->setBuddy(links_);
    fields->addRow(linksLabel, linksLine);
}

void JournalWindow::showPractice(const journal::Cast* cast) {
    shownOutcome_ = cast ? QString::fromStdString(cast->outcome) : QString();
    shownReturnOn_ = cast ? QString::fromStdString(cast->returnOn) : QString();
    outcome_->setPlainText(shownOutcome_);
    returnOn_->setChecked(!shownReturnOn_.isEmpty());
    // Without a date the field offers the one a click would set, not the
    // edit's own default of 2000.
    returnDate_->setDate(shownReturnOn_.isEmpty()
                             ? QDate::fromString(today(), Qt::ISODate).addMonths(1)
                             : QDate::fromString(shownReturnOn_, Qt::ISODate));
    outcome_->setEnabled(cast != nullptr);
    returnOn_->setEnabled(cast != nullptr);
    returnDate_->setEnabled(cast != nullptr && !shownReturnOn_.isEmpty());
    showLinks();
}

void JournalWindow::showLinks() {
    links_->clear();
    links_->setEnabled(shownId_ != 0 && journal_);
    if (shownId_ == 0 || !journal_)
        return;
    auto add = [this](std::int64_t id, bool earlier) {
        const std::optional<journal::Cast> cast = journal_->Find(id);
        if (!cast)
            return;
        auto* item = new QListWidgetItem(
            (earlier ? QStringLiteral("Продолжает: ") : QStringLiteral("Продолжена: ")) +
                EntryLine(*cast),
            links_);
        item->setData(kIdRole, QVariant::fromValue<qlonglong>(id));
        item->setData(kEarlierRole, earlier);
    };
    for (std::int64_t id : journal_->FollowedUp(shownId_))
        add(id, true);
    for (std::int64_t id : journal_->FollowUps(shownId_))
        add(id, false);
    if (links_->count() > 0)
        links_->setCurrentRow(0);
}

std::optional<bool> JournalWindow::savePractice() {
    const QString outcome = outcome_->toPlainText();
    const QString returnOn =
        returnOn_->isChecked() ? returnDate_->date().toString(Qt::ISODate) : QString();
    if (outcome == shownOutcome_ && returnOn == shownReturnOn_)
        return std::nullopt;
    bool kept = true;
    // Taken as shown first, as the question and the note are.
    if (outcome != shownOutcome_) {
        shownOutcome_ = outcome;
        kept = journal_->SetOutcome(shownId_, outcome.toStdString()) && kept;
    }
    if (returnOn != shownReturnOn_) {
        shownReturnOn_ = returnOn;
        kept = journal_->SetReturnOn(shownId_, returnOn.toStdString()) && kept;
        updateDue();
    }
    return kept;
}

void JournalWindow::updateDue() {
    if (!journal_) {
        due_->clear();
        return;
    }
    const std::int64_t due = journal_->CountDue(today().toStdString());
    due_->setText(due ? QStringLiteral("К пересмотру: %1").arg(due) : QString());
}

void JournalWindow::linkEntry() {
    const journal::Cast* cast = currentCast();
    if (!cast || !journal_)
        return;
    saveEdits();
    const journal::Cast later = *cast;
    const std::int64_t earlier =
        seams_.chooseEarlier ? seams_.chooseEarlier(later) : chooseEarlierDialog(later);
    if (earlier == 0)
        return;
    journal_->Link(later.id, earlier);
    showLinks();
    updateCommands();
}

void JournalWindow::unlinkEntry() {
    const QListWidgetItem* item = links_->currentItem();
    if (!item || !journal_ || shownId_ == 0)
        return;
    const std::int64_t other = item->data(kIdRole).toLongLong();
    if (item->data(kEarlierRole).toBool())
        journal_->Unlink(shownId_, other);
    else
        journal_->Unlink(other, shownId_);
    const int row = links_->currentRow();
    showLinks();
    links_->setCurrentRow(std::min(row, links_->count() - 1));
    updateCommands();
}

void JournalWindow::openLink() {
    const QListWidgetItem* item = links_->currentItem();
    if (!item || !journal_ || !seams_.openInterpretation)
        return;
    saveEdits();
    if (const std::optional<journal::Cast> cast = journal_->Find(item->data(kIdRole).toLongLong()))
        seams_.openInterpretation(*cast);
}

void JournalWindow::openRandom() {
    if (!journal_)
        return;
    saveEdits();
    const auto pick = seams_.pick ? seams_.pick : [](std::int64_t count) -> std::int64_t {
        return QRandomGenerator::global()->bounded(static_cast<qint64>(count));
    };
    const std::optional<journal::Cast> cast = journal_->Random(model_->query(), pick);
    if (!cast)
        return;
    // Selected where the list has it already; opened in any case, since a
    // far page is not fetched for it.
    if (const int row = model_->rowOf(cast->id); row >= 0) {
        list_->selectionModel()->setCurrentIndex(
            model_->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        list_->scrollTo(model_->index(row, 0));
    }
    if (seams_.openInterpretation)
        seams_.openInterpretation(*cast);
}

void JournalWindow::exportCsv() {
    saveEdits();
    const std::vector<journal::Cast> casts = selectedCastsOrAll();
    if (casts.empty())
        return;
    const QString path = seams_.chooseFile(QStringLiteral("Экспорт записей журнала в CSV"),
                                           QStringLiteral("Таблица CSV (*.csv)"), true);
    if (path.isEmpty())
        return;
    WriteCsv(casts, path);
    updateStatus(QStringLiteral("Сохранено в \"%1\"").arg(QDir::toNativeSeparators(path)));
}

std::int64_t JournalWindow::chooseEarlierDialog(const journal::Cast& later) {
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("JournalChooseEarlier"));
    dialog.setWindowTitle(QStringLiteral("Связать с…"));
    SetAccessibleText(&dialog, QStringLiteral("Связать с записью"));
    dialog.resize(520, 360);
    auto* list = Named(new QListWidget(&dialog), "JournalEarlierList");
    SetAccessibleText(list, QStringLiteral("Более ранние записи"),
                      QStringLiteral("Запись, которую продолжает выбранная"));
    for (const journal::Cast& cast : journal_->Page({}, journal::After(later), kEarlierShown)) {
        auto* item = new QListWidgetItem(EntryLine(cast), list);
        item->setData(kIdRole, QVariant::fromValue<qlonglong>(cast.id));
    }
    if (list->count() > 0)
        list->setCurrentRow(0);
    auto* label = new QLabel(QStringLiteral("&Какую запись продолжает эта:"), &dialog);
    label->setBuddy(list);
    auto* buttons = new QDialogButtonBox(&dialog);
    SetAccessibleText(buttons->addButton(QStringLiteral("Связать"), QDialogButtonBox::AcceptRole),
                      QStringLiteral("Связать"));
    SetAccessibleText(buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole),
                      QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(label);
    layout->addWidget(list, 1);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted || !list->currentItem())
        return 0;
    return list->currentItem()->data(kIdRole).toLongLong();
}

}  // namespace forms
