// The journal file: what a recorded cast looks like in it, how it is opened
// and migrated, the search and the paging, copies and their merge, and what
// survives a killed process or a second writer.
#include <SQLiteCpp/SQLiteCpp.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <random>
#include <set>

#include "journal/journal.h"
#include "support/temp_folder.h"

using namespace journal;
using testing_support::TempWorkingFolder;

namespace {

std::string Name(int n) {
    static const std::map<int, std::string> kNames = {
        {1, "Творчество"}, {2, "Исполнение"}, {11, "Расцвет"}, {12, "Упадок"}, {46, "Подъём"}};
    const auto found = kNames.find(n);
    return found != kNames.end() ? found->second : "Знак " + std::to_string(n);
}

// Lines 977888: hexagram 11, line 1 changes, so the second is 46.
NewCast Automatic(const std::string& castAt, const std::string& question = "") {
    return {
        castAt,
        divination::Method::Coins,
        {9, 7, 7, 8, 8, 8},
        divination::CoinNumbers{1, 3, 5, 1, 3, 2, 7, 9, 10, 1, 2, 4, 0, 998, 999, 100, 200, 301},
        question,
        "",
        {}};
}

// Heads and tails by hand: `lines` as six digits 7 and 8, line 1 first.
NewCast Manual(const std::string& castAt, const std::string& lines,
               const std::string& question = "") {
    divination::LineValues values{};
    for (int i = 0; i < 6; ++i)
        values[i] = lines.at(i) - '0';
    return {castAt, divination::Method::HeadsAndTails, values, std::nullopt, question, "", {}};
}

std::string Absolute(const char* name) {
    return (std::filesystem::current_path() / name).string();
}

// The ids a query lists, page by page, newest first.
std::vector<std::int64_t> Listed(Journal& journal, const Query& query, int pageSize = 2) {
    std::vector<std::int64_t> ids;
    Position after;
    for (;;) {
        const std::vector<Cast> page = journal.Page(query, after, pageSize);
        for (const Cast& cast : page)
            ids.push_back(cast.id);
        if (static_cast<int>(page.size()) < pageSize)
            return ids;
        after = After(page.back());
    }
}

std::string IntegrityCheck(const char* file) {
    SQLite::Database db(file, SQLite::OPEN_READWRITE);
    return db.execAndGet("PRAGMA integrity_check").getString();
}

std::string ErrorText(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "(no error)";
}

}  // namespace

TEST(JournalTime, TimestampsCarryTheirOffset) {
    ::setenv("TZ", "<+03>-3", 1);
    ::tzset();
    EXPECT_EQ(LocalTimestamp(1796753645), "2026-12-08T21:14:05+03:00");
    ::setenv("TZ", "<-0530>5:30", 1);
    ::tzset();
    EXPECT_EQ(LocalTimestamp(1796753645), "2026-12-08T12:44:05-05:30");
    ::unsetenv("TZ");
    ::tzset();
    EXPECT_EQ(ParseTimestamp("2026-12-08T21:14:05+03:00"), 1796753645);
    EXPECT_EQ(ParseTimestamp("2026-12-08T12:44:05-05:30"), 1796753645);
    EXPECT_EQ(ParseTimestamp("2024-02-29T00:00:00+00:00"), 1709164800);
    for (const char* wrong :
         {"2025-02-29T00:00:00+00:00", "2026-12-08 21:14:05+03:00", "2026-12-08T24:00:00+03:00",
          "2026-12-08T21:14:05+15:00", "2026-12-08T21:14:05Z", "2026-12-08T21:14:5+03:00"})
        EXPECT_FALSE(ParseTimestamp(wrong)) << wrong;
    EXPECT_EQ(RussianDateTime("2026-12-08T21:14:05+03:00"), "8 декабря 2026, 21:14");
    EXPECT_EQ(RussianDateTime("2027-05-01T09:05:00-05:30"), "1 мая 2027, 09:05");
}

TEST(JournalRecord, KeepsEachCastAsOneRowExactlyAsGiven) {
    TempWorkingFolder folder;
    {
        Journal journal = Journal::Open(kJournalFile, Name);
        EXPECT_EQ(journal.Record(Automatic("2026-12-08T21:14:05+03:00", "Что «ждёт»?")), 1);
        NewCast manual = Manual("2026-12-09T08:00:00+03:00", "777777");
        manual.note = "строка 1\nстрока 2";
        EXPECT_EQ(journal.Record(manual), 2);
    }
    SQLite::Database db(kJournalFile, SQLite::OPEN_READONLY);
    SQLite::Statement rows(db,
                           "SELECT cast_at, mode, lines, quote(coins), hexagram, quote(relating), "
                           "question, note, quote(totals), outcome, quote(return_on), nuclear, "
                           "opposite, inverted, changing, below, above, quote(second_below), "
                           "quote(second_above) FROM casts ORDER BY id");
    std::vector<std::string> read;
    while (rows.executeStep()) {
        std::string row;
        for (int column = 0; column < 19; ++column)
            row += rows.getColumn(column).getString() + "|";
        read.push_back(row);
    }
    // 11 (earth over heaven), line 1 moving to 46; 1, nothing moving. The
    // nuclear, opposite and inverted hexagrams and the trigrams (heaven 1,
    // wind 5, earth 8) as the tradition has them.
    EXPECT_EQ(read, (std::vector<std::string>{
                        "2026-12-08T21:14:05+03:00|1|977888|'1 3 5 1 3 2 7 9 10 1 2 4 0 998 999 "
                        "100 200 301'|11|46|Что «ждёт»?||NULL||NULL|54|12|12|1|1|8|5|8|",
                        "2026-12-09T08:00:00+03:00|3|777777|NULL|1|NULL||строка 1\nстрока "
                        "2|NULL||NULL|1|2|1|0|1|1|NULL|NULL|"}));
    EXPECT_EQ(db.execAndGet("PRAGMA journal_mode").getString(), "wal");
    EXPECT_EQ(db.execAndGet("PRAGMA user_version").getInt(), 3);
}

TEST(JournalRecord, RefusesACastWhoseValuesDisagree) {
    TempWorkingFolder folder;
    Journal journal = Journal::Open(kJournalFile, Name);
    const std::string prefix =
        "Гадание не записано в журнал \"" + Absolute(kJournalFile) + "\". Неверное гадание: ";
    struct Case {
        std::function<void(NewCast&)> spoil;
        std::string problem;
    };
    const std::vector<Case> cases = {
        {[](NewCast& c) { c.castAt = "2026-02-30T10:00:00+03:00"; },
         "время гадания не в виде 2026-12-08T21:14:05+03:00"},
        {[](NewCast& c) { c.method = static_cast<divination::Method>(9); },
         "способ гадания не от 1 до 6"},
        {[](NewCast& c) { c.values[5] = 5; }, "черты не шесть цифр от 6 до 9"},
        {[](NewCast& c) { c.values[0] = 7; }, "монеты не соответствуют чертам"},
        {[](NewCast& c) { (*c.coins)[17] = 300; }, "монеты не соответствуют чертам"},
        {[](NewCast& c) { (*c.coins)[0] = 1001; },
         "монеты не восемнадцать чисел от 0 до 999 через пробел"},
        {[](NewCast& c) { (*c.coins)[4] = -1; },
         "монеты не восемнадцать чисел от 0 до 999 через пробел"},
        {[](NewCast& c) { c.coins.reset(); }, "у автоматического гадания нет монет"},
        {[](NewCast& c) { c.method = divination::Method::OwnThrow; },
         "монеты записаны не у автоматического гадания"},
        {[](NewCast& c) { c.totals = divination::StalkTotals{}; },
         "суммы стеблей записаны не у гадания на стеблях"},
        {[](NewCast& c) { c.coins.reset(), c.method = divination::Method::Yarrow; },
         "у гадания на стеблях нет сумм стеблей"},
        {[](NewCast& c) {
             // By stalks, but line 4's totals 9 8 4 give 7 where the line is 8.
             c.coins.reset(), c.method = divination::Method::Yarrow;
             c.totals =
                 divination::StalkTotals{5, 4, 4, 5, 8, 8, 5, 8, 8, 9, 8, 4, 9, 4, 8, 9, 9, 8};
         },
         "суммы стеблей не соответствуют чертам"},
        {[](NewCast& c) { c.question = std::string(kMaxTextBytes + 1, 'a'); },
         "вопрос длиннее 100000 байт"},
        {[](NewCast& c) { c.note = "\xD0"; }, "заметка не в кодировке UTF-8"},
        {[](NewCast& c) { c.note = std::string("a\0b", 3); }, "заметка не в кодировке UTF-8"},
    };
    for (const Case& c : cases) {
        NewCast cast = Automatic("2026-12-08T21:14:05+03:00");
        c.spoil(cast);
        EXPECT_EQ(ErrorText([&] { journal.Record(cast); }), prefix + c.problem);
    }
    EXPECT_EQ(journal.Count({}), 0);
}

TEST(JournalRecord, AFullDiskLeavesTheJournalAsItWas) {
    TempWorkingFolder folder;
    Journal::Open(kJournalFile, Name).Record(Automatic("2026-12-08T21:14:05+03:00"));
    int report[2];
    ASSERT_EQ(pipe(report), 0);
    const pid_t child = fork();
    if (child == 0) {
        Journal journal = Journal::Open(kJournalFile, Name);
        // No file may grow past one page: the log can't take the cast.
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        NewCast cast = Automatic("2026-12-09T21:14:05+03:00");
        cast.note = std::string(20000, 'n');
        const std::string message = ErrorText([&] { journal.Record(cast); });
        (void)!::write(report[1], message.data(), message.size());
        ::_exit(0);
    }
    ::close(report[1]);
    char buffer[512];
    const ssize_t got = ::read(report[0], buffer, sizeof buffer);
    ::close(report[0]);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(
        std::string(buffer, std::max<ssize_t>(got, 0)),
        "Гадание не записано в журнал \"" + Absolute(kJournalFile) + "\". Ошибка записи на диск");
    EXPECT_EQ(IntegrityCheck(kJournalFile), "ok");
    EXPECT_EQ(Journal::Open(kJournalFile, Name).Count({}), 1);
}

TEST(JournalOpen, MigratesAnEmptyFileAndRefusesFilesItCannotRead) {
    TempWorkingFolder folder;
    folder.write(kJournalFile, "");
    Journal::Open(kJournalFile, Name).Record(Manual("2026-12-08T21:14:05+03:00", "888888"));
    {
        SQLite::Database db(kJournalFile, SQLite::OPEN_READONLY);
        EXPECT_EQ(db.execAndGet("PRAGMA user_version").getInt(), 3);
        EXPECT_EQ(db.execAndGet("PRAGMA application_id").getInt(), 0x5441594E);
    }
    EXPECT_TRUE(Journal::Open(kJournalFile, Name).Recording());

    {
        SQLite::Database newer("newer.db", SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        newer.exec(
            "PRAGMA application_id = 1413568846; PRAGMA user_version = 4;"
            "CREATE TABLE casts(id INTEGER PRIMARY KEY, future BLOB)");
        SQLite::Database other("other.db", SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        other.exec("CREATE TABLE casts(id INTEGER PRIMARY KEY, cast_at TEXT)");
    }
    const std::map<std::string, std::string> refused = {
        {"newer.db", "Файл \"" + Absolute("newer.db") + "\" создан более новой версией программы"},
        {"other.db", "Файл \"" + Absolute("other.db") + "\" не является журналом гаданий"},
    };
    for (const auto& [file, message] : refused) {
        const std::string before = folder.read(file);
        EXPECT_EQ(ErrorText([&] { Journal::Open(file, Name); }), message);
        EXPECT_EQ(folder.read(file), before) << file;
    }
}

TEST(JournalOpen, RefusesWhatIsNoRegularFileWithoutWaiting) {
    TempWorkingFolder folder;
    std::filesystem::create_directory("folder");
    ASSERT_EQ(::mkfifo("fifo", 0600), 0);
    ::alarm(20);  // a FIFO opened for reading would wait for a writer forever
    const std::string open = "Не удалось открыть журнал \"";
    EXPECT_EQ(ErrorText([] { Journal::Open("folder", Name); }),
              open + Absolute("folder") + "\". Это папка");
    EXPECT_EQ(ErrorText([] { Journal::Open("fifo", Name); }),
              open + Absolute("fifo") + "\". Это не обычный файл");
    EXPECT_EQ(ErrorText([] { Journal::Open("missing/Journal.db", Name); }),
              open + Absolute("missing") + "/Journal.db\". Нет такого файла или папки");
    Journal journal = Journal::OpenInMemory(Name);
    EXPECT_EQ(ErrorText([&] { journal.RestoreFrom("fifo"); }),
              "Не удалось открыть файл \"" + Absolute("fifo") + "\". Это не обычный файл");
    ::alarm(0);
    // A link to a journal is the journal.
    std::filesystem::create_symlink("real.db", kJournalFile);
    Journal::Open(kJournalFile, Name).Record(Automatic("2026-12-08T21:14:05+03:00"));
    EXPECT_EQ(Journal::Open("real.db", Name).Count({}), 1);
}

TEST(JournalOpen, MovesADamagedJournalAsideAndBeginsANewOne) {
    TempWorkingFolder folder;
    {
        Journal journal = Journal::Open("sound.db", Name);
        for (int n = 0; n < 300; ++n)
            journal.Record(Automatic("2026-12-08T21:14:05+03:00", std::string(200, 'q')));
    }
    std::string brokenTree = folder.read("sound.db");
    std::fill_n(brokenTree.begin() + 8 * 4096, 64, '\xFF');
    // A file that is no database, and one whose tree is broken, with a log.
    const std::vector<std::pair<std::string, std::string>> damaged = {
        {std::string(5000, 'x'), ""}, {brokenTree, "log of the broken journal"}};
    for (const auto& [bytes, log] : damaged) {
        folder.write(kJournalFile, bytes);
        if (!log.empty())
            folder.write("Journal.db-wal", log);
        // Both names this second and the next may be taken: then "-2" follows.
        std::vector<std::string> taken;
        for (const std::time_t second : {std::time(nullptr), std::time(nullptr) + 1}) {
            char stamp[32];
            std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", std::localtime(&second));
            taken.push_back(std::string(kJournalFile) + ".damaged-" + stamp);
            folder.write(taken.back(), "taken");
        }
        Journal journal = Journal::Open(kJournalFile, Name);
        const std::string notice = journal.DamagedNotice();
        const std::string lead =
            "Журнал \"" + Absolute(kJournalFile) + "\" повреждён. Он сохранён как \"";
        ASSERT_EQ(notice.substr(0, lead.size()), lead);
        const std::string aside =
            notice.substr(lead.size(), notice.find('"', lead.size()) - lead.size());
        EXPECT_EQ(notice.substr(lead.size() + aside.size()), "\", начат новый журнал");
        EXPECT_TRUE(aside == Absolute(taken[0].c_str()) + "-2" ||
                    aside == Absolute(taken[1].c_str()) + "-2")
            << aside;
        EXPECT_EQ(folder.read(aside), bytes);
        EXPECT_EQ(std::filesystem::exists(aside + "-wal"), !log.empty());
        EXPECT_EQ(folder.read(aside + "-wal"), log);
        EXPECT_EQ(journal.Count({}), 0);
        journal.Record(Automatic("2026-12-08T21:14:05+03:00"));
        for (const std::string& name : taken)
            std::filesystem::remove(name);
        for (const char* suffix : {"", "-wal", "-shm"})
            std::filesystem::remove(aside + suffix);
    }
}

TEST(JournalList, SearchesQuestionsNotesAndNamesByWordStarts) {
    Journal journal = Journal::OpenInMemory(Name);
    const std::int64_t tree =
        journal.Record(Automatic("2026-01-01T10:00:00+03:00", "Ёлка во дворе"));
    const std::int64_t fir =
        journal.Record(Manual("2026-01-02T10:00:00+03:00", "777777", "ЕЛЬ у дома"));
    const std::int64_t move =
        journal.Record(Manual("2026-01-03T10:00:00+03:00", "888777", "Переезд в новый дом"));
    journal.SetNote(fir, "Старый дом, «ёмкий» чердак");
    struct Case {
        Query query;
        std::vector<std::int64_t> ids;
    };
    const std::vector<Case> cases = {
        {{"елка"}, {tree}},         {{"ЁЛ"}, {fir, tree}},      {{"дом"}, {move, fir}},
        {{"  дом  пере "}, {move}}, {{"емк"}, {fir}},           {{"дом ель"}, {fir}},
        {{"творч"}, {fir}},         {{"подъем"}, {tree}},  // the second hexagram's name
        {{"расцв ёлка"}, {tree}},   {{"упадок пере\"езд"}, {}}, {{"дв\""}, {tree}},
        {{"", 12}, {move}},         {{"дом", 1}, {fir}},        {{"", 2}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Listed(journal, c.query), c.ids) << c.query.text << " " << c.query.hexagram;
        EXPECT_EQ(journal.Count(c.query), static_cast<std::int64_t>(c.ids.size()));
    }
    // Edits and deletions reach the search.
    EXPECT_TRUE(journal.SetQuestion(move, "Отъезд"));
    EXPECT_EQ(Listed(journal, {"пере"}), std::vector<std::int64_t>{});
    EXPECT_EQ(Listed(journal, {"отъе"}), std::vector<std::int64_t>{move});
    EXPECT_FALSE(journal.SetQuestion(999, "нет такой"));
    journal.Delete({tree, fir});
    EXPECT_EQ(Listed(journal, {"елка"}), std::vector<std::int64_t>{});
    EXPECT_EQ(Listed(journal, {}), std::vector<std::int64_t>{move});
    journal.Clear();
    EXPECT_EQ(journal.Count({}), 0);
}

TEST(JournalList, PagesGoNewestFirstByTheRealMoment) {
    Journal journal = Journal::OpenInMemory(Name);
    // UTC: 09:00, 10:30, 10:00, 10:30, 08:59:59 (the previous day's local date).
    const std::vector<std::string> times = {
        "2026-01-01T12:00:00+03:00", "2026-01-01T05:00:00-05:30", "2026-01-01T10:00:00+00:00",
        "2026-01-01T16:00:00+05:30", "2025-12-31T23:59:59-09:00"};
    for (const std::string& at : times)
        journal.Record(Manual(at, "777777"));
    EXPECT_EQ(Listed(journal, {}, 1), (std::vector<std::int64_t>{4, 2, 3, 1, 5}));
    EXPECT_EQ(Listed(journal, {}, 3), (std::vector<std::int64_t>{4, 2, 3, 1, 5}));
    const std::optional<Cast> found = journal.Find(2);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->castAt, times[1]);
    EXPECT_EQ(found->moment, *ParseTimestamp(times[1]));
    EXPECT_FALSE(journal.Find(6));
}

TEST(JournalSettings, TheRecordingSwitchIsKeptInTheFile) {
    TempWorkingFolder folder;
    EXPECT_TRUE(Journal::Open(kJournalFile, Name).Recording());
    Journal::Open(kJournalFile, Name).SetRecording(false);
    EXPECT_FALSE(Journal::Open(kJournalFile, Name).Recording());
    Journal::Open(kJournalFile, Name).SetRecording(true);
    EXPECT_TRUE(Journal::Open(kJournalFile, Name).Recording());
}

TEST(JournalBackup, ARestoreAddsOnlyTheMissingCastsOnce) {
    TempWorkingFolder folder;
    {
        Journal old = Journal::Open("old.db", Name);
        old.Record(Automatic("2026-01-01T10:00:00+03:00", "дважды"));
        old.Record(Automatic("2026-01-01T10:00:00+03:00", "дважды"));
        const std::int64_t kept = old.Record(Manual("2026-01-02T10:00:00+03:00", "888777"));
        old.SetNote(kept, "заметка");
        old.BackupTo("copy.db");
        old.BackupTo("copy.db");  // over an earlier copy
    }
    const std::string bytes = folder.read("copy.db");
    EXPECT_EQ(bytes.substr(18, 2), "\x01\x01");  // no log beside it
    EXPECT_FALSE(std::filesystem::exists("copy.db-wal"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 2);

    Journal journal = Journal::Open(kJournalFile, Name);
    journal.Record(Automatic("2026-01-01T10:00:00+03:00", "дважды"));
    EXPECT_EQ(journal.RestoreFrom("copy.db"), 2);
    EXPECT_EQ(journal.RestoreFrom("copy.db"), 0);
    // The journal file itself, in WAL mode, is a backup too.
    EXPECT_EQ(journal.RestoreFrom("old.db"), 0);
    EXPECT_EQ(journal.Count({"дважды"}), 2);
    const std::vector<Cast> page = journal.Page({"заметка"}, {}, 10);
    ASSERT_EQ(page.size(), 1u);
    EXPECT_EQ(page[0].values, (divination::LineValues{8, 8, 8, 7, 7, 7}));
    EXPECT_EQ(Listed(journal, {"упадок"}), std::vector<std::int64_t>{page[0].id});

    // Never over the journal itself or its log: the journal keeps every
    // entry and stays whole.
    for (const char* own : {kJournalFile, "Journal.db-wal", "./Journal.db"}) {
        try {
            journal.BackupTo(own);
            ADD_FAILURE() << own;
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find("Это файл самого журнала"), std::string::npos);
        }
    }
    // A copy that can't be put in place says why in the journal's words and
    // leaves no temporary behind.
    std::filesystem::create_directory("folder.db");
    const std::map<const char*, std::string> failed = {
        {"folder.db",
         "Не удалось сохранить копию журнала \"" + Absolute("folder.db") + "\". Это папка"},
        {"missing/copy.db", "Не удалось сохранить копию журнала \"" + Absolute("missing/copy.db") +
                                "\". Нет такого файла или папки"},
    };
    for (const auto& [target, message] : failed)
        EXPECT_EQ(ErrorText([&, target = target] { journal.BackupTo(target); }), message);
    for (const auto& entry : std::filesystem::directory_iterator("."))
        EXPECT_FALSE(entry.path().string().ends_with(".tmp")) << entry.path();
    journal.Record(Manual("2026-01-03T10:00:00+03:00", "777777"));
    EXPECT_EQ(journal.Count({}), 4);
    EXPECT_EQ(Journal::Open(kJournalFile, Name).Count({}), 4);
}

TEST(JournalBackup, ARefusedRestoreLeavesTheJournalUntouched) {
    TempWorkingFolder folder;
    {
        Journal source = Journal::Open("source.db", Name);
        for (int n = 0; n < 100; ++n)
            source.Record(Automatic("2026-01-01T10:00:00+03:00", std::string(300, 'q')));
        source.BackupTo("good.db");
    }
    const std::string good = folder.read("good.db");
    // A backup changed with SQL after it was written.
    auto changed = [&](const char* name, const char* sql) {
        folder.write(name, good);
        SQLite::Database(name, SQLite::OPEN_READWRITE).exec(sql);
    };
    changed("newer.db", "PRAGMA user_version = 4");
    changed("foreign.db", "PRAGMA application_id = 7");
    changed("hexagram.db", "UPDATE casts SET hexagram = 12 WHERE id = 3");
    changed("mode.db", "UPDATE casts SET mode = 7 WHERE id = 1");
    changed("coins.db", "UPDATE casts SET coins = '1 3 5' WHERE id = 2");
    changed("typed.db", "UPDATE casts SET question = x'00' WHERE id = 2");
    changed("second.db", "UPDATE casts SET relating = NULL WHERE id = 4");
    changed("zeros.db", "UPDATE casts SET coins = '0' || coins WHERE id = 5");
    changed("lines.db", "UPDATE casts SET lines = '97788' WHERE id = 6");
    changed("renamed.db", "ALTER TABLE casts RENAME COLUMN coins TO money");
    std::string broken = good;
    std::fill_n(broken.begin() + 6 * 4096, 200, '\x7F');
    folder.write("broken.db", broken);
    folder.write("short.db", good.substr(0, good.size() / 2));
    folder.write("text.db", std::string(4096, 't'));
    // Past any journal's size, refused before a byte is read.
    folder.write("huge.db", "");
    std::filesystem::resize_file("huge.db", (std::uintmax_t{1} << 30) + 1);
    std::filesystem::create_directory("folder.db");

    Journal journal = Journal::Open(kJournalFile, Name);
    journal.Record(Manual("2026-01-02T10:00:00+03:00", "888777"));
    const std::string before = folder.read(kJournalFile) + folder.read("Journal.db-wal");
    const auto file = [](const char* name) { return "Файл \"" + Absolute(name) + "\""; };
    const std::map<const char*, std::string> refused = {
        {"newer.db", file("newer.db") + " создан более новой версией программы"},
        {"foreign.db", file("foreign.db") + " не является журналом гаданий"},
        {"renamed.db", file("renamed.db") + " не является журналом гаданий"},
        {"text.db", file("text.db") + " не является журналом гаданий"},
        {"hexagram.db",
         file("hexagram.db") + " повреждён. Запись 3: номер гексаграммы не соответствует чертам"},
        {"mode.db", file("mode.db") + " повреждён. Запись 1: способ гадания не от 1 до 6"},
        {"coins.db", file("coins.db") +
                         " повреждён. Запись 2: монеты не восемнадцать чисел от 0 до 999 через "
                         "пробел"},
        {"typed.db", file("typed.db") + " повреждён. Запись 2: вопрос или заметка не текст"},
        {"second.db",
         file("second.db") + " повреждён. Запись 4: вторая гексаграмма не соответствует чертам"},
        {"zeros.db", file("zeros.db") +
                         " повреждён. Запись 5: монеты не восемнадцать чисел от 0 до 999 через "
                         "пробел"},
        {"lines.db", file("lines.db") + " повреждён. Запись 6: черты не шесть цифр от 6 до 9"},
        {"broken.db", file("broken.db") + " повреждён"},
        {"short.db", file("short.db") + " повреждён"},
        {"huge.db", file("huge.db") + " не является журналом гаданий"},
        {"folder.db",
         "Не удалось открыть файл \"" + Absolute("folder.db") + "\". Это не обычный файл"},
        {"missing.db",
         "Не удалось открыть файл \"" + Absolute("missing.db") + "\". Нет такого файла или папки"},
    };
    for (const auto& [name, message] : refused)
        EXPECT_EQ(ErrorText([&, name = name] { journal.RestoreFrom(name); }), message);
    EXPECT_EQ(folder.read(kJournalFile) + folder.read("Journal.db-wal"), before);
    EXPECT_EQ(journal.Count({}), 1);
}

TEST(JournalCrash, EveryCastReportedBeforeAKillIsThere) {
    TempWorkingFolder folder;
    std::mt19937 random(20261208);
    std::set<std::int64_t> reported;
    constexpr int kKills = 300;
    for (int kill = 0; kill < kKills; ++kill) {
        int ids[2];
        ASSERT_EQ(pipe(ids), 0);
        const pid_t child = fork();
        if (child == 0) {
            ::close(ids[0]);
            try {
                Journal journal = Journal::Open(kJournalFile, Name);
                for (int n = 0;; ++n) {
                    const std::int64_t id = journal.Record(
                        Automatic("2026-01-01T10:00:00+03:00", "бросок " + std::to_string(n)));
                    if (::write(ids[1], &id, sizeof id) != sizeof id)
                        ::_exit(2);
                }
            } catch (const Error& error) {
                std::fprintf(stderr, "%s\n", error.what());
            }
            ::_exit(3);
        }
        ::close(ids[1]);
        // Killed while opening (no cast waited for), or after some casts,
        // at any moment of the next one.
        std::int64_t id;
        for (int wait = random() % 4; wait > 0 && ::read(ids[0], &id, sizeof id) == sizeof id;
             --wait)
            reported.insert(id);
        ::usleep(random() % 4000);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended by itself: " << status;
        while (::read(ids[0], &id, sizeof id) == sizeof id)
            reported.insert(id);
        ::close(ids[0]);

        ASSERT_EQ(IntegrityCheck(kJournalFile), "ok") << "after kill " << kill;
        SQLite::Database db(kJournalFile, SQLite::OPEN_READONLY);
        SQLite::Statement read(db, "SELECT id FROM casts");
        std::set<std::int64_t> kept;
        while (read.executeStep())
            kept.insert(read.getColumn(0).getInt64());
        ASSERT_TRUE(std::includes(kept.begin(), kept.end(), reported.begin(), reported.end()))
            << "after kill " << kill;
    }
    EXPECT_GT(reported.size(), static_cast<std::size_t>(kKills));
}

TEST(JournalConcurrency, TwoWritersAtOnceKeepEveryCast) {
    TempWorkingFolder folder;
    constexpr int kEach = 40;
    std::vector<pid_t> writers;
    for (int writer = 0; writer < 2; ++writer) {
        const pid_t child = fork();
        if (child == 0) {
            try {
                // Both also race to make the new file.
                Journal journal = Journal::Open(kJournalFile, Name);
                for (int n = 0; n < kEach; ++n)
                    journal.Record(Automatic("2026-01-01T10:00:00+03:00",
                                             std::to_string(writer) + "-" + std::to_string(n)));
                ::_exit(0);
            } catch (const Error& error) {
                std::fprintf(stderr, "%s\n", error.what());
            }
            ::_exit(1);
        }
        writers.push_back(child);
    }
    for (const pid_t child : writers) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    SQLite::Database db(kJournalFile, SQLite::OPEN_READONLY);
    SQLite::Statement read(db, "SELECT question FROM casts");
    std::multiset<std::string> questions, expected;
    while (read.executeStep())
        questions.insert(read.getColumn(0).getString());
    for (int writer = 0; writer < 2; ++writer) {
        for (int n = 0; n < kEach; ++n)
            expected.insert(std::to_string(writer) + "-" + std::to_string(n));
    }
    EXPECT_EQ(questions, expected);
}
