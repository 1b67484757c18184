#include "learning/Trainingsarten.h"

#include "widgets/Background.h"
#include "i18n/DictionaryApplier.h"
#include "lesson/MemoryPairings.h"
#include "lesson/TLernOptionen.h"
#include "platform/Dialogs.h"
#include "platform/HelpViewer.h"
#include "widgets/Artwork.h"
#include "widgets/FlatButton.h"
#include "widgets/GradientPanel.h"
#include "widgets/NoteBox.h"
#include "widgets/RadioGroup.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace {

QIcon modeGlyph(int mode)
{
    static const char* glyphs[] = {"ok", "questions", "general", "tip"};
    return Artwork::Glyph(QString::fromLatin1(glyphs[mode]));
}

QCheckBox* checkBox(const QString& name, QWidget* parent, int top)
{
    auto* box = new QCheckBox(parent);
    box->setObjectName(name);
    box->setGeometry(14, top, 200, 20);
    return box;
}

} // namespace

Tfrm_training::Tfrm_training(QWidget* parent)
    : QDialog(parent), lang(TLangDictionary::forWindow(QStringLiteral("Tfrm_training")))
{
    setObjectName(QStringLiteral("Tfrm_training"));
    setFont(ProgramFont());
    setFixedSize(489, 254);
    FillBackground(this);

    auto* top = new GradientPanel(this);
    top->setObjectName(QStringLiteral("pn_Modes"));
    top->setGeometry(0, 0, 489, 40);
    auto* modes = new QButtonGroup(this);
    const char* names[] = {"btn_KK", "btn_Abfrage", "btn_Choice", "btn_Memory"};
    for (int m = 0; m < 4; ++m) {
        auto* button = new FlatButton(QString::fromLatin1(names[m]), modeGlyph(m), top);
        button->setFixedSize(120, 30);
        button->move(4 + m * 121, 5);
        button->setCheckable(true);
        modes->addButton(button, m);
        m_modeButtons[static_cast<size_t>(m)] = button;
    }
    connect(modes, &QButtonGroup::idClicked, this, [this](int mode) { SelectMode(mode); });

    m_difficulty = checkBox(QStringLiteral("Schwierigkeit"), this, 65);
    m_capitals = checkBox(QStringLiteral("Hauptstaedte"), this, 86);
    m_viewOnMap = checkBox(QStringLiteral("ViewOnMap"), this, 107);
    m_pairing = new RadioGroup(QStringLiteral("Auswahl_Memory"), this);
    m_pairing->setGeometry(14, 65, 200, 130);

    m_description = new NoteBox(QStringLiteral("lbl_Beschreibung"), this);
    m_description->setGeometry(230, 56, 246, 140);

    auto* bottom = new GradientPanel(this);
    bottom->setObjectName(QStringLiteral("pn_Bottom"));
    bottom->setGeometry(0, 254 - 40, 489, 40);
    auto* start = new QPushButton(bottom);
    start->setObjectName(QStringLiteral("btn_Start"));
    start->setGeometry(489 - 3 * 92 - 10, 7, 88, 26);
    start->setDefault(true);
    auto* cancel = new QPushButton(bottom);
    cancel->setObjectName(QStringLiteral("btn_Cancel"));
    cancel->setGeometry(489 - 2 * 92 - 10, 7, 88, 26);
    auto* help = new QPushButton(bottom);
    help->setObjectName(QStringLiteral("btn_Hilfe"));
    help->setGeometry(489 - 92 - 10, 7, 88, 26);
    connect(start, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] { HelpSystem::ShowContents(); });

    lang.OnChangeLanguage = [this](TLangDictionary&) { SelectMode(m_mode); };
    attachDictionary(this, lang);
}

void Tfrm_training::PrepareShow(bool countryLesson)
{
    m_countryLesson = countryLesson;
    m_modeButtons[3]->setVisible(countryLesson);
    m_pairing->SetItemIndex(0);
    OfferPairings(MemoryPairings::kAll);
    m_difficulty->setChecked(false);
    m_capitals->setChecked(true);
    m_viewOnMap->setChecked(false);
    SelectMode(0);
}

void Tfrm_training::OfferPairings(unsigned pairings)
{
    for (int p = 0; p < MemoryPairings::kCount; ++p)
        m_pairing->SetItemEnabled(p, (pairings >> p) & 1u);
    const int current = m_pairing->ItemIndex();
    if (current >= 0 && m_pairing->ItemEnabled(current))
        return;
    for (int p = 0; p < MemoryPairings::kCount; ++p)
        if (m_pairing->ItemEnabled(p)) {
            m_pairing->SetItemIndex(p);
            return;
        }
}

void Tfrm_training::SelectMode(int mode)
{
    m_mode = mode;
    m_modeButtons[static_cast<size_t>(mode)]->setChecked(true);
    m_difficulty->setText(lang.GetText(mode <= 1 ? QStringLiteral("Anfangsbuchstaben") : QStringLiteral("Schwierigkeit")));
    m_description->Label()->setText(lang.GetText(QStringLiteral("desc%1").arg(mode)));
    m_difficulty->setVisible(mode != 3);
    m_capitals->setVisible(mode != 3 && m_countryLesson);
    m_pairing->setVisible(mode == 3);
    m_viewOnMap->setVisible(mode == 1 && m_countryLesson);
}

QString Tfrm_training::Description() const { return m_description->Label()->text(); }

void Tfrm_training::ReadOptions(TLernOptionen& options) const
{
    // Hidden boxes count too: a ticked, hidden capitals box is passed on.
    options.Mode = m_mode;
    options.ViewOnMap = m_viewOnMap->isChecked();
    options.Hauptstaedte = m_capitals->isChecked();
    options.Schwierigkeit = m_difficulty->isChecked();
    options.MemoryPairing = std::max(0, m_pairing->ItemIndex());
}

bool Tfrm_training::Execute(TLernOptionen& options, bool countryLesson, int language)
{
    lang.SetActLang(language);
    PrepareShow(countryLesson);
    OfferPairings(options.MemoryPairings);
    m_modeButtons[0]->setFocus();
    if (ExecModal(*this) != QDialog::Accepted)
        return false;
    ReadOptions(options);
    return true;
}
