#include "app/Mainform.h"
#include "app/OrbiloApplication.h"
#include "app/ProgramHooks.h"
#include "learning/Trainingsarten.h"
#include "platform/ErrorDisplay.h"
#include "results/Ergebnisse.h"

#include <QDir>

int main(int argc, char** argv)
{
    OrbiloApplication::FixDecimalComma();
    OrbiloApplication app(argc, argv);
    try {
        const ProgramFolders folders = ProgramFolders::Decide(QCoreApplication::applicationDirPath());
        Tfrm_main mainWindow(folders);
        Tfrm_training training(&mainWindow);
        Tfrm_Ergebnis resultWindow(&mainWindow);
        // The lesson views read the globe data, flags and pictures that ship.
        InstallProgramHooks(mainWindow, training, resultWindow, folders.Shipped);

        mainWindow.show();
        return app.exec();
    } catch (const std::exception& error) {
        ShowException(error);
        return 1;
    }
}
