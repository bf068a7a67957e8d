// The main of the benchmarks that build windows: offscreen, without the
// platform's notes on what it can't do for a window manager.
#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

// The offscreen platform says at each change of view that it can't pass
// size hints to a window manager, or raise a window; that is all it has to
// say here.
void DropPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.contains(QLatin1String("propagateSizeHints")) &&
        !text.contains(QLatin1String("support raise")))
        qt_message_output(type, context, text);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(DropPlatformNotes);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
