#include "TestGlobe.h"

#include "globe/GlobeStream.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {
// Hits a square of `size` GU around the object's centroid, like a point symbol.
class SquarePresenter : public TGlobePresenter {
public:
    SquarePresenter(TCustomGlobeView& globe, int32_t id, int32_t size = 0) : TGlobePresenter(globe, id), m_size(size) {}
    QString ClassName() const override { return QStringLiteral("SquarePresenter"); }
    void RenderObject(TCustomGlobeView&, TGlobeObject&, TGlobeObjectState) override {}
    std::unique_ptr<TGlobePresenter> Clone() const override
    {
        return std::make_unique<SquarePresenter>(Globe(), PresenterID, m_size);
    }
    bool LLInObject(TCustomGlobeView&, const TPointLL& p, int32_t, TGlobeObject& object) override
    {
        const TPointLL c = object.GetCentroid();
        const int32_t half = m_size / 2;
        return PointLLinMER(p, MER(c.Long - half, c.Lat - half, 2 * half, 2 * half));
    }

private:
    int32_t m_size;
};

TGeoDataObject* Square(TGlobeObjectSource& source, double lon, double lat, double size, const char* title)
{
    auto* object = new TGeoDataObject(&source);
    TPointStore& ring = object->Chains().GetChain(0);
    for (auto [x, y] : {std::pair{0.0, 0.0}, {size, 0.0}, {size, size}, {0.0, size}})
        ring.Add({Deg(lon + x), Deg(lat + y), 0});
    object->SetClosed(true);
    object->SetTitle(QString::fromLatin1(title));
    return object;
}

// Loads its objects from records, as a file reader would.
class RecordSource : public TGlobeObjectSource {
public:
    RecordSource(TCustomGlobeView& globe, QByteArray records, std::vector<int64_t> offsets)
        : TGlobeObjectSource(globe), m_reader(records), m_offsets(std::move(offsets))
    {
        SetCount(static_cast<int>(m_offsets.size()));
    }
    TGlobeObject* LoadObject(int i, bool) override
    {
        ++loads;
        if (m_offsets[static_cast<size_t>(i)] < 0)
            return nullptr;
        m_reader.Seek(m_offsets[static_cast<size_t>(i)]);
        auto* object = new TGeoDataObject(this);
        object->ReadProperties(m_reader);
        return object;
    }
    int loads = 0;

private:
    TGlobeStreamReader m_reader;
    std::vector<int64_t> m_offsets;
};

struct Layers : ::testing::Test {
    TestGlobe globe;
    TGlobeLayer* layer = new TGlobeLayer(globe); // owned by the globe's layer store
    TGlobeObjectSource& source = layer->GetObjects();
};
} // namespace

TEST_F(Layers, ConstructionRegistersWithTheGlobe)
{
    EXPECT_EQ(globe.GlobeLayers().Count(), 1);
    EXPECT_EQ(layer->LayerStore, &globe.GlobeLayers());
    EXPECT_EQ(globe.SourceCount(), 1);
    EXPECT_EQ(layer->GetLayerName(), "TGlobeLayer");
    source.Name = "Staaten";
    EXPECT_EQ(layer->GetLayerName(), "Staaten");
    layer->SetName("  Flüsse ");
    EXPECT_EQ(globe.GlobeLayers().IndexByName("Flüsse"), 0);
    try {
        globe.GlobeLayers().GetLayer(3);
        FAIL();
    } catch (const EGlobeException& e) {
        EXPECT_EQ(e.message(), "TGlobeView.GetLayer: Bad layer index 3");
    }
    delete layer;
    EXPECT_EQ(globe.GlobeLayers().Count(), 0);
    EXPECT_EQ(source.LayerCount(), 0);
}

TEST_F(Layers, HitTestFindsTheTopmostObject)
{
    Square(source, 0, 0, 10, "unten");
    TGeoDataObject* top = Square(source, 5, 5, 10, "oben");
    Square(source, 30, 30, 5, "abseits");
    EXPECT_EQ(layer->ObjectAtLL(PointLL(Deg(7), Deg(7))), top);
    EXPECT_EQ(layer->ObjectAtLL(PointLL(Deg(2), Deg(2)))->Title(), "unten");
    EXPECT_EQ(layer->ObjectAtLL(PointLL(Deg(20), Deg(20))), nullptr);

    // A second layer on top wins in the store.
    auto* upper = new TGlobeLayer(globe);
    TGeoDataObject* cover = Square(upper->GetObjects(), 0, 0, 20, "Deckel");
    EXPECT_EQ(globe.GlobeLayers().ObjectAtLL(PointLL(Deg(7), Deg(7))), cover);
    upper->SetEnabled(false);
    globe.Projection().SetXRotation(7);
    globe.Projection().SetYRotation(7);
    TPointLL centre;
    ASSERT_TRUE(globe.Projection().DeviceXYToLL(200, 150, centre));
    EXPECT_EQ(globe.GlobeLayers().ObjectAtXY(200, 150), top) << "disabled layers are not hit on the screen";
    EXPECT_EQ(globe.GlobeLayers().ObjectAtXY(0, 0), nullptr);
    EXPECT_EQ(globe.GlobeLayers().ObjectByTitle("abseits")->Title(), "abseits");
}

TEST_F(Layers, PointObjectIsHitThroughItsPresenter)
{
    auto* city = new TGeoDataObject(&source);
    city->SetCentroid({Deg(13.4), Deg(52.5), 0});
    EXPECT_EQ(layer->ObjectAtLL(PointLL(Deg(13.41), Deg(52.51))), nullptr) << "no presenter, no area";
    layer->Presenters().Add(std::make_unique<SquarePresenter>(globe, 7, Deg(0.1)));
    city->SetPresenterID(7);
    EXPECT_EQ(layer->ObjectAtLL(PointLL(Deg(13.41), Deg(52.51))), city);
    EXPECT_EQ(layer->ObjectAtLL(PointLL(Deg(13.5), Deg(52.5))), nullptr);

    // Presenters are found in the layer, then the global ones, then the source.
    globe.GlobeLayers().GlobalPresenters().Add(std::make_unique<SquarePresenter>(globe, -1));
    source.Presenters().Add(std::make_unique<SquarePresenter>(globe, 9));
    EXPECT_EQ(layer->FindPresenter(-1)->PresenterID, -1);
    EXPECT_EQ(layer->FindPresenter(9)->PresenterID, 9);
    EXPECT_EQ(layer->FindPresenter(8), nullptr);
}

TEST_F(Layers, LayerZoomRangeHidesItsObjects)
{
    Square(source, 0, 0, 10, "x");
    TGlobeProjection& prj = globe.Projection();
    layer->SetZoomMin(1000); // nautical miles: 90,000,000 GU
    prj.SetAltitude(90000000);
    ASSERT_LE(prj.Altitude(), 90000000);
    EXPECT_FALSE(layer->IsLayerMERVisible());
    EXPECT_EQ(layer->ObjectAtLL(PointLL(Deg(5), Deg(5))), nullptr);

    prj.SetScaleFactor(0); // fitted: the altitude is about 1,730,000 GU
    layer->SetZoomMin(12);
    EXPECT_TRUE(layer->IsLayerMERVisible());
    layer->SetZoomMax(15);
    EXPECT_FALSE(layer->IsLayerMERVisible());
    layer->SetZoomMax(120);
    EXPECT_TRUE(layer->IsLayerMERVisible());
    layer->SetZoomUnits(Degree);
    EXPECT_EQ(layer->ZoomMax(), 2);
    EXPECT_EQ(layer->ZoomMin(), 0);
    layer->SetVisible(false);
    EXPECT_FALSE(layer->IsLayerMERVisible());
}

TEST_F(Layers, LayerRectangleCoversItsObjects)
{
    EXPECT_EQ(layer->GetLayerMER(), MER(0, 0, 1, 1));
    layer->InvalidateLayerMER();
    Square(source, 10, 20, 5, "a");
    Square(source, -30, -10, 5, "b");
    EXPECT_EQ(layer->GetLayerMER(), MER(Deg(-30) - 1, Deg(-10) - 1, Deg(45) + 1, Deg(35) + 1));
}

// An object that worked out its own rectangle and is then redrawn, as a
// selection does, still lets the layer see its true rectangle: the layer
// culls by it, and a stale one hid the object from every drawing.
TEST_F(Layers, EntryRectangleSurvivesTheObjectsOwnQuery)
{
    TGeoDataObject* a = Square(source, 10, 20, 5, "a");
    const TMER own = a->ObjectMER();
    a->SetSelected(true);
    EXPECT_EQ(source.GetMER(0), own);
    EXPECT_EQ(layer->GetLayerMER(), MER(Deg(10) - 1, Deg(20) - 1, Deg(5) + 1, Deg(5) + 1));
}

TEST_F(Layers, SelectionIsOneObjectAtATime)
{
    TGeoDataObject* a = Square(source, 0, 0, 1, "a");
    TGeoDataObject* b = Square(source, 5, 5, 1, "b");
    TGlobeLayerStore& store = globe.GlobeLayers();
    store.SetSelectedObject(a);
    EXPECT_TRUE(a->Selected());
    EXPECT_TRUE(Has(source.GetState(0), osSelected)) << "the entry follows the object";
    store.SetSelectedObject(b);
    EXPECT_FALSE(a->Selected());
    EXPECT_EQ(store.GetSelectedCount(), 1);
    EXPECT_EQ(store.GetSelected(0), b);
    b->SetSelected(false);
    store.SetSelectedObject(b);
    EXPECT_FALSE(b->Selected()) << "the same object again changes nothing";
    store.SetSelectedObject(nullptr);
    EXPECT_EQ(store.GetSelectedCount(), 0);
}

TEST_F(Layers, DeletingRenumbersTheFollowingObjects)
{
    std::vector<TGeoDataObject*> objects;
    for (int i = 0; i < 5; ++i)
        objects.push_back(Square(source, i, 0, 1, "o"));
    source.SetValue(3, 3.5);
    source.Delete(objects[2]);
    EXPECT_EQ(source.Count(), 4);
    EXPECT_EQ(objects[2]->Index(), -1);
    EXPECT_EQ(objects[3]->Index(), 2);
    EXPECT_EQ(objects[4]->Index(), 3);
    EXPECT_EQ(source.GetObject(2), objects[3]);
    EXPECT_DOUBLE_EQ(source.GetValue(2), 3.5);
    EXPECT_EQ(globe.cacheUsed, 0) << "objects added directly are not in the cache account";
    delete objects[2];
    source.Move(0, 3);
    EXPECT_EQ(objects[0]->Index(), 3);
    EXPECT_EQ(objects[1]->Index(), 0);
    // An object freed by its owner leaves no dangling entry behind.
    delete objects[1];
    EXPECT_THROW(source.GetObject(0), EGlobeException);
}

TEST(PresenterStore, IDsAreAssignedAndNeverDuplicated)
{
    TestGlobe globe;
    TGlobePresenterStore store(globe);
    for (int id : {1, 2, 5})
        store.Add(std::make_unique<SquarePresenter>(globe, id));
    EXPECT_EQ(store.Add(std::make_unique<SquarePresenter>(globe, 0)), 6);
    auto duplicate = std::make_unique<SquarePresenter>(globe, 2);
    EXPECT_EQ(store.Add(std::move(duplicate)), 2);
    ASSERT_NE(duplicate, nullptr) << "a refused presenter stays with the caller";
    EXPECT_EQ(store.GetCount(), 4);
    EXPECT_EQ(store.Add(std::unique_ptr<TGlobePresenter>()), 0);
    auto taken = store.Delete(store.ByID(5, false));
    EXPECT_EQ(taken->PresenterID, 5);
    EXPECT_EQ(store.ByID(5, false), nullptr);
}

TEST(ObjectSource, LoadsOnDemandAndKeepsEntryState)
{
    TestGlobe globe;
    QByteArray records;
    std::vector<int64_t> offsets;
    {
        TGlobeObjectSource scratch(globe);
        for (int i = 0; i < 3; ++i) {
            TGeoDataObject* o = Square(scratch, i * 10, 0, 5, "s");
            o->SetID(100 + i);
            o->SetPresenterID(3);
            auto buffer = std::make_unique<QBuffer>();
            buffer->open(QIODevice::WriteOnly);
            QBuffer* raw = buffer.get();
            TGlobeStreamWriter writer(std::move(buffer));
            o->WriteProperties(writer);
            offsets.push_back(records.size());
            records += raw->data();
        }
    }
    offsets.push_back(-1); // an entry whose reader delivers nothing
    auto* source = new RecordSource(globe, records, offsets);
    auto* layer = new TGlobeLayer(globe);
    layer->SetObjects(source);

    EXPECT_EQ(source->loads, 0);
    EXPECT_EQ(layer->ObjectByID(101)->ID(), 101);
    EXPECT_EQ(source->loads, 2);
    EXPECT_EQ(source->GetPresenterID(1), 3) << "a new entry takes the object's presenter";
    EXPECT_FALSE(Has(source->GetState(1), osNew));
    EXPECT_TRUE(Has(source->GetState(1), osDiscardable));
    EXPECT_GT(globe.cacheUsed, 0);
    EXPECT_EQ(globe.objectsCreated, 2);
    const int32_t stamp = source->GetMRU(1);
    source->GetObject(1);
    EXPECT_GT(source->GetMRU(1), stamp);

    source->SetPresenterID(1, 4);
    source->UnloadObjects();
    EXPECT_EQ(source->GetPresenterID(1), 3) << "the entry keeps the object's last presenter";
    source->SetPresenterID(1, 4);
    EXPECT_EQ(source->GetObject(1)->PresenterID(), 4) << "a reloaded object takes the entry's presenter";

    try {
        source->GetObject(3);
        FAIL();
    } catch (const EGlobeException& e) {
        EXPECT_EQ(e.message(), "Object reader returned nil object");
    }
    EXPECT_FALSE(source->Loading());
}

TEST(ObjectSource, MetadataRoundTripAndFileNames)
{
    TestGlobe globe;
    TGlobeObjectSource source(globe);
    Square(source, 1, 2, 3, "a");
    Square(source, 4, 5, 6, "b");
    auto buffer = std::make_unique<QBuffer>();
    buffer->open(QIODevice::WriteOnly);
    QBuffer* raw = buffer.get();
    {
        TGlobeStreamWriter writer(std::move(buffer));
        source.WriteMetaData(writer);
        TGlobeStreamReader reader(raw->data());
        TGlobeObjectSource copy(globe);
        copy.ReadMetaData(reader);
        ASSERT_EQ(copy.Count(), 2);
        EXPECT_EQ(copy.GetMER(1), MER(Deg(4), Deg(5), Deg(6), Deg(6)));
        TGlobeStreamReader hostile(QByteArray("\xff\xff\xff\x7f", 4));
        EXPECT_THROW(copy.ReadMetaData(hostile), EGlobeException);
    }
    globe.dataDirectory = "/data/";
    EXPECT_EQ(source.MetaDataFilename("", true), "");
    EXPECT_EQ(source.MetaDataFilename("/x/geo", false), "/x/geo.md");
    EXPECT_EQ(source.MetaDataFilename("/x/geo", true), "/data/geo.md");
    globe.metaDataLocation = smdDiscard;
    EXPECT_EQ(source.MetaDataFilename("/x/geo", true), "");
}
