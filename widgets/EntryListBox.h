#pragma once

#include <QListWidget>
#include <QPixmap>
#include <vector>

// An owner-drawn list of entries "name|number": the language lists (the
// number is the index of a flag picture) and the user lists. Entries are
// 17 pixels high; the selected one is drawn on 0xDBDBDB with black text.
class EntryListBox : public QListWidget {
public:
    enum class Kind { Language, User };

    EntryListBox(const QString& objectName, Kind kind, QWidget* parent = nullptr);

    void setEntries(const QStringList& entries);
    QStringList entries() const;
    QString entry(int row) const;
    // The name part and the number part of an entry.
    static QString namePart(const QString& entry);
    static QString numberPart(const QString& entry);

    void setFlagPictures(std::vector<QPixmap> flags) { m_flags = std::move(flags); }
    Kind kind() const { return m_kind; }
    const QPixmap* flagPicture(int index) const;

private:
    Kind m_kind;
    std::vector<QPixmap> m_flags;
};

// The flag pictures of the language lists: 0 German, 1 British; 12 pixels high.
std::vector<QPixmap> LanguageFlagPictures();
