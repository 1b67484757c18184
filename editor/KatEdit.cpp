#include "editor/KatEdit.h"

#include "editor/ColourButton.h"
#include "editor/EditorStyle.h"
#include "i18n/LangDictionary.h"
#include "lesson/TKategorie.h"
#include "platform/Dialogs.h"
#include "widgets/Artwork.h"
#include "widgets/Background.h"
#include "widgets/FlatButton.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>

namespace {

// "|" and "~" separate the names and fields of a category in lesson files.
QString CategoryName(const QLineEdit* field)
{
    QString name = field->text();
    name.remove(u'|').remove(u'~');
    return name.trimmed();
}

bool IsAreaKind(CategoryKind kind)
{
    return kind == CategoryKind::Countries || kind == CategoryKind::Islands || kind == CategoryKind::States;
}

} // namespace

TFormKatEdit::TFormKatEdit(const TLangDictionary& dictionary, QWidget* parent)
    : m_dictionary(dictionary), m_dialog(std::make_unique<QDialog>(parent))
{
    QDialog& dialog = *m_dialog;
    dialog.setObjectName(QStringLiteral("TFormKatEdit"));
    dialog.setWindowTitle(dictionary.GetText(QStringLiteral("EditKat")));
    dialog.setFixedSize(240, 220);
    if (parent)
        dialog.setFont(parent->font());
    FillBackground(&dialog);

    GermanName = EditorStyle::FlatEdit(QStringLiteral("GermanName"), &dialog);
    GermanName->setGeometry(10, 25, 200, 21);
    AddLabel(QStringLiteral("Name_German"), 10, 10, GermanName);
    EnglishName = EditorStyle::FlatEdit(QStringLiteral("EnglishName"), &dialog);
    EnglishName->setGeometry(10, 75, 200, 21);
    AddLabel(QStringLiteral("Name_English"), 10, 60, EnglishName);
    Colour = AddColourButton(QStringLiteral("ColourButton"), 110);
    AddLabel(QStringLiteral("color"), 10, 114, Colour);

    OkButton = EditorStyle::Button(QStringLiteral("OK"), Artwork::Glyph(QStringLiteral("ok")), &dialog, 10, 160, 100, 25);
    OkButton->setText(QStringLiteral("&Ok"));
    CancelButton = EditorStyle::Button(QStringLiteral("Cancel"), Artwork::Glyph(QStringLiteral("quit")), &dialog, 110,
                                       160, 100, 25);
    CancelButton->setText(dictionary.GetText(QStringLiteral("Cancel")));
    QObject::connect(OkButton, &QToolButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(CancelButton, &QToolButton::clicked, &dialog, &QDialog::reject);
    // The flat buttons are no push buttons: Enter confirms through a shortcut.
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* enter = new QShortcut(QKeySequence(key), &dialog);
        QObject::connect(enter, &QShortcut::activated, &dialog, &QDialog::accept);
    }
}

TFormKatEdit::~TFormKatEdit() = default;

QLabel* TFormKatEdit::AddLabel(const QString& key, int left, int top, QWidget* buddy)
{
    auto* label = new QLabel(m_dictionary.GetText(key), m_dialog.get());
    label->setObjectName(QStringLiteral("lbl_") + key);
    label->move(left, top);
    label->adjustSize();
    label->setBuddy(buddy);
    return label;
}

ColourButton* TFormKatEdit::AddColourButton(const QString& name, int top)
{
    auto* button = new ColourButton(name, m_dialog.get());
    button->setGeometry(130, top, 80, 25);
    button->SetOtherCaption(m_dictionary.GetText(QStringLiteral("color_other")));
    return button;
}

void TFormKatEdit::PlaceButtons(int top)
{
    OkButton->move(10, top);
    CancelButton->move(110, top);
}

bool TFormKatEdit::Run(TKategorie& category)
{
    GermanName->setText(category.Name);
    EnglishName->setText(category.NameEnglish);
    Colour->SetColor(category.Color);
    GermanName->setFocus();
    GermanName->selectAll();
    if (ExecModal(*m_dialog) != QDialog::Accepted)
        return false;
    category.Name = CategoryName(GermanName);
    category.NameEnglish = CategoryName(EnglishName);
    category.Color = Colour->Color();
    return true;
}

bool TFormKatEdit::Edit(TKategorie& category) { return Run(category); }

TFormKatEditGlobe::TFormKatEditGlobe(const TLangDictionary& dictionary, QWidget* parent)
    : TFormKatEdit(dictionary, parent)
{
    m_dialog->setObjectName(QStringLiteral("TFormKatEditGlobe"));
    MapColour = AddColourButton(QStringLiteral("MapColourButton"), 135);
    AddLabel(QStringLiteral("color_normal"), 10, 139, MapColour);
    SelectedColour = AddColourButton(QStringLiteral("SelectedColourButton"), 160);
    AddLabel(QStringLiteral("color_selected"), 10, 164, SelectedColour);
    OutlineColour = AddColourButton(QStringLiteral("OutlineColourButton"), 185);
    OutlineLabel = AddLabel(QStringLiteral("color_umriss"), 10, 189, OutlineColour);
    OutlineColour->hide();
    OutlineLabel->hide();
    PlaceButtons(220);
    m_dialog->setFixedSize(240, 280);
}

bool TFormKatEditGlobe::Edit(TKategorie& category)
{
    MapColour->SetColor(category.MapColor);
    SelectedColour->SetColor(category.SelectedColor);
    const bool outline = IsAreaKind(category.Kind);
    const int extra = outline ? 25 : 0;
    OutlineColour->setVisible(outline);
    OutlineLabel->setVisible(outline);
    if (outline)
        OutlineColour->SetColor(category.OutlineColor);
    PlaceButtons(230 + extra);
    m_dialog->setFixedSize(240, 290 + extra);
    if (!Run(category))
        return false;
    // Both restyle the category's objects and redraw the globe at once.
    category.SetMapColor(MapColour->Color());
    category.SelectedColor = SelectedColour->Color();
    if (outline)
        category.SetOutlineColor(OutlineColour->Color());
    return true;
}
