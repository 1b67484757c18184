#include "globe/GlobeSHPReader.h"

#include "globe/GlobeStream.h"
#include "globe/GlobeXml.h"

#include <QtEndian>
#include <cstring>

namespace {
constexpr int kHeaderSize = 100;
constexpr int kRecordHeaderSize = 8;
constexpr int32_t kFileCode = 9994;
constexpr int32_t kVersion = 1000;

enum ShapeType { stNull = 0, stPoint = 1, stPolyLine = 3, stPolygon = 5, stMultiPoint = 8 };

bool Supported(int32_t type)
{
    return type == stPoint || type == stPolyLine || type == stPolygon || type == stMultiPoint;
}

// Little-endian fields of one shape's content, every read checked against
// its length.
class ShapeBytes {
public:
    ShapeBytes(const QByteArray& bytes) : m_data(bytes.constData()), m_size(bytes.size()) {}
    bool Has(int64_t at, int64_t count) const { return at >= 0 && count >= 0 && at <= m_size - count; }
    int32_t Int(int64_t at) const { return qFromLittleEndian<int32_t>(m_data + at); }
    double Double(int64_t at) const
    {
        double v;
        std::memcpy(&v, m_data + at, sizeof v);
        return v;
    }
    int64_t Size() const { return m_size; }

private:
    const char* m_data;
    int64_t m_size;
};

} // namespace

TGlobeSHPReader::TGlobeSHPReader(TCustomGlobeView& globe) : TGlobeFileReader(globe) {}

TGlobeSHPReader::~TGlobeSHPReader() { SetActive(false); }

void TGlobeSHPReader::SetTitleColumn(int32_t column)
{
    if (column == m_titleColumn)
        return;
    m_titleColumn = column;
    UnloadObjects();
}

void TGlobeSHPReader::Damaged(int32_t record, const QString& what) const
{
    throw EGlobeException(QStringLiteral("SHP file %1: record %2 %3").arg(Filename()).arg(record + 1).arg(what));
}

void TGlobeSHPReader::OpenFiles()
{
    OpenDataFile(m_file, Filename());
    const QString table = CompanionFile(m_file.fileName(), QStringLiteral("dbf"));
    if (!table.isEmpty())
        m_dbf = std::make_unique<TGlobeDBFReader>(table);
    if (m_index.empty())
        MapFile();
}

void TGlobeSHPReader::InternalClose()
{
    SetCount(0);
    m_index.clear();
    m_index.shrink_to_fit();
    m_dbf.reset();
    m_file.close();
    TGlobeObjectSource::InternalClose();
}

void TGlobeSHPReader::ReadHeader(int64_t& end)
{
    char header[kHeaderSize];
    if (m_file.size() < kHeaderSize || m_file.read(header, kHeaderSize) != kHeaderSize
        || qFromBigEndian<int32_t>(header) != kFileCode)
        throw EGlobeException(QStringLiteral("Invalid SHP file ") + Filename());
    if (qFromLittleEndian<int32_t>(header + 28) != kVersion)
        throw EGlobeException(QStringLiteral("Invalid SHP file version ") + Filename());
    const int64_t length = int64_t{qFromBigEndian<int32_t>(header + 24)} * 2;
    if (length < kHeaderSize || length > m_file.size())
        throw EGlobeException(QStringLiteral("SHP file %1 is %2 bytes long, its header says %3")
                                  .arg(Filename())
                                  .arg(m_file.size())
                                  .arg(length));
    end = length;
}

void TGlobeSHPReader::MapFile()
{
    int64_t end = 0;
    ReadHeader(end);
    MappingProgress progress(Globe(), m_file.size());
    auto stream = std::make_unique<QFile>(m_file.fileName());
    TGlobeStreamReader reader(std::move(stream));
    int32_t record = 0;
    for (int64_t at = kHeaderSize; at < end; ++record) {
        if (end - at < kRecordHeaderSize + 4)
            Damaged(record, QStringLiteral("at offset %1 is cut off").arg(at));
        reader.Seek(at);
        reader.ReadInteger(); // the record number: records are counted as they come
        const int64_t length = int64_t{qFromBigEndian<int32_t>(reader.ReadInteger())} * 2;
        const int64_t content = at + kRecordHeaderSize;
        if (length < 4 || length > end - content)
            Damaged(record, QStringLiteral("at offset %1 claims %2 bytes, %3 are left").arg(at).arg(length).arg(end - content));
        // Shapes the engine cannot show take no entry; their attributes
        // are skipped with them.
        if (Supported(reader.ReadInteger())) {
            progress.Object(static_cast<int>(m_index.size()), at);
            m_index.push_back({content, static_cast<int32_t>(length), record});
        }
        at = content + length;
    }
    SetCount(static_cast<int>(m_index.size()));
    progress.Finish();
}

TPointLL TGlobeSHPReader::ToPoint(double x, double y) const
{
    if (LongXDivisor == 1 && LatYDivisor == 1 && LongXShift == 0 && LatYShift == 0)
        return PointLL(DecimalToGlobeUnits(x), DecimalToGlobeUnits(y)); // degrees already, as most files are
    return PointLL(DecimalToGlobeUnits(x / LongXDivisor + LongXShift),
                   DecimalToGlobeUnits(y / LatYDivisor + LatYShift));
}

TGlobeObject* TGlobeSHPReader::LoadObject(int i, bool /*isNew*/)
{
    const Entry& entry = m_index.at(static_cast<size_t>(i));
    m_content.resize(entry.length);
    ReadAt(m_file, entry.offset, entry.length, m_content.data());
    const ShapeBytes shape(m_content);
    const int32_t type = shape.Int(0);
    if (!Supported(type))
        Damaged(entry.dbfRecord, QStringLiteral("changed its shape type to %1").arg(type));

    auto object = std::make_unique<TGeoDataObject>(this);
    if (m_dbf) {
        m_dbf->SetID(entry.dbfRecord);
        object->SetTitle(m_dbf->GetString(m_titleColumn));
        object->SetID(entry.dbfRecord + 1);
    }
    if (type == stPoint) {
        if (!shape.Has(4, 16))
            Damaged(entry.dbfRecord, QStringLiteral("holds no point"));
        object->SetCentroid(ToPoint(shape.Double(4), shape.Double(12)));
        return object.release();
    }
    // Bounding box (32 bytes), then the part and point counts.
    const bool multiPoint = type == stMultiPoint;
    const int64_t countsAt = 36;
    if (!shape.Has(countsAt, multiPoint ? 4 : 8))
        Damaged(entry.dbfRecord, QStringLiteral("is too short for its counts"));
    const int64_t parts = multiPoint ? 1 : shape.Int(countsAt);
    const int64_t points = shape.Int(countsAt + (multiPoint ? 0 : 4));
    const int64_t partsAt = countsAt + (multiPoint ? 4 : 8);
    const int64_t pointsAt = partsAt + (multiPoint ? 0 : parts * 4);
    if (parts < 0 || points < 0 || !shape.Has(pointsAt, points * 16))
        Damaged(entry.dbfRecord,
                QStringLiteral("claims %1 parts and %2 points in %3 bytes").arg(parts).arg(points).arg(shape.Size()));
    TChainStore& chains = object->Chains();
    for (int64_t p = 0; p < parts; ++p) {
        const int64_t first = multiPoint ? 0 : shape.Int(partsAt + p * 4);
        const int64_t last = multiPoint || p + 1 == parts ? points : shape.Int(partsAt + (p + 1) * 4);
        if (first < 0 || last < first || last > points)
            Damaged(entry.dbfRecord, QStringLiteral("has part %1 from point %2 to %3 of %4").arg(p).arg(first).arg(last).arg(points));
        TPointStore& chain = chains.GetChain(static_cast<int>(p));
        chain.SetCount(static_cast<int>(last - first));
        int32_t* out = chain.MutableData();
        for (int64_t k = first; k < last; ++k, out += 2) {
            const TPointLL ll = ToPoint(shape.Double(pointsAt + k * 16), shape.Double(pointsAt + k * 16 + 8));
            out[0] = ll.Long;
            out[1] = ll.Lat;
        }
    }
    if (type == stPolygon)
        object->SetClosed(true);
    return object.release();
}

void TGlobeSHPReader::LoadEnvironment(const TGlobeXmlElement& element)
{
    TGlobeFileReader::LoadEnvironment(element);
    SetTitleColumn(element.IntAttribute(QStringLiteral("TitleColumn"), m_titleColumn));
    LongXDivisor = element.RealAttribute(QStringLiteral("LongXDivisor"), LongXDivisor);
    LatYDivisor = element.RealAttribute(QStringLiteral("LatYDivisor"), LatYDivisor);
    LongXShift = element.RealAttribute(QStringLiteral("LongXShift"), LongXShift);
    LatYShift = element.RealAttribute(QStringLiteral("LatYShift"), LatYShift);
}

void TGlobeSHPReader::SaveEnvironment(TGlobeXmlElement& element)
{
    TGlobeFileReader::SaveEnvironment(element);
    element.SetIntAttribute(QStringLiteral("TitleColumn"), m_titleColumn);
    element.SetRealAttribute(QStringLiteral("LongXDivisor"), LongXDivisor);
    element.SetRealAttribute(QStringLiteral("LatYDivisor"), LatYDivisor);
    element.SetRealAttribute(QStringLiteral("LongXShift"), LongXShift);
    element.SetRealAttribute(QStringLiteral("LatYShift"), LatYShift);
}
