// What a user waits for: the main window built and its settings applied at
// start, each handler a user runs (a table button with a large reading, a
// whole automatic hexagram, a change of view, F3, the settings load), a
// hexagram identified. Run with `make bench`. A handler is timed with the
// repaint it causes, on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/text_file.h"
#include "divination/hexagrams.h"
#include "forms/journal/journal_window.h"
#include "forms/main/item_names.h"
#include "forms/main/main_window.h"
#include "journal_fixture.h"

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
        benchmark::DoNotOptimize(base::LoadText(divination::ReadingFilePath(12)));
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

class SilentPlayer : public sound::WavePlayer {
public:
    void play(const std::string&) override {}
};

// The window on the screen in a folder of its own holding the readings and
// Save.Bmp; sounds, the notice and the dialogs answered without waiting.
// Any error the handlers report ends the run: a benchmark of a failing
// handler measures nothing.
class ShownWindow {
public:
    ShownWindow() {
        QDir::setCurrent(folder_.path());
        QDir().mkdir(QStringLiteral("Text"));
        for (int n = 1; n <= 65; ++n) {
            const QString name = QString::fromStdString(divination::ReadingFilePath(n))
                                     .replace(QLatin1Char('\\'), QLatin1Char('/'));
            QFile::copy(QStringLiteral(TAYNOVID_RUN_DIR "/") + name, name);
        }
        TForm1::Seams seams;
        seams.reportError = [](const QString& text) {
            std::fprintf(stderr, "a handler failed: %s\n", qPrintable(text));
            std::exit(1);
        };
        seams.showNotice = [] {};
        seams.player = &player_;
        seams.chooseFont = [](const QFont&) { return std::nullopt; };
        seams.chooseColor = [](const QColor&) { return std::nullopt; };
        form_ = std::make_unique<TForm1>(std::move(seams));
        form_->show();
        Settle();
    }
    TForm1& operator*() { return *form_; }
    TForm1* operator->() { return form_.get(); }

    // The repaint and whatever else the handler left for the event loop.
    static void Settle() { QCoreApplication::processEvents(); }

private:
    QTemporaryDir folder_;
    SilentPlayer player_;
    std::unique_ptr<TForm1> form_;
};

// About 1 MB of Windows-1251 text: the real readings one after another,
// starting at a different one for each file, until 1 MB is reached.
void WriteLargeReading(int hexagram, int first) {
    QByteArray text;
    for (int n = first; text.size() < 1024 * 1024; n = n % 64 + 1) {
        QFile reading(QStringLiteral(TAYNOVID_RUN_DIR "/Text/Text%1.dat").arg(n));
        reading.open(QIODevice::ReadOnly);
        text += reading.readAll();
    }
    QFile file(QStringLiteral("Text/Text%1.dat").arg(hexagram));
    file.open(QIODevice::WriteOnly);
    file.write(text);
}

// Two large readings by turns, so each press shows a text it did not show
// just before.
void BM_TableButtonWithLargeReading(benchmark::State& state) {
    ShownWindow form;
    WriteLargeReading(7, 1);
    WriteLargeReading(8, 33);
    int n = 0;
    for (auto _ : state) {
        form->TableButtonClick(7 + (n++ % 2));
        ShownWindow::Settle();
    }
}
BENCHMARK(BM_TableButtonWithLargeReading)->Unit(benchmark::kMillisecond)->UseRealTime();

// Six presses of "Генератор случайности" in the automatic mode, the last one
// identifying the hexagram and showing its reading; then a new hexagram,
// untimed.
void BM_CompleteAutomaticHexagram(benchmark::State& state) {
    ShownWindow form;
    form->Invoke(forms::kAutomaticItem);
    ShownWindow::Settle();
    for (auto _ : state) {
        for (int line = 0; line < 6; ++line) {
            form->Button1Click();
            ShownWindow::Settle();
        }
        state.PauseTiming();
        form->Button6Click();
        ShownWindow::Settle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CompleteAutomaticHexagram)->Unit(benchmark::kMillisecond)->UseRealTime();

// Full and reduced view by turns: each change resizes and centres the
// window, and the reduced view also changes the casting mode and saves.
void BM_ChangeOfView(benchmark::State& state) {
    ShownWindow form;
    int n = 0;
    for (auto _ : state) {
        form->Invoke(QString::fromLatin1(n++ % 2 ? forms::kFullViewItem : forms::kReducedViewItem));
        ShownWindow::Settle();
    }
}
BENCHMARK(BM_ChangeOfView)->Unit(benchmark::kMillisecond)->UseRealTime();

// F3: the table hidden and shown by turns, each time saving the settings.
void BM_F3TableShownOrHidden(benchmark::State& state) {
    ShownWindow form;
    for (auto _ : state) {
        form->Invoke(forms::kTableItem);
        ShownWindow::Settle();
    }
}
BENCHMARK(BM_F3TableShownOrHidden)->Unit(benchmark::kMillisecond)->UseRealTime();

// Reading Save.Bmp and applying it, with the saves the applied commands make.
void BM_SettingsLoadAndApply(benchmark::State& state) {
    ShownWindow form;
    for (auto _ : state) {
        form->Invoke(forms::kLoadItem);
        ShownWindow::Settle();
    }
}
BENCHMARK(BM_SettingsLoadAndApply)->Unit(benchmark::kMillisecond)->UseRealTime();

// The heap in use, mapped blocks included: unlike the resident size, it
// falls again when memory is freed, so a difference is what is held.
double HeapMiB() {
    const struct mallinfo2 heap = mallinfo2();
    return static_cast<double>(heap.uordblks + heap.hblkhd) / (1024 * 1024);
}

// The journal window shown with its first page, over an empty journal and
// over 100,000 entries, and the heap it holds while it is up (the journal's
// page cache included, as it fills for the window): the two cases differ by
// what the entries cost the window.
void BM_JournalWindow(benchmark::State& state) {
    static bench_support::JournalFixture empty(0), full(100000);
    journal::Journal journal =
        journal::Journal::Open((state.range(0) ? full : empty).path(), bench_support::Name);
    double held = 0;
    for (auto _ : state) {
        const double before = HeapMiB();
        forms::JournalWindow::Seams seams;
        seams.journal = [&] { return &journal; };
        forms::JournalWindow window(std::move(seams));
        window.show();
        QCoreApplication::processEvents();
        held = std::max(held, HeapMiB() - before);
        state.counters["entries"] = static_cast<double>(window.model()->total());
    }
    state.counters["window_MiB"] = held;
}
BENCHMARK(BM_JournalWindow)->Arg(0)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
