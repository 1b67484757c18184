#pragma once

// A buffered line reader over a file, with seeking to the start of a line.

#include "globe/GlobeSysUtils.h"

#include <QByteArray>
#include <QFile>

class TTextReader {
public:
    // Opens the file for reading; raises EGlobeException when it cannot.
    explicit TTextReader(const QString& fileName);

    void SetTextBufferSize(int bytes);
    int64_t GetSize() const { return m_file.size(); }
    // Offset of the next line to read.
    int64_t Position() const { return m_bufferStart + m_pos; }
    void SetPosition(int64_t offset);
    // The next line without its line break; false at the end of the file.
    // A line longer than MaxLineLength raises EGlobeException: no text file
    // of the readers has such lines.
    bool ReadLn(QByteArray& line);
    QString FileName() const { return m_file.fileName(); }

    static constexpr int MaxLineLength = 1 << 20;

private:
    bool Fill();

    QFile m_file;
    QByteArray m_buffer;
    int m_bufferSize = 64 * 1024;
    int64_t m_bufferStart = 0;
    int64_t m_pos = 0;
    int64_t m_len = 0;
};
