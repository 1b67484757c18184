#include "app/ProgramHooks.h"

#include "app/Mainform.h"
#include "editor/GeoEditor.h"
#include "learning/GeoLernen.h"
#include "learning/Trainingsarten.h"
#include "lesson/TLernOptionen.h"
#include "results/Ergebnisse.h"
#include "widgets/FlatButton.h"

#include <QFileInfo>

void InstallProgramHooks(Tfrm_main& mainWindow, Tfrm_training& training, Tfrm_Ergebnis& resultWindow,
                         const QString& programFolder)
{
    Tfrm_main::StartHooks.LearningSettings = [&training](TLernOptionen& options, bool memory, int language) {
        return training.Execute(options, memory, language);
    };
    Tfrm_main::StartHooks.CreateLearningView = [programFolder](QWidget* page, const QString& path,
                                                               std::unique_ptr<TLernOptionen> options) -> TGeo* {
        auto view = std::make_unique<TGeoLernen>(page, path, std::move(options), programFolder);
        return view->Opened() ? view.release() : nullptr;
    };
    Tfrm_main::StartHooks.CreateEditorView = [&mainWindow, programFolder](QWidget* page, bool copy,
                                                                          const QString& lessonArgument,
                                                                          std::unique_ptr<TLernOptionen> options) -> TGeo* {
        auto view = std::make_unique<TGeoEditor>(page, copy, lessonArgument, std::move(options), programFolder,
                                                 mainWindow.Button(QStringLiteral("btn_Editor_Speichern")));
        return view->Opened() ? view.release() : nullptr;
    };
    TGeoLernen::ResultWindow = [&mainWindow, &resultWindow](TGeoLernen& view, const TErgebnis& result) {
        resultWindow.ShowResult(result, QFileInfo(view.LessonPath).fileName(), mainWindow.Optionen(),
                                mainWindow.lang.ActiveLanguage());
    };
}
