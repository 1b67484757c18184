#include "TestGlobe.h"

#include "globe/GlobeStream.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {
// Builds records byte by byte.
struct Bytes {
    QByteArray data;
    template <typename T> Bytes& put(T v)
    {
        data.append(reinterpret_cast<const char*>(&v), sizeof(T));
        return *this;
    }
    Bytes& word(uint16_t v) { return put(v); }
    Bytes& small(int16_t v) { return put(v); }
    Bytes& shortint(int8_t v) { return put(v); }
    Bytes& integer(int32_t v) { return put(v); }
};

QByteArray Write(TGlobeObject& object)
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->open(QIODevice::WriteOnly);
    QBuffer* raw = buffer.get();
    TGlobeStreamWriter writer(std::move(buffer));
    object.WriteProperties(writer);
    return raw->data();
}

std::unique_ptr<TGeoDataObject> Read(const QByteArray& bytes, int64_t* consumed = nullptr)
{
    TGlobeStreamReader reader(bytes);
    auto object = std::make_unique<TGeoDataObject>(nullptr);
    object->ReadProperties(reader);
    if (consumed)
        *consumed = reader.Position();
    return object;
}

std::vector<TPointLL> Points(const TPointStore& store)
{
    std::vector<TPointLL> points;
    for (int i = 0; i < store.GetCount(); ++i)
        points.push_back(store.GetLL(i));
    return points;
}

TPointLL Minutes(int lon, int lat, int h = 0) { return {lon * GU_MINUTE, lat * GU_MINUTE, h * GU_MINUTE}; }
} // namespace

TEST(GlobeStream, SinglePointRecord)
{
    const QByteArray record = Bytes().word(0x0020).small(-2).integer(Deg(8)).integer(Deg(47)).data;
    int64_t consumed = 0;
    auto object = Read(record, &consumed);
    EXPECT_EQ(consumed, record.size());
    EXPECT_EQ(object->Chains().GetCount(), 0);
    EXPECT_EQ(object->PresenterID(), -2);
    EXPECT_EQ(object->GetCentroid(), (TPointLL{Deg(8), Deg(47), 0}));
    EXPECT_EQ(object->ObjectMER(), MER(Deg(8), Deg(47), 0, 0));
    EXPECT_EQ(Write(*object), record);
}

TEST(GlobeStream, SixteenBitDeltasAndEscapes)
{
    // A step of 1 and 120 minutes is a delta; 180 minutes needs the escape.
    TGeoDataObject object(nullptr);
    TPointStore& chain = object.Chains().GetChain(0);
    for (const TPointLL& p : {Minutes(0, 0), Minutes(1, 0), Minutes(1, 120), Minutes(181, 120)})
        chain.Add(p);
    const QByteArray bytes = Write(object);
    const QByteArray expected = Bytes()
                                    .word(of16Bit | ofCompressed)
                                    .small(0)
                                    .word(4)
                                    .small(0).small(0)
                                    .shortint(1).shortint(0)
                                    .shortint(0).shortint(120)
                                    .shortint(127).small(181).small(120)
                                    .data;
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(Points(Read(bytes)->Chains().GetChain(0)), Points(chain));
}

TEST(GlobeStream, NegativeDeltasDownToMinus128AreDeltas)
{
    const QByteArray record = Bytes()
                                  .word(of16Bit | ofCompressed)
                                  .small(0)
                                  .word(3)
                                  .small(500).small(0)
                                  .shortint(-127).shortint(-128)
                                  .shortint(-128).shortint(126)
                                  .data;
    auto object = Read(record);
    EXPECT_EQ(Points(object->Chains().GetChain(0)),
              (std::vector<TPointLL>{Minutes(500, 0), Minutes(373, -128), Minutes(245, -2)}));
}

TEST(GlobeStream, MultiRingRecordsCarryFlagsPerChain)
{
    const QByteArray record = Bytes()
                                  .word(ofMultiRing | ofHeight | ofClosed)
                                  .small(3)
                                  .word(3)
                                  .word(1).integer(1).integer(2).integer(3) // chain 0: 12-byte point
                                  .word(0)
                                  .word(1).integer(4).integer(5)            // chain 1: 8-byte point
                                  .word(of16Bit)
                                  .word(1).small(6).small(7)                // chain 2: 4-byte point
                                  .data;
    int64_t consumed = 0;
    auto object = Read(record, &consumed);
    EXPECT_EQ(consumed, record.size());
    EXPECT_TRUE(object->Closed());
    ASSERT_EQ(object->Chains().GetCount(), 3);
    EXPECT_EQ(object->Chains().GetChain(0).GetLL(0), (TPointLL{1, 2, 3}));
    EXPECT_FALSE(object->Chains().GetChain(1).GetHeightFlag());
    EXPECT_EQ(object->Chains().GetChain(1).GetLL(0), (TPointLL{4, 5, 0}));
    EXPECT_EQ(object->Chains().GetChain(2).GetLL(0), Minutes(6, 7));
}

TEST(GlobeStream, RoundTripsOfWrittenObjects)
{
    auto chainOf = [](std::vector<TPointLL> points, bool height) {
        auto store = std::make_unique<TPointStore>();
        store->SetHeightFlag(height);
        for (const TPointLL& p : points)
            store->Add(p);
        return store;
    };
    std::vector<TPointLL> many;
    for (int i = 0; i < 65536; ++i)
        many.push_back({Deg(-179) + i * 3, (i % 7) * 100, 0});
    const struct {
        const char* name;
        std::vector<std::vector<TPointLL>> chains;
        bool height;
        uint16_t flags; // expected object flags (title, ID and presenter aside)
    } cases[] = {
        {"16-bit compressed", {{Minutes(10, 20), Minutes(11, 21), Minutes(12, 19), Minutes(10, 20)}}, false,
         of16Bit | ofCompressed},
        {"32-bit compressed with an escape", {{{1, 2, 0}, {3, 4, 0}, {5, 6, 0}, {40000, 5, 0}, {40001, 6, 0}}}, false,
         ofCompressed},
        {"far apart, uncompressed", {{{Deg(-170) + 1, Deg(10), 0}, {Deg(170), Deg(-10), 0}}}, false, 0},
        {"heights", {{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}}, true, ofHeight | ofCompressed},
        {"16-bit heights", {{Minutes(1, 2, 3), Minutes(2, 3, 4), Minutes(3, 4, 5)}}, true,
         ofHeight | of16Bit | ofCompressed},
        {"heights off the minute stay exact", {{Minutes(1, 2), {2 * GU_MINUTE, 3 * GU_MINUTE, 100}}}, true, ofHeight},
        {"180 W and 180 E as stored", {{{-GU_180_DEGREE, 0, 0}, {GU_180_DEGREE, 0, 0}}}, false, of16Bit},
        {"multi-ring", {{Minutes(0, 0), Minutes(1, 1), Minutes(2, 2)}, {{1, 2, 0}, {3, 4, 0}}, {}}, false,
         of16Bit | ofCompressed | ofMultiRing},
        {"65,536 points", {many}, false, ofCompressed | ofLongCount},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TGeoDataObject object(nullptr);
        object.SetTitle(QString::fromUtf8("Bodensee-Ufer äöüß"));
        object.SetID(4711);
        object.SetPresenterID(-1);
        object.SetZoomMin(1);
        object.SetZoomMax(9);
        for (const auto& points : c.chains)
            object.Chains().Add(chainOf(points, c.height));
        const QByteArray bytes = Write(object);
        EXPECT_EQ(object.ObjectFlags() & ~(ofTitle | ofID | ofZoomMinMax), c.flags);
        int64_t consumed = 0;
        auto back = Read(bytes, &consumed);
        EXPECT_EQ(consumed, bytes.size());
        EXPECT_EQ(back->Title(), object.Title());
        EXPECT_EQ(back->ID(), 4711);
        EXPECT_EQ(back->PresenterID(), -1);
        EXPECT_EQ(back->ZoomMin(), 1);
        EXPECT_EQ(back->ZoomMax(), 9);
        ASSERT_EQ(back->Chains().GetCount(), object.Chains().GetCount());
        for (int i = 0; i < object.Chains().GetCount(); ++i) {
            std::vector<TPointLL> expected = Points(object.Chains().GetChain(i));
            if (!c.height)
                for (TPointLL& p : expected)
                    p.Height = 0;
            EXPECT_EQ(Points(back->Chains().GetChain(i)), expected) << "chain " << i;
        }
    }
}

TEST(GlobeStream, WriterDropsRepeatedPointsFromTheThirdOn)
{
    TGeoDataObject object(nullptr);
    TPointStore& chain = object.Chains().GetChain(0);
    for (const TPointLL& p : {Minutes(0, 0), Minutes(0, 0), Minutes(1, 1), Minutes(1, 1), Minutes(1, 1)})
        chain.Add(p);
    Write(object);
    EXPECT_EQ(Points(chain), (std::vector<TPointLL>{Minutes(0, 0), Minutes(0, 0), Minutes(1, 1)}));
}

TEST(GlobeStream, TitlesAreCutTo255Characters)
{
    for (const int length : {255, 300}) {
        TGeoDataObject object(nullptr);
        object.SetTitle(QString(length, QLatin1Char('x')));
        EXPECT_EQ(Read(Write(object))->Title(), QString(255, QLatin1Char('x')));
    }
}

TEST(GlobeStream, SinglePointKeepsItsHeight)
{
    TGeoDataObject object(nullptr);
    object.SetCentroid({Deg(10), Deg(50), 1234});
    EXPECT_EQ(Read(Write(object))->GetCentroid(), (TPointLL{Deg(10), Deg(50), 1234}));
}

TEST(GlobeStream, DamagedRecordsStopWithAClearError)
{
    const QByteArray good = Bytes().word(ofCompressed).small(0).word(3).integer(1).integer(2)
                                .small(1).small(1).small(1).small(1).data;
    const struct {
        const char* name;
        QByteArray bytes;
        const char* message;
    } cases[] = {
        {"empty", QByteArray(), "unexpected end of data"},
        {"cut inside the points", good.left(good.size() - 1), "the point count needs"},
        {"cut after an escape",
         Bytes().word(ofCompressed).small(0).word(3).integer(1).integer(2).small(32767).integer(5).small(1).small(1).data,
         "unexpected end of data"},
        {"cut inside the title", Bytes().word(ofTitle).shortint(40).put<char>('a').data, "unexpected end of data"},
        {"absurd point count", Bytes().word(ofLongCount).small(0).integer(2000000000).integer(0).data,
         "the point count needs"},
        {"negative point count", Bytes().word(ofLongCount).small(0).integer(-5).data, "negative point count"},
        {"absurd chain count", Bytes().word(ofMultiRing).small(0).word(65535).word(0).data, "the chain count needs"},
        {"unknown flags", Bytes().word(0x8000).small(0).data, "unknown object flags 0x8000"},
    };
    for (const auto& c : cases) {
        try {
            Read(c.bytes);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const EGlobeException& e) {
            EXPECT_TRUE(e.message().contains(QLatin1String(c.message))) << c.name << ": " << e.what();
            EXPECT_TRUE(e.message().contains(QLatin1String("offset"))) << c.name << ": " << e.what();
        }
    }
    EXPECT_NO_THROW(Read(good));
}

TEST(GlobeStream, RecordsAreFoundByOffsetAndOffsetsPastTheEndAreRefused)
{
    TGeoDataObject first(nullptr), second(nullptr);
    first.SetCentroid({1, 2, 0});
    second.SetTitle("zwei");
    second.SetCentroid({3, 4, 0});
    const QByteArray a = Write(first);
    TGlobeStreamReader reader(a + Write(second));
    reader.Seek(a.size());
    TGeoDataObject back(nullptr);
    back.ReadProperties(reader);
    EXPECT_EQ(back.Title(), "zwei");
    EXPECT_THROW(reader.Seek(10000), EGlobeException);
}

TEST(GlobeStream, SequentialStreamsGrowWithTheData)
{
    // A pipe-like stream cannot tell its size: a huge count must not turn into
    // a huge allocation before the data runs out.
    class Sequential : public QIODevice {
    public:
        explicit Sequential(QByteArray data) : m_data(std::move(data)) { open(ReadOnly); }
        bool isSequential() const override { return true; }

    protected:
        qint64 readData(char* out, qint64 max) override
        {
            const qint64 n = std::min<qint64>(max, m_data.size() - m_at);
            std::memcpy(out, m_data.constData() + m_at, static_cast<size_t>(n));
            m_at += n;
            return n;
        }
        qint64 writeData(const char*, qint64) override { return -1; }

    private:
        QByteArray m_data;
        qint64 m_at = 0;
    };
    auto stream = std::make_unique<Sequential>(
        Bytes().word(ofLongCount).small(0).integer(2000000000).integer(0).integer(0).data);
    TGlobeStreamReader reader(std::move(stream));
    TGeoDataObject object(nullptr);
    EXPECT_THROW(object.ReadProperties(reader), EGlobeException);
}

TEST(GlobeStream, PrimitivesRoundTrip)
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->open(QIODevice::WriteOnly);
    QBuffer* raw = buffer.get();
    QByteArray bytes;
    {
        TGlobeStreamWriter writer(std::move(buffer)); // frees the buffer when done
        writer.WriteDouble(2.5);
        writer.WriteRect(QRect(QPoint(1, 2), QPoint(9, 19)));
        writer.WriteMER(MER(-1, -2, 3, 4));
        writer.WriteShortString(QString::fromUtf8("€uro"));
        writer.WritePointLL({GU_MINUTE, -GU_MINUTE, 2 * GU_MINUTE}, true, true);
        bytes = raw->data();
    }
    TGlobeStreamReader reader(bytes);
    EXPECT_EQ(reader.ReadDouble(), 2.5);
    EXPECT_EQ(reader.ReadRect(), QRect(QPoint(1, 2), QPoint(9, 19)));
    EXPECT_EQ(reader.ReadMER(), MER(-1, -2, 3, 4));
    EXPECT_EQ(reader.ReadShortString(), QString::fromUtf8("€uro"));
    EXPECT_EQ(reader.ReadPointLL(true, true), (TPointLL{GU_MINUTE, -GU_MINUTE, 2 * GU_MINUTE}));
    EXPECT_EQ(reader.Remaining(), 0);
}
