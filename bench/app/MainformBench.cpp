#include "app/Mainform.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <benchmark/benchmark.h>

// Constructing the main window on an existing geo.ini with one user (so no
// dialog is shown): settings, dictionary switch, toolbars, pages.
namespace {

QTemporaryDir& programFolder()
{
    static QTemporaryDir dir;
    static bool written = [] {
        QFile f(dir.filePath("geo.ini"));
        f.open(QIODevice::WriteOnly);
        f.write("[Geo]\nLanguage=3\nSpelling=1\nShowFlagAbfrage=1\nWidth=800\nHeight=600\nNewUser=1\n[Users]\n1=Anna\n");
        return true;
    }();
    (void)written;
    return dir;
}

void BM_ConstructMainWindow(benchmark::State& state)
{
    const QString folder = programFolder().path() + u'/';
    for (auto _ : state) {
        auto window = std::make_unique<Tfrm_main>(folder);
        benchmark::DoNotOptimize(window.get());
        state.PauseTiming(); // the destructor (storing the window size) is not part of it
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ConstructMainWindow)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_SwitchLanguage(benchmark::State& state)
{
    Tfrm_main window(programFolder().path() + u'/');
    window.show();
    int language = 1;
    for (auto _ : state) {
        window.lang.SetActLang(language);
        language = language % 3 + 1;
    }
}
BENCHMARK(BM_SwitchLanguage)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

