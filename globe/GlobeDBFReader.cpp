#include "globe/GlobeDBFReader.h"

#include "platform/TextCodec.h"

#include <QFileInfo>
#include <QtEndian>

namespace {
constexpr int kDescriptorSize = 32;

uint32_t LE32(const char* p) { return qFromLittleEndian<uint32_t>(p); }
uint16_t LE16(const char* p) { return qFromLittleEndian<uint16_t>(p); }
} // namespace

TGlobeDBFReader::TGlobeDBFReader(const QString& fileName) : m_file(fileName)
{
    if (!m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) // one record at a time
        throw EGlobeException(QStringLiteral("Cannot open %1: %2").arg(fileName, m_file.errorString()));
    ReadHeader();
}

void TGlobeDBFReader::Damaged(const QString& what) const
{
    throw EGlobeException(QStringLiteral("Invalid DBF file %1: %2").arg(m_file.fileName(), what));
}

void TGlobeDBFReader::ReadHeader()
{
    const int64_t size = m_file.size();
    const QByteArray head = m_file.read(kDescriptorSize);
    if (head.size() < kDescriptorSize)
        Damaged(QStringLiteral("the file is shorter than its header"));
    const uint32_t records = LE32(head.constData() + 4);
    m_headerLength = LE16(head.constData() + 8);
    m_recordLength = LE16(head.constData() + 10);
    if (m_headerLength < kDescriptorSize + 1 || m_headerLength > size)
        Damaged(QStringLiteral("header length %1 does not fit the file of %2 bytes")
                    .arg(static_cast<int16_t>(m_headerLength))
                    .arg(size));
    if (m_recordLength < 1)
        Damaged(QStringLiteral("record length %1").arg(m_recordLength));

    const QByteArray descriptors = m_file.read(m_headerLength - kDescriptorSize);
    int offset = 1; // the deletion mark
    for (qsizetype at = 0; at + kDescriptorSize <= descriptors.size() && descriptors[at] != '\r';
         at += kDescriptorSize) {
        const char* d = descriptors.constData() + at;
        Field f;
        f.name = TextCodec::decode(QByteArray(d, static_cast<int>(qstrnlen(d, 11))));
        f.type = d[11];
        f.length = static_cast<uint8_t>(d[16]);
        f.offset = offset;
        offset += f.length;
        if (offset > m_recordLength)
            Damaged(QStringLiteral("field %1 ends beyond the record length %2").arg(f.name).arg(m_recordLength));
        m_fields.push_back(f);
    }
    // A table cut short keeps the records that are complete.
    m_recordCount = static_cast<int>(
        std::min<int64_t>({records, (size - m_headerLength) / m_recordLength, std::numeric_limits<int>::max()}));
    DetectEncoding(static_cast<uint8_t>(head[29]));
}

void TGlobeDBFReader::DetectEncoding(uint8_t languageDriver)
{
    const QFileInfo info(m_file.fileName());
    QFile cpg(info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".cpg"));
    if (cpg.open(QIODevice::ReadOnly)) {
        const QByteArray name = cpg.read(64).trimmed().toUpper().replace('-', "").replace('_', "");
        if (name == "UTF8")
            m_encoding = Utf8;
        else if (name == "1252" || name == "CP1252" || name == "WINDOWS1252" || name == "LATIN1"
                 || name == "ISO88591" || name == "88591")
            m_encoding = Windows1252;
        if (m_encoding != Unknown)
            return;
    }
    // Language drivers of the Western code pages.
    if (languageDriver == 0x57 || languageDriver == 0x03 || languageDriver == 0x01)
        m_encoding = Windows1252;
}

QString TGlobeDBFReader::GetFieldName(int column) const
{
    return column >= 0 && column < FieldCount() ? m_fields[static_cast<size_t>(column)].name : QString();
}

QChar TGlobeDBFReader::GetFieldType(int column) const
{
    return column >= 0 && column < FieldCount() ? QChar(m_fields[static_cast<size_t>(column)].type)
                                                : QChar(u' ');
}

int TGlobeDBFReader::GetFieldLength(int column) const
{
    return column >= 0 && column < FieldCount() ? m_fields[static_cast<size_t>(column)].length : 0;
}

void TGlobeDBFReader::SetID(int record) { m_record = std::clamp(record, 0, m_recordCount); }

QString TGlobeDBFReader::GetString(int column)
{
    if (column < 0 || column >= FieldCount() || Eof())
        return {};
    if (m_loaded != m_record) {
        m_buffer.resize(m_recordLength);
        const int64_t at = m_headerLength + int64_t{m_record} * m_recordLength;
        if (!m_file.seek(at) || m_file.read(m_buffer.data(), m_recordLength) != m_recordLength)
            Damaged(QStringLiteral("record %1 cannot be read").arg(m_record));
        m_loaded = m_record;
    }
    const Field& f = m_fields[static_cast<size_t>(column)];
    const char* field = m_buffer.constData() + f.offset;
    const QByteArray bytes = QByteArray(field, static_cast<qsizetype>(qstrnlen(field, static_cast<uint>(f.length)))).trimmed();
    switch (m_encoding) {
    case Utf8:
        return QString::fromUtf8(bytes);
    case Windows1252:
        return TextCodec::decodeWindows1252(bytes);
    case Unknown:
        break;
    }
    return TextCodec::decode(bytes);
}
