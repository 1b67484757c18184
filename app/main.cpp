#include "app/Mainform.h"
#include "app/OrbiloApplication.h"
#include "learning/GeoLernen.h"
#include "learning/Trainingsarten.h"
#include "lesson/TLernOptionen.h"
#include "platform/ErrorDisplay.h"
#include "results/Ergebnisse.h"

#include <QFileInfo>

#include <QDir>

int main(int argc, char** argv)
{
    OrbiloApplication::FixDecimalComma();
    OrbiloApplication app(argc, argv);
    try {
        const ProgramFolders folders = ProgramFolders::Decide(QCoreApplication::applicationDirPath());
        Tfrm_main mainWindow(folders);
        // The lesson views read the globe data, flags and pictures that ship.
        const QString programFolder = folders.Shipped;
        Tfrm_training training(&mainWindow);
        Tfrm_Ergebnis resultWindow(&mainWindow);

        Tfrm_main::StartHooks.LearningSettings = [&training](TLernOptionen& options, bool memory, int language) {
            return training.Execute(options, memory, language);
        };
        Tfrm_main::StartHooks.CreateLearningView = [programFolder](QWidget* page, const QString& path,
                                                                   std::unique_ptr<TLernOptionen> options) -> TGeo* {
            auto view = std::make_unique<TGeoLernen>(page, path, std::move(options), programFolder);
            return view->Opened() ? view.release() : nullptr;
        };

        TGeoLernen::ResultWindow = [&](TGeoLernen& view, const TErgebnis& result) {
            resultWindow.ShowResult(result, QFileInfo(view.LessonPath).fileName(), mainWindow.Optionen(),
                                    mainWindow.lang.ActiveLanguage());
        };

        mainWindow.show();
        return app.exec();
    } catch (const std::exception& error) {
        ShowException(error);
        return 1;
    }
}
