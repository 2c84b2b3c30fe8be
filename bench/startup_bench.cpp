// Start-up: from creating the main window to its first painted frame, with the first-activation
// work done (layout, language, recent files).
#include "shell/formMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <benchmark/benchmark.h>

static void BM_MainWindowToFirstPaint(benchmark::State& state)
{
    for (auto _ : state) {
        TfrmMain window;
        window.show();
        QCoreApplication::processEvents();
        QImage frame = window.grab().toImage();
        benchmark::DoNotOptimize(frame.bits());
        if (!window.FirstActivationDone())
            state.SkipWithError("the first activation did not run");
    }
}
BENCHMARK(BM_MainWindowToFirstPaint)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    // The first window of a process also pays for loading the platform plugin and fonts.
    QElapsedTimer cold;
    cold.start();
    QApplication app(argc, argv);
    {
        TfrmMain window;
        window.show();
        QCoreApplication::processEvents();
        QImage frame = window.grab().toImage();
        benchmark::DoNotOptimize(frame.bits());
    }
    std::printf("Cold start to the first painted main window: %lld ms\n", static_cast<long long>(cold.elapsed()));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
