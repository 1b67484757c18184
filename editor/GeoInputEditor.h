#pragma once

#include "learning/GeoInput.h"

#include <functional>

class FlatButton;
class QComboBox;
class QListWidget;
class TGeoObjEdit;
class TGeoVisual;
class TKategorie;

// The question editor on the editor's "Fragen" page: a category selector,
// the questions of the chosen category and the commands that add, edit,
// delete and move them. Parts of other terms are never listed.
class TGeoInputEditor : public TGeoInput {
public:
    TGeoInputEditor(QWidget* owner, TDaten& lesson);
    ~TGeoInputEditor() override;

    TGeoVisual* Map = nullptr;                   // the editor's map
    std::function<void(QObject* sender)> OnModified;
    std::function<void(QObject* sender)> OnCategoriesChanged;
    // Called after questions left the lesson, so that the frame can drop
    // every reference to them (the map's highlight, the globe's objects).
    std::function<void()> OnItemsRemoved;

    // The item edit panel; it becomes a child of the question editor and
    // covers it while a question is being edited.
    void SetItemEditPanel(TGeoObjEdit* panel);
    TGeoObjEdit* ItemEditPanel() const { return m_panel; }
    // Whether "Neue Frage" can add anything: picture lessons type new
    // questions in, globe lessons take them from the map.
    void SetCanAddQuestions(bool can);

    QComboBox* CategoryBox = nullptr;
    QListWidget* QuestionList = nullptr;
    FlatButton* NewButton = nullptr;
    FlatButton* EditButton = nullptr;
    FlatButton* DeleteButton = nullptr;
    FlatButton* DownButton = nullptr;
    FlatButton* UpButton = nullptr;

    void Start() override {}
    // Refills the category box and with it the question list.
    void Refresh() override;
    void RefillCategories();
    // Refills the question list. -10 leaves no entry selected; any other
    // value keeps the selected question selected wherever it now stands.
    void RefillQuestions(int delta);

    TKategorie* SelectedCategory() const;
    TGeoItem* SelectedQuestion() const;
    // The question an entry of the list stands for.
    TGeoItem* ItemOfEntry(int row) const;
    int RowOf(const TGeoItem* item) const;
    void SelectQuestion(TGeoItem* item);

    void NewQuestion();
    void EditQuestion();
    void DeleteQuestion();
    void MoveQuestion(int delta);

private:
    // Refills the list and selects `selected` again, if listed.
    void Refill(TGeoItem* selected);
    void Modified();
    void OpenPanel();
    void ClosePanel();

    QWidget* m_content;
    TGeoObjEdit* m_panel = nullptr;
    bool m_canAdd = true;
};

// Picture lessons number their questions 1, 2, 3 ... across all categories
// in list order, as the numbers on the picture and the file order have it;
// a capital shares its country's number and takes none of its own.
void RenumberPictureLesson(TDaten& lesson);
