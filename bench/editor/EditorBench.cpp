// Figures of the lesson editor on the data the program ships: opening the
// world lesson (199 countries, their capitals made by the map), saving it,
// and refilling the question list of a category of 250 terms. Missing data
// stops the run with an error: the figures of an empty lesson would look
// like very good ones.

#include "editor/GeoEditor.h"
#include "editor/GeoInputEditor.h"
#include "lesson/TDaten.h"
#include "lesson/TLernOptionen.h"
#include "platform/IniFile.h"
#include "platform/Optionen.h"
#include "support/TestResponder.h"

#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

namespace {

const QString kProgramFolder = QStringLiteral(ORBILO_SOURCE_DIR "/data/");
const QString kWorldLesson = kProgramFolder + QStringLiteral("Lektionen/Welt_Laender.lek");

[[noreturn]] void Fail(const QString& message)
{
    std::fflush(stdout);
    std::fprintf(stderr, "editor_bench: %s\n", qPrintable(message));
    std::exit(EXIT_FAILURE);
}

void RequireData()
{
    for (const QString& file : {kWorldLesson, kProgramFolder + "Data/geodata.dat", kProgramFolder + "Data/geodata.ini"})
        if (!QFile::exists(file))
            Fail(QStringLiteral("missing %1").arg(file));
}

// Where saved lessons go: a folder of the run's own, never the shipped data.
struct Scratch {
    QTemporaryDir dir;
    std::unique_ptr<TOptionen> options;
    QWidget page;
    TestResponder responder; // a failure would otherwise wait for a click

    Scratch()
    {
        if (!dir.isValid())
            Fail(QStringLiteral("no temporary folder"));
        options = std::make_unique<TOptionen>(dir.path() + u'/', std::make_unique<IniFile>(dir.filePath("geo.ini")));
        new QVBoxLayout(&page);
        page.resize(900, 650);
    }
    std::unique_ptr<TGeoEditor> Open(const QString& path, bool copy)
    {
        auto learn = std::make_unique<TLernOptionen>();
        learn->Options = options.get();
        auto editor = std::make_unique<TGeoEditor>(&page, copy, path, std::move(learn), kProgramFolder);
        if (!editor->Opened() || editor->Lesson->Categories.empty())
            Fail(QStringLiteral("cannot open %1").arg(path));
        return editor;
    }
};

void BM_OpenWorldLessonInEditor(benchmark::State& state)
{
    RequireData();
    Scratch scratch;
    std::size_t items = 0;
    for (auto _ : state) {
        auto editor = scratch.Open(kWorldLesson, true);
        state.PauseTiming();
        items = editor->Lesson->Categories[0]->Items.size();
        editor.reset();
        state.ResumeTiming();
    }
    state.counters["countries"] = double(items);
    if (items < 150)
        state.SkipWithError("the world lesson should hold its countries");
}
BENCHMARK(BM_OpenWorldLessonInEditor)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The whole save: the lesson's text and its atomic write to the disk.
void BM_SaveWorldLesson(benchmark::State& state)
{
    RequireData();
    Scratch scratch;
    auto editor = scratch.Open(kWorldLesson, true);
    for (auto _ : state) {
        editor->SetModified(true);
        if (!editor->SaveLesson())
            state.SkipWithError("the save failed");
    }
    state.counters["bytes"] = double(QFile(editor->LessonPath).size());
}
BENCHMARK(BM_SaveWorldLesson)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A category of 250 cities of the geographic index, and a picture lesson's
// category of 250 typed terms (numbered again on every refill).
void BM_RefillQuestions250(benchmark::State& state)
{
    RequireData();
    Scratch scratch;
    const bool picture = state.range(0) == 1;
    QByteArray text;
    if (picture) {
        text = "[Lektion]\nTyp=image\nName=Viele\n[Kategorien]\n1=Orte\n[AKategorien]\n1=250\n[Kategorie1]\n";
        for (int i = 1; i <= 250; ++i)
            text += QString("%1=Ort %1~Place %1?%1&%1\n").arg(i).toUtf8();
    } else {
        const IniFile index(kProgramFolder + "Data/geodata.ini");
        const QStringList cities = index.ReadSection(QStringLiteral("Stadt"));
        if (cities.size() < 250)
            Fail(QStringLiteral("fewer than 250 cities in the geographic index"));
        text = "[Lektion]\nTyp=globe\nName=Viele\n[C]\n";
        for (int i = 0; i < 250; ++i)
            text += QString("%1=%2\n").arg(i + 1).arg(cities[i]).toUtf8();
    }
    const QString path = scratch.dir.filePath("viele.lek");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        Fail(QStringLiteral("cannot write %1").arg(path));
    file.close();
    auto editor = scratch.Open(path, false);
    scratch.page.show();
    editor->ShowPage(3);
    TGeoInputEditor& questions = *editor->QuestionEditor();
    questions.QuestionList->setCurrentRow(120);
    for (auto _ : state)
        questions.RefillQuestions(0);
    if (questions.QuestionList->count() != 250)
        state.SkipWithError("the list should show 250 questions");
}
BENCHMARK(BM_RefillQuestions250)->Arg(0)->Arg(1)->ArgName("picture")->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
