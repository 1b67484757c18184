#include "codec/GifCodec.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace {

// An indexed picture whose palette entries are all different and whose
// pixels use every entry.
QImage indexedPicture(int width, int height, int colours, int transparent = -1)
{
    QImage image(width, height, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < colours; ++i)
        table.append(qRgb(i, (i * 7 + 3) % 256, 255 - i));
    if (transparent >= 0)
        table[transparent] = qRgba(10, 20, 30, 0);
    image.setColorTable(table);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, uint((x * 3 + y * 5 + x * y) % colours));
    return image;
}

// A GIF written with giflib directly, for layouts our encoder never makes.
struct RawGif {
    int screenWidth = 8, screenHeight = 4, background = 0;
    std::vector<QRgb> global = {qRgb(255, 0, 0), qRgb(0, 255, 0)};
    std::vector<QRgb> local;
    int left = 0, top = 0, width = 8, height = 4;
    bool interlace = false;
    int transparent = -1;
    std::function<int(int x, int y)> pixel = [](int, int) { return 0; };
};

ColorMapObject* makeMap(const std::vector<QRgb>& colours)
{
    ColorMapObject* map = GifMakeMapObject(int(colours.size()), nullptr);
    for (size_t i = 0; i < colours.size(); ++i)
        map->Colors[i] = {GifByteType(qRed(colours[i])), GifByteType(qGreen(colours[i])),
                          GifByteType(qBlue(colours[i]))};
    return map;
}

QByteArray writeRaw(const RawGif& spec)
{
    QByteArray bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, [](GifFileType* g, const GifByteType* data, int n) {
        static_cast<QByteArray*>(g->UserData)->append(reinterpret_cast<const char*>(data), n);
        return n;
    }, &error);
    EGifSetGifVersion(gif, true);
    ColorMapObject* global = makeMap(spec.global);
    EGifPutScreenDesc(gif, spec.screenWidth, spec.screenHeight, 8, spec.background, global);
    if (spec.transparent >= 0) {
        GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, spec.transparent};
        GifByteType block[4];
        EGifGCBToExtension(&control, block);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, block);
    }
    ColorMapObject* local = spec.local.empty() ? nullptr : makeMap(spec.local);
    EGifPutImageDesc(gif, spec.left, spec.top, spec.width, spec.height, spec.interlace, local);
    std::vector<int> rows;
    if (spec.interlace) {
        for (int y = 0; y < spec.height; y += 8) rows.push_back(y);
        for (int y = 4; y < spec.height; y += 8) rows.push_back(y);
        for (int y = 2; y < spec.height; y += 4) rows.push_back(y);
        for (int y = 1; y < spec.height; y += 2) rows.push_back(y);
    } else {
        for (int y = 0; y < spec.height; ++y) rows.push_back(y);
    }
    std::vector<GifPixelType> line(size_t(spec.width));
    for (int y : rows) {
        for (int x = 0; x < spec.width; ++x)
            line[size_t(x)] = GifPixelType(spec.pixel(x, y));
        EGifPutLine(gif, line.data(), spec.width);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(global);
    if (local)
        GifFreeMapObject(local);
    return bytes;
}

void expectSameIndexed(const QImage& actual, const QImage& expected)
{
    ASSERT_EQ(actual.format(), QImage::Format_Indexed8);
    ASSERT_EQ(actual.size(), expected.size());
    ASSERT_GE(actual.colorCount(), expected.colorCount());
    for (int i = 0; i < expected.colorCount(); ++i)
        ASSERT_EQ(actual.color(i), expected.color(i)) << "palette entry " << i;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            ASSERT_EQ(actual.pixelIndex(x, y), expected.pixelIndex(x, y)) << x << "," << y;
}

// Colours as a viewer sees them: every transparent pixel is the same.
QRgb seen(QRgb c) { return qAlpha(c) < 128 ? 0u : (c | 0xff000000u); }

QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const GifError& e) {
        return e.message();
    }
    return QStringLiteral("<no error>");
}

// ------------------------------------------------------------ round trips

struct IndexedCase {
    int width, height, colours, transparent;
};

class IndexedRoundTrip : public ::testing::TestWithParam<IndexedCase> {};

TEST_P(IndexedRoundTrip, KeepsPaletteAndIndicesAndIsStable)
{
    const IndexedCase c = GetParam();
    const QImage original = indexedPicture(c.width, c.height, c.colours, c.transparent);
    const QByteArray bytes = GifCodec::encode(original);
    const QImage decoded = GifCodec::decode(bytes);
    expectSameIndexed(decoded, original);
    if (c.transparent >= 0)
        EXPECT_EQ(qAlpha(decoded.color(c.transparent)), 0);
    else
        EXPECT_FALSE(decoded.hasAlphaChannel());
    // What the data tool relies on: saving a loaded picture again changes no byte.
    EXPECT_EQ(GifCodec::encode(decoded), bytes);
}

INSTANTIATE_TEST_SUITE_P(Pictures, IndexedRoundTrip,
                         ::testing::Values(IndexedCase{1, 1, 1, -1}, IndexedCase{7, 3, 5, -1},
                                           IndexedCase{300, 200, 256, -1}, IndexedCase{16, 9, 2, 1},
                                           IndexedCase{33, 17, 200, 150}));

TEST(GifCodecEncode, TrueColourWithFewColoursKeepsThemExactly)
{
    // 16 x 16 distinct colours: exactly 256, the most that stays exact.
    QImage full(16, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            full.setPixel(x, y, qRgb(x * 17, y * 13, (x * y) % 251));
    // 255 colours and a transparent area.
    QImage holes = full.convertToFormat(QImage::Format_ARGB32);
    holes.setPixel(0, 0, qRgba(0, 0, 0, 0));
    holes.setPixel(5, 5, qRgba(90, 90, 90, 40));
    QImage mono(13, 5, QImage::Format_Mono);
    mono.setColorTable({qRgb(200, 10, 10), qRgb(10, 10, 200)});
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 13; ++x)
            mono.setPixel(x, y, uint((x + y) % 2));

    const struct {
        const char* name;
        QImage image;
    } cases[] = {{"RGB32", full}, {"RGB888", full.convertToFormat(QImage::Format_RGB888)},
                 {"ARGB32 with holes", holes}, {"Mono", mono}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage decoded = GifCodec::decode(GifCodec::encode(c.image));
        ASSERT_EQ(decoded.size(), c.image.size());
        for (int y = 0; y < c.image.height(); ++y)
            for (int x = 0; x < c.image.width(); ++x)
                ASSERT_EQ(seen(decoded.pixel(x, y)), seen(c.image.pixel(x, y))) << x << "," << y;
    }
}

TEST(GifCodecEncode, ManyColoursAreReducedDeterministicallyKeepingAreasWhole)
{
    QImage image(96, 64, QImage::Format_ARGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 96; ++x)
            image.setPixel(x, y, qRgb(x * 255 / 95, y * 4, (x * 5 + y * 3) % 256));
    for (int y = 10; y < 30; ++y)
        for (int x = 10; x < 40; ++x)
            image.setPixel(x, y, qRgb(12, 200, 99)); // a country that must fill as one area
    for (int x = 0; x < 96; ++x)
        image.setPixel(x, 63, qRgba(0, 0, 0, 0));

    const QByteArray bytes = GifCodec::encode(image);
    EXPECT_EQ(GifCodec::encode(image.copy()), bytes);
    const QImage decoded = GifCodec::decode(bytes);
    ASSERT_EQ(decoded.format(), QImage::Format_Indexed8);
    EXPECT_LE(decoded.colorCount(), 256);

    int worst = 0;
    for (int y = 0; y < 63; ++y) {
        for (int x = 0; x < 96; ++x) {
            const QRgb a = image.pixel(x, y), b = decoded.pixel(x, y);
            ASSERT_EQ(qAlpha(b), 255);
            worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
        }
        ASSERT_EQ(qAlpha(decoded.pixel(y % 96, 63)), 0) << "transparent row stays transparent";
    }
    EXPECT_LE(worst, 24);
    const int area = decoded.pixelIndex(10, 10);
    for (int y = 10; y < 30; ++y)
        for (int x = 10; x < 40; ++x)
            ASSERT_EQ(decoded.pixelIndex(x, y), area);
}

TEST(GifCodecEncode, RefusesPicturesItCannotWrite)
{
    EXPECT_TRUE(errorOf([] { GifCodec::encode(QImage()); }).contains("no picture"));
    EXPECT_TRUE(errorOf([] { GifCodec::encode(QImage(GifCodec::MaxSide + 1, 1, QImage::Format_RGB32)); })
                    .contains("too large"));
}

// ------------------------------------------------------------ decoding

class Interlaced : public ::testing::TestWithParam<int> {};

TEST_P(Interlaced, RowsComeBackInPictureOrder)
{
    RawGif spec;
    spec.height = spec.screenHeight = GetParam();
    spec.width = spec.screenWidth = 3;
    spec.global.clear();
    for (int i = 0; i < 64; ++i)
        spec.global.push_back(qRgb(i * 4, 0, 0));
    spec.interlace = true;
    spec.pixel = [](int x, int y) { return (y * 2 + x) % 64; };
    const QImage decoded = GifCodec::decode(writeRaw(spec));
    ASSERT_EQ(decoded.size(), QSize(3, GetParam()));
    for (int y = 0; y < GetParam(); ++y)
        for (int x = 0; x < 3; ++x)
            ASSERT_EQ(decoded.pixelIndex(x, y), (y * 2 + x) % 64) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Heights, Interlaced, ::testing::Values(1, 2, 3, 4, 5, 8, 9, 19, 33));

TEST(GifCodecDecode, UsesTheFramesOwnTableAndPlacesTheFrame)
{
    RawGif spec;
    spec.background = 1;
    spec.local = {qRgb(0, 0, 255), qRgb(255, 255, 0), qRgb(1, 2, 3), qRgb(4, 5, 6)};
    spec.left = 2, spec.top = 1, spec.width = 4, spec.height = 2;
    spec.pixel = [](int x, int y) { return (x + 2 * y) % 4; };

    QImage decoded = GifCodec::decode(writeRaw(spec));
    ASSERT_EQ(decoded.size(), QSize(8, 4));
    ASSERT_EQ(decoded.colorCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(decoded.color(i), spec.local[size_t(i)]);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool inFrame = x >= 2 && x < 6 && y >= 1 && y < 3;
            ASSERT_EQ(decoded.pixelIndex(x, y), inFrame ? ((x - 2) + 2 * (y - 1)) % 4 : 1) << x << "," << y;
        }
    }

    // With a transparent index, what the frame leaves out is transparent.
    spec.local.clear();
    spec.transparent = 0;
    spec.pixel = [](int, int) { return 1; };
    decoded = GifCodec::decode(writeRaw(spec));
    EXPECT_EQ(decoded.color(1), qRgb(0, 255, 0)) << "global table when the frame has none";
    EXPECT_EQ(decoded.color(0), qRgba(255, 0, 0, 0));
    EXPECT_EQ(decoded.pixelIndex(0, 0), 0);
    EXPECT_EQ(decoded.pixelIndex(3, 2), 1);
}

QByteArray header(int width, int height)
{
    QByteArray b("GIF89a");
    b += char(width & 0xff), b += char(width >> 8), b += char(height & 0xff), b += char(height >> 8);
    b += char(0x80), b += char(0), b += char(0); // two-colour global table
    b += QByteArray(6, '\0');
    return b;
}

QByteArray frame(int width, int height)
{
    QByteArray b(",");
    b += QByteArray(4, '\0');
    b += char(width & 0xff), b += char(width >> 8), b += char(height & 0xff), b += char(height >> 8);
    b += char(0), b += char(2); // no local table, LZW minimum code size
    return b;
}

TEST(GifCodecDecode, BadDataGivesAClearErrorAndNoPicture)
{
    const struct {
        const char* name;
        QByteArray bytes;
        const char* says;
    } cases[] = {
        {"empty", QByteArray(), "empty"},
        {"garbage", QByteArray("this is no picture at all"), "not a GIF"},
        {"PNG", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "not a GIF"},
        {"signature only", QByteArray("GIF89a"), "truncated"},
        {"no frame", header(4, 4) + ";", "no picture"},
        {"frame without data", header(4, 4) + frame(4, 4), "truncated"},
        {"huge screen", header(65535, 65535) + frame(1, 1), "too large"},
        {"huge frame", header(4, 4) + frame(20000, 2), "too large"},
        {"over the pixel limit", header(4, 4) + frame(16384, 4097), "too large"},
        {"empty frame", header(4, 4) + frame(0, 3), "empty"},
        {"unknown record", header(4, 4) + "\x07", "damaged"},
    };
    for (const auto& c : cases) {
        const QString message = errorOf([&] { GifCodec::decode(c.bytes, "map.gif"); });
        EXPECT_TRUE(message.contains(c.says) && message.contains("map.gif"))
            << c.name << ": " << message.toStdString();
    }
}

TEST(GifCodecDecode, EveryTruncationFailsCleanly)
{
    const QImage original = indexedPicture(40, 30, 16, 3);
    const QByteArray bytes = GifCodec::encode(original);
    // The trailer is not needed for the first frame; everything before it is.
    for (qsizetype n = 1; n < bytes.size() - 1; ++n)
        ASSERT_TRUE(errorOf([&] { GifCodec::decode(bytes.left(n)); }).contains("truncated")) << n;
    expectSameIndexed(GifCodec::decode(bytes.left(bytes.size() - 1)), original);
}

TEST(GifCodecDecode, CorruptedBytesNeverCrash)
{
    const QByteArray bytes = GifCodec::encode(indexedPicture(50, 20, 32, 5));
    std::mt19937 random(4711);
    for (int round = 0; round < 2000; ++round) {
        QByteArray damaged = bytes;
        for (int k = 0; k < 1 + round % 4; ++k)
            damaged[qsizetype(random() % damaged.size())] = char(random());
        try {
            const QImage image = GifCodec::decode(damaged);
            ASSERT_FALSE(image.isNull());
            ASSERT_LE(qint64(image.width()) * image.height(), GifCodec::MaxPixels);
            ASSERT_GE(image.colorCount(), 1);
        } catch (const GifError&) {
        }
    }
}

// ------------------------------------------------------------ files

class GifFiles : public ::testing::Test {
protected:
    QTemporaryDir dir;
};

TEST_F(GifFiles, SaveAndLoadRoundTripLeavingOnlyTheFile)
{
    const QString path = dir.filePath("Europa.gif");
    const QImage original = indexedPicture(64, 48, 20, 7);
    GifCodec::saveFile(indexedPicture(3, 3, 2), path);
    GifCodec::saveFile(original, path); // replaces the older picture
    expectSameIndexed(GifCodec::decodeFile(path), original);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Europa.gif"});
}

TEST_F(GifFiles, MissingEmptyAndUnwritableFilesAreReported)
{
    const QString missing = dir.filePath("Asien.gif");
    EXPECT_TRUE(errorOf([&] { GifCodec::decodeFile(missing); }).contains(missing + " does not exist"));

    const QString empty = dir.filePath("leer.gif");
    QFile(empty).open(QIODevice::WriteOnly);
    EXPECT_TRUE(errorOf([&] { GifCodec::decodeFile(empty); }).contains("empty"));

    const QString broken = dir.filePath("kaputt.gif");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(GifCodec::encode(indexedPicture(20, 20, 8)).left(40));
    file.close();
    EXPECT_TRUE(errorOf([&] { GifCodec::decodeFile(broken); }).contains("truncated"));

    EXPECT_THROW(GifCodec::saveFile(indexedPicture(2, 2, 2), dir.filePath("no/such/folder/x.gif")), OrbiloError);
    EXPECT_FALSE(QDir(dir.filePath("no")).exists());
}

TEST(GifCodecDraw, Rgb32LaysTransparencyOverTheBackground)
{
    const QImage decoded = GifCodec::decode(GifCodec::encode(indexedPicture(5, 5, 4, 2)));
    const QImage drawn = GifCodec::toRgb32(decoded, qRgb(1, 2, 3));
    ASSERT_EQ(drawn.format(), QImage::Format_RGB32);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(drawn.pixel(x, y), decoded.pixelIndex(x, y) == 2 ? qRgb(1, 2, 3) : decoded.pixel(x, y));
}

} // namespace
