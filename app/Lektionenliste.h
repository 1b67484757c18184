#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QListWidget;

// The lesson catalogue's list logic: the lesson files of the lesson folder,
// filtered by catalogue group, with their display names.
class TLektionenList {
public:
    // `language` tells the current interface language when the list is filled.
    // The folders are listed together; a file name in an earlier folder
    // hides the same name in a later one (the user's own lessons come first).
    TLektionenList(QListWidget& list, QStringList lessonFolders, std::function<int()> language);

    int Filter = -1; // 1..6, -1 for every group, -2 every group without the standard lessons

    void SetFilter(int group);
    void Refill();

    // The entries "display name;file name" of the folder for a group, sorted.
    static QStringList CollectEntries(const QString& lessonFolder, int filter, int language);
    static QStringList CollectEntries(const QStringList& lessonFolders, int filter, int language);

private:
    QListWidget& m_list;
    QStringList m_lessonFolders;
    std::function<int()> m_language;
};
