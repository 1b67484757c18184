#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The program's own pictures, compiled in as SVG.
namespace Artwork {
QIcon Glyph(const QString& name);             // toolbar glyphs, 20 x 20
QPixmap Picture(const QString& name, QSize size); // logo pieces, welcome pictures
QPixmap LogoText(int language);                // the logo piece of a language (1..3)
QPixmap LogoGlobe();
QPixmap WelcomePicture(int language);          // German in languages 1 and 2, English in 3
} // namespace Artwork
