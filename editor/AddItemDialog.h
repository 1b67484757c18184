#pragma once

#include "editor/IndexCatalogue.h"

#include <QDialog>

class FlatButton;
class QLabel;
class QLineEdit;
class QListView;
class TLangDictionary;

// The dialog in which the author picks a term of the geographic index for
// a globe lesson: a search field and the matching entries, sorted by their
// names, rivers and lakes in blue, cities in red. The list follows every
// keystroke; Enter in the field moves to the list, Enter in the list adds.
class TAddItemDialog : public QDialog {
public:
    TAddItemDialog(TIndexCatalogue& catalogue, const TLangDictionary& dictionary, QWidget* parent);
    ~TAddItemDialog() override;

    QLabel* SearchLabel = nullptr;
    QLineEdit* SearchEdit = nullptr;
    QListView* EntryList = nullptr;
    FlatButton* AddButton = nullptr;
    FlatButton* CancelButton = nullptr;

    // An empty search over the whole catalogue, the keyboard in the search
    // field: the dialog as it opens.
    void Reset();
    void FilterCatalogue(const QString& search);

    int EntryCount() const;
    // The catalogue entry listed in that row, or none.
    const TIndexCatalogue::Entry* EntryAt(int row) const;
    const TIndexCatalogue::Entry* SelectedEntry() const;
    QString DisplayNameAt(int row) const;
    void SelectRow(int row);

    // The add button: without a selected entry the author is told to pick one.
    void Add();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Model;
    TIndexCatalogue& m_catalogue;
    const TLangDictionary& m_dictionary;
    Model* m_model = nullptr;
};
