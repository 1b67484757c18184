#include "app/Lektionenliste.h"

#include "lesson/LessonHeader.h"
#include "platform/IniFile.h"

#include <QCollator>
#include <QDir>
#include <QLocale>
#include <QSet>
#include <QListWidget>
#include <algorithm>

TLektionenList::TLektionenList(QListWidget& list, QStringList lessonFolders, std::function<int()> language)
    : m_list(list), m_lessonFolders(std::move(lessonFolders)), m_language(std::move(language))
{
}

void TLektionenList::SetFilter(int group)
{
    if (group == Filter)
        return;
    Filter = group;
    Refill();
}

QStringList TLektionenList::CollectEntries(const QString& lessonFolder, int filter, int language)
{
    return CollectEntries(QStringList{lessonFolder}, filter, language);
}

QStringList TLektionenList::CollectEntries(const QStringList& lessonFolders, int filter, int language)
{
    QStringList entries;
    QSet<QString> seen;
    for (const QString& lessonFolder : lessonFolders) {
        const QDir folder(lessonFolder);
        const QStringList files = folder.entryList({QStringLiteral("*.lek")}, QDir::Files | QDir::Readable);
        for (const QString& name : files) {
            if (seen.contains(name.toCaseFolded()))
                continue;
            seen.insert(name.toCaseFolded());
            try {
                const std::unique_ptr<IniFile> file =
                    IniFile::OpenLimited(folder.filePath(name), LessonFile::kMaxFileBytes);
                const int group = LessonFile::CatalogueGroup(*file);
                if (filter >= 0 && group != filter)
                    continue;
                if (filter == -2 && LessonFile::IsStandardLesson(*file))
                    continue;
                if (!LessonFile::HasContent(*file))
                    continue;
                entries << LessonFile::CatalogueName(*file, language) + u';' + name;
            } catch (const std::exception&) {
                // Not a lesson one can open (far too large): it is not listed.
            }
        }
    }
    // German collation puts the umlauts with their letters, which reads right
    // in all three interface languages.
    QCollator collator(QLocale(QLocale::German, QLocale::Germany));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(entries.begin(), entries.end(),
              [&collator](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    return entries;
}

void TLektionenList::Refill()
{
    const QStringList entries = CollectEntries(m_lessonFolders, Filter, m_language ? m_language() : 1);
    m_list.setUpdatesEnabled(false);
    m_list.clear();
    m_list.addItems(entries);
    if (m_list.count() > 0)
        m_list.setCurrentRow(0);
    m_list.setUpdatesEnabled(true);
}
