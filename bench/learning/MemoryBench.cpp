// Figures of the memory game on the data the program ships: laying out the
// board of 40 pairs, drawing every outline card of the world lesson once,
// and painting a card while it turns. Missing data stops the run with an
// error: the figures of an empty board would look like very good ones.

#include "learning/GeoInputMemory.h"
#include "learning/GeoLernen.h"
#include "learning/MemoryPanel.h"
#include "lesson/TDaten.h"
#include "lesson/TLernOptionen.h"
#include "platform/IniFile.h"
#include "platform/Optionen.h"
#include "results/Ergebnis.h"
#include "support/TestResponder.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

namespace {

const QString kProgramFolder = QStringLiteral(ORBILO_SOURCE_DIR "/data/");

[[noreturn]] void Fail(const QString& message)
{
    std::fflush(stdout);
    std::fprintf(stderr, "memory_bench: %s\n", qPrintable(message));
    std::exit(EXIT_FAILURE);
}

void RequireData(const QString& lesson)
{
    for (const QString& file : {kProgramFolder + "Lektionen/" + lesson, kProgramFolder + "Data/geodata.dat",
                                kProgramFolder + "Data/geodata.ini"})
        if (!QFile::exists(file))
            Fail(QStringLiteral("missing %1").arg(file));
}

// A memory run on a shipped lesson in a learning view of the program's size.
struct Run {
    QTemporaryDir dir;
    std::unique_ptr<TOptionen> options;
    QWidget page;
    TestResponder responder; // a failure would otherwise wait for a click
    std::unique_ptr<TGeoLernen> view;

    Run(const QString& lesson, int pairing, QSize size = {900, 650})
    {
        RequireData(lesson);
        TGeoInputMemory::DealStepMs = 0;
        options = std::make_unique<TOptionen>(kProgramFolder, std::make_unique<IniFile>(dir.filePath("geo.ini")));
        new QVBoxLayout(&page);
        page.resize(size);
        page.show();
        auto learn = std::make_unique<TLernOptionen>();
        learn->Options = options.get();
        learn->Mode = 3;
        learn->MemoryPairing = pairing;
        view = std::make_unique<TGeoLernen>(&page, kProgramFolder + "Lektionen/" + lesson, std::move(learn), kProgramFolder);
        QCoreApplication::processEvents();
        if (!view->Opened() || Game().Cards().empty())
            Fail(QStringLiteral("%1 deals no cards").arg(lesson));
    }
    TGeoInputMemory& Game() { return dynamic_cast<TGeoInputMemory&>(*view->InputPanel); }
};

// The board of 40 pairs (80 name cards) laid out again, as after every
// resize of the window, alternating between two widths so that every card moves.
void BM_LayoutFortyPairs(benchmark::State& state)
{
    Run run("Europa_Laender.lek", 0);
    TGeoInputMemory& game = run.Game();
    // Forty pairs: the others are found already.
    int pairs = static_cast<int>(game.Cards().size()) / 2;
    for (TMemoryPanel* card : game.Cards())
        if (pairs > 40 && card->OnTheBoard()) {
            for (TMemoryPanel* other : game.Cards())
                if (&other->Item == &card->Item)
                    other->SetState(TMemoryPanel::Removed);
            --pairs;
        }
    if (game.CardsOnBoard() != 80)
        Fail(QStringLiteral("the lesson gives %1 cards, not 80").arg(game.CardsOnBoard()));
    int width = 0;
    for (auto _ : state) {
        game.resize(700 + (width++ % 2) * 200, 600);
        game.LayoutCards();
        benchmark::DoNotOptimize(game.Cards().back()->pos());
    }
}
BENCHMARK(BM_LayoutFortyPairs)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Every outline card of the world lesson drawn once by the hidden globe map.
void BM_RenderWorldOutlines(benchmark::State& state)
{
    Run run("Welt_Laender.lek", 2);
    TGeoInputMemory& game = run.Game();
    int outlines = 0;
    for (const TMemoryPanel* card : game.Cards())
        outlines += card->IsOutline();
    if (outlines < 150)
        Fail(QStringLiteral("the world lesson gives only %1 outline cards").arg(outlines));
    for (auto _ : state) {
        game.RenderOutlines(true);
        benchmark::DoNotOptimize(game.Cards().front()->Outline().constBits());
    }
    state.counters["cards"] = outlines;
}
BENCHMARK(BM_RenderWorldOutlines)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

// One frame of a card that turns, for a name, a flag and an outline card;
// "first" frames make the faces anew (the first frame after a resize).
void turnedCard(benchmark::State& state, int pairing, bool first)
{
    Run run("Europa_Laender.lek", pairing);
    TGeoInputMemory& game = run.Game();
    TMemoryPanel* card = nullptr;
    for (TMemoryPanel* c : game.Cards())
        if ((pairing == 0 && !c->Caption.isEmpty()) || (pairing == 1 && c->IsFlag()) || (pairing == 2 && c->IsOutline())) {
            card = c;
            break;
        }
    if (!card)
        Fail(QStringLiteral("no card of the kind"));
    QImage target(card->size(), QImage::Format_RGB32);
    double progress = 0.1;
    for (auto _ : state) {
        if (first)
            card->resize(card->width() + (progress < 0.5 ? 1 : -1), card->height());
        card->SetTurnProgress(progress);
        progress = progress > 0.85 ? 0.1 : progress + 0.13;
        QPainter painter(&target);
        card->PaintCard(painter);
    }
}
void BM_TurnNameCard(benchmark::State& state) { turnedCard(state, 0, false); }
void BM_TurnFlagCard(benchmark::State& state) { turnedCard(state, 1, false); }
void BM_TurnOutlineCard(benchmark::State& state) { turnedCard(state, 2, false); }
void BM_TurnFlagCardFirstFrame(benchmark::State& state) { turnedCard(state, 1, true); }
void BM_TurnOutlineCardFirstFrame(benchmark::State& state) { turnedCard(state, 2, true); }
BENCHMARK(BM_TurnNameCard)->Unit(benchmark::kMicrosecond)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_TurnFlagCard)->Unit(benchmark::kMicrosecond)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_TurnOutlineCard)->Unit(benchmark::kMicrosecond)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_TurnFlagCardFirstFrame)->Unit(benchmark::kMicrosecond)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_TurnOutlineCardFirstFrame)->Unit(benchmark::kMicrosecond)->Repetitions(3)->ReportAggregatesOnly(true);

} // namespace
