#include "EditorFixture.h"

#include "editor/KatEdit.h"
#include "globe/GlobeLayerStore.h"
#include "globe/GlobeProjections.h"
#include "lesson/LessonValues.h"
#include "globe/GlobeView.h"
#include "maps/GeoVisualGlobe.h"
#include "maps/GeoVisualImage.h"
#include "platform/IniFile.h"
#include "widgets/FlatButton.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QToolButton>

namespace {

class EditorTest : public EditorFixture {};

TEST_F(EditorTest, ACopyIsRenamedAndHasNoFileYet)
{
    const struct {
        const char* german;
        const char* english;
        const char* copyGerman;
        const char* copyEnglish;
    } cases[] = {{"Alpen", "Alps", "Kopie von Alpen", "Copy of Alps"}, {"Alpen", "", "Kopie von Alpen", "Copy of "}};
    for (const auto& c : cases) {
        const QString path = writeLesson("alpen.lek", QString("[Lektion]\nName=%1\nNameEnglish=%2\nKategorie=3\n[L]\n1=75\n")
                                                           .arg(c.german, c.english)
                                                           .toUtf8());
        QToolButton save;
        auto editor = open(path, true, &save);
        EXPECT_EQ(editor->Lesson->Name, c.copyGerman);
        EXPECT_EQ(editor->Lesson->NameEnglish, c.copyEnglish);
        EXPECT_EQ(editor->NameGermanEdit->text(), c.copyGerman);
        EXPECT_TRUE(editor->LessonPath.isEmpty());
        EXPECT_TRUE(save.isEnabled()) << "a copy can be saved as it is";
    }
}

TEST_F(EditorTest, SaveIsOffUntilTheFirstKeystroke)
{
    const QString path = writeLesson("alpen.lek", "[Lektion]\nTyp=globe\nName=Alpen\nKategorie=3\n[L]\n1=75\n");
    QToolButton save;
    auto editor = open(path, false, &save);
    EXPECT_FALSE(editor->Modified);
    EXPECT_FALSE(save.isEnabled());
    QTest::keyClicks(editor->NameGermanEdit, "X");
    EXPECT_TRUE(editor->Modified);
    EXPECT_TRUE(save.isEnabled());
    EXPECT_EQ(editor->Lesson->Name, "AlpenX");

    // Ctrl+S saves, like the button.
    page.show();
    page.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    QTest::keyClick(editor->NameGermanEdit, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(save.isEnabled());
    EXPECT_EQ(IniFile(path).ReadString("Lektion", "Name"), "AlpenX");
}

TEST_F(EditorTest, NewPictureLessonsNameTheirCategoriesThemselves)
{
    auto editor = open("image");
    EXPECT_EQ(editor->KindMenu(), nullptr);
    EXPECT_FALSE(editor->NewCategoryButton->isHidden());
    EXPECT_FALSE(editor->DeleteCategoryButton->isHidden());
    EXPECT_EQ(editor->ContinentBox->currentIndex(), -1);

    answerDialogs([](QDialog&) { return false; });
    editor->NewCategory();
    EXPECT_TRUE(editor->Lesson->Categories.empty()) << "cancelled: nothing changes";
    EXPECT_FALSE(editor->Modified);

    QStringList seen;
    answerDialogs([&](QDialog& dialog) {
        seen << dialog.findChild<QLineEdit*>("GermanName")->text();
        dialog.findChild<QLineEdit*>("EnglishName")->setText(QString("Extra %1").arg(seen.size()));
        return true;
    });
    editor->NewCategory();
    editor->NewCategory();
    ASSERT_EQ(editor->Lesson->Categories.size(), 2u);
    EXPECT_EQ(seen, (QStringList{"Neue Kategorie", "Neue Kategorie"}));
    EXPECT_EQ(editor->Lesson->Categories[1]->NameEnglish, "Extra 2") << "appended at the end";
    EXPECT_EQ(editor->CategoryList->currentRow(), 1);
    EXPECT_TRUE(editor->Modified);
}

// A globe lesson's categories are kinds of the geographic index: the new
// button offers each kind the lesson lacks, once.
TEST_F(EditorTest, NewGlobeLessonsOfferTheKindsTheyLack)
{
    auto editor = open("globe");
    ASSERT_NE(editor->KindMenu(), nullptr);
    auto* globe = dynamic_cast<TGeoVisualGlobe*>(editor->MapView);
    ASSERT_NE(globe, nullptr);
    const int layers = globe->Globe->GlobeLayers().Count();
    const auto kind = [&](const char* letter) {
        for (QAction* action : editor->KindMenu()->actions())
            if (action->data() == letter)
                return action;
        return static_cast<QAction*>(nullptr);
    };
    ASSERT_EQ(editor->KindMenu()->actions().size(), 6);

    answerDialogs([](QDialog&) { return false; });
    kind("L")->trigger();
    EXPECT_TRUE(editor->Lesson->Categories.empty());
    EXPECT_EQ(globe->Globe->GlobeLayers().Count(), layers) << "a cancelled category leaves no layer";

    answerDialogs([](QDialog&) { return true; });
    kind("S")->trigger();
    ASSERT_EQ(editor->Lesson->Categories.size(), 1u);
    const TKategorie& lakes = *editor->Lesson->Categories[0];
    EXPECT_EQ(lakes.Kind, CategoryKind::Lakes);
    EXPECT_EQ(lakes.Name, "Seen");
    EXPECT_EQ(lakes.IndexSection, "See");
    EXPECT_TRUE(lakes.HasPresenters());
    emit editor->KindMenu()->aboutToShow();
    EXPECT_FALSE(kind("S")->isEnabled());
    EXPECT_TRUE(kind("L")->isEnabled());
    editor->NewCategory("S");
    EXPECT_EQ(editor->Lesson->Categories.size(), 1u) << "one category per kind";
}

TEST_F(EditorTest, EditingACategoryKeepsItSelected)
{
    auto editor = open("image");
    answerDialogs([](QDialog&) { return true; });
    for (int i = 0; i < 3; ++i)
        editor->NewCategory();
    editor->CategoryList->setCurrentRow(1);
    answerDialogs([](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("GermanName")->setText("Gebirge");
        return true;
    });
    editor->EditCategory();
    EXPECT_EQ(editor->CategoryList->currentRow(), 1);
    EXPECT_EQ(editor->Lesson->Categories[1]->Name, "Gebirge");
    EXPECT_EQ(editor->CategoryList->item(1)->text(), "Gebirge");
}

TEST_F(EditorTest, DeletingACategoryAsksAndTakesItsQuestions)
{
    auto editor = open(lessonPath("Europa_Laender_Karte.lek"), true);
    ASSERT_EQ(editor->Lesson->Categories.size(), 2u); // the countries and the capitals the map made
    editor->CategoryList->setCurrentRow(0);
    responder.messageAnswers = {mrNo};
    editor->DeleteCategory();
    ASSERT_EQ(responder.messages.size(), 1u);
    EXPECT_EQ(responder.messages[0].text, QString::fromUtf8("Sind Sie sicher, daß Sie die Kategorie \"Länder\" mit "
                                                            "allen enthaltenen Fragen löschen möchten ?"));
    EXPECT_EQ(editor->Lesson->Categories[0]->Items.size(), 47u);

    responder.messageAnswers = {mrYes};
    editor->DeleteCategory();
    ASSERT_EQ(editor->Lesson->Categories.size(), 1u);
    EXPECT_TRUE(editor->Lesson->Categories[0]->Items.empty()) << "the capitals went with their countries";
    ASSERT_TRUE(editor->SaveLesson());
    const IniFile saved(editor->LessonPath);
    EXPECT_TRUE(saved.ReadSection("Kategorien").isEmpty()) << "the map makes the capitals' category itself";
}

TEST_F(EditorTest, AFailedWriteIsShownAndTheLessonStaysChanged)
{
    const QString path = writeLesson("alpen.lek", "[Lektion]\nTyp=globe\nName=Alpen\nKategorie=3\n[L]\n1=75\n");
    const QByteArray before = read(path);
    auto editor = open(path);
    QTest::keyClicks(editor->NameGermanEdit, "X");
    // The lesson folder goes away under the editor's feet.
    ASSERT_TRUE(QDir(dir.path()).rename("Lektionen", "Weg"));
    EXPECT_FALSE(editor->SaveLesson());
    ASSERT_EQ(responder.messages.size(), 1u);
    EXPECT_EQ(responder.messages[0].type, MsgDlgType::mtError);
    EXPECT_EQ(responder.messages[0].text, "Unable to write to " + path);
    EXPECT_TRUE(editor->Modified);
    EXPECT_EQ(editor->LessonPath, path);
    // Asked when closing, Yes tries again; failing, it stays open.
    responder.messageAnswers = {mrYes};
    TGeoEditor* view = editor.release();
    QPointer<TGeoEditor> alive(view);
    EXPECT_FALSE(view->Close());
    ASSERT_TRUE(alive);
    editor.reset(view);
    EXPECT_TRUE(editor->CloseRefused());
    EXPECT_EQ(responder.messages.size(), 3u);

    ASSERT_TRUE(QDir(dir.path()).rename("Weg", "Lektionen"));
    EXPECT_EQ(read(path), before) << "the old file is as it was";
    EXPECT_TRUE(editor->SaveLesson());
    EXPECT_FALSE(editor->Modified);
    EXPECT_EQ(IniFile(path).ReadString("Lektion", "Name"), "AlpenX");
}

TEST_F(EditorTest, NewLessonsNeverOverwriteAnother)
{
    const QString other = writeLesson("Alpen.lek", "[Lektion]\nName=Andere\n[L]\n1=75\n");
    const QByteArray before = read(other);
    auto editor = open("globe");
    QTest::keyClicks(editor->NameGermanEdit, "Alpen");
    ASSERT_TRUE(editor->SaveLesson());
    EXPECT_EQ(QFileInfo(editor->LessonPath).fileName(), "Alpen_2.lek");
    EXPECT_EQ(read(other), before);
    // Saved once, the lesson keeps its file.
    QTest::keyClicks(editor->NameGermanEdit, " Ost");
    ASSERT_TRUE(editor->SaveLesson());
    EXPECT_EQ(QFileInfo(editor->LessonPath).fileName(), "Alpen_2.lek");
    EXPECT_EQ(IniFile(editor->LessonPath).ReadString("Lektion", "Name"), "Alpen Ost");
}

// Deleting a lesson deletes its picture: a copy must have one of its own.
TEST_F(EditorTest, ACopiedPictureLessonGetsItsOwnPicture)
{
    auto editor = open(lessonPath("Deutschland_Fluesse_Karte.lek"), true);
    ASSERT_TRUE(editor->SaveLesson());
    const IniFile saved(editor->LessonPath);
    const QString picture = saved.ReadString("Allgemeines", "Bitmap");
    EXPECT_EQ(picture, "Kopie_von_Deutschland_Fluesse_Karte.gif");
    EXPECT_EQ(read(lessonPath(picture)), read(lessonPath("Deutschland_Fluesse_Karte.gif")));
    EXPECT_EQ(dynamic_cast<TGeoVisualImage*>(editor->MapView)->PictureFile, picture);
    // Saving again keeps the picture it has now.
    ASSERT_TRUE(editor->SaveLesson());
    EXPECT_EQ(IniFile(editor->LessonPath).ReadString("Allgemeines", "Bitmap"), picture);
    EXPECT_FALSE(QFile::exists(lessonPath("Kopie_von_Deutschland_Fluesse_Karte_2.gif")));
}

// The lesson keeps the view the author gives the globe, as on the globe of
// 300 x 300 the lesson views are set on; a map merely laid out at another
// size changes nothing.
TEST_F(EditorTest, TheGlobeKeepsTheViewTheAuthorGaveIt)
{
    auto editor = open(lessonPath("Afrika_Seen.lek"), true);
    auto* globe = dynamic_cast<TGeoVisualGlobe*>(editor->MapView);
    ASSERT_NE(globe, nullptr);
    editor->SetModified(false);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    for (int p : {1, 2, 3, 1})
        editor->ShowPage(p);
    QCoreApplication::processEvents();
    EXPECT_NE(globe->Globe->width(), 300) << "laid out at the map's size";
    EXPECT_FALSE(editor->Modified);
    ASSERT_TRUE(editor->SaveLesson());
    const IniFile unchanged(editor->LessonPath);
    EXPECT_EQ(unchanged.ReadString("Globe", "YRotation"), "18");
    EXPECT_EQ(unchanged.ReadString("Globe", "XOrigin"), "150");
    EXPECT_EQ(unchanged.ReadString("Globe", "ScaleFactor"), "0,00000072909494");

    const double before = globe->Globe->Projection().YRotation();
    QTest::keyClick(globe->Globe, Qt::Key_Right);
    QCoreApplication::processEvents();
    const double turned = globe->Globe->Projection().YRotation();
    ASSERT_GT(turned, before);
    EXPECT_TRUE(editor->Modified) << "turning the globe changes the lesson's view";
    ASSERT_TRUE(editor->SaveLesson());
    double saved = 0;
    ASSERT_TRUE(ParseCommaFloat(IniFile(editor->LessonPath).ReadString("Globe", "YRotation"), saved));
    EXPECT_DOUBLE_EQ(saved, turned);
    EXPECT_EQ(IniFile(editor->LessonPath).ReadString("Globe", "XOrigin"), "150");

    auto reread = open(editor->LessonPath);
    EXPECT_DOUBLE_EQ(dynamic_cast<TGeoVisualGlobe*>(reread->MapView)->Globe->Projection().YRotation(), turned);
}

TEST_F(EditorTest, AMissingLessonOpensNothing)
{
    auto editor = open(lessonPath("weg.lek"));
    EXPECT_FALSE(editor->Opened());
    ASSERT_EQ(responder.messages.size(), 1u);
    EXPECT_TRUE(responder.messages[0].text.contains("weg.lek"));
}

} // namespace
