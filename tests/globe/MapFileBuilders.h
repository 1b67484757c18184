#pragma once

// Small map files made byte by byte, the way their formats lay them out, for
// the reader tests and the fuzz corpora.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QtEndian>
#include <cstring>
#include <utility>
#include <vector>

namespace MapFiles {

inline void Append32BE(QByteArray& b, int32_t v)
{
    char c[4];
    qToBigEndian(v, c);
    b.append(c, 4);
}
template <typename T> void AppendLE(QByteArray& b, T v)
{
    char c[sizeof(T)];
    std::memcpy(c, &v, sizeof v);
    b.append(c, sizeof v);
}

using Ring = std::vector<std::pair<double, double>>;

// The content of one shape record: type 1 takes the first point, types 3, 5
// and 13 their parts, type 8 the points of the first part.
inline QByteArray ShapeRecord(int32_t type, const std::vector<Ring>& parts = {})
{
    QByteArray b;
    AppendLE<int32_t>(b, type);
    if (type == 0)
        return b;
    if (type == 1) {
        AppendLE(b, parts.at(0).at(0).first);
        AppendLE(b, parts.at(0).at(0).second);
        return b;
    }
    for (int i = 0; i < 4; ++i)
        AppendLE(b, 0.0); // the box, which the reader does not use
    int32_t points = 0;
    for (const Ring& r : parts)
        points += static_cast<int32_t>(r.size());
    if (type != 8)
        AppendLE<int32_t>(b, static_cast<int32_t>(parts.size()));
    AppendLE<int32_t>(b, points);
    if (type != 8) {
        int32_t first = 0;
        for (const Ring& r : parts) {
            AppendLE<int32_t>(b, first);
            first += static_cast<int32_t>(r.size());
        }
    }
    for (const Ring& r : parts)
        for (const auto& [x, y] : r) {
            AppendLE(b, x);
            AppendLE(b, y);
        }
    return b;
}

inline QByteArray Shapefile(const std::vector<QByteArray>& records, int32_t shapeType = 5)
{
    QByteArray body;
    int32_t number = 1;
    for (const QByteArray& r : records) {
        Append32BE(body, number++);
        Append32BE(body, static_cast<int32_t>(r.size() / 2));
        body.append(r);
    }
    QByteArray b;
    Append32BE(b, 9994);
    for (int i = 0; i < 5; ++i)
        Append32BE(b, 0);
    Append32BE(b, static_cast<int32_t>((100 + body.size()) / 2));
    AppendLE<int32_t>(b, 1000);
    AppendLE<int32_t>(b, shapeType);
    for (int i = 0; i < 8; ++i)
        AppendLE(b, 0.0);
    return b + body;
}

// A dBASE III table of character fields, the texts already encoded.
inline QByteArray Dbf(const QStringList& fields, int fieldLength, const std::vector<std::vector<QByteArray>>& rows,
                      uint8_t languageDriver = 0)
{
    const int headerLength = 32 + 32 * static_cast<int>(fields.size()) + 1;
    const int recordLength = 1 + fieldLength * static_cast<int>(fields.size());
    QByteArray b(32, '\0');
    b[0] = 0x03;
    qToLittleEndian<uint32_t>(static_cast<uint32_t>(rows.size()), b.data() + 4);
    qToLittleEndian<uint16_t>(static_cast<uint16_t>(headerLength), b.data() + 8);
    qToLittleEndian<uint16_t>(static_cast<uint16_t>(recordLength), b.data() + 10);
    b[29] = static_cast<char>(languageDriver);
    for (const QString& f : fields) {
        QByteArray d(32, '\0');
        std::memcpy(d.data(), f.toLatin1().constData(), static_cast<size_t>(std::min<qsizetype>(f.size(), 10)));
        d[11] = 'C';
        d[16] = static_cast<char>(fieldLength);
        b.append(d);
    }
    b.append('\r');
    for (const auto& row : rows) {
        b.append(' ');
        for (const QByteArray& v : row)
            b.append(v.leftJustified(fieldLength, ' ', true));
    }
    b.append('\x1A');
    return b;
}

inline void Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
}

} // namespace MapFiles
