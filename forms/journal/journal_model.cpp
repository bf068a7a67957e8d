// The journal window's list: entries read a page at a time as the view
// scrolls, never the whole journal at once.
#include "forms/journal/journal_model.h"

#include "divination/hexagrams.h"
#include "divination/interpretation.h"

namespace forms {

QString HexagramTitle(int n) {
    return n >= 1 && n <= 64 ? QString::fromStdString(divination::NumberAndName(n)) : QString();
}

JournalModel::JournalModel(ErrorReporter reportError, QObject* parent)
    : QAbstractTableModel(parent), reportError_(std::move(reportError)) {}

void JournalModel::reset(journal::Journal* journal, const journal::Query& query) {
    beginResetModel();
    journal_ = journal;
    query_ = query;
    rows_.clear();
    total_ = 0;
    atEnd_ = true;
    load(kPageSize);
}

void JournalModel::reload() {
    const int count = std::max<int>(kPageSize, static_cast<int>(rows_.size()));
    beginResetModel();
    load(count);
}

void JournalModel::load(int count) {
    try {
        if (journal_) {
            total_ = journal_->Count(query_);
            rows_ = journal_->Page(query_, {}, count);
            atEnd_ = rows_.size() < static_cast<size_t>(count);
        }
    } catch (...) {
        endResetModel();
        throw;
    }
    endResetModel();
}

bool JournalModel::refreshEntry(std::int64_t id) {
    const int row = rowOf(id);
    if (row < 0 || !journal_)
        return false;
    const std::optional<journal::Cast> cast = journal_->Find(id);
    if (!cast)
        return false;
    rows_[static_cast<size_t>(row)] = *cast;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    return true;
}

int JournalModel::rowOf(std::int64_t id) const {
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].id == id)
            return static_cast<int>(i);
    return -1;
}

int JournalModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int JournalModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant JournalModel::data(const QModelIndex& index, int role) const {
    // The note, which has no column, shows as the question's tooltip.
    const bool tooltip = role == Qt::ToolTipRole && index.column() == Question;
    if (!index.isValid() || index.row() >= rowCount() || (role != Qt::DisplayRole && !tooltip))
        return {};
    const journal::Cast& cast = rows_[static_cast<size_t>(index.row())];
    switch (index.column()) {
        case When:
            return QString::fromStdString(journal::RussianDateTime(cast.castAt));
        case Question: {
            if (role == Qt::ToolTipRole)
                return cast.note.empty() ? QVariant() : QVariant(QString::fromStdString(cast.note));
            // One line in the list, however the question was typed.
            QString question = QString::fromStdString(cast.question);
            question.replace(QLatin1Char('\n'), QLatin1Char(' '));
            return question;
        }
        case Hexagram: {
            const divination::Interpretation reading =
                divination::Interpret(divination::Subject::OfEntry(cast.values));
            QString text = HexagramTitle(reading.hexagram);
            if (reading.second != 0)
                text += QStringLiteral(" → ") + HexagramTitle(reading.second);
            return text;
        }
        default:
            return {};
    }
}

QVariant JournalModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
        case When:
            return QStringLiteral("Когда");
        case Question:
            return QStringLiteral("Вопрос");
        case Hexagram:
            return QStringLiteral("Гексаграмма");
        default:
            return {};
    }
}

bool JournalModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && journal_ && !atEnd_;
}

void JournalModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent))
        return;
    // Called from the view's painting: a failure ends the list here, once,
    // rather than being raised again at every scroll.
    atEnd_ = true;
    RunGuarded(reportError_, [this] {
        const journal::Position after =
            rows_.empty() ? journal::Position{} : journal::After(rows_.back());
        std::vector<journal::Cast> page = journal_->Page(query_, after, kPageSize);
        if (page.empty())
            return;
        const int first = static_cast<int>(rows_.size());
        beginInsertRows({}, first, first + static_cast<int>(page.size()) - 1);
        rows_.insert(rows_.end(), std::make_move_iterator(page.begin()),
                     std::make_move_iterator(page.end()));
        endInsertRows();
        atEnd_ = page.size() < static_cast<size_t>(kPageSize);
    });
}

}  // namespace forms
