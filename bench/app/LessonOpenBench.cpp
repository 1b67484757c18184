// Opening the world lesson as a short test, the way the learner does: the
// start button in the catalogue, then everything the program does until it
// is idle again (index and globe records read, layers and presenters made,
// the close-ups of small countries drawn, the first paint of the globe).
// Missing data stops the run with an error: a lesson that opens nothing
// opens very fast.

#include "app/Mainform.h"
#include "learning/GeoLernen.h"
#include "lesson/TLernOptionen.h"
#include "support/TestResponder.h"
#include "widgets/LessonListBox.h"
#include "widgets/FlatButton.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

namespace {

const QString kShipped = QStringLiteral(ORBILO_SOURCE_DIR "/data/");

[[noreturn]] void Fail(const QString& message)
{
    std::fflush(stdout);
    std::fprintf(stderr, "app_bench: %s\n", qPrintable(message));
    std::exit(EXIT_FAILURE);
}

void Copy(const QString& from, const QString& to)
{
    if (!QFile::copy(from, to))
        Fail(QStringLiteral("cannot copy %1 to %2").arg(from, to));
}

// A program folder with one user, the shipped globe data and one lesson.
void ProgramFolder(const QTemporaryDir& dir, const QString& lesson)
{
    QDir root(dir.path());
    root.mkdir(QStringLiteral("Lektionen"));
    root.mkdir(QStringLiteral("Data"));
    root.mkdir(QStringLiteral("Ergebnisse"));
    const QDir data(kShipped + QStringLiteral("Data"));
    const QStringList files = data.entryList(QDir::Files);
    if (!files.contains(QStringLiteral("geodata.dat")) || !files.contains(QStringLiteral("geodata.ini")))
        Fail(QStringLiteral("no globe data in %1").arg(data.path()));
    for (const QString& file : files)
        Copy(data.filePath(file), root.filePath(QStringLiteral("Data/") + file));
    // The catalogue shows the first continent's group at first; the lesson
    // joins it so that it can be picked without clicking a picture.
    QFile source(kShipped + QStringLiteral("Lektionen/") + lesson);
    QFile copy(root.filePath(QStringLiteral("Lektionen/") + lesson));
    if (!source.open(QIODevice::ReadOnly) || !copy.open(QIODevice::WriteOnly))
        Fail(QStringLiteral("cannot copy %1").arg(source.fileName()));
    QByteArray text = source.readAll();
    const qsizetype group = text.indexOf("\nKategorie=");
    if (group < 0)
        Fail(QStringLiteral("%1 has no group").arg(source.fileName()));
    text[group + 11] = '1';
    copy.write(text);
    QFile ini(root.filePath(QStringLiteral("geo.ini")));
    if (!ini.open(QIODevice::WriteOnly))
        Fail(QStringLiteral("cannot write %1").arg(ini.fileName()));
    ini.write("[Geo]\nLanguage=1\nSpelling=1\nShowFlagAbfrage=1\nNewUser=1\n[Users]\n1=Anna\n");
}

void Idle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

void BM_OpenWorldLesson(benchmark::State& state)
{
    QTemporaryDir dir;
    ProgramFolder(dir, QStringLiteral("Welt_Laender.lek"));
    TestResponder responder; // a failure would otherwise wait for a click
    Tfrm_main::StartHooks.LearningSettings = [](TLernOptionen& options, bool, int) {
        options.Mode = 0;
        return true;
    };
    const QString folder = dir.path() + u'/';
    Tfrm_main::StartHooks.CreateLearningView = [folder](QWidget* page, const QString& path,
                                                        std::unique_ptr<TLernOptionen> options) -> TGeo* {
        auto view = std::make_unique<TGeoLernen>(page, path, std::move(options), folder);
        return view->Opened() ? view.release() : nullptr;
    };
    Tfrm_main window(folder);
    window.show();
    window.Button(QStringLiteral("Btn_Haupt_Lernen"))->click();
    Idle();
    if (window.lektionen()->count() != 1)
        Fail(QStringLiteral("the catalogue does not list the world lesson"));
    window.lektionen()->setCurrentRow(0);
    for (auto _ : state) {
        window.Button(QStringLiteral("Btn_Lektionen_Start"))->click();
        Idle();
        state.PauseTiming();
        if (!window.LessonView())
            Fail(QStringLiteral("the world lesson did not open"));
        window.Button(QStringLiteral("btn_Lernen_Zurueck"))->click();
        Idle();
        window.lektionen()->setCurrentRow(0);
        state.ResumeTiming();
    }
    if (!responder.messages.empty())
        Fail(QStringLiteral("the program said: %1").arg(responder.messages.front().text));
}
BENCHMARK(BM_OpenWorldLesson)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(false);

} // namespace
