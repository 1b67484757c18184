#pragma once

#include <QString>
#include <memory>

class ColourButton;
class FlatButton;
class QDialog;
class QLabel;
class QLineEdit;
class QWidget;
class TKategorie;
class TLangDictionary;

// The category dialog of picture lessons: the category's names in both
// languages and its text colour. One exists per editor and serves every
// category; it owns its dialog window.
class TFormKatEdit {
public:
    TFormKatEdit(const TLangDictionary& dictionary, QWidget* parent);
    virtual ~TFormKatEdit();
    TFormKatEdit(const TFormKatEdit&) = delete;
    TFormKatEdit& operator=(const TFormKatEdit&) = delete;

    // Fills the dialog from the category and shows it; on OK the values go
    // back into the category and the result is true. Otherwise the category
    // stays as it was.
    virtual bool Edit(TKategorie& category);

    QDialog* DialogWindow() const { return m_dialog.get(); }
    QLineEdit* GermanName = nullptr;
    QLineEdit* EnglishName = nullptr;
    ColourButton* Colour = nullptr;
    FlatButton* OkButton = nullptr;
    FlatButton* CancelButton = nullptr;

protected:
    QLabel* AddLabel(const QString& key, int left, int top, QWidget* buddy);
    ColourButton* AddColourButton(const QString& name, int top);
    // Runs the dialog: fields from the category before, names back after OK.
    bool Run(TKategorie& category);
    void PlaceButtons(int top);

    const TLangDictionary& m_dictionary;
    std::unique_ptr<QDialog> m_dialog;
};

// The category dialog of globe lessons: besides the names and the text
// colour, the map colour, the colour of a selected object and, for countries,
// islands and states, the outline colour.
class TFormKatEditGlobe : public TFormKatEdit {
public:
    TFormKatEditGlobe(const TLangDictionary& dictionary, QWidget* parent);

    bool Edit(TKategorie& category) override;

    ColourButton* MapColour = nullptr;
    ColourButton* SelectedColour = nullptr;
    ColourButton* OutlineColour = nullptr;
    QLabel* OutlineLabel = nullptr;
};
