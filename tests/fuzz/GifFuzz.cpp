// The GIF decoder on any bytes, as a lesson's map picture is loaded; a
// picture that decodes must encode and decode again to the same colours.

#include "FuzzSupport.h"

#include "codec/GifCodec.h"

namespace {
// Pictures this large decode, but encoding them again on every input would
// slow the fuzzer to a crawl.
constexpr qint64 kMaxRoundTripPixels = 512 * 512;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The picture map reads its picture from the file; pictures from memory
    // must come out the same.
    QImage picture;
    bool fromFile = true;
    try {
        picture = GifCodec::decodeFile(Fuzz::WriteScratchFile(QStringLiteral("fuzz.gif"), data, size));
    } catch (const GifError&) {
        fromFile = false;
    }
    QImage fromMemory;
    try {
        fromMemory = GifCodec::decode(Fuzz::Bytes(data, size), QStringLiteral("fuzz.gif"));
    } catch (const GifError&) {
        if (fromFile)
            Fuzz::Violation("a picture read from its file does not decode from memory");
        return 0;
    }
    if (!fromFile)
        Fuzz::Violation("a picture decoded from memory cannot be read from its file");
    if (fromMemory != picture)
        Fuzz::Violation("the file and the memory give different pictures");
    if (picture.isNull() || picture.format() != QImage::Format_Indexed8)
        Fuzz::Violation("the decoder returned something other than an indexed picture");
    if (picture.width() > GifCodec::MaxSide || picture.height() > GifCodec::MaxSide
        || qint64(picture.width()) * picture.height() > GifCodec::MaxPixels)
        Fuzz::Violation("the decoder returned a picture beyond its limits");
    for (int y = 0; y < picture.height(); ++y) {
        const uchar* row = picture.constScanLine(y);
        for (int x = 0; x < picture.width(); ++x)
            if (row[x] >= picture.colorCount())
                Fuzz::Violation("a pixel index lies beyond the colour table",
                                QStringLiteral("%1 at %2,%3 of %4 colours").arg(row[x]).arg(x).arg(y).arg(picture.colorCount()));
    }
    const QImage shown = GifCodec::toRgb32(picture); // what the picture map draws
    if (shown.size() != picture.size())
        Fuzz::Violation("the drawing copy has another size");

    if (qint64(picture.width()) * picture.height() > kMaxRoundTripPixels)
        return 0;
    QImage again;
    try {
        again = GifCodec::decode(GifCodec::encode(picture), QStringLiteral("encoded"));
    } catch (const GifError& error) {
        Fuzz::Violation("a decoded picture does not survive encoding", error.message());
    }
    if (again.size() != picture.size())
        Fuzz::Violation("encoding changed the size");
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (again.pixel(x, y) != picture.pixel(x, y))
                Fuzz::Violation("encoding changed a colour", QStringLiteral("at %1,%2").arg(x).arg(y));
    return 0;
}
