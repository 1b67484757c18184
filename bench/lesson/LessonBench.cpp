#include "lesson/GeoIndex.h"
#include "lesson/Geoobj.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <random>

namespace {

constexpr int kRecords = 20000;
const char* const kSections[] = {"Land", "Stadt", "Fluss", "See", "Insel", "Staat"};

// A geographic index of 20,000 records of about 500 bytes each, spread over
// the kind sections, with flag descriptions for the countries.
QByteArray generateIndex()
{
    QByteArray text;
    text.reserve(11 * 1024 * 1024);
    int number = 1;
    const int perSection = kRecords / 6;
    for (const char* section : kSections) {
        text += '[';
        text += section;
        text += "]\r\n";
        const int count = section == kSections[5] ? kRecords - 5 * perSection : perSection;
        for (int i = 0; i < count; ++i, ++number) {
            QByteArray record = QByteArray::number(number) + "=Österreich-" + QByteArray::number(number) +
                                "|Republik Österreich~Austria|Republic of Austria~Oesterreich|Osterreich~" +
                                QByteArray::number(number % 997) + "-0-0-83871~L" + QByteArray::number(number + 1) +
                                "|C" + QByteArray::number(number + 2) + "||F7~" + QByteArray::number(number * 211);
            while (record.size() < 490)
                record += "|Weitere Schreibweise " + QByteArray::number(record.size());
            text += record + "\r\n";
        }
    }
    text += "[Flaggen]\r\n";
    for (int i = 1; i <= perSection; ++i)
        text += QByteArray::number(i) + "=h3 rot weiß rot\r\n";
    return text;
}

struct IndexFile {
    IndexFile()
    {
        path = dir.filePath(QStringLiteral("geodata.ini"));
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            size = f.write(generateIndex());
    }
    QTemporaryDir dir;
    QString path;
    qint64 size = 0;
};

IndexFile& indexFile()
{
    static IndexFile file;
    return file;
}

void BM_OpenGeoIndex(benchmark::State& state)
{
    IndexFile& file = indexFile();
    for (auto _ : state) {
        TGeoIndex index(file.path);
        benchmark::DoNotOptimize(index);
    }
    state.counters["MB"] = double(file.size) / (1024 * 1024);
    // Proof that the whole index was read.
    const TGeoIndex index(file.path);
    int records = 0;
    for (const char* section : kSections)
        records += static_cast<int>(index.ReadSectionValues(QString::fromLatin1(section)).size());
    state.counters["records"] = records;
}
BENCHMARK(BM_OpenGeoIndex)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_GeoIndexLookup(benchmark::State& state)
{
    const TGeoIndex index(indexFile().path);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pick(1, kRecords);
    std::vector<std::pair<QString, QString>> requests;
    for (int i = 0; i < 1024; ++i) {
        const int number = pick(random);
        const int section = std::min((number - 1) / (kRecords / 6), 5);
        requests.emplace_back(QString::fromLatin1(kSections[section]), QString::number(number));
    }
    std::size_t next = 0;
    for (auto _ : state) {
        const auto& [section, key] = requests[next++ & 1023];
        QString value = index.ReadString(section, key);
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_GeoIndexLookup)->Unit(benchmark::kNanosecond);

void BM_PhoneticKey(benchmark::State& state)
{
    const QString name = QString::fromUtf8("bosnienherzegowina.ö"); // 20 characters
    for (auto _ : state) {
        QString key = PhoneticKey(name);
        benchmark::DoNotOptimize(key);
    }
}
BENCHMARK(BM_PhoneticKey)->Unit(benchmark::kNanosecond);

} // namespace

BENCHMARK_MAIN();
