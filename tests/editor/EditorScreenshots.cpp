#include "ProgramFixture.h"

#include "editor/AddItemDialog.h"
#include "editor/GeoInputEditor.h"
#include "editor/GeoVisualGlobeEditor.h"
#include "editor/GeoVisualImageEditor.h"
#include "editor/GeoObjEdit.h"
#include "widgets/FlatButton.h"

#include <QCoreApplication>
#include "maps/GeoVisual.h"
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QStackedWidget>
#include <QTest>

// Renders the editor's pages, dialogs and panels to PNG files when
// ORBILO_SCREENSHOT_DIR is set, so they can be looked at; otherwise skipped.
namespace {

class EditorScreenshots : public ProgramFixture {
protected:
    static QString outputFolder()
    {
        const QString out = qEnvironmentVariable("ORBILO_SCREENSHOT_DIR");
        if (!out.isEmpty())
            QDir().mkpath(out);
        return out;
    }
};

TEST_F(EditorScreenshots, RenderEditorPages)
{
    const QString out = outputFolder();
    if (out.isEmpty())
        GTEST_SKIP() << "set ORBILO_SCREENSHOT_DIR to render the editor";
    struct Lesson {
        const char* kind;
        int group;
        const char* file;
    };
    const Lesson lessons[] = {{"picture", 3, "Europa_Laender_Karte.lek"}, {"globe", 3, "Europa_Laender.lek"}};
    for (int language : {1, 3}) {
        startProgram(language);
        for (const Lesson& lesson : lessons) {
            const QString stem = QString("%1/editor_%2_%3").arg(out, lesson.kind).arg(language);
            showEditorCatalogue(lesson.group);
            ASSERT_TRUE(selectFile(lesson.file));
            newLesson(3);
            TGeoEditor* view = editor();
            ASSERT_NE(view, nullptr);
            const char* pages[] = {"btn_Editor_Allgemeines", "btn_Editor_Karte", "btn_Editor_Kategorien",
                                   "btn_Editor_Fragen"};
            for (int page = 0; page < 4; ++page) {
                main->Button(pages[page])->click();
                if (page == 2)
                    view->CategoryList->setCurrentRow(0);
                if (page == 3) {
                    view->QuestionEditor()->QuestionList->setCurrentRow(2);
                }
                QCoreApplication::processEvents();
                main->grab().save(QString("%1_page%2.png").arg(stem).arg(page));
            }
            // The question being edited (a picture question given a second
            // area by a click), and the category dialog.
            view->QuestionEditor()->EditQuestion();
            if (auto* picture = dynamic_cast<TGeoVisualImageEditor*>(view->MapView))
                picture->PictureClicked(QPoint(560, 537));
            QCoreApplication::processEvents();
            main->grab().save(stem + "_question.png");
            view->ItemEditPanel()->Cancel();
            // The add dialog of globe lessons, searching for cities.
            if (auto* globe = dynamic_cast<TGeoVisualGlobeEditor*>(view->MapView)) {
                responder.onDialog = [&](QDialog& dialog) {
                    auto& add = dynamic_cast<TAddItemDialog&>(dialog);
                    add.show();
                    QTest::keyClicks(add.SearchEdit, "stadt");
                    QCoreApplication::processEvents();
                    add.grab().save(stem + "_add.png");
                    add.hide();
                    return int(QDialog::Rejected);
                };
                globe->AddItemsFromDatabase();
            }
            responder.onDialog = [&](QDialog& dialog) {
                dialog.show();
                QCoreApplication::processEvents();
                dialog.grab().save(stem + "_category.png");
                dialog.hide();
                return int(QDialog::Rejected);
            };
            main->Button("btn_Editor_Kategorien")->click();
            view->CategoryList->setCurrentRow(0);
            view->EditCategory();
            if (view->KindMenu()) {
                emit view->KindMenu()->aboutToShow();
                view->KindMenu()->popup(view->NewCategoryButton->mapToGlobal(QPoint(0, 25)));
                QCoreApplication::processEvents();
                view->KindMenu()->grab().save(stem + "_kinds.png");
                view->KindMenu()->hide();
                // A lake category: no outline row.
                for (int row = 0; row < int(view->Lesson->Categories.size()); ++row)
                    if (view->Lesson->Categories[row]->Kind == CategoryKind::Cities)
                        view->CategoryList->setCurrentRow(row);
                responder.onDialog = [&](QDialog& dialog) {
                    dialog.show();
                    QCoreApplication::processEvents();
                    dialog.grab().save(stem + "_category_cities.png");
                    dialog.hide();
                    return int(QDialog::Rejected);
                };
                view->EditCategory();
            } else {
                // A new question of a picture lesson.
                main->Button("btn_Editor_Fragen")->click();
                view->QuestionEditor()->NewButton->click();
                QCoreApplication::processEvents();
                main->grab().save(stem + "_newquestion.png");
                view->ItemEditPanel()->Cancel();
            }
            responder.onDialog = [this](QDialog& dialog) { return answer(dialog); };
            responder.messageAnswers = {mrNo};
            main->Button("btn_Editor_Zurueck")->click();
        }
        backToStart();
        results.reset();
        training.reset();
        main.reset();
    }
}

} // namespace
