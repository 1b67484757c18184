#include "codec/GifCodec.h"

#include "platform/AtomicFile.h"

#include <QFile>
#include <QHash>
#include <QPainter>

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

namespace GifCodec {

namespace {

// ---------------------------------------------------------------- reading

// giflib pulls its input through a callback; both sources hand out at most
// what they really have, so a truncated file ends as a read error.
// Both note a short read: whatever giflib then calls the failure, the file
// is truncated.
struct MemorySource {
    const uchar* data;
    qint64 size;
    qint64 pos = 0;
    bool shortRead = false;
};

struct DeviceSource {
    QIODevice* device;
    bool shortRead = false;
};

int readMemory(GifFileType* gif, GifByteType* buffer, int length)
{
    auto* source = static_cast<MemorySource*>(gif->UserData);
    if (length <= 0)
        return 0;
    const qint64 n = std::min<qint64>(length, source->size - source->pos);
    if (n < length)
        source->shortRead = true;
    if (n <= 0)
        return 0;
    std::memcpy(buffer, source->data + source->pos, size_t(n));
    source->pos += n;
    return int(n);
}

int readDevice(GifFileType* gif, GifByteType* buffer, int length)
{
    auto* source = static_cast<DeviceSource*>(gif->UserData);
    if (length <= 0)
        return 0;
    const qint64 n = source->device->read(reinterpret_cast<char*>(buffer), length);
    if (n < length)
        source->shortRead = true;
    return n < 0 ? 0 : int(n);
}

struct DecoderCloser {
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using Decoder = std::unique_ptr<GifFileType, DecoderCloser>;

QString reason(int code)
{
    switch (code) {
    case D_GIF_ERR_READ_FAILED:
        return QStringLiteral("the file is truncated");
    case D_GIF_ERR_NOT_GIF_FILE:
        return QStringLiteral("it is not a GIF file");
    case D_GIF_ERR_WRONG_RECORD:
    case D_GIF_ERR_IMAGE_DEFECT:
    case D_GIF_ERR_DATA_TOO_BIG:
        return QStringLiteral("the picture data is damaged");
    case D_GIF_ERR_NOT_ENOUGH_MEM:
    case E_GIF_ERR_NOT_ENOUGH_MEM:
        return QStringLiteral("not enough memory");
    default:
        if (const char* text = GifErrorString(code))
            return QString::fromLatin1(text);
        return QStringLiteral("error %1").arg(code);
    }
}

[[noreturn]] void fail(const QString& name, const QString& why)
{
    throw GifError(QStringLiteral("%1 is not a readable GIF picture: %2.").arg(name, why));
}

void checkSize(const QString& name, qint64 width, qint64 height)
{
    if (width <= 0 || height <= 0)
        fail(name, QStringLiteral("the picture is empty (%1 x %2 pixels)").arg(width).arg(height));
    if (width > MaxSide || height > MaxSide || width * height > MaxPixels)
        fail(name, QStringLiteral("the picture is too large (%1 x %2 pixels)").arg(width).arg(height));
}

QImage decodeFrom(GifFileType* raw, const QString& name, const bool& shortRead)
{
    Decoder gif(raw);
    auto why = [&] { return shortRead ? reason(D_GIF_ERR_READ_FAILED) : reason(gif->Error); };
    int transparent = -1;

    for (;;) {
        GifRecordType record;
        if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR)
            fail(name, why());
        if (record == TERMINATE_RECORD_TYPE)
            fail(name, QStringLiteral("it contains no picture"));

        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR)
                fail(name, why());
            if (code == GRAPHICS_EXT_FUNC_CODE && block) {
                // The last control block before the first frame applies to it.
                GraphicsControlBlock control;
                if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
                    transparent = control.TransparentColor;
            }
            while (block) {
                if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR)
                    fail(name, why());
            }
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE)
            continue;

        if (DGifGetImageDesc(gif.get()) == GIF_ERROR)
            fail(name, why());
        const GifImageDesc& frame = gif->Image;
        checkSize(name, frame.Width, frame.Height);
        // A frame reaching past the logical screen widens the picture rather
        // than losing pixels.
        const qint64 width = std::max<qint64>(gif->SWidth, qint64(frame.Left) + frame.Width);
        const qint64 height = std::max<qint64>(gif->SHeight, qint64(frame.Top) + frame.Height);
        checkSize(name, width, height);

        const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
        const bool covered =
            frame.Left == 0 && frame.Top == 0 && frame.Width == width && frame.Height == height;
        const int fill = transparent >= 0 ? transparent : gif->SBackGroundColor;

        QImage image(int(width), int(height), QImage::Format_Indexed8);
        if (image.isNull())
            fail(name, reason(D_GIF_ERR_NOT_ENOUGH_MEM));
        if (!covered)
            image.fill(uint(fill));

        if (frame.Interlace) {
            // Rows arrive in four passes: every 8th from 0, every 8th from 4,
            // every 4th from 2, every 2nd from 1.
            static constexpr int start[] = {0, 4, 2, 1};
            static constexpr int step[] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass) {
                for (int y = start[pass]; y < frame.Height; y += step[pass]) {
                    if (DGifGetLine(gif.get(), image.scanLine(frame.Top + y) + frame.Left, frame.Width)
                        == GIF_ERROR)
                        fail(name, why());
                }
            }
        } else {
            for (int y = 0; y < frame.Height; ++y) {
                if (DGifGetLine(gif.get(), image.scanLine(frame.Top + y) + frame.Left, frame.Width)
                    == GIF_ERROR)
                    fail(name, why());
            }
        }

        // Index values may exceed a short colour table; pad it so that every
        // pixel still reads as a defined colour and keeps its index.
        int highest = covered ? 0 : fill;
        for (int y = 0; y < image.height(); ++y) {
            const uchar* line = image.constScanLine(y);
            highest = std::max<int>(highest, *std::max_element(line, line + image.width()));
        }
        const int mapSize = map ? map->ColorCount : 0;
        QList<QRgb> colours(std::max({mapSize, highest + 1, transparent + 1}), qRgb(0, 0, 0));
        for (int i = 0; i < mapSize; ++i)
            colours[i] = qRgb(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
        if (transparent >= 0)
            colours[transparent] &= 0x00ffffff;
        if (colours.size() > 256)
            colours.resize(256);
        image.setColorTable(colours);
        return image;
    }
}

// ---------------------------------------------------------------- writing

// A picture as GIF wants it: indices, a palette of at most 256 entries and
// at most one transparent index.
struct Indexed {
    QImage pixels; // Format_Indexed8; its colour table is ignored
    std::vector<QRgb> palette;
    int transparent = -1;
};

bool isTransparent(QRgb colour) { return qAlpha(colour) < 128; }

Indexed fromIndexed(const QImage& source)
{
    Indexed out;
    out.pixels = source.format() == QImage::Format_Indexed8
                     ? source
                     : source.convertToFormat(QImage::Format_Indexed8);
    const QList<QRgb> table = out.pixels.colorTable();
    out.palette.assign(table.begin(), table.begin() + std::min<qsizetype>(table.size(), 256));

    // GIF has one transparent index; other transparent entries are folded
    // into it, which looks the same.
    std::array<int, 256> remap;
    bool folded = false;
    for (int i = 0; i < 256; ++i) {
        remap[i] = i;
        if (i < int(out.palette.size()) && isTransparent(out.palette[i])) {
            if (out.transparent < 0)
                out.transparent = i;
            else {
                remap[i] = out.transparent;
                folded = true;
            }
        }
    }
    if (folded) {
        for (int y = 0; y < out.pixels.height(); ++y) {
            uchar* line = out.pixels.scanLine(y);
            for (int x = 0; x < out.pixels.width(); ++x)
                line[x] = uchar(remap[line[x]]);
        }
    }
    return out;
}

// Exact colours in order of first appearance; empty if there are too many.
Indexed exactColours(const QImage& argb)
{
    Indexed out;
    out.pixels = QImage(argb.size(), QImage::Format_Indexed8);
    QHash<QRgb, int> index;
    for (int y = 0; y < argb.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        uchar* line = out.pixels.scanLine(y);
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb key = isTransparent(in[x]) ? 0u : (in[x] | 0xff000000u);
            auto it = index.constFind(key);
            if (it == index.constEnd()) {
                if (out.palette.size() == 256)
                    return {};
                if (key == 0u)
                    out.transparent = int(out.palette.size());
                it = index.insert(key, int(out.palette.size()));
                out.palette.push_back(key);
            }
            line[x] = uchar(*it);
        }
    }
    return out;
}

// Median cut over a 5-bit-per-channel histogram. Every choice is made in a
// fixed order, so the result depends on the pixels alone.
Indexed medianCut(const QImage& argb)
{
    struct Bucket {
        int key;
        quint64 count = 0, r = 0, g = 0, b = 0;
    };
    auto channel = [](int key, int axis) { return (key >> (10 - 5 * axis)) & 31; };
    auto bucketOf = [](QRgb c) { return ((qRed(c) >> 3) << 10) | ((qGreen(c) >> 3) << 5) | (qBlue(c) >> 3); };

    std::vector<Bucket> histogram(32768);
    bool anyTransparent = false;
    for (int y = 0; y < argb.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if (isTransparent(in[x])) {
                anyTransparent = true;
                continue;
            }
            Bucket& bucket = histogram[bucketOf(in[x])];
            ++bucket.count;
            bucket.r += qRed(in[x]);
            bucket.g += qGreen(in[x]);
            bucket.b += qBlue(in[x]);
        }
    }
    std::vector<Bucket> used;
    for (int key = 0; key < 32768; ++key) {
        if (histogram[key].count) {
            histogram[key].key = key;
            used.push_back(histogram[key]);
        }
    }

    struct Box {
        size_t begin, end;
        quint64 count;
        int axis, range;
    };
    auto measure = [&](size_t begin, size_t end) {
        Box box{begin, end, 0, 0, 0};
        int lo[3] = {31, 31, 31}, hi[3] = {0, 0, 0};
        for (size_t i = begin; i < end; ++i) {
            box.count += used[i].count;
            for (int a = 0; a < 3; ++a) {
                lo[a] = std::min(lo[a], channel(used[i].key, a));
                hi[a] = std::max(hi[a], channel(used[i].key, a));
            }
        }
        for (int a = 0; a < 3; ++a) {
            if (hi[a] - lo[a] > box.range) {
                box.range = hi[a] - lo[a];
                box.axis = a;
            }
        }
        return box;
    };

    const size_t limit = anyTransparent ? 255 : 256;
    std::vector<Box> boxes;
    if (!used.empty())
        boxes.push_back(measure(0, used.size()));
    while (boxes.size() < limit) {
        // Split the widest box, so that no colour ends up far from its
        // palette entry; among equally wide ones the most used.
        size_t pick = 0;
        for (size_t i = 1; i < boxes.size(); ++i) {
            if (boxes[i].range > boxes[pick].range
                || (boxes[i].range == boxes[pick].range && boxes[i].count > boxes[pick].count))
                pick = i;
        }
        if (boxes.empty() || boxes[pick].range == 0)
            break;
        const Box box = boxes[pick];
        std::sort(used.begin() + box.begin, used.begin() + box.end, [&](const Bucket& a, const Bucket& b) {
            const int ca = channel(a.key, box.axis), cb = channel(b.key, box.axis);
            return ca != cb ? ca < cb : a.key < b.key;
        });
        // Cut at the median pixel, never leaving one side empty.
        quint64 seen = 0;
        size_t cut = box.begin;
        while (cut < box.end - 1 && (seen += used[cut].count) * 2 < box.count)
            ++cut;
        cut = std::clamp(cut + 1, box.begin + 1, box.end - 1);
        boxes[pick] = measure(box.begin, cut);
        boxes.push_back(measure(cut, box.end));
    }

    Indexed out;
    std::vector<uchar> indexOfBucket(32768, 0);
    for (size_t i = 0; i < boxes.size(); ++i) {
        quint64 count = 0, r = 0, g = 0, b = 0;
        for (size_t k = boxes[i].begin; k < boxes[i].end; ++k) {
            count += used[k].count;
            r += used[k].r;
            g += used[k].g;
            b += used[k].b;
            indexOfBucket[used[k].key] = uchar(i);
        }
        out.palette.push_back(qRgb(int((r + count / 2) / count), int((g + count / 2) / count),
                                   int((b + count / 2) / count)));
    }
    if (anyTransparent) {
        out.transparent = int(out.palette.size());
        out.palette.push_back(0u);
    }
    out.pixels = QImage(argb.size(), QImage::Format_Indexed8);
    for (int y = 0; y < argb.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        uchar* line = out.pixels.scanLine(y);
        for (int x = 0; x < argb.width(); ++x)
            line[x] = isTransparent(in[x]) ? uchar(out.transparent) : indexOfBucket[bucketOf(in[x])];
    }
    return out;
}

int writeBuffer(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

[[noreturn]] void failWrite(int code)
{
    throw GifError(QStringLiteral("The picture could not be encoded as GIF: %1.").arg(reason(code)));
}

QByteArray write(const Indexed& picture)
{
    const int width = picture.pixels.width(), height = picture.pixels.height();

    // Every index in use must lie inside the colour table, whose size GIF
    // wants to be a power of two.
    int highest = std::max<int>(int(picture.palette.size()) - 1, 0);
    for (int y = 0; y < height; ++y) {
        const uchar* line = picture.pixels.constScanLine(y);
        highest = std::max<int>(highest, *std::max_element(line, line + width));
    }
    int bits = 1;
    while ((1 << bits) <= highest)
        ++bits;
    std::unique_ptr<ColorMapObject, void (*)(ColorMapObject*)> map(GifMakeMapObject(1 << bits, nullptr),
                                                                     GifFreeMapObject);
    if (!map)
        failWrite(E_GIF_ERR_NOT_ENOUGH_MEM);
    for (int i = 0; i < map->ColorCount; ++i) {
        const QRgb c = i < int(picture.palette.size()) ? picture.palette[size_t(i)] : qRgb(0, 0, 0);
        map->Colors[i] = GifColorType{GifByteType(qRed(c)), GifByteType(qGreen(c)), GifByteType(qBlue(c))};
    }

    QByteArray bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, writeBuffer, &error);
    if (!gif)
        failWrite(error);
    auto close = [&] {
        const int result = EGifCloseFile(gif, &error);
        gif = nullptr;
        return result;
    };
    auto check = [&](int result) {
        if (result == GIF_ERROR) {
            const int code = gif->Error;
            close();
            failWrite(code);
        }
    };

    EGifSetGifVersion(gif, picture.transparent >= 0);
    check(EGifPutScreenDesc(gif, width, height, 8, 0, map.get()));
    if (picture.transparent >= 0) {
        GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, picture.transparent};
        GifByteType block[4];
        EGifGCBToExtension(&control, block);
        check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, sizeof block, block));
    }
    check(EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr));
    // giflib masks the line in place, so hand it a copy.
    std::vector<GifPixelType> line(static_cast<size_t>(width));
    for (int y = 0; y < height; ++y) {
        std::memcpy(line.data(), picture.pixels.constScanLine(y), size_t(width));
        check(EGifPutLine(gif, line.data(), width));
    }
    if (close() == GIF_ERROR)
        failWrite(error);
    return bytes;
}

} // namespace

QImage decode(const QByteArray& bytes, const QString& name)
{
    const QString shown = name.isEmpty() ? QStringLiteral("The data") : name;
    if (bytes.isEmpty())
        fail(shown, QStringLiteral("it is empty"));
    MemorySource source{reinterpret_cast<const uchar*>(bytes.constData()), bytes.size()};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, readMemory, &error);
    if (!gif)
        fail(shown, reason(source.shortRead ? D_GIF_ERR_READ_FAILED : error));
    return decodeFrom(gif, shown, source.shortRead);
}

QImage decodeFile(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        throw GifError(QStringLiteral("The GIF picture %1 does not exist.").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        throw GifError(QStringLiteral("The GIF picture %1 could not be opened.").arg(path));
    if (file.size() == 0)
        fail(path, QStringLiteral("it is empty"));
    int error = 0;
    DeviceSource source{&file};
    GifFileType* gif = DGifOpen(&source, readDevice, &error);
    if (!gif)
        fail(path, reason(source.shortRead ? D_GIF_ERR_READ_FAILED : error));
    return decodeFrom(gif, path, source.shortRead);
}

QByteArray encode(const QImage& image)
{
    if (image.isNull())
        throw GifError(QStringLiteral("There is no picture to encode as GIF."));
    if (image.width() > MaxSide || image.height() > MaxSide || qint64(image.width()) * image.height() > MaxPixels)
        throw GifError(QStringLiteral("The picture is too large for a GIF (%1 x %2 pixels).")
                           .arg(image.width())
                           .arg(image.height()));

    switch (image.format()) {
    case QImage::Format_Indexed8:
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return write(fromIndexed(image));
    default: {
        const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
        Indexed exact = exactColours(argb);
        return write(exact.palette.empty() ? medianCut(argb) : exact);
    }
    }
}

void saveFile(const QImage& image, const QString& path)
{
    writeFileAtomically(path, encode(image));
}

QImage toRgb32(const QImage& image, QRgb background)
{
    if (image.format() == QImage::Format_Indexed8) {
        QImage copy = image;
        QList<QRgb> table = copy.colorTable();
        for (QRgb& c : table) {
            const int a = qAlpha(c);
            auto mix = [a](int fg, int bg) { return (fg * a + bg * (255 - a) + 127) / 255; };
            c = qRgb(mix(qRed(c), qRed(background)), mix(qGreen(c), qGreen(background)),
                     mix(qBlue(c), qBlue(background)));
        }
        copy.setColorTable(table);
        return copy.convertToFormat(QImage::Format_RGB32);
    }
    QImage out(image.size(), QImage::Format_RGB32);
    out.fill(background);
    QPainter painter(&out);
    painter.drawImage(0, 0, image);
    return out;
}

} // namespace GifCodec
