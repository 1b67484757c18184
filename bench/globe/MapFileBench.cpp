// The figures of the map file readers: mapping a 50 MB shapefile, loading
// one object, and the memory a loaded point takes.

#include "tests/globe/MapFileBuilders.h"
#include "tests/globe/TestGlobe.h"

#include "globe/GlobeSHPReader.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <random>

using namespace MapFiles;

namespace {
// A country-like shape: a main outline and two islands, 60-400 points each,
// the points a few kilometres apart, as in a 1:10m map.
QByteArray CountryShape(std::mt19937& rng)
{
    std::uniform_real_distribution<double> lon(-170, 170), lat(-60, 70);
    std::uniform_int_distribution<int> size(60, 400);
    std::vector<Ring> parts;
    for (int p = 0; p < 3; ++p) {
        const double cx = lon(rng), cy = lat(rng), r = 0.5 + p;
        Ring ring;
        const int n = size(rng);
        for (int k = 0; k < n; ++k)
            ring.emplace_back(cx + r * std::cos(2 * M_PI * k / n), cy + r * std::sin(2 * M_PI * k / n));
        ring.push_back(ring.front());
        parts.push_back(std::move(ring));
    }
    return ShapeRecord(5, parts);
}

// A polygon shapefile of about megabytes MB with a table of names beside it.
struct Countries {
    QTemporaryDir dir;
    QString shp;
    int64_t points = 0;
    explicit Countries(int megabytes)
    {
        std::mt19937 rng(7);
        std::vector<QByteArray> records;
        std::vector<std::vector<QByteArray>> names;
        int64_t bytes = 100;
        while (bytes < int64_t{megabytes} * 1024 * 1024) {
            records.push_back(CountryShape(rng));
            bytes += records.back().size() + 8;
            points += qFromLittleEndian<int32_t>(records.back().constData() + 40);
            names.push_back({QByteArray("Country ") + QByteArray::number(int(records.size()))});
        }
        shp = dir.filePath(QStringLiteral("countries.shp"));
        Write(shp, Shapefile(records));
        Write(dir.filePath(QStringLiteral("countries.dbf")), Dbf({"NAME"}, 40, names));
    }
};

const Countries& FiftyMegabytes()
{
    static const Countries data(50);
    return data;
}

void BM_MapShapefile50MB(benchmark::State& state)
{
    const Countries& data = FiftyMegabytes();
    TestGlobe globe;
    for (auto _ : state) {
        auto* shp = new TGlobeSHPReader(globe);
        shp->SetFilename(data.shp);
        shp->SetActive(true);
        benchmark::DoNotOptimize(shp->Count());
        state.PauseTiming();
        delete shp;
        state.ResumeTiming();
    }
    state.counters["MB"] = double(QFileInfo(data.shp).size()) / (1024 * 1024);
}
BENCHMARK(BM_MapShapefile50MB)->Unit(benchmark::kMillisecond);

void BM_LoadObject(benchmark::State& state)
{
    const Countries& data = FiftyMegabytes();
    TestGlobe globe;
    auto* shp = new TGlobeSHPReader(globe);
    shp->SetFilename(data.shp);
    shp->SetActive(true);
    // Objects come from all over the file, as a turning globe asks for them.
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> pick(0, shp->Count() - 1);
    int loaded = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(shp->GetObject(pick(rng)));
        if (++loaded % 1024 == 0) {
            state.PauseTiming();
            shp->UnloadObjects();
            state.ResumeTiming();
        }
    }
    state.counters["points/object"] = double(data.points) / shp->Count();
}
BENCHMARK(BM_LoadObject)->Unit(benchmark::kMicrosecond);

// Heap bytes of all objects loaded, per point, index entries included.
void BM_MemoryPerLoadedPoint(benchmark::State& state)
{
    const Countries data(10);
    double perPoint = 0;
    for (auto _ : state) {
        TestGlobe globe;
        const size_t before = mallinfo2().uordblks;
        auto* shp = new TGlobeSHPReader(globe);
        shp->SetFilename(data.shp);
        shp->SetActive(true);
        for (int i = 0; i < shp->Count(); ++i)
            shp->GetObject(i);
        perPoint = double(mallinfo2().uordblks - before) / double(data.points);
        delete shp;
    }
    state.counters["bytes/point"] = perPoint;
}
BENCHMARK(BM_MemoryPerLoadedPoint)->Iterations(1)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
