#include "editor/GeoInputEditor.h"

#include "editor/EditorStyle.h"
#include "editor/GeoObjEdit.h"
#include "i18n/LangDialogs.h"
#include "i18n/MainDictionary.h"
#include "lesson/Geoobj.h"
#include "lesson/TDaten.h"
#include "maps/GeoVisual.h"
#include "widgets/FlatButton.h"

#include <QComboBox>
#include <QListWidget>
#include <QPainter>
#include <QScrollBar>
#include <QShortcut>
#include <QStyledItemDelegate>

namespace {

constexpr int kWidth = 200;         // W, as every question panel
constexpr int kContentHeight = 380; // room for the item edit panel's buttons
constexpr int kEntryHeight = 20;

// The entries of the question list: the item's number (picture lessons) and
// name; switched-off questions in grey.
class QuestionDelegate : public QStyledItemDelegate {
public:
    QuestionDelegate(TGeoInputEditor& editor) : QStyledItemDelegate(editor.QuestionList), m_editor(editor) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return {option.rect.width(), kEntryHeight};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const TGeoItem* item = m_editor.ItemOfEntry(index.row());
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(option.rect, selected ? QColor(0xEE, 0xEE, 0xEE) : QColor(Qt::white));
        const bool off = item && item->State() == ItemState::Deactivated;
        painter->setPen(off ? QColor(0x80, 0x80, 0x80) : QColor(Qt::black));
        painter->setFont(option.font);
        const int baseline = option.rect.top() + 3 + option.fontMetrics.ascent();
        int nameLeft = option.rect.left() + 6;
        if (m_editor.Numbered && item) {
            painter->drawText(QPoint(nameLeft, baseline), QString::number(item->Number));
            nameLeft = option.rect.left() + 25;
        }
        const QString name = item ? item->DisplayName() : QString();
        painter->drawText(QPoint(nameLeft, baseline),
                          option.fontMetrics.elidedText(name, Qt::ElideRight, option.rect.right() - nameLeft - 2));
        if ((option.state & QStyle::State_HasFocus) && selected) {
            painter->setPen(QPen(QColor(0x60, 0x60, 0x60), 1, Qt::DotLine));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
        painter->restore();
    }

private:
    TGeoInputEditor& m_editor;
};

void onKey(QWidget* widget, const QKeySequence& keys, std::function<void()> action)
{
    auto* shortcut = new QShortcut(keys, widget, nullptr, nullptr, Qt::WidgetShortcut);
    QObject::connect(shortcut, &QShortcut::activated, widget, std::move(action));
}

} // namespace

void RenumberPictureLesson(TDaten& lesson)
{
    int counter = 1;
    for (const auto& category : lesson.Categories)
        for (const auto& item : category->Items)
            if (!item->CapitalOf)
                item->Number = counter++;
    for (const auto& category : lesson.Categories)
        for (const auto& item : category->Items)
            if (item->CapitalOf)
                item->Number = item->CapitalOf->Number;
}

TGeoInputEditor::TGeoInputEditor(QWidget* owner, TDaten& lesson) : TGeoInput(owner, lesson), m_content(new QWidget)
{
    setObjectName(QStringLiteral("TGeoInputEditor"));
    m_content->setObjectName(QStringLiteral("QuestionEditorContent"));
    m_content->setFixedSize(kWidth, kContentHeight);
    setWidget(m_content);
    const TLangDictionary& dictionary = MainDictionary();
    const int w = kWidth - 15;

    CategoryBox = new QComboBox(m_content);
    CategoryBox->setObjectName(QStringLiteral("CategoryBox"));
    CategoryBox->setGeometry(5, 5, w, 21);
    QPalette pal = CategoryBox->palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Button, Qt::white);
    CategoryBox->setPalette(pal);
    connect(CategoryBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            RefillQuestions(-10);
    });

    QuestionList = new QListWidget(m_content);
    QuestionList->setObjectName(QStringLiteral("QuestionList"));
    QuestionList->setGeometry(5, 30, w, 200);
    EditorStyle::PlainList(QuestionList);
    QuestionList->setItemDelegate(new QuestionDelegate(*this));
    connect(QuestionList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (TGeoItem* item = ItemOfEntry(row))
            SelectItem(item);
    });
    connect(QuestionList, &QListWidget::itemDoubleClicked, this, [this] { EditQuestion(); });

    const auto button = [&](const char* key, int glyph, int left, int top, int width) {
        FlatButton* b = EditorStyle::Button(QString::fromLatin1(key), EditorStyle::GeoImage(glyph), m_content, left, top,
                                            width, 25);
        b->setText(dictionary.GetText(QString::fromLatin1(key)));
        return b;
    };
    NewButton = button("Question_New", 0, 5, 250, w);
    EditButton = button("Question_Edit", 1, 5, 280, w);
    DeleteButton = button("Question_Delete", 2, 5, 310, w);
    DownButton = button("Down", 8, 5, 340, w / 2);
    UpButton = button("Up", 9, 5 + w / 2, 340, w / 2);
    connect(NewButton, &QToolButton::clicked, this, [this] { NewQuestion(); });
    connect(EditButton, &QToolButton::clicked, this, [this] { EditQuestion(); });
    connect(DeleteButton, &QToolButton::clicked, this, [this] { DeleteQuestion(); });
    connect(DownButton, &QToolButton::clicked, this, [this] { MoveQuestion(+1); });
    connect(UpButton, &QToolButton::clicked, this, [this] { MoveQuestion(-1); });

    // What an author expects of a list: Delete deletes, Enter edits,
    // Insert adds, Ctrl with an arrow moves.
    onKey(QuestionList, QKeySequence(Qt::Key_Delete), [this] { DeleteQuestion(); });
    onKey(QuestionList, QKeySequence(Qt::Key_Return), [this] { EditQuestion(); });
    onKey(QuestionList, QKeySequence(Qt::Key_Enter), [this] { EditQuestion(); });
    onKey(QuestionList, QKeySequence(Qt::Key_Insert), [this] { NewQuestion(); });
    onKey(QuestionList, QKeySequence(Qt::CTRL | Qt::Key_Up), [this] { MoveQuestion(-1); });
    onKey(QuestionList, QKeySequence(Qt::CTRL | Qt::Key_Down), [this] { MoveQuestion(+1); });
}

TGeoInputEditor::~TGeoInputEditor() = default;

void TGeoInputEditor::SetItemEditPanel(TGeoObjEdit* panel)
{
    m_panel = panel;
    if (!panel)
        return;
    panel->setParent(m_content);
    panel->setGeometry(0, 0, m_content->width(), m_content->height());
    panel->hide();
    panel->OnClosed = [this] { ClosePanel(); };
}

void TGeoInputEditor::SetCanAddQuestions(bool can)
{
    m_canAdd = can;
    NewButton->setEnabled(can);
}

void TGeoInputEditor::Modified()
{
    if (OnModified)
        OnModified(this);
}

void TGeoInputEditor::Refresh() { RefillCategories(); }

void TGeoInputEditor::RefillCategories()
{
    int index = CategoryBox->currentIndex();
    {
        const QSignalBlocker block(CategoryBox);
        CategoryBox->clear();
        for (const auto& category : Lesson.Categories)
            CategoryBox->addItem(category->DisplayName());
        if (index < 0 || index >= CategoryBox->count())
            index = 0;
        CategoryBox->setCurrentIndex(CategoryBox->count() > 0 ? index : -1);
    }
    RefillQuestions(-10);
}

TKategorie* TGeoInputEditor::SelectedCategory() const
{
    const int index = CategoryBox->currentIndex();
    if (index < 0 || index >= static_cast<int>(Lesson.Categories.size()))
        return nullptr;
    return Lesson.Categories[static_cast<std::size_t>(index)].get();
}

TGeoItem* TGeoInputEditor::ItemOfEntry(int row) const
{
    const TKategorie* category = SelectedCategory();
    if (!category || row < 0 || row >= QuestionList->count())
        return nullptr;
    // The entry names its item's position after the last "|".
    bool ok = false;
    const int position = QuestionList->item(row)->text().section(u'|', -1).toInt(&ok);
    if (!ok || position < 0 || position >= static_cast<int>(category->Items.size()))
        return nullptr;
    return category->Items[static_cast<std::size_t>(position)].get();
}

int TGeoInputEditor::RowOf(const TGeoItem* item) const
{
    for (int row = 0; row < QuestionList->count(); ++row)
        if (ItemOfEntry(row) == item)
            return row;
    return -1;
}

TGeoItem* TGeoInputEditor::SelectedQuestion() const { return ItemOfEntry(QuestionList->currentRow()); }

void TGeoInputEditor::SelectQuestion(TGeoItem* item)
{
    QuestionList->setCurrentRow(RowOf(item));
}

void TGeoInputEditor::RefillQuestions(int delta) { Refill(delta == -10 ? nullptr : SelectedQuestion()); }

void TGeoInputEditor::Refill(TGeoItem* remembered)
{
    const int scroll = QuestionList->verticalScrollBar()->value();
    const QSignalBlocker block(QuestionList);
    QuestionList->setUpdatesEnabled(false);
    QuestionList->clear();
    if (Numbered)
        RenumberPictureLesson(Lesson);
    if (const TKategorie* category = SelectedCategory()) {
        QStringList entries;
        entries.reserve(static_cast<qsizetype>(category->Items.size()));
        for (std::size_t i = 0; i < category->Items.size(); ++i) {
            const TGeoItem& item = *category->Items[i];
            if (!item.Auxiliary)
                entries << item.DisplayName() + u'|' + QString::number(i);
        }
        QuestionList->addItems(entries);
    }
    // The moved or edited question stays selected, found again by itself:
    // a neighbour it changed places with may be one that is not listed.
    if (remembered)
        QuestionList->setCurrentRow(RowOf(remembered));
    QuestionList->verticalScrollBar()->setValue(scroll);
    if (QListWidgetItem* current = QuestionList->currentItem())
        QuestionList->scrollToItem(current, QAbstractItemView::EnsureVisible);
    QuestionList->setUpdatesEnabled(true);
}

void TGeoInputEditor::OpenPanel()
{
    m_panel->setGeometry(0, 0, m_content->width(), m_content->height());
    m_panel->raise();
    m_panel->show();
    ensureVisible(0, 0);
}

void TGeoInputEditor::ClosePanel() { QuestionList->setFocus(); }

void TGeoInputEditor::NewQuestion()
{
    if (m_panel && m_panel->Editing())
        return;
    if (Map && Map->AddItemsFromDatabase()) {
        if (OnCategoriesChanged)
            OnCategoriesChanged(this);
        return;
    }
    TKategorie* category = SelectedCategory();
    if (!m_canAdd || !category || !m_panel)
        return;
    auto item = std::make_unique<TGeoItem>(category);
    TGeoItem* added = item.get();
    m_panel->OnDone = [this, added](QObject*) {
        RefillQuestions(0);
        SelectQuestion(added);
        Modified();
    };
    OpenPanel();
    m_panel->EditNewItem(std::move(item));
    m_panel->GermanList->setFocus();
}

void TGeoInputEditor::EditQuestion()
{
    TGeoItem* item = SelectedQuestion();
    if (!item || !m_panel || m_panel->Editing())
        return;
    m_panel->OnDone = [this](QObject*) {
        RefillQuestions(0);
        Modified();
    };
    OpenPanel();
    m_panel->ShowItem(*item);
    m_panel->GermanList->setFocus();
}

void TGeoInputEditor::DeleteQuestion()
{
    TGeoItem* item = SelectedQuestion();
    if (!item || (m_panel && m_panel->Editing()))
        return;
    const TLangDictionary& dictionary = MainDictionary();
    if (item->CapitalOf) {
        // A capital goes only together with its country.
        if (MessageDlg(dictionary, FormatText(dictionary.GetText(QStringLiteral("format_capital")), {item->DisplayName()}),
                       MsgDlgType::mtConfirmation, mbYes | mbNo) != mrYes)
            return;
        item = item->CapitalOf;
    } else if (MessageDlg(dictionary, FormatText(dictionary.GetText(QStringLiteral("format_del")), {item->DisplayName()}),
                          MsgDlgType::mtConfirmation, mbYes | mbNo) != mrYes) {
        return;
    }
    SelectItem(nullptr);
    CurrentItem = nullptr;
    Lesson.RemoveItem(item);
    if (OnItemsRemoved)
        OnItemsRemoved();
    RefillQuestions(-10);
    Modified();
}

void TGeoInputEditor::MoveQuestion(int delta)
{
    TGeoItem* item = SelectedQuestion();
    TKategorie* category = SelectedCategory();
    if (!item || !category || (m_panel && m_panel->Editing()))
        return;
    auto& items = category->Items;
    const auto at = std::find_if(items.begin(), items.end(), [item](const auto& p) { return p.get() == item; });
    const auto position = at - items.begin();
    const auto target = position + delta;
    if (at == items.end() || target < 0 || target >= static_cast<std::ptrdiff_t>(items.size()))
        return;
    std::swap(items[static_cast<std::size_t>(position)], items[static_cast<std::size_t>(target)]);
    Refill(item); // the entries named positions; the moved question stays selected
    Modified();
}
