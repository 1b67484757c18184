#include "editor/PictureImport.h"

#include "codec/GifCodec.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace PictureImport {

namespace {

// No map picture comes near this; a bigger file is not read into memory.
constexpr qint64 kMaxFileBytes = qint64(128) * 1024 * 1024;

const char* otherFormat(const QByteArray& bytes)
{
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return "png";
    if (bytes.startsWith("\xFF\xD8\xFF"))
        return "jpeg";
    return nullptr;
}

[[noreturn]] void fail(const QString& path, const QString& why)
{
    throw GifError(QStringLiteral("%1 is not a readable picture: %2.").arg(path, why));
}

} // namespace

QImage ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw GifError(QStringLiteral("The picture %1 could not be opened.").arg(path));
    if (file.size() > kMaxFileBytes)
        fail(path, QStringLiteral("the file is too large"));
    const QByteArray bytes = file.readAll();
    const char* format = otherFormat(bytes);
    if (!format)
        return GifCodec::toRgb32(GifCodec::decode(bytes, path)); // a GIF, or the codec's reason why not

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    if (!size.isValid())
        fail(path, reader.errorString());
    if (size.width() > GifCodec::MaxSide || size.height() > GifCodec::MaxSide ||
        qint64(size.width()) * size.height() > GifCodec::MaxPixels)
        fail(path, QStringLiteral("it is too large for a map (%1 x %2 pixels)").arg(size.width()).arg(size.height()));
    QImage picture = reader.read();
    if (picture.isNull())
        fail(path, reader.errorString());
    return ToLessonColours(picture);
}

QImage ToLessonColours(const QImage& picture)
{
    return GifCodec::toRgb32(GifCodec::decode(GifCodec::encode(picture)));
}

} // namespace PictureImport
