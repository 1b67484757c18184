#pragma once

#include <QString>
#include <vector>

class TGeoIndex;

// The terms of the geographic index that an author can add to a globe
// lesson: every record of the sections that hold a kind of term (not the
// flags, not the base map), with its number and section. Each entry's text
// is "record=number=section", so a search finds a term by its names, its
// numbers and its kind ("stadt" finds every city). Built once; a search
// scans texts lowered in advance and keeps the order of the names shown.
class TIndexCatalogue {
public:
    struct Entry {
        QString Record;
        int Number = 0;
        QString Section;
        QString Text;       // record=number=section
        QString SearchText; // Text in lower case
        QString GermanName; // the first name, and the second after ", "
        QString EnglishName;
    };

    TIndexCatalogue() = default;
    explicit TIndexCatalogue(const TGeoIndex& index);
    static TIndexCatalogue FromEntries(std::vector<Entry> entries);
    // An entry as the index would give it; a record without names is kept
    // (it is listed by its text).
    static Entry MakeEntry(const QString& record, int number, const QString& section);

    int Count() const { return static_cast<int>(m_entries.size()); }
    const Entry& At(int index) const { return m_entries[static_cast<std::size_t>(index)]; }

    // The name an entry is listed under: English in language 3 when it has
    // one, and whenever it lacks a German one.
    QString DisplayName(int index, int language) const;

    // Orders the entries by the names shown in that language; a search
    // keeps this order. Nothing happens when it is ordered so already.
    void SortFor(int language);
    int SortedFor() const { return m_sortedFor; }

    // The entries (in the sorted order) whose text contains the search
    // text without regard to case; every entry for an empty search.
    std::vector<int> Filter(const QString& search) const;

private:
    std::vector<Entry> m_entries;
    std::vector<int> m_order; // entry indexes, sorted
    int m_sortedFor = 0;
};
