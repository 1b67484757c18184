// The readers on real map files: Natural Earth layers of the shared sources
// converted by GDAL's ogr2ogr into shapefiles and MapInfo interchange files,
// compared with the GeoJSON they came from.

#include "TestGlobe.h"

#include "globe/GlobeFileLayer.h"
#include "globe/GlobeLYRReader.h"
#include "globe/GlobeMIFReader.h"
#include "globe/GlobePresenters.h"
#include "globe/GlobeSHPReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {
const QString kSources = QStringLiteral(ORBILO_GEOSRC_DIR "/naturalearth/");

// One feature of a GeoJSON layer as the readers should give it.
struct Feature {
    QString name;
    std::vector<std::vector<TPointLL>> chains; // none for a point
    TPointLL point;
};

TPointLL ToGU(const QJsonArray& xy)
{
    return PointLL(DecimalToGlobeUnits(xy[0].toDouble()), DecimalToGlobeUnits(xy[1].toDouble()));
}

std::vector<TPointLL> Chain(const QJsonArray& points)
{
    std::vector<TPointLL> chain;
    for (const QJsonValue& p : points)
        chain.push_back(ToGU(p.toArray()));
    return chain;
}

// The features that have a geometry, in file order.
std::vector<Feature> ReadGeoJson(const QString& file, const QString& nameField)
{
    QFile f(file);
    f.open(QIODevice::ReadOnly);
    std::vector<Feature> features;
    for (const QJsonValue& v : QJsonDocument::fromJson(f.readAll())["features"].toArray()) {
        const QJsonObject geometry = v["geometry"].toObject();
        if (geometry.isEmpty())
            continue;
        Feature feature;
        feature.name = v["properties"][nameField].toString();
        const QString type = geometry["type"].toString();
        const QJsonArray c = geometry["coordinates"].toArray();
        if (type == QLatin1String("Point"))
            feature.point = ToGU(c);
        else if (type == QLatin1String("LineString"))
            feature.chains.push_back(Chain(c));
        else if (type == QLatin1String("MultiLineString") || type == QLatin1String("Polygon"))
            for (const QJsonValue& ring : c)
                feature.chains.push_back(Chain(ring.toArray()));
        else if (type == QLatin1String("MultiPolygon"))
            for (const QJsonValue& polygon : c)
                for (const QJsonValue& ring : polygon.toArray())
                    feature.chains.push_back(Chain(ring.toArray()));
        features.push_back(std::move(feature));
    }
    return features;
}

class RealMapFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!QFileInfo::exists(kSources)) {
            s_skip = QStringLiteral("geographic sources not found at %1").arg(kSources);
            return;
        }
        if (QStandardPaths::findExecutable(QStringLiteral("ogr2ogr")).isEmpty()) {
            s_skip = QStringLiteral("ogr2ogr (Debian gdal-bin) is not installed");
            return;
        }
        s_dir = std::make_unique<QTemporaryDir>();
        const struct {
            const char* out;
            const char* format;
            const char* source;
            const char* fields;
            const char* encoding;
        } conversions[] = {
            {"countries.shp", "ESRI Shapefile", "ne_110m_admin_0_countries.json", "NAME,ISO_A2", "UTF-8"},
            {"places.shp", "ESRI Shapefile", "ne_10m_populated_places.json", "NAME,NAME_DE", "ISO-8859-1"},
            {"rivers.shp", "ESRI Shapefile", "ne_50m_rivers_lake_centerlines.json", "name", "UTF-8"},
            {"countries.mif", "MapInfo File", "ne_110m_admin_0_countries.json", "NAME,ISO_A2", nullptr},
            {"rivers.mif", "MapInfo File", "ne_50m_rivers_lake_centerlines.json", "name", nullptr},
        };
        for (const auto& c : conversions) {
            QStringList args{QStringLiteral("-f"), QLatin1String(c.format), s_dir->filePath(QLatin1String(c.out)),
                             kSources + QLatin1String(c.source), QStringLiteral("-select"), QLatin1String(c.fields)};
            if (c.encoding)
                args << QStringLiteral("-lco") << QStringLiteral("ENCODING=") + QLatin1String(c.encoding);
            QProcess ogr;
            ogr.start(QStringLiteral("ogr2ogr"), args);
            if (!ogr.waitForFinished(120000) || ogr.exitCode() != 0) {
                s_skip = QStringLiteral("ogr2ogr failed: ") + QString::fromLocal8Bit(ogr.readAllStandardError());
                return;
            }
        }
    }
    static void TearDownTestSuite() { s_dir.reset(); }

    void SetUp() override
    {
        if (!s_skip.isEmpty())
            GTEST_SKIP() << s_skip.toStdString();
        globe.metaDataLocation = smdWithDataFile;
    }

    template <typename Reader> Reader& Open(const QString& file, int titleColumn = 0)
    {
        const int index = CreateFileLayer(globe, s_dir->filePath(file));
        EXPECT_GE(index, 0);
        auto& reader = dynamic_cast<Reader&>(*globe.GlobeLayers().GetLayer(index)->Objects());
        if constexpr (std::is_same_v<Reader, TGlobeSHPReader>)
            reader.SetTitleColumn(titleColumn);
        else if constexpr (std::is_same_v<Reader, TGlobeMIFReader>)
            reader.TitleColumn = titleColumn;
        return reader;
    }

    // Every object has the feature's title, kind and chains with the same
    // number of points; an object that does not cross 180° has the
    // rectangle of the feature's points.
    static void ExpectSameFeatures(TGlobeObjectSource& source, const std::vector<Feature>& features, bool closed)
    {
        ASSERT_EQ(source.Count(), static_cast<int>(features.size()));
        for (int i = 0; i < source.Count(); ++i) {
            auto& object = dynamic_cast<TGeoDataObject&>(*source.GetObject(i));
            const Feature& f = features[static_cast<size_t>(i)];
            ASSERT_EQ(object.Title(), f.name) << i;
            EXPECT_EQ(object.Closed(), closed);
            ASSERT_EQ(object.Chains().GetCount(), static_cast<int>(f.chains.size())) << f.name.toStdString();
            int32_t west = GU_180_DEGREE, east = -GU_180_DEGREE, south = GU_90_DEGREE, north = -GU_90_DEGREE;
            for (size_t c = 0; c < f.chains.size(); ++c) {
                EXPECT_EQ(object.Chains().GetChain(static_cast<int>(c)).GetCount(), static_cast<int>(f.chains[c].size()))
                    << f.name.toStdString();
                for (const TPointLL& p : f.chains[c]) {
                    west = std::min(west, p.Long);
                    east = std::max(east, p.Long);
                    south = std::min(south, p.Lat);
                    north = std::max(north, p.Lat);
                }
            }
            const TMER m = object.ObjectMER();
            EXPECT_EQ(m.Lat, south) << f.name.toStdString();
            EXPECT_EQ(m.Height, north - south) << f.name.toStdString();
            if (m.Width < GU_180_DEGREE && east - west < GU_180_DEGREE) {
                EXPECT_EQ(m.Long, west) << f.name.toStdString();
                EXPECT_EQ(m.Width, east - west) << f.name.toStdString();
            }
        }
    }

    TestGlobe globe;
    static inline std::unique_ptr<QTemporaryDir> s_dir;
    static inline QString s_skip;
};

// Degrees of a rectangle's edges, for checks written from a map.
struct Edges {
    double west, south, east, north;
};
Edges EdgesOf(const TMER& m)
{
    return {GlobeUnitsToDecimal(m.Long), GlobeUnitsToDecimal(m.Lat), GlobeUnitsToDecimal(m.Long + m.Width),
            GlobeUnitsToDecimal(m.Lat + m.Height)};
}
} // namespace

TEST_F(RealMapFiles, CountryPolygonsFromAShapefileWithAUtf8Table)
{
    auto& shp = Open<TGlobeSHPReader>(QStringLiteral("countries.shp"));
    ExpectSameFeatures(shp, ReadGeoJson(kSources + QStringLiteral("ne_110m_admin_0_countries.json"), QStringLiteral("NAME")), true);

    TGlobeLayer& layer = *globe.GlobeLayers().GetLayer(0);
    ASSERT_NE(layer.ObjectByTitle(QStringLiteral("Côte d'Ivoire")), nullptr);
    // Germany lies between about 6° and 15° E and 47.3° and 55° N.
    const Edges germany = EdgesOf(layer.ObjectByTitle(QStringLiteral("Germany"))->ObjectMER());
    EXPECT_NEAR(germany.west, 6.0, 0.5);
    EXPECT_NEAR(germany.east, 15.0, 0.5);
    EXPECT_NEAR(germany.south, 47.3, 0.3);
    EXPECT_NEAR(germany.north, 55.0, 0.3);
    EXPECT_EQ(shp.DBF()->TextEncoding(), TGlobeDBFReader::Utf8);
    shp.SetTitleColumn(1);
    EXPECT_NE(layer.ObjectByTitle(QStringLiteral("DE")), nullptr);
}

TEST_F(RealMapFiles, RiverLinesKeepTheirNamesPastAShapeWithoutGeometry)
{
    // One river of the source has no geometry: it takes no entry, and the
    // rivers after it still get their own names.
    std::vector<Feature> rivers = ReadGeoJson(kSources + QStringLiteral("ne_50m_rivers_lake_centerlines.json"), QStringLiteral("name"));
    auto& shp = Open<TGlobeSHPReader>(QStringLiteral("rivers.shp"));
    ExpectSameFeatures(shp, rivers, false);
    // A line without a name is called by its kind in a MIF file.
    for (Feature& f : rivers)
        if (f.name.isEmpty())
            f.name = QStringLiteral("New Polyline");
    auto& mif = Open<TGlobeMIFReader>(QStringLiteral("rivers.mif"));
    ExpectSameFeatures(mif, rivers, false);
}

TEST_F(RealMapFiles, CityPointsFromALatin1Table)
{
    auto& shp = Open<TGlobeSHPReader>(QStringLiteral("places.shp"), 1);
    const std::vector<Feature> places = ReadGeoJson(kSources + QStringLiteral("ne_10m_populated_places.json"), QStringLiteral("NAME"));
    ASSERT_EQ(shp.Count(), static_cast<int>(places.size()));
    EXPECT_EQ(shp.DBF()->TextEncoding(), TGlobeDBFReader::Windows1252);
    for (int i = 0; i < shp.Count(); ++i) {
        TGlobeObject& city = *shp.GetObject(i);
        ASSERT_EQ(city.GetCentroid(), places[static_cast<size_t>(i)].point) << i;
        EXPECT_EQ(dynamic_cast<TGeoDataObject&>(city).Chains().GetCount(), 0);
    }
    TGlobeLayer& layer = *globe.GlobeLayers().GetLayer(0);
    for (const char* name : {"München", "Köln", "Zürich"})
        EXPECT_NE(layer.ObjectByTitle(QString::fromUtf8(name)), nullptr) << name;
    // Munich lies at about 11.6° E, 48.1° N.
    const TPointLL munich = layer.ObjectByTitle(QStringLiteral("München"))->GetCentroid();
    EXPECT_NEAR(GlobeUnitsToDecimal(munich.Long), 11.58, 0.05);
    EXPECT_NEAR(GlobeUnitsToDecimal(munich.Lat), 48.14, 0.05);
}

TEST_F(RealMapFiles, CountryRegionsFromAMifFileAndItsMetadata)
{
    const std::vector<Feature> countries = ReadGeoJson(kSources + QStringLiteral("ne_110m_admin_0_countries.json"), QStringLiteral("NAME"));
    auto& mif = Open<TGlobeMIFReader>(QStringLiteral("countries.mif"));
    EXPECT_FALSE(mif.IndexFromMetaData());
    ExpectSameFeatures(mif, countries, true);
    mif.SetActive(false); // writes the index

    mif.SetActive(true);
    EXPECT_TRUE(mif.IndexFromMetaData());
    ExpectSameFeatures(mif, countries, true);
    QFile::remove(mif.MetaDataPath());
}

TEST_F(RealMapFiles, ALayerFileOfRealCountriesReadsBackTheSame)
{
    auto& shp = Open<TGlobeSHPReader>(QStringLiteral("countries.shp"));
    TGlobeLayer& layer = *globe.GlobeLayers().GetLayer(0);
    auto style = std::make_unique<TPolygonPresenter>(globe, 5);
    style->PolyBrush.Define(0x9FD7F5, 0);
    layer.Presenters().Add(std::move(style));
    for (int i = 0; i < shp.Count(); ++i)
        shp.GetObject(i)->SetPresenterID(5);
    const QString file = s_dir->filePath(QStringLiteral("countries.lyr"));
    WriteLayerToLYRfile(layer, file);

    auto& lyr = Open<TGlobeLYRReader>(QStringLiteral("countries.lyr"));
    ASSERT_EQ(lyr.Count(), shp.Count());
    ASSERT_NE(dynamic_cast<TPolygonPresenter*>(lyr.Presenters().ByID(5, false)), nullptr);
    for (int i = 0; i < lyr.Count(); ++i) {
        auto& a = dynamic_cast<TGeoDataObject&>(*shp.GetObject(i));
        auto& b = dynamic_cast<TGeoDataObject&>(*lyr.GetObject(i));
        ASSERT_EQ(b.Title(), a.Title());
        EXPECT_EQ(b.ID(), a.ID());
        EXPECT_TRUE(b.Closed());
        EXPECT_EQ(b.PresenterID(), 5);
        ASSERT_EQ(b.Chains().GetCount(), a.Chains().GetCount());
        for (int c = 0; c < a.Chains().GetCount(); ++c)
            for (int k = 0; k < a.Chains().GetChain(c).GetCount(); ++k)
                ASSERT_EQ(b.Chains().GetChain(c).GetLL(k), a.Chains().GetChain(c).GetLL(k)) << a.Title().toStdString();
        EXPECT_EQ(lyr.GetMER(i), shp.GetMER(i));
    }
}
