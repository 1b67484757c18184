#include "AddDialogAnswers.h"
#include "EditorFixture.h"

#include "editor/AddItemDialog.h"
#include "editor/GeoInputEditor.h"
#include "editor/GeoVisualGlobeEditor.h"
#include "editor/IndexCatalogue.h"
#include "globe/GlobeProjections.h"
#include "globe/GlobeView.h"
#include "lesson/GeoIndex.h"
#include "lesson/LessonValues.h"
#include "platform/IniFile.h"
#include "widgets/FlatButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QTest>
#include <QToolButton>
#include <deque>

namespace {

const QString kShippedIndex = QStringLiteral(ORBILO_DATA_FOLDER "/Data/geodata.ini");

class GlobeEditorTest : public EditorFixture {
protected:
    QToolButton save;
    std::deque<Pick> picks;
    int dialogsShown = 0;

    static TGeoVisualGlobeEditor* map(TGeoEditor& editor)
    {
        return dynamic_cast<TGeoVisualGlobeEditor*>(editor.MapView);
    }

    void answerAddDialog()
    {
        responder.onDialog = [this](QDialog& dialog) {
            ++dialogsShown;
            return AnswerAddDialog(dialog, picks);
        };
    }

    static TGeoItem* find(TGeoEditor& editor, CategoryKind kind, const QString& name)
    {
        for (const auto& category : editor.Lesson->Categories)
            if (category->Kind == kind)
                for (const auto& item : category->Items)
                    if (item->DisplayName() == name)
                        return item.get();
        return nullptr;
    }
};

// The catalogue of the shipped index: every term of the six kinds, found
// by name, number or kind, and never a flag or a piece of the base map.
TEST_F(GlobeEditorTest, TheCatalogueListsEveryTermOfTheShippedIndex)
{
    const TGeoIndex index(kShippedIndex);
    TIndexCatalogue catalogue(index);
    int terms = 0;
    for (const char* section : {"Land", "Stadt", "Fluss", "See", "Insel", "Staat"})
        terms += int(index.ReadSectionValues(section).size());
    EXPECT_EQ(catalogue.Count(), terms);
    EXPECT_GT(catalogue.Count(), 1300);

    catalogue.SortFor(1);
    // Every city, found by its section, and the terms named "...stadt".
    QStringList cities;
    for (int i : catalogue.Filter("stadt")) {
        if (catalogue.At(i).Section == u"Stadt")
            cities << catalogue.DisplayName(i, 1);
        else
            EXPECT_TRUE(catalogue.At(i).Record.toLower().contains("stadt")) << catalogue.At(i).Text.toStdString();
    }
    EXPECT_EQ(cities.size(), index.ReadSectionValues("Stadt").size());
    for (const char* city : {"Berlin", "Paris", "Kairo", "Tokio", "Buenos Aires"})
        EXPECT_TRUE(cities.contains(city)) << city;

    // Found without regard to case, by any of its names.
    const auto names = [&](const QString& search, int language) {
        QStringList found;
        for (int i : catalogue.Filter(search))
            found << catalogue.DisplayName(i, language) + " [" + catalogue.At(i).Section + "]";
        return found;
    };
    EXPECT_TRUE(names("GERMANY", 1).contains("Deutschland [Land]"));
    EXPECT_TRUE(names("rhine", 1).contains("Rhein [Fluss]"));
    catalogue.SortFor(3);
    EXPECT_TRUE(names("rhein", 3).contains("Rhine [Fluss]"));
    const std::vector<int> all = catalogue.Filter(QString());
    ASSERT_EQ(int(all.size()), catalogue.Count());
    // In English the list is in English alphabetical order.
    EXPECT_LT(catalogue.DisplayName(all.front(), 3).compare("B", Qt::CaseInsensitive), 0);
}

TEST_F(GlobeEditorTest, TheCatalogueLeavesOutFlagsTheBaseMapAndRecord3496)
{
    const TGeoIndex index = TGeoIndex::fromText("[Land]\n49=Deutschland~Germany~~1070-0-0-356163~~0\n"
                                                "3496=Geheim~Secret~~-0-0-1~~0\nx=Kaputt~Broken~~~~0\n"
                                                "[Flaggen]\n49=Schwarz-Rot-Gold\n[Grundkarte]\n1=L49\n"
                                                "[Stadt]\n1070=Berlin~Berlin~~~~0\n3496=Nochmal~Again~~~~0\n"
                                                "[See]\n2001=~Lake Nameless|Nameless~~~~0\n");
    TIndexCatalogue catalogue(index);
    QStringList texts;
    for (int i = 0; i < catalogue.Count(); ++i)
        texts << catalogue.At(i).Text;
    EXPECT_EQ(texts, QStringList({"Deutschland~Germany~~1070-0-0-356163~~0=49=Land", "Berlin~Berlin~~~~0=1070=Stadt",
                                  "~Lake Nameless|Nameless~~~~0=2001=See"}));

    // German names unless the author reads English and there is an English one.
    const struct {
        int entry;
        int language;
        const char* shown;
    } cases[] = {{0, 1, "Deutschland"}, {0, 3, "Germany"}, {2, 1, "Lake Nameless, Nameless"}};
    for (const auto& c : cases)
        EXPECT_EQ(catalogue.DisplayName(c.entry, c.language), c.shown) << c.entry << " " << c.language;
}

// Germany with its capital and two rivers, in one visit of the dialog; the
// capital comes along as a helper, linked both ways.
TEST_F(GlobeEditorTest, AddingACountryBringsItsCapitalAndTheDialogStaysForMore)
{
    auto editor = open("globe", false, &save);
    TGeoVisualGlobeEditor* globe = map(*editor);
    ASSERT_NE(globe, nullptr);
    EXPECT_TRUE(editor->QuestionEditor()->NewButton->isEnabled()) << "a globe lesson takes new questions";
    picks = {{"deutsch", "Land", "Deutschland"}, {"rhein", "Fluss", "Rhein"}, {"elbe", "Fluss", "Elbe"}};
    answerAddDialog();
    editor->QuestionEditor()->NewButton->click();
    EXPECT_EQ(dialogsShown, 4) << "open again after every addition, until Cancel";

    TGeoItem* germany = find(*editor, CategoryKind::Countries, "Deutschland");
    TGeoItem* berlin = find(*editor, CategoryKind::Cities, "Berlin");
    ASSERT_NE(germany, nullptr);
    ASSERT_NE(berlin, nullptr);
    EXPECT_EQ(germany->State(), ItemState::Open);
    EXPECT_EQ(germany->Number, 49);
    EXPECT_NE(germany->GeoObject, nullptr) << "read from the index and the globe data";
    EXPECT_EQ(berlin->State(), ItemState::Dependent);
    EXPECT_TRUE(berlin->Auxiliary);
    EXPECT_EQ(germany->Capital, berlin);
    EXPECT_EQ(berlin->CapitalOf, germany);
    EXPECT_EQ(berlin->Question, QString::fromUtf8("Wie heißt die Hauptstadt von \"Deutschland\" ?"));
    ASSERT_NE(find(*editor, CategoryKind::Rivers, "Elbe"), nullptr);
    EXPECT_EQ(find(*editor, CategoryKind::Rivers, "Rhein")->NamesEnglish, QStringList{"Rhine"});
    EXPECT_TRUE(save.isEnabled());

    // The frame's lists know the new categories; the capital is not listed.
    EXPECT_EQ(editor->CategoryList->count(), 3);
    EXPECT_EQ(editor->QuestionEditor()->CategoryBox->count(), 3);
    EXPECT_EQ(editor->QuestionEditor()->QuestionList->count(), 1);

    // Saved, the lesson reads back as its three questions and the capital.
    QTest::keyClicks(editor->NameGermanEdit, "Deutschland und Fluesse");
    ASSERT_TRUE(editor->SaveLesson());
    auto reread = open(editor->LessonPath);
    EXPECT_NE(find(*reread, CategoryKind::Countries, "Deutschland"), nullptr);
    EXPECT_EQ(find(*reread, CategoryKind::Cities, "Berlin")->CapitalOf, find(*reread, CategoryKind::Countries, "Deutschland"));
    EXPECT_NE(find(*reread, CategoryKind::Rivers, "Elbe"), nullptr);
}

TEST_F(GlobeEditorTest, AddingWhatIsThereChangesNothingButTheHelperBecomesAQuestion)
{
    auto editor = open("globe", false, &save);
    picks = {{"deutschland", "Land", "Deutschland"}};
    answerAddDialog();
    editor->QuestionEditor()->NewQuestion();
    editor->SetModified(false);

    picks = {{"49", "Land", "Deutschland"}};
    editor->QuestionEditor()->NewQuestion();
    EXPECT_EQ(editor->Lesson->FindCategory("L")->Items.size(), 1u);
    EXPECT_TRUE(save.isEnabled()) << "the lesson counts as changed all the same";

    // Berlin, so far only Germany's capital, becomes a question of its own.
    TGeoItem* germany = find(*editor, CategoryKind::Countries, "Deutschland");
    TGeoItem* berlin = find(*editor, CategoryKind::Cities, "Berlin");
    picks = {{"berlin", "Stadt", "Berlin"}};
    editor->QuestionEditor()->NewQuestion();
    EXPECT_EQ(find(*editor, CategoryKind::Cities, "Berlin"), berlin) << "the same item, not a second one";
    EXPECT_FALSE(berlin->Auxiliary);
    EXPECT_EQ(berlin->State(), ItemState::Open);
    EXPECT_EQ(berlin->CapitalOf, nullptr);
    EXPECT_EQ(germany->Capital, nullptr) << "no longer asked with its country, as a reread lesson has it";
    editor->QuestionEditor()->CategoryBox->setCurrentIndex(1);
    EXPECT_EQ(editor->QuestionEditor()->QuestionList->count(), 1) << "now listed";
}

// The dialog's keys and its refusal to add nothing.
TEST_F(GlobeEditorTest, TheAddDialogFollowsTheKeyboard)
{
    auto editor = open("globe", false, &save);
    TAddItemDialog& dialog = map(*editor)->AddDialog();
    map(*editor)->Catalogue();
    dialog.Reset();
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_TRUE(dialog.SearchEdit->hasFocus());
    EXPECT_EQ(dialog.windowTitle(), "Neuer Eintrag");
    EXPECT_EQ(dialog.size(), QSize(400, 400));

    QTest::keyClicks(dialog.SearchEdit, "kairo");
    ASSERT_EQ(dialog.EntryCount(), 1) << "filtered while typing";
    EXPECT_EQ(dialog.SelectedEntry()->Number, 1100) << "the first entry is selected";
    QTest::keyClick(dialog.SearchEdit, Qt::Key_Return);
    EXPECT_TRUE(dialog.EntryList->hasFocus());
    EXPECT_TRUE(dialog.isVisible());
    QTest::keyClick(dialog.EntryList, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    dialog.show();
    QTest::keyClicks(dialog.SearchEdit, "zzzz");
    EXPECT_EQ(dialog.EntryCount(), 0);
    dialog.setResult(QDialog::Rejected);
    dialog.AddButton->click();
    ASSERT_EQ(responder.messages.size(), 1u);
    EXPECT_EQ(responder.messages[0].text, QString::fromUtf8("Bitte wählen Sie die Frage aus, die Sie hinzufügen möchten !"));
    EXPECT_EQ(dialog.result(), QDialog::Rejected) << "stays open";
    dialog.hide();
}

TEST_F(GlobeEditorTest, TheZoomButtonsStepTheAltitude)
{
    const struct {
        int altitude;
        bool closer;
        int expected;
    } steps[] = {{1000, true, 666}, {1000, false, 1500}, {1, true, 1}, {2000000000, false, 2147483647}};
    for (const auto& s : steps)
        EXPECT_EQ(TGeoVisualGlobeEditor::ZoomedAltitude(s.altitude, s.closer), s.expected) << s.altitude;

    auto editor = open(lessonPath("Afrika_Seen.lek"), false, &save);
    TGeoVisualGlobeEditor* globe = map(*editor);
    editor->ShowPage(1);
    TGlobeProjection& prj = globe->Globe->Projection();
    const int before = prj.Altitude();
    globe->ZoomOutButton->click();
    EXPECT_NEAR(prj.Altitude(), before * 3 / 2, 1);
    EXPECT_TRUE(save.isEnabled());
    globe->ZoomInButton->click();
    EXPECT_NEAR(prj.Altitude(), before, 2);

    // The view the author leaves is the lesson's: half as far again as
    // the shipped one, on the globe of 300 x 300 it is kept for.
    globe->ZoomOutButton->click();
    ASSERT_TRUE(editor->SaveLesson());
    double saved = 0;
    ASSERT_TRUE(ParseCommaFloat(IniFile(editor->LessonPath).ReadString("Globe", "ScaleFactor"), saved));
    EXPECT_NEAR(saved / 0.00000072909494, 2.0 / 3.0, 0.01);
}

// On the map page the author turns and zooms even a lesson that forbids
// both; elsewhere the lesson's rules hold, as for the learner.
TEST_F(GlobeEditorTest, TheMapPageAlwaysTurnsTheOtherPagesKeepTheLessonsRules)
{
    const QString path = writeLesson("fest.lek", "[Lektion]\nVersion=3\nTyp=globe\nName=Fest\nKategorie=3\n"
                                                 "AllowMoving=0\nAllowZooming=0\n[Land]\n1=49\n");
    auto editor = open(path, false, &save);
    TGlobeView& globe = *map(*editor)->Globe;
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    const auto drag = [&] {
        const double before = globe.Projection().YRotation();
        const QPoint c(globe.width() / 2, globe.height() / 2);
        globe.MouseDown(mzbLeft, 0, c.x(), c.y());
        globe.MouseMove(0, c.x() + 40, c.y());
        globe.MouseUp(mzbLeft, 0, c.x() + 40, c.y());
        return globe.Projection().YRotation() != before;
    };
    const struct {
        int page;
        TGlobeMouseButton rotate;
        TGlobeMouseButton zoom;
        bool turns;
    } pages[] = {{1, mzbLeft, mzbRight, true}, {3, mzbNone, mzbNone, false}, {2, mzbNone, mzbNone, false},
                 {1, mzbLeft, mzbRight, true}};
    for (const auto& p : pages) {
        editor->ShowPage(p.page);
        QCoreApplication::processEvents();
        EXPECT_EQ(globe.MouseRotateButton, p.rotate) << p.page;
        EXPECT_EQ(globe.MouseZoomButton, p.zoom) << p.page;
        EXPECT_EQ(drag(), p.turns) << p.page;
    }
}

TEST_F(GlobeEditorTest, TheAuthorDecidesWhetherLearnersMayTurnAndZoom)
{
    auto editor = open(lessonPath("Afrika_Seen.lek"), false, &save);
    TGeoVisualGlobeEditor* globe = map(*editor);
    editor->ShowPage(1);
    ASSERT_TRUE(globe->MovingBox->isVisibleTo(editor.get()));
    EXPECT_EQ(globe->MovingBox->text(), "&Rotieren erlauben");
    EXPECT_TRUE(globe->MovingBox->isChecked());
    globe->MovingBox->click();
    EXPECT_FALSE(globe->AllowMoving);
    EXPECT_TRUE(save.isEnabled());
    ASSERT_TRUE(editor->SaveLesson());
    EXPECT_FALSE(IniFile(editor->LessonPath).ReadBool("Lektion", "AllowMoving", true));
    EXPECT_TRUE(IniFile(editor->LessonPath).ReadBool("Lektion", "AllowZooming", false));
    auto reread = open(editor->LessonPath);
    reread->ShowPage(1);
    EXPECT_FALSE(map(*reread)->MovingBox->isChecked());
    EXPECT_TRUE(map(*reread)->ZoomingBox->isChecked());
}

} // namespace
