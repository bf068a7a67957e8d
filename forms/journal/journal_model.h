// The journal window's list: one query's entries, a page at a time.
#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <cstdint>
#include <vector>

#include "forms/kit/error_report.h"
#include "journal/journal.h"

namespace forms {

// "3. Начальная трудность"; empty for a number that is no hexagram.
QString HexagramTitle(int n);

// The list's rows: one query's entries, fetched a page at a time as the
// view scrolls down, never the whole journal at once.
class JournalModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { When, Question, Hexagram, ColumnCount };
    static constexpr int kPageSize = 100;

    explicit JournalModel(ErrorReporter reportError, QObject* parent = nullptr);

    // Starts the list over for this journal (or none) and query, with its
    // first page. Throws the journal's errors.
    void reset(journal::Journal* journal, const journal::Query& query);
    // Reads again as many entries as are loaded now, at least a page.
    void reload();
    // The entry read again after an edit; false when it is gone.
    bool refreshEntry(std::int64_t id);

    const journal::Query& query() const { return query_; }
    std::int64_t total() const { return total_; }
    const journal::Cast& cast(int row) const { return rows_[static_cast<size_t>(row)]; }
    int rowOf(std::int64_t id) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // The view asks for more as it nears the end; a failure is reported and
    // ends the list where it is.
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    // Reads the first `count` entries and ends the reset the caller began,
    // also when the journal throws.
    void load(int count);

    ErrorReporter reportError_;
    journal::Journal* journal_ = nullptr;
    journal::Query query_;
    std::vector<journal::Cast> rows_;
    std::int64_t total_ = 0;
    bool atEnd_ = true;
};

}  // namespace forms
