#include "widgets/EntryListBox.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyledItemDelegate>

namespace {

constexpr int kEntryHeight = 17;

class EntryDelegate : public QStyledItemDelegate {
public:
    explicit EntryDelegate(EntryListBox* list) : QStyledItemDelegate(list), m_list(list) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return QSize(option.rect.width(), kEntryHeight);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QString entry = index.data(Qt::DisplayRole).toString();
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(option.rect, selected ? QColor(0xDB, 0xDB, 0xDB) : option.palette.base().color());
        painter->setPen(selected ? QColor(Qt::black) : option.palette.text().color());
        const QRect r = option.rect;
        int textLeft = r.left() + 5;
        if (m_list->kind() == EntryListBox::Kind::Language) {
            if (const QPixmap* flag = m_list->flagPicture(EntryListBox::numberPart(entry).toInt()))
                painter->drawPixmap(r.left() + 5, r.top() + 2, *flag);
            textLeft = r.left() + 27;
        }
        const QRect textRect(textLeft, r.top() + 1, r.right() - textLeft, r.height() - 1);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, EntryListBox::namePart(entry));
        if (option.state & QStyle::State_HasFocus && m_list->hasFocus()) {
            painter->setPen(QPen(QColor(0x60, 0x60, 0x60), 1, Qt::DotLine));
            painter->drawRect(r.adjusted(0, 0, -1, -1));
        }
        painter->restore();
    }

private:
    EntryListBox* m_list;
};

} // namespace

EntryListBox::EntryListBox(const QString& objectName, Kind kind, QWidget* parent) : QListWidget(parent), m_kind(kind)
{
    setObjectName(objectName);
    setItemDelegate(new EntryDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    if (kind == Kind::Language)
        m_flags = LanguageFlagPictures();
}

void EntryListBox::setEntries(const QStringList& entries)
{
    clear();
    addItems(entries);
}

QStringList EntryListBox::entries() const
{
    QStringList result;
    for (int i = 0; i < count(); ++i)
        result << item(i)->text();
    return result;
}

QString EntryListBox::entry(int row) const
{
    const QListWidgetItem* it = item(row);
    return it ? it->text() : QString();
}

QString EntryListBox::namePart(const QString& entry)
{
    const qsizetype bar = entry.lastIndexOf(u'|');
    return bar < 0 ? entry : entry.left(bar);
}

QString EntryListBox::numberPart(const QString& entry)
{
    const qsizetype bar = entry.lastIndexOf(u'|');
    return bar < 0 ? QString() : entry.mid(bar + 1);
}

const QPixmap* EntryListBox::flagPicture(int index) const
{
    return index >= 0 && index < static_cast<int>(m_flags.size()) ? &m_flags[static_cast<size_t>(index)] : nullptr;
}

std::vector<QPixmap> LanguageFlagPictures()
{
    constexpr int w = 18, h = 12;
    QPixmap german(w, h);
    {
        QPainter p(&german);
        p.fillRect(0, 0, w, 4, QColor(0, 0, 0));
        p.fillRect(0, 4, w, 4, QColor(0xDD, 0x00, 0x00));
        p.fillRect(0, 8, w, 4, QColor(0xFF, 0xCE, 0x00));
    }
    QPixmap british(w, h);
    {
        QPainter p(&british);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor blue(0x01, 0x21, 0x69), red(0xC8, 0x10, 0x2E);
        p.fillRect(0, 0, w, h, blue);
        p.setPen(QPen(Qt::white, 3));
        p.drawLine(0, 0, w, h);
        p.drawLine(0, h, w, 0);
        p.setPen(QPen(red, 1));
        p.drawLine(0, 0, w, h);
        p.drawLine(0, h, w, 0);
        p.fillRect(0, 4, w, 4, Qt::white);
        p.fillRect(7, 0, 4, h, Qt::white);
        p.fillRect(0, 5, w, 2, red);
        p.fillRect(8, 0, 2, h, red);
    }
    return {german, british};
}
