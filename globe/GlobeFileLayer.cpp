#include "globe/GlobeFileLayer.h"

#include "globe/GlobeLYRReader.h"
#include "globe/GlobeLayer.h"
#include "globe/GlobeMIFReader.h"
#include "globe/GlobeSHPReader.h"

#include <QFileInfo>

namespace {
// The globe owns the reader from its birth.
TGlobeFileReader* CreateReader(TCustomGlobeView& globe, const QString& extension)
{
    if (extension == QLatin1String("LYR"))
        return new TGlobeLYRReader(globe);
    if (extension == QLatin1String("SHP"))
        return new TGlobeSHPReader(globe);
    if (extension == QLatin1String("MIF"))
        return new TGlobeMIFReader(globe);
    return nullptr;
}
} // namespace

int CreateFileLayer(TCustomGlobeView& globe, const QString& fileName)
{
    const QString file = globe.ResolveFilename(fileName);
    if (file.isEmpty())
        return -1;
    TGlobeFileReader* reader = CreateReader(globe, QFileInfo(file).suffix().toUpper());
    if (!reader)
        return -1;
    reader->SetFilename(file);
    reader->Name = QFileInfo(file).completeBaseName();
    auto* layer = new TGlobeLayer(globe); // the layer store owns it
    layer->SetObjects(reader);
    try {
        reader->SetActive(true);
    } catch (...) {
        delete layer;
        delete reader;
        throw;
    }
    return layer->GetIndex();
}
