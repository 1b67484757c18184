#pragma once

#include <QByteArray>
#include <QString>

// Text files of the program are UTF-8; files from older installations are
// Windows-1252. Decoding picks UTF-8 when the bytes are valid UTF-8.
namespace TextCodec {
QString decode(const QByteArray& bytes);
QString decodeWindows1252(const QByteArray& bytes);
QByteArray encode(const QString& text);
} // namespace TextCodec
