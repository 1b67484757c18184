#include "learning/FlagPainter.h"

#include "lesson/ColorText.h"
#include "lesson/Geoobj.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPolygonF>
#include <QSvgRenderer>
#include <QtMath>

#include <algorithm>

FlagConversionError::FlagConversionError(const QString& description, const QString& text)
    : OrbiloError(QStringLiteral("'%1' is not a valid value in the flag description \"%2\"").arg(text, description)),
      m_description(description), m_text(text)
{
}

FlagFileError::FlagFileError(const QString& path)
    : OrbiloError(QStringLiteral("Cannot read the picture %1").arg(path)), m_path(path)
{
}

namespace {

constexpr int kMaxPolygonPoints = 10;
constexpr int kMaxStarSpikes = 20;
// No flag is higher than this or wider than four times its height (the
// widest real ones are about 2.5 : 1).
constexpr int kMaxSide = 16384;
constexpr int kMaxAspect = 4;
// How far beyond its own size a shape may reach. Nothing of a real flag lies
// outside it; inside it every sum and product of measures stays in range.
constexpr int kReach = 4;

QColor toQColor(TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// One command of a description, with conversions that name the
// description when they fail.
class Command {
public:
    Command(const QString& text, const QString& description)
        : m_fields(SplitFields(text, u',')), m_description(description)
    {
        m_name = m_fields.front().trimmed();
    }

    const QString& name() const { return m_name; }
    // Fields after the name, counted from 1.
    int count() const { return static_cast<int>(m_fields.size()) - 1; }
    QString text(int i) const { return m_fields.value(i).trimmed(); }

    int number(int i) const
    {
        int value = 0;
        if (!IniFile::parseInteger(m_fields.value(i), value))
            throw FlagConversionError(m_description, m_fields.value(i));
        return value;
    }
    int atLeastOne(int i) const
    {
        const int value = number(i);
        if (value < 1)
            throw FlagConversionError(m_description, m_fields.value(i));
        return value;
    }
    QColor color(int i) const
    {
        TColor c = 0;
        if (!TryParseColorText(m_fields.value(i), c))
            throw FlagConversionError(m_description, m_fields.value(i));
        return toQColor(c);
    }

private:
    QStringList m_fields;
    QString m_name;
    const QString& m_description;
};

int boundedHeight(int height) { return std::clamp(height, 0, kMaxSide); }

// A pixel measure held within reach of the flag's side of this size.
int withinReach(double pixels, int size)
{
    const double reach = double(kReach) * std::max(size, 1);
    return static_cast<int>(std::clamp(pixels, -reach, reach));
}

// n percent of size, with 33 and 66 meaning exact thirds.
int measure(int n, int size)
{
    if (n == 33)
        return size / 3;
    if (n == 66)
        return size * 2 / 3;
    return withinReach(double(qint64(size) * n / 100), size);
}

struct Pens {
    QColor fill = Qt::black;
    QColor outline = Qt::black;
    bool outlined = true;
};

// Right and bottom edges excluded, so that adjacent stripes meet without overlap.
void rectangle(QPainter& p, const Pens& pens, int x, int y, int x2, int y2)
{
    const QRect r = QRect(QPoint(std::min(x, x2), std::min(y, y2)), QPoint(std::max(x, x2) - 1, std::max(y, y2) - 1));
    if (r.isEmpty())
        return;
    p.fillRect(r, pens.fill);
    if (pens.outlined && pens.outline != pens.fill) {
        p.fillRect(QRect(r.left(), r.top(), r.width(), 1), pens.outline);
        p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), pens.outline);
        p.fillRect(QRect(r.left(), r.top(), 1, r.height()), pens.outline);
        p.fillRect(QRect(r.right(), r.top(), 1, r.height()), pens.outline);
    }
}

// Round shapes and slanted edges are smoothed; an outline of the fill's own
// colour is left out so that the edge stays as sharp as the fill.
void smoothShape(QPainter& p, const Pens& pens)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(pens.fill);
    if (pens.outlined && pens.outline != pens.fill)
        p.setPen(QPen(pens.outline, 1));
    else
        p.setPen(Qt::NoPen);
}

// x2 = 0 takes y2's pixels and y2 = 0 takes x2's, which makes squares easy.
void shareZero(int& x2, int& y2)
{
    if (x2 == 0)
        x2 = y2;
    else if (y2 == 0)
        y2 = x2;
}

// The painter's device in the painter's coordinates: no part of a picture
// outside it can show.
QRect visibleArea(const QPainter& p)
{
    constexpr int kEverywhere = 1 << 29;
    bool invertible = false;
    const QTransform toFlag = p.combinedTransform().inverted(&invertible);
    const QPaintDevice* device = p.device();
    if (!device || !invertible)
        return QRect(-kEverywhere, -kEverywhere, 2 * kEverywhere, 2 * kEverywhere);
    return toFlag.mapRect(QRect(0, 0, device->width(), device->height()));
}

void frame(QPainter& p, int width, int height)
{
    if (width < 1 || height < 1)
        return; // a frame of no flag would lie beside it
    p.fillRect(QRect(0, 0, width, 1), Qt::black);
    p.fillRect(QRect(0, height - 1, width, 1), Qt::black);
    p.fillRect(QRect(0, 0, 1, height), Qt::black);
    p.fillRect(QRect(width - 1, 0, 1, height), Qt::black);
}

} // namespace

int FlagPainter::FlagWidth(const QString& description, int height, bool fixedRatio)
{
    height = boundedHeight(height);
    const int threeToTwo = (height / 2) * 3;
    const Command first(ExtractField(description, u';', 1), description);
    if (first.name() != u"q")
        return threeToTwo;
    const int a = first.atLeastOne(1);
    const int b = first.atLeastOne(2);
    if (fixedRatio && !(a == 1 && b == 1))
        return threeToTwo;
    return static_cast<int>(std::min(qint64(height / a) * b, qint64(kMaxAspect) * height));
}

void FlagPainter::DropEmblem()
{
    m_emblem = QImage();
    m_emblemFile.clear();
    m_emblemPlace = QRect();
    m_emblemPart = QRect();
}

const QImage& FlagPainter::emblem(const QString& file, const QRect& place, const QRect& part)
{
    if (!m_emblem.isNull() && m_emblemFile == file && m_emblemPlace == place && m_emblemPart == part)
        return m_emblem;
    const QDir folder(m_pictureFolder);
    QString path = folder.filePath(file);
    if (!QFileInfo::exists(path)) {
        // Names in descriptions need not match the file's case.
        const QStringList match = folder.entryList({file}, QDir::Files);
        if (!match.isEmpty())
            path = folder.filePath(match.front());
    }
    if (!QFileInfo::exists(path))
        throw FlagFileError(path);
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        throw FlagFileError(path);
    // Only the part that can be seen is rendered; the picture keeps its
    // place and size, the rest of it falls outside the image.
    QImage image(part.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    renderer.render(&p, QRectF(place.topLeft() - part.topLeft(), place.size()));
    p.end();
    m_emblem = image;
    m_emblemFile = file;
    m_emblemPlace = place;
    m_emblemPart = part;
    return m_emblem;
}

int FlagPainter::Paint(QPainter& p, const QString& description, int height)
{
    height = boundedHeight(height);
    const int width = FlagWidth(description, height, m_fixedRatio);
    const QRect flag(0, 0, width, height);
    p.save();
    // Shapes that reach beyond the flag are cut at its edge.
    p.setClipRect(flag, Qt::IntersectClip);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(flag, Qt::white);

    Pens pens;
    const auto x = [&](int n) { return measure(n, width); };
    const auto y = [&](int n) { return measure(n, height); };
    const QStringList commands = SplitFields(description, u';');
    try {
        for (qsizetype index = 0; index < commands.size(); ++index) {
            const Command cmd(commands[index], description);
            const QString& name = cmd.name();
            p.setRenderHint(QPainter::Antialiasing, false);
            if (name == u"q") {
                // Proportions only count as the first command, which FlagWidth has read.
            } else if (name == u"c") {
                pens.fill = pens.outline = cmd.color(1);
                pens.outlined = true;
            } else if (name == u"cr") {
                const auto part = [&](int i) { return std::clamp(cmd.number(i), 0, 255); };
                pens.fill = pens.outline = QColor(part(1), part(2), part(3));
                pens.outlined = true;
            } else if (name == u"cp") {
                pens.fill = cmd.color(1);
                pens.outline = cmd.color(2);
                pens.outlined = true;
            } else if (name == u"nl") {
                pens.outlined = false;
            } else if (name == u"r") {
                const int rawX = cmd.number(1);
                const int rawY = cmd.number(2);
                int x2 = x(cmd.number(3));
                int y2 = y(cmd.number(4));
                shareZero(x2, y2);
                const int left = rawX == -1 ? (width - x2) / 2 : x(rawX);
                const int top = rawY == -1 ? (height - y2) / 2 : y(rawY);
                rectangle(p, pens, left, top, x2, y2);
            } else if (name == u"co") {
                const int left = x(cmd.number(1));
                const int top = y(cmd.number(2));
                int x2 = x(cmd.number(3));
                int y2 = y(cmd.number(4));
                shareZero(x2, y2);
                const int pos = cmd.number(5);
                const int t = y(cmd.number(6));
                const int centreY = (top + y2) / 2;
                const int centreX = withinReach(pos / 100.0 * x2 + left / 2.0, width);
                rectangle(p, pens, left, centreY - t / 2, x2, centreY - t / 2 + t);
                rectangle(p, pens, centreX - t / 2, top, centreX - t / 2 + t, y2);
            } else if (name == u"m") {
                if (m_pictureFolder.isEmpty())
                    continue;
                const QString file = cmd.text(1);
                const int rawX = cmd.number(2);
                const int rawY = cmd.number(3);
                int w = x(cmd.number(4));
                int h = y(cmd.number(5));
                shareZero(w, h);
                if (w <= 0 || h <= 0)
                    continue;
                const int left = rawX == -1 ? (width - w) / 2 : x(rawX);
                const int top = rawY == -1 ? (height - h) / 2 : y(rawY);
                const QRect place(left, top, w, h);
                const QRect part = place & flag & visibleArea(p);
                if (part.isEmpty())
                    continue;
                p.drawImage(part.topLeft(), emblem(file, place, part));
            } else if (name == u"e") {
                const int cx = x(cmd.number(1));
                const int cy = y(cmd.number(2));
                const int d = y(cmd.number(3));
                smoothShape(p, pens);
                p.drawEllipse(QRectF(cx - d / 2.0, cy - d / 2.0, d, d));
            } else if (name == u"t") {
                // Points beyond the tenth are dropped, as is a lone last coordinate.
                const int points = std::min(cmd.count() / 2, kMaxPolygonPoints);
                QPolygonF polygon;
                polygon.reserve(points);
                for (int i = 0; i < points; ++i)
                    polygon << QPointF(x(cmd.number(2 * i + 1)), y(cmd.number(2 * i + 2)));
                smoothShape(p, pens);
                p.drawPolygon(polygon);
            } else if (name == u"s") {
                const int rawX = cmd.number(1);
                const int cy = y(cmd.number(2));
                const int cx = rawX == -1 ? cy : x(rawX);
                const int r = y(cmd.number(3));
                const int inner = withinReach(double(qint64(cmd.number(4)) * r / 100), height);
                const int spikes = cmd.count() >= 5 ? std::min(cmd.atLeastOne(5), kMaxStarSpikes) : 5;
                const double angle = cmd.count() >= 6 ? cmd.number(6) : -90;
                QPolygonF star;
                star.reserve(2 * spikes);
                for (int i = 0; i < spikes; ++i) {
                    // Spikes evenly spaced in exact degrees: whole degrees would
                    // leave a gap in stars of 7 or 14 spikes.
                    const double outer = qDegreesToRadians(angle + i * 360.0 / spikes);
                    const double between = outer + qDegreesToRadians(180.0 / spikes);
                    star << QPointF(cx + r * std::cos(outer), cy + r * std::sin(outer))
                         << QPointF(cx + inner * std::cos(between), cy + inner * std::sin(between));
                }
                smoothShape(p, pens);
                p.drawPolygon(star);
            }
        }
    } catch (...) {
        p.restore();
        throw;
    }
    frame(p, width, height);
    p.restore();
    return width;
}

bool FlagPainter::TryPaint(QPainter& p, const QString& description, int height, QString* error)
{
    try {
        Paint(p, description, height);
        return true;
    } catch (const OrbiloError& e) {
        if (error)
            *error = e.message();
        height = boundedHeight(height);
        int width = (height / 2) * 3;
        try {
            width = FlagWidth(description, height, m_fixedRatio);
        } catch (const OrbiloError&) {
            p.fillRect(QRect(0, 0, width, height), Qt::white); // nothing was painted
        }
        frame(p, width, height);
        return false;
    }
}
