#pragma once

#include <QIcon>
#include <QString>

class FlatButton;
class QLineEdit;
class QListWidget;
class QWidget;

// The look the editor's pages and dialogs share.
namespace EditorStyle {

// The pictures of the main window's image list, by their number there:
// 0 new, 1 edit, 2 delete, 3 load, 4 save, 5 copy, 6 paste, 8 down, 9 up,
// 13 zoom out, 14 zoom in.
QIcon GeoImage(int index);

// A flat edit field: white, a grey border, 21 pixels high.
QLineEdit* FlatEdit(const QString& objectName, QWidget* parent);

// A flat button with a glyph at (left, top) of the given size.
FlatButton* Button(const QString& objectName, const QIcon& glyph, QWidget* parent, int left, int top, int width,
                   int height);

// White and without a border; its entries are drawn by the caller's delegate.
void PlainList(QListWidget* list);

} // namespace EditorStyle
