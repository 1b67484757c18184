#include "AddDialogAnswers.h"
#include "ProgramFixture.h"

#include "editor/GeoInputEditor.h"
#include "editor/GeoObjEdit.h"
#include "editor/GeoVisualGlobeEditor.h"
#include "editor/GeoVisualImageEditor.h"
#include "globe/GlobeLayerStore.h"
#include "globe/GlobeObjects.h"
#include "globe/GlobeView.h"
#include "learning/GeoEdit.h"
#include "learning/GeoInput.h"
#include "learning/GeoInputKK.h"
#include "maps/GlobeLessonLink.h"
#include "maps/PictureControl.h"
#include "platform/IniFile.h"
#include "support/GlobePixel.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

// Lessons made in the editor from nothing, as an author makes them, saved,
// and then learned in the program.
namespace {

class BuiltFromNothingTest : public ProgramFixture {
protected:
    // Runs the training dialog with this mode, everything else as the
    // fixture answers it.
    void learnWith(int mode, bool onMap)
    {
        responder.onDialog = [this, mode, onMap](QDialog& dialog) {
            if (&dialog != training.get())
                return answer(dialog);
            training->SelectMode(mode);
            training->ViewOnMap()->setChecked(onMap);
            return int(QDialog::Accepted);
        };
    }

    std::unique_ptr<IniFile> resultFile() const
    {
        return std::make_unique<IniFile>(dir.filePath("Ergebnisse/1.dat"));
    }
};

// A GIF, a category and three questions whose regions are clicked on the
// map; saved, learned in the short test to its end.
TEST_F(BuiltFromNothingTest, APictureLesson)
{
    startProgram();
    showEditorCatalogue(3);
    newLesson(1);
    TGeoEditor* view = editor();
    ASSERT_NE(view, nullptr);
    QTest::keyClicks(view->NameGermanEdit, "Drei Laender");
    view->ContinentBox->setCurrentIndex(2);

    main->Button("btn_Editor_Karte")->click();
    auto* map = dynamic_cast<TGeoVisualImageEditor*>(view->MapView);
    ASSERT_NE(map, nullptr);
    responder.fileAnswers = {QStringLiteral(ORBILO_DATA_FOLDER "/Lektionen/Deutschland_Bundeslaender_Karte.gif")};
    map->LoadButton->click();
    ASSERT_FALSE(map->CleanPicture().isNull());

    main->Button("btn_Editor_Kategorien")->click();
    fillCategory = [](TFormKatEdit& dialog) {
        dialog.GermanName->setText(QString::fromUtf8("Bundesländer"));
        dialog.EnglishName->setText("Federal states");
    };
    view->NewCategoryButton->click();
    ASSERT_EQ(view->Lesson->Categories.size(), 1u);

    main->Button("btn_Editor_Fragen")->click();
    TGeoInputEditor& questions = *view->QuestionEditor();
    auto* panel = dynamic_cast<TGeoObjEditImage*>(view->ItemEditPanel());
    ASSERT_NE(panel, nullptr);
    const struct {
        const char* german;
        const char* english;
        QPoint seed;
    } states[] = {{"Bayern", "Bavaria", {364, 565}}, {"Hessen", "Hesse", {194, 420}}, {"Berlin", "Berlin", {440, 246}}};
    for (const auto& s : states) {
        questions.NewButton->click();
        ASSERT_TRUE(panel->Editing()) << s.german;
        panel->GermanList->setCurrentRow(0); // "Neuer Eintrag"
        responder.inputAnswers = {{true, s.german}, {true, s.english}};
        panel->ListButton(panel->GermanList, 1)->click();
        panel->ListButton(panel->EnglishList, 0)->click();
        QTest::mouseClick(map->Picture, Qt::LeftButton, {}, s.seed);
        panel->OkButton->click();
    }
    ASSERT_EQ(questions.QuestionList->count(), 3);
    main->Button("btn_Editor_Speichern")->click();
    const QString saved = view->LessonPath;
    const IniFile file(saved);
    EXPECT_EQ(file.ReadString("Kategorie1", "2"), "Hessen~Hesse?194&420");
    const QString picture = file.ReadString("Allgemeines", "Bitmap");
    EXPECT_TRUE(QFile::exists(lessonPath(picture))) << picture.toStdString();
    main->Button("btn_Editor_Zurueck")->click();
    ASSERT_EQ(main->LessonView(), nullptr);

    learnWith(0, false);
    showLearningCatalogue(3);
    ASSERT_TRUE(selectLesson("Drei Laender"));
    main->Button("Btn_Lektionen_Start")->click();
    auto* learning = dynamic_cast<TGeoLernen*>(main->LessonView());
    ASSERT_NE(learning, nullptr);
    auto& input = dynamic_cast<TGeoInputKK&>(*learning->InputPanel);
    ASSERT_EQ(input.Fields().size(), 3u);
    // Each field's region is shown red on the picture while it is answered.
    auto* learningMap = dynamic_cast<TGeoVisualImage*>(learning->MapView);
    ASSERT_NE(learningMap, nullptr);
    PictureControl* picturePanel = learningMap->Picture;
    ASSERT_FALSE(picturePanel->Bitmap().isNull()) << "the saved picture is read";
    for (TGeoEdit* field : input.Fields()) {
        field->setFocus();
        QCoreApplication::processEvents();
        TGeoItem& item = *field->Item();
        const QPoint seed(item.Region.section('&', 0, 0).toInt(), item.Region.section('&', 1, 1).toInt());
        EXPECT_EQ(picturePanel->Bitmap().pixel(seed) & 0xFFFFFF, 0xFF0000u) << item.DisplayName().toStdString();
        QTest::keyClicks(field, item.NamesGerman.value(0));
    }
    for (TGeoEdit* field : input.Fields())
        EXPECT_EQ(field->Item()->State(), ItemState::Right) << field->Item()->DisplayName().toStdString();
    // Done: back to the catalogue, the run stored.
    main->Button("btn_Lernen_Zurueck")->click();
    EXPECT_EQ(main->LessonView(), nullptr);
    EXPECT_TRUE(resultFile()->ReadString(QFileInfo(saved).fileName(), "1").contains(";3;0;100 %;"))
        << resultFile()->ReadString(QFileInfo(saved).fileName(), "1").toStdString();
}

// Germany with its capital and two rivers from the index, a view set on
// the map page; saved, and in the map test Germany is found by a click.
TEST_F(BuiltFromNothingTest, AGlobeLesson)
{
    startProgram();
    showEditorCatalogue(3);
    newLesson(2);
    TGeoEditor* view = editor();
    ASSERT_NE(view, nullptr);
    QTest::keyClicks(view->NameGermanEdit, "Deutschland am Fluss");
    view->ContinentBox->setCurrentIndex(2);

    main->Button("btn_Editor_Fragen")->click();
    std::deque<Pick> picks{{"deutschl", "Land", "Deutschland"}, {"rhein", "Fluss", "Rhein"}, {"elbe", "Fluss", "Elbe"}};
    responder.onDialog = [&](QDialog& dialog) { return AnswerAddDialog(dialog, picks); };
    view->QuestionEditor()->NewButton->click();
    responder.onDialog = [this](QDialog& dialog) { return answer(dialog); };
    ASSERT_TRUE(picks.empty());

    // The view: Germany in the middle, closer.
    main->Button("btn_Editor_Karte")->click();
    auto* map = dynamic_cast<TGeoVisualGlobeEditor*>(view->MapView);
    ASSERT_NE(map, nullptr);
    map->Globe->LocateToLL(10 * 5400000, 51 * 5400000);
    map->ZoomInButton->click();
    map->ZoomInButton->click();
    main->Button("btn_Editor_Speichern")->click();
    const QString saved = view->LessonPath;
    EXPECT_EQ(IniFile(saved).ReadString("L", "1"), "49");
    main->Button("btn_Editor_Zurueck")->click();
    ASSERT_EQ(main->LessonView(), nullptr);

    learnWith(1, true);
    TGeoInput::RandomSeed = [] { return 3u; };
    showLearningCatalogue(3);
    ASSERT_TRUE(selectLesson("Deutschland am Fluss"));
    main->Button("Btn_Lektionen_Start")->click();
    TGeoInput::RandomSeed = nullptr;
    auto* learning = dynamic_cast<TGeoLernen*>(main->LessonView());
    ASSERT_NE(learning, nullptr);
    TGlobeView& globe = *dynamic_cast<TGeoVisualGlobe&>(*learning->MapView).Globe;
    TGeoItem* germany = learning->Lesson->FindCategory("L")->FindItem(49);
    ASSERT_NE(germany, nullptr);
    // Every question answered by a click on its term, Germany among them
    // (the map test asks the areas; the rivers are shown).
    bool germanyFound = false;
    for (int question = 0; question < 5 && learning->InputPanel->CurrentItem; ++question) {
        TGeoItem* asked = learning->InputPanel->CurrentItem;
        TGeoItem* target = asked->CapitalOf ? asked->CapitalOf : asked;
        TGlobeObject* object = TGlobeLessonLink::ObjectOf(*target);
        ASSERT_NE(object, nullptr) << target->DisplayName().toStdString();
        const QPoint p = GlobePixelOf(globe, object);
        ASSERT_GE(p.x(), 0) << target->DisplayName().toStdString() << " is nowhere to click";
        globe.MouseDown(mzbLeft, 0, p.x(), p.y());
        globe.MouseUp(mzbLeft, 0, p.x(), p.y());
        EXPECT_EQ(asked->State(), ItemState::Right) << asked->DisplayName().toStdString();
        germanyFound = germanyFound || (asked == germany && germany->State() == ItemState::Right);
        // The next question follows once the feedback has been seen.
        (void)QTest::qWaitFor([&] { return main->LessonView() != learning || learning->InputPanel->CurrentItem != asked; }, 5000);
        if (main->LessonView() != learning)
            break;
    }
    for (int i = 0; i < 50 && main->LessonView(); ++i)
        QCoreApplication::processEvents();
    EXPECT_TRUE(germanyFound);
    EXPECT_EQ(main->LessonView(), nullptr) << "the test ends with the last term";
    EXPECT_TRUE(resultFile()->ReadString(QFileInfo(saved).fileName(), "1").contains("100 %"))
        << resultFile()->ReadString(QFileInfo(saved).fileName(), "1").toStdString();
}

} // namespace
