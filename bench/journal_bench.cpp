// The journal at 100,000 casts: recording one (synced to disk), what opening
// the journal window costs (the count and the first page), searches, a page
// deep in the list, and opening the file. The journal is made once, in a
// temporary folder on the same disk as the system's temporary files.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <array>
#include <filesystem>
#include <random>
#include <string>

#include "divination/hexagrams.h"
#include "journal/journal.h"

namespace {

constexpr int kCasts = 100000;

std::string Name(int n) {
    static const std::array<const char*, 8> kWords = {"Творчество",     "Исполнение", "Трудность",
                                                      "Недоразвитость", "Ожидание",   "Тяжба",
                                                      "Войско",         "Приближение"};
    return std::string(kWords[n % 8]) + " " + std::to_string(n);
}

int HexagramOf(const std::string& lines, bool flipChanging) {
    divination::Lines cells;
    for (int i = 0; i < 6; ++i) {
        const bool changing = lines[i] == '6' || lines[i] == '9';
        const bool solid = (lines[i] == '7' || lines[i] == '9') != (flipChanging && changing);
        cells.cells[i] = solid ? divination::Line::Solid : divination::Line::Broken;
    }
    return divination::IdentifyHexagram(cells);
}

// An automatic cast at `second` past a start, with a question of a few
// words from a small vocabulary and now and then a note.
journal::NewCast SomeCast(std::mt19937& random, int second) {
    static const std::array<const char*, 12> kWords = {"дом",    "работа",  "дорога", "здоровье",
                                                       "деньги", "ёлка",    "учёба",  "семья",
                                                       "друг",   "поездка", "путь",   "решение"};
    journal::NewCast cast;
    cast.castAt = journal::LocalTimestamp(1767225600 + second * 600);
    cast.mode = journal::Mode::Automatic;
    for (int line = 0; line < 6; ++line) {
        int odd = 0;
        for (int coin = 0; coin < 3; ++coin) {
            const int value = static_cast<int>(random() % 1000);
            odd += value % 2;
            if (!cast.coins.empty())
                cast.coins += ' ';
            cast.coins += std::to_string(value);
        }
        cast.lines += "6879"[odd];
    }
    cast.hexagram = HexagramOf(cast.lines, false);
    cast.relating =
        cast.lines.find_first_of("69") != std::string::npos ? HexagramOf(cast.lines, true) : 0;
    for (int words = 2 + random() % 4; words > 0; --words) {
        if (!cast.question.empty())
            cast.question += ' ';
        cast.question += kWords[random() % 12];
    }
    if (random() % 5 == 0)
        cast.note = "Сбылось через " + std::to_string(random() % 30) + " дней";
    return cast;
}

// The folder with Journal.db of kCasts casts; removed at exit.
class Fixture {
public:
    Fixture() {
        std::string pattern = (std::filesystem::temp_directory_path() / "journal-XXXXXX").string();
        folder_ = ::mkdtemp(pattern.data());
        // Recorded in memory, where a cast needs no sync, then copied out.
        journal::Journal memory = journal::Journal::OpenInMemory(Name);
        std::mt19937 random(1);
        for (int n = 0; n < kCasts; ++n)
            memory.Record(SomeCast(random, n));
        memory.BackupTo(path());
    }
    ~Fixture() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    std::filesystem::path path() const { return folder_ / journal::kJournalFile; }

private:
    std::filesystem::path folder_;
};

journal::Journal& Opened() {
    static Fixture fixture;
    static journal::Journal journal = journal::Journal::Open(fixture.path(), Name);
    return journal;
}

void BM_RecordOneCast(benchmark::State& state) {
    journal::Journal& journal = Opened();
    std::mt19937 random(2);
    int n = kCasts;
    for (auto _ : state)
        benchmark::DoNotOptimize(journal.Record(SomeCast(random, n++)));
}
BENCHMARK(BM_RecordOneCast)->Unit(benchmark::kMillisecond)->UseRealTime();

void ListFirstPage(benchmark::State& state, const journal::Query& query) {
    journal::Journal& journal = Opened();
    for (auto _ : state) {
        benchmark::DoNotOptimize(journal.Count(query));
        benchmark::DoNotOptimize(journal.Page(query, {}, 50));
    }
}

// What the window costs as it opens, and as the user types or filters.
BENCHMARK_CAPTURE(ListFirstPage, Everything, journal::Query{})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(ListFirstPage, OneHexagram, journal::Query{"", 29})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(ListFirstPage, SearchOneWord, journal::Query{"дорога"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(ListFirstPage, SearchTwoWordStarts, journal::Query{"ёл раб"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(ListFirstPage, SearchOneLetter, journal::Query{"д"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(ListFirstPage, SearchNameAndNote, journal::Query{"войско 17 сбыл"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A page 90,000 entries down costs what the first does.
void BM_DeepPage(benchmark::State& state) {
    journal::Journal& journal = Opened();
    journal::Position deep;
    for (int skipped = 0; skipped < 90000; skipped += 1000)
        deep = journal::After(journal.Page({}, deep, 1000).back());
    for (auto _ : state)
        benchmark::DoNotOptimize(journal.Page({}, deep, 50));
}
BENCHMARK(BM_DeepPage)->Unit(benchmark::kMillisecond)->UseRealTime();

// Opening includes SQLite's quick check of the whole file.
void BM_OpenJournal(benchmark::State& state) {
    const std::filesystem::path path = Opened().PathText();
    for (auto _ : state)
        benchmark::DoNotOptimize(journal::Journal::Open(path, Name).Recording());
}
BENCHMARK(BM_OpenJournal)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
