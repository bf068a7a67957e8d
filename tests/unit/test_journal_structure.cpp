// The journal's second schema: a journal of the first opens with every
// entry and its derived columns, restores as before; the search by
// structure, condition by condition and combined; how it turned out, the
// date to return and the links; the statistics of a topic.
#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include "divination/hexagrams.h"
#include "journal/journal.h"
#include "support/temp_folder.h"

using namespace journal;
using divination::Method;
using testing_support::TempWorkingFolder;

namespace {

std::string Name(int n) {
    return std::string(divination::kHexagramNames.at(n - 1).name);
}

NewCast Made(const std::string& castAt, divination::LineValues values,
             Method method = Method::HeadsAndTails, const std::string& question = "") {
    NewCast cast{castAt, method, values, std::nullopt, question, "", std::nullopt};
    if (method == Method::Coins) {
        // Three coins a line that give each value: odd numbers are heads.
        divination::CoinNumbers coins{};
        for (int line = 0; line < 6; ++line) {
            const int heads = values[line] == 9 ? 3 : values[line] == 7 ? 2 : values[line] == 8;
            for (int coin = 0; coin < 3; ++coin)
                coins[3 * line + coin] = coin < heads ? 1 : 2;
        }
        cast.coins = coins;
    }
    return cast;
}

// A journal as the first release wrote it, with one cast of each kind.
void WriteFirstRelease(const char* path) {
    SQLite::Database db(path, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    db.exec(R"(CREATE TABLE casts(id INTEGER PRIMARY KEY, cast_at TEXT NOT NULL,
                   mode INTEGER NOT NULL, lines TEXT NOT NULL, coins TEXT,
                   hexagram INTEGER NOT NULL, relating INTEGER,
                   question TEXT NOT NULL DEFAULT '', note TEXT NOT NULL DEFAULT '',
                   moment INTEGER NOT NULL);
               CREATE INDEX casts_by_moment ON casts(moment, id);
               CREATE INDEX casts_by_hexagram ON casts(hexagram, moment, id);
               CREATE VIRTUAL TABLE casts_text USING fts5(question, note, names,
                   tokenize = 'unicode61 remove_diacritics 0', prefix = '1 2 3');
               CREATE TABLE settings(key TEXT PRIMARY KEY, value) WITHOUT ROWID;
               PRAGMA application_id = 1413568846;
               INSERT INTO casts VALUES (1, '2026-12-01T10:00:00+03:00', 1, '977888',
                   '1 3 5 1 3 2 7 9 10 1 2 4 0 998 999 100 200 301', 11, 46, 'Дом', '', 1796108400);
               INSERT INTO casts VALUES (2, '2026-12-02T10:00:00+03:00', 4, '987678', NULL, 63, 31,
                   'Свой', 'заметка', 1796194800);
               INSERT INTO casts_text(rowid, question, note, names) VALUES
                   (1, 'дом', '', 'расцвет'), (2, 'свой', 'заметка', '');
               PRAGMA user_version = 1;)");
}

}  // namespace

TEST(JournalSecondSchema, AFirstReleaseJournalOpensWhole) {
    TempWorkingFolder folder;
    WriteFirstRelease(kJournalFile);
    folder.write("copy.db", folder.read(kJournalFile));
    Journal journal = Journal::Open(kJournalFile, Name);
    EXPECT_EQ(journal.Count({}), 2);
    const std::optional<journal::Cast> first = journal.Find(1);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->method, Method::Coins);
    EXPECT_EQ(first->values, (divination::LineValues{9, 7, 7, 8, 8, 8}));
    EXPECT_EQ(first->question, "Дом");
    EXPECT_EQ(first->outcome, "");
    // The derived columns were filled for the entries already there.
    Query nuclear;
    nuclear.hexagram = divination::Interpret(divination::Subject::OfEntry(first->values)).nuclear;
    nuclear.place = Place::Nuclear;
    EXPECT_EQ(journal.Count(nuclear), 1);
    Query changingFirst;
    changingFirst.changingLine = 1;
    EXPECT_EQ(journal.Count(changingFirst), 2);  // 977888 and 987678 both move line 1

    // A copy of the first release restores into the new journal: nothing is
    // new, and into an empty one, both entries.
    EXPECT_EQ(journal.RestoreFrom("copy.db"), 0);
    Journal fresh = Journal::Open("fresh.db", Name);
    EXPECT_EQ(fresh.RestoreFrom("copy.db"), 2);
    EXPECT_EQ(fresh.Find(2)->note, "заметка");
}

TEST(JournalSecondSchema, OutcomeReturnDateAndLinksKeepAndTravel) {
    TempWorkingFolder folder;
    Journal journal = Journal::Open(kJournalFile, Name);
    const std::int64_t first =
        journal.Record(Made("2026-12-01T10:00:00+03:00", {7, 7, 7, 7, 7, 7}));
    const std::int64_t later =
        journal.Record(Made("2026-12-05T10:00:00+03:00", {8, 8, 8, 8, 8, 8}));
    EXPECT_TRUE(journal.SetOutcome(first, "Сложилось хорошо, в срок"));
    EXPECT_TRUE(journal.SetReturnOn(first, "2026-12-09"));
    EXPECT_FALSE(journal.SetReturnOn(99, "2026-12-09"));
    EXPECT_THROW(journal.SetReturnOn(first, "2026-02-30"), Error);
    journal.Link(later, first);
    journal.Link(later, first);  // once is enough
    EXPECT_THROW(journal.Link(first, first), Error);
    EXPECT_EQ(journal.FollowedUp(later), std::vector<std::int64_t>{first});
    EXPECT_EQ(journal.FollowUps(first), std::vector<std::int64_t>{later});
    EXPECT_EQ(journal.CountDue("2026-12-08"), 0);
    EXPECT_EQ(journal.CountDue("2026-12-09"), 1);
    Query words;
    words.text = "срок";  // how it turned out is searched with the note
    EXPECT_EQ(journal.Count(words), 1);

    journal.BackupTo("copy.db");
    Journal other = Journal::Open("other.db", Name);
    EXPECT_EQ(other.RestoreFrom("copy.db"), 2);
    const std::vector<journal::Cast> restored = other.Page({}, {}, 10);
    EXPECT_EQ(restored[1].outcome, "Сложилось хорошо, в срок");
    EXPECT_EQ(restored[1].returnOn, "2026-12-09");

    journal.Delete({first});  // a link goes with either of its entries
    EXPECT_TRUE(journal.FollowedUp(later).empty());
}

// Each condition alone and combined, against entries whose places are
// worked out here from the tradition, not by the program.
TEST(JournalSecondSchema, FindsEntriesByStructure) {
    TempWorkingFolder folder;
    Journal journal = Journal::Open(kJournalFile, Name);
    // 1: 977888 — hexagram 11 (earth over heaven), line 1 moves, second 46
    //    (earth over wind), nuclear 54, opposite 12, inverted 12.
    // 2: 777777 by coins — 1, nothing moves; opposite 2, inverted 1.
    // 3: 787878 — 63 (water over fire), own throw; opposite 64, inverted 64.
    // 4: 688887 — 27 (mountain over thunder) with line 1 moving: second 23.
    journal.Record(Made("2026-11-30T10:00:00+03:00", {9, 7, 7, 8, 8, 8}));
    journal.Record(Made("2026-12-01T10:00:00+03:00", {7, 7, 7, 7, 7, 7}, Method::Coins));
    journal.Record(Made("2026-12-02T10:00:00+03:00", {7, 8, 7, 8, 7, 8}, Method::OwnThrow));
    journal.Record(Made("2026-12-03T10:00:00+03:00", {9, 8, 8, 8, 8, 7}));
    auto ids = [&](const Query& query) {
        std::vector<std::int64_t> found;
        for (const journal::Cast& cast : journal.Page(query, {}, 10))
            found.insert(found.begin(), cast.id);
        EXPECT_EQ(journal.Count(query), static_cast<std::int64_t>(found.size()));
        return found;
    };
    struct Row {
        const char* what;
        std::function<void(Query&)> set;
        std::vector<std::int64_t> ids;
    };
    const std::vector<Row> rows = {
        {"cast 11", [](Query& q) { q.hexagram = 11; }, {1}},
        {"second 46", [](Query& q) { q.hexagram = 46, q.place = Place::Second; }, {1}},
        {"second 23", [](Query& q) { q.hexagram = 23, q.place = Place::Second; }, {4}},
        {"nuclear 54", [](Query& q) { q.hexagram = 54, q.place = Place::Nuclear; }, {1}},
        {"opposite 12", [](Query& q) { q.hexagram = 12, q.place = Place::Opposite; }, {1}},
        {"inverted 64", [](Query& q) { q.hexagram = 64, q.place = Place::Inverted; }, {3}},
        {"1 anywhere", [](Query& q) { q.hexagram = 1, q.place = Place::Any; }, {2}},
        {"64 anywhere", [](Query& q) { q.hexagram = 64, q.place = Place::Any; }, {3}},
        {"line 1 moves", [](Query& q) { q.changingLine = 1; }, {1, 4}},
        {"line 1 of 27", [](Query& q) { q.changingLine = 1, q.hexagram = 27; }, {4}},
        {"line 6 moves", [](Query& q) { q.changingLine = 6; }, {}},
        {"heaven below", [](Query& q) { q.trigram = 1; }, {1, 2}},
        {"earth above", [](Query& q) { q.trigram = 8, q.trigramAbove = true; }, {1}},
        {"wind below in the second",
         [](Query& q) { q.trigram = 5, q.trigramInSecond = true; },
         {1}},
        {"by coins", [](Query& q) { q.method = Method::Coins; }, {2}},
        {"from 1 to 2 December",
         [](Query& q) { q.fromDate = "2026-12-01", q.toDate = "2026-12-02"; },
         {2, 3}},
        {"heaven below, by hand, in November",
         [](Query& q) { q.trigram = 1, q.method = Method::HeadsAndTails, q.toDate = "2026-11-30"; },
         {1}},
    };
    for (const Row& row : rows) {
        Query query;
        row.set(query);
        EXPECT_EQ(ids(query), row.ids) << row.what;
    }
    journal.SetReturnOn(3, "2026-12-05");
    Query due;
    due.dueBy = "2026-12-05";
    EXPECT_EQ(ids(due), std::vector<std::int64_t>{3});
    due.text = "нет-такого-слова";
    EXPECT_TRUE(ids(due).empty());
}

TEST(JournalSecondSchema, StatisticsCountTheTopic) {
    TempWorkingFolder folder;
    Journal journal = Journal::Open(kJournalFile, Name);
    journal.Record(Made("2026-11-30T10:00:00+03:00", {9, 7, 7, 8, 8, 8}, Method::Coins));
    journal.Record(Made("2026-12-01T10:00:00+03:00", {7, 7, 7, 7, 7, 7}, Method::Coins));
    journal.Record(Made("2026-12-02T10:00:00+03:00", {7, 8, 7, 8, 7, 8}));
    // By stalks, 9 8 7 6 7 8, with the totals of each change.
    NewCast stalks = Made("2026-12-03T10:00:00+03:00", {9, 8, 7, 6, 7, 8}, Method::Yarrow);
    stalks.totals = divination::StalkTotals{5, 4, 4, 9, 4, 4, 5, 8, 8, 9, 8, 8, 5, 8, 8, 9, 4, 4};
    const std::int64_t kept = journal.Record(stalks);
    EXPECT_EQ(journal.Find(kept)->totals, stalks.totals);
    EXPECT_EQ(journal.Find(kept)->method, Method::Yarrow);
    journal.Delete({kept});
    const Statistics all = journal.Stats({});
    EXPECT_EQ(all.entries, 3);
    EXPECT_EQ(all.hexagrams[11 - 1], 1);
    EXPECT_EQ(all.hexagrams[1 - 1], 1);
    EXPECT_EQ(all.hexagrams[63 - 1], 1);
    EXPECT_EQ(all.seconds[46 - 1], 1);
    EXPECT_EQ(all.changedLines, (std::array<std::int64_t, 6>{1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(all.values.at(Method::Coins), (std::array<std::int64_t, 4>{0, 8, 3, 1}));
    EXPECT_EQ(all.values.at(Method::HeadsAndTails), (std::array<std::int64_t, 4>{0, 3, 3, 0}));
    EXPECT_EQ(all.below[1 - 1], 2);  // heaven, twice
    EXPECT_EQ(all.months,
              (std::vector<std::pair<std::string, std::int64_t>>{{"2026-11", 1}, {"2026-12", 2}}));
    ASSERT_EQ(all.timeline.size(), 3u);
    EXPECT_EQ(all.timeline[0].values, (divination::LineValues{9, 7, 7, 8, 8, 8}));
    Query coins;
    coins.method = Method::Coins;
    EXPECT_EQ(journal.Stats(coins).entries, 2);
}
