#include "codec/GifCodec.h"
#include "platform/FloodFill.h"

#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

// A map-like picture: 800 x 600, white areas with black borders.
QImage mapPicture()
{
    QImage picture(800, 600, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setPen(Qt::black);
    for (int i = 0; i < 40; ++i)
        painter.drawEllipse(QPoint((i * 97) % 800, (i * 53) % 600), 30 + i % 50, 20 + i % 40);
    painter.fillRect(0, 0, 800, 50, QColor(0xA0, 0xC8, 0xF0));
    return picture;
}

void BM_DecodeGif800x600(benchmark::State& state)
{
    const QByteArray bytes = GifCodec::encode(mapPicture());
    for (auto _ : state) {
        QImage image = GifCodec::decode(bytes);
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(BM_DecodeGif800x600)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// One fill of a 300,000-pixel region (600 x 500), and back.
void BM_FloodFill300k(benchmark::State& state)
{
    QImage image(700, 600, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter(&image).fillRect(50, 50, 600, 500, Qt::white);
    QRgb colours[2] = {qRgb(255, 0, 0), qRgb(255, 255, 255)};
    int turn = 0;
    for (auto _ : state) {
        const qsizetype filled = FloodFill(image, QPoint(300, 300), colours[turn]);
        if (filled != 300000)
            state.SkipWithError("wrong area");
        turn ^= 1;
    }
}
BENCHMARK(BM_FloodFill300k)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
