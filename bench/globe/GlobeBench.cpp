// The three figures of the globe engine: projecting cached chains, reading
// compressed outlines, and hit testing a layer of countries.

#include "tests/globe/TestGlobe.h"

#include "globe/GlobeStream.h"

#include <QBuffer>
#include <benchmark/benchmark.h>
#include <random>

namespace {
// A closed outline around a centre: a wobbly circle on whole arc minutes,
// consecutive points a few minutes apart, like a generalised country border.
void Outline(TPointStore& store, int32_t lon, int32_t lat, int points, int radiusMinutes, std::mt19937& rng)
{
    std::uniform_int_distribution<int> wobble(-2, 2);
    int r = radiusMinutes;
    for (int i = 0; i < points; ++i) {
        r = std::clamp(r + wobble(rng), radiusMinutes / 2, radiusMinutes * 2);
        const double a = 2 * M_PI * i / points;
        store.Add({lon + static_cast<int32_t>(std::lround(r * std::cos(a))) * GU_MINUTE,
                   lat + static_cast<int32_t>(std::lround(r * std::sin(a))) * GU_MINUTE, 0});
    }
}

void BM_PointStoreToXY(benchmark::State& state)
{
    TestGlobe globe(QSize(1000, 1000));
    TGlobeProjection& prj = globe.Projection();
    prj.SetXRotation(0);
    TPointStore chain;
    std::mt19937 rng(1);
    // Front hemisphere, points a few pixels apart so that few merge.
    for (int i = 0; i < 60000; ++i)
        chain.Add({Deg(-80) + i * 7200, Deg(std::sin(i * 0.01) * 60), 0});
    chain.Point3DArray(true);
    auto& model = prj.ProjectionModel();
    int emitted = 0;
    for (auto _ : state) {
        emitted = model.PointStoreToXY(chain, 0, true);
        benchmark::DoNotOptimize(emitted);
    }
    state.SetItemsProcessed(state.iterations() * chain.GetCount());
    state.counters["emitted"] = emitted;
}
BENCHMARK(BM_PointStoreToXY);

QByteArray CountryStream(int64_t bytes, int* records)
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->open(QIODevice::WriteOnly);
    QBuffer* raw = buffer.get();
    TGlobeStreamWriter writer(std::move(buffer));
    std::mt19937 rng(2);
    *records = 0;
    while (raw->size() < bytes) {
        TGeoDataObject country(nullptr);
        country.SetTitle(QStringLiteral("Land %1").arg(*records));
        country.SetClosed(true);
        Outline(country.Chains().GetChain(0), Deg((*records % 30) * 12 - 180), Deg((*records / 30 % 12) * 14 - 80),
                8000, 300, rng);
        country.WriteProperties(writer);
        ++*records;
    }
    return raw->data();
}

void BM_ReadCompressedOutlines(benchmark::State& state)
{
    int records = 0;
    const QByteArray stream = CountryStream(4 << 20, &records);
    for (auto _ : state) {
        TGlobeStreamReader reader(stream);
        for (int i = 0; i < records; ++i) {
            TGeoDataObject country(nullptr);
            country.ReadProperties(reader);
            benchmark::DoNotOptimize(country.Chains().GetChain(0).GetCount());
        }
    }
    state.SetBytesProcessed(state.iterations() * stream.size());
    state.counters["records"] = records;
}
BENCHMARK(BM_ReadCompressedOutlines)->Unit(benchmark::kMillisecond);

void BM_ObjectAtLL(benchmark::State& state)
{
    TestGlobe globe;
    auto* layer = new TGlobeLayer(globe);
    TGlobeObjectSource& source = layer->GetObjects();
    std::mt19937 rng(3);
    for (int i = 0; i < 250; ++i) {
        auto* country = new TGeoDataObject(&source);
        Outline(country->Chains().GetChain(0), Deg((i % 25) * 14 - 175), Deg((i / 25) * 16 - 75), 600, 350, rng);
        country->SetClosed(true);
    }
    std::uniform_int_distribution<int32_t> lon(-GU_180_DEGREE, GU_180_DEGREE - 1), lat(Deg(-80), Deg(80));
    std::vector<TPointLL> probes;
    for (int i = 0; i < 1024; ++i)
        probes.push_back(PointLL(lon(rng), lat(rng)));
    layer->ObjectAtLL(probes[0]); // fill the rectangle cache
    size_t k = 0;
    int hits = 0;
    for (auto _ : state) {
        TGlobeObject* hit = layer->ObjectAtLL(probes[k++ & 1023]);
        hits += hit != nullptr;
        benchmark::DoNotOptimize(hit);
    }
    state.counters["hit share"] = static_cast<double>(hits) / state.iterations();
}
BENCHMARK(BM_ObjectAtLL)->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
