#include "lesson/MemoryPairings.h"

#include "lesson/GeoIndex.h"
#include "lesson/Geoobj.h"
#include "lesson/ItemValues.h"
#include "lesson/LessonHeader.h"
#include "lesson/LessonValues.h"
#include "lesson/TKategorie.h"
#include "platform/IniFile.h"

#include <QSet>

namespace MemoryPairings {

namespace {

// What one country or state can show on cards.
struct Cards {
    bool capital = false;
    bool flag = false;
    bool outline = false;
};

unsigned pairingsOf(const Cards& cards)
{
    unsigned bits = 0;
    for (int p = 0; p < kCount; ++p) {
        const CardKinds kinds = KindsOf(p);
        if ((!kinds.Capital || cards.capital) && (!kinds.Flag || cards.flag) && (!kinds.Outline || cards.outline))
            bits |= 1u << p;
    }
    return bits;
}

unsigned pictureLesson(const IniFile& file)
{
    unsigned bits = 0;
    for (const auto& [key, value] : ReadSectionPairs(file, QStringLiteral("Kategorien"))) {
        int count = 0;
        try {
            count = ReadItemCount(file, QStringLiteral("AKategorien"), key);
        } catch (const ConversionError&) {
            continue; // the lesson view reports it when the lesson opens
        }
        // As the picture map reads it: named "Länder", or any item with a
        // region, makes a countries category.
        bool countries = ExtractField(value, u'|', 1) == QStringLiteral("Länder");
        unsigned categoryBits = 0;
        const QString section = QStringLiteral("Kategorie") + key;
        for (int i = 1; i <= count; ++i) {
            const TPictureItemValue item = ParsePictureItemValue(file.ReadString(section, QString::number(i)));
            countries = countries || !item.Region.isEmpty();
            if (item.Deactivated || (item.NamesGerman.isEmpty() && item.NamesEnglish.isEmpty()))
                continue;
            categoryBits |= pairingsOf({!item.CapitalNames.isEmpty(), false, false});
        }
        if (countries)
            bits |= categoryBits;
    }
    return bits;
}

bool hasName(const QString& record)
{
    return !SplitNames(ExtractField(record, u'~', 1)).isEmpty() || !SplitNames(ExtractField(record, u'~', 2)).isEmpty();
}

unsigned globeLesson(const IniFile& file, const TGeoIndex& index)
{
    const QStringList sections = LessonFile::GlobeCategorySections(file);
    // A city the lesson lists itself is a term of its own, never a capital
    // card (the globe map links only the cities it adds for the capitals).
    QSet<int> listedCities;
    for (const QString& section : sections) {
        if (TKategorie::KindLetterOf(section) != u"C")
            continue;
        for (const auto& [key, value] : ReadSectionPairs(file, section)) {
            if (LessonFile::IsSettingsKey(key))
                continue;
            try {
                listedCities.insert(ParseGlobeItemValue(value, {}).Number);
            } catch (const ConversionError&) {
            }
        }
        break; // only the first cities category takes the capitals
    }

    unsigned bits = 0;
    for (const QString& section : sections) {
        const QString letter = TKategorie::KindLetterOf(section);
        if (letter != u"L" && letter != u"T")
            continue;
        const QString indexSection = letter == u"L" ? QStringLiteral("Land") : QStringLiteral("Staat");
        for (const auto& [key, value] : ReadSectionPairs(file, section)) {
            if (LessonFile::IsSettingsKey(key))
                continue;
            TGlobeItemValue item;
            try {
                item = ParseGlobeItemValue(value, {});
            } catch (const ConversionError&) {
                break; // the lesson does not open; the view says why
            }
            if (item.Number == 0)
                break; // the globe map reads no further in this category
            if (item.State != ItemState::Open)
                continue;
            const QString number = QString::number(item.Number);
            const QString record = index.ReadString(indexSection, number);
            if (!hasName(record))
                continue;
            Cards cards;
            const QStringList pieces = ExtractField(record, u'~', 4).split(u'-');
            int capital = -1;
            if (pieces.size() >= 2 && ParseDecimal(pieces[0], capital) && !listedCities.contains(capital))
                cards.capital = hasName(index.ReadString(QStringLiteral("Stadt"), QString::number(capital)));
            cards.flag = !index.ReadString(QStringLiteral("Flaggen"), number).isEmpty();
            const QString position = ExtractField(record, u'~', 6);
            cards.outline = FieldCount(record, u'~') >= 6 && !position.isEmpty() && position != u"null";
            bits |= pairingsOf(cards);
            if (bits == kAll)
                return bits;
        }
    }
    return bits;
}

} // namespace

CardKinds KindsOf(int pairing)
{
    switch (pairing) {
    case CountryFlag: return {true, false, false, true};
    case CountryOutline: return {true, false, true, false};
    case OutlineCapital: return {false, true, true, false};
    case OutlineFlag: return {false, false, true, true};
    default: return {true, true, false, false};
    }
}

unsigned Available(const IniFile& lessonFile, const TGeoIndex& index)
{
    if (LessonFile::IsPictureType(LessonFile::LessonType(lessonFile)))
        return pictureLesson(lessonFile);
    return globeLesson(lessonFile, index);
}

unsigned AvailableIn(const IniFile& lessonFile, const QString& programFolder)
{
    if (LessonFile::IsPictureType(LessonFile::LessonType(lessonFile)))
        return pictureLesson(lessonFile);
    return globeLesson(lessonFile, TGeoIndex(programFolder + QStringLiteral("Data/geodata.ini")));
}

} // namespace MemoryPairings
