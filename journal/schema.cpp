// The journal's schema and its migrations, and the columns that the search
// by structure and the statistics read, derived by the core's rules.
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
    }
    db.exec("PRAGMA user_version = " + std::to_string(kSchemaVersion));
    transaction.commit();
}

}  // namespace journal::internal
