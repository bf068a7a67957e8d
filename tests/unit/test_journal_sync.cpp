// Journals of several machines kept in step through a shared folder: three
// journals editing at random reach the same rows, the latest change wins and
// ties go by machine id, a deletion against an earlier and a later edit, the
// uuids given at migration, a killed write of the own file, and the files
// and rows the merge skips.
#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <random>
#include <set>
#include <tuple>

#include "journal/journal.h"
#include "support/temp_folder.h"

using namespace journal;
using testing_support::TempWorkingFolder;

namespace {

std::string Name(int n) {
    return "Знак " + std::to_string(n);
}

NewCast Manual(int n, const std::string& question = "") {
    divination::LineValues values{};
    for (int line = 0; line < 6; ++line)
        values[line] = (n >> line) & 1 ? 7 : 8;
    return {LocalTimestamp(1767225600 + n * 60),
            divination::Method::HeadsAndTails,
            values,
            std::nullopt,
            question,
            "",
            {}};
}

// What a journal holds as the merge compares it, by uuid: the cast, its
// fields, and the links by uuids.
struct Snapshot {
    std::map<std::string, std::tuple<std::string, std::string, std::string, std::string,
                                     std::string, std::string>>
        rows;
    std::set<std::pair<std::string, std::string>> links;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Read(const std::filesystem::path& file) {
    SQLite::Database db(file.string(), SQLite::OPEN_READONLY);
    Snapshot snapshot;
    SQLite::Statement rows(db,
                           "SELECT uuid, cast_at, lines, question, note, outcome, "
                           "coalesce(return_on, '') FROM casts");
    while (rows.executeStep())
        snapshot.rows[rows.getColumn(0).getString()] = {
            rows.getColumn(1).getString(), rows.getColumn(2).getString(),
            rows.getColumn(3).getString(), rows.getColumn(4).getString(),
            rows.getColumn(5).getString(), rows.getColumn(6).getString()};
    SQLite::Statement links(db,
                            "SELECT a.uuid, b.uuid FROM links l JOIN casts a ON a.id = l.later "
                            "JOIN casts b ON b.id = l.earlier");
    while (links.executeStep())
        snapshot.links.insert({links.getColumn(0).getString(), links.getColumn(1).getString()});
    return snapshot;
}

std::string UuidOf(const std::filesystem::path& file, std::int64_t id) {
    SQLite::Database db(file.string(), SQLite::OPEN_READONLY);
    SQLite::Statement read(db, "SELECT uuid FROM casts WHERE id = ?1");
    read.bind(1, id);
    return read.executeStep() ? read.getColumn(0).getString() : "";
}

std::string Setting(const std::filesystem::path& file, const char* key) {
    SQLite::Database db(file.string(), SQLite::OPEN_READONLY);
    SQLite::Statement read(db, "SELECT value FROM settings WHERE key = ?1");
    read.bind(1, key);
    return read.executeStep() ? read.getColumn(0).getString() : "";
}

std::vector<std::int64_t> Ids(Journal& journal) {
    std::vector<std::int64_t> ids;
    for (const Cast& cast : journal.Page({}, {}, 100000))
        ids.push_back(cast.id);
    return ids;
}

// A machine: its journal in a folder of its own and its clock.
struct Machine {
    std::filesystem::path file;
    std::int64_t now = 0;
    Journal journal;
    Machine(const std::filesystem::path& folder, std::int64_t start)
        : file(folder / kJournalFile), now(start), journal(Open(folder)) {
        journal.SetClock([this] { return now; });
    }
    static Journal Open(const std::filesystem::path& folder) {
        std::filesystem::create_directories(folder);
        return Journal::Open(folder / kJournalFile, Name);
    }
};

}  // namespace

TEST(JournalSync, ThreeJournalsReachTheSameRowsInAnyOrder) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        TempWorkingFolder folder;
        std::filesystem::create_directory("shared");
        std::mt19937 random(seed);
        std::vector<std::unique_ptr<Machine>> machines;
        for (const char* name : {"a", "b", "c"})
            machines.push_back(std::make_unique<Machine>(name, 1000000 + random() % 5000));
        std::set<std::string> made, deleted;
        int casts = 0;
        for (int step = 0; step < 250; ++step) {
            Machine& m = *machines[random() % 3];
            // Clocks that drift apart, and now and then step back.
            m.now += random() % 40;
            if (random() % 25 == 0)
                m.now -= 3000;
            const std::vector<std::int64_t> ids = Ids(m.journal);
            const auto any = [&] { return ids[random() % ids.size()]; };
            const unsigned action = random() % 10;
            if (action <= 1 || ids.empty()) {
                made.insert(UuidOf(m.file, m.journal.Record(Manual(casts++, "q"))));
            } else if (action == 2) {
                m.journal.SetQuestion(any(), "вопрос " + std::to_string(step));
            } else if (action == 3) {
                m.journal.SetNote(any(), "заметка " + std::to_string(step));
            } else if (action == 4) {
                m.journal.SetOutcome(any(), "сбылось " + std::to_string(step));
            } else if (action == 5) {
                m.journal.SetReturnOn(any(), random() % 2 ? "2027-03-01" : "");
            } else if (action == 6) {
                const std::int64_t id = any();
                deleted.insert(UuidOf(m.file, id));
                m.journal.Delete({id});
            } else if (action == 7) {
                const std::int64_t later = any(), earlier = any();
                if (later != earlier) {
                    if (random() % 3)
                        m.journal.Link(later, earlier);
                    else
                        m.journal.Unlink(later, earlier);
                }
            } else if (action == 8) {
                m.journal.WriteOwnCopy("shared");
            } else {
                const MergeReport report = m.journal.MergeFolder("shared");
                EXPECT_TRUE(report.messages.empty()) << report.messages.front();
            }
        }
        // Everyone writes and merges, in a random order, until all have
        // seen all.
        for (int round = 0; round < 3; ++round) {
            std::vector<int> order{0, 1, 2};
            std::shuffle(order.begin(), order.end(), random);
            for (const int n : order)
                machines[n]->journal.WriteOwnCopy("shared");
            std::shuffle(order.begin(), order.end(), random);
            for (const int n : order)
                machines[n]->journal.MergeFolder("shared");
        }
        const Snapshot first = Read(machines[0]->file);
        for (const auto& m : machines)
            EXPECT_TRUE(Read(m->file) == first) << "seed " << seed << ", " << m->file;
        for (const std::string& uuid : made) {
            if (!deleted.contains(uuid))
                EXPECT_TRUE(first.rows.contains(uuid)) << "seed " << seed << ": lost " << uuid;
        }
        EXPECT_GT(first.rows.size(), 3u);
        // Another merge of files all have seen brings nothing.
        for (const auto& m : machines)
            EXPECT_EQ(m->journal.MergeFolder("shared").brought, 0);
    }
}

TEST(JournalSync, TheLatestChangeWinsAndTiesGoByMachineId) {
    TempWorkingFolder folder;
    std::filesystem::create_directory("shared");
    Machine a("a", 1000), b("b", 1000);
    const std::int64_t id = a.journal.Record(Manual(1, "вопрос"));
    a.journal.WriteOwnCopy("shared");
    EXPECT_EQ(b.journal.MergeFolder("shared").brought, 1);
    const std::int64_t there = Ids(b.journal).at(0);
    // Both clocks stand still: both changes get one time, 1001.
    a.journal.SetQuestion(id, "от a");
    b.journal.SetQuestion(there, "от b");
    a.journal.WriteOwnCopy("shared");
    b.journal.WriteOwnCopy("shared");
    a.journal.MergeFolder("shared");
    b.journal.MergeFolder("shared");
    const bool aWins = Setting(a.file, "machine") > Setting(b.file, "machine");
    EXPECT_EQ(a.journal.Find(id)->question, aWins ? "от a" : "от b");
    EXPECT_EQ(b.journal.Find(there)->question, aWins ? "от a" : "от b");

    // A clock stepped back: the machine's own later change still wins, here
    // and on the other machine, over the change it merged before.
    a.now = 10;
    a.journal.SetNote(id, "позже");
    b.now = 5000;
    b.journal.SetNote(there, "раньше");
    b.journal.WriteOwnCopy("shared");
    a.journal.MergeFolder("shared");
    a.now = 20;
    a.journal.SetNote(id, "последнее");
    a.journal.WriteOwnCopy("shared");
    b.journal.MergeFolder("shared");
    EXPECT_EQ(a.journal.Find(id)->note, "последнее");
    EXPECT_EQ(b.journal.Find(there)->note, "последнее");
}

TEST(JournalSync, ADeletionWinsOverAnEarlierEditAndLosesToALaterOne) {
    TempWorkingFolder folder;
    std::filesystem::create_directory("shared");
    Machine a("a", 1000), b("b", 1000);
    const std::int64_t early = a.journal.Record(Manual(1, "первый"));
    const std::int64_t late = a.journal.Record(Manual(2, "второй"));
    a.journal.Link(late, early);
    a.journal.WriteOwnCopy("shared");
    std::filesystem::create_directory("old");
    a.journal.WriteOwnCopy("old");
    b.journal.MergeFolder("shared");
    ASSERT_EQ(b.journal.Count({}), 2);
    const std::int64_t earlyThere = b.journal.Page({"первый"}, {}, 1).at(0).id;
    const std::int64_t lateThere = b.journal.Page({"второй"}, {}, 1).at(0).id;
    EXPECT_EQ(b.journal.FollowedUp(lateThere), std::vector<std::int64_t>{earlyThere});

    // b edits the first at 2000, before a deletes it at 3000; a deletes the
    // second at 3000, before b edits it at 4000. Neither has seen the other.
    b.now = 2000;
    b.journal.SetNote(earlyThere, "правка до удаления");
    a.now = 3000;
    a.journal.Delete({early, late});
    b.now = 4000;
    b.journal.SetOutcome(lateThere, "правка после удаления");
    a.journal.WriteOwnCopy("shared");
    b.journal.WriteOwnCopy("shared");
    a.journal.MergeFolder("shared");
    b.journal.MergeFolder("shared");
    for (Journal* journal : {&a.journal, &b.journal}) {
        const std::vector<Cast> left = journal->Page({}, {}, 10);
        ASSERT_EQ(left.size(), 1u);
        // The later edit keeps its entry; what was changed before the
        // deletion went with it.
        EXPECT_EQ(left[0].outcome, "правка после удаления");
        EXPECT_EQ(left[0].question, "");
        EXPECT_EQ(left[0].values, Manual(2).values);
        EXPECT_TRUE(journal->FollowedUp(left[0].id).empty());
    }
    EXPECT_TRUE(Read(a.file) == Read(b.file));
    // A restore is the user's own wish: what it brings back counts as
    // changed now, later than the deletion, and travels as such. (The
    // second comes back as well: its question is no longer the backup's.)
    EXPECT_EQ(a.journal.RestoreFrom("old/" + a.journal.OwnFileName()), 2);
    EXPECT_EQ(a.journal.Count({}), 3);
    a.journal.WriteOwnCopy("shared");
    b.journal.MergeFolder("shared");
    EXPECT_EQ(b.journal.Count({"первый"}), 1);
}

TEST(JournalSync, AMigratedJournalGivesEachEntryAUuidFromTheCast) {
    TempWorkingFolder folder;
    {
        Journal journal = Journal::Open("v2.db", Name);
        const std::int64_t one = journal.Record(Manual(1, "один"));
        journal.Record(Manual(2, "дважды"));
        const std::int64_t twice = journal.Record(Manual(2, "дважды"));
        journal.Link(twice, one);
    }
    {
        // Back to the second schema, as the release before wrote it.
        SQLite::Database db("v2.db", SQLite::OPEN_READWRITE);
        db.exec(
            "DROP INDEX casts_by_uuid; DROP TABLE link_stamps; DROP TABLE tombstones; "
            "DROP TABLE peer_files; DELETE FROM settings WHERE key LIKE 'machine%' OR key = "
            "'clock'; PRAGMA user_version = 2;");
        for (const char* column : {"uuid", "question_at", "question_by", "note_at", "note_by",
                                   "outcome_at", "outcome_by", "return_at", "return_by"})
            db.exec(std::string("ALTER TABLE casts DROP COLUMN ") + column);
    }
    std::filesystem::copy_file("v2.db", "copy.db");
    const std::string v2 = folder.read("v2.db");
    std::set<std::string> uuids;
    {
        Journal journal = Journal::Open("v2.db", Name);
        EXPECT_EQ(journal.Count({}), 3);
        for (const std::int64_t id : Ids(journal)) {
            const std::string uuid = UuidOf("v2.db", id);
            EXPECT_EQ(uuid.size(), 32u);
            EXPECT_EQ(uuid.find_first_not_of("0123456789abcdef"), std::string::npos);
            uuids.insert(uuid);
        }
    }
    EXPECT_EQ(uuids.size(), 3u);  // the two alike casts too
    // A copy of the same journal migrates to the same uuids, so the two
    // merge into one instead of showing every entry twice.
    std::filesystem::create_directory("shared");
    Journal copy = Journal::Open("copy.db", Name);
    EXPECT_EQ(Read("copy.db").rows.size(), 3u);
    for (const auto& [uuid, row] : Read("copy.db").rows)
        EXPECT_TRUE(uuids.contains(uuid));
    Journal first = Journal::Open("v2.db", Name);
    first.SetNote(Ids(first).at(0), "изменено");
    first.WriteOwnCopy("shared");
    EXPECT_EQ(copy.MergeFolder("shared").brought, 1);
    EXPECT_EQ(copy.Count({}), 3);
    EXPECT_TRUE(Read("copy.db") == Read("v2.db"));
    EXPECT_EQ(Read("copy.db").links.size(), 1u);

    // A backup of the second schema still restores.
    folder.write("old-backup.db", v2);
    Journal fresh = Journal::OpenInMemory(Name);
    EXPECT_EQ(fresh.RestoreFrom("old-backup.db"), 3);
    // But it is no file to merge: it has nothing to merge by.
    const std::string text = [&] {
        try {
            fresh.MergeBytes(v2, "old.taynovid-journal");
        } catch (const Error& error) {
            return std::string(error.what());
        }
        return std::string();
    }();
    EXPECT_EQ(text.rfind("Файл \"old.taynovid-journal\" пропущен: он записан версией", 0), 0u)
        << text;
}

TEST(JournalSync, AKilledWriteOfTheOwnFileLeavesTheOneBeforeWhole) {
    TempWorkingFolder folder;
    std::filesystem::create_directory("shared");
    {
        Journal journal = Journal::Open(kJournalFile, Name);
        for (int n = 0; n < 300; ++n)
            journal.Record(Manual(n, "вопрос " + std::to_string(n)));
    }
    const std::string own = "shared/" + Journal::Open(kJournalFile, Name).OwnFileName();
    Journal::Open(kJournalFile, Name).WriteOwnCopy("shared");
    std::mt19937 random(7);
    for (int kill = 0; kill < 120; ++kill) {
        const pid_t child = fork();
        if (child == 0) {
            Journal journal = Journal::Open(kJournalFile, Name);
            for (;;)
                journal.WriteOwnCopy("shared");
        }
        ::usleep(2000 + random() % 15000);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
        SQLite::Database db(own, SQLite::OPEN_READONLY);
        ASSERT_EQ(db.execAndGet("PRAGMA integrity_check").getString(), "ok") << "kill " << kill;
        ASSERT_EQ(db.execAndGet("SELECT count(*) FROM casts").getInt(), 300) << "kill " << kill;
    }
    // What a killed write left beside it is no file to merge, and goes at
    // the next write.
    Journal journal = Journal::Open(kJournalFile, Name);
    journal.WriteOwnCopy("shared");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("shared"), {}), 1);
}

TEST(JournalSync, ADamagedFileIsSkippedWithOneMessageAndTheOthersMerge) {
    TempWorkingFolder folder;
    std::filesystem::create_directory("shared");
    Machine a("a", 1000), b("b", 1000);
    for (int n = 0; n < 50; ++n)
        a.journal.Record(Manual(n, std::string(200, 'q')));
    a.journal.WriteOwnCopy("shared");
    const std::string good = folder.read("shared/" + a.journal.OwnFileName());
    folder.write("shared/short.taynovid-journal", good.substr(0, good.size() / 2));
    folder.write("shared/garbage.taynovid-journal", std::string(5000, 'g'));
    folder.write("shared/notes.txt", "не журнал и не для слияния");
    const auto path = [&](const char* name) { return (folder.path() / "shared" / name).string(); };
    const std::vector<std::string> expected = {
        "Файл \"" + path("garbage.taynovid-journal") +
            "\" пропущен: он не является журналом гаданий",
        "Файл \"" + path("short.taynovid-journal") + "\" пропущен: он повреждён",
    };
    MergeReport report = b.journal.MergeFolder("shared");
    EXPECT_EQ(report.messages, expected);
    EXPECT_EQ(report.brought, 50);
    ASSERT_EQ(report.files.size(), 3u);
    EXPECT_EQ(b.journal.Count({}), 50);

    // Told once: the same files as they were say nothing more.
    b.now = 2000;
    report = b.journal.MergeFolder("shared");
    EXPECT_TRUE(report.messages.empty());
    EXPECT_EQ(report.brought, 0);
    // Changed, and still no journal: told again.
    folder.write("shared/garbage.taynovid-journal", std::string(6000, 'h'));
    report = b.journal.MergeFolder("shared");
    EXPECT_EQ(report.messages, std::vector<std::string>{expected[0]});

    // What the journal window shows of each.
    const std::vector<PeerFile> peers = b.journal.PeerFiles();
    ASSERT_EQ(peers.size(), 3u);
    const auto own = std::find_if(peers.begin(), peers.end(), [&](const PeerFile& peer) {
        return peer.name == a.journal.OwnFileName();
    });
    ASSERT_NE(own, peers.end());
    EXPECT_EQ(own->mergedAt, 1000);
    EXPECT_EQ(own->brought, 50);
    EXPECT_TRUE(own->problem.empty());
    EXPECT_EQ(peers[0].name, "garbage.taynovid-journal");
    EXPECT_EQ(peers[0].problem, expected[0]);
    EXPECT_EQ(peers[0].mergedAt, 0);
}

// A row is read whole only when it may bring something: the damaged cast
// of an entry this journal has, with nothing newer, refuses nothing, and
// refuses the whole file to a journal it would be new to.
TEST(JournalSync, ARowIsCheckedWholeWhereItMayBringSomething) {
    TempWorkingFolder folder;
    std::filesystem::create_directory("shared");
    Machine a("a", 1000), b("b", 1000);
    for (int n = 0; n < 3; ++n)
        a.journal.Record(Manual(n, "вопрос"));
    a.journal.WriteOwnCopy("shared");
    const std::string file = "shared/" + a.journal.OwnFileName();
    EXPECT_EQ(b.journal.MergeBytes(folder.read(file), "a"), 3);
    {
        SQLite::Database db(file, SQLite::OPEN_READWRITE);
        db.exec("UPDATE casts SET lines = '12' WHERE id = 1");
    }
    const std::string damaged = folder.read(file);
    EXPECT_EQ(b.journal.MergeBytes(damaged, "a"), 0);
    Machine c("c", 1000);
    try {
        c.journal.MergeBytes(damaged, "a");
        ADD_FAILURE() << "the damaged row was taken";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(),
                     "Файл \"a\" пропущен: он повреждён. Запись 1: черты не шесть цифр от 6 до 9");
    }
    EXPECT_EQ(c.journal.Count({}), 0);
    // A file cut short is damaged before anything of it is read.
    try {
        b.journal.MergeBytes(damaged.substr(0, damaged.size() - 4096), "a");
        ADD_FAILURE() << "a file cut short was merged";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Файл \"a\" пропущен: он повреждён");
    }
}
