#pragma once

// MapInfo interchange files as an object source: the MIF file holds the
// objects, the MID file beside it one attribute line per object. The index
// of both is kept in a metadata file, so a file is mapped only once.

#include "globe/GlobeFileReader.h"
#include "globe/GlobeTextReader.h"

#include <QStringList>
#include <memory>
#include <vector>

class TGlobeMIFReader : public TGlobeFileReader {
public:
    explicit TGlobeMIFReader(TCustomGlobeView& globe);
    ~TGlobeMIFReader() override;

    QString ClassName() const override { return QStringLiteral("TGlobeMIFReader"); }

    TGlobeObject* LoadObject(int i, bool isNew) override;
    void OpenFiles() override;
    void DiscardPartialMapping() override;
    void InternalClose() override;
    void SaveMetaData() override;
    void LoadMetaData() override;
    void LoadEnvironment(const TGlobeXmlElement& element) override;
    void SaveEnvironment(TGlobeXmlElement& element) override;

    int32_t TitleColumn = 0;
    QString MIFCoordSys;
    QString MIDDelimiter = QStringLiteral("\t");
    // One "name=type" a column.
    QStringList MIDColumnNames;
    int32_t MIFVersion = 0;
    // Whether the last opening took its index from the metadata file.
    bool IndexFromMetaData() const { return m_fromMetaData; }
    // Where the metadata file of the data file lies (empty: none is kept).
    QString MetaDataPath();

private:
    struct Entry {
        int64_t mif; // offset of the object's keyword line
        int64_t mid; // offset of its attribute line, -1 without one
    };
    void ReadHeader(TTextReader& mif);
    void MapFile();
    void ReadMetaFile(const QByteArray& bytes);
    QString Title(const Entry& entry, const QString& fallback);
    QString DecodeText(const QByteArray& bytes) const;
    [[noreturn]] void Damaged(int64_t offset, const QString& what) const;

    std::unique_ptr<TTextReader> m_mif;
    std::unique_ptr<TTextReader> m_mid;
    std::vector<Entry> m_index;
    bool m_latin1 = false; // the file declares the Windows Latin-1 character set
    bool m_fromMetaData = false;
};
