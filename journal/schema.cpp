// The journal's schema and its migrations, and the columns that the search
// by structure and the statistics read, derived by the core's rules.
#include <cstdio>
#include <map>

#include "divination/hexagrams.h"
#include "journal/internal.h"

namespace journal::internal {

namespace {

// Schema 0 is a new, empty file; kMigrations[v] brings version v to v + 1.
// `moment` is cast_at as seconds since 1970 UTC: casts made under different
// offsets list in the order they happened. The search index holds the texts
// folded by FoldForSearch: SQLite's unicode61 folds case, Cyrillic included,
// but not «ё» into «е».
//
// Version 2 adds the stalk totals, how it turned out, the date to return,
// the links between entries, and the columns the search by structure reads
// (every one of them filled by DerivedColumns, for the rows already there
// too): the nuclear, opposite and inverted hexagrams, the changing lines as
// bits (line k: 1 << (k − 1)), and the trigrams below and above of the cast
// and of its second hexagram, numbered as the table numbers them.
//
// Version 3 keeps journals of several machines in step: each entry's uuid
// (given by FillUuids to the rows already there), each editable field's last
// change (milliseconds, machine id; 0 and '' for what was there before), the
// links by the entries' uuids with their own last change and whether they
// were removed, the tombstones of deleted entries, and what was last merged
// from each other machine's file.
constexpr const char* kMigrations[] = {
    R"(CREATE TABLE casts(
           id INTEGER PRIMARY KEY,
           cast_at TEXT NOT NULL,
           mode INTEGER NOT NULL,
           lines TEXT NOT NULL,
           coins TEXT,
           hexagram INTEGER NOT NULL,
           relating INTEGER,
           question TEXT NOT NULL DEFAULT '',
           note TEXT NOT NULL DEFAULT '',
           moment INTEGER NOT NULL);
       CREATE INDEX casts_by_moment ON casts(moment, id);
       CREATE INDEX casts_by_hexagram ON casts(hexagram, moment, id);
       CREATE VIRTUAL TABLE casts_text USING fts5(question, note, names,
           tokenize = 'unicode61 remove_diacritics 0', prefix = '1 2 3');
       CREATE TABLE settings(key TEXT PRIMARY KEY, value) WITHOUT ROWID;
       PRAGMA application_id = 1413568846;)",
    R"(ALTER TABLE casts ADD COLUMN totals TEXT;
       ALTER TABLE casts ADD COLUMN outcome TEXT NOT NULL DEFAULT '';
       ALTER TABLE casts ADD COLUMN return_on TEXT;
       ALTER TABLE casts ADD COLUMN nuclear INTEGER NOT NULL DEFAULT 0;
       ALTER TABLE casts ADD COLUMN opposite INTEGER NOT NULL DEFAULT 0;
       ALTER TABLE casts ADD COLUMN inverted INTEGER NOT NULL DEFAULT 0;
       ALTER TABLE casts ADD COLUMN changing INTEGER NOT NULL DEFAULT 0;
       ALTER TABLE casts ADD COLUMN below INTEGER NOT NULL DEFAULT 0;
       ALTER TABLE casts ADD COLUMN above INTEGER NOT NULL DEFAULT 0;
       ALTER TABLE casts ADD COLUMN second_below INTEGER;
       ALTER TABLE casts ADD COLUMN second_above INTEGER;
       CREATE INDEX casts_by_return ON casts(return_on) WHERE return_on IS NOT NULL;
       CREATE TABLE links(
           later INTEGER NOT NULL REFERENCES casts(id) ON DELETE CASCADE,
           earlier INTEGER NOT NULL REFERENCES casts(id) ON DELETE CASCADE,
           PRIMARY KEY(later, earlier)) WITHOUT ROWID;
       CREATE INDEX links_by_earlier ON links(earlier, later);)",
    R"(ALTER TABLE casts ADD COLUMN uuid TEXT;
       ALTER TABLE casts ADD COLUMN question_at INTEGER NOT NULL DEFAULT 0;
       ALTER TABLE casts ADD COLUMN question_by TEXT NOT NULL DEFAULT '';
       ALTER TABLE casts ADD COLUMN note_at INTEGER NOT NULL DEFAULT 0;
       ALTER TABLE casts ADD COLUMN note_by TEXT NOT NULL DEFAULT '';
       ALTER TABLE casts ADD COLUMN outcome_at INTEGER NOT NULL DEFAULT 0;
       ALTER TABLE casts ADD COLUMN outcome_by TEXT NOT NULL DEFAULT '';
       ALTER TABLE casts ADD COLUMN return_at INTEGER NOT NULL DEFAULT 0;
       ALTER TABLE casts ADD COLUMN return_by TEXT NOT NULL DEFAULT '';
       CREATE TABLE link_stamps(
           later TEXT NOT NULL,
           earlier TEXT NOT NULL,
           at INTEGER NOT NULL,
           by TEXT NOT NULL,
           removed INTEGER NOT NULL,
           PRIMARY KEY(later, earlier)) WITHOUT ROWID;
       CREATE TABLE tombstones(
           uuid TEXT PRIMARY KEY,
           at INTEGER NOT NULL,
           by TEXT NOT NULL) WITHOUT ROWID;
       CREATE TABLE peer_files(
           name TEXT PRIMARY KEY,
           seen TEXT NOT NULL,
           merged_at INTEGER NOT NULL,
           brought INTEGER NOT NULL,
           problem TEXT NOT NULL) WITHOUT ROWID;)",
};
static_assert(std::size(kMigrations) == kSchemaVersion);
static_assert(kApplicationId == 1413568846);

void FillDerivedColumns(SQLite::Database& db) {
    SQLite::Statement read(db, "SELECT id, lines FROM casts");
    SQLite::Statement write(
        db, std::string("UPDATE casts SET ") + kDerivedAssignments + " WHERE id = ?1");
    while (read.executeStep()) {
        const std::optional<divination::LineValues> values =
            ValuesOfText(read.getColumn(1).getString());
        if (!values)
            continue;  // checked when it was written; left for the window to show as it is
        write.bind(1, read.getColumn(0).getInt64());
        BindDerived(write, DerivedColumns(*values));
        write.exec();
        write.reset();
    }
}

// Two 64-bit FNV-1a hashes with different starts, as 32 hex digits.
std::string HashId(const std::string& text) {
    std::uint64_t first = 0xcbf29ce484222325ULL, second = 0x84222325cbf29ce4ULL;
    for (const unsigned char c : text) {
        first = (first ^ c) * 0x100000001b3ULL;
        second = (second ^ (c ^ 0x5A)) * 0x100000001b3ULL;
    }
    char hex[33];
    std::snprintf(hex, sizeof hex, "%016llx%016llx", static_cast<unsigned long long>(first),
                  static_cast<unsigned long long>(second));
    return hex;
}

// An entry's uuid from what never changes in it: its time, method, lines
// and coins, and how many such casts came before it. The same entry in two
// journals that were copied from one another, or restored from one backup,
// then gets the same uuid and merges into one instead of showing twice.
void FillUuids(SQLite::Database& db) {
    SQLite::Statement read(db,
                           "SELECT id, cast_at, mode, lines, coalesce(coins, '') FROM casts "
                           "WHERE uuid IS NULL ORDER BY id");
    SQLite::Statement write(db, "UPDATE casts SET uuid = ?1 WHERE id = ?2");
    std::map<std::string, int> seen;
    while (read.executeStep()) {
        const std::string key = read.getColumn(1).getString() + "|" +
                                read.getColumn(2).getString() + "|" +
                                read.getColumn(3).getString() + "|" + read.getColumn(4).getString();
        write.bind(1, HashId(key + "|" + std::to_string(seen[key]++)));
        write.bind(2, read.getColumn(0).getInt64());
        write.exec();
        write.reset();
    }
    db.exec(
        "CREATE UNIQUE INDEX casts_by_uuid ON casts(uuid);"
        "INSERT INTO link_stamps(later, earlier, at, by, removed) "
        "SELECT a.uuid, b.uuid, 0, '', 0 FROM links l JOIN casts a ON a.id = l.later "
        "JOIN casts b ON b.id = l.earlier;");
}

}  // namespace

Derived DerivedColumns(const divination::LineValues& values) {
    const divination::Interpretation reading =
        divination::Interpret(divination::Subject::OfEntry(values));
    Derived derived;
    derived.hexagram = reading.hexagram;
    derived.second = reading.second;
    derived.nuclear = reading.nuclear;
    derived.opposite = reading.opposite;
    derived.inverted = reading.inverted;
    for (int line : reading.changing)
        derived.changing |= 1 << (line - 1);
    const divination::Lines lines = divination::LinesOf(values);
    derived.below = divination::FirstTrigram(lines);
    derived.above = divination::SecondTrigram(lines);
    if (reading.second) {
        const divination::Lines second = divination::HexagramLines(reading.second);
        derived.secondBelow = divination::FirstTrigram(second);
        derived.secondAbove = divination::SecondTrigram(second);
    }
    return derived;
}

void BindDerived(SQLite::Statement& statement, const Derived& derived) {
    // ?20… so that they follow whatever the statement binds itself.
    statement.bind(20, derived.nuclear);
    statement.bind(21, derived.opposite);
    statement.bind(22, derived.inverted);
    statement.bind(23, derived.changing);
    statement.bind(24, derived.below);
    statement.bind(25, derived.above);
    if (derived.second) {
        statement.bind(26, derived.secondBelow);
        statement.bind(27, derived.secondAbove);
    } else {
        statement.bind(26);
        statement.bind(27);
    }
}

void Migrate(SQLite::Database& db) {
    if (db.execAndGet("PRAGMA user_version").getInt() >= kSchemaVersion)
        return;
    SQLite::Transaction transaction(db, SQLite::TransactionBehavior::IMMEDIATE);
    // Read again under the write lock: another copy may have migrated first.
    int version = db.execAndGet("PRAGMA user_version").getInt();
    for (; version < kSchemaVersion; ++version) {
        db.exec(kMigrations[version]);
        if (version == 1)
            FillDerivedColumns(db);
        if (version == 2)
            FillUuids(db);
    }
    db.exec("PRAGMA user_version = " + std::to_string(kSchemaVersion));
    transaction.commit();
}

}  // namespace journal::internal
