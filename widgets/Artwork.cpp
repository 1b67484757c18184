#include "widgets/Artwork.h"

#include <QPainter>
#include <QSvgRenderer>

namespace Artwork {

QPixmap Picture(const QString& name, QSize size)
{
    QSvgRenderer renderer(QStringLiteral(":/artwork/%1.svg").arg(name));
    if (!size.isValid())
        size = renderer.defaultSize();
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    return pixmap;
}

QIcon Glyph(const QString& name)
{
    QIcon icon;
    icon.addPixmap(Picture(QStringLiteral("glyphs/") + name, QSize(20, 20)));
    return icon;
}

QPixmap LogoText(int language)
{
    return Picture(QStringLiteral("logo/logo_text_%1").arg(language >= 1 && language <= 3 ? language : 1), {});
}

QPixmap LogoGlobe() { return Picture(QStringLiteral("logo/logo_globe"), {}); }

QPixmap WelcomePicture(int language)
{
    return Picture(language == 3 ? QStringLiteral("logo/welcome_en") : QStringLiteral("logo/welcome_de"), {});
}

} // namespace Artwork
