#include "editor/IndexCatalogue.h"

#include "lesson/GeoIndex.h"
#include "lesson/Geoobj.h"
#include "lesson/LessonTypes.h"
#include "lesson/TKategorie.h"

#include <QCollator>
#include <QSet>

#include <algorithm>
#include <numeric>

namespace {

// The record's names of one language, "|"-separated: the first, and the
// second after ", " when there are more.
QString shownNames(const QString& names)
{
    const QStringList parts = names.split(u'|');
    if (parts.size() > 1)
        return parts[0] + QStringLiteral(", ") + parts[1];
    return parts.value(0);
}

bool holdsTerms(const QString& section)
{
    // The flags describe, the base map lists; neither holds terms to ask.
    if (section.toLower() == u"flaggen")
        return false;
    const QString letter = TKategorie::KindLetterOf(section);
    for (int kind = 1; kind <= 6; ++kind)
        if (letter == KindLetter(kind))
            return true;
    return false;
}

} // namespace

TIndexCatalogue::Entry TIndexCatalogue::MakeEntry(const QString& record, int number, const QString& section)
{
    Entry entry;
    entry.Record = record;
    entry.Number = number;
    entry.Section = section;
    entry.Text = record + u'=' + QString::number(number) + u'=' + section;
    entry.SearchText = entry.Text.toLower();
    entry.GermanName = shownNames(ExtractField(record, u'~', 1));
    entry.EnglishName = FieldCount(record, u'~') > 1 ? shownNames(ExtractField(record, u'~', 2)) : QString();
    return entry;
}

TIndexCatalogue::TIndexCatalogue(const TGeoIndex& index)
{
    QSet<QString> seen;
    for (const QString& section : index.ReadSections()) {
        // A section named twice is read once, as the index reads it.
        if (!holdsTerms(section) || seen.contains(section.toLower()))
            continue;
        seen.insert(section.toLower());
        for (const QString& line : index.ReadSectionValues(section)) {
            const qsizetype eq = line.indexOf(u'=');
            bool ok = false;
            const int number = line.left(eq).toInt(&ok);
            // Record 3496 is never offered; a key that is no term number
            // could not be written to a lesson, and 0 would end its list.
            if (!ok || number <= 0 || number == 3496)
                continue;
            m_entries.push_back(MakeEntry(line.mid(eq + 1), number, section));
        }
    }
    m_order.resize(m_entries.size());
    std::iota(m_order.begin(), m_order.end(), 0);
}

TIndexCatalogue TIndexCatalogue::FromEntries(std::vector<Entry> entries)
{
    TIndexCatalogue catalogue;
    catalogue.m_entries = std::move(entries);
    catalogue.m_order.resize(catalogue.m_entries.size());
    std::iota(catalogue.m_order.begin(), catalogue.m_order.end(), 0);
    return catalogue;
}

QString TIndexCatalogue::DisplayName(int index, int language) const
{
    const Entry& entry = At(index);
    const bool english = (language == 3 && !entry.EnglishName.isEmpty()) || entry.GermanName.isEmpty();
    const QString& name = english ? entry.EnglishName : entry.GermanName;
    return name.isEmpty() ? entry.Text : name;
}

void TIndexCatalogue::SortFor(int language)
{
    if (m_sortedFor == language)
        return;
    QCollator collator(language == 3 ? QLocale(QLocale::English) : QLocale(QLocale::German));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QString> names(m_entries.size());
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        names[i] = DisplayName(static_cast<int>(i), language);
    std::stable_sort(m_order.begin(), m_order.end(), [&](int a, int b) {
        const int byName = collator.compare(names[std::size_t(a)], names[std::size_t(b)]);
        if (byName != 0)
            return byName < 0;
        return m_entries[std::size_t(a)].Text < m_entries[std::size_t(b)].Text;
    });
    m_sortedFor = language;
}

std::vector<int> TIndexCatalogue::Filter(const QString& search) const
{
    if (search.isEmpty())
        return m_order;
    const QString needle = search.toLower();
    std::vector<int> found;
    for (const int i : m_order)
        if (m_entries[std::size_t(i)].SearchText.contains(needle))
            found.push_back(i);
    return found;
}
