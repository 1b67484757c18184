#pragma once

#include "platform/OrbiloError.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// A GIF picture could not be read or written; the text says which and why.
class GifError : public OrbiloError {
public:
    using OrbiloError::OrbiloError;
};

// Reading and writing GIF pictures. Every failure throws GifError (a missing
// folder on saving throws the platform's FileWriteError); nothing returns a
// half-made picture.
namespace GifCodec {

// Pictures beyond these limits are refused before anything is allocated.
inline constexpr int MaxSide = 16384;
inline constexpr qint64 MaxPixels = qint64(64) * 1024 * 1024;

// Decodes the first frame as Format_Indexed8 with the frame's colour table
// (the local one if present, else the global one), so that pixel colours
// and indices are exactly those of the file. The transparent colour index
// of the frame becomes a palette entry with alpha 0. The picture has the
// size of the logical screen; parts the frame does not cover get the
// transparent index, or the background index if there is none.
// `name` is used in error texts.
QImage decode(const QByteArray& bytes, const QString& name = QString());
QImage decodeFile(const QString& path);

// Encodes a picture. An indexed picture keeps its palette and indices; a
// true-colour picture with at most 256 colours keeps exactly those colours;
// more colours are reduced to 256 by median cut. Pixels with alpha below 128
// become the transparent index. The same picture always gives the same bytes.
QByteArray encode(const QImage& image);

// Encodes and writes atomically (temporary file in the same folder, renamed).
void saveFile(const QImage& image, const QString& path);

// A copy for drawing: transparent pixels are laid over `background`.
QImage toRgb32(const QImage& image, QRgb background = qRgb(255, 255, 255));

} // namespace GifCodec
