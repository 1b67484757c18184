#include "AppFixture.h"

#include <QStackedWidget>
#include <QDir>

// Renders the windows to PNG files when ORBILO_SCREENSHOT_DIR is set, so
// they can be looked at; otherwise skipped.
namespace {

using Screenshots = AppFixture;

TEST_F(Screenshots, RenderWindows)
{
    const QString out = qEnvironmentVariable("ORBILO_SCREENSHOT_DIR");
    if (out.isEmpty())
        GTEST_SKIP() << "set ORBILO_SCREENSHOT_DIR to render the windows";
    QDir().mkpath(out);
    for (int language = 1; language <= 3; ++language) {
        Tfrm_willkommen first;
        first.PrepareShow();
        first.lang.SetActLang(language);
        first.Name()->setText("Anna");
        first.show();
        first.grab().save(QString("%1/welcome_first_%2.png").arg(out).arg(language));

        Tfrm_willkommen select;
        select.WelcomeMode = Tfrm_willkommen::UserSelection;
        select.lang.SetActLang(language);
        select.SetUsers({"Anna|1", "Ben|2", "Cleo|3"});
        select.PrepareShow();
        select.show();
        select.grab().save(QString("%1/welcome_users_%2.png").arg(out).arg(language));

        writeIni(QString("[Geo]\nLanguage=%1\n[Users]\n1=Anna\n2=Ben\n").arg(language).toUtf8());
        auto main = start();
        main->show();
        main->grab().save(QString("%1/main_start_%2.png").arg(out).arg(language));
        main->Button("btn_Haupt_Config")->click();
        main->grab().save(QString("%1/main_options0_%2.png").arg(out).arg(language));
        main->Button("btn_Config_Users")->click();
        main->Benutzer()->setCurrentRow(1);
        main->grab().save(QString("%1/main_options1_%2.png").arg(out).arg(language));
        main->Button("btn_Config_Zurueck")->click();
        main->Button("Btn_Haupt_Info")->click();
        main->grab().save(QString("%1/main_info_%2.png").arg(out).arg(language));
        main->btn_InfoOk()->click();
        main->Button("Btn_Haupt_Lernen")->click();
        main->grab().save(QString("%1/main_catalogue_%2.png").arg(out).arg(language));
    }
}

} // namespace
