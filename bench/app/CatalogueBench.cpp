#include "app/Lektionenliste.h"

#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

// Refilling the catalogue over a folder of 200 lesson files.
namespace {

void BM_Refill200Lessons(benchmark::State& state)
{
    QTemporaryDir dir;
    for (int i = 0; i < 200; ++i) {
        QFile f(dir.filePath(QString("lektion%1.lek").arg(i)));
        f.open(QIODevice::WriteOnly);
        QByteArray text = "[Lektion]\nName=Lektion " + QByteArray::number(i) + "\nKategorie=" +
                          QByteArray::number(i % 6 + 1) + "\nTyp=iglobe\nVersion=3\n[L]\n";
        for (int k = 1; k <= 50; ++k)
            text += QByteArray::number(k) + "=" + QByteArray::number(100 + k) + "\n";
        f.write(text);
    }
    QListWidget list;
    TLektionenList catalogue(list, {dir.path() + '/'}, [] { return 1; });
    for (auto _ : state) {
        catalogue.Filter = 0; // make SetFilter refill every time
        catalogue.SetFilter(-1);
        benchmark::DoNotOptimize(list.count());
    }
}
BENCHMARK(BM_Refill200Lessons)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
