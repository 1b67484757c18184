#include "editor/CategoryDelegate.h"

#include "i18n/MainDictionary.h"
#include "lesson/TDaten.h"

#include <QPainter>

namespace {

constexpr int kEntryHeight = 40;

} // namespace

CategoryDelegate::CategoryDelegate(TDaten& lesson, QObject* parent) : QStyledItemDelegate(parent), m_lesson(lesson) {}

QSize CategoryDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return {option.rect.width(), kEntryHeight};
}

void CategoryDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const auto row = static_cast<std::size_t>(index.row());
    if (row >= m_lesson.Categories.size())
        return;
    const TKategorie& category = *m_lesson.Categories[row];
    const bool selected = option.state & QStyle::State_Selected;
    const QRect r = option.rect;
    painter->save();
    painter->fillRect(r, selected ? QColor(0xEE, 0xEE, 0xEE) : QColor(Qt::white));
    QFont bold = option.font;
    bold.setBold(true);
    painter->setFont(bold);
    painter->setPen(ToQColor(category.Color));
    const QFontMetrics boldMetrics(bold);
    painter->drawText(QPoint(r.left() + 6, r.top() + 6 + boldMetrics.ascent()),
                      boldMetrics.elidedText(category.DisplayName(), Qt::ElideRight, r.width() - 10));
    QFont small(QStringLiteral("Arial"), 7);
    painter->setFont(small);
    painter->setPen(option.palette.color(QPalette::WindowText));
    // Every item counts, also the ones the map made (capitals, parts).
    const QString count =
        QString::number(category.Items.size()) + u' ' + MainDictionary().GetText(QStringLiteral("items"));
    painter->drawText(QPoint(r.left() + 7, r.top() + 22 + QFontMetrics(small).ascent()), count);
    if ((option.state & QStyle::State_HasFocus) && selected) {
        painter->setPen(QPen(QColor(0x60, 0x60, 0x60), 1, Qt::DotLine));
        painter->drawRect(r.adjusted(0, 0, -1, -1));
    }
    painter->restore();
}
