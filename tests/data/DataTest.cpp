// Checks of the shipped geography: the index, the globe data, the standard
// lessons and their map pictures, as they are committed in data/.

#include "codec/GifCodec.h"
#include "globe/GlobeObjects.h"
#include "globe/GlobeStream.h"
#include "learning/FlagPainter.h"
#include "lesson/GeoIndex.h"
#include "lesson/ItemValues.h"
#include "lesson/LessonHeader.h"
#include "lesson/LessonValues.h"
#include "platform/AtomicFile.h"
#include "platform/FloodFill.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QPainter>
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
// begins, and whose object lies in the rectangle the tool wrote it in: index
// and stream agree. Where terms really lie is for the hand-written facts.
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

// The number of the term with that German name in that index section, or 0.
int termNumber(const QString& section, const QString& germanName)
{
    for (const auto& [number, r] : records())
        if (r.section == section && r.fields[0].split(u'|').contains(germanName))
            return number;
    return 0;
}

// The globe object of a record.
std::unique_ptr<TGeoDataObject> recordObject(int number)
{
    static const QByteArray bytes = readWholeFile(kData + QStringLiteral("/Data/geodata.dat"));
    const auto it = records().find(number);
    if (it == records().end() || it->second.fields[5] == u"null")
        return nullptr;
    TGlobeStreamReader reader(bytes);
    reader.Seek(it->second.fields[5].toLongLong());
    auto object = std::make_unique<TGeoDataObject>(nullptr);
    object->ReadProperties(reader);
    return object;
}

// The globe object of the term with that German name in that index section.
std::unique_ptr<TGeoDataObject> termObject(const QString& section, const QString& germanName)
{
    const int number = termNumber(section, germanName);
    return number ? recordObject(number) : nullptr;
}

// Degrees from a point to the nearest edge of an object, longitudes shortened
// by the cosine of the point's latitude; 0 inside an area.
double degreesOff(TGeoDataObject& object, const TPointLL& p)
{
    if (object.Closed() && object.LLInObject(p, 0))
        return 0;
    const double k = std::cos(double(p.Lat) / GU_DEGREE * M_PI / 180), px = double(p.Long) / GU_DEGREE * k,
                 py = double(p.Lat) / GU_DEGREE;
    double best = 1e9;
    for (int c = 0; c < object.Chains().GetCount(); ++c) {
        const TPointStore* chain = object.Chains().Chain(c);
        for (int i = 0; chain && i < chain->GetCount(); ++i) {
            const TPointLL a = chain->GetLL(i), b = chain->GetLL(i + 1 < chain->GetCount() ? i + 1 : 0);
            const double ax = double(a.Long) / GU_DEGREE * k, ay = double(a.Lat) / GU_DEGREE;
            const double dx = double(b.Long) / GU_DEGREE * k - ax, dy = double(b.Lat) / GU_DEGREE - ay;
            const double len2 = dx * dx + dy * dy;
            const double t = len2 > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / len2, 0.0, 1.0) : 0;
            best = std::min(best, std::hypot(px - ax - t * dx, py - ay - t * dy));
        }
    }
    return best;
}

// A piece of the numbers field: 1 capital, 4 area.
int numberPiece(const IndexRecord& r, int piece)
{
    return r.fields[3].isEmpty() ? 0 : r.fields[3].split(u'-').value(piece - 1).toInt();
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

// Beneath every globe lesson lies the land of the whole world, every
// country record, and over it the big lakes that the country outlines count
// as land.
TEST(GeoIndex, BaseMapHoldsTheWorldsLand)
{
    const TGeoIndex index(kData + QStringLiteral("/Data/geodata.ini"));
    std::set<int> land, lakes;
    for (const QString& line : index.ReadSectionValues(QStringLiteral("Grundkarte"))) {
        const QString code = line.mid(line.indexOf(u'=') + 1);
        int number = 0;
        ASSERT_TRUE(ParseDecimal(code.mid(1), number)) << code.toStdString();
        ASSERT_TRUE(records().count(number)) << code.toStdString();
        const IndexRecord& r = records().at(number);
        EXPECT_NE(r.fields[5], u"null") << code.toStdString() << " has nothing to draw";
        EXPECT_EQ(r.section, code.startsWith(u'S') ? QStringLiteral("See") : QStringLiteral("Land")) << code.toStdString();
        (code.startsWith(u'S') ? lakes : land).insert(number);
    }
    for (const auto& [number, r] : records())
        if (r.section == QLatin1String("Land"))
            EXPECT_TRUE(land.count(number)) << r.fields[0].toStdString() << " is not in the base map";
    for (const char* lake : {"Oberer See", "Michigansee", "Huronsee", "Eriesee", "Ontariosee", "Victoriasee",
                             "Tanganjikasee", "Malawisee", "Ladogasee", "Onegasee", "Baikalsee", "Titicacasee",
                             "Vänern", "Genfer See", "Bodensee", "Plattensee"})
        EXPECT_TRUE(lakes.count(termNumber(QStringLiteral("See"), QString::fromUtf8(lake)))) << lake << " is drawn as land";
}

// Capitals as an atlas gives them: the first name is the one the program
// shows, every name listed is an accepted answer, and the capital lies in
// its country.
TEST(GeoIndex, CapitalsAreTheRealOnes)
{
    const auto rows = tableRows(QStringLiteral(ORBILO_CAPITALS_FILE), 2);
    EXPECT_GE(rows.size(), 60u);
    for (const QStringList& f : rows) {
        SCOPED_TRACE(f[0].toStdString());
        const int country = termNumber(QStringLiteral("Land"), f[0]);
        const int capital = country ? numberPiece(records().at(country), 1) : 0;
        if (!records().count(capital)) {
            ADD_FAILURE() << (country ? "no capital" : "no country of that name");
            continue;
        }
        const IndexRecord& city = records().at(capital);
        const QStringList names = f[1].split(u'|');
        EXPECT_EQ(city.fields[0].split(u'|').value(0).toStdString(), names[0].toStdString());
        const QStringList accepted = city.fields[0].split(u'|') + city.fields[1].split(u'|') + city.fields[2].split(u'|');
        for (const QString& name : names)
            EXPECT_TRUE(accepted.contains(name)) << name.toStdString() << " is not accepted";
        const auto area = recordObject(country);
        const auto town = recordObject(capital);
        if (!area || !town) {
            ADD_FAILURE() << "no globe object";
            continue;
        }
        // Coastal capitals may lie just off a generalised coast.
        EXPECT_LT(degreesOff(*area, town->GetCentroid()), 0.15) << "the capital lies outside the country";
    }
}

// Areas as an atlas gives them, within what generalised outlines lose.
TEST(GeoIndex, AreasAreRoughlyTrue)
{
    const auto rows = tableRows(QStringLiteral(ORBILO_AREAS_FILE), 4);
    EXPECT_GE(rows.size(), 60u);
    for (const QStringList& f : rows) {
        SCOPED_TRACE((f[0] + u' ' + f[1]).toStdString());
        const int number = termNumber(f[0], f[1]);
        if (!number) {
            ADD_FAILURE() << "no term of that name";
            continue;
        }
        const double expected = f[2].toDouble();
        EXPECT_NEAR(numberPiece(records().at(number), 4), expected, expected * f[3].toDouble() / 100);
    }
}

// The length of a line object in km: every chain, on the sphere.
double lineKm(TGeoDataObject& object)
{
    double km = 0;
    for (int c = 0; c < object.Chains().GetCount(); ++c) {
        const TPointStore* chain = object.Chains().Chain(c);
        for (int i = 1; chain && i < chain->GetCount(); ++i) {
            const TPointLL a = chain->GetLL(i - 1), b = chain->GetLL(i);
            const double p1 = double(a.Lat) / GU_DEGREE * M_PI / 180, p2 = double(b.Lat) / GU_DEGREE * M_PI / 180;
            const double dl = double(b.Long - a.Long) / GU_DEGREE * M_PI / 180;
            const double cosine = std::sin(p1) * std::sin(p2) + std::cos(p1) * std::cos(p2) * std::cos(dl);
            km += std::acos(std::clamp(cosine, -1.0, 1.0)) * 6371.0;
        }
    }
    return km;
}

// Every river of the lessons runs most of its real length, and not much
// more: generalised lines cut the bends, but a piece of a river or two rivers
// taken for one are far off.
TEST(GlobeData, RiversRunTheirWholeLength)
{
    struct Length {
        double km, least, most;
    };
    std::map<QString, Length> lengths;
    for (const QString& line : QString::fromUtf8(readWholeFile(QStringLiteral(ORBILO_RIVERS_FILE))).split(u'\n')) {
        const QStringList f = line.split(u'\t');
        if (f.size() < 2 || line.startsWith(u'#'))
            continue;
        const QString least = f.value(2), most = f.value(3);
        lengths[f[0]] = {f[1].toDouble(), least.isEmpty() ? 0.6 : least.toDouble(), most.isEmpty() ? 1.25 : most.toDouble()};
    }
    EXPECT_GE(lengths.size(), 200u);
    int rivers = 0;
    for (const auto& [number, r] : records()) {
        if (r.section != QLatin1String("Fluss"))
            continue;
        ++rivers;
        const QString name = r.fields[0].split(u'|').value(0);
        SCOPED_TRACE(name.toStdString());
        const auto it = lengths.find(name);
        if (it == lengths.end()) {
            ADD_FAILURE() << "no length written for this river";
            continue;
        }
        const auto object = recordObject(number);
        ASSERT_NE(object, nullptr);
        const double km = lineKm(*object);
        EXPECT_GE(km, it->second.least * it->second.km) << "only " << km << " km of " << it->second.km;
        EXPECT_LE(km, it->second.most * it->second.km) << km << " km for " << it->second.km;
    }
    EXPECT_EQ(rivers, int(lengths.size())) << "a river written here is not shipped";
}

// Every country has its flag, unless it has none in reality, and every
// flag paints.
TEST(Flags, EveryCountryHasItsFlag)
{
    const QStringList withoutFlag{QStringLiteral("Antarktis"), QStringLiteral("Siachen-Gletscher")};
    const TGeoIndex index(kData + QStringLiteral("/Data/geodata.ini"));
    FlagPainter painter;
    painter.SetPictureFolder(kData + QStringLiteral("/Data"));
    int flags = 0;
    for (const auto& [number, r] : records()) {
        if (r.section != QLatin1String("Land"))
            continue;
        const QString name = r.fields[0].split(u'|').value(0);
        SCOPED_TRACE(name.toStdString());
        const QString flag = index.ReadString(QStringLiteral("Flaggen"), QString::number(number));
        EXPECT_EQ(flag.isEmpty(), withoutFlag.contains(name));
        if (flag.isEmpty())
            continue;
        ++flags;
        QImage image(FlagPainter::FlagWidth(flag, 60, true) + 1, 61, QImage::Format_RGB32);
        QPainter p(&image);
        QString error;
        EXPECT_TRUE(painter.TryPaint(p, flag, 60, &error)) << error.toStdString();
        painter.DropEmblem();
    }
    EXPECT_GE(flags, 200);
}

// The flag of a country in its own proportions, 300 pixels high.
QImage paintedFlag(const QString& country)
{
    const TGeoIndex index(kData + QStringLiteral("/Data/geodata.ini"));
    const QString flag = index.ReadString(QStringLiteral("Flaggen"), QString::number(termNumber(QStringLiteral("Land"), country)));
    const int height = 300;
    QImage image(FlagPainter::FlagWidth(flag, height, false) + 1, height + 1, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    FlagPainter painter;
    painter.SetPictureFolder(kData + QStringLiteral("/Data"));
    EXPECT_TRUE(painter.TryPaint(p, flag, height)) << country.toStdString();
    return image;
}

bool isRed(QRgb c) { return qRed(c) > 150 && qGreen(c) < 90 && qBlue(c) < 110; }
bool isWhite(QRgb c) { return qRed(c) > 220 && qGreen(c) > 220 && qBlue(c) > 220; }

// St Patrick's saltire in the Union Jack is counterchanged: in the hoist half
// the red lies below each white diagonal, in the fly half above it, so that
// the broad white is uppermost next to the hoist. So in the UK's flag and in
// every flag that carries it as its canton.
TEST(Flags, UnionJackIsCounterchanged)
{
    struct Jack {
        const char* country;
        bool canton;
    };
    const Jack jacks[] = {{"Großbritannien", false}, {"Australien", true},  {"Neuseeland", true},
                          {"Fidschi", true},         {"Tuvalu", true},      {"Kaimaninseln", true},
                          {"Bermuda", true},         {"Falklandinseln", true}, {"Britische Jungferninseln", true},
                          {"Turks- und Caicosinseln", true}};
    // A point on each quarter's diagonal, and the way to the red side of it
    // in a jack twice as wide as high.
    struct Quarter {
        const char* name;
        double u, v, nx, ny;
    };
    const Quarter quarters[] = {{"upper hoist", 0.25, 0.25, -1, 2},
                                {"upper fly", 0.75, 0.25, -1, -2},
                                {"lower hoist", 0.25, 0.75, 1, 2},
                                {"lower fly", 0.75, 0.75, 1, -2}};
    for (const Jack& jack : jacks) {
        SCOPED_TRACE(jack.country);
        const QImage flag = paintedFlag(QString::fromUtf8(jack.country));
        const double w = (flag.width() - 1) * (jack.canton ? 0.5 : 1.0);
        const double h = (flag.height() - 1) * (jack.canton ? 0.5 : 1.0);
        ASSERT_NEAR(w, 2 * h, 2) << "the jack is twice as wide as high";
        for (const Quarter& q : quarters) {
            SCOPED_TRACE(q.name);
            const double len = std::hypot(q.nx, q.ny), d = 0.03 * h;
            const QPointF on(q.u * w, q.v * h), side(q.nx / len * d, q.ny / len * d);
            EXPECT_TRUE(isRed(flag.pixel((on + side).toPoint()))) << "no red on the side where it belongs";
            EXPECT_TRUE(isWhite(flag.pixel((on - side).toPoint()))) << "no broad white on the other side";
        }
    }
}

// The sword under the creed points to the hoist: its crossguard is at the
// fly end of the blade.
TEST(Flags, SaudiSwordPointsToTheHoist)
{
    const QImage flag = paintedFlag(QStringLiteral("Saudi-Arabien"));
    const int w = flag.width() - 1, h = flag.height() - 1;
    EXPECT_TRUE(isWhite(flag.pixel(w * 71 / 100, h * 72 / 100))) << "no crossguard at the fly end";
    EXPECT_FALSE(isWhite(flag.pixel(w * 29 / 100, h * 72 / 100))) << "a crossguard at the hoist end";
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
