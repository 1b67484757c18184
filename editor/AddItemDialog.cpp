#include "editor/AddItemDialog.h"

#include "editor/EditorStyle.h"
#include "i18n/LangDialogs.h"
#include "i18n/LangDictionary.h"
#include "widgets/Artwork.h"
#include "widgets/Background.h"
#include "widgets/FlatButton.h"
#include "widgets/GradientPanel.h"

#include <QAbstractListModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QScreen>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

constexpr int kEntryHeight = 20;

// Rivers and lakes blue, cities red, everything else black.
QColor sectionColour(const QString& section)
{
    if (section == u"Fluss" || section == u"See")
        return QColor(0x00, 0x00, 0xFF);
    if (section == u"Stadt")
        return QColor(0xFF, 0x00, 0x00);
    return Qt::black;
}

} // namespace

// The rows of the list: the catalogue entries the search found.
class TAddItemDialog::Model : public QAbstractListModel {
public:
    Model(const TIndexCatalogue& catalogue, int language, QObject* parent)
        : QAbstractListModel(parent), m_catalogue(catalogue), m_language(language)
    {
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        const TIndexCatalogue::Entry* entry = EntryAt(index.row());
        if (!entry)
            return {};
        if (role == Qt::DisplayRole)
            return m_catalogue.DisplayName(m_rows[std::size_t(index.row())], m_language);
        if (role == Qt::ForegroundRole)
            return sectionColour(entry->Section);
        return {};
    }
    const TIndexCatalogue::Entry* EntryAt(int row) const
    {
        if (row < 0 || row >= rowCount())
            return nullptr;
        return &m_catalogue.At(m_rows[std::size_t(row)]);
    }
    void SetLanguage(int language) { m_language = language; }
    void SetRows(std::vector<int> rows)
    {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }

private:
    const TIndexCatalogue& m_catalogue;
    int m_language;
    std::vector<int> m_rows;
};

namespace {

class EntryDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return {option.rect.width(), kEntryHeight};
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QRect r = option.rect;
        painter->save();
        painter->fillRect(r, selected ? QColor(0xEE, 0xEE, 0xEE) : QColor(Qt::white));
        painter->setPen(index.data(Qt::ForegroundRole).value<QColor>());
        painter->setFont(option.font);
        painter->drawText(QPoint(r.left() + 6, r.top() + 3 + option.fontMetrics.ascent()),
                          option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, r.width() - 10));
        if ((option.state & QStyle::State_HasFocus) && selected) {
            painter->setPen(QPen(QColor(0x60, 0x60, 0x60), 1, Qt::DotLine));
            painter->drawRect(r.adjusted(0, 0, -1, -1));
        }
        painter->restore();
    }
};

} // namespace

TAddItemDialog::TAddItemDialog(TIndexCatalogue& catalogue, const TLangDictionary& dictionary, QWidget* parent)
    : QDialog(parent), m_catalogue(catalogue), m_dictionary(dictionary)
{
    setObjectName(QStringLiteral("AddDialog"));
    setWindowTitle(dictionary.GetText(QStringLiteral("new_entry")));
    setFixedSize(400, 400);
    if (parent)
        setFont(parent->font());
    FillBackground(this);

    SearchEdit = EditorStyle::FlatEdit(QStringLiteral("SearchEdit"), this);
    SearchEdit->setGeometry(60, 8, 325, 21);
    SearchLabel = new QLabel(dictionary.GetText(QStringLiteral("Search")), this);
    SearchLabel->setObjectName(QStringLiteral("lbl_Search"));
    SearchLabel->move(10, 10);
    SearchLabel->adjustSize();
    SearchLabel->setBuddy(SearchEdit);

    EntryList = new QListView(this);
    EntryList->setObjectName(QStringLiteral("EntryList"));
    EntryList->setGeometry(10, 45, 373, 270);
    EntryList->setFrameShape(QFrame::NoFrame);
    EntryList->setUniformItemSizes(true);
    EntryList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    EntryList->setSelectionMode(QAbstractItemView::SingleSelection);
    EntryList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QPalette pal = EntryList->palette();
    pal.setColor(QPalette::Base, Qt::white);
    EntryList->setPalette(pal);
    EntryList->setItemDelegate(new EntryDelegate(EntryList));
    m_model = new Model(m_catalogue, dictionary.ActiveLanguage(), this);
    EntryList->setModel(m_model);
    connect(EntryList, &QListView::doubleClicked, this, [this] { Add(); });

    auto* bottom = new GradientPanel(this, QColor(0xB5, 0xB5, 0xB5), QColor(0xEE, 0xEE, 0xEE));
    bottom->setObjectName(QStringLiteral("BottomPanel"));
    bottom->setGeometry(0, height() - 37, width(), 37);
    AddButton = EditorStyle::Button(QStringLiteral("Question_Add"), EditorStyle::GeoImage(0), bottom, 10, 7, 120, 25);
    AddButton->setText(dictionary.GetText(QStringLiteral("Question_Add")));
    CancelButton =
        EditorStyle::Button(QStringLiteral("Cancel"), Artwork::Glyph(QStringLiteral("quit")), bottom, 130, 7, 120, 25);
    CancelButton->setText(dictionary.GetText(QStringLiteral("Cancel")));
    // A caption longer than the button ("Frage hinzufügen") widens it.
    AddButton->setFixedWidth(std::max(120, AddButton->sizeHint().width()));
    CancelButton->move(10 + AddButton->width(), 7);
    connect(AddButton, &QToolButton::clicked, this, [this] { Add(); });
    connect(CancelButton, &QToolButton::clicked, this, &QDialog::reject);

    // The list follows the search as it is typed.
    connect(SearchEdit, &QLineEdit::textEdited, this, [this](const QString& text) { FilterCatalogue(text); });
    SearchEdit->installEventFilter(this);
    EntryList->installEventFilter(this);
}

TAddItemDialog::~TAddItemDialog() = default;

void TAddItemDialog::Reset()
{
    // Listed by the names of the language the author reads.
    m_catalogue.SortFor(m_dictionary.ActiveLanguage());
    m_model->SetLanguage(m_dictionary.ActiveLanguage());
    SearchEdit->clear();
    FilterCatalogue(QString());
    SearchEdit->setFocus();
}

void TAddItemDialog::FilterCatalogue(const QString& search)
{
    m_model->SetRows(m_catalogue.Filter(search));
    if (m_model->rowCount() > 0)
        SelectRow(0);
}

int TAddItemDialog::EntryCount() const { return m_model->rowCount(); }

const TIndexCatalogue::Entry* TAddItemDialog::EntryAt(int row) const { return m_model->EntryAt(row); }

QString TAddItemDialog::DisplayNameAt(int row) const { return m_model->data(m_model->index(row), Qt::DisplayRole).toString(); }

const TIndexCatalogue::Entry* TAddItemDialog::SelectedEntry() const
{
    const QModelIndexList selected = EntryList->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? nullptr : EntryAt(selected.first().row());
}

void TAddItemDialog::SelectRow(int row)
{
    const QModelIndex index = m_model->index(row);
    EntryList->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    EntryList->scrollTo(index);
}

void TAddItemDialog::Add()
{
    if (!SelectedEntry()) {
        MessageDlg(m_dictionary, m_dictionary.GetText(QStringLiteral("question_sel")), MsgDlgType::mtInformation, mbOK);
        return;
    }
    accept();
}

void TAddItemDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (QScreen* shown = screen())
        move(shown->availableGeometry().center() - rect().center());
    SearchEdit->setFocus();
}

bool TAddItemDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == SearchEdit) {
                FilterCatalogue(SearchEdit->text());
                EntryList->setFocus();
                return true;
            }
            if (watched == EntryList) {
                Add();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}
