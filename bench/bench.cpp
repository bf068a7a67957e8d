// What a user waits for: the main window built and its settings applied at
// start, a reading shown, a hexagram identified. Run with `make bench`.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "divination/hexagrams.h"
#include "divination/text_file.h"
#include "forms/main_window.h"

namespace {

// The run folder holds the real readings.
void EnterRunFolder() {
    QDir::setCurrent(QStringLiteral(TAYNOVID_RUN_DIR));
}

void BM_IdentifyAllSixtyFour(benchmark::State& state) {
    std::array<divination::Lines, 64> patterns;
    for (int n = 1; n <= 64; ++n)
        patterns[n - 1] = divination::HexagramLines(n);
    for (auto _ : state) {
        int sum = 0;
        for (const auto& lines : patterns)
            sum += divination::IdentifyHexagram(lines);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_IdentifyAllSixtyFour);

void BM_LoadReading(benchmark::State& state) {
    EnterRunFolder();
    for (auto _ : state)
        benchmark::DoNotOptimize(divination::LoadText(divination::ReadingFilePath(12)));
}
BENCHMARK(BM_LoadReading);

// Building every control and menu, and applying Save.Bmp, in a folder of
// its own so the real settings are not touched.
void BM_CreateMainWindow(benchmark::State& state) {
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    for (auto _ : state) {
        TForm1 form;
        benchmark::DoNotOptimize(&form);
    }
}
BENCHMARK(BM_CreateMainWindow)->Unit(benchmark::kMillisecond);

void BM_ShowReadingInTheWindow(benchmark::State& state) {
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    TForm1 form;
    EnterRunFolder();
    int n = 0;
    for (auto _ : state)
        form.ShowReading(1 + (n++ % 64));
}
BENCHMARK(BM_ShowReadingInTheWindow)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
