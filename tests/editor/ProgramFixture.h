#pragma once

#include "EditorFixture.h"

#include "app/Lektionenliste.h"
#include "app/Mainform.h"
#include "app/ProgramHooks.h"
#include "editor/KatEdit.h"
#include "learning/GeoLernen.h"
#include "learning/Trainingsarten.h"
#include "results/Ergebnisse.h"
#include "widgets/FlatButton.h"
#include "widgets/GradientPanel.h"
#include "widgets/LessonListBox.h"

#include <QComboBox>

// The program as its entry builds it: the main window, the learning
// settings dialog and the result window, joined by the program's hooks, on
// a program folder with the shipped data and one user.
class ProgramFixture : public EditorFixture {
protected:
    std::unique_ptr<Tfrm_main> main; // released last: the others are its children
    std::unique_ptr<Tfrm_training> training;
    std::unique_ptr<Tfrm_Ergebnis> results;
    int newLessonChoice = 0;        // the button of the new-lesson dialog: 1, 2 or 3
    std::function<void(TFormKatEdit&)> fillCategory; // the category dialog; confirmed after

    void startProgram(int language = 1)
    {
        QFile ini(dir.filePath("geo.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QString("[Geo]\nLanguage=%1\n[Users]\n1=Anna\n").arg(language).toUtf8());
        ini.close();
        main = std::make_unique<Tfrm_main>(folder());
        training = std::make_unique<Tfrm_training>(main.get());
        results = std::make_unique<Tfrm_Ergebnis>(main.get());
        InstallProgramHooks(*main, *training, *results, folder());
        main->resize(900, 650);
        main->show();
        responder.onDialog = [this](QDialog& dialog) { return answer(dialog); };
    }

    int answer(QDialog& dialog)
    {
        const QString name = dialog.objectName();
        if (name == "NewLessonDialog") {
            const char* keys[] = {"", "lek_image", "lek_globe", "lek_copy"};
            if (auto* button = dialog.findChild<FlatButton*>(keys[newLessonChoice]))
                button->click();
            return dialog.result();
        }
        if (&dialog == training.get()) {
            training->SelectMode(0);
            return int(QDialog::Accepted);
        }
        if (name.startsWith("TFormKatEdit")) {
            if (fillCategory)
                fillCategory(*currentCategoryDialog());
            return int(QDialog::Accepted);
        }
        return int(QDialog::Rejected);
    }

    void TearDown() override
    {
        results.reset();
        training.reset();
        main.reset();
        Tfrm_main::StartHooks = {};
        TGeoLernen::ResultWindow = nullptr;
    }

    TGeoEditor* editor() const { return dynamic_cast<TGeoEditor*>(main->LessonView()); }
    TFormKatEdit* currentCategoryDialog() const { return editor() ? &editor()->CategoryDialog() : nullptr; }

    // From the start page, or back to it from a catalogue first.
    void backToStart()
    {
        for (const char* back : {"btn_LEditor_Zurueck", "Btn_Lektionen_Zurueck"})
            if (main->Button(back)->isEnabled())
                main->Button(back)->click();
    }
    void showEditorCatalogue(int group)
    {
        backToStart();
        main->Button("Btn_Haupt_Editor")->click();
        main->Kat()->setCurrentIndex(group - 1);
    }
    void showLearningCatalogue(int group)
    {
        backToStart();
        main->Button("Btn_Haupt_Lernen")->click();
        main->Lektionen().SetFilter(group);
    }
    // Selects the catalogue entry of that display name; false when not listed.
    bool selectLesson(const QString& name)
    {
        for (int row = 0; row < main->lektionen()->count(); ++row)
            if (LessonListBox::DisplayPart(main->lektionen()->item(row)->text()) == name) {
                main->lektionen()->setCurrentRow(row);
                return true;
            }
        return false;
    }
    bool selectFile(const QString& fileName)
    {
        for (int row = 0; row < main->lektionen()->count(); ++row)
            if (LessonListBox::FilePart(main->lektionen()->item(row)->text()) == fileName) {
                main->lektionen()->setCurrentRow(row);
                return true;
            }
        return false;
    }
    void newLesson(int choice)
    {
        newLessonChoice = choice;
        main->Button("btn_LEditor_Neu")->click();
    }
};
