// A shapefile and its table (any bytes) opened as a layer. The input is a
// little-endian 16-bit length, that many bytes of DBF table, then the SHP file.

#include "MapFileFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const size_t table = std::min<size_t>(data[0] | (data[1] << 8), size - 2);
    Fuzz::WriteScratchFile(QStringLiteral("fuzz.dbf"), data + 2, table);
    Fuzz::ShowMapFile(Fuzz::WriteScratchFile(QStringLiteral("fuzz.shp"), data + 2 + table, size - 2 - table));
    return 0;
}
