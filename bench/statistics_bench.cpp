// «Статистика» over 100,000 entries: the window opened with every chart
// painted, the charts read and painted again after a new search, and the
// heap the window holds while it is up. Run with `make bench`, on the
// offscreen platform.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTabWidget>

#include <malloc.h>

#include <algorithm>

#include "forms/statistics/statistics_window.h"
#include "journal_fixture.h"

namespace {

using forms::StatisticsWindow;

journal::Journal& Opened() {
    static bench_support::JournalFixture fixture(100000);
    static journal::Journal journal = journal::Journal::Open(fixture.path(), bench_support::Name);
    return journal;
}

// As bench.cpp measures it: the heap in use, mapped blocks included.
double HeapMiB() {
    const struct mallinfo2 heap = mallinfo2();
    return static_cast<double>(heap.uordblks + heap.hblkhd) / (1024 * 1024);
}

// Every page's chart painted, as the user going through the tabs sees it.
void PaintEveryChart(StatisticsWindow& window) {
    for (int page = 0; page < StatisticsWindow::PageCount; ++page) {
        window.tabs()->setCurrentIndex(page);
        window.chartWidget(static_cast<StatisticsWindow::Page>(page))->repaint();
    }
    QCoreApplication::processEvents();
}

StatisticsWindow::Seams SeamsOf(journal::Journal& journal) {
    StatisticsWindow::Seams seams;
    seams.journal = [&journal] { return &journal; };
    seams.reportError = [](const QString& text) { qFatal("%s", qPrintable(text)); };
    return seams;
}

void BM_OpenStatistics(benchmark::State& state) {
    journal::Journal& journal = Opened();
    journal.Stats({});  // the page cache warm, as the journal window has left it
    double held = 0;
    for (auto _ : state) {
        const double before = HeapMiB();
        StatisticsWindow window(SeamsOf(journal));
        window.resize(1100, 700);
        window.showFor({});
        PaintEveryChart(window);
        held = std::max(held, HeapMiB() - before);
        state.counters["entries"] = static_cast<double>(window.statistics().entries);
    }
    state.counters["window_MiB"] = held;
}
BENCHMARK(BM_OpenStatistics)->Unit(benchmark::kMillisecond)->UseRealTime();

// A new search in the journal window: everything, then a word, by turns.
void BM_RedrawAfterSearch(benchmark::State& state) {
    journal::Journal& journal = Opened();
    StatisticsWindow window(SeamsOf(journal));
    window.resize(1100, 700);
    window.showFor({});
    PaintEveryChart(window);
    journal::Query word;
    word.text = "дорога";
    bool everything = false;
    for (auto _ : state) {
        window.showFor(everything ? journal::Query{} : word);
        PaintEveryChart(window);
        everything = !everything;
    }
}
BENCHMARK(BM_RedrawAfterSearch)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
