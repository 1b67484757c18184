#include "widgets/LessonListBox.h"

#include <QPainter>
#include <QStyledItemDelegate>

namespace {

constexpr int kEntryHeight = 19;

class LessonDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return QSize(option.rect.width(), kEntryHeight);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(option.rect, selected ? QColor(0xDB, 0xDB, 0xDB) : option.palette.base().color());
        painter->setPen(selected ? QColor(Qt::black) : option.palette.text().color());
        QFont normal = option.font;
        QFont bold = normal;
        bold.setBold(true);
        int x = option.rect.left() + 5;
        const int top = option.rect.top() + 2;
        bool isBold = false;
        for (const QString& piece : LessonListBox::StylePieces(index.data(Qt::DisplayRole).toString())) {
            painter->setFont(isBold ? bold : normal);
            const QFontMetrics metrics(painter->font());
            painter->drawText(QPoint(x, top + metrics.ascent()), piece);
            x += metrics.horizontalAdvance(piece);
            isBold = !isBold;
        }
        if ((option.state & QStyle::State_HasFocus) && selected) {
            painter->setPen(QPen(QColor(0x60, 0x60, 0x60), 1, Qt::DotLine));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
        painter->restore();
    }
};

} // namespace

LessonListBox::LessonListBox(const QString& objectName, QWidget* parent) : QListWidget(parent)
{
    setObjectName(objectName);
    setFrameShape(QFrame::NoFrame);
    setUniformItemSizes(true);
    setItemDelegate(new LessonDelegate(this));
}

QString LessonListBox::DisplayPart(const QString& entry) { return entry.section(u';', 0, 0); }

QString LessonListBox::FilePart(const QString& entry) { return entry.section(u';', 1, 1); }

QStringList LessonListBox::StylePieces(const QString& entry)
{
    QString display = DisplayPart(entry);
    display.replace(u'¿', u'#');
    return display.split(u'#');
}
