#include "globe/GlobeStream.h"

#include "platform/TextCodec.h"

#include <QBuffer>
#include <algorithm>

namespace {
constexpr int64_t kChunk = 64 * 1024;

// Single-byte text of the records is Windows-1252; encode what that code
// page can hold and '?' for the rest.
QByteArray EncodeWindows1252(const QString& text)
{
    static const QString high = [] {
        QByteArray bytes;
        for (int b = 0x80; b <= 0x9F; ++b)
            bytes.append(static_cast<char>(b));
        return TextCodec::decodeWindows1252(bytes);
    }();
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        const qsizetype h = high.indexOf(c);
        if (h >= 0)
            out.append(static_cast<char>(0x80 + h));
        else if (u < 0x100 && !(u >= 0x80 && u <= 0x9F))
            out.append(static_cast<char>(u));
        else
            out.append('?');
    }
    return out;
}
} // namespace

// --- reader ---

TGlobeStreamReader::TGlobeStreamReader(std::unique_ptr<QIODevice> stream) : m_stream(std::move(stream))
{
    if (!m_stream)
        throw EGlobeException(QStringLiteral("Globe stream: no stream to read"));
    if (!m_stream->isOpen() && !m_stream->open(QIODevice::ReadOnly))
        throw EGlobeException(QStringLiteral("Globe stream: cannot open the stream for reading"));
    m_bufferStart = m_stream->pos();
    // Asking a file for its size asks the system each time; a file being
    // read is taken as it was when opened.
    m_size = m_stream->isSequential() ? -1 : m_stream->size();
}

TGlobeStreamReader::TGlobeStreamReader(const QByteArray& bytes)
    : TGlobeStreamReader([&bytes] {
          auto buffer = std::make_unique<QBuffer>();
          buffer->setData(bytes);
          buffer->open(QIODevice::ReadOnly);
          return buffer;
      }())
{
}

TGlobeStreamReader::~TGlobeStreamReader() = default;

int64_t TGlobeStreamReader::_Read(void* buffer, int64_t count)
{
    return m_stream->read(static_cast<char*>(buffer), count);
}

void TGlobeStreamReader::Fail(const QString& what, int64_t offset) const
{
    throw EGlobeException(QStringLiteral("Globe stream: %1 at offset %2 (record at offset %3)")
                              .arg(what)
                              .arg(offset)
                              .arg(m_recordStart));
}

bool TGlobeStreamReader::Fill()
{
    // Keep the unread tail, then top the buffer up.
    const int64_t tail = m_len - m_pos;
    if (m_buffer.size() < kChunk)
        m_buffer.resize(kChunk);
    if (tail > 0 && m_pos > 0)
        std::memmove(m_buffer.data(), m_buffer.constData() + m_pos, static_cast<size_t>(tail));
    m_bufferStart += m_pos;
    m_pos = 0;
    m_len = std::max<int64_t>(tail, 0);
    const int64_t got = _Read(m_buffer.data() + m_len, kChunk - m_len);
    if (got <= 0)
        return false;
    m_len += got;
    return true;
}

void TGlobeStreamReader::ReadBuffer(void* buffer, int64_t count)
{
    if (count < 0)
        Fail(QStringLiteral("negative read"), Position());
    auto* out = static_cast<char*>(buffer);
    const int64_t start = Position();
    while (count > 0) {
        if (m_pos == m_len && !Fill())
            Fail(QStringLiteral("unexpected end of data (needed %1 more bytes from offset %2)")
                     .arg(count)
                     .arg(start),
                 Position());
        const int64_t n = std::min(count, m_len - m_pos);
        std::memcpy(out, m_buffer.constData() + m_pos, static_cast<size_t>(n));
        m_pos += n;
        out += n;
        count -= n;
    }
}

QString TGlobeStreamReader::ReadShortString()
{
    const auto length = static_cast<uint8_t>(ReadShortInt());
    char bytes[255];
    ReadBuffer(bytes, length);
    return TextCodec::decodeWindows1252(QByteArray(bytes, length));
}

TPointLL TGlobeStreamReader::ReadPointLL(bool height, bool is16Bit)
{
    if (is16Bit) {
        // Arc minutes; products beyond 32 bits wrap rather than overflow.
        const int64_t longitude = int64_t{Read<int16_t>()} * GU_MINUTE;
        const auto latitude = static_cast<int32_t>(int64_t{Read<int16_t>()} * GU_MINUTE);
        const auto h = static_cast<int32_t>(height ? int64_t{Read<int16_t>()} * GU_MINUTE : 0);
        return PointLLH(longitude, latitude, h);
    }
    const int32_t longitude = Read<int32_t>();
    const int32_t latitude = Read<int32_t>();
    const int32_t h = height ? Read<int32_t>() : 0;
    return PointLLH(longitude, latitude, h);
}

QRect TGlobeStreamReader::ReadRect()
{
    const int32_t left = ReadInteger();
    const int32_t top = ReadInteger();
    const int32_t right = ReadInteger();
    const int32_t bottom = ReadInteger();
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

TMER TGlobeStreamReader::ReadMER()
{
    TMER m;
    m.Long = ReadInteger();
    m.Lat = ReadInteger();
    m.Width = ReadInteger();
    m.Height = ReadInteger();
    return m;
}

void TGlobeStreamReader::Seek(int64_t offset)
{
    if (offset < 0 || (m_size >= 0 && offset > m_size))
        Fail(QStringLiteral("offset %1 lies outside the stream of %2 bytes").arg(offset).arg(m_size), Position());
    if (offset >= m_bufferStart && offset <= m_bufferStart + m_len) {
        m_pos = offset - m_bufferStart;
        return;
    }
    if (!m_stream->seek(offset))
        Fail(QStringLiteral("cannot move to offset %1").arg(offset), Position());
    m_bufferStart = offset;
    m_pos = m_len = 0;
}

int64_t TGlobeStreamReader::Remaining() const
{
    if (m_size < 0)
        return std::numeric_limits<int64_t>::max();
    return m_size - Position();
}

void TGlobeStreamReader::Require(int64_t count, const char* what)
{
    const int64_t left = Remaining();
    if (count > left)
        Fail(QStringLiteral("%1 needs %2 bytes, only %3 remain").arg(QLatin1String(what)).arg(count).arg(left),
             Position());
}

// --- writer ---

TGlobeStreamWriter::TGlobeStreamWriter(std::unique_ptr<QIODevice> stream) : m_stream(std::move(stream))
{
    if (!m_stream)
        throw EGlobeException(QStringLiteral("Globe stream: no stream to write"));
    if (!m_stream->isOpen() && !m_stream->open(QIODevice::WriteOnly))
        throw EGlobeException(QStringLiteral("Globe stream: cannot open the stream for writing"));
}

TGlobeStreamWriter::~TGlobeStreamWriter() = default;

int64_t TGlobeStreamWriter::_Write(const void* buffer, int64_t count)
{
    return m_stream->write(static_cast<const char*>(buffer), count);
}

void TGlobeStreamWriter::WriteBuffer(const void* buffer, int64_t count)
{
    if (_Write(buffer, count) != count)
        throw EGlobeException(QStringLiteral("Globe stream: write failed at offset %1").arg(Position()));
}

void TGlobeStreamWriter::WriteShortString(const QString& text)
{
    const QByteArray bytes = EncodeWindows1252(text.left(255));
    WriteShortInt(static_cast<int8_t>(static_cast<uint8_t>(bytes.size())));
    WriteBuffer(bytes.constData(), bytes.size());
}

void TGlobeStreamWriter::WriteRect(const QRect& rect)
{
    WriteInteger(rect.left());
    WriteInteger(rect.top());
    WriteInteger(rect.right() + 1);
    WriteInteger(rect.bottom() + 1);
}

void TGlobeStreamWriter::WritePointLL(const TPointLL& p, bool height, bool is16Bit)
{
    if (is16Bit) {
        WriteSmallInt(static_cast<int16_t>(p.Long / GU_MINUTE));
        WriteSmallInt(static_cast<int16_t>(p.Lat / GU_MINUTE));
        if (height)
            WriteSmallInt(static_cast<int16_t>(p.Height / GU_MINUTE));
        return;
    }
    WriteInteger(p.Long);
    WriteInteger(p.Lat);
    if (height)
        WriteInteger(p.Height);
}

void TGlobeStreamWriter::WriteMER(const TMER& mer)
{
    WriteInteger(mer.Long);
    WriteInteger(mer.Lat);
    WriteInteger(mer.Width);
    WriteInteger(mer.Height);
}
