#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The program's own pictures, compiled in as SVG and rendered at the
// screen's resolution, so that they stay sharp on high-density screens.
// Sizes are in device-independent pixels.
namespace Artwork {
QIcon Glyph(const QString& name);             // toolbar glyphs, 20 x 20
QPixmap Picture(const QString& name, QSize size); // logo pieces, welcome pictures
QPixmap LogoText(int language, int height = 0); // the logo piece of a language (1..3)
QPixmap LogoGlobe(int height = 0);
QPixmap WelcomePicture(int language);          // German in languages 1 and 2, English in 3
} // namespace Artwork
