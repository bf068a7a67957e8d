// The journal at 100,000 casts: recording one (synced to disk), what opening
// the journal window costs (the count and the first page), searches, a page
// deep in the list, and opening the file. The journal is made once, in a
// temporary folder on the same disk as the system's temporary files.
#include <benchmark/benchmark.h>

#include "journal_fixture.h"

namespace {

using namespace bench_support;

constexpr int kCasts = 100000;

journal::Journal& Opened() {
    static JournalFixture fixture(kCasts);
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
