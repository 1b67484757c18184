#include "AppFixture.h"

#include "learning/GeoEdit.h"
#include "learning/GeoInputAbfrage.h"
#include "learning/GeoInputKK.h"
#include "learning/GeoLernen.h"
#include "learning/Trainingsarten.h"
#include "widgets/FlatButton.h"
#include "lesson/TLernOptionen.h"
#include "lesson/TDaten.h"
#include "lesson/TGeoItem.h"
#include "widgets/LessonListBox.h"

#include <QLabel>
#include <QLineEdit>
#include "maps/GeoVisual.h"

#include <QDir>
#include <QDirIterator>
#include <QStackedWidget>
#include <QTest>
#include <QScrollBar>

// Renders the windows to PNG files when ORBILO_SCREENSHOT_DIR is set, so
// they can be looked at; otherwise skipped.
namespace {

class Screenshots : public AppFixture {
protected:
    // Where the pictures go; empty when they are not wanted.
    static QString outputFolder()
    {
        const QString out = qEnvironmentVariable("ORBILO_SCREENSHOT_DIR");
        if (!out.isEmpty())
            QDir().mkpath(out);
        return out;
    }
    // The program folder as it ships: lessons, globe data, an empty results folder.
    void installShippedData()
    {
        QDir(dir.path()).mkpath("Ergebnisse");
        for (const char* folder : {"Lektionen", "Data"}) {
            QDir(dir.path()).mkpath(folder);
            for (QDirIterator it(QStringLiteral(ORBILO_DATA_FOLDER) + "/" + folder, QDir::Files); it.hasNext();) {
                const QString file = it.next();
                QFile::copy(file, dir.filePath(QString(folder) + "/" + QFileInfo(file).fileName()));
            }
        }
    }
    // Runs start in this mode, in real learning views.
    void learnIn(int mode, bool capitals = true)
    {
        Tfrm_main::StartHooks.LearningSettings = [mode, capitals](TLernOptionen& o, bool, int) {
            o.Mode = mode;
            o.Hauptstaedte = capitals;
            return true;
        };
        Tfrm_main::StartHooks.CreateLearningView = [this](QWidget* page, const QString& path,
                                                          std::unique_ptr<TLernOptionen> o) -> TGeo* {
            return new TGeoLernen(page, path, std::move(o), folder());
        };
    }
    static void selectLesson(Tfrm_main& main, const QString& fileName)
    {
        for (int row = 0; row < main.lektionen()->count(); ++row)
            if (main.lektionen()->item(row)->text().endsWith(";" + fileName))
                main.lektionen()->setCurrentRow(row);
    }
    void TearDown() override { Tfrm_main::StartHooks = {}; }
};

TEST_F(Screenshots, RenderWindows)
{
    const QString out = outputFolder();
    if (out.isEmpty())
        GTEST_SKIP() << "set ORBILO_SCREENSHOT_DIR to render the windows";
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

// The catalogue on the shipped lessons, and a picture lesson's short test
// half answered with its current region highlighted.
TEST_F(Screenshots, RenderCatalogueAndShortTest)
{
    const QString out = outputFolder();
    if (out.isEmpty())
        GTEST_SKIP() << "set ORBILO_SCREENSHOT_DIR to render the windows";
    installShippedData();
    for (int language : {1, 3}) {
        writeIni(QString("[Geo]\nLanguage=%1\n[Users]\n1=Anna\n").arg(language).toUtf8());
        learnIn(0);
        auto main = start();
        main->resize(900, 700);
        main->show();
        main->Button("Btn_Haupt_Lernen")->click();
        main->findChild<QLabel*>("img_Europa")->setFocus();
        QTest::keyClick(main->findChild<QLabel*>("img_Europa"), Qt::Key_Space);
        main->grab().save(QString("%1/catalogue_learning_%2.png").arg(out).arg(language));
        main->Button("Btn_Lektionen_Zurueck")->click();
        main->Button("Btn_Haupt_Editor")->click();
        main->grab().save(QString("%1/catalogue_editor_%2.png").arg(out).arg(language));
        main->Button("btn_LEditor_Zurueck")->click();

        main->Button("Btn_Haupt_Lernen")->click();
        QTest::keyClick(main->findChild<QLabel*>("img_Europa"), Qt::Key_Space);
        selectLesson(*main, "Europa_Laender_Karte.lek");
        main->Button("Btn_Lektionen_Start")->click();
        if (auto* view = dynamic_cast<TGeoLernen*>(main->LessonView())) {
            auto& input = dynamic_cast<TGeoInputKK&>(*view->InputPanel);
            for (size_t i = 0; i < input.Fields().size() && i < 6; ++i)
                QTest::keyClicks(input.Fields()[i], i % 2 ? QString("falsch") : input.Fields()[i]->Item()->NamesGerman.value(0));
            input.Fields()[6]->setFocus();
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
            main->grab().save(QString("%1/shorttest_%2.png").arg(out).arg(language));
            main->Button("btn_Lernen_Zurueck")->click();
        }
        // The typed test with right and wrong feedback (picture maps take no
        // clicks, so the map test needs a globe lesson).
        {
            learnIn(1);
            main->Button("Btn_Lektionen_Start")->click();
            auto* view = dynamic_cast<TGeoLernen*>(main->LessonView());
            ASSERT_NE(view, nullptr);
            auto& test = dynamic_cast<TGeoInputAbfrage&>(*view->InputPanel);
            TGeoItem* asked = test.CurrentItem;
            {
                auto& typed = dynamic_cast<TGeoInputAbfrageEdit&>(test);
                typed.AnswerField()->setText(asked->NamesGerman.value(0));
                QTest::keyClick(typed.AnswerField(), Qt::Key_Return);
                QCoreApplication::processEvents();
                main->grab().save(QString("%1/test_typed_right_%2.png").arg(out).arg(language));
                typed.AnswerField()->setText("Atlantis");
                QTest::keyClick(typed.AnswerField(), Qt::Key_Return);
                QTest::keyClicks(typed.AnswerField(), "Fra");
                QCoreApplication::processEvents();
                main->grab().save(QString("%1/test_typed_wrong_%2.png").arg(out).arg(language));
            }
            main->Button("btn_Lernen_Zurueck")->click();
        }
    }
}

} // namespace

namespace {

TEST_F(Screenshots, RenderSettingsDialog)
{
    const QString out = outputFolder();
    if (out.isEmpty())
        GTEST_SKIP() << "set ORBILO_SCREENSHOT_DIR to render the windows";
    Tfrm_training dialog;
    for (int language : {1, 2, 3}) {
        dialog.lang.SetActLang(language);
        dialog.PrepareShow(true);
        dialog.show();
        for (int mode = 0; mode < 4; ++mode) {
            dialog.ModeButton(mode)->click();
            dialog.grab().save(QString("%1/training_%2_mode%3.png").arg(out).arg(language).arg(mode));
        }
    }
}

} // namespace

namespace {

// The selection on a shipped globe lesson.
TEST_F(Screenshots, RenderSelectionOnTheGlobe)
{
    const QString out = outputFolder();
    if (out.isEmpty())
        GTEST_SKIP() << "set ORBILO_SCREENSHOT_DIR to render the windows";
    installShippedData();
    writeIni("[Geo]\nLanguage=1\n[Users]\n1=Anna\n");
    learnIn(2);
    auto main = start();
    main->resize(900, 700);
    main->show();
    main->Button("Btn_Haupt_Lernen")->click();
    QTest::keyClick(main->findChild<QLabel*>("img_Europa"), Qt::Key_Space);
    selectLesson(*main, "Europa_Laender.lek");
    main->Button("Btn_Lektionen_Start")->click();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    main->grab().save(QString("%1/selection_globe.png").arg(out));
    if (main->LessonView())
        main->Button("btn_Lernen_Zurueck")->click();
}

} // namespace
