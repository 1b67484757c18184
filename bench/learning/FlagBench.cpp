#include "learning/FlagPainter.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

// A plain tricolour, and a flag with stripes, a star, a disc, a triangle and
// an emblem (whose picture is rendered once and then reused, as in the
// learning view).
const char* const kTricolour = "c,clBlack;r,0,0,100,33;c,clRed;r,0,33,100,66;c,$00CCFF;r,0,66,100,100";
const char* const kComplex = "c,$3A2BCE;r,0,0,100,100;c,clWhite;r,0,25,100,75;c,$8B3800;t,0,0,40,50,0,100;"
                             "c,clWhite;s,14,50,12,40;c,$00CCFF;e,70,50,30;m,emblem_es.svg,60,30,0,40";

// Painting on an image needs no application object.
void paintFlag(benchmark::State& state, const char* description, bool freshEmblem = false)
{
    FlagPainter painter;
    painter.SetPictureFolder(QStringLiteral(ORBILO_DATA_DIR));
    painter.SetFixedRatio(true);
    QImage image(135, 90, QImage::Format_RGB32);
    for (auto _ : state) {
        if (freshEmblem)
            painter.DropEmblem();
        QPainter p(&image);
        painter.Paint(p, description, 90);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_PaintTricolour(benchmark::State& state) { paintFlag(state, kTricolour); }
void BM_PaintStarAndEmblem(benchmark::State& state) { paintFlag(state, kComplex); }
// The first painting of a new description, which renders the emblem.
void BM_PaintStarAndNewEmblem(benchmark::State& state) { paintFlag(state, kComplex, true); }

} // namespace

BENCHMARK(BM_PaintTricolour)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_PaintStarAndEmblem)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

BENCHMARK(BM_PaintStarAndNewEmblem)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
