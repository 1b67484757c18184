// Checks of the shipped geography: the index, the globe data, the standard
// lessons and their map pictures, as they are committed in data/.

#include "codec/GifCodec.h"
#include "globe/GlobeObjects.h"
#include "globe/GlobeStream.h"
#include "lesson/GeoIndex.h"
#include "lesson/ItemValues.h"
#include "lesson/LessonHeader.h"
#include "lesson/LessonValues.h"
#include "platform/AtomicFile.h"
#include "platform/FloodFill.h"
#include "platform/IniFile.h"

#include <QDir>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

const QString kData = QStringLiteral(ORBILO_DATA_DIR);
const QStringList kSections{QStringLiteral("Land"), QStringLiteral("Stadt"), QStringLiteral("Fluss"),
                            QStringLiteral("See"), QStringLiteral("Insel"), QStringLiteral("Staat")};

struct IndexRecord {
    QString section;
    QStringList fields;
};

// Every record of the index, by number.
const std::map<int, IndexRecord>& records()
{
    static const std::map<int, IndexRecord> all = [] {
        std::map<int, IndexRecord> out;
        const TGeoIndex index(kData + QStringLiteral("/Data/geodata.ini"));
        for (const QString& section : kSections)
            for (const QString& line : index.ReadSectionValues(section)) {
                const int eq = line.indexOf(u'=');
                int number = 0;
                EXPECT_TRUE(ParseDecimal(line.left(eq), number)) << line.toStdString();
                EXPECT_EQ(out.count(number), 0u) << "number used twice: " << number;
                out[number] = {section, line.mid(eq + 1).split(u'~')};
            }
        return out;
    }();
    return all;
}

QString kindSection(const QString& categorySection)
{
    static const std::map<QChar, QString> bySection{{u'L', QStringLiteral("Land")}, {u'C', QStringLiteral("Stadt")},
                                                    {u'F', QStringLiteral("Fluss")}, {u'S', QStringLiteral("See")},
                                                    {u'I', QStringLiteral("Insel")}, {u'T', QStringLiteral("Staat")}};
    if (categorySection == QLatin1String("Stadt"))
        return QStringLiteral("Stadt");
    if (categorySection == QLatin1String("Staat"))
        return QStringLiteral("Staat");
    const auto it = bySection.find(categorySection.at(0));
    return it == bySection.end() ? QString() : it->second;
}

QStringList lessonFiles()
{
    return QDir(kData + QStringLiteral("/Lektionen")).entryList({QStringLiteral("*.lek")}, QDir::Files, QDir::Name);
}

} // namespace

TEST(GeoIndex, EveryRecordParses)
{
    const auto& all = records();
    ASSERT_GT(all.size(), 1000u);
    std::map<QString, int> counts;
    for (const auto& [number, r] : all) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(r.section).arg(number).toStdString());
        ++counts[r.section];
        ASSERT_EQ(r.fields.size(), 6);
        EXPECT_FALSE(r.fields[0].isEmpty() && r.fields[1].isEmpty());
        for (const QString& names : {r.fields[0], r.fields[1]})
            EXPECT_FALSE(names.split(u'|').contains(QString())) << "empty name in " << names.toStdString();
        if (!r.fields[3].isEmpty()) {
            const QStringList pieces = r.fields[3].split(u'-');
            ASSERT_EQ(pieces.size(), 4);
            int value = 0;
            for (const QString& p : pieces)
                EXPECT_TRUE(p.isEmpty() || ParseDecimal(p, value)) << p.toStdString();
            if (!pieces[0].isEmpty()) {
                ParseDecimal(pieces[0], value);
                ASSERT_TRUE(all.count(value)) << "capital " << value << " missing";
                EXPECT_EQ(all.at(value).section, QStringLiteral("Stadt"));
            }
        }
        int position = 0;
        EXPECT_TRUE(ParseDecimal(r.fields[5], position)) << r.fields[5].toStdString();
    }
    EXPECT_GE(counts["Fluss"], 150);
    EXPECT_GE(counts["See"], 60);
    EXPECT_GE(counts["Insel"], 60);
    EXPECT_GE(counts["Staat"], 16 + 51 + 13 + 8 + 27);
}

TEST(GeoIndex, FixedNumbersAndSpellings)
{
    const auto& all = records();
    ASSERT_TRUE(all.count(207) && all.count(520));
    // The name swap of the new spelling needs the old spelling first.
    EXPECT_TRUE(all.at(207).fields[0].startsWith(QStringLiteral("Rußland|Russland")));
    EXPECT_TRUE(all.at(520).fields[0].startsWith(QStringLiteral("Weißrußland|Weißrussland")));
    EXPECT_EQ(all.at(207).section, QStringLiteral("Land"));
    EXPECT_EQ(all.count(3496), 0u);
}

// Each stream position holds exactly one record, which ends where the next
// begins, and whose object lies where its term is.
TEST(GlobeData, EveryPositionReadsItsObject)
{
    std::map<int, QRectF> checks; // number -> west, south, width, height in degrees
    for (const QString& line : QString::fromUtf8(readWholeFile(QStringLiteral(ORBILO_CHECKS_FILE))).split(u'\n')) {
        const QStringList f = line.split(u'\t');
        if (f.size() == 6 && !line.startsWith(u'#'))
            checks[f[1].toInt()] = QRectF(f[2].toDouble(), f[3].toDouble(), f[4].toDouble() - f[2].toDouble(),
                                          f[5].toDouble() - f[3].toDouble());
    }
    const QByteArray bytes = readWholeFile(kData + QStringLiteral("/Data/geodata.dat"));
    ASSERT_FALSE(bytes.isEmpty());
    std::map<qint64, int> byPosition;
    for (const auto& [number, r] : records())
        byPosition[r.fields[5].toLongLong()] = number;
    ASSERT_EQ(byPosition.size(), records().size()) << "two records share a position";

    TGlobeStreamReader reader(bytes);
    for (auto it = byPosition.begin(); it != byPosition.end(); ++it) {
        const int number = it->second;
        SCOPED_TRACE(number);
        reader.Seek(it->first);
        TGeoDataObject object(nullptr);
        ASSERT_NO_THROW(object.ReadProperties(reader));
        const auto next = std::next(it);
        EXPECT_EQ(reader.Position(), next == byPosition.end() ? bytes.size() : next->first);
        const QString section = records().at(number).section;
        if (section == QLatin1String("Stadt"))
            EXPECT_EQ(object.Chains().GetCount(), 0);
        else
            EXPECT_GT(object.Chains().GetCount(), 0);
        EXPECT_EQ(object.Closed(), section != QLatin1String("Stadt") && section != QLatin1String("Fluss"));
        ASSERT_TRUE(checks.count(number));
        const TPointLL c = object.GetCentroid();
        const QPointF degrees(double(c.Long) / GU_DEGREE, double(c.Lat) / GU_DEGREE);
        const QRectF& box = checks[number];
        EXPECT_TRUE(degrees.x() >= box.left() && degrees.x() <= box.right() && degrees.y() >= box.top()
                    && degrees.y() <= box.bottom())
            << "centroid " << degrees.x() << "," << degrees.y();
    }
}

// Rows of a hand-written table in tests/data, without comments.
std::vector<QStringList> tableRows(const QString& path, int columns)
{
    std::vector<QStringList> rows;
    for (const QString& line : QString::fromUtf8(readWholeFile(path)).split(u'\n')) {
        const QStringList f = line.split(u'\t');
        if (f.size() == columns && !line.startsWith(u'#'))
            rows.push_back(f);
    }
    return rows;
}

// The globe object of the term with that German name in that index section.
std::unique_ptr<TGeoDataObject> termObject(const QString& section, const QString& germanName)
{
    static const QByteArray bytes = readWholeFile(kData + QStringLiteral("/Data/geodata.dat"));
    for (const auto& [number, r] : records())
        if (r.section == section && r.fields[0].split(u'|').contains(germanName)) {
            TGlobeStreamReader reader(bytes);
            reader.Seek(r.fields[5].toLongLong());
            auto object = std::make_unique<TGeoDataObject>(nullptr);
            object->ReadProperties(reader);
            return object;
        }
    return nullptr;
}

TPointLL degreesToPoint(const QString& longitude, const QString& latitude)
{
    return PointLL(std::llround(longitude.toDouble() * GU_DEGREE),
                   static_cast<int32_t>(std::llround(latitude.toDouble() * GU_DEGREE)));
}

// A click on a place hits the term the place lies in, on both sides of the
// prime meridian and of 180°, and never a term it lies outside of.
TEST(GlobeData, WellKnownPlacesLieInTheirTerms)
{
    const auto rows = tableRows(QStringLiteral(ORBILO_PLACES_FILE), 6);
    EXPECT_GE(rows.size(), 30u);
    for (const QStringList& f : rows) {
        SCOPED_TRACE((f[2] + QStringLiteral(" in ") + f[1]).toStdString());
        const auto object = termObject(f[0], f[1]);
        ASSERT_NE(object, nullptr) << "no term of that name";
        const TPointLL place = degreesToPoint(f[3], f[4]);
        EXPECT_EQ(object->LLInObject(place, 0), f[5] == u"inside") << "in the rectangle: " << object->LLInObjectMER(place);
    }
}

// The centre of a country is where its main land is, also for countries with
// far-away islands and for those across 180°; it decides what the lesson
// view shows and where a marker goes.
TEST(GlobeData, CentresLieOnTheMainLand)
{
    const auto rows = tableRows(QStringLiteral(ORBILO_CENTRES_FILE), 6);
    EXPECT_GE(rows.size(), 15u);
    for (const QStringList& f : rows) {
        SCOPED_TRACE(f[1].toStdString());
        const auto object = termObject(f[0], f[1]);
        ASSERT_NE(object, nullptr) << "no term of that name";
        const TPointLL c = object->GetCentroid();
        const double lon = double(c.Long) / GU_DEGREE, lat = double(c.Lat) / GU_DEGREE;
        EXPECT_TRUE(lon >= f[2].toDouble() && lon <= f[4].toDouble() && lat >= f[3].toDouble() && lat <= f[5].toDouble())
            << "centre " << lon << "," << lat;
        // The whole term's rectangle goes the narrow way round.
        EXPECT_LT(double(object->ObjectMER().Width) / GU_DEGREE, 200.0);
    }
}

TEST(Lessons, OpenAndReferToTheIndex)
{
    const QStringList files = lessonFiles();
    ASSERT_GE(files.size(), 30);
    int pictureLessons = 0;
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        const IniFile file(kData + QStringLiteral("/Lektionen/") + name);
        EXPECT_EQ(LessonFile::Version(file), LessonFile::kNewestVersion);
        EXPECT_TRUE(LessonFile::IsStandardLesson(file));
        EXPECT_TRUE(LessonFile::HasContent(file));
        EXPECT_FALSE(LessonFile::CatalogueName(file, 2).isEmpty());
        EXPECT_FALSE(LessonFile::CatalogueName(file, 3).isEmpty());
        const int group = LessonFile::CatalogueGroup(file);
        EXPECT_TRUE(group >= 1 && group <= 6);
        if (LessonFile::IsPictureType(LessonFile::LessonType(file))) {
            ++pictureLessons;
            const QString bitmap = file.ReadString(QStringLiteral("Allgemeines"), QStringLiteral("Bitmap"));
            EXPECT_TRUE(QFile::exists(kData + QStringLiteral("/Lektionen/") + bitmap));
            for (const auto& [key, value] : file.ReadSectionEntries(QStringLiteral("Kategorien"))) {
                const int count = ReadItemCount(file, QStringLiteral("AKategorien"), key);
                EXPECT_GT(count, 0);
                for (int i = 1; i <= count; ++i) {
                    const TPictureItemValue item =
                        ParsePictureItemValue(file.ReadString(QStringLiteral("Kategorie") + key, QString::number(i)));
                    EXPECT_FALSE(item.NamesGerman.value(0).isEmpty()) << "item " << i;
                    EXPECT_FALSE(item.NamesEnglish.value(0).isEmpty()) << "item " << i;
                }
            }
            continue;
        }
        int items = 0;
        for (const QString& section : LessonFile::GlobeCategorySections(file)) {
            const QString indexSection = kindSection(section);
            ASSERT_FALSE(indexSection.isEmpty()) << section.toStdString();
            for (const auto& [key, value] : file.ReadSectionEntries(section)) {
                if (LessonFile::IsSettingsKey(key))
                    continue;
                const TGlobeItemValue item = ParseGlobeItemValue(value, {name, section, key});
                ++items;
                const auto it = records().find(item.Number);
                ASSERT_NE(it, records().end()) << "record " << item.Number;
                EXPECT_EQ(it->second.section, indexSection) << "record " << item.Number;
            }
        }
        EXPECT_GE(items, 5);
    }
    EXPECT_GE(pictureLessons, 6);
}

// Every seed point of a picture lesson lies in a white area, and the flood
// fill from one item's seeds reaches no other item's seed.
TEST(PictureLessons, SeedsFillTheirOwnWhiteArea)
{
    int mapsWithAreas = 0;
    for (const QString& name : lessonFiles()) {
        const IniFile file(kData + QStringLiteral("/Lektionen/") + name);
        if (!LessonFile::IsPictureType(LessonFile::LessonType(file)))
            continue;
        SCOPED_TRACE(name.toStdString());
        const QImage picture = GifCodec::toRgb32(GifCodec::decodeFile(
            kData + QStringLiteral("/Lektionen/") + file.ReadString(QStringLiteral("Allgemeines"), QStringLiteral("Bitmap"))));
        std::vector<std::vector<QPoint>> seeds;
        for (const auto& [key, value] : file.ReadSectionEntries(QStringLiteral("Kategorien"))) {
            const int count = ReadItemCount(file, QStringLiteral("AKategorien"), key);
            for (int i = 1; i <= count; ++i) {
                const QString region =
                    ParsePictureItemValue(file.ReadString(QStringLiteral("Kategorie") + key, QString::number(i))).Region;
                if (region.isEmpty())
                    continue;
                const QStringList f = region.split(u'&');
                ASSERT_EQ(f.size() % 2, 0) << region.toStdString();
                std::vector<QPoint> points;
                for (qsizetype k = 0; k < f.size(); k += 2)
                    points.push_back({f[k].toInt(), f[k + 1].toInt()});
                seeds.push_back(points);
            }
        }
        if (seeds.empty())
            continue; // numbered places only
        ++mapsWithAreas;
        for (size_t a = 0; a < seeds.size(); ++a) {
            QImage filled = picture;
            for (const QPoint& p : seeds[a]) {
                ASSERT_TRUE(picture.rect().contains(p));
                EXPECT_EQ(picture.pixel(p) & 0xFFFFFF, 0xFFFFFFu) << "seed " << p.x() << "," << p.y();
                FloodFill(filled, p, qRgb(255, 0, 0));
            }
            for (size_t b = 0; b < seeds.size(); ++b) {
                if (b == a)
                    continue;
                for (const QPoint& p : seeds[b]) {
                    EXPECT_NE(filled.pixel(p), qRgb(255, 0, 0))
                        << "items " << a + 1 << " and " << b + 1 << " share an area at " << p.x() << "," << p.y();
                }
            }
        }
    }
    EXPECT_GE(mapsWithAreas, 4);
}
