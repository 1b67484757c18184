// The map file readers on small files made for each case: what they read,
// and what they do with damaged and hostile files.

#include "MapFileBuilders.h"
#include "TestGlobe.h"

#include "globe/GlobeFileLayer.h"
#include "globe/GlobeLYRReader.h"
#include "globe/GlobeMIFReader.h"
#include "globe/GlobePresenters.h"
#include "globe/GlobeSHPReader.h"
#include "globe/GlobeStream.h"
#include "platform/AtomicFile.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace MapFiles;

namespace {
class MapFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        globe.metaDataLocation = smdWithDataFile;
    }
    QString Path(const QString& name) const { return dir.filePath(name); }

    // Opens a new reader of the file and loads every object; the text of
    // the failure, empty when there was none.
    template <typename Reader> QString OpenAll(const QString& file, Reader** kept = nullptr)
    {
        auto* reader = new Reader(globe); // the globe owns it
        reader->SetFilename(file);
        QString failure;
        try {
            reader->SetActive(true);
            for (int i = 0; i < reader->Count(); ++i)
                reader->GetObject(i)->ObjectMER();
        } catch (const EGlobeException& e) {
            failure = e.message();
            if (failure.isEmpty())
                failure = QStringLiteral("(empty message)");
        }
        if (kept)
            *kept = reader;
        else
            delete reader;
        return failure;
    }

    TestGlobe globe;
    QTemporaryDir dir;
};

// A point, two polylines, a polygon, a multipoint and two shapes the engine
// does not show (a null shape and a PolyLineZ), with a table of names.
QByteArray MixedShapes()
{
    return Shapefile({ShapeRecord(1, {{{13.4, 52.5}}}),
                      ShapeRecord(3, {{{0, 0}, {1, 1}}, {{2, 2}, {3, 3}, {4, 4}}}),
                      ShapeRecord(0),
                      ShapeRecord(5, {{{10, 40}, {20, 40}, {20, 50}, {10, 40}}}),
                      ShapeRecord(13, {{{0, 0}, {1, 1}}}),
                      ShapeRecord(8, {{{-1, -1}, {-2, -2}, {-3, -3}}})});
}

std::vector<std::vector<QByteArray>> MixedNames()
{
    return {{"Berlin", "1"}, {"Lines", "2"}, {"Nothing", "3"}, {"Triangle", "4"}, {"Z line", "5"}, {"Cloud", "6"}};
}

TGeoDataObject& Geo(TGlobeObjectSource& source, int i) { return dynamic_cast<TGeoDataObject&>(*source.GetObject(i)); }
} // namespace

// --- shapefiles ---

TEST_F(MapFileTest, ShapefileShapesBecomeObjectsTitledFromTheirTableRecord)
{
    Write(Path("mixed.shp"), MixedShapes());
    Write(Path("mixed.DBF"), Dbf({"NAME", "NUM"}, 12, MixedNames()));
    TGlobeSHPReader* shp = nullptr;
    ASSERT_EQ(OpenAll<TGlobeSHPReader>(Path("mixed.shp"), &shp), QString());

    // The null shape and the Z shape take no entry; the records after them
    // still find their own attributes.
    ASSERT_EQ(shp->Count(), 4);
    const char* titles[] = {"Berlin", "Lines", "Triangle", "Cloud"};
    const int ids[] = {1, 2, 4, 6};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(shp->GetObject(i)->Title(), QLatin1String(titles[i]));
        EXPECT_EQ(shp->GetObject(i)->ID(), ids[i]);
    }
    EXPECT_EQ(Geo(*shp, 0).Chains().GetCount(), 0);
    EXPECT_EQ(Geo(*shp, 0).GetCentroid(), PointLL(13 * GU_DEGREE + 24 * GU_MINUTE, 52 * GU_DEGREE + 30 * GU_MINUTE));
    EXPECT_EQ(Geo(*shp, 1).Chains().GetCount(), 2);
    EXPECT_EQ(Geo(*shp, 1).Chains().GetChain(1).GetCount(), 3);
    EXPECT_FALSE(Geo(*shp, 1).Closed());
    EXPECT_TRUE(Geo(*shp, 2).Closed());
    EXPECT_EQ(Geo(*shp, 2).ObjectMER(), MER(Deg(10), Deg(40), Deg(10), Deg(10)));
    EXPECT_EQ(Geo(*shp, 3).Chains().GetCount(), 1);
    EXPECT_EQ(Geo(*shp, 3).Chains().GetChain(0).GetLL(2), PointLL(Deg(-3), Deg(-3)));
    EXPECT_FALSE(Geo(*shp, 3).Closed());

    // Another column gives other titles; loaded objects are let go for it.
    shp->SetTitleColumn(1);
    EXPECT_EQ(shp->GetDataPtr(0).Object, nullptr);
    EXPECT_EQ(shp->GetObject(2)->Title(), QStringLiteral("4"));
}

TEST_F(MapFileTest, ShapefileCoordinatesAreDividedAndShifted)
{
    Write(Path("scaled.shp"), Shapefile({ShapeRecord(1, {{{1234.5, -600}}})}, 1));
    auto* shp = new TGlobeSHPReader(globe);
    shp->SetFilename(Path("scaled.shp"));
    shp->LongXDivisor = 100;
    shp->LongXShift = 0.5;
    shp->LatYDivisor = 10;
    shp->LatYShift = -30;
    shp->SetActive(true);
    // 12.345 + 0.5 = 12° 50' 42", and -60 - 30 = -90.
    EXPECT_EQ(shp->GetObject(0)->GetCentroid(),
              PointLL(12 * GU_DEGREE + 50 * GU_MINUTE + 42 * GU_SECOND, -90 * GU_DEGREE));
}

TEST_F(MapFileTest, ShapefileHeaderErrorsNameTheFile)
{
    QByteArray wrongCode = Shapefile({ShapeRecord(1, {{{0, 0}}})});
    qToBigEndian<int32_t>(9995, wrongCode.data());
    QByteArray wrongVersion = Shapefile({ShapeRecord(1, {{{0, 0}}})});
    qToLittleEndian<int32_t>(999, wrongVersion.data() + 28);
    const struct {
        QByteArray bytes;
        const char* message;
    } cases[] = {{wrongCode, "Invalid SHP file "}, {wrongVersion, "Invalid SHP file version "}, {QByteArray(60, 0), "Invalid SHP file "}};
    for (const auto& c : cases) {
        Write(Path("bad.shp"), c.bytes);
        EXPECT_EQ(OpenAll<TGlobeSHPReader>(Path("bad.shp")), QLatin1String(c.message) + Path("bad.shp"));
    }
}

TEST_F(MapFileTest, HostileShapeRecordsStopWithAnErrorInsteadOfAllocating)
{
    auto withCounts = [](int32_t parts, int32_t points, int32_t firstPart) {
        QByteArray r = ShapeRecord(5, {{{0, 0}, {1, 0}, {1, 1}}});
        qToLittleEndian(parts, r.data() + 36);
        qToLittleEndian(points, r.data() + 40);
        qToLittleEndian(firstPart, r.data() + 44);
        return r;
    };
    QByteArray longRecord = Shapefile({ShapeRecord(1, {{{0, 0}}})});
    qToBigEndian<int32_t>(0x40000000, longRecord.data() + 104); // content length in words
    QByteArray negativeLength = Shapefile({ShapeRecord(1, {{{0, 0}}})});
    qToBigEndian<int32_t>(-8, negativeLength.data() + 104);
    QByteArray shortPoint = Shapefile({ShapeRecord(1, {{{0, 0}}}).left(12)});
    const QByteArray cases[] = {
        Shapefile({withCounts(1, 0x7FFFFFFF, 0)}), // 2^31 - 1 points
        Shapefile({withCounts(-1, 3, 0)}),
        Shapefile({withCounts(0x7FFFFFFF, 3, 0)}),
        Shapefile({withCounts(1, 3, 5)}), // a part starting beyond the points
        Shapefile({withCounts(1, 3, -2)}),
        longRecord,
        negativeLength,
        shortPoint,
    };
    for (const QByteArray& bytes : cases) {
        Write(Path("hostile.shp"), bytes);
        EXPECT_FALSE(OpenAll<TGlobeSHPReader>(Path("hostile.shp")).isEmpty());
    }
}

TEST_F(MapFileTest, ATruncatedShapefileIsReportedAtEveryLength)
{
    const QByteArray whole = MixedShapes();
    Write(Path("whole.shp"), whole);
    ASSERT_EQ(OpenAll<TGlobeSHPReader>(Path("whole.shp")), QString());
    // Its header tells the length, so even a cut at a record boundary is noticed.
    for (qsizetype n = 0; n < whole.size(); ++n) {
        Write(Path("cut.shp"), whole.left(n));
        EXPECT_FALSE(OpenAll<TGlobeSHPReader>(Path("cut.shp")).isEmpty()) << "cut at " << n;
    }
}

TEST_F(MapFileTest, DamagedTablesAreRefusedOrReadAsFarAsTheyGo)
{
    Write(Path("t.shp"), Shapefile({ShapeRecord(1, {{{0, 0}}}), ShapeRecord(1, {{{1, 1}}})}, 1));
    QByteArray table = Dbf({"NAME"}, 10, {{"One"}, {"Two"}});

    QByteArray negativeHeader = table;
    qToLittleEndian<uint16_t>(0xFFFF, negativeHeader.data() + 8); // -1 as a signed header length
    Write(Path("t.dbf"), negativeHeader);
    EXPECT_EQ(OpenAll<TGlobeSHPReader>(Path("t.shp")),
              QStringLiteral("Invalid DBF file %1: header length -1 does not fit the file of %2 bytes")
                  .arg(Path("t.dbf"))
                  .arg(negativeHeader.size()));

    QByteArray hugeCount = table;
    qToLittleEndian<uint32_t>(0xFFFFFFFF, hugeCount.data() + 4);
    Write(Path("t.dbf"), hugeCount.left(hugeCount.size() - 8)); // the second record cut off
    TGlobeSHPReader* shp = nullptr;
    ASSERT_EQ(OpenAll<TGlobeSHPReader>(Path("t.shp"), &shp), QString());
    EXPECT_EQ(shp->DBF()->RecordCount(), 1);
    EXPECT_EQ(shp->GetObject(0)->Title(), QStringLiteral("One"));
    EXPECT_EQ(shp->GetObject(1)->Title(), QString());
}

TEST_F(MapFileTest, TableTextsAreDecodedAsTheTableDeclares)
{
    const QByteArray utf8 = QStringLiteral("Köln").toUtf8();
    const QByteArray latin1 = QStringLiteral("Köln").toLatin1();
    const struct {
        const char* cpg;
        uint8_t ldid;
        QByteArray stored;
    } cases[] = {
        {"UTF-8", 0, utf8},     {"ISO-8859-1", 0, latin1}, {"1252", 0, latin1},
        {nullptr, 0x57, latin1}, {nullptr, 0, utf8},        {nullptr, 0, latin1}, // undeclared: UTF-8 when valid
    };
    Write(Path("c.shp"), Shapefile({ShapeRecord(1, {{{0, 0}}})}, 1));
    for (const auto& c : cases) {
        QFile::remove(Path("c.cpg"));
        if (c.cpg)
            Write(Path("c.cpg"), c.cpg);
        Write(Path("c.dbf"), Dbf({"NAME"}, 10, {{c.stored}}, c.ldid));
        TGlobeSHPReader* shp = nullptr;
        ASSERT_EQ(OpenAll<TGlobeSHPReader>(Path("c.shp"), &shp), QString());
        EXPECT_EQ(shp->GetObject(0)->Title(), QStringLiteral("Köln")) << (c.cpg ? c.cpg : "no cpg");
        delete shp;
    }
}

TEST_F(MapFileTest, MappingReportsItsProgress)
{
    std::vector<QByteArray> points(600, ShapeRecord(1, {{{1, 2}}}));
    Write(Path("many.shp"), Shapefile(points, 1));
    ASSERT_EQ(OpenAll<TGlobeSHPReader>(Path("many.shp")), QString());
    // One record is 28 bytes after the 100-byte header.
    const int64_t size = 100 + 600 * 28;
    const std::vector<std::pair<TProgressMessage, QString>> expected = {
        {pmStart, "Mapping"},
        {pmPercent, QString::number(100 * 100 / size)},
        {pmPercent, QString::number((100 + 256 * 28) * 100 / size)},
        {pmPercent, QString::number((100 + 512 * 28) * 100 / size)},
        {pmEnd, "Finished"},
    };
    ASSERT_EQ(globe.progress.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(globe.progress[i].kind, expected[i].first);
        EXPECT_EQ(globe.progress[i].text, expected[i].second);
    }
}

// --- MapInfo interchange files ---

namespace {
const char* kMif = "Version 300\n"
                   "Charset \"WindowsLatin1\"\n"
                   "Delimiter \";\"\n"
                   "CoordSys Earth Projection 1, 104\n"
                   "Columns 2\n"
                   "  Name Char(20)\n"
                   "  Pop Integer\n"
                   "Data\n"
                   "\n"
                   "Point 6.95 50.9375\n"
                   "    Symbol (33,16711680,12)\n"
                   "Line 0 0 1.5 1.5\n"
                   "    Pen (2,2,255)\n"
                   "Pline 3\n"
                   "0 0\n1 1\n2 0\n"
                   "    Pen (1,2,0)\n"
                   "PLINE MULTIPLE 2\n"
                   "  2\n0 0\n1 1\n"
                   "  3\n5 5\n6 6\n7 5\n"
                   "    Pen (1,2,0)\n"
                   "Ellipse 0 0 1 1\n"
                   "Region  2\n"
                   "  4\n10 40\n20 40\n20 50\n10 40\n"
                   "  3\n-1.5 -1.25\n-2 -2\n-1 -2\n"
                   "    Pen (1,2,16711680)\n"
                   "    Brush (2,65280,16777215)\n"
                   "    Center 15 45\n"
                   "Text \"Rhein\"\n"
                   "    7.6 47.5 8 48\n"
                   "    Font (\"Arial\",0,10,0)\n"
                   "Region 1\n"
                   "  3\n0 0\n1 0\n0 1\n"
                   "    Pen (1,2,16711680)\n"
                   "    Brush (2,65280,16777215)\n";

QByteArray Mid()
{
    return QByteArray("\"K\xF6ln\";1000000\n"
                      "\"\";0\n"
                      "\"Rhine; Rhein\";0\n"
                      "\"Two \"\"parts\"\"\";0\n"
                      "\"Ellipse\";0\n"
                      "\"Big; island\";5\n"
                      "\"\";0\n"
                      "\"Small\";0\n");
}
} // namespace

TEST_F(MapFileTest, MifObjectsWithTheirAttributesAndStyles)
{
    Write(Path("mixed.mif"), kMif);
    Write(Path("mixed.mid"), Mid());
    TGlobeMIFReader* mif = nullptr;
    ASSERT_EQ(OpenAll<TGlobeMIFReader>(Path("mixed.mif"), &mif), QString());
    EXPECT_EQ(mif->MIFVersion, 300);
    EXPECT_EQ(mif->MIDDelimiter, QStringLiteral(";"));
    EXPECT_EQ(mif->MIFCoordSys, QStringLiteral("CoordSys Earth Projection 1, 104"));
    EXPECT_EQ(mif->MIDColumnNames, QStringList({"Name=Char(20)", "Pop=Integer"}));

    ASSERT_EQ(mif->Count(), 7); // the ellipse has no object
    const char* titles[] = {"Köln", "New Polyline", "Rhine; Rhein", "Two \"parts\"", "Big; island", "Rhein", "Small"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(mif->GetObject(i)->Title(), QString::fromUtf8(titles[i])) << i;

    EXPECT_EQ(Geo(*mif, 0).Chains().GetCount(), 0);
    EXPECT_EQ(Geo(*mif, 0).GetCentroid(), PointLL(6 * GU_DEGREE + 57 * GU_MINUTE, 50 * GU_DEGREE + 56 * GU_MINUTE + 15 * GU_SECOND));
    EXPECT_EQ(Geo(*mif, 1).Chains().GetChain(0).GetLL(1), PointLL(Deg(1.5), Deg(1.5)));
    EXPECT_EQ(Geo(*mif, 2).Chains().GetChain(0).GetCount(), 3);
    EXPECT_EQ(Geo(*mif, 3).Chains().GetCount(), 2);
    EXPECT_EQ(Geo(*mif, 3).Chains().GetChain(1).GetCount(), 3);
    EXPECT_FALSE(Geo(*mif, 3).Closed());
    TGeoDataObject& region = Geo(*mif, 4);
    EXPECT_TRUE(region.Closed());
    ASSERT_EQ(region.Chains().GetCount(), 2);
    EXPECT_EQ(region.Chains().GetChain(1).GetLL(0), PointLL(-Deg(1.5), -Deg(1.25)));
    EXPECT_EQ(Geo(*mif, 5).GetCentroid(), PointLL(Deg(7.6), Deg(47.5)));

    // Colours turn from red-green-blue to the engine's blue-green-red; the
    // two regions with equal clauses share one presenter.
    auto* regionStyle = dynamic_cast<TPolyPresenter*>(mif->Presenters().ByID(region.PresenterID(), false));
    ASSERT_NE(regionStyle, nullptr);
    EXPECT_EQ(regionStyle->PolyPen.PenColor(), 0x0000FFu);
    EXPECT_EQ(regionStyle->PolyBrush.BrushColor(), 0x00FF00u);
    EXPECT_EQ(regionStyle->PolyBrush.BrushStyle(), 0);
    EXPECT_EQ(mif->GetObject(6)->PresenterID(), region.PresenterID());
    auto* lineStyle = dynamic_cast<TPolyPresenter*>(mif->Presenters().ByID(mif->GetObject(1)->PresenterID(), false));
    ASSERT_NE(lineStyle, nullptr);
    EXPECT_EQ(lineStyle->PolyPen.PenColor(), 0xFF0000u);
    EXPECT_EQ(lineStyle->PolyPen.PenWidth(), 2);
    auto* point = dynamic_cast<TPointPresenter*>(mif->Presenters().ByID(mif->GetObject(0)->PresenterID(), false));
    ASSERT_NE(point, nullptr);
    EXPECT_EQ(point->PointType, ppDiamond);
    EXPECT_EQ(point->PointBrush.BrushColor(), 0x0000FFu);
}

TEST_F(MapFileTest, MifWithoutAttributesNamesItsShapes)
{
    Write(Path("plain.mif"), kMif);
    TGlobeMIFReader* mif = nullptr;
    ASSERT_EQ(OpenAll<TGlobeMIFReader>(Path("plain.mif"), &mif), QString());
    EXPECT_EQ(mif->GetObject(0)->Title(), QString());
    EXPECT_EQ(mif->GetObject(2)->Title(), QStringLiteral("New Polyline"));
    EXPECT_EQ(mif->GetObject(4)->Title(), QStringLiteral("New Polygon"));
}

TEST_F(MapFileTest, MifErrors)
{
    const QByteArray header = "Version 300\nCoordSys Earth Projection 1, 104\nData\n";
    const struct {
        QByteArray text;
        const char* message;
    } cases[] = {
        {"Version 300\nCoordSys Earth Projection 3, 62, \"m\", -96, 23\nData\n", "MIF Import only supports Lat/Long tables."},
        {"Version 300\nCoordSys NonEarth Units \"m\"\nData\n", "MIF Import only supports Lat/Long tables."},
        {header + "Point 1x5 2\n", "StrToExtended: Conversion failed for 1x5"},
        {header + "Region 1\n 3\n0 0\n1 zero\n", "StrToExtended: Conversion failed for zero"},
    };
    for (const auto& c : cases) {
        Write(Path("bad.mif"), c.text);
        EXPECT_EQ(OpenAll<TGlobeMIFReader>(Path("bad.mif")), QLatin1String(c.message));
    }
    // Counts that the rest of the file cannot hold are refused before
    // anything is allocated for them.
    for (const QByteArray& hostile : {header + "Region 1\n 1000000000\n0 0\n", header + "Region 2000000000\n 1\n0 0\n",
                                      header + "Pline Multiple 900000000\n 1\n0 0\n", header + "Region 1\n -3\n"}) {
        Write(Path("bad.mif"), hostile);
        EXPECT_TRUE(OpenAll<TGlobeMIFReader>(Path("bad.mif")).startsWith(QStringLiteral("MIF file"))) << hostile.constData();
    }
}

TEST_F(MapFileTest, ATruncatedMifNeverReadsPastItsEnd)
{
    globe.metaDataLocation = smdDiscard; // each cut is mapped afresh
    const QByteArray whole = kMif;
    Write(Path("cut.mid"), Mid());
    for (qsizetype n = 0; n <= whole.size(); ++n) {
        Write(Path("cut.mif"), whole.left(n));
        OpenAll<TGlobeMIFReader>(Path("cut.mif")); // an error or fewer objects, never a crash
    }
    EXPECT_FALSE(QFileInfo::exists(Path("cut.mif.md")));
}

TEST_F(MapFileTest, MifIndexIsKeptInAMetadataFileWhileItIsCurrent)
{
    Write(Path("m.mif"), kMif);
    Write(Path("m.mid"), Mid());
    const QString md = Path("m.mif.md");
    TGlobeMIFReader* first = nullptr;
    ASSERT_EQ(OpenAll<TGlobeMIFReader>(Path("m.mif"), &first), QString());
    EXPECT_FALSE(first->IndexFromMetaData());
    delete first; // closing writes the metadata
    ASSERT_TRUE(QFileInfo::exists(md));
    {
        TGlobeStreamReader reader(readWholeFile(md));
        EXPECT_EQ(reader.ReadWord(), 258);
        EXPECT_EQ(reader.ReadInteger(), 7);
    }

    TGlobeMIFReader* second = nullptr;
    ASSERT_EQ(OpenAll<TGlobeMIFReader>(Path("m.mif"), &second), QString());
    EXPECT_TRUE(second->IndexFromMetaData());
    ASSERT_EQ(second->Count(), 7);
    EXPECT_EQ(second->GetObject(4)->Title(), QStringLiteral("Big; island"));
    EXPECT_EQ(second->MIDColumnNames, QStringList({"Name=Char(20)", "Pop=Integer"}));
    delete second;

    // A data file newer than its metadata is mapped again.
    QFile data(Path("m.mif"));
    ASSERT_TRUE(data.open(QIODevice::ReadWrite));
    ASSERT_TRUE(data.setFileTime(QFileInfo(md).lastModified().addSecs(10), QFileDevice::FileModificationTime));
    data.close();
    TGlobeMIFReader* third = nullptr;
    ASSERT_EQ(OpenAll<TGlobeMIFReader>(Path("m.mif"), &third), QString());
    EXPECT_FALSE(third->IndexFromMetaData());
    delete third;

    // One with another first word is deleted.
    QByteArray foreign = readWholeFile(md);
    foreign[0] = 1;
    Write(md, foreign);
    QFile meta(md);
    ASSERT_TRUE(meta.open(QIODevice::ReadWrite));
    ASSERT_TRUE(meta.setFileTime(QFileInfo(Path("m.mif")).lastModified().addSecs(5), QFileDevice::FileModificationTime));
    meta.close();
    TGlobeMIFReader* fourth = nullptr;
    ASSERT_EQ(OpenAll<TGlobeMIFReader>(Path("m.mif"), &fourth), QString());
    EXPECT_FALSE(fourth->IndexFromMetaData());
    EXPECT_FALSE(QFileInfo::exists(md));
    EXPECT_EQ(fourth->GetObject(4)->Title(), QStringLiteral("Big; island"));
}

TEST_F(MapFileTest, DamagedMetadataIsMappedAgainAtEveryLength)
{
    Write(Path("d.mif"), kMif);
    Write(Path("d.mid"), Mid());
    ASSERT_EQ(OpenAll<TGlobeMIFReader>(Path("d.mif")), QString());
    const QByteArray whole = readWholeFile(Path("d.mif.md"));
    ASSERT_FALSE(whole.isEmpty());
    for (qsizetype n = 0; n < whole.size(); n += 3) {
        Write(Path("d.mif.md"), whole.left(n));
        TGlobeMIFReader* mif = nullptr;
        ASSERT_EQ(OpenAll<TGlobeMIFReader>(Path("d.mif"), &mif), QString()) << n;
        EXPECT_FALSE(mif->IndexFromMetaData());
        EXPECT_EQ(mif->Count(), 7);
        delete mif;
    }
}

// --- layer files ---

namespace {
// A layer of a closed two-ring object, a point and an open line, drawn by a
// polygon, a point and a polyline presenter of its own.
TGlobeLayer& SampleLayer(TestGlobe& globe)
{
    auto* layer = new TGlobeLayer(globe);
    auto polygons = std::make_unique<TPolygonPresenter>(globe, 1);
    polygons->PolyPen.Define(0x112233, 1, 3, Pixel);
    polygons->PolyBrush.Define(0x9FD7F5, 4);
    polygons->Name = QStringLiteral("Länder");
    polygons->TitleAlignment = taBottom;
    polygons->TitleOffset = -7;
    layer->Presenters().Add(std::move(polygons));
    auto points = std::make_unique<TPointPresenter>(globe, 2);
    points->PointType = ppSquare;
    points->PointSize = 7;
    points->MaxPointSize = 20;
    points->PointUnit = Kilometer;
    points->SymbolIndex = 65;
    points->PointFont.Define(QStringLiteral("Liberation Sans"), 0x0000FF, 12, Pixel, 45, fsBold);
    layer->Presenters().Add(std::move(points));
    auto lines = std::make_unique<TPolylinePresenter>(globe, 3);
    lines->PolyPen.Define(0xC08040, 0, 2, Pixel);
    layer->Presenters().Add(std::move(lines));

    auto* area = new TGeoDataObject(&layer->GetObjects());
    area->SetTitle(QStringLiteral("Insel"));
    area->SetID(17);
    for (int ring = 0; ring < 2; ++ring)
        for (int k = 0; k < 5; ++k)
            area->Chains().GetChain(ring).Add(PointLL(Deg(10 + ring * 5 + k * 0.37), Deg(40 - k * 0.21)));
    area->SetClosed(true);
    area->SetPresenterID(1);
    auto* city = new TGeoDataObject(&layer->GetObjects());
    city->SetTitle(QStringLiteral("Stadt"));
    city->SetCentroid(PointLL(Deg(13.4), Deg(52.5)));
    city->SetPresenterID(2);
    auto* river = new TGeoDataObject(&layer->GetObjects());
    river->SetTitle(QStringLiteral("Fluss"));
    for (int k = 0; k < 40; ++k)
        river->Chains().GetChain(0).Add(PointLL(Deg(-5 + k * 0.01), Deg(45 + (k % 7) * 0.003)));
    river->SetPresenterID(3);
    return *layer;
}

void ExpectSameObject(TGeoDataObject& a, TGeoDataObject& b)
{
    EXPECT_EQ(a.Title(), b.Title());
    EXPECT_EQ(a.ID(), b.ID());
    EXPECT_EQ(a.Closed(), b.Closed());
    EXPECT_EQ(a.PresenterID(), b.PresenterID());
    EXPECT_EQ(a.GetCentroid(), b.GetCentroid());
    ASSERT_EQ(a.Chains().GetCount(), b.Chains().GetCount());
    for (int c = 0; c < a.Chains().GetCount(); ++c) {
        ASSERT_EQ(a.Chains().GetChain(c).GetCount(), b.Chains().GetChain(c).GetCount());
        for (int k = 0; k < a.Chains().GetChain(c).GetCount(); ++k)
            ASSERT_EQ(a.Chains().GetChain(c).GetLL(k), b.Chains().GetChain(c).GetLL(k));
    }
}
} // namespace

TEST_F(MapFileTest, ALayerFileReadsBackIntoTheSameObjectsAndPresenters)
{
    TGlobeLayer& original = SampleLayer(globe);
    WriteLayerToLYRfile(original, Path("sample.lyr"));

    const int read = CreateFileLayer(globe, Path("sample.lyr"));
    ASSERT_EQ(read, 1);
    TGlobeLayer& copy = *globe.GlobeLayers().GetLayer(read);
    auto& reader = dynamic_cast<TGlobeLYRReader&>(*copy.Objects());
    EXPECT_EQ(reader.Version(), 1024);
    EXPECT_EQ(reader.LayerMER(), original.GetLayerMER());
    ASSERT_EQ(reader.Count(), 3);
    for (int i = 0; i < 3; ++i)
        ExpectSameObject(Geo(original.GetObjects(), i), Geo(reader, i));

    ASSERT_EQ(reader.Presenters().GetCount(), 3);
    for (int id = 1; id <= 3; ++id) {
        TGlobePresenter* a = original.FindPresenter(id);
        TGlobePresenter* b = copy.FindPresenter(id);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->ClassName(), a->ClassName());
        EXPECT_EQ(b->Name, a->Name);
        EXPECT_EQ(b->TitleAlignment, a->TitleAlignment);
        EXPECT_EQ(b->TitleOffset, a->TitleOffset);
        EXPECT_TRUE(b->TitleFont.Equals(a->TitleFont));
        if (auto* pa = dynamic_cast<TPolyPresenter*>(a)) {
            auto& pb = dynamic_cast<TPolyPresenter&>(*b);
            EXPECT_TRUE(pb.PolyPen.Equals(pa->PolyPen));
            EXPECT_TRUE(pb.PolyBrush.Equals(pa->PolyBrush));
        } else {
            auto& qa = dynamic_cast<TPointPresenter&>(*a);
            auto& qb = dynamic_cast<TPointPresenter&>(*b);
            EXPECT_EQ(qb.PointType, qa.PointType);
            EXPECT_EQ(qb.PointSize, qa.PointSize);
            EXPECT_EQ(qb.MaxPointSize, qa.MaxPointSize);
            EXPECT_EQ(qb.PointUnit, qa.PointUnit);
            EXPECT_EQ(qb.SymbolIndex, qa.SymbolIndex);
            EXPECT_TRUE(qb.PointFont.Equals(qa.PointFont));
        }
    }
}

TEST_F(MapFileTest, LayerFileVersionsAndGroups)
{
    TGlobeLayer& layer = SampleLayer(globe);
    const QByteArray whole = TGlobeLYRWriter(layer).ToBytes();

    QByteArray old = whole;
    qToLittleEndian<int16_t>(0x2FF, old.data());
    Write(Path("old.lyr"), old);
    EXPECT_EQ(OpenAll<TGlobeLYRReader>(Path("old.lyr")), QStringLiteral("Invalid File Version 2FF in ") + Path("old.lyr"));

    // Without presenters the objects draw with the layer's own.
    auto* bare = new TGlobeLayer(globe);
    for (int i = 0; i < layer.GetObjects().Count(); ++i)
        layer.GetObjects().GetObject(i)->Clone()->SetParent(&bare->GetObjects());
    const QByteArray noPresenters = TGlobeLYRWriter(*bare).ToBytes();
    EXPECT_EQ(qFromLittleEndian<int32_t>(noPresenters.constData() + 18), 3); // objects come first
    Write(Path("bare.lyr"), noPresenters);
    TGlobeLYRReader* reader = nullptr;
    ASSERT_EQ(OpenAll<TGlobeLYRReader>(Path("bare.lyr"), &reader), QString());
    EXPECT_EQ(reader->Presenters().GetCount(), 0);
    EXPECT_EQ(reader->Count(), 3);

    QByteArray endless = noPresenters;
    qToLittleEndian<int32_t>(0x7FFFFFFF, endless.data() + 18);
    Write(Path("endless.lyr"), endless);
    EXPECT_FALSE(OpenAll<TGlobeLYRReader>(Path("endless.lyr")).isEmpty());
}

TEST_F(MapFileTest, ATruncatedLayerFileIsAnErrorAtEveryLength)
{
    const QByteArray whole = TGlobeLYRWriter(SampleLayer(globe)).ToBytes();
    Write(Path("whole.lyr"), whole);
    ASSERT_EQ(OpenAll<TGlobeLYRReader>(Path("whole.lyr")), QString());
    for (qsizetype n = 0; n < whole.size(); ++n) {
        Write(Path("cut.lyr"), whole.left(n));
        EXPECT_FALSE(OpenAll<TGlobeLYRReader>(Path("cut.lyr")).isEmpty()) << "cut at " << n;
    }
}

// --- layers from files ---

TEST_F(MapFileTest, FileLayersByExtension)
{
    EXPECT_EQ(CreateFileLayer(globe, Path("missing.shp")), -1);
    Write(Path("notes.txt"), "text");
    EXPECT_EQ(CreateFileLayer(globe, Path("notes.txt")), -1);

    Write(Path("mixed.Shp"), MixedShapes());
    Write(Path("Mixed.mif"), kMif);
    globe.dataDirectory = dir.path() + QLatin1Char('/');
    EXPECT_EQ(CreateFileLayer(globe, QStringLiteral("/elsewhere/mixed.Shp")), 0); // found in the data directory
    EXPECT_EQ(CreateFileLayer(globe, Path("Mixed.mif")), 1);
    TGlobeLayer& shapes = *globe.GlobeLayers().GetLayer(0);
    EXPECT_EQ(shapes.Objects()->ClassName(), QStringLiteral("TGlobeSHPReader"));
    EXPECT_EQ(shapes.GetLayerName(), QStringLiteral("mixed"));
    EXPECT_TRUE(shapes.Objects()->Active());
    EXPECT_EQ(shapes.Objects()->Count(), 4);
    EXPECT_EQ(globe.GlobeLayers().GetLayer(1)->Objects()->Count(), 7);

    // A file that cannot be read leaves neither layer nor source behind.
    Write(Path("broken.shp"), QByteArray(100, 'x'));
    const int sources = globe.SourceCount();
    EXPECT_THROW(CreateFileLayer(globe, Path("broken.shp")), EGlobeException);
    EXPECT_EQ(globe.GlobeLayers().Count(), 2);
    EXPECT_EQ(globe.SourceCount(), sources);
}
