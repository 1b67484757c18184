#include "editor/EditorStyle.h"

#include "widgets/Artwork.h"
#include "widgets/FlatButton.h"

#include <QLineEdit>
#include <QListWidget>

namespace EditorStyle {

QIcon GeoImage(int index)
{
    switch (index) {
    case 0:
        return Artwork::Glyph(QStringLiteral("new"));
    case 1:
        return Artwork::Glyph(QStringLiteral("editor"));
    case 2:
        return Artwork::Glyph(QStringLiteral("delete"));
    case 8:
        return Artwork::Glyph(QStringLiteral("down"));
    case 9:
        return Artwork::Glyph(QStringLiteral("up"));
    default:
        return {};
    }
}

QLineEdit* FlatEdit(const QString& objectName, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setFixedHeight(21);
    edit->setFrame(false);
    // White whether focused or not, with the thin grey border of the program's edits.
    edit->setStyleSheet(QStringLiteral("QLineEdit { background: #FFFFFF; border: 1px solid #808080; padding: 0 2px; }"));
    return edit;
}

FlatButton* Button(const QString& objectName, const QIcon& glyph, QWidget* parent, int left, int top, int width,
                   int height)
{
    auto* button = new FlatButton(objectName, glyph, parent);
    button->setFixedSize(width, height);
    button->move(left, top);
    return button;
}

void PlainList(QListWidget* list)
{
    list->setFrameShape(QFrame::NoFrame);
    list->setUniformItemSizes(true);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette pal = list->palette();
    pal.setColor(QPalette::Base, Qt::white);
    list->setPalette(pal);
}

} // namespace EditorStyle
