// A map picture the author loads in the editor, from any bytes: a GIF, PNG
// or JPEG comes in with at most 256 colours and within the codec's size
// limits; anything else is refused with the codec's error.

#include "FuzzSupport.h"

#include "codec/GifCodec.h"
#include "editor/PictureImport.h"

#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::EnsureApplication();
    QImage picture;
    try {
        picture = PictureImport::ReadFile(Fuzz::WriteScratchFile(QStringLiteral("fuzz.png"), data, size));
    } catch (const GifError&) {
        return 0;
    }
    if (picture.isNull() || picture.format() != QImage::Format_RGB32)
        Fuzz::Violation("a loaded picture is not a 32-bit picture");
    if (picture.width() > GifCodec::MaxSide || picture.height() > GifCodec::MaxSide)
        Fuzz::Violation("a loaded picture is larger than a GIF may be");
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height() && colours.size() <= 256; ++y)
        for (int x = 0; x < picture.width() && colours.size() <= 256; ++x)
            colours.insert(picture.pixel(x, y));
    if (colours.size() > 256)
        Fuzz::Violation("a loaded picture has more colours than its GIF can keep");
    return 0;
}
