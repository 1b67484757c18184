#include "editor/EditorStyle.h"

#include "widgets/Artwork.h"
#include "widgets/FlatButton.h"

#include <QLineEdit>
#include <QListWidget>

#include <utility>

namespace EditorStyle {

QIcon GeoImage(int index)
{
    static const std::pair<int, const char*> glyphs[] = {
        {0, "new"},  {1, "editor"}, {2, "delete"}, {3, "open"},      {4, "save"},
        {5, "copy"}, {6, "paste"},  {8, "down"},   {9, "up"},        {13, "zoom_out"},
        {14, "zoom_in"},
    };
    for (const auto& [number, name] : glyphs)
        if (number == index)
            return Artwork::Glyph(QString::fromLatin1(name));
    return {};
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
