// The journal at 100,000 casts: recording one (synced to disk), what opening
// the journal window costs (the count and the first page), searches, a page
// deep in the list, merging another machine's file, and opening the file. The journal is made once,
// in a temporary folder on the same disk as the system's temporary files.
#include <benchmark/benchmark.h>

#include <fstream>

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

journal::Query With(const std::function<void(journal::Query&)>& set) {
    journal::Query query;
    set(query);
    return query;
}

// What the window costs as it opens, and as the user types or filters.
BENCHMARK_CAPTURE(ListFirstPage, Everything, journal::Query{})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(ListFirstPage, OneHexagram, With([](journal::Query& q) { q.hexagram = 29; }))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(ListFirstPage, SearchOneWord, With([](journal::Query& q) { q.text = "дорога"; }))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(ListFirstPage, SearchTwoWordStarts,
                  With([](journal::Query& q) { q.text = "ёл раб"; }))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(ListFirstPage, SearchOneLetter, With([](journal::Query& q) { q.text = "д"; }))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(ListFirstPage, SearchNameAndNote,
                  With([](journal::Query& q) { q.text = "войско 17 сбыл"; }))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The search by structure: each kind of condition, and some combined.
BENCHMARK_CAPTURE(ListFirstPage, HexagramAnywhere,
                  With([](journal::Query& q) { q.hexagram = 38, q.place = journal::Place::Any; }))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(ListFirstPage, NuclearHexagram, With([](journal::Query& q) {
                      q.hexagram = 2, q.place = journal::Place::Nuclear;
                  }))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(ListFirstPage, LineOfOneHexagram,
                  With([](journal::Query& q) { q.hexagram = 38, q.changingLine = 5; }))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(ListFirstPage, TrigramInTheSecond, With([](journal::Query& q) {
                      q.trigram = 3, q.trigramAbove = true, q.trigramInSecond = true;
                  }))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(ListFirstPage, DatesMethodAndWord, With([](journal::Query& q) {
                      q.fromDate = "2026-02-01", q.toDate = "2026-03-31";
                      q.method = divination::Method::Coins, q.text = "дом";
                  }))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(ListFirstPage, DueToReturn,
                  With([](journal::Query& q) { q.dueBy = "2026-12-09"; }))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// What «Статистика» reads: everything, and a topic.
void Statistics(benchmark::State& state, const journal::Query& query) {
    journal::Journal& journal = Opened();
    for (auto _ : state)
        benchmark::DoNotOptimize(journal.Stats(query));
}
BENCHMARK_CAPTURE(Statistics, Everything, journal::Query{})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(Statistics, OneWord, With([](journal::Query& q) { q.text = "дорога"; }))
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

// The merge of another machine's file of 100,000 entries, 1,000 of them
// changed there, into this journal: the journal is begun anew as a copy of
// the same file before each run, outside the time.
struct MergeFixture {
    std::filesystem::path folder, pristine, working;
    std::string peerBytes;
    MergeFixture() {
        const std::filesystem::path source = Opened().PathText();
        folder = source.parent_path();
        pristine = folder / "pristine.db";
        working = folder / "working.db";
        Opened().BackupTo(pristine);
        std::filesystem::copy_file(pristine, folder / "peer.db");
        journal::Journal peer = journal::Journal::Open(folder / "peer.db", Name);
        const std::vector<journal::Cast> page = peer.Page({}, {}, 1000);
        for (const journal::Cast& cast : page)
            peer.SetNote(cast.id, "изменено на другой машине");
        std::filesystem::create_directory(folder / "shared");
        peer.WriteOwnCopy(folder / "shared");
        peerBytes = ReadAll(folder / "shared" / peer.OwnFileName());
    }
    static std::string ReadAll(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
};
MergeFixture& Merging() {
    static MergeFixture fixture;
    return fixture;
}

void BM_MergeThousandChanged(benchmark::State& state) {
    MergeFixture& fixture = Merging();
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::copy_file(fixture.pristine, fixture.working,
                                   std::filesystem::copy_options::overwrite_existing);
        std::filesystem::remove(fixture.working.string() + "-wal");
        journal::Journal journal = journal::Journal::Open(fixture.working, Name);
        state.ResumeTiming();
        if (journal.MergeBytes(fixture.peerBytes, "peer") != 1000)
            state.SkipWithError("the merge brought other than 1000 entries");
    }
}
BENCHMARK(BM_MergeThousandChanged)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The same file again: nothing new in it.
void BM_MergeNothingNew(benchmark::State& state) {
    MergeFixture& fixture = Merging();
    std::filesystem::copy_file(fixture.pristine, fixture.working,
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::remove(fixture.working.string() + "-wal");
    journal::Journal journal = journal::Journal::Open(fixture.working, Name);
    journal.MergeBytes(fixture.peerBytes, "peer");
    for (auto _ : state) {
        if (journal.MergeBytes(fixture.peerBytes, "peer") != 0)
            state.SkipWithError("a second merge brought entries");
    }
}
BENCHMARK(BM_MergeNothingNew)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// Opening includes SQLite's quick check of the whole file.
void BM_OpenJournal(benchmark::State& state) {
    const std::filesystem::path path = Opened().PathText();
    for (auto _ : state)
        benchmark::DoNotOptimize(journal::Journal::Open(path, Name).Recording());
}
BENCHMARK(BM_OpenJournal)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
