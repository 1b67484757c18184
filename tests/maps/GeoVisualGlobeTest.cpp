#include "globe/GlobeClasses.h"
#include "globe/GlobeLayer.h"
#include "globe/GlobeLayerStore.h"
#include "globe/GlobePresenters.h"
#include "globe/GlobeProjections.h"
#include "globe/GlobeStream.h"
#include "globe/GlobeView.h"
#include "i18n/MainDictionary.h"
#include "lesson/ConversionError.h"
#include "lesson/GeoIndex.h"
#include "lesson/LessonHeader.h"
#include "lesson/TDaten.h"
#include "lesson/TLernOptionen.h"
#include "maps/GeoVisualGlobe.h"
#include "maps/GlobeLessonLink.h"
#include "platform/IniFile.h"
#include "support/TestResponder.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr int32_t Deg(double d) { return static_cast<int32_t>(d * GU_DEGREE); }

// A closed square of side degrees with its lower left corner at (lon, lat).
void writeSquare(TGlobeStreamWriter& writer, double lon, double lat, double side)
{
    TGeoDataObject object(nullptr);
    TPointStore& chain = object.Chains().GetChain(0);
    chain.Add(PointLL(Deg(lon), Deg(lat)));
    chain.Add(PointLL(Deg(lon + side), Deg(lat)));
    chain.Add(PointLL(Deg(lon + side), Deg(lat + side)));
    chain.Add(PointLL(Deg(lon), Deg(lat + side)));
    object.SetClosed(true);
    object.WriteProperties(writer);
}

void writePoint(TGlobeStreamWriter& writer, double lon, double lat)
{
    TGeoDataObject object(nullptr);
    object.Chains().GetChain(0).Add(PointLL(Deg(lon), Deg(lat)));
    object.WriteProperties(writer);
}

// Positions of the objects in the stream the fixture writes.
struct Stream {
    QByteArray bytes;
    std::vector<qint64> positions;
};

Stream writeStream()
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->open(QIODevice::WriteOnly);
    QBuffer* raw = buffer.get();
    Stream stream;
    {
        TGlobeStreamWriter writer(std::move(buffer));
        const auto mark = [&] { stream.positions.push_back(writer.Position()); };
        mark(), writeSquare(writer, 0, 40, 10);  // 0: a country
        mark(), writeSquare(writer, 20, 40, 1);  // 1: a small country
        mark(), writePoint(writer, 5, 45);       // 2: its capital
        mark(), writeSquare(writer, 2, 42, 2);   // 3: a lake
        mark(), writeSquare(writer, 12, 38, 3);  // 4: a switched-off country
        mark(), writeSquare(writer, 30, 40, 2);  // 5: a part of country 6
        stream.bytes = raw->data();
    }
    return stream;
}

QString indexText(const Stream& s)
{
    const auto at = [&](int i) { return QString::number(s.positions[i]); };
    return QStringLiteral("[Land]\n"
                          "1=Testland|Testlandia~Testland~~12-0-0-3000000~~%1\n"
                          "2=Kleinland~Smallland~~-0-0-1500~~%2\n"
                          "3=Nullland~Nulland~~13-0-0-500~~null\n"
                          "4=Aus~Off~~-0-0-90000~~%5\n"
                          "6=Teilland~Partland~~-0-0-50000~I7;~null\n"
                          "[Insel]\n7=Teilinsel~Part island~~-0-0-4000~~%6\n"
                          "[Stadt]\n12=Hauptstadt~Capital~~~~%3\n"
                          "[See]\n5=Testsee~Test lake~~~~%4\n"
                          "[Flaggen]\n1=c,clRed;r,0,0,100,100\n")
        .arg(at(0), at(1), at(2), at(3), at(4), at(5));
}

class GlobeMapTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TestResponder responder;
    QWidget view;
    TDaten lesson; // outlives the map, as in a lesson view
    std::unique_ptr<TGeoVisualGlobe> map;
    Stream stream = writeStream();

    GlobeMapTest()
    {
        QDir(dir.path()).mkpath("Data");
        QDir(dir.path()).mkpath("Lektionen");
        write("Data/geodata.dat", stream.bytes);
        write("Data/geodata.ini", indexText(stream).toUtf8());
        lesson.LearnOptions = std::make_unique<TLernOptionen>();
        lesson.LearnOptions->Hauptstaedte = true;
        view.resize(640, 480);
    }
    ~GlobeMapTest() override { map.reset(); }

    void write(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray standardLesson()
    {
        return "[Lektion]\nTyp=iglobe\nName=Test\nAllowZooming=0\n"
               "[Globe]\nXRotation=-5,0\nYRotation=45,0\nXOrigin=150\nYOrigin=150\n"
               "[L]\nSettings=Staaten~States\n1=1\n2=2\n3=3\n4=xxx4\n5=6\n"
               "[S]\n1=5\n";
    }
    // Loads and prepares a lesson as the lesson view does.
    void open(const QByteArray& text = standardLesson())
    {
        write("Lektionen/test.lek", text);
        map = std::make_unique<TGeoVisualGlobe>(&view, dir.path() + '/', lesson);
        map->resize(640, 480);
        IniFile file(dir.filePath("Lektionen/test.lek"));
        map->LoadLesson(dir.filePath("Lektionen/test.lek"), file);
        map->PrepareMap();
    }
    TGeoItem& item(int category, int i) { return *lesson.Categories.at(category)->Items.at(i); }
    TGeoDataObject* object(const TGeoItem& it) { return TGlobeLessonLink::ObjectOf(it); }
    // The device point of an item's centre on the live globe.
    QPoint centre(const TGeoItem& it)
    {
        const TPointLL c = object(it)->GetCentroid();
        QPoint p;
        EXPECT_TRUE(map->Globe->Projection().LLToDeviceXY(c.Long, c.Lat, p));
        return p;
    }
};

TEST_F(GlobeMapTest, LessonBecomesCategoriesItemsAndObjects)
{
    open();
    ASSERT_GE(lesson.Categories.size(), 3u) << "L, S and the capitals' cities";
    const TKategorie& countries = *lesson.Categories[0];
    EXPECT_EQ(countries.Kind, CategoryKind::Countries);
    EXPECT_EQ(countries.Name, "Staaten") << "the section's settings apply";
    EXPECT_EQ(lesson.Categories[1]->Kind, CategoryKind::Lakes);

    const TGeoItem& testland = item(0, 0);
    EXPECT_EQ(testland.NamesGerman, (QStringList{"Testland", "Testlandia"}));
    EXPECT_EQ(testland.Area, 3000000);
    EXPECT_EQ(testland.FlagData, "c,clRed;r,0,0,100,100");
    ASSERT_NE(object(testland), nullptr);
    EXPECT_EQ(object(testland)->UserObject(), &testland);
    EXPECT_EQ(item(0, 3).State(), ItemState::Deactivated);
    EXPECT_EQ(item(0, 3).Number, 4);

    // The capital: created, dependent, hidden, and a click on it is the country's.
    ASSERT_NE(testland.Capital, nullptr);
    const TGeoItem& capital = *testland.Capital;
    EXPECT_EQ(capital.Category->Kind, CategoryKind::Cities);
    EXPECT_EQ(capital.State(), ItemState::Dependent);
    EXPECT_EQ(capital.CapitalOf, &testland);
    EXPECT_TRUE(capital.Auxiliary);
    EXPECT_TRUE(capital.Question.contains("Testland")) << capital.Question.toStdString();
    ASSERT_NE(object(capital), nullptr);
    EXPECT_TRUE(object(capital)->Hidden());
    EXPECT_EQ(object(capital)->UserObject(), &testland);
    auto* square = dynamic_cast<TPointPresenter*>(TGlobeLessonLink::LayerOf(*capital.Category)->FindPresenter(1));
    ASSERT_NE(square, nullptr);
    EXPECT_EQ(square->PointType, ppSquare);
    EXPECT_EQ(square->PointSize, 8);

    // A country made of an island: one sub-item, drawn but never asked itself.
    const TGeoItem& parted = item(0, 4);
    EXPECT_EQ(object(parted), nullptr);
    ASSERT_EQ(parted.SubItems.size(), 1u);
    EXPECT_EQ(parted.SubItemLimit, 1);
    EXPECT_EQ(parted.SubItems[0]->State(), ItemState::ShowOnly);
    EXPECT_EQ(object(*parted.SubItems[0])->UserObject(), &parted);

    // Lesson settings: the [Globe] rotation and origin, zooming switched off.
    EXPECT_EQ(map->Globe->MouseZoomButton, mzbNone);
    EXPECT_EQ(map->Globe->MouseRotateButton, mzbLeft);
    EXPECT_NEAR(map->Globe->Projection().FloatProp(ppYRotation), 45.0, 1e-9);
}

// Category sections are read whole: an empty value is no entry and a key
// that occurs twice is one entry.
TEST_F(GlobeMapTest, EmptyAndRepeatedKeysInACategoryAreOneRuleForAll)
{
    open("[Lektion]\nTyp=globe\n[L]\nSettings=Staaten~States\n1=1\n2=\n1=3\n3=2\nsettings=\n");
    ASSERT_GE(lesson.Categories.size(), 1u);
    const TKategorie& countries = *lesson.Categories[0];
    EXPECT_EQ(countries.Name, "Staaten");
    ASSERT_EQ(countries.Items.size(), 2u) << "1 once, 2 absent, 3";
    EXPECT_EQ(countries.Items[0]->Number, 1);
    EXPECT_EQ(countries.Items[1]->Number, 2);
}

TEST_F(GlobeMapTest, RecordTableCaseAndTheSpellingSwap)
{
    TGlobeView globe;
    TGlobeLessonLink link(globe);
    TKategorie countries;
    countries.SetKind("L");
    link.CreatePresenters(countries);
    TGlobeStreamReader reader(QByteArray{});
    const TGeoIndex index = TGeoIndex::fromText("[Land]\n"
                                                "3=Nullland|Zweitname~Nulland~~12-0-0-500~~null\n"
                                                "207=Rußland|Russland~Russia~~~~null\n"
                                                "520=Nur~Only~~~~null\n");
    TGeoItem& nullland = countries.AddItem();
    nullland.Number = 3;
    link.LoadRecord(nullland, index, reader);
    EXPECT_EQ(nullland.NamesGerman, (QStringList{"Nullland", "Zweitname"}));
    EXPECT_EQ(nullland.NamesEnglish, QStringList{"Nulland"});
    EXPECT_TRUE(nullland.NamesOther.isEmpty());
    EXPECT_EQ(nullland.CapitalId, 12);
    EXPECT_EQ(nullland.Area, 500);
    EXPECT_TRUE(nullland.SubItemRefs.isEmpty());
    EXPECT_EQ(nullland.GeoObject, nullptr);

    struct Case {
        int language;
        int number;
        QStringList german;
    };
    const Case cases[] = {
        {1, 207, {QString::fromUtf8("Rußland"), "Russland"}},
        {2, 207, {"Russland", QString::fromUtf8("Rußland")}},
        {3, 207, {QString::fromUtf8("Rußland"), "Russland"}},
        {2, 520, {"Nur"}}, // one name: nothing to swap
    };
    for (const Case& c : cases) {
        MainDictionary().SetActLang(c.language);
        TGeoItem& it = countries.AddItem();
        it.Number = c.number;
        link.LoadRecord(it, index, reader);
        EXPECT_EQ(it.NamesGerman, c.german) << c.language << " " << c.number;
    }
    MainDictionary().SetActLang(1);
    TGlobeLessonLink::Detach(*std::make_unique<TDaten>()); // nothing to detach: no crash
}

TEST_F(GlobeMapTest, PresenterFollowsStateAndKind)
{
    open();
    TGeoItem& testland = item(0, 0);
    TGeoItem& capital = *testland.Capital;
    TGeoItem& lake = item(1, 0);
    TGeoItem& off = item(0, 3);
    EXPECT_LT(TGlobeLessonLink::LayerOf(*lesson.Categories[0])->GetIndex(),
              TGlobeLessonLink::LayerOf(*lesson.Categories[1])->GetIndex())
        << "areas lie beneath lakes";
    EXPECT_EQ(lesson.Categories[1]->SolvedPresenter, nullptr);

    EXPECT_EQ(object(off)->PresenterID(), PresenterIds::Grey);
    off.UpdatePresentation(2);
    EXPECT_EQ(object(off)->PresenterID(), PresenterIds::Grey) << "switched off stays grey";

    testland.SetState(ItemState::Right);
    EXPECT_EQ(object(testland)->PresenterID(), PresenterIds::Normal) << "the capital is still open";
    capital.SetState(ItemState::Right);
    testland.UpdatePresentation(0);
    EXPECT_EQ(object(testland)->PresenterID(), PresenterIds::Solved);

    lake.SetState(ItemState::Right);
    EXPECT_EQ(object(lake)->PresenterID(), PresenterIds::Normal) << "lakes have no solved look";

    // Colours reach the presenters.
    lesson.Categories[0]->SetMapColor(0x123456);
    lesson.Categories[0]->SetOutlineColor(0x654321);
    auto* normal = dynamic_cast<TPolygonPresenter*>(TGlobeLessonLink::LayerOf(*lesson.Categories[0])->FindPresenter(1));
    ASSERT_NE(normal, nullptr);
    EXPECT_EQ(normal->PolyBrush.BrushColor(), 0x123456u);
    EXPECT_EQ(normal->PolyPen.PenColor(), 0x654321u);
}

TEST_F(GlobeMapTest, ClicksReportTheItemAndHighlightSelectsIt)
{
    open();
    map->show();
    std::vector<TGeoItem*> clicked;
    map->OnItemClick = [&](TGeoItem& it) { clicked.push_back(&it); };
    TGeoItem& testland = item(0, 0);
    map->HighlightItem(&testland, false);
    EXPECT_TRUE(object(testland)->Selected());
    const QPoint p = centre(testland);
    map->Globe->MouseDown(mzbLeft, 0, p.x(), p.y());
    map->Globe->MouseUp(mzbLeft, 0, p.x(), p.y());
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0], &testland);

    // The globe's corner lies off the globe: nothing is reported.
    map->Globe->MouseDown(mzbLeft, 0, 1, 1);
    map->Globe->MouseUp(mzbLeft, 0, 1, 1);
    EXPECT_EQ(clicked.size(), 1u);

    // A capital highlights its country and shows its square.
    map->HighlightItem(testland.Capital, true);
    EXPECT_TRUE(object(testland)->Selected());
    EXPECT_FALSE(object(*testland.Capital)->Hidden());
    map->HighlightItem(nullptr, false);
    EXPECT_TRUE(object(*testland.Capital)->Hidden());
    EXPECT_EQ(map->Globe->GlobeLayers().GetSelectedCount(), 0);
}

TEST_F(GlobeMapTest, SmallCountryGetsAnInsetAndAMarker)
{
    open();
    map->show();
    TGeoItem& small = item(0, 1);
    ASSERT_NE(small.InsetPicture, nullptr);
    EXPECT_EQ(item(0, 3).InsetPicture, nullptr) << "switched off";
    EXPECT_TRUE(map->InsetPanel->isHidden());
    map->HighlightItem(&small, true);
    EXPECT_FALSE(map->InsetPanel->isHidden());
    EXPECT_FALSE(dynamic_cast<QWidget&>(*small.InsetPicture).isHidden());
    EXPECT_EQ(map->MarkerObject, object(small));
    map->HighlightItem(&item(0, 0), true);
    EXPECT_TRUE(map->InsetPanel->isHidden());
    EXPECT_EQ(map->MarkerObject, nullptr);
}

TEST_F(GlobeMapTest, DamagedRecordsRaiseConversionErrors)
{
    TGlobeView globe;
    TGlobeLessonLink link(globe);
    TKategorie countries;
    countries.SetKind("L");
    link.CreatePresenters(countries);
    const qint64 size = stream.bytes.size();
    const QByteArray cut = stream.bytes.left(stream.positions[5] + 6);
    const std::pair<QString, QByteArray> cases[] = {
        {"x-0-0-5~~null", stream.bytes},                                // capital
        {"1-0-0-5a~~null", stream.bytes},                               // area
        {"~~12ab", stream.bytes},                                       // position
        {"~~-4", stream.bytes},                                         // negative position
        {"~~99999999999999999999", stream.bytes},                       // beyond any number
        {QStringLiteral("~~%1").arg(size), stream.bytes},               // just past the end
        {QStringLiteral("~~%1").arg(stream.positions[5]), cut},         // a record cut off
    };
    for (const auto& [tail, bytes] : cases) {
        const TGeoIndex index = TGeoIndex::fromText("[Land]\n1=A~B~~" + tail + "\n", "geodata.ini");
        TGlobeStreamReader reader(bytes);
        TGeoItem& it = countries.AddItem();
        it.Number = 1;
        try {
            link.LoadRecord(it, index, reader);
            ADD_FAILURE() << "no error for " << tail.toStdString();
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.source().Section, "Land");
            EXPECT_EQ(error.source().File, "geodata.ini");
        } catch (const std::exception& error) {
            ADD_FAILURE() << tail.toStdString() << ": " << error.what();
        }
        EXPECT_EQ(it.GeoObject, nullptr);
    }
    EXPECT_EQ(TGlobeLessonLink::LayerOf(countries)->GetObjects().Count(), 0) << "no half-read object joins";
}

// A damaged index whose records name each other as parts, 30,000 deep: the
// map creates the levels it can ever select and stops there.
TEST_F(GlobeMapTest, ADeepSubItemChainIsCutAtTheSelectionDepth)
{
    constexpr int kChain = 30000;
    QByteArray text = "[Land]\n1=Kette~Chain~~-0-0-50000~I1~null\n[Insel]\n";
    for (int k = 1; k <= kChain; ++k) {
        // Only the first island has an outline; the next level is always named.
        const QByteArray position = k == 1 ? QByteArray::number(stream.positions[5]) : QByteArray("null");
        text += QByteArray::number(k) + "=Glied~Link~~-0-0-4000~I" + QByteArray::number(k + 1) + "~" + position + "\n";
    }
    write("Data/geodata.ini", text);
    open("[Lektion]\nTyp=iglobe\n[L]\n1=1\n");

    ASSERT_EQ(lesson.Categories.size(), 2u);
    TGeoItem& chain = item(0, 0);
    const std::size_t islands = lesson.Categories[1]->Items.size();
    EXPECT_EQ(islands, std::size_t(TGeoItem::MaxSubItemDepth)) << "the levels below the selection depth are not read";
    int depth = 0;
    for (const TGeoItem* at = &chain; !at->SubItems.empty(); at = at->SubItems.front())
        ++depth;
    EXPECT_EQ(depth, TGeoItem::MaxSubItemDepth);

    // The cut chain is shown, highlighted and answered like any other.
    map->show();
    map->HighlightItem(&chain, false);
    EXPECT_TRUE(object(*chain.SubItems.front())->Selected());
    chain.SetState(ItemState::Right);
    EXPECT_EQ(object(*chain.SubItems.front())->PresenterID(), PresenterIds::Solved);
}

// A lesson's [Globe] values beyond any view it could mean are brought into
// range when read, so that resizing, zooming and drawing never compute with
// them: an origin a billion pixels off, rotations beyond any turn.
TEST_F(GlobeMapTest, AbsurdGlobeSectionValuesAreClampedWhenRead)
{
    struct Case {
        const char* globe;
        int xSign, ySign; // the side of the view's centre the origin lies on, 0 on it
    } cases[] = {
        {"XOrigin=999999999\nYOrigin=150\n", 1, 0},
        {"XOrigin=-999999999\nYOrigin=999999999\n", -1, 1},
        {"XOrigin=1e300\nYOrigin=-1e300\n", 1, -1},
        {"YRotation=1e308\nZRotation=-1e308\nXRotation=1e308\n", 0, 0},
        {"CentralMeridian=1e308\nCentralParallel=-1e308\nFirstParallel=1e308\nSecondParallel=-1e308\n", 0, 0},
        {"ScaleFactor=1e308\nXOrigin=999999999\n", 1, 0},
    };
    for (const Case& c : cases) {
        lesson.Categories.clear();
        open(QByteArray("[Lektion]\nTyp=iglobe\n[Globe]\n") + c.globe + "[L]\n1=1\n");
        TGlobeProjection& prj = map->Globe->Projection();
        for (const QSize size : {QSize(640, 480), QSize(1900, 1400), QSize(320, 2000), QSize(120, 90), QSize(1600, 1200)}) {
            map->resize(size);
            map->LayoutGlobe();
            const QSize globe = map->Globe->size();
            // Far off stays far off on its side; a centred globe stays within rounding of the centre.
            const auto where = [&](int origin, int extent, int sign) {
                const int offset = origin - extent / 2;
                return sign == 0 ? std::abs(offset) <= 8 : sign * offset > extent;
            };
            EXPECT_TRUE(where(prj.XOrigin(), globe.width(), c.xSign)) << c.globe << prj.XOrigin();
            EXPECT_TRUE(where(prj.YOrigin(), globe.height(), c.ySign)) << c.globe << prj.YOrigin();
            EXPECT_LE(std::abs(prj.XOrigin()), TGlobeProjection::MaxOrigin) << c.globe;
            EXPECT_LE(std::abs(prj.YOrigin()), TGlobeProjection::MaxOrigin) << c.globe;
            for (const int p : {ppXRotation, ppYRotation, ppZRotation})
                EXPECT_LE(std::abs(prj.FloatProp(p)), 180.0) << c.globe;
            EXPECT_LE(std::abs(prj.CentralMeridian()), 180.0) << c.globe;
            EXPECT_LE(std::abs(prj.CentralParallel()), 90.0) << c.globe;
        }
        // The user zooms in as far as the map lets him, and the globe is drawn.
        prj.SetScaleFactor(1);
        map->Globe->RedrawLayers();
        map->Globe->RenderBackBuffer();
        EXPECT_LE(std::abs(prj.XOrigin()), TGlobeProjection::MaxOrigin) << c.globe;
        map.reset();
    }
}

TEST_F(GlobeMapTest, MissingDataFileFailsConstruction)
{
    QFile::remove(dir.filePath("Data/geodata.dat"));
    EXPECT_THROW(TGeoVisualGlobe(&view, dir.path() + '/', lesson), OrbiloError);
}

// Every globe lesson that ships opens and prepares against the shipped data.
TEST(ShippedGlobeLessons, OpenAndDrawTheirTerms)
{
    TestResponder responder;
    const QDir folder(QStringLiteral(ORBILO_DATA_DIR "/Lektionen"));
    int globeLessons = 0;
    for (const QString& name : folder.entryList({"*.lek"}, QDir::Files)) {
        IniFile file(folder.filePath(name));
        if (LessonFile::IsPictureType(LessonFile::LessonType(file)))
            continue;
        ++globeLessons;
        QWidget view;
        TDaten lesson;
        lesson.LearnOptions = std::make_unique<TLernOptionen>();
        lesson.LearnOptions->Hauptstaedte = true;
        try {
            TGeoVisualGlobe map(&view, QStringLiteral(ORBILO_DATA_DIR "/"), lesson);
            map.LoadLesson(folder.filePath(name), file);
            map.PrepareMap();
            int asked = 0, drawn = 0;
            for (const auto& category : lesson.Categories)
                for (const auto& it : category->Items) {
                    if (it->Auxiliary || it->State() == ItemState::Deactivated || it->Number == 0)
                        continue;
                    ++asked;
                    EXPECT_FALSE(it->DisplayName().isEmpty()) << name.toStdString() << " " << it->Number;
                    drawn += it->GeoObject || !it->SubItems.empty();
                }
            EXPECT_GT(asked, 0) << name.toStdString();
            EXPECT_EQ(drawn, asked) << name.toStdString();
        } catch (const std::exception& error) {
            ADD_FAILURE() << name.toStdString() << ": " << error.what();
        }
    }
    EXPECT_EQ(globeLessons, 32);
}

} // namespace
