#include "learning/GeoEdit.h"
#include "learning/GeoInputKK.h"
#include "lesson/LessonHooks.h"
#include "lesson/TDaten.h"
#include "lesson/TLernOptionen.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

void fill(TDaten& lesson, int items)
{
    lesson.LearnOptions = std::make_unique<TLernOptionen>();
    for (int c = 0; c < 4; ++c) {
        TKategorie& category = lesson.AddCategory();
        category.SetKind(c % 2 ? "C" : "F");
        for (int i = 0; i < items / 4; ++i)
            category.AddItem().NamesGerman = {QString("Name %1 %2").arg(c).arg(i), QString("Other %1").arg(i)};
    }
}

// Laying out a short test of 200 items.
void BM_LayoutShortTest200(benchmark::State& state)
{
    QWidget window;
    window.resize(400, 600);
    window.show();
    for (auto _ : state) {
        state.PauseTiming();
        TDaten lesson;
        fill(lesson, 200);
        state.ResumeTiming();
        {
            TGeoInputKK input(&window, lesson);
            input.resize(200, 600);
            input.Numbered = true;
            input.Start();
            benchmark::DoNotOptimize(input.Fields().size());
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LayoutShortTest200)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// One keystroke: text change, answer check, state, colour and the observer
// that stands for the status line.
void BM_JudgeKeystroke(benchmark::State& state)
{
    QWidget window;
    window.show();
    TDaten lesson;
    fill(lesson, 200);
    int refreshed = 0;
    LessonHooks::SetStateObserver([&refreshed, &lesson](TGeoItem&) {
        int right = 0;
        for (const auto& c : lesson.Categories)
            for (const auto& i : c->Items)
                right += i->State() == ItemState::Right;
        refreshed += right;
    });
    TGeoInputKK input(&window, lesson);
    input.Numbered = true;
    input.Start();
    TGeoEdit* field = input.Fields()[10];
    const QString name = field->Item()->NamesGerman[0];
    int length = 0;
    for (auto _ : state) {
        length = length % name.size() + 1;
        field->setText(name.left(length)); // wrong, wrong, ... right: the state changes each time
    }
    LessonHooks::ClearStateObserver();
    benchmark::DoNotOptimize(refreshed);
}
BENCHMARK(BM_JudgeKeystroke)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
