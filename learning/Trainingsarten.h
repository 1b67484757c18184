#pragma once

#include "i18n/LangDictionary.h"

#include <QDialog>
#include <array>

class FlatButton;
class NoteBox;
class QCheckBox;
class RadioGroup;
struct TLernOptionen;

// The learning settings dialog: the mode of the run and its options. It
// exists once for the whole run of the program and starts from its fixed
// defaults every time it is shown.
class Tfrm_training : public QDialog {
public:
    explicit Tfrm_training(QWidget* parent = nullptr);

    TLangDictionary lang;

    // Shows the dialog in `language` and, when confirmed, fills `options`.
    // `countryLesson`: the memory game (and the capital and map options) fit.
    bool Execute(TLernOptionen& options, bool countryLesson, int language);

    // The steps of Execute, for tests: defaults, then the choice, then reading.
    void PrepareShow(bool countryLesson);
    // Only these memory pairings can be chosen (bit p for pairing p); the
    // first of them is preselected when the default one is not among them.
    void OfferPairings(unsigned pairings);
    void SelectMode(int mode);
    void ReadOptions(TLernOptionen& options) const;
    int Mode() const { return m_mode; }

    FlatButton* ModeButton(int mode) const { return m_modeButtons[static_cast<size_t>(mode)]; }
    QCheckBox* Schwierigkeit() const { return m_difficulty; }
    QCheckBox* Hauptstaedte() const { return m_capitals; }
    QCheckBox* ViewOnMap() const { return m_viewOnMap; }
    RadioGroup* Auswahl_Memory() const { return m_pairing; }
    QString Description() const;

private:
    std::array<FlatButton*, 4> m_modeButtons{};
    QCheckBox* m_difficulty;
    QCheckBox* m_capitals;
    QCheckBox* m_viewOnMap;
    RadioGroup* m_pairing;
    NoteBox* m_description;
    int m_mode = 0;
    bool m_countryLesson = false;
};
