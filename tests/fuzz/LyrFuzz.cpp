// A layer file (any bytes) opened as a layer.

#include "MapFileFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::ShowMapFile(Fuzz::WriteScratchFile(QStringLiteral("fuzz.lyr"), data, size));
    return 0;
}
