#pragma once

#include <QStyledItemDelegate>

class TDaten;

// The entries of the editor's category list, 40 pixels high: the name in
// bold in the category's colour, and under it the number of its entries.
class CategoryDelegate : public QStyledItemDelegate {
public:
    CategoryDelegate(TDaten& lesson, QObject* parent);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    TDaten& m_lesson;
};
