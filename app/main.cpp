#include "app/Mainform.h"
#include "app/OrbiloApplication.h"
#include "platform/ErrorDisplay.h"

#include <QDir>

int main(int argc, char** argv)
{
    OrbiloApplication::FixDecimalComma();
    OrbiloApplication app(argc, argv);
    try {
        const QString programFolder = QDir(QCoreApplication::applicationDirPath()).absolutePath() + u'/';
        Tfrm_main mainWindow(programFolder);
        mainWindow.show();
        return app.exec();
    } catch (const std::exception& error) {
        ShowException(error);
        return 1;
    }
}
