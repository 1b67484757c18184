#include "EditorFixture.h"

#include "editor/GeoInputEditor.h"
#include "editor/GeoObjEdit.h"
#include "i18n/MainDictionary.h"
#include "lesson/Geoobj.h"
#include "globe/GlobeClasses.h"
#include "globe/GlobeObjects.h"
#include "globe/GlobeView.h"
#include "maps/GeoVisual.h"
#include "maps/GeoVisualGlobe.h"
#include "maps/GlobeLessonLink.h"
#include "platform/IniFile.h"
#include "widgets/FlatButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

namespace {

class QuestionEditorTest : public EditorFixture {
protected:
    static QStringList listed(TGeoInputEditor& questions)
    {
        QStringList names;
        for (int row = 0; row < questions.QuestionList->count(); ++row)
            names << questions.ItemOfEntry(row)->DisplayName();
        return names;
    }
};

TEST_F(QuestionEditorTest, MovingTheThirdQuestionUpMakesItNumberTwo)
{
    auto editor = open(lessonPath("Deutschland_Fluesse_Karte.lek"), true);
    TGeoInputEditor& questions = *editor->QuestionEditor();
    EXPECT_TRUE(questions.Numbered);
    questions.QuestionList->setCurrentRow(2);
    TGeoItem* elbe = questions.SelectedQuestion();
    ASSERT_EQ(elbe->DisplayName(), "Elbe");
    EXPECT_EQ(elbe->Number, 3);
    EXPECT_EQ(editor->MapView->HighlightedItem, nullptr) << "a river has no region to fill";

    questions.UpButton->click();
    EXPECT_EQ(questions.SelectedQuestion(), elbe);
    EXPECT_EQ(questions.QuestionList->currentRow(), 1);
    EXPECT_EQ(elbe->Number, 2);
    EXPECT_EQ(listed(questions).mid(0, 3), (QStringList{"Aller", "Elbe", "Schwarze Elster"}));

    questions.DownButton->click();
    questions.DownButton->click();
    EXPECT_EQ(elbe->Number, 4);
    questions.QuestionList->setCurrentRow(0);
    questions.UpButton->click();
    EXPECT_EQ(questions.QuestionList->currentRow(), 0) << "the first stays first";
    ASSERT_TRUE(editor->SaveLesson());
    EXPECT_EQ(IniFile(editor->LessonPath).ReadString("Kategorie1", "4"), "Elbe~Elbe") << "the file keeps the order";
}

// A capital goes only with its country.
TEST_F(QuestionEditorTest, DeletingACapitalDeletesItsCountryOnlyWhenAsked)
{
    auto editor = open(lessonPath("Europa_Laender_Karte.lek"), true);
    TGeoInputEditor& questions = *editor->QuestionEditor();
    const TDaten& lesson = *editor->Lesson;
    questions.CategoryBox->setCurrentIndex(1);
    ASSERT_EQ(lesson.Categories[1]->Name, QString::fromUtf8("Städte"));
    questions.QuestionList->setCurrentRow(0);
    ASSERT_EQ(questions.SelectedQuestion()->DisplayName(), "Tirana");

    responder.messageAnswers = {mrNo};
    questions.DeleteButton->click();
    ASSERT_EQ(responder.messages.size(), 1u);
    EXPECT_EQ(responder.messages[0].text, FormatText(MainDictionary().GetText("format_capital"), {"Tirana"}));
    EXPECT_TRUE(responder.messages[0].text.startsWith("Bei \"Tirana\" handelt es sich um eine Hauptstadt."));
    EXPECT_EQ(responder.messages[0].buttons, MsgDlgButtons(mbYes | mbNo));
    EXPECT_EQ(lesson.Categories[0]->Items.size(), 47u);
    EXPECT_EQ(lesson.Categories[1]->Items.size(), 47u);

    responder.messageAnswers = {mrYes};
    questions.DeleteButton->click();
    EXPECT_EQ(responder.messages.size(), 2u) << "no second question for the country";
    EXPECT_EQ(lesson.Categories[0]->Items.size(), 46u);
    EXPECT_EQ(lesson.Categories[1]->Items.size(), 46u);
    EXPECT_EQ(lesson.Categories[0]->Items[0]->DisplayName(), "Andorra");
    EXPECT_EQ(questions.QuestionList->currentRow(), -1);
    EXPECT_TRUE(editor->Modified);

    // An ordinary question asks the ordinary way, also from the Delete key.
    questions.CategoryBox->setCurrentIndex(0);
    questions.QuestionList->setCurrentRow(0);
    editor->ShowPage(3);
    page.show();
    page.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    questions.QuestionList->setFocus();
    responder.messageAnswers = {mrNo};
    QTest::keyClick(questions.QuestionList, Qt::Key_Delete);
    ASSERT_EQ(responder.messages.size(), 3u);
    EXPECT_EQ(responder.messages[2].text, QString::fromUtf8("Sind Sie sicher, daß Sie \"Andorra\" löschen möchten ?"));
}

TEST_F(QuestionEditorTest, TheTwoCheckBoxesOfAGlobeQuestion)
{
    const struct {
        bool deactivated, showOnly;
        ItemState state;
        const char* value;
    } cases[] = {{true, true, ItemState::Deactivated, "xxx3472"},
                 {false, true, ItemState::ShowOnly, "xxxx3472"},
                 {true, false, ItemState::Deactivated, "xxx3472"},
                 {false, false, ItemState::Open, "3472"}};
    auto editor = open(lessonPath("Afrika_Seen.lek"), true);
    TGeoInputEditor& questions = *editor->QuestionEditor();
    auto* panel = dynamic_cast<TGeoObjEditGlobe*>(editor->ItemEditPanel());
    ASSERT_NE(panel, nullptr);
    editor->ShowPage(3);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    for (const auto& c : cases) {
        questions.QuestionList->setCurrentRow(0);
        TGeoItem* lake = questions.SelectedQuestion();
        const QPoint first = questions.QuestionList->visualItemRect(questions.QuestionList->item(0)).center();
        QTest::mouseClick(questions.QuestionList->viewport(), Qt::LeftButton, {}, first);
        QTest::mouseDClick(questions.QuestionList->viewport(), Qt::LeftButton, {}, first);
        ASSERT_TRUE(panel->Editing()) << "a double click edits";
        EXPECT_EQ(panel->GermanList->item(0)->text(), lake->NamesGerman.value(0));
        panel->DeactivatedBox->setChecked(c.deactivated);
        panel->ShowOnlyBox->setChecked(c.showOnly);
        panel->OkButton->click();
        EXPECT_FALSE(panel->Editing());
        EXPECT_EQ(lake->State(), c.state);
        ASSERT_TRUE(editor->SaveLesson());
        EXPECT_EQ(IniFile(editor->LessonPath).ReadString("S", "1"), c.value);
    }
}

TEST_F(QuestionEditorTest, ANewPictureQuestionStartsAsNeuerEintrag)
{
    auto editor = open("image");
    answerDialogs([](QDialog&) { return true; });
    editor->NewCategory();
    TGeoInputEditor& questions = *editor->QuestionEditor();
    auto* panel = dynamic_cast<TGeoObjEditImage*>(editor->ItemEditPanel());
    ASSERT_NE(panel, nullptr);
    const TKategorie& category = *editor->Lesson->Categories[0];
    editor->SetModified(false);

    questions.NewButton->click();
    ASSERT_TRUE(panel->Editing());
    EXPECT_EQ(panel->GermanList->count(), 1);
    EXPECT_EQ(panel->GermanList->item(0)->text(), "Neuer Eintrag");
    EXPECT_EQ(panel->EnglishList->count(), 0);
    panel->CancelButton->click();
    EXPECT_TRUE(category.Items.empty()) << "cancelled: the question never joins the lesson";
    EXPECT_FALSE(editor->Modified);

    questions.NewButton->click();
    panel->GermanList->setCurrentRow(0);
    responder.inputAnswers = {{true, "  Zug|spitze "}, {true, "Zugspitze"}};
    panel->ListButton(panel->GermanList, 1)->click(); // edit the name
    panel->ListButton(panel->EnglishList, 0)->click(); // add an English one
    EXPECT_EQ(responder.inputs.size(), 2u);
    EXPECT_EQ(responder.inputs[0].caption, "Name des Bezeichners");
    panel->OkButton->click();
    ASSERT_EQ(category.Items.size(), 1u);
    EXPECT_EQ(category.Items[0]->NamesGerman, QStringList{"Zugspitze"}) << "a name holds no separators";
    EXPECT_EQ(category.Items[0]->NamesEnglish, QStringList{"Zugspitze"});
    EXPECT_EQ(category.Items[0]->Number, 1);
    EXPECT_EQ(questions.SelectedQuestion(), category.Items[0].get());
    EXPECT_TRUE(editor->Modified);
}

// Capitals the globe map makes for its countries are helpers, no questions.
TEST_F(QuestionEditorTest, HelpersAreCountedButNeverListed)
{
    const QString path = writeLesson("zwei.lek", "[Lektion]\nTyp=globe\nName=Zwei\n[L]\n1=32\n2=207\n");
    auto editor = open(path);
    TGeoInputEditor& questions = *editor->QuestionEditor();
    ASSERT_EQ(editor->Lesson->Categories.size(), 2u);
    const TKategorie& cities = *editor->Lesson->Categories[1];
    EXPECT_EQ(cities.IndexSection, "Stadt");
    EXPECT_EQ(cities.Items.size(), 2u);
    EXPECT_EQ(listed(questions), (QStringList{"Kanada", QString::fromUtf8("Rußland")}));
    questions.CategoryBox->setCurrentIndex(1);
    EXPECT_EQ(questions.QuestionList->count(), 0);
    // Choosing a category is no change of the lesson.
    EXPECT_FALSE(editor->Modified);
    ASSERT_TRUE(editor->SaveLesson());
    EXPECT_FALSE(IniFile(editor->LessonPath).SectionExists("C"));
}

TEST_F(QuestionEditorTest, AnEditKeepsTheListWhereItWas)
{
    auto editor = open(lessonPath("Welt_Laender.lek"), true);
    TGeoInputEditor& questions = *editor->QuestionEditor();
    page.show();
    questions.QuestionList->scrollToItem(questions.QuestionList->item(120), QAbstractItemView::PositionAtTop);
    const int scrolled = questions.QuestionList->verticalScrollBar()->value();
    ASSERT_GT(scrolled, 0);
    questions.QuestionList->setCurrentRow(121);
    TGeoItem* item = questions.SelectedQuestion();
    questions.EditButton->click();
    editor->ItemEditPanel()->OkButton->click();
    EXPECT_EQ(questions.SelectedQuestion(), item);
    EXPECT_EQ(questions.QuestionList->verticalScrollBar()->value(), scrolled);
}

// The maps keep pointers to what they show; a deleted question must leave
// none behind: the highlight, and on the globe the object's link to it.
TEST_F(QuestionEditorTest, ADeletedQuestionLeavesNoReferenceBehind)
{
    for (const char* file : {"Europa_Laender_Karte.lek", "Afrika_Laender.lek"}) {
        SCOPED_TRACE(file);
        auto editor = open(lessonPath(file), true);
        TGeoInputEditor& questions = *editor->QuestionEditor();
        questions.QuestionList->setCurrentRow(2);
        TGeoItem* item = questions.SelectedQuestion();
        ASSERT_NE(item, nullptr);
        TGeoDataObject* object = TGlobeLessonLink::ObjectOf(*item);
        if (object)
            EXPECT_TRUE(object->Selected());
        else
            EXPECT_EQ(editor->MapView->HighlightedItem, item);
        responder.messageAnswers = {mrYes};
        questions.DeleteButton->click();
        EXPECT_NE(questions.ItemOfEntry(2), item);
        EXPECT_EQ(editor->MapView->HighlightedItem, nullptr);
        EXPECT_EQ(questions.CurrentItem, nullptr);
        if (auto* globe = dynamic_cast<TGeoVisualGlobe*>(editor->MapView)) {
            ASSERT_NE(object, nullptr);
            EXPECT_EQ(object->UserObject(), nullptr);
            globe->Globe->OnObjectClick(globe->Globe, object); // a click on its place finds no question
        }
        // The next highlight starts from a clean map.
        questions.QuestionList->setCurrentRow(2);
        if (object)
            EXPECT_TRUE(TGlobeLessonLink::ObjectOf(*questions.SelectedQuestion())->Selected());
        else
            EXPECT_EQ(editor->MapView->HighlightedItem, questions.SelectedQuestion());
    }
}

} // namespace
