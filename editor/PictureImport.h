#pragma once

#include <QImage>
#include <QString>

// Map pictures from outside the program: a GIF as the codec reads it, a PNG
// or JPEG brought to the colours a GIF can hold (at most 256, by the
// codec's median cut), so that the map shows what the lesson will save.
namespace PictureImport {

// Reads a picture file. Anything that is not a readable GIF, PNG or JPEG
// picture throws GifError with the codec's reason; so does a picture too
// large for a GIF, before its pixels are allocated.
QImage ReadFile(const QString& path);

// A picture in the colours of the lesson's GIF, 32 bits a pixel;
// transparent parts become white.
QImage ToLessonColours(const QImage& picture);

} // namespace PictureImport
