#include "ProgramFixture.h"

#include "editor/ColourButton.h"
#include "editor/GeoInputEditor.h"
#include "learning/GeoInput.h"
#include "platform/IniFile.h"

#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QStackedWidget>
#include <QTest>

namespace {

class ProgramTest : public ProgramFixture {};

// New, globe lesson: a name, a continent and a category of countries;
// saved, back, and the lesson is in the catalogue.
TEST_F(ProgramTest, ANewGlobeLessonIsSavedAndListed)
{
    startProgram();
    showEditorCatalogue(3);
    newLesson(2);
    TGeoEditor* view = editor();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(main->VisibleToolbar()->objectName(), "Toolbar_Editor");
    EXPECT_FALSE(main->Button("btn_Editor_Speichern")->isEnabled());
    EXPECT_TRUE(main->Button("btn_Editor_Allgemeines")->isChecked());

    QTest::keyClicks(view->NameGermanEdit, "Meine L");
    QTest::sendKeyEvent(QTest::Click, view->NameGermanEdit, Qt::Key_unknown, QString::fromUtf8("ä"), Qt::NoModifier);
    QTest::keyClicks(view->NameGermanEdit, "nder");
    EXPECT_EQ(view->Lesson->Name, QString::fromUtf8("Meine Länder"));
    EXPECT_TRUE(main->Button("btn_Editor_Speichern")->isEnabled());
    view->ContinentBox->setCurrentIndex(2);
    main->Button("btn_Editor_Kategorien")->click();
    EXPECT_EQ(view->Pages->currentIndex(), 2);
    ASSERT_NE(view->KindMenu(), nullptr);
    fillCategory = [](TFormKatEdit& dialog) { dialog.EnglishName->setText("My countries"); };
    for (QAction* action : view->KindMenu()->actions())
        if (action->data() == "L")
            action->trigger();
    ASSERT_EQ(view->Lesson->Categories.size(), 1u);
    EXPECT_EQ(view->Lesson->Categories[0]->Kind, CategoryKind::Countries);

    main->Button("btn_Editor_Speichern")->click();
    EXPECT_FALSE(main->Button("btn_Editor_Speichern")->isEnabled());
    const QString saved = view->LessonPath;
    EXPECT_EQ(QFileInfo(saved).fileName(), "Meine_Laender.lek");
    main->Button("btn_Editor_Zurueck")->click();
    EXPECT_EQ(main->LessonView(), nullptr);
    EXPECT_TRUE(responder.messages.empty()) << "a saved lesson closes without asking";
    EXPECT_EQ(main->CurrentPage(), "Lektionen");
    EXPECT_TRUE(selectLesson(QString::fromUtf8("Meine Länder")));

    const IniFile file(saved);
    EXPECT_EQ(file.ReadString("Lektion", "Typ"), "globe");
    EXPECT_EQ(file.ReadInteger("Lektion", "Kategorie", 0), 3);
    EXPECT_TRUE(file.ReadString("L", "Settings").startsWith(QString::fromUtf8("Länder~My countries~")));
    EXPECT_TRUE(file.SectionExists("Globe"));
}

// A copy of a standard lesson is an ordinary lesson: saved under a name of
// its own, it opens for learning like any other.
TEST_F(ProgramTest, ACopiedStandardLessonOpensForLearning)
{
    startProgram();
    showEditorCatalogue(5);
    ASSERT_TRUE(selectLesson("Seen Afrikas"));
    newLesson(3);
    TGeoEditor* view = editor();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->NameGermanEdit->text(), "Kopie von Seen Afrikas");
    EXPECT_EQ(view->NameEnglishEdit->text(), "Copy of Lakes of Africa");
    EXPECT_TRUE(view->LessonPath.isEmpty());
    main->Button("btn_Editor_Speichern")->click();
    const QString saved = view->LessonPath;
    EXPECT_EQ(QFileInfo(saved).fileName(), "Kopie_von_Seen_Afrikas.lek");
    EXPECT_EQ(read(lessonPath("Afrika_Seen.lek")), read(QStringLiteral(ORBILO_DATA_FOLDER) + "/Lektionen/Afrika_Seen.lek"));
    main->Button("btn_Editor_Zurueck")->click();
    EXPECT_TRUE(selectLesson("Kopie von Seen Afrikas"));

    // Editing it now goes straight into the editor: it is no standard lesson.
    main->Button("btn_LEditor_Edit")->click();
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->LessonPath, saved);
    main->Button("btn_Editor_Zurueck")->click();

    showLearningCatalogue(5);
    ASSERT_TRUE(selectLesson("Kopie von Seen Afrikas"));
    main->Button("Btn_Lektionen_Start")->click();
    auto* learning = dynamic_cast<TGeoLernen*>(main->LessonView());
    ASSERT_NE(learning, nullptr);
    const TKategorie* lakes = learning->Lesson->FindCategory("S");
    ASSERT_NE(lakes, nullptr);
    EXPECT_EQ(lakes->Items.size(), 13u);
    QStringList names;
    for (const auto& item : lakes->Items)
        names << item->DisplayName();
    EXPECT_TRUE(names.contains("Tanganjikasee")) << names.join(", ").toStdString();
    main->Button("btn_Lernen_Zurueck")->click();
}

// Back, and closing the main window, ask about unsaved changes: Cancel
// stays, No discards, Yes saves.
TEST_F(ProgramTest, ClosingAChangedLessonAsksFirst)
{
    startProgram();
    showEditorCatalogue(5);
    ASSERT_TRUE(selectLesson("Seen Afrikas"));
    newLesson(3);
    ASSERT_NE(editor(), nullptr);
    main->Button("btn_Editor_Speichern")->click();
    const QString saved = editor()->LessonPath;
    const QByteArray before = read(saved);
    QTest::keyClicks(editor()->NameGermanEdit, "!");

    responder.messageAnswers = {mrCancel};
    main->Button("btn_Editor_Zurueck")->click();
    ASSERT_EQ(responder.messages.size(), 1u);
    EXPECT_EQ(responder.messages[0].text, QString::fromUtf8("Diese Lektion wurde verändert. Möchten Sie diese Änderungen speichern ?"));
    EXPECT_EQ(responder.messages[0].buttons, MsgDlgButtons(mbYes | mbNo | mbCancel));
    ASSERT_NE(editor(), nullptr) << "Cancel stays in the editor";

    responder.messageAnswers = {mrCancel};
    main->close();
    EXPECT_TRUE(main->isVisible()) << "Cancel keeps the program open";
    ASSERT_NE(editor(), nullptr);

    responder.messageAnswers = {mrNo};
    main->Button("btn_Editor_Zurueck")->click();
    EXPECT_EQ(main->LessonView(), nullptr);
    EXPECT_EQ(read(saved), before) << "No discards";

    ASSERT_TRUE(selectLesson("Kopie von Seen Afrikas"));
    main->Button("btn_LEditor_Edit")->click();
    ASSERT_NE(editor(), nullptr);
    QTest::keyClicks(editor()->NameGermanEdit, " (2)");
    responder.messageAnswers = {mrYes};
    main->close();
    EXPECT_FALSE(main->isVisible());
    EXPECT_EQ(IniFile(saved).ReadString("Lektion", "Name"), "Kopie von Seen Afrikas (2)") << "Yes saves";
}

} // namespace
