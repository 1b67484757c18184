#pragma once

// The engine's own layer files: the presenters of a layer and its objects
// in the record form of the globe stream. The reader keeps the file in
// memory and builds an object from its offset when a layer needs it; the
// writer saves a layer in the same form.

#include "globe/GlobeFileReader.h"

#include <QByteArray>
#include <memory>
#include <vector>

class TGlobeLayer;
class TGlobeStreamReader;

class TGlobeLYRReader : public TGlobeFileReader {
public:
    explicit TGlobeLYRReader(TCustomGlobeView& globe);
    ~TGlobeLYRReader() override;

    QString ClassName() const override { return QStringLiteral("TGlobeLYRReader"); }

    TGlobeObject* LoadObject(int i, bool isNew) override;
    void OpenFiles() override;
    void InternalClose() override;

    // Of the file read last.
    int Version() const { return m_version; }
    const TMER& LayerMER() const { return m_layerMER; }

    static constexpr int CurrentVersion = 1024;
    static constexpr int OldestVersion = 768;

private:
    struct Entry {
        int32_t classIndex;
        int64_t offset;
    };
    void MapFile();
    void ReadPresenters();
    void ReadObjects();

    QByteArray m_bytes;
    std::unique_ptr<TGlobeStreamReader> m_reader;
    std::vector<Entry> m_index;
    QStringList m_classes; // object classes in order of appearance
    int m_version = 0;
    TMER m_layerMER;
};

// Saves the layer's objects with the presenters they use.
class TGlobeLYRWriter {
public:
    explicit TGlobeLYRWriter(TGlobeLayer& layer) : m_layer(layer) {}
    QByteArray ToBytes();
    // Through the platform's atomic file.
    void SaveToFile(const QString& fileName);

private:
    TGlobeLayer& m_layer;
};

void WriteLayerToLYRfile(TGlobeLayer& layer, const QString& fileName);
