#include "AppFixture.h"
#include "platform/ErrorDisplay.h"
#include "platform/OrbiloError.h"

#include "learning/Geo.h"
#include "lesson/TLernOptionen.h"
#include "platform/HelpViewer.h"
#include "platform/Messages.h"
#include "widgets/FlatButton.h"
#include "widgets/GradientPanel.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QApplication>
#include <QTextBrowser>
#include <QCoreApplication>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

namespace {

using MainformTest = AppFixture;

TEST_F(MainformTest, FirstStartGreetsAndWritesTheSettings)
{
    welcomeLanguageRow = 1;
    auto main = start();
    EXPECT_EQ(welcomeModes, std::vector<int>{Tfrm_willkommen::FirstStart});
    IniFile ini(iniPath());
    EXPECT_EQ(ini.ReadInteger("Geo", "Language", 0), 2);
    EXPECT_EQ(ini.ReadString("Geo", "Spelling"), "1");
    EXPECT_EQ(ini.ReadString("Geo", "ShowFlagAbfrage"), "1");
    EXPECT_EQ(ini.ReadString("Geo", "NewUser"), "1");
    EXPECT_EQ(ini.ReadString("Users", "1"), "Anna");
    EXPECT_EQ(main->Optionen().UserNumber, 1);
    EXPECT_EQ(main->lang.ActiveLanguage(), 2);
    EXPECT_EQ(main->CurrentPage(), "Start");
    EXPECT_EQ(main->windowTitle(), QString::fromUtf8("Orbilo 3.0 – Anna")) << "who is learning";
    main->lang.SetActLang(3);
    EXPECT_EQ(main->windowTitle(), QString::fromUtf8("Orbilo 3.0 – Anna"));
}

TEST_F(MainformTest, EmptyUserListMeansFirstStartAgainAndRewritesSpelling)
{
    writeIni("[Geo]\nSpelling=0\nLanguage=3\n[Users]\n");
    auto main = start();
    EXPECT_EQ(welcomeModes.size(), 1u);
    EXPECT_EQ(IniFile(iniPath()).ReadString("Geo", "Spelling"), "1");
    EXPECT_TRUE(main->Optionen().Spelling());
}

TEST_F(MainformTest, SelectionDialogOnlyWithTwoOrMoreUsers)
{
    writeIni("[Geo]\nLanguage=1\n[Users]\n4=Ben\n");
    {
        auto main = start();
        EXPECT_TRUE(welcomeModes.empty());
        EXPECT_EQ(main->Optionen().UserNumber, 4);
    }
    writeIni("[Geo]\nLanguage=3\n[Users]\n4=Ben\n9=Cleo\n");
    chosenUserNumber = "9";
    auto main = start();
    EXPECT_EQ(welcomeModes, std::vector<int>{Tfrm_willkommen::UserSelection});
    EXPECT_EQ(main->Optionen().UserNumber, 9);
    EXPECT_EQ(main->Optionen().CurrentUserName(), "Cleo");
}

TEST_F(MainformTest, SelectionDialogPreselectsTheFirstUser)
{
    writeIni("[Users]\n4=Ben\n9=Cleo\n");
    auto main = start();
    EXPECT_EQ(main->Optionen().UserNumber, 4);
}

TEST_F(MainformTest, ResultFilesOfUnknownUsersAreDeletedAtStart)
{
    writeIni("[Users]\n7=Gerd\n");
    QDir(dir.path()).mkdir("Ergebnisse");
    for (const char* name : {"Ergebnisse/7.dat", "Ergebnisse/8.dat", "Ergebnisse/notes.txt"}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    start();
    EXPECT_TRUE(QFile::exists(dir.filePath("Ergebnisse/7.dat")));
    EXPECT_FALSE(QFile::exists(dir.filePath("Ergebnisse/8.dat")));
    EXPECT_TRUE(QFile::exists(dir.filePath("Ergebnisse/notes.txt")));
    writeIni("[Users]\n1=Other\n");
    start();
    EXPECT_FALSE(QFile::exists(dir.filePath("Ergebnisse/7.dat")));
}

// A settings file that is there but cannot be read is not a first start:
// nobody's results go, and nothing replaces the file.
TEST_F(MainformTest, AnUnreadableSettingsFileStopsTheStartAndKeepsEveryResult)
{
    QDir(dir.path()).mkpath("geo.ini"); // unreadable as a file
    QDir(dir.path()).mkdir("Ergebnisse");
    QFile f(dir.filePath("Ergebnisse/1.dat"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    try {
        start();
        FAIL() << "started on an unreadable settings file";
    } catch (const FileReadError& error) {
        EXPECT_EQ(error.message(), "Unable to read " + iniPath());
    }
    EXPECT_TRUE(welcomeModes.empty()) << "no first-start dialog";
    EXPECT_TRUE(QFile::exists(dir.filePath("Ergebnisse/1.dat")));
    EXPECT_TRUE(QFileInfo(iniPath()).isDir());
}

TEST_F(MainformTest, ErrorBoxesSpeakTheInterfaceLanguage)
{
    writeIni("[Geo]\nLanguage=2\n[Users]\n1=A\n");
    auto main = start();
    ShowException(OrbiloError("kaputt"));
    ASSERT_FALSE(responder.messages.empty());
    EXPECT_EQ(responder.messages.back().title, "Fehler");
    main->lang.SetActLang(3);
    ShowException(OrbiloError("broken"));
    EXPECT_EQ(responder.messages.back().title, "Error");
    main.reset();
    ShowException(OrbiloError("no window"));
    EXPECT_EQ(responder.messages.back().title, "Error") << "without a window the built-in text";
}

TEST_F(MainformTest, MissingFoldersYieldNothingAndNoMessage)
{
    writeIni("[Users]\n1=A\n");
    start();
    EXPECT_TRUE(responder.messages.empty());
}

TEST_F(MainformTest, WindowPlacementRules)
{
    writeIni("[Geo]\nWidth=300\nHeight=2000\n[Users]\n1=A\n");
    {
        auto main = start();
        EXPECT_EQ(main->width(), 610);
        EXPECT_EQ(main->height(), 2000);
    }
    writeIni("[Geo]\nMax=1\nWidth=1000\nHeight=900\n[Users]\n1=A\n");
    auto main = start();
    EXPECT_TRUE(main->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(main->normalGeometry().isValid() ? main->normalGeometry().size() : main->size(), QSize(680, 550));
}

TEST_F(MainformTest, GarbageSettingsReadAsDefaults)
{
    writeIni("garbage\n[Geo]\nLanguage=banana\nSpelling=x\nWidth=99999999999\n[Bewertung]\n1=zz\n3=0x10\n[Users]\n1=A\n");
    auto main = start();
    const TOptionen& o = main->Optionen();
    EXPECT_EQ(o.Language, 1);
    EXPECT_TRUE(o.Spelling());
    EXPECT_EQ(o.GradeThresholds[1], 90);
    EXPECT_EQ(o.GradeThresholds[3], 16);
    EXPECT_EQ(o.GradeThresholds[5], 25);
    EXPECT_EQ(main->width(), 680);
}

TEST_F(MainformTest, UnwritableProgramFolderGivesOneErrorNamingGeoIni)
{
    const QString missing = dir.filePath("gone/");
    auto main = std::make_unique<Tfrm_main>(missing);
    ASSERT_EQ(responder.messages.size(), 1u);
    EXPECT_EQ(responder.messages[0].type, MsgDlgType::mtError);
    EXPECT_TRUE(responder.messages[0].text.contains("geo.ini"));
    EXPECT_EQ(main->CurrentPage(), "Start");
    main.reset(); // storing the window size must not fail loudly a second time
    EXPECT_EQ(responder.messages.size(), 1u);
}

TEST_F(MainformTest, AtMostOneToolbarAndOnlyItsButtonsEnabled)
{
    writeIni("[Users]\n1=A\n");
    auto main = start();
    main->show();
    auto check = [&](const char* expected) {
        int visible = 0;
        for (GradientPanel* bar : main->findChildren<GradientPanel*>()) {
            if (!bar->objectName().startsWith("Toolbar_"))
                continue;
            visible += bar->isVisible();
            for (FlatButton* b : bar->findChildren<FlatButton*>())
                EXPECT_EQ(b->isEnabled(), bar->objectName() == expected) << b->objectName().toStdString();
        }
        EXPECT_EQ(visible, expected ? 1 : 0);
    };
    check("Toolbar_Haupt");
    main->Button("Btn_Haupt_Lernen")->click();
    check("Toolbar_Lektionen");
    EXPECT_EQ(main->CurrentPage(), "Lektionen");
    main->Button("Btn_Lektionen_Zurueck")->click();
    main->Button("Btn_Haupt_Editor")->click();
    check("Toolbar_LektionenEditor");
    main->Button("btn_LEditor_Zurueck")->click();
    main->Button("Btn_Haupt_Info")->click();
    check(nullptr);
    EXPECT_TRUE(main->btn_InfoOk()->isEnabled());
    main->btn_InfoOk()->click();
    EXPECT_FALSE(main->btn_InfoOk()->isEnabled());
    check("Toolbar_Haupt");
    main->Button("btn_Haupt_Config")->click();
    check("Toolbar_Config");
    EXPECT_EQ(main->nb_optionen()->currentIndex(), 0);
    main->Button("btn_Config_Users")->click();
    EXPECT_EQ(main->nb_optionen()->currentIndex(), 1);
}

TEST_F(MainformTest, EnterInTheHelpSearchShowsTheHit)
{
    QFile help(dir.filePath("geo.hlp"));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    QByteArray html = "<h1><a name=\"contents\">Inhalt</a></h1>";
    for (int i = 0; i < 200; ++i)
        html += "<p>Absatz " + QByteArray::number(i) + "</p>";
    help.write(html + "<p>Zielwort</p>");
    help.close();
    HelpSystem::SetHelpFile(help.fileName());
    ASSERT_TRUE(HelpSystem::ShowContents());
    QWidget* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "HelpWindow" && w->isVisible())
            window = w;
    ASSERT_NE(window, nullptr);
    auto* search = window->findChild<QLineEdit*>();
    auto* browser = window->findChild<QTextBrowser*>();
    ASSERT_TRUE(search && browser);
    search->setFocus();
    QTest::keyClicks(search, "Zielwort");
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(browser->textCursor().selectedText(), "Zielwort") << "the hit is shown, not the contents page";
    window->close();
}

TEST_F(MainformTest, AContinentPictureShowsWhenItHasTheKeyboard)
{
    writeIni("[Users]\n1=A\n");
    auto main = start();
    main->show();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    main->Button("Btn_Haupt_Lernen")->click();
    auto* europe = main->findChild<QLabel*>("img_Europa");
    ASSERT_NE(europe, nullptr);
    ASSERT_TRUE(europe->focusPolicy() & Qt::TabFocus);
    const QImage resting = europe->grab().toImage();
    europe->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(europe->hasFocus());
    EXPECT_NE(europe->grab().toImage(), resting) << "a focus mark is drawn";
}

TEST_F(MainformTest, HelpIsSuppressedInEnglish)
{
    writeIni("[Geo]\nLanguage=3\n[Users]\n1=A\n");
    int opened = 0;
    HelpSystem::SetViewerOpener([&](const QString& file) {
        ++opened;
        EXPECT_TRUE(file.endsWith("geo.hlp"));
    });
    auto main = start();
    main->Button("Btn_Haupt_Hilfe")->click();
    EXPECT_EQ(opened, 0);
    ASSERT_EQ(responder.messages.size(), 1u);
    EXPECT_EQ(responder.messages[0].text, "Sorry, at the moment no English help is available.");
    EXPECT_EQ(responder.messages[0].type, MsgDlgType::mtInformation);

    main->Button("btn_Haupt_Config")->click();
    main->Sprachwahl()->setCurrentRow(0);
    main->Button("btn_Config_Zurueck")->click();
    main->Button("Btn_Haupt_Hilfe")->click();
    EXPECT_EQ(opened, 1);
    HelpSystem::SetViewerOpener({});
}

TEST_F(MainformTest, LanguageSwitchesAtOnceAndIsStoredOnLeaving)
{
    writeIni("[Geo]\nLanguage=1\n[Users]\n1=A\n");
    auto main = start();
    EXPECT_EQ(main->Button("Btn_Haupt_Beenden")->text(), "&Beenden");
    main->Button("btn_Haupt_Config")->click();
    main->Sprachwahl()->setCurrentRow(2);
    EXPECT_EQ(main->Button("btn_Config_Zurueck")->text(), "&Back");
    EXPECT_EQ(main->cb_spelling()->text(), "&Ignore spelling mistakes");
    EXPECT_EQ(IniFile(iniPath()).ReadInteger("Geo", "Language", 0), 1) << "stored only when leaving";
    main->cb_spelling()->setChecked(false);
    main->Button("btn_Config_Zurueck")->click();
    IniFile ini(iniPath());
    EXPECT_EQ(ini.ReadInteger("Geo", "Language", 0), 3);
    EXPECT_EQ(ini.ReadString("Geo", "Spelling"), "0");
    EXPECT_EQ(main->Button("Btn_Haupt_Beenden")->text(), "&Close");
}

TEST_F(MainformTest, UserNumbersAreNeverHandedOutTwice)
{
    writeIni("[Geo]\nNewUser=1\n[Users]\n1=Anna\n");
    auto main = start();
    main->Button("btn_Haupt_Config")->click();
    EXPECT_FALSE(main->User_Delete()->isEnabled());
    responder.inputAnswers = {{true, "Ben"}, {true, "Cleo"}};
    main->User_New()->click();
    main->User_New()->click();
    EXPECT_EQ(main->Benutzer()->entries(), (QStringList{"Anna|1", "Ben|2", "Cleo|3"}));
    main->Benutzer()->setCurrentRow(1);
    EXPECT_TRUE(main->User_Delete()->isEnabled());
    responder.messageAnswers = {mrYes};
    main->User_Delete()->click();
    EXPECT_TRUE(responder.messages.back().text.contains("\"Ben\""));
    responder.inputAnswers = {{true, "Dora"}};
    main->User_New()->click();
    EXPECT_EQ(main->Benutzer()->entries(), (QStringList{"Anna|1", "Cleo|3", "Dora|4"}));
    // Renaming to an empty name is taken as typed.
    main->Benutzer()->setCurrentRow(0);
    responder.inputAnswers = {{true, ""}};
    main->User_Rename()->click();
    // A cancelled dialog changes nothing.
    responder.inputAnswers = {{false, "ignored"}};
    main->User_New()->click();
    main->Button("btn_Config_Zurueck")->click();
    EXPECT_EQ(main->Optionen().FillUserList(), (QStringList{"|1", "Cleo|3", "Dora|4"}));
    EXPECT_EQ(IniFile(iniPath()).ReadInteger("Geo", "NewUser", 0), 4);
}

TEST_F(MainformTest, ClosingOnTheOptionsPageLosesListChangesButKeepsNewUser)
{
    writeIni("[Geo]\nNewUser=1\n[Users]\n1=Anna\n");
    {
        auto main = start();
        main->Button("btn_Haupt_Config")->click();
        responder.inputAnswers = {{true, "Ben"}};
        main->User_New()->click();
        main->close();
    }
    IniFile ini(iniPath());
    EXPECT_EQ(ini.ReadSection("Users"), QStringList{"1"});
    EXPECT_EQ(ini.ReadInteger("Geo", "NewUser", 0), 2);
}

TEST_F(MainformTest, DeletingAllUsersMakesTheNextStartAFirstStart)
{
    writeIni("[Users]\n1=Anna\n");
    {
        auto main = start();
        main->Button("btn_Haupt_Config")->click();
        main->Benutzer()->setCurrentRow(0);
        responder.messageAnswers = {mrYes};
        main->User_Delete()->click();
        main->Button("btn_Config_Zurueck")->click();
    }
    EXPECT_TRUE(IniFile(iniPath()).ReadSection("Users").isEmpty());
    start();
    EXPECT_EQ(welcomeModes, std::vector<int>{Tfrm_willkommen::FirstStart});
}

class FakeView : public TGeo {
public:
    FakeView(QWidget* page, int* closed) : TGeo(page, {}, nullptr, {}), m_closed(closed) {}
    bool Close() override
    {
        ++*m_closed;
        return TGeo::Close();
    }

private:
    int* m_closed;
};

TEST_F(MainformTest, EndOfSessionMessageClosesTheViewLater)
{
    writeIni("[Users]\n1=A\n");
    auto main = start();
    int closed = 0;
    auto* view = new FakeView(main->LessonPage(), &closed);
    view->OnDestroyed = [&main](TGeo*) { main->ReturnToCatalogue(); };
    main->SetLessonView(view);
    PostEndOfSession();
    EXPECT_EQ(closed, 0) << "closing waits for the message loop";
    QCoreApplication::processEvents();
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(main->LessonView(), nullptr);
    EXPECT_EQ(main->CurrentPage(), "Lektionen");
    EXPECT_EQ(main->VisibleToolbar()->objectName(), "Toolbar_Lektionen");
}

TEST_F(MainformTest, WindowSizeIsStoredWhenTheWindowGoes)
{
    writeIni("[Users]\n1=A\n");
    {
        auto main = start();
        main->resize(800, 600);
    }
    IniFile ini(iniPath());
    EXPECT_EQ(ini.ReadInteger("Geo", "Width", 0), 800);
    EXPECT_EQ(ini.ReadInteger("Geo", "Max", -1), 0);
}

} // namespace

namespace {
TEST_F(MainformTest, ToolbarButtonsAnswerTheirAltKeys)
{
    writeIni("[Users]\n1=A\n");
    auto main = start();
    // The offscreen platform delivers no shortcuts; that the key is bound
    // is what can be checked here.
    EXPECT_EQ(main->Button("btn_Haupt_Config")->shortcut(), QKeySequence("Alt+O"));
    EXPECT_EQ(main->Button("Btn_Lektionen_Zurueck")->shortcut(), QKeySequence("Alt+Z"));
}
} // namespace
