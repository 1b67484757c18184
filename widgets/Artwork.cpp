#include "widgets/Artwork.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

namespace Artwork {

namespace {
QString resource(const QString& name) { return QStringLiteral(":/artwork/%1.svg").arg(name); }

QPixmap render(QSvgRenderer& renderer, QSize size, qreal ratio)
{
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

// The picture's own size, or scaled to the given height.
QPixmap pictureOfHeight(const QString& name, int height)
{
    QSvgRenderer renderer(resource(name));
    QSize size = renderer.defaultSize();
    if (height > 0 && size.height() > 0)
        size = QSize(size.width() * height / size.height(), height);
    return render(renderer, size, qGuiApp ? qGuiApp->devicePixelRatio() : 1.0);
}
} // namespace

QPixmap Picture(const QString& name, QSize size)
{
    QSvgRenderer renderer(resource(name));
    if (!size.isValid())
        size = renderer.defaultSize();
    return render(renderer, size, qGuiApp ? qGuiApp->devicePixelRatio() : 1.0);
}

QIcon Glyph(const QString& name)
{
    // Both densities, so that a window moved to another screen stays sharp.
    QSvgRenderer renderer(resource(QStringLiteral("glyphs/") + name));
    QIcon icon;
    for (qreal ratio : {1.0, 2.0})
        icon.addPixmap(render(renderer, QSize(20, 20), ratio));
    return icon;
}

QPixmap LogoText(int language, int height)
{
    return pictureOfHeight(QStringLiteral("logo/logo_text_%1").arg(language >= 1 && language <= 3 ? language : 1),
                           height);
}

QPixmap LogoGlobe(int height) { return pictureOfHeight(QStringLiteral("logo/logo_globe"), height); }

QPixmap WelcomePicture(int language)
{
    return Picture(language == 3 ? QStringLiteral("logo/welcome_en") : QStringLiteral("logo/welcome_de"), {});
}

} // namespace Artwork
