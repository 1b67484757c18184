#include "AppFixture.h"

#include "app/Lektionenliste.h"
#include "learning/Geo.h"
#include "learning/GeoEdit.h"
#include "learning/GeoInputKK.h"
#include "learning/GeoLernen.h"
#include "lesson/TLernOptionen.h"
#include "widgets/GradientPanel.h"
#include "platform/OrbiloError.h"
#include "widgets/LessonListBox.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QPointer>

namespace {

class CatalogueTest : public AppFixture {
protected:
    CatalogueTest()
    {
        QDir(dir.path()).mkdir("Lektionen");
        QDir(dir.path()).mkdir("Ergebnisse");
        writeIni("[Users]\n1=Anna\n2=Ben\n");
    }
    void lesson(const QString& file, const QByteArray& text)
    {
        QFile f(dir.filePath("Lektionen/" + file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    void touch(const QString& file)
    {
        QFile f(dir.filePath(file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QStringList entries(int filter, int language = 1)
    {
        return TLektionenList::CollectEntries(folder() + "Lektionen/", filter, language);
    }
    void TearDown() override { Tfrm_main::StartHooks = {}; }
};

TEST_F(CatalogueTest, ListsLessonsWithContentSortedAndFilteredByGroup)
{
    lesson("b.lek", "[Lektion]\nName=Flüsse\nKategorie=3\n[F]\n1=5\n");
    lesson("a.LEK", "[Lektion]\nName=Flüsse\nKategorie=3\n[Kategorien]\n1=Flüsse\n");
    lesson("c.lek", "[Lektion]\nName=ärmel\nNameEnglish=Sleeves\nKategorie=3\n[L]\n1=2\n");
    lesson("empty.lek", "[Lektion]\nName=Leer\nKategorie=3\n[Globe]\nx=1\n");
    lesson("asia.lek", "[Lektion]\nName=Asien\nKategorie=4\n[L]\n1=2\n");
    lesson("old.lek", "[Allgemeines]\nTitle=Alte Lektion\nKontinent=Europa\n");
    lesson("notes.txt", "[L]\n1=1\n");
    EXPECT_EQ(entries(3), (QStringList{"Alte Lektion;old.lek", QString::fromUtf8("ärmel;c.lek"),
                                       QString::fromUtf8("Flüsse;a.LEK"), QString::fromUtf8("Flüsse;b.lek")}));
    EXPECT_EQ(entries(3, 3).first(), "Alte Lektion;old.lek") << "English names where there are some";
    EXPECT_TRUE(entries(3, 3).contains("Sleeves;c.lek"));
    EXPECT_TRUE(entries(3, 3).contains(QString::fromUtf8("Flüsse;b.lek"))) << "German name without an English one";
    EXPECT_EQ(entries(-1).size(), 5);
    EXPECT_TRUE(entries(1).isEmpty());
}

TEST_F(CatalogueTest, HugeFilesAreSkippedQuickly)
{
    lesson("ok.lek", "[Lektion]\nName=Gut\nKategorie=1\n[L]\n1=1\n");
    QByteArray huge("[Lektion]\nName=Riesig\nKategorie=1\n[L]\n");
    huge += QByteArray(6 * 1024 * 1024, 'x');
    lesson("huge.lek", huge);
    EXPECT_EQ(entries(1), QStringList{"Gut;ok.lek"});
}

TEST(LessonListBox, BoldMarksSplitTheDisplayName)
{
    EXPECT_EQ(LessonListBox::StylePieces("Die #Flüsse# Europas;f.lek"), (QStringList{"Die ", "Flüsse", " Europas"}));
    EXPECT_EQ(LessonListBox::StylePieces("A¿B#C;x.lek"), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(LessonListBox::FilePart("Name;file.lek"), "file.lek");
}

TEST_F(CatalogueTest, MemoryIsOfferedForCountryGlobesWithoutOtherTerms)
{
    struct Case {
        const char* text;
        bool offered;
    } cases[] = {
        {"[Lektion]\nTyp=globe\n[L]\n1=2\n[C]\nSettings=a~b\n1=xxx4\n2=xxx5\n", true},
        {"[Lektion]\nTyp=globe\n[L]\n1=2\n[C]\n1=4\n", false},
        {"[Lektion]\nTyp=iglobe\n[T]\n1=2\n[S]\n1=\n", true},
        {"[Lektion]\nTyp=globe\n[C]\n1=xxx4\n", false},
        {"[Lektion]\nTyp=image\n[L]\n1=2\n", false},
        {"[Lektion]\nTyp=image\n[Allgemeines]\nLHDatei=1\n", true},
        {"[Lektion]\nTyp=globe\n[L]\n1=2\n[C]\n1=4\n[I]\n1=xxx9\n", true},
    };
    for (const Case& c : cases) {
        lesson("m.lek", c.text);
        EXPECT_EQ(Tfrm_main::MemoryOffered(IniFile(dir.filePath("Lektionen/m.lek"))), c.offered) << c.text;
    }
}

TEST_F(CatalogueTest, NewerVersionsAndVanishedFilesDoNotOpen)
{
    lesson("new.lek", "[Lektion]\nName=Neu\nVersion=4\nKategorie=1\n[L]\n1=1\n");
    lesson("gone.lek", "[Lektion]\nName=Weg\nKategorie=1\n[L]\n1=1\n");
    int dialogs = 0;
    Tfrm_main::StartHooks.LearningSettings = [&](TLernOptionen&, bool, int) { return ++dialogs, true; };
    Tfrm_main::StartHooks.CreateLearningView = [](QWidget*, const QString&, std::unique_ptr<TLernOptionen>) -> TGeo* {
        ADD_FAILURE() << "nothing may open";
        return nullptr;
    };
    auto main = start();
    main->Button("Btn_Haupt_Lernen")->click();
    ASSERT_EQ(main->lektionen()->count(), 2);
    main->lektionen()->setCurrentRow(0); // "Neu" sorts first
    main->Button("Btn_Lektionen_Start")->click();
    ASSERT_EQ(responder.messages.size(), 1u);
    EXPECT_TRUE(responder.messages[0].text.contains("neuere Version"));
    QFile::remove(dir.filePath("Lektionen/gone.lek"));
    main->lektionen()->setCurrentRow(1);
    main->Button("Btn_Lektionen_Start")->click();
    ASSERT_EQ(responder.messages.size(), 2u);
    EXPECT_EQ(responder.messages[1].text, QString::fromUtf8("Fehler beim Öffnen der Lektion."));
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(main->CurrentPage(), "Lektionen");
}

TEST_F(CatalogueTest, StartingALessonCreatesTheViewWithItsOptions)
{
    lesson("k.lek", "[Lektion]\nName=Karte\nTyp=image\nKategorie=1\n[Kategorien]\n1=Städte\n[AKategorien]\n1=0\n");
    QString openedPath;
    Tfrm_main::StartHooks.LearningSettings = [](TLernOptionen& options, bool memory, int) {
        EXPECT_FALSE(memory);
        options.Mode = 1;
        options.ViewOnMap = true;
        options.Hauptstaedte = true;
        return true;
    };
    Tfrm_main::StartHooks.CreateLearningView = [&](QWidget* page, const QString& path, std::unique_ptr<TLernOptionen> o) {
        openedPath = path;
        auto* view = new TGeo(page, path, std::move(o), folder());
        view->OpenLessonFile(path);
        return view;
    };
    auto main = start();
    main->Button("Btn_Haupt_Lernen")->click();
    main->Button("Btn_Lektionen_Start")->click();
    ASSERT_NE(main->LessonView(), nullptr);
    EXPECT_TRUE(openedPath.endsWith("Lektionen/k.lek"));
    EXPECT_FALSE(main->LessonView()->Options->ViewOnMap) << "a picture map takes no clicks";
    EXPECT_EQ(main->CurrentPage(), "Lernen");
    EXPECT_EQ(main->VisibleToolbar()->objectName(), "Toolbar_Lernen");
    EXPECT_FALSE(main->Button("btn_Lernen_Tip")->isVisibleTo(main.get()));
    main->Button("btn_Lernen_Zurueck")->click();
    EXPECT_EQ(main->LessonView(), nullptr);
    EXPECT_EQ(main->CurrentPage(), "Lektionen");
    EXPECT_EQ(main->focusWidget(), main->lektionen()) << "the keyboard is back in the list, not lost with the view";
}

TEST_F(CatalogueTest, ALessonThatFailsToLoadReturnsToTheCatalogue)
{
    lesson("bad.lek", "[Lektion]\nName=Kaputt\nTyp=image\nKategorie=1\n[Kategorien]\n1=Städte\n[AKategorien]\n1=viele\n");
    Tfrm_main::StartHooks.LearningSettings = [](TLernOptionen&, bool, int) { return true; };
    Tfrm_main::StartHooks.CreateLearningView = [&](QWidget* page, const QString& path, std::unique_ptr<TLernOptionen> o) {
        auto view = std::make_unique<TGeo>(page, path, std::move(o), folder());
        view->OpenLessonFile(path);
        return view.release();
    };
    auto main = start();
    main->Button("Btn_Haupt_Lernen")->click();
    main->Button("Btn_Lektionen_Start")->click();
    ASSERT_EQ(responder.messages.size(), 1u);
    EXPECT_EQ(responder.messages[0].type, MsgDlgType::mtError);
    EXPECT_TRUE(responder.messages[0].text.contains("viele"));
    EXPECT_EQ(main->LessonView(), nullptr);
    EXPECT_EQ(main->CurrentPage(), "Lektionen");
    EXPECT_TRUE(main->LessonPage()->findChildren<TGeo*>().isEmpty()) << "nothing stays half-open";
}

TEST_F(CatalogueTest, DeletingRemovesPictureLessonAndItsResultsOnly)
{
    lesson("a.lek", "[Lektion]\nName=A\nKategorie=1\n[Allgemeines]\nBitmap=map.gif\n[Kategorien]\n1=x\n");
    lesson("b.lek", "[Lektion]\nName=B\nKategorie=1\n[Allgemeines]\nBitmap=map.gif\n[Kategorien]\n1=x\n");
    lesson("std.lek", "[Lektion]\nName=C\nTyp=iimage\nKategorie=1\n[Kategorien]\n1=x\n");
    touch("Lektionen/map.gif");
    for (const char* user : {"Ergebnisse/1.dat", "Ergebnisse/2.dat"}) {
        QFile f(dir.filePath(user));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[a.lek]\n1=01.01.2020 10:00;1;0;100 %;5;Kurzkontrolle\n[b.lek]\n1=x\n");
    }
    auto main = start();
    main->Button("Btn_Haupt_Editor")->click();
    ASSERT_EQ(main->lektionen()->count(), 3);
    main->lektionen()->setCurrentRow(2); // the standard lesson
    main->Button("btn_LEditor_Delete")->click();
    EXPECT_TRUE(responder.messages.back().text.startsWith("Bei dieser Lektion handelt es sich um eine Standard-Lektion."));
    EXPECT_TRUE(QFile::exists(dir.filePath("Lektionen/std.lek")));

    main->lektionen()->setCurrentRow(0);
    responder.messageAnswers = {mrNo};
    main->Button("btn_LEditor_Delete")->click();
    EXPECT_TRUE(QFile::exists(dir.filePath("Lektionen/a.lek")));
    responder.messageAnswers = {mrYes};
    main->Button("btn_LEditor_Delete")->click();
    EXPECT_EQ(responder.messages.back().text, QString::fromUtf8("Sind Sie sicher, daß Sie \"A\" löschen möchten ?"));
    EXPECT_FALSE(QFile::exists(dir.filePath("Lektionen/a.lek")));
    EXPECT_FALSE(QFile::exists(dir.filePath("Lektionen/map.gif"))) << "even though b.lek names it too";
    for (const char* user : {"Ergebnisse/1.dat", "Ergebnisse/2.dat"}) {
        IniFile results(dir.filePath(user));
        EXPECT_FALSE(results.SectionExists("a.lek"));
        EXPECT_TRUE(results.SectionExists("b.lek"));
    }
    EXPECT_EQ(main->lektionen()->count(), 2);
}

TEST_F(CatalogueTest, EditorRefusesStandardLessonsAndCopyNeedsASelection)
{
    lesson("std.lek", "[Lektion]\nName=C\nTyp=iglobe\nKategorie=1\n[L]\n1=1\n");
    bool created = false;
    Tfrm_main::StartHooks.CreateEditorView = [&](QWidget*, bool, const QString&, std::unique_ptr<TLernOptionen>) -> TGeo* {
        created = true;
        return nullptr;
    };
    auto main = start();
    main->Button("Btn_Haupt_Editor")->click();
    main->Button("btn_LEditor_Edit")->click();
    EXPECT_FALSE(created);
    EXPECT_TRUE(responder.messages.back().text.contains("Kopie"));

    int copyEnabled = -1;
    responder.onDialog = [&](QDialog& dialog) {
        copyEnabled = dialog.findChild<FlatButton*>("lek_copy")->isEnabled();
        return int(QDialog::Rejected);
    };
    main->Button("btn_LEditor_Neu")->click();
    EXPECT_EQ(copyEnabled, 1);
    main->Kat()->setCurrentIndex(3); // Asia: no lessons
    EXPECT_EQ(main->lektionen()->count(), 0);
    main->Button("btn_LEditor_Neu")->click();
    EXPECT_EQ(copyEnabled, 0);
}

} // namespace

namespace {
TEST_F(CatalogueTest, ARunFromTheCatalogueIsStoredForTheUserWhenClosed)
{
    lesson("k.lek", "[Lektion]\nName=Karte\nTyp=image\nKategorie=1\n[Kategorien]\n1=Städte\n[AKategorien]\n1=2\n"
                    "[Kategorie1]\n1=Berlin\n2=Paris\n");
    int shown = 0;
    TGeoLernen::ResultWindow = [&](TGeoLernen&, const TErgebnis&) { ++shown; };
    Tfrm_main::StartHooks.LearningSettings = [](TLernOptionen&, bool, int) { return true; };
    Tfrm_main::StartHooks.CreateLearningView = [&](QWidget* page, const QString& path, std::unique_ptr<TLernOptionen> o) -> TGeo* {
        return new TGeoLernen(page, path, std::move(o), folder());
    };
    chosenUserNumber = "2";
    auto main = start();
    main->Button("Btn_Haupt_Lernen")->click();
    main->Button("Btn_Lektionen_Start")->click();
    auto* view = dynamic_cast<TGeoLernen*>(main->LessonView());
    ASSERT_NE(view, nullptr);
    auto& input = dynamic_cast<TGeoInputKK&>(*view->InputPanel);
    input.Fields()[0]->setText("Berlin");
    main->Button("btn_Lernen_Ergebnis")->click();
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(QFile::exists(dir.filePath("Ergebnisse/2.dat"))) << "the result button stores nothing";
    main->Button("btn_Lernen_Zurueck")->click();
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(main->LessonView(), nullptr);
    EXPECT_EQ(main->CurrentPage(), "Lektionen");
    EXPECT_TRUE(IniFile(dir.filePath("Ergebnisse/2.dat")).ReadString("k.lek", "1").contains(";1;1;50 %;"));
    TGeoLernen::ResultWindow = nullptr;
}
} // namespace

namespace {
// The window can go without a close event first (the program is ended from
// outside, a test ends): the open lesson view goes with it, while the
// toolbars and the catalogue it returns to still exist. Nothing is shown on
// the way out.
TEST_F(CatalogueTest, DestroyingTheWindowWithALessonOpenReleasesTheViewFirst)
{
    // A picture lesson, and a globe lesson on the shipped globe data.
    lesson("k.lek", "[Lektion]\nName=Karte\nTyp=image\nKategorie=1\n[Kategorien]\n1=Städte\n[AKategorien]\n1=2\n"
                    "[Kategorie1]\n1=Berlin\n2=Paris\n");
    QDir(dir.path()).mkdir("Data");
    for (const char* file : {"geodata.dat", "geodata.ini"})
        ASSERT_TRUE(QFile::copy(QStringLiteral(ORBILO_DATA_FOLDER "/Data/") + file, dir.filePath("Data/") + file));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORBILO_DATA_FOLDER "/Lektionen/Europa_Laender.lek"),
                            dir.filePath("Lektionen/Europa_Laender.lek")));

    int shown = 0;
    TGeoLernen::ResultWindow = [&](TGeoLernen&, const TErgebnis&) { ++shown; };
    // Wired as the program entry wires it.
    Tfrm_main::StartHooks.LearningSettings = [](TLernOptionen&, bool, int) { return true; };
    Tfrm_main::StartHooks.CreateLearningView = [&](QWidget* page, const QString& path,
                                                   std::unique_ptr<TLernOptionen> options) -> TGeo* {
        auto view = std::make_unique<TGeoLernen>(page, path, std::move(options), folder());
        return view->Opened() ? view.release() : nullptr;
    };
    for (const char* file : {"k.lek", "Europa_Laender.lek"}) {
        chosenUserNumber = "1";
        auto main = start();
        main->show();
        main->Button("Btn_Haupt_Lernen")->click();
        main->Lektionen().SetFilter(-1); // every group
        for (int row = 0; row < main->lektionen()->count(); ++row)
            if (main->lektionen()->item(row)->text().endsWith(QStringLiteral(";") + file))
                main->lektionen()->setCurrentRow(row);
        main->Button("Btn_Lektionen_Start")->click();
        const QPointer<TGeo> view = main->LessonView();
        ASSERT_FALSE(view.isNull()) << file;
        QCoreApplication::processEvents();

        main.reset();
        EXPECT_TRUE(view.isNull()) << file;
        EXPECT_EQ(shown, 0) << file;
        EXPECT_FALSE(QFile::exists(dir.filePath("Ergebnisse/1.dat"))) << file;
    }
    TGeoLernen::ResultWindow = nullptr;
}
} // namespace
