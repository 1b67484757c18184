#include "editor/GeoObjEdit.h"

#include "editor/EditorStyle.h"
#include "i18n/LangDialogs.h"
#include "lesson/Geoobj.h"
#include "lesson/TKategorie.h"
#include "widgets/Artwork.h"
#include "widgets/Background.h"
#include "widgets/FlatButton.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QShortcut>
#include <QStyledItemDelegate>

namespace {

constexpr int kNameHeight = 18;

// Name lists: 18-pixel entries, the selected one on the panel grey.
class NameDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return {option.rect.width(), kNameHeight};
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(option.rect, selected ? QColor(0xEE, 0xEE, 0xEE) : QColor(Qt::white));
        painter->setPen(Qt::black);
        painter->setFont(option.font);
        const QRect text = option.rect.adjusted(4, 0, -2, 0);
        painter->drawText(text, Qt::AlignVCenter | Qt::AlignLeft,
                          option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, text.width()));
        painter->restore();
    }
};

QListWidget* nameList(const QString& name, QWidget* parent)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    EditorStyle::PlainList(list);
    list->setItemDelegate(new NameDelegate(list));
    return list;
}

QLabel* boldLabel(const QString& name, const QString& text, QWidget* parent, int top, QWidget* buddy)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->move(5, top);
    label->adjustSize();
    label->setBuddy(buddy);
    return label;
}

} // namespace

QString CleanItemName(const QString& name)
{
    QString clean;
    for (const QChar c : name) {
        if (c == u'|' || c == u'~' || c == u'?')
            continue;
        clean += c.category() == QChar::Other_Control ? QChar(u' ') : c;
    }
    return clean.trimmed();
}

// ------------------------------------------------------------ TGeoObjEdit

TGeoObjEdit::TGeoObjEdit(const TLangDictionary& dictionary, QWidget* parent)
    : QWidget(parent), m_dictionary(dictionary)
{
    setObjectName(QStringLiteral("ItemEditPanel"));
    FillBackground(this);
    TitleLabel = new QLabel(this);
    TitleLabel->setObjectName(QStringLiteral("TitleLabel"));
    TitleLabel->setFont(QFont(QStringLiteral("Arial"), 14));
    TitleLabel->move(5, 10);

    GermanList = nameList(QStringLiteral("GermanList"), this);
    boldLabel(QStringLiteral("lbl_Name_German"), dictionary.GetText(QStringLiteral("Name_German")), this, 50, GermanList);
    EnglishList = nameList(QStringLiteral("EnglishList"), this);
    boldLabel(QStringLiteral("lbl_Name_English"), dictionary.GetText(QStringLiteral("Name_English")), this, 150,
              EnglishList);

    DeactivatedBox = new QCheckBox(dictionary.GetText(QStringLiteral("Question_Disable")), this);
    DeactivatedBox->setObjectName(QStringLiteral("DeactivatedBox"));
    DeactivatedBox->setGeometry(5, 270, 200, 20);

    OkButton = EditorStyle::Button(QStringLiteral("OK"), Artwork::Glyph(QStringLiteral("ok")), this, 5, 320, 90, 25);
    OkButton->setText(QStringLiteral("&Ok"));
    CancelButton =
        EditorStyle::Button(QStringLiteral("Cancel"), Artwork::Glyph(QStringLiteral("quit")), this, 95, 320, 90, 25);
    CancelButton->setText(dictionary.GetText(QStringLiteral("Cancel")));
    connect(OkButton, &QToolButton::clicked, this, [this] { Ok(); });
    connect(CancelButton, &QToolButton::clicked, this, [this] { Cancel(); });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, [this] { Cancel(); });
    hide();
}

TGeoObjEdit::~TGeoObjEdit() = default;

void TGeoObjEdit::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ArrangeControls();
}

void TGeoObjEdit::ArrangeControls()
{
    const int listWidth = width() - 20 - m_listWidthReduction;
    GermanList->setGeometry(5, 65, listWidth, 70);
    EnglishList->setGeometry(5, 165, listWidth, 70);
    TitleLabel->resize(width() - 10, 26);
    PlaceOkCancel(m_okTop);
    if (Item) {
        // A long name is cut with an ellipsis rather than by the panel's edge.
        const QFontMetrics metrics(TitleLabel->font());
        TitleLabel->setText(metrics.elidedText(Item->DisplayName(), Qt::ElideRight, TitleLabel->width()));
    }
}

void TGeoObjEdit::PlaceOkCancel(int top)
{
    const int half = (width() - 20) / 2;
    OkButton->setGeometry(5, top, half, 25);
    CancelButton->setGeometry(5 + half, top, half, 25);
}

void TGeoObjEdit::FillList(QListWidget* list, const QStringList& names)
{
    list->clear();
    list->addItems(names);
}

QStringList TGeoObjEdit::ListEntries(const QListWidget* list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

void TGeoObjEdit::ShowItem(TGeoItem& item)
{
    IsNew = false;
    Item = &item;
    FillList(GermanList, item.NamesGerman);
    FillList(EnglishList, item.NamesEnglish);
    DeactivatedBox->setChecked(item.State() == ItemState::Deactivated);
    m_editing = true;
    ArrangeControls();
}

void TGeoObjEdit::NewItem(TGeoItem&) {}

void TGeoObjEdit::EditNewItem(std::unique_ptr<TGeoItem> item)
{
    m_newItem = std::move(item);
    ShowItem(*m_newItem);
    NewItem(*m_newItem);
    IsNew = true;
}

void TGeoObjEdit::Ok()
{
    if (!m_editing || !Item)
        return;
    TGeoItem& item = *Item;
    ApplyEdits();
    hide();
    m_editing = false;
    if (IsNew && m_newItem && item.Category)
        item.Category->Items.push_back(std::move(m_newItem));
    IsNew = false;
    // The capital of a picture lesson's country is asked with it and takes
    // its switch from it; its own state stays.
    if (!item.CapitalOf) {
        if (DeactivatedBox->isChecked())
            item.SetState(ItemState::Deactivated);
        else if (item.State() != ItemState::ShowOnly)
            item.SetState(ItemState::Open);
        if (item.Capital && item.Capital->CapitalOf == &item)
            item.Capital->SetState(item.State() == ItemState::Deactivated ? ItemState::Deactivated
                                                                          : ItemState::Dependent);
    }
    EditEnded(&item);
    Item = nullptr;
    if (OnDone)
        OnDone(this);
    if (OnClosed)
        OnClosed();
}

void TGeoObjEdit::Cancel()
{
    if (!m_editing)
        return;
    hide();
    m_editing = false;
    IsNew = false;
    Item = nullptr;
    m_newItem.reset();
    EditEnded(nullptr);
    if (OnClosed)
        OnClosed();
}

// ------------------------------------------------------- TGeoObjEditImage

TGeoObjEditImage::TGeoObjEditImage(const TLangDictionary& dictionary, QWidget* parent)
    : TGeoObjEdit(dictionary, parent)
{
    setObjectName(QStringLiteral("TGeoObjEditImage"));
    m_listWidthReduction = 21;
    QListWidget* lists[2] = {GermanList, EnglishList};
    const char* names[3] = {"Add", "Edit", "Delete"};
    for (int l = 0; l < 2; ++l) {
        for (int b = 0; b < 3; ++b) {
            auto* button = EditorStyle::Button(QString::fromLatin1("%1%2").arg(l ? "English" : "German", names[b]),
                                               EditorStyle::GeoImage(b), this, 0, 0, 23, 23);
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);
            button->setIconSize(QSize(16, 16));
            QListWidget* list = lists[l];
            connect(button, &QToolButton::clicked, this, [this, list, b] {
                if (b == 0)
                    AddName(list);
                else if (b == 1)
                    EditName(list);
                else
                    DeleteName(list);
            });
            m_buttons[l][b] = button;
        }
        QListWidget* list = lists[l];
        connect(list, &QListWidget::itemDoubleClicked, this, [this, list] { EditName(list); });
        auto* del = new QShortcut(QKeySequence(Qt::Key_Delete), list, nullptr, nullptr, Qt::WidgetShortcut);
        connect(del, &QShortcut::activated, this, [this, list] { DeleteName(list); });
        auto* ins = new QShortcut(QKeySequence(Qt::Key_Insert), list, nullptr, nullptr, Qt::WidgetShortcut);
        connect(ins, &QShortcut::activated, this, [this, list] { AddName(list); });
    }

    RegionCount = new QLabel(this);
    RegionCount->setObjectName(QStringLiteral("RegionCount"));
    RegionLabel = boldLabel(QStringLiteral("lbl_Region"), dictionary.GetText(QStringLiteral("Region")), this, 296,
                            nullptr);
    RegionHint = new QLabel(dictionary.GetText(QStringLiteral("region_hint")), this);
    RegionHint->setObjectName(QStringLiteral("RegionHint"));
    RegionHint->setWordWrap(true);
    RegionHint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    RegionHint->setFont(QFont(QStringLiteral("Arial"), 7));
    QPalette hintPalette = RegionHint->palette();
    hintPalette.setColor(QPalette::WindowText, QColor(0x60, 0x60, 0x60));
    RegionHint->setPalette(hintPalette);
    ClearRegionButton =
        EditorStyle::Button(QStringLiteral("ClearRegion"), EditorStyle::GeoImage(2), this, 0, 292, 23, 23);
    ClearRegionButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ClearRegionButton->setIconSize(QSize(16, 16));
    ClearRegionButton->setToolTip(dictionary.GetText(QStringLiteral("region_clear")));
    connect(ClearRegionButton, &QToolButton::clicked, this, [this] {
        if (RegionEditable())
            SetPendingRegion(QString());
    });
    m_okTop = 352;
}

bool TGeoObjEditImage::RegionEditable() const { return Editing() && Item && !Item->CapitalOf; }

void TGeoObjEditImage::SetPendingRegion(const QString& region)
{
    m_region = region;
    const int points = FieldCount(region, u'&') / 2;
    const QString count = region.isEmpty() ? m_dictionary.GetText(QStringLiteral("region_none"))
                          : points == 1    ? m_dictionary.GetText(QStringLiteral("region_one"))
                                           : FormatText(m_dictionary.GetText(QStringLiteral("region_many")),
                                                        {QString::number(points)});
    RegionCount->setText(count);
    RegionCount->adjustSize();
    ClearRegionButton->setEnabled(RegionEditable() && !region.isEmpty());
    if (OnRegionChanged)
        OnRegionChanged(region);
}

FlatButton* TGeoObjEditImage::ListButton(QListWidget* list, int which) const
{
    return m_buttons[list == EnglishList ? 1 : 0][which];
}

void TGeoObjEditImage::ArrangeControls()
{
    TGeoObjEdit::ArrangeControls();
    QListWidget* lists[2] = {GermanList, EnglishList};
    for (int l = 0; l < 2; ++l)
        for (int b = 0; b < 3; ++b)
            m_buttons[l][b]->move(lists[l]->geometry().right() + 2, lists[l]->y() + 23 * b);
    RegionCount->move(RegionLabel->geometry().right() + 6, 296);
    ClearRegionButton->move(GermanList->geometry().right() + 2, 292);
    RegionHint->setGeometry(5, 318, width() - 10, 30);
}

void TGeoObjEditImage::ShowItem(TGeoItem& item)
{
    TGeoObjEdit::ShowItem(item);
    // A capital is stored as its country's third field: German names only,
    // switched on and off with the country.
    const bool capital = item.CapitalOf != nullptr;
    EnglishList->setEnabled(!capital);
    for (FlatButton* button : m_buttons[1])
        button->setEnabled(!capital);
    DeactivatedBox->setEnabled(!capital);
    RegionHint->setVisible(!capital);
    SetPendingRegion(item.Region);
}

void TGeoObjEditImage::NewItem(TGeoItem& item)
{
    item.NamesGerman << m_dictionary.GetText(QStringLiteral("new_entry"));
    ShowItem(item);
    IsNew = true;
}

bool TGeoObjEditImage::AskName(QString& name)
{
    if (!InputQuery(m_dictionary, m_dictionary.GetText(QStringLiteral("question_name_title")),
                    m_dictionary.GetText(QStringLiteral("question_name_prompt")), name))
        return false;
    name = CleanItemName(name);
    return !name.isEmpty(); // an empty name is no name
}

void TGeoObjEditImage::AddName(QListWidget* list)
{
    if (!list->isEnabled())
        return;
    QString name;
    if (!AskName(name))
        return;
    list->addItem(name);
    list->setCurrentRow(list->count() - 1);
}

void TGeoObjEditImage::EditName(QListWidget* list)
{
    QListWidgetItem* entry = list->currentItem();
    if (!entry || !list->isEnabled())
        return;
    QString name = entry->text();
    if (AskName(name))
        entry->setText(name);
}

void TGeoObjEditImage::DeleteName(QListWidget* list)
{
    QListWidgetItem* entry = list->currentItem();
    if (!entry || !list->isEnabled())
        return;
    if (MessageDlg(m_dictionary, FormatText(m_dictionary.GetText(QStringLiteral("format_del")), {entry->text()}),
                   MsgDlgType::mtConfirmation, mbYes | mbNo) != mrYes)
        return;
    delete list->takeItem(list->row(entry));
}

void TGeoObjEditImage::ApplyEdits()
{
    Item->NamesGerman = ListEntries(GermanList);
    Item->NamesEnglish = ListEntries(EnglishList);
    if (!Item->CapitalOf) {
        Item->Region = m_region;
        // The capital is filled with its country.
        if (Item->Capital && Item->Capital->CapitalOf == Item)
            Item->Capital->Region = m_region;
    }
}

void TGeoObjEditImage::EditEnded(TGeoItem* item)
{
    ClearRegionButton->setEnabled(false);
    if (OnEditEnded)
        OnEditEnded(item);
}

// ------------------------------------------------------- TGeoObjEditGlobe

TGeoObjEditGlobe::TGeoObjEditGlobe(const TLangDictionary& dictionary, QWidget* parent)
    : TGeoObjEdit(dictionary, parent)
{
    setObjectName(QStringLiteral("TGeoObjEditGlobe"));
    ShowOnlyBox = new QCheckBox(dictionary.GetText(QStringLiteral("Question_OnlyShow")), this);
    ShowOnlyBox->setObjectName(QStringLiteral("ShowOnlyBox"));
    ShowOnlyBox->setGeometry(5, 290, 200, 20);
    m_okTop = 340;
}

void TGeoObjEditGlobe::ShowItem(TGeoItem& item)
{
    ShowOnlyBox->setChecked(item.State() == ItemState::ShowOnly);
    TGeoObjEdit::ShowItem(item);
}

void TGeoObjEditGlobe::ApplyEdits()
{
    // Deactivated, set after this, wins over show-only.
    Item->SetState(ShowOnlyBox->isChecked() ? ItemState::ShowOnly : ItemState::Open);
}
