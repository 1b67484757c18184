#include "globe/GlobeTextReader.h"

#include <algorithm>
#include <cstring>

TTextReader::TTextReader(const QString& fileName) : m_file(fileName)
{
    if (!m_file.open(QIODevice::ReadOnly))
        throw EGlobeException(QStringLiteral("Cannot open %1: %2").arg(fileName, m_file.errorString()));
}

void TTextReader::SetTextBufferSize(int bytes)
{
    const int64_t at = Position();
    m_bufferSize = std::clamp(bytes, 256, 16 * 1024 * 1024);
    m_buffer.clear();
    m_bufferStart = at;
    m_pos = m_len = 0;
    m_file.seek(at);
}

void TTextReader::SetPosition(int64_t offset)
{
    offset = std::clamp<int64_t>(offset, 0, GetSize());
    if (offset >= m_bufferStart && offset <= m_bufferStart + m_len) {
        m_pos = offset - m_bufferStart;
        return;
    }
    m_file.seek(offset);
    m_bufferStart = offset;
    m_pos = m_len = 0;
}

bool TTextReader::Fill()
{
    // Keeps the unread tail in front of the new bytes.
    const int64_t tail = m_len - m_pos;
    if (m_buffer.size() < m_bufferSize)
        m_buffer.resize(m_bufferSize);
    if (tail > 0 && m_pos > 0)
        std::memmove(m_buffer.data(), m_buffer.constData() + m_pos, static_cast<size_t>(tail));
    m_bufferStart += m_pos;
    m_pos = 0;
    m_len = tail;
    if (m_len == m_buffer.size())
        m_buffer.resize(m_buffer.size() * 2);
    const int64_t got = m_file.read(m_buffer.data() + m_len, m_buffer.size() - m_len);
    if (got <= 0)
        return false;
    m_len += got;
    return true;
}

bool TTextReader::ReadLn(QByteArray& line)
{
    int64_t scanned = 0; // bytes of the line already searched for its end
    for (;;) {
        const char* start = m_buffer.constData() + m_pos;
        const int64_t available = m_len - m_pos;
        const auto* nl = static_cast<const char*>(
            std::memchr(start + scanned, '\n', static_cast<size_t>(available - scanned)));
        int64_t length = nl ? nl - start : available;
        if (length > MaxLineLength)
            throw EGlobeException(QStringLiteral("%1: line at offset %2 is longer than %3 bytes")
                                      .arg(m_file.fileName())
                                      .arg(Position())
                                      .arg(MaxLineLength));
        if (!nl) {
            scanned = available;
            if (Fill())
                continue;
            if (m_len == m_pos)
                return false;
            start = m_buffer.constData() + m_pos;
            length = m_len - m_pos; // the last line has no line break
        }
        m_pos += nl ? length + 1 : length;
        if (length > 0 && start[length - 1] == '\r')
            --length;
        line = QByteArray(start, length);
        return true;
    }
}
