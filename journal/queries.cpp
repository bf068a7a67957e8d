// What the journal window lists and «Статистика» counts: the conditions of a
// query, the pages of entries newest first, and the counts of a topic.
#include <algorithm>
#include <variant>

#include "journal/internal.h"
#include "journal/journal.h"

namespace journal {

using internal::FileError;
using internal::Reading;
using internal::SqliteReason;

namespace {

using Value = std::variant<std::int64_t, std::string>;

// The WHERE clause of a query and the values its "?" stand for, in order.
struct Where {
    std::string sql;
    std::vector<Value> values;

    void add(const std::string& condition, std::vector<Value> bound = {}) {
        sql += (sql.empty() ? " WHERE " : " AND ") + condition;
        values.insert(values.end(), bound.begin(), bound.end());
    }
    // Binds from ?1 on; returns the next free index.
    int bind(SQLite::Statement& statement) const {
        int index = 1;
        for (const Value& value : values) {
            if (const auto* number = std::get_if<std::int64_t>(&value))
                statement.bind(index++, *number);
            else
                statement.bind(index++, std::get<std::string>(value));
        }
        return index;
    }
};

const char* PlaceColumn(Place place) {
    switch (place) {
        case Place::Cast:
            return "hexagram";
        case Place::Second:
            return "relating";
        case Place::Nuclear:
            return "nuclear";
        case Place::Opposite:
            return "opposite";
        case Place::Inverted:
            return "inverted";
        case Place::Any:
            break;
    }
    return nullptr;
}

Where Conditions(const Query& query) {
    Where where;
    if (query.hexagram != 0) {
        const std::int64_t n = query.hexagram;
        if (const char* column = PlaceColumn(query.place))
            where.add(std::string(column) + " = ?", {n});
        else
            where.add(
                "(hexagram = ? OR relating = ? OR nuclear = ? OR opposite = ? OR "
                "inverted = ?)",
                {n, n, n, n, n});
    }
    if (query.changingLine >= 1 && query.changingLine <= 6)
        where.add("changing & ? != 0", {std::int64_t{1} << (query.changingLine - 1)});
    if (query.trigram >= 1 && query.trigram <= 8) {
        const std::string column = std::string(query.trigramInSecond ? "second_" : "") +
                                   (query.trigramAbove ? "above" : "below");
        where.add(column + " = ?", {std::int64_t{query.trigram}});
    }
    if (query.method)
        where.add("mode = ?", {std::int64_t{internal::MethodCode(*query.method)}});
    // A local date spans the moments from its start east of every offset to
    // its end west of every one: that range walks the moments' index, and
    // the date itself decides at its edges.
    if (const auto from = ParseTimestamp(query.fromDate + "T00:00:00+14:00")) {
        where.add("moment >= ?", {*from});
        where.add("substr(cast_at, 1, 10) >= ?", {query.fromDate});
    }
    if (const auto to = ParseTimestamp(query.toDate + "T23:59:59-12:00")) {
        where.add("moment <= ?", {*to});
        where.add("substr(cast_at, 1, 10) <= ?", {query.toDate});
    }
    // The few entries with a date to return, from their own index.
    if (!query.dueBy.empty())
        where.add("+id IN (SELECT id FROM casts WHERE return_on IS NOT NULL AND return_on <= ?)",
                  {query.dueBy});
    // "+id": the matches are a set to test each entry against while the
    // list's index is walked in order, which stops at the page's end; left
    // to itself, SQLite would fetch every match and sort them all.
    const std::string match = internal::MatchExpression(query.text);
    if (!match.empty())
        where.add("+id IN (SELECT rowid FROM casts_text WHERE casts_text MATCH ?)", {match});
    return where;
}

bool OnlyWords(const Query& query) {
    Query words;
    words.text = query.text;
    return !internal::MatchExpression(query.text).empty() &&
           Conditions(words).sql == Conditions(query).sql;
}

}  // namespace

std::int64_t Journal::Count(const Query& query) {
    return Reading(*state_, [&] {
        // Counting the words' matches alone needs no look at the casts.
        const Where where = Conditions(query);
        SQLite::Statement count(state_->db,
                                OnlyWords(query)
                                    ? "SELECT count(*) FROM casts_text WHERE casts_text MATCH ?"
                                    : "SELECT count(*) FROM casts" + where.sql);
        where.bind(count);
        count.executeStep();
        return count.getColumn(0).getInt64();
    });
}

std::vector<Cast> Journal::Page(const Query& query, Position after, int limit) {
    return Reading(*state_, [&] {
        Where where = Conditions(query);
        where.add("(moment, id) < (?, ?)", {after.moment, after.id});
        SQLite::Statement page(state_->db, std::string("SELECT ") + internal::kCastColumns +
                                               " FROM casts" + where.sql +
                                               " ORDER BY moment DESC, id DESC LIMIT ?");
        page.bind(where.bind(page), limit);
        std::vector<Cast> casts;
        while (page.executeStep())
            casts.push_back(internal::ReadCast(page));
        return casts;
    });
}

std::optional<Cast> Journal::Find(std::int64_t id) {
    return Reading(*state_, [&]() -> std::optional<Cast> {
        SQLite::Statement find(state_->db, std::string("SELECT ") + internal::kCastColumns +
                                               " FROM casts WHERE id = ?1");
        find.bind(1, id);
        if (!find.executeStep())
            return std::nullopt;
        return internal::ReadCast(find);
    });
}

std::optional<Cast> Journal::Random(const Query& query,
                                    const std::function<std::int64_t(std::int64_t)>& pick) {
    const std::int64_t count = Count(query);
    if (count == 0)
        return std::nullopt;
    return Reading(*state_, [&]() -> std::optional<Cast> {
        const Where where = Conditions(query);
        SQLite::Statement one(state_->db, std::string("SELECT ") + internal::kCastColumns +
                                              " FROM casts" + where.sql +
                                              " ORDER BY moment, id LIMIT 1 OFFSET ?");
        one.bind(where.bind(one), pick(count));
        if (!one.executeStep())
            return std::nullopt;
        return internal::ReadCast(one);
    });
}

Statistics Journal::Stats(const Query& query) {
    return Reading(*state_, [&] {
        Statistics stats;
        const Where where = Conditions(query);
        SQLite::Database& db = state_->db;
        // One pass over the entries, in the order of their moments, for
        // every count and the timeline: each GROUP BY would read them again.
        SQLite::Statement rows(db,
                               "SELECT id, moment, mode, lines, hexagram, relating, below, above, "
                               "changing, substr(cast_at, 1, 7) FROM casts" +
                                   where.sql + " ORDER BY moment, id");
        where.bind(rows);
        auto count = [](auto& counts, std::int64_t value) {
            if (value >= 1 && value <= static_cast<std::int64_t>(counts.size()))
                ++counts[static_cast<std::size_t>(value - 1)];
        };
        while (rows.executeStep()) {
            const std::optional<divination::LineValues> values =
                internal::ValuesOfText(rows.getColumn(3).getString());
            const std::optional<divination::Method> method =
                internal::MethodOfCode(rows.getColumn(2).getInt64());
            if (!values || !method)
                continue;
            std::array<std::int64_t, 4>& valueCounts = stats.values[*method];
            for (int value : *values)
                ++valueCounts[static_cast<std::size_t>(value - 6)];
            count(stats.hexagrams, rows.getColumn(4).getInt64());
            count(stats.seconds, rows.getColumn(5).getInt64());
            count(stats.below, rows.getColumn(6).getInt64());
            count(stats.above, rows.getColumn(7).getInt64());
            const std::int64_t changing = rows.getColumn(8).getInt64();
            for (int line = 0; line < 6; ++line)
                stats.changedLines[line] += (changing >> line) & 1;
            std::string month = rows.getColumn(9).getString();
            // Moments and local months agree in order but for a cast made
            // just past midnight under another offset: months stay sorted.
            auto at = std::lower_bound(
                stats.months.begin(), stats.months.end(), month,
                [](const auto& entry, const std::string& key) { return entry.first < key; });
            if (at == stats.months.end() || at->first != month)
                at = stats.months.insert(at, {std::move(month), 0});
            ++at->second;
            stats.timeline.push_back(
                {rows.getColumn(0).getInt64(), rows.getColumn(1).getInt64(), *values});
        }
        stats.entries = static_cast<std::int64_t>(stats.timeline.size());
        return stats;
    });
}

}  // namespace journal
