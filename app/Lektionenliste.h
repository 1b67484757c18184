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
    TLektionenList(QListWidget& list, QString lessonFolder, std::function<int()> language);

    int Filter = -1; // 1..6, or -1 for every group

    void SetFilter(int group);
    void Refill();

    // The entries "display name;file name" of the folder for a group, sorted.
    static QStringList CollectEntries(const QString& lessonFolder, int filter, int language);

private:
    QListWidget& m_list;
    QString m_lessonFolder;
    std::function<int()> m_language;
};
