// Figures of the add dialog of globe lessons: the list follows every
// keystroke of the search, over the shipped geographic index and over an
// index of 20,000 terms. One iteration is one keystroke: the search over
// the catalogue, the list's new rows and the first one selected. Missing
// data stops the run with an error.

#include "editor/AddItemDialog.h"
#include "editor/IndexCatalogue.h"
#include "i18n/MainDictionary.h"
#include "lesson/GeoIndex.h"

#include <QFile>
#include <QListView>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

namespace {

const QString kIndexPath = QStringLiteral(ORBILO_SOURCE_DIR "/data/Data/geodata.ini");

[[noreturn]] void Fail(const QString& message)
{
    std::fflush(stdout);
    std::fprintf(stderr, "editor_bench: %s\n", qPrintable(message));
    std::exit(EXIT_FAILURE);
}

TIndexCatalogue ShippedCatalogue()
{
    if (!QFile::exists(kIndexPath))
        Fail(QStringLiteral("missing %1").arg(kIndexPath));
    TIndexCatalogue catalogue{TGeoIndex(kIndexPath)};
    if (catalogue.Count() < 1300)
        Fail(QStringLiteral("the geographic index %1 holds only %2 terms").arg(kIndexPath).arg(catalogue.Count()));
    return catalogue;
}

// The shipped terms again and again, each copy with names and numbers of
// its own, up to `count` entries.
TIndexCatalogue LargeCatalogue(int count)
{
    const TIndexCatalogue shipped = ShippedCatalogue();
    std::vector<TIndexCatalogue::Entry> entries;
    entries.reserve(std::size_t(count));
    for (int copy = 0; int(entries.size()) < count; ++copy)
        for (int i = 0; i < shipped.Count() && int(entries.size()) < count; ++i) {
            const TIndexCatalogue::Entry& e = shipped.At(i);
            const QString suffix = copy ? QStringLiteral(" %1").arg(copy) : QString();
            const QString record = e.Record.section(u'~', 0, 0) + suffix + u'~' + e.Record.section(u'~', 1);
            entries.push_back(TIndexCatalogue::MakeEntry(record, e.Number + 10000 * copy, e.Section));
        }
    return TIndexCatalogue::FromEntries(std::move(entries));
}

// What an author types, one keystroke after the other.
const QStringList& Keystrokes()
{
    static const QStringList strokes = [] {
        QStringList s;
        for (const QString& word : {QStringLiteral("deutschland"), QStringLiteral("stadt"), QStringLiteral("rio"),
                                    QStringLiteral("mississippi"), QStringLiteral("see")})
            for (int n = 1; n <= word.size(); ++n)
                s << word.left(n);
        return s;
    }();
    return strokes;
}

void RunKeystrokes(benchmark::State& state, TIndexCatalogue& catalogue)
{
    TAddItemDialog dialog(catalogue, MainDictionary(), nullptr);
    dialog.Reset();
    const QStringList& strokes = Keystrokes();
    qsizetype next = 0;
    qint64 rows = 0;
    for (auto _ : state) {
        dialog.FilterCatalogue(strokes[next]);
        rows += dialog.EntryCount();
        next = (next + 1) % strokes.size();
    }
    state.counters["entries"] = double(catalogue.Count());
    state.counters["rows_per_keystroke"] = benchmark::Counter(double(rows) / double(state.iterations()));
    if (rows == 0)
        state.SkipWithError("no search found anything");
}

void BM_SearchShippedIndex(benchmark::State& state)
{
    TIndexCatalogue catalogue = ShippedCatalogue();
    RunKeystrokes(state, catalogue);
}
BENCHMARK(BM_SearchShippedIndex)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_SearchIndexOf20000(benchmark::State& state)
{
    TIndexCatalogue catalogue = LargeCatalogue(20000);
    RunKeystrokes(state, catalogue);
}
BENCHMARK(BM_SearchIndexOf20000)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
