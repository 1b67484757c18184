#pragma once

// ESRI shapefiles as an object source: the SHP file is indexed once when
// the source opens, each shape is read from its offset when a layer needs
// it, and titles come from the DBF table beside it.

#include "globe/GlobeDBFReader.h"
#include "globe/GlobeFileReader.h"

#include <memory>
#include <vector>

class TGlobeSHPReader : public TGlobeFileReader {
public:
    explicit TGlobeSHPReader(TCustomGlobeView& globe);
    ~TGlobeSHPReader() override;

    QString ClassName() const override { return QStringLiteral("TGlobeSHPReader"); }

    TGlobeObject* LoadObject(int i, bool isNew) override;
    void OpenFiles() override;
    void InternalClose() override;
    void LoadEnvironment(const TGlobeXmlElement& element) override;
    void SaveEnvironment(TGlobeXmlElement& element) override;

    int32_t TitleColumn() const { return m_titleColumn; }
    // Loaded objects carry the old titles, so they are all let go.
    void SetTitleColumn(int32_t column);
    // The table beside the shapes, while the source is open.
    TGlobeDBFReader* DBF() const { return m_dbf.get(); }

    // Coordinates in the file are turned into degrees as
    // x / LongXDivisor + LongXShift and y / LatYDivisor + LatYShift.
    double LongXDivisor = 1;
    double LatYDivisor = 1;
    double LongXShift = 0;
    double LatYShift = 0;

private:
    struct Entry {
        int64_t offset;     // of the record's content
        int32_t length;     // content bytes
        int32_t dbfRecord;  // from 0
    };
    void MapFile();
    void MapRecord(int64_t at, int64_t end, int32_t record);
    void ReadHeader(int64_t& end);
    [[noreturn]] void Damaged(int32_t record, const QString& what) const;
    TPointLL ToPoint(double x, double y) const;

    QFile m_file;
    std::unique_ptr<TGlobeDBFReader> m_dbf;
    std::vector<Entry> m_index;
    int32_t m_titleColumn = 0;
    QByteArray m_content; // of the shape being read
};
