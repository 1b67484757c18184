#pragma once

// The little-endian byte stream of globe object records.

#include "globe/GlobeSysUtils.h"

#include <QByteArray>
#include <QIODevice>
#include <QRect>
#include <cstring>
#include <memory>

// Reads primitives from a byte stream it owns. Data may be damaged or hostile:
// a read beyond the end stops with an EGlobeException naming the offset.
class TGlobeStreamReader {
public:
    explicit TGlobeStreamReader(std::unique_ptr<QIODevice> stream);
    // Reads from a copy of the bytes.
    explicit TGlobeStreamReader(const QByteArray& bytes);
    virtual ~TGlobeStreamReader();
    TGlobeStreamReader(const TGlobeStreamReader&) = delete;
    TGlobeStreamReader& operator=(const TGlobeStreamReader&) = delete;

    // The underlying read, the one place a special stream overrides: returns
    // the bytes actually read. The primitives are not virtual so that the
    // point loops stay inline.
    virtual int64_t _Read(void* buffer, int64_t count);
    void ReadBuffer(void* buffer, int64_t count);
    double ReadDouble() { return Read<double>(); }
    uint16_t ReadWord() { return Read<uint16_t>(); }
    int8_t ReadShortInt() { return Read<int8_t>(); }
    int16_t ReadSmallInt() { return Read<int16_t>(); }
    int32_t ReadInteger() { return Read<int32_t>(); }
    QString ReadShortString();
    TPointLL ReadPointLL(bool height, bool is16Bit);
    // Left, top, right, bottom.
    QRect ReadRect();
    TMER ReadMER();

    // Byte offset from the start of the stream.
    int64_t Position() const { return m_bufferStart + m_pos; }
    // Moves to an offset; one past the end of a sized stream is an error.
    void Seek(int64_t offset);
    // Bytes left, or a very large number when the stream cannot tell.
    int64_t Remaining() const;
    // Stops with an error unless count more bytes can still be read; used
    // before trusting a count from the stream with an allocation.
    void Require(int64_t count, const char* what);
    // The offset at which the record being read started, for messages.
    void BeginRecord() { m_recordStart = Position(); }

    template <typename T> T Read()
    {
        T value;
        if (m_len - m_pos >= static_cast<int64_t>(sizeof(T))) {
            std::memcpy(&value, m_buffer.constData() + m_pos, sizeof(T));
            m_pos += sizeof(T);
        } else {
            ReadBuffer(&value, sizeof(T));
        }
        return value; // the engine runs on little-endian machines only
    }

private:
    [[noreturn]] void Fail(const QString& what, int64_t offset) const;
    bool Fill();

    std::unique_ptr<QIODevice> m_stream;
    QByteArray m_buffer;
    int64_t m_bufferStart = 0; // stream offset of m_buffer[0]
    int64_t m_size = -1;       // of the stream when opened; -1 when it cannot tell
    int64_t m_pos = 0;
    int64_t m_len = 0;
    int64_t m_recordStart = 0;
};

// Writes primitives to a byte stream it owns.
class TGlobeStreamWriter {
public:
    explicit TGlobeStreamWriter(std::unique_ptr<QIODevice> stream);
    virtual ~TGlobeStreamWriter();
    TGlobeStreamWriter(const TGlobeStreamWriter&) = delete;
    TGlobeStreamWriter& operator=(const TGlobeStreamWriter&) = delete;

    virtual int64_t _Write(const void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);
    void WriteDouble(double v) { Write(v); }
    void WriteWord(uint16_t v) { Write(v); }
    void WriteShortInt(int8_t v) { Write(v); }
    void WriteSmallInt(int16_t v) { Write(v); }
    void WriteInteger(int32_t v) { Write(v); }
    // Single-byte text, cut to 255 characters.
    void WriteShortString(const QString& text);
    void WriteRect(const QRect& rect);
    void WritePointLL(const TPointLL& p, bool height, bool is16Bit);
    void WriteMER(const TMER& mer);

    QIODevice& Stream() { return *m_stream; }
    int64_t Position() const { return m_stream->pos(); }

    template <typename T> void Write(T value) { WriteBuffer(&value, sizeof(T)); }

private:
    std::unique_ptr<QIODevice> m_stream;
};
