#pragma once

#include <QListWidget>

// The owner-drawn lesson list: entries "display name;file name", drawn 19
// pixels high; "#" (or "¿") marks in the display name switch between normal
// and bold type.
class LessonListBox : public QListWidget {
public:
    explicit LessonListBox(const QString& objectName, QWidget* parent = nullptr);

    // The pieces of a display name, normal and bold alternating (the first
    // piece normal).
    static QStringList StylePieces(const QString& entry);
    static QString DisplayPart(const QString& entry);
    static QString FilePart(const QString& entry);
};
