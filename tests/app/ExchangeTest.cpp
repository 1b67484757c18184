#include "AppFixture.h"

#include "app/Austausch.h"
#include "app/Lektionenliste.h"
#include "platform/AtomicFile.h"
#include "platform/IniFile.h"
#include "widgets/GradientPanel.h"
#include "widgets/LessonListBox.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>

namespace {

// The exchange of the editor catalogue in a real main window, on lessons of
// one's own beside a shipped standard lesson.
class Exchange : public AppFixture {
protected:
    QTemporaryDir elsewhere; // where exchange files are put and found
    const QByteArray picture = readWholeFile(QStringLiteral(ORBILO_DATA_FOLDER "/Lektionen/Europa_Laender_Karte.gif"));

    Exchange()
    {
        install(dir.path());
        lesson(dir.path(), "Fluesse.lek", "[Lektion]\nVersion=3\nTyp=globe\nName=Meine Flüsse\nKategorie=3\n[F]\n1=12\n2=40\n");
        lesson(dir.path(), "Staedte.lek", "[Lektion]\nTyp=globe\nName=Städte\nNameEnglish=Cities\nKategorie=1\n[C]\n1=7\n");
        lesson(dir.path(), "Karte.lek",
               "[Lektion]\nTyp=image\nName=Meine Karte\nKategorie=3\n[Allgemeines]\nBitmap=Karte.gif\n"
               "[Kategorien]\n1=Länder\n[AKategorien]\n1=1\n[Kategorie1]\n1=Albanien?505&574?Tirana\n");
        writeFileAtomically(dir.filePath("Lektionen/Karte.gif"), picture);
        QFile::copy(QStringLiteral(ORBILO_DATA_FOLDER "/Lektionen/Europa_Laender.lek"), dir.filePath("Lektionen/Europa_Laender.lek"));
    }
    static void install(const QString& folder)
    {
        QDir(folder).mkpath("Lektionen");
        QDir(folder).mkpath("Ergebnisse");
        writeFileAtomically(folder + "/geo.ini", "[Users]\n1=Anna\n");
    }
    static void lesson(const QString& folder, const QString& name, const QByteArray& text)
    {
        writeFileAtomically(folder + "/Lektionen/" + name, text);
    }
    static TAustausch& exchange(Tfrm_main& main) { return *main.findChild<TAustausch*>(); }
    static void openSelection(Tfrm_main& main)
    {
        main.show();
        main.Button("Btn_Haupt_Editor")->click();
        main.Button("btn_LEditor_Austausch")->click();
        ASSERT_TRUE(exchange(main).Popup_Export()->isVisible()) << "the commands pop up under the button";
        exchange(main).Popup_Export()->hide();
        exchange(main).menu_Export()->trigger();
    }
    static QStringList offered(Tfrm_main& main)
    {
        QStringList names;
        for (int row = 0; row < exchange(main).lektionen_cb()->count(); ++row)
            names << exchange(main).lektionen_cb()->item(row)->text();
        return names;
    }
    static void check(Tfrm_main& main, const QStringList& names)
    {
        QListWidget* list = exchange(main).lektionen_cb();
        for (int row = 0; row < list->count(); ++row)
            if (names.contains(list->item(row)->text()))
                list->item(row)->setCheckState(Qt::Checked);
    }
    static QStringList folderFiles(const QString& folder)
    {
        return QDir(folder + "/Lektionen").entryList(QDir::Files, QDir::Name);
    }
};

TEST_F(Exchange, ExportedLessonsComeIntoAnEmptyInstallationAsTheyWere)
{
    QStringList names;
    {
        auto main = start();
        openSelection(*main);
        EXPECT_TRUE(main->ExportMode);
        EXPECT_EQ(main->VisibleToolbar(), main->Toolbar("Toolbar_Export"));
        TAustausch& x = exchange(*main);
        EXPECT_TRUE(x.lbl_Export()->isVisible());
        EXPECT_EQ(x.lbl_Export()->text(), QString::fromUtf8("Bitte wählen Sie die Lektionen aus, die Sie exportieren möchten:"));
        EXPECT_TRUE(x.lektionen_cb()->isVisible());
        EXPECT_FALSE(main->lektionen()->isVisible());
        EXPECT_FALSE(main->Kat()->isVisible());
        // One's own lessons of every group; the standard lessons stay at home.
        names = offered(*main);
        EXPECT_EQ(names, (QStringList{"Meine Flüsse", "Meine Karte", QString::fromUtf8("Städte")}));
        check(*main, names);
        responder.fileAnswers.push_back(elsewhere.filePath("Meine Lektionen"));
        main->Button("btn_Export_Export")->click();
        ASSERT_EQ(responder.files.size(), 1u);
        EXPECT_TRUE(responder.files[0].save);
        EXPECT_EQ(responder.files[0].title, "Lektionen exportieren");
        EXPECT_EQ(responder.files[0].filters, QStringList{"Orbilo-Lektionen (*.geo)"});
        ASSERT_EQ(responder.messages.size(), 1u);
        EXPECT_EQ(responder.messages[0].text, "Lektionen erfolgreich exportiert.");
        EXPECT_TRUE(QFile::exists(elsewhere.filePath("Meine Lektionen.geo"))) << "the exchange file gets its extension";
        EXPECT_FALSE(main->ExportMode);
        EXPECT_EQ(main->VisibleToolbar(), main->Toolbar("Toolbar_LektionenEditor"));
    }

    // A second installation, with no lesson yet.
    QTemporaryDir second;
    install(second.path());
    Tfrm_main main(second.path() + '/');
    main.Button("Btn_Haupt_Editor")->click();
    responder.fileAnswers.push_back(elsewhere.filePath("Meine Lektionen.geo"));
    exchange(main).menu_Import()->trigger();
    ASSERT_EQ(responder.files.size(), 2u);
    EXPECT_FALSE(responder.files[1].save);
    EXPECT_EQ(responder.files[1].title, "Lektionen importieren");
    EXPECT_EQ(responder.files[1].filters.value(0), QString::fromUtf8("Alle unterstützten Dateien (*.geo *.lkp *.lek)"));
    ASSERT_EQ(responder.messages.size(), 2u);
    EXPECT_EQ(responder.messages[1].text, "3 Lektion(en) erfolgreich importiert.");
    EXPECT_EQ(responder.messages[1].title, "Importieren erfolgreich");

    EXPECT_EQ(folderFiles(second.path()), (QStringList{"Fluesse.lek", "Karte.gif", "Karte.lek", "Staedte.lek"}));
    for (const QString& file : folderFiles(second.path()))
        EXPECT_EQ(readWholeFile(second.path() + "/Lektionen/" + file), readWholeFile(dir.filePath("Lektionen/" + file)))
            << file.toStdString();
    // The catalogue shows them at once: the group of the first, with it selected.
    EXPECT_EQ(main.Kat()->currentIndex(), 2);
    ASSERT_NE(main.lektionen()->currentItem(), nullptr);
    EXPECT_EQ(LessonListBox::FilePart(main.lektionen()->currentItem()->text()), "Fluesse.lek");
    EXPECT_EQ(main.lektionen()->count(), 2) << "both lessons of group 3";
}

TEST_F(Exchange, ExportingWithNothingCheckedSaysSoAndWritesNothing)
{
    auto main = start();
    openSelection(*main);
    main->Button("btn_Export_Export")->click();
    ASSERT_EQ(responder.messages.size(), 1u);
    EXPECT_TRUE(responder.messages[0].text.startsWith(QString::fromUtf8("Es sind keine Lektionen für den Export selektiert.")));
    EXPECT_TRUE(responder.messages[0].text.endsWith(
        QString::fromUtf8("Bitte wählen Sie die Lektionen aus, die Sie exportieren möchten.")));
    EXPECT_TRUE(responder.files.empty()) << "no file is asked for";
    EXPECT_TRUE(main->ExportMode) << "the selection stays";
    EXPECT_TRUE(exchange(*main).lektionen_cb()->isVisible());
    EXPECT_TRUE(QDir(elsewhere.path()).isEmpty());

    // Cancelling the file dialog leaves the selection as well.
    check(*main, {"Meine Karte"});
    main->Button("btn_Export_Export")->click();
    EXPECT_EQ(responder.files.size(), 1u);
    EXPECT_EQ(responder.messages.size(), 1u);
    EXPECT_TRUE(main->ExportMode);
}

TEST_F(Exchange, LeavingTheSelectionShowsTheEditorCatalogueAgain)
{
    auto main = start();
    openSelection(*main);
    main->Button("btn_Export_Zurueck")->click();
    EXPECT_TRUE(main->EditorMode);
    EXPECT_FALSE(main->ExportMode);
    EXPECT_EQ(main->VisibleToolbar(), main->Toolbar("Toolbar_LektionenEditor"));
    EXPECT_EQ(main->CurrentPage(), "Lektionen");
    EXPECT_TRUE(main->Kat()->isVisible());
    EXPECT_TRUE(main->findChild<QLabel*>("lbl_Kat")->isVisible());
    EXPECT_TRUE(main->lektionen()->isVisible());
    EXPECT_FALSE(exchange(*main).lektionen_cb()->isVisible());
    EXPECT_FALSE(exchange(*main).lbl_Export()->isVisible());
    ASSERT_EQ(main->lektionen()->count(), 1) << "North America, as before";
    EXPECT_EQ(LessonListBox::FilePart(main->lektionen()->item(0)->text()), "Staedte.lek");
}

TEST_F(Exchange, AnImportThatCannotBeDoneSaysWhyAndChangesNothing)
{
    writeFileAtomically(elsewhere.filePath("alt.lkp"), "old");
    writeFileAtomically(elsewhere.filePath("kaputt.geo"), "PK\x03\x04 not really");
    auto main = start();
    main->Button("Btn_Haupt_Editor")->click();
    const QStringList before = folderFiles(dir.path());
    struct Case {
        const char* file;
        const char* reason;
    } cases[] = {
        {"alt.lkp", "Lektionen im älteren Format (*.lkp) kann diese Version nicht lesen."},
        {"kaputt.geo", "Die Datei ist beschädigt oder unvollständig."},
    };
    for (const Case& c : cases) {
        responder.messages.clear();
        responder.fileAnswers.push_back(elsewhere.filePath(c.file));
        exchange(*main).menu_Import()->trigger();
        ASSERT_EQ(responder.messages.size(), 1u);
        EXPECT_EQ(responder.messages[0].type, MsgDlgType::mtError);
        EXPECT_EQ(responder.messages[0].text,
                  QString::fromUtf8("Fehler beim Importieren der Lektionen.\r\n\r\n") + QString::fromUtf8(c.reason));
        EXPECT_EQ(folderFiles(dir.path()), before);
    }
    // Cancelled: nothing at all.
    responder.messages.clear();
    exchange(*main).menu_Import()->trigger();
    EXPECT_TRUE(responder.messages.empty());
}

} // namespace
