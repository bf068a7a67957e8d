// Merging another machine's journal file: reading it as an untrusted backup
// is read, then taking, field by field, whichever change is the later, and
// the deletions that are later than every change of their entry.
#include "journal/sync_merge.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace journal::internal {

bool ParseHexId(std::string_view text, HexId& id) {
    if (text.size() != 32)
        return false;
    static constexpr auto kDigit = [] {
        std::array<std::uint8_t, 256> digit{};
        digit.fill(16);
        for (int c = 0; c < 10; ++c)
            digit['0' + c] = static_cast<std::uint8_t>(c);
        for (int c = 0; c < 6; ++c)
            digit['a' + c] = static_cast<std::uint8_t>(10 + c);
        return digit;
    }();
    std::uint64_t half[2] = {0, 0};
    std::uint8_t bad = 0;
    for (std::size_t i = 0; i < 32; ++i) {
        const std::uint8_t digit = kDigit[static_cast<unsigned char>(text[i])];
        bad |= digit;
        half[i / 16] = half[i / 16] << 4 | (digit & 15);
    }
    id = {half[0], half[1]};
    return (bad & 16) == 0;
}

namespace {

constexpr std::int64_t kLatestStamp = std::int64_t{1} << 62;

// A field's value as the merge compares it; the date to return as text.
using Values = std::array<std::string, 4>;

Values ValuesOf(const Cast& cast) {
    return {cast.question, cast.note, cast.outcome, cast.returnOn};
}

Mark LastChange(const Marks& marks) {
    return *std::max_element(marks.begin(), marks.end());
}

std::string HexText(const HexId& id) {
    char hex[33];
    std::snprintf(hex, sizeof hex, "%016llx%016llx", static_cast<unsigned long long>(id.high),
                  static_cast<unsigned long long>(id.low));
    return hex;
}

// A query read row by row through SQLite's own calls, without the
// wrapper's objects for each value: the scans below read every row of a
// journal. Throws SQLite::Exception as the wrapper does.
class Cells {
public:
    Cells(SQLite::Database& db, const std::string& sql) : db_(db.getHandle()) {
        if (const int failed = sqlite3_prepare_v2(db_, sql.c_str(), -1, &row_, nullptr))
            throw SQLite::Exception(db_, failed);
    }
    ~Cells() { sqlite3_finalize(row_); }
    Cells(const Cells&) = delete;
    Cells& operator=(const Cells&) = delete;

    bool step() {
        const int result = sqlite3_step(row_);
        if (result != SQLITE_ROW && result != SQLITE_DONE)
            throw SQLite::Exception(db_, result);
        return result == SQLITE_ROW;
    }
    int type(int column) const { return sqlite3_column_type(row_, column); }
    std::int64_t integer(int column) const { return sqlite3_column_int64(row_, column); }
    std::string_view text(int column) const {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(row_, column));
        return {text ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(row_, column))};
    }
    // A machine id: parsed once for a run of them alike, as rows by one
    // machine come.
    bool machine(int column, HexId& id) const {
        const std::string_view text = this->text(column);
        if (text.size() == 32 && text == lastMachine_) {
            id = lastId_;
            return true;
        }
        if (!ParseHexId(text, id))
            return false;
        lastMachine_.assign(text);
        lastId_ = id;
        return true;
    }

private:
    sqlite3* db_;
    sqlite3_stmt* row_ = nullptr;
    mutable std::string lastMachine_;
    mutable HexId lastId_;
};

// A stamp's two columns at `column`; false unless they are a time and a
// machine id as this program writes them.
bool ReadMark(const Cells& cells, int column, Mark& mark) {
    if (cells.type(column) != SQLITE_INTEGER || cells.type(column + 1) != SQLITE_TEXT)
        return false;
    mark.at = cells.integer(column);
    const std::string_view by = cells.text(column + 1);
    mark.stamped = !by.empty();
    return mark.at >= 0 && mark.at <= kLatestStamp &&
           (by.empty() || cells.machine(column + 1, mark.by));
}

// What this journal wrote itself: taken as it is.
Mark LocalMark(const Cells& cells, int column) {
    Mark mark;
    mark.at = cells.integer(column);
    mark.stamped = cells.machine(column + 1, mark.by);
    return mark;
}

Stamp StampOf(const Mark& mark) {
    return {mark.at, mark.stamped ? HexText(mark.by) : std::string()};
}

Stamps StampsOf(const Marks& marks) {
    return {StampOf(marks[0]), StampOf(marks[1]), StampOf(marks[2]), StampOf(marks[3])};
}

// A prepared query of the file, or Refused for a file whose tables are not
// the journal's.
template <typename Query = Cells>
std::unique_ptr<Query> Prepare(SQLite::Database& db, const std::string& sql) {
    try {
        return std::make_unique<Query>(db, sql);
    } catch (const SQLite::Exception&) {
        throw Refused{"не является журналом гаданий"};
    }
}

Refused BadRow(const char* table, std::size_t n, const std::string& problem) {
    return Refused{std::string("повреждён. ") + table + " " + std::to_string(n) + ": " + problem};
}

const char* const kBadStamp = "метка не такая, как пишет программа";

}  // namespace

// What a file brings, checked before any of it is taken.
struct Merger::Peer {
    struct Row {
        Cast cast;
        std::string uuid;
        HexId id;
        Marks marks;
    };
    struct Tombstone {
        std::string uuid;
        HexId id;
        Mark mark;
    };
    struct Link {
        std::string later, earlier;
        std::pair<HexId, HexId> ids;
        Mark mark;
        bool removed;
    };
    // Only the rows that may bring something: new here, or with a field
    // changed later than here.
    std::vector<Row> rows;
    std::vector<Tombstone> tombstones;
    std::vector<Link> links;
};

namespace {

void ReadTombstones(SQLite::Database& db, std::vector<Merger::Peer::Tombstone>& tombstones,
                    Mark& latest) {
    const auto read = Prepare(db, "SELECT uuid, at, by FROM tombstones");
    const Cells& cells = *read;
    while (read->step()) {
        Merger::Peer::Tombstone tombstone;
        if (cells.type(0) != SQLITE_TEXT || !ParseHexId(cells.text(0), tombstone.id) ||
            !ReadMark(cells, 1, tombstone.mark))
            throw BadRow("Удаление", tombstones.size() + 1, kBadStamp);
        tombstone.uuid = cells.text(0);
        latest = std::max(latest, tombstone.mark);
        tombstones.push_back(std::move(tombstone));
    }
}

void ReadLinks(SQLite::Database& db, std::vector<Merger::Peer::Link>& links, Mark& latest) {
    const auto read = Prepare(db, "SELECT later, earlier, at, by, removed FROM link_stamps");
    const Cells& cells = *read;
    while (read->step()) {
        Merger::Peer::Link link;
        if (cells.type(0) != SQLITE_TEXT || cells.type(1) != SQLITE_TEXT ||
            !ParseHexId(cells.text(0), link.ids.first) ||
            !ParseHexId(cells.text(1), link.ids.second) || !ReadMark(cells, 2, link.mark) ||
            cells.type(4) != SQLITE_INTEGER || (cells.integer(4) != 0 && cells.integer(4) != 1))
            throw BadRow("Связь", links.size() + 1, kBadStamp);
        link.later = cells.text(0);
        link.earlier = cells.text(1);
        link.removed = cells.integer(4) == 1;
        latest = std::max(latest, link.mark);
        links.push_back(std::move(link));
    }
}

}  // namespace

void EntryIndex::Reserve(std::size_t entries) {
    std::size_t size = 64;
    while (size < 2 * entries)
        size *= 2;
    if (size <= slots_.size())
        return;
    std::vector<Slot> old(size);
    old.swap(slots_);
    for (const Slot& slot : old) {
        if (slot.entry != 0)
            SlotOf(slot.uuid) = slot;
    }
    entries_.reserve(entries);
}

EntryIndex::Slot& EntryIndex::SlotOf(const HexId& uuid) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = HexIdHash{}(uuid)&mask;; at = (at + 1) & mask) {
        Slot& slot = slots_[at];
        if (slot.entry == 0 || slot.uuid == uuid)
            return slot;
    }
}

Local* EntryIndex::Find(const HexId& uuid) {
    if (slots_.empty())
        return nullptr;
    const Slot& slot = SlotOf(uuid);
    Local* local = slot.entry != 0 ? &entries_[slot.entry - 1] : nullptr;
    return local && !local->gone ? local : nullptr;
}

Local& EntryIndex::Add(const HexId& uuid) {
    Reserve(entries_.size() + 1);
    Slot& slot = SlotOf(uuid);
    if (slot.entry != 0)
        return entries_[slot.entry - 1] = Local{};
    entries_.emplace_back();
    slot = {uuid, static_cast<std::uint32_t>(entries_.size())};
    return entries_.back();
}

Merger::Merger(Journal::State& state) : state_(state) {
    rows_.Reserve(
        static_cast<std::size_t>(state.db.execAndGet("SELECT count(*) FROM casts").getInt64()));
    Cells row(state.db,
              "SELECT uuid, id, question_at, question_by, note_at, note_by, "
              "outcome_at, outcome_by, return_at, return_by, "
              "CASE WHEN question_by = '' THEN question END, "
              "CASE WHEN note_by = '' THEN note END, "
              "CASE WHEN outcome_by = '' THEN outcome END, "
              "CASE WHEN return_by = '' THEN coalesce(return_on, '') END FROM casts");
    while (row.step()) {
        HexId uuid;
        if (!ParseHexId(row.text(0), uuid))
            continue;  // no other journal can name it
        Local& local = rows_.Add(uuid);
        local.id = row.integer(1);
        for (int field = 0; field < 4; ++field) {
            local.marks[field] = LocalMark(row, 2 + 2 * field);
            if (!local.marks[field].stamped)
                local.unstamped[field] = row.text(10 + field);
        }
    }
    Cells tombstone(state.db, "SELECT uuid, at, by FROM tombstones");
    while (tombstone.step()) {
        HexId uuid;
        if (ParseHexId(tombstone.text(0), uuid))
            tombstones_[uuid] = LocalMark(tombstone, 1);
    }
    Cells link(state.db, "SELECT later, earlier, at, by, removed FROM link_stamps");
    while (link.step()) {
        std::pair<HexId, HexId> ids;
        if (ParseHexId(link.text(0), ids.first) && ParseHexId(link.text(1), ids.second))
            links_[ids] = {LocalMark(link, 2), link.integer(4) != 0};
    }
}

Merger::~Merger() = default;

std::int64_t Merger::Merge(std::string& bytes) {
    // The merge reads whole tables, never through an index, and takes
    // nothing from the other tables: a damaged page of what it reads fails
    // the reading, one elsewhere does it no harm.
    const UntrustedFile file = OpenUntrusted(bytes, Check::ByReading);
    if (file.version < 3)
        throw Refused{"записан версией программы, которая не ведёт синхронизацию"};
    Peer peer;
    Mark latest;
    try {
        ReadRows(*file.db, peer, latest);
        ReadTombstones(*file.db, peer.tombstones, latest);
        ReadLinks(*file.db, peer.links, latest);
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

// Every row's uuid and stamps are checked; a row that may bring something
// is checked whole, as a restored one is. One that can't bring anything is
// not taken, and its cast is not read: a file that finds nothing new costs
// a scan of its ids and stamps.
void Merger::ReadRows(SQLite::Database& file, Peer& peer, Mark& latest) {
    const auto read = Prepare(file,
                              "SELECT rowid, uuid, question_at, question_by, note_at, note_by, "
                              "outcome_at, outcome_by, return_at, return_by, question, note, "
                              "outcome, return_on FROM casts ORDER BY rowid");
    const auto whole = Prepare<SQLite::Statement>(
        file, "SELECT " + RowColumns(3) + " FROM casts WHERE rowid = ?1");
    const Cells& cells = *read;
    for (std::size_t n = 1; read->step(); ++n) {
        HexId uuid;
        Marks marks;
        if (cells.type(1) != SQLITE_TEXT || !ParseHexId(cells.text(1), uuid))
            throw BadRow("Запись", n, "метка записи не 32 шестнадцатеричные цифры");
        for (int field = 0; field < 4; ++field) {
            if (!ReadMark(cells, 2 + 2 * field, marks[field]))
                throw BadRow("Запись", n, "время изменения не такое, как пишет программа");
        }
        latest = std::max(latest, LastChange(marks));
        const Local* local = rows_.Find(uuid);
        bool mayBring = local == nullptr;
        for (int field = 0; field < 4 && !mayBring; ++field) {
            const Mark& mine = local->marks[field];
            mayBring = marks[field] > mine || (marks[field] == mine && !mine.stamped &&
                                               cells.text(10 + field) != local->unstamped[field]);
        }
        if (!mayBring)
            continue;
        Peer::Row& row = peer.rows.emplace_back();
        whole->bind(1, cells.integer(0));
        if (!whole->executeStep())
            throw Refused{"повреждён"};
        if (const std::string problem = ReadRow(*whole, row.cast); !problem.empty())
            throw BadRow("Запись", n, problem);
        whole->reset();
        row.uuid = cells.text(1);
        row.id = uuid;
        row.marks = marks;
    }
}

namespace {

void DeleteEntry(Journal::State& state, std::int64_t id) {
    for (const char* sql :
         {"DELETE FROM casts WHERE id = ?1", "DELETE FROM casts_text WHERE rowid = ?1"}) {
        SQLite::Statement statement(state.db, sql);
        statement.bind(1, id);
        statement.exec();
    }
}

// The entry's fields and stamps as they are to be, and its search text.
void WriteFields(Journal::State& state, Local& local, const Values& values) {
    SQLite::Statement update(state.db,
                             "UPDATE casts SET question = ?1, note = ?2, outcome = ?3, "
                             "return_on = nullif(?4, ''), question_at = ?5, question_by = ?6, "
                             "note_at = ?7, note_by = ?8, outcome_at = ?9, outcome_by = ?10, "
                             "return_at = ?11, return_by = ?12 WHERE id = ?13");
    for (int field = 0; field < 4; ++field) {
        const Stamp stamp = StampOf(local.marks[field]);
        update.bind(1 + field, values[field]);
        update.bind(5 + 2 * field, stamp.at);
        update.bind(6 + 2 * field, stamp.by);
        local.unstamped[field] = local.marks[field].stamped ? std::string() : values[field];
    }
    update.bind(13, local.id);
    update.exec();
    SQLite::Statement index(state.db,
                            "UPDATE casts_text SET question = ?1, note = ?2 WHERE rowid = ?3");
    index.bind(1, FoldForSearch(values[0]));
    index.bind(2, FoldForSearch(values[2].empty() ? values[1] : values[1] + "\n" + values[2]));
    index.bind(3, local.id);
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
        const auto known = tombstones_.find(tombstone.id);
        if (known != tombstones_.end() && tombstone.mark <= known->second)
            continue;
        tombstones_[tombstone.id] = tombstone.mark;
        const Stamp stamp = StampOf(tombstone.mark);
        keep.bind(1, tombstone.uuid);
        keep.bind(2, stamp.at);
        keep.bind(3, stamp.by);
        keep.exec();
        keep.reset();
        Local* const row = rows_.Find(tombstone.id);
        if (!row)
            continue;
        ++brought;
        Local& local = *row;
        if (LastChange(local.marks) <= tombstone.mark) {
            DeleteEntry(state_, local.id);
            local.gone = true;
            continue;
        }
        Values values = ReadValues(state_, local.id);
        for (int field = 0; field < 4; ++field) {
            if (local.marks[field] <= tombstone.mark)
                values[field].clear(), local.marks[field] = tombstone.mark;
        }
        WriteFields(state_, local, values);
    }
}

void Merger::TakeRows(const Peer& peer, std::int64_t& brought) {
    for (const Peer::Row& row : peer.rows) {
        Values values = ValuesOf(row.cast);
        Marks marks = row.marks;
        if (const auto tombstone = tombstones_.find(row.id); tombstone != tombstones_.end()) {
            if (LastChange(marks) <= tombstone->second)
                continue;  // deleted after its last change
            for (int field = 0; field < 4; ++field) {
                if (marks[field] <= tombstone->second)
                    values[field].clear(), marks[field] = tombstone->second;
            }
        }
        Local* const local = rows_.Find(row.id);
        if (!local) {
            if (!writer_)
                writer_ = std::make_unique<CastWriter>(state_);
            // The cast itself as the file has it; it never changes after.
            const Stamps stamps = StampsOf(marks);
            Local& added = rows_.Add(row.id);
            added.id = writer_->Insert(row.cast, *ParseTimestamp(row.cast.castAt), values[2],
                                       values[3], row.uuid, &stamps);
            added.marks = marks;
            for (int field = 0; field < 4; ++field)
                added.unstamped[field] = marks[field].stamped ? std::string() : values[field];
            if (values[0] != row.cast.question || values[1] != row.cast.note)
                WriteFields(state_, added, values);
            linksChanged_ = true;
            ++brought;
            continue;
        }
        // Equal stamps hold equal values, since a journal never stamps two
        // changes alike; but those from before the merge existed (0, '')
        // may differ, and the greater value then wins, in any order.
        Local& mine = *local;
        std::optional<Values> current;
        for (int field = 0; field < 4; ++field) {
            const bool wins = marks[field] > mine.marks[field] ||
                              (marks[field] == mine.marks[field] && !marks[field].stamped &&
                               values[field] > mine.unstamped[field]);
            if (!wins)
                continue;
            if (!current)
                current = ReadValues(state_, mine.id);
            (*current)[field] = values[field];
            mine.marks[field] = marks[field];
        }
        if (current) {
            WriteFields(state_, mine, *current);
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
        const std::pair<Mark, bool> theirs{link.mark, link.removed};
        const auto known = links_.find(link.ids);
        if (known != links_.end() && theirs <= known->second)
            continue;
        links_[link.ids] = theirs;
        const Stamp stamp = StampOf(link.mark);
        keep.bind(1, link.later);
        keep.bind(2, link.earlier);
        keep.bind(3, stamp.at);
        keep.bind(4, stamp.by);
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
