// Merging another machine's journal file: reading it as an untrusted backup
// is read, then taking, field by field, whichever change is the later, and
// the deletions that are later than every change of their entry.
#include "journal/sync_merge.h"

#include <algorithm>

namespace journal::internal {

namespace {

constexpr std::int64_t kLatestStamp = std::int64_t{1} << 62;

// A field's value as the merge compares it; the date to return as text.
using Values = std::array<std::string, 4>;

Values ValuesOf(const Cast& cast) {
    return {cast.question, cast.note, cast.outcome, cast.returnOn};
}

Stamp LastChange(const Stamps& stamps) {
    return *std::max_element(stamps.begin(), stamps.end());
}

// A stamp's two columns at `column`; false unless they are a time and a
// machine id as this program writes them.
bool ReadStamp(SQLite::Statement& row, int column, Stamp& stamp) {
    const SQLite::Column at = row.getColumn(column), by = row.getColumn(column + 1);
    if (!at.isInteger() || at.getInt64() < 0 || at.getInt64() > kLatestStamp || !by.isText())
        return false;
    stamp = {at.getInt64(), by.getString()};
    return stamp.by.empty() || IsHexId(stamp.by);
}

// A prepared query of the file, or Refused for a file whose tables are not
// the journal's.
std::unique_ptr<SQLite::Statement> Query(SQLite::Database& db, const std::string& sql) {
    try {
        return std::make_unique<SQLite::Statement>(db, sql);
    } catch (const SQLite::Exception&) {
        throw Refused{"не является журналом гаданий"};
    }
}

Refused BadRow(const char* table, std::size_t n, const std::string& problem) {
    return Refused{std::string("повреждён. ") + table + " " + std::to_string(n) + ": " + problem};
}

}  // namespace

// All a file holds, checked before any of it is taken.
struct Merger::Peer {
    struct Row {
        Cast cast;
        std::string uuid;
        Stamps stamps;
    };
    struct Tombstone {
        std::string uuid;
        Stamp stamp;
    };
    struct Link {
        std::string later, earlier;
        Stamp stamp;
        bool removed;
    };
    std::vector<Row> rows;
    std::vector<Tombstone> tombstones;
    std::vector<Link> links;
};

namespace {

void ReadRows(SQLite::Database& db, std::vector<Merger::Peer::Row>& rows, Stamp& latest);

}  // namespace

Merger::Merger(Journal::State& state) : state_(state) {
    SQLite::Statement rows(state.db,
                           "SELECT uuid, id, question_at, question_by, note_at, note_by, "
                           "outcome_at, outcome_by, return_at, return_by FROM casts");
    while (rows.executeStep()) {
        Local& local = rows_[rows.getColumn(0).getString()];
        local.id = rows.getColumn(1).getInt64();
        for (int field = 0; field < 4; ++field)
            local.stamps[field] = {rows.getColumn(2 + 2 * field).getInt64(),
                                   rows.getColumn(3 + 2 * field).getString()};
    }
    SQLite::Statement tombstones(state.db, "SELECT uuid, at, by FROM tombstones");
    while (tombstones.executeStep())
        tombstones_[tombstones.getColumn(0).getString()] = {tombstones.getColumn(1).getInt64(),
                                                            tombstones.getColumn(2).getString()};
    SQLite::Statement links(state.db, "SELECT later, earlier, at, by, removed FROM link_stamps");
    while (links.executeStep())
        links_[links.getColumn(0).getString() + " " + links.getColumn(1).getString()] = {
            {links.getColumn(2).getInt64(), links.getColumn(3).getString()},
            links.getColumn(4).getInt() != 0};
    writer_ = std::make_unique<CastWriter>(state);
}

Merger::~Merger() = default;

std::int64_t Merger::Merge(std::string& bytes) {
    const UntrustedFile file = OpenUntrusted(bytes);
    if (file.version < 3)
        throw Refused{"записан версией программы, которая не ведёт синхронизацию"};
    Peer peer;
    Stamp latest;
    try {
        ReadRows(*file.db, peer.rows, latest);
        auto tombstones = Query(*file.db, "SELECT uuid, at, by FROM tombstones");
        while (tombstones->executeStep()) {
            Peer::Tombstone tombstone;
            const SQLite::Column uuid = tombstones->getColumn(0);
            if (!uuid.isText() || !IsHexId(uuid.getString()) ||
                !ReadStamp(*tombstones, 1, tombstone.stamp))
                throw BadRow("Удаление", peer.tombstones.size() + 1,
                             "метка не такая, как пишет программа");
            tombstone.uuid = uuid.getString();
            latest = std::max(latest, tombstone.stamp);
            peer.tombstones.push_back(std::move(tombstone));
        }
        auto links = Query(*file.db, "SELECT later, earlier, at, by, removed FROM link_stamps");
        while (links->executeStep()) {
            Peer::Link link;
            const SQLite::Column later = links->getColumn(0), earlier = links->getColumn(1),
                                 removed = links->getColumn(4);
            if (!later.isText() || !earlier.isText() || !IsHexId(later.getString()) ||
                !IsHexId(earlier.getString()) || !ReadStamp(*links, 2, link.stamp) ||
                !removed.isInteger() || (removed.getInt64() != 0 && removed.getInt64() != 1))
                throw BadRow("Связь", peer.links.size() + 1, "метка не такая, как пишет программа");
            link.later = later.getString();
            link.earlier = earlier.getString();
            link.removed = removed.getInt64() == 1;
            latest = std::max(latest, link.stamp);
            peer.links.push_back(std::move(link));
        }
    } catch (const SQLite::Exception&) {
        throw Refused{"повреждён"};
    }
    // Only now is the journal written: a file refused above changed nothing.
    std::int64_t brought = 0;
    TakeTombstones(peer, brought);
    TakeRows(peer, brought);
    TakeLinks(peer);
    seen_ = std::max(seen_, latest.at);
    return brought;
}

namespace {

void ReadRows(SQLite::Database& db, std::vector<Merger::Peer::Row>& rows, Stamp& latest) {
    auto read = Query(db, "SELECT " + RowColumns(3) +
                              ", uuid, question_at, question_by, note_at, note_by, outcome_at, "
                              "outcome_by, return_at, return_by FROM casts ORDER BY id");
    while (read->executeStep()) {
        Merger::Peer::Row row;
        // Every row is checked as a restored one is, whatever it brings.
        std::string problem = ReadRow(*read, row.cast);
        const SQLite::Column uuid = read->getColumn(11);
        if (problem.empty() && (!uuid.isText() || !IsHexId(uuid.getString())))
            problem = "метка записи не 32 шестнадцатеричные цифры";
        for (int field = 0; field < 4 && problem.empty(); ++field) {
            if (!ReadStamp(*read, 12 + 2 * field, row.stamps[field]))
                problem = "время изменения не такое, как пишет программа";
        }
        if (!problem.empty())
            throw BadRow("Запись", rows.size() + 1, problem);
        row.uuid = uuid.getString();
        latest = std::max(latest, LastChange(row.stamps));
        rows.push_back(std::move(row));
    }
}

void DeleteEntry(Journal::State& state, std::int64_t id) {
    for (const char* sql :
         {"DELETE FROM casts WHERE id = ?1", "DELETE FROM casts_text WHERE rowid = ?1"}) {
        SQLite::Statement statement(state.db, sql);
        statement.bind(1, id);
        statement.exec();
    }
}

// The entry's fields and stamps as they are to be, and its search text.
void WriteFields(Journal::State& state, std::int64_t id, const Values& values,
                 const Stamps& stamps) {
    SQLite::Statement update(state.db,
                             "UPDATE casts SET question = ?1, note = ?2, outcome = ?3, "
                             "return_on = nullif(?4, ''), question_at = ?5, question_by = ?6, "
                             "note_at = ?7, note_by = ?8, outcome_at = ?9, outcome_by = ?10, "
                             "return_at = ?11, return_by = ?12 WHERE id = ?13");
    for (int field = 0; field < 4; ++field) {
        update.bind(1 + field, values[field]);
        update.bind(5 + 2 * field, stamps[field].at);
        update.bind(6 + 2 * field, stamps[field].by);
    }
    update.bind(13, id);
    update.exec();
    SQLite::Statement index(state.db,
                            "UPDATE casts_text SET question = ?1, note = ?2 WHERE rowid = ?3");
    index.bind(1, FoldForSearch(values[0]));
    index.bind(2, FoldForSearch(values[2].empty() ? values[1] : values[1] + "\n" + values[2]));
    index.bind(3, id);
    index.exec();
}

Values ReadValues(Journal::State& state, std::int64_t id) {
    SQLite::Statement read(state.db,
                           "SELECT question, note, outcome, coalesce(return_on, '') FROM casts "
                           "WHERE id = ?1");
    read.bind(1, id);
    read.executeStep();
    return {read.getColumn(0).getString(), read.getColumn(1).getString(),
            read.getColumn(2).getString(), read.getColumn(3).getString()};
}

}  // namespace

// A deletion clears every field changed before it; an entry some field of
// which was changed later lives on with what was changed after it.
void Merger::TakeTombstones(const Peer& peer, std::int64_t& brought) {
    SQLite::Statement keep(state_.db,
                           "INSERT INTO tombstones(uuid, at, by) VALUES (?1, ?2, ?3) "
                           "ON CONFLICT(uuid) DO UPDATE SET at = excluded.at, by = excluded.by");
    for (const Peer::Tombstone& tombstone : peer.tombstones) {
        const auto known = tombstones_.find(tombstone.uuid);
        if (known != tombstones_.end() && tombstone.stamp <= known->second)
            continue;
        tombstones_[tombstone.uuid] = tombstone.stamp;
        keep.bind(1, tombstone.uuid);
        keep.bind(2, tombstone.stamp.at);
        keep.bind(3, tombstone.stamp.by);
        keep.exec();
        keep.reset();
        const auto row = rows_.find(tombstone.uuid);
        if (row == rows_.end())
            continue;
        ++brought;
        if (LastChange(row->second.stamps) <= tombstone.stamp) {
            DeleteEntry(state_, row->second.id);
            rows_.erase(row);
            continue;
        }
        Values values = ReadValues(state_, row->second.id);
        for (int field = 0; field < 4; ++field) {
            if (row->second.stamps[field] <= tombstone.stamp)
                values[field].clear(), row->second.stamps[field] = tombstone.stamp;
        }
        WriteFields(state_, row->second.id, values, row->second.stamps);
    }
}

void Merger::TakeRows(const Peer& peer, std::int64_t& brought) {
    for (const Peer::Row& row : peer.rows) {
        Values values = ValuesOf(row.cast);
        Stamps stamps = row.stamps;
        if (const auto tombstone = tombstones_.find(row.uuid); tombstone != tombstones_.end()) {
            if (LastChange(stamps) <= tombstone->second)
                continue;  // deleted after its last change
            for (int field = 0; field < 4; ++field) {
                if (stamps[field] <= tombstone->second)
                    values[field].clear(), stamps[field] = tombstone->second;
            }
        }
        const auto local = rows_.find(row.uuid);
        if (local == rows_.end()) {
            // The cast itself as the file has it; it never changes after.
            const std::int64_t id = writer_->Insert(row.cast, *ParseTimestamp(row.cast.castAt),
                                                    values[2], values[3], row.uuid, &stamps);
            if (values[0] != row.cast.question || values[1] != row.cast.note)
                WriteFields(state_, id, values, stamps);
            rows_[row.uuid] = {id, stamps};
            linksChanged_ = true;
            ++brought;
            continue;
        }
        // Equal stamps hold equal values, since a journal never stamps two
        // changes alike; but those from before the merge existed (0, '')
        // may differ, and the greater value then wins, in any order.
        Stamps& mine = local->second.stamps;
        std::optional<Values> current;
        bool changed = false;
        for (int field = 0; field < 4; ++field) {
            bool wins = stamps[field] > mine[field];
            if (stamps[field] == mine[field] && stamps[field].by.empty()) {
                if (!current)
                    current = ReadValues(state_, local->second.id);
                wins = values[field] > (*current)[field];
            }
            if (!wins)
                continue;
            if (!current)
                current = ReadValues(state_, local->second.id);
            (*current)[field] = values[field];
            mine[field] = stamps[field];
            changed = true;
        }
        if (changed) {
            WriteFields(state_, local->second.id, *current, mine);
            ++brought;
        }
    }
}

void Merger::TakeLinks(const Peer& peer) {
    SQLite::Statement keep(state_.db,
                           "INSERT INTO link_stamps(later, earlier, at, by, removed) VALUES (?1, "
                           "?2, ?3, ?4, ?5) ON CONFLICT(later, earlier) DO UPDATE SET at = "
                           "excluded.at, by = excluded.by, removed = excluded.removed");
    for (const Peer::Link& link : peer.links) {
        const std::pair<Stamp, bool> theirs{link.stamp, link.removed};
        const auto known = links_.find(link.later + " " + link.earlier);
        if (known != links_.end() && theirs <= known->second)
            continue;
        links_[link.later + " " + link.earlier] = theirs;
        keep.bind(1, link.later);
        keep.bind(2, link.earlier);
        keep.bind(3, link.stamp.at);
        keep.bind(4, link.stamp.by);
        keep.bind(5, link.removed ? 1 : 0);
        keep.exec();
        keep.reset();
        linksChanged_ = true;
    }
}

void Merger::Finish() {
    if (linksChanged_) {
        // The links table follows the stamps for every pair of entries both here.
        state_.db.exec(
            "DELETE FROM links WHERE EXISTS (SELECT 1 FROM link_stamps s JOIN casts a ON a.uuid "
            "= s.later JOIN casts b ON b.uuid = s.earlier WHERE s.removed = 1 AND a.id = "
            "links.later AND b.id = links.earlier);"
            "INSERT OR IGNORE INTO links(later, earlier) SELECT a.id, b.id FROM link_stamps s "
            "JOIN casts a ON a.uuid = s.later JOIN casts b ON b.uuid = s.earlier "
            "WHERE s.removed = 0 AND a.id <> b.id;");
    }
    AdvanceClock(state_, seen_);
}

}  // namespace journal::internal
