// A MapInfo interchange file and its attribute file (any bytes) opened as a
// layer. The attribute file follows the first line that reads "#MID#".

#include "MapFileFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = Fuzz::Bytes(data, size);
    const qsizetype split = input.indexOf("\n#MID#\n");
    const QByteArray mif = split < 0 ? input : input.left(split + 1);
    const QByteArray mid = split < 0 ? QByteArray() : input.mid(split + 7);
    Fuzz::WriteScratchFile(QStringLiteral("fuzz.mid"), reinterpret_cast<const uint8_t*>(mid.constData()), size_t(mid.size()));
    Fuzz::ShowMapFile(Fuzz::WriteScratchFile(QStringLiteral("fuzz.mif"), reinterpret_cast<const uint8_t*>(mif.constData()), size_t(mif.size())));
    return 0;
}
