#include "tools/geodata/Maps.h"

#include "platform/FloodFill.h"
#include "tools/geodata/Output.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// The few colours of a map picture; nothing is antialiased, so the GIF
// holds exactly these and the flood fill of the picture map finds clean
// areas.
const QRgb kSea = qRgb(0xA6, 0xCE, 0xE8);
const QRgb kLand = qRgb(0xE4, 0xDF, 0xCC);
const QRgb kLandBorder = qRgb(0xA0, 0x9A, 0x88);
const QRgb kRegion = qRgb(0xFF, 0xFF, 0xFF);
const QRgb kBorder = qRgb(0x00, 0x00, 0x00);
const QRgb kRiver = qRgb(0x1E, 0x5A, 0xC8);
const QRgb kNumber = qRgb(0x00, 0x00, 0x00);
const QRgb kCity = qRgb(0xC0, 0x00, 0x00);
const QRgb kScratch = qRgb(0xFF, 0x00, 0xFF);

// A part of the picture showing a rectangle of the earth, longitudes
// shortened by the cosine of the middle latitude.
struct Frame {
    Box geo;
    QRect px;
    QPointF map(const Pt& p) const
    {
        return {px.left() + (p.lon - geo.minLon) / geo.width() * px.width(),
                px.top() + (geo.maxLat - p.lat) / geo.height() * px.height()};
    }
};

// Sizes a frame so that degrees of longitude and latitude keep their true
// proportion at the middle latitude.
QSize frameSize(const Box& geo, int height)
{
    const double k = std::cos((geo.minLat + geo.maxLat) / 2 * 3.14159265358979 / 180);
    return {static_cast<int>(std::lround(height * geo.width() * k / geo.height())), height};
}

QPolygonF ringPolygon(const Frame& f, const Ring& r)
{
    QPolygonF poly;
    poly.reserve(static_cast<int>(r.size()));
    for (const Pt& p : r)
        poly << f.map(p);
    return poly;
}

// Fills first, outlines after: an outline drawn before a neighbour's fill
// could be partly covered by it and leave a gap for the flood fill.
void fillPolygons(QPainter& painter, const Frame& f, const std::vector<Polygon>& polys, QRgb colour)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(colour));
    for (const Polygon& p : polys)
        if (boxOf(p).intersects(f.geo.grown(1)))
            painter.drawPolygon(ringPolygon(f, p.front()));
}

// Lines are set pixel by pixel (Bresenham), so that every outline is an
// unbroken 8-connected chain that a 4-connected fill cannot cross.
void line(QImage& image, const QRect& clip, QPoint a, QPoint b, QRgb colour)
{
    int dx = std::abs(b.x() - a.x()), dy = -std::abs(b.y() - a.y());
    const int sx = a.x() < b.x() ? 1 : -1, sy = a.y() < b.y() ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        if (clip.contains(a))
            image.setPixel(a, colour);
        if (a == b)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            a.rx() += sx;
        }
        if (e2 <= dx) {
            err += dx;
            a.ry() += sy;
        }
    }
}

QPoint pixel(const QPointF& p) { return {static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))}; }

void polyline(QImage& image, const QRect& clip, const QPolygonF& points, QRgb colour)
{
    for (int i = 1; i < points.size(); ++i)
        line(image, clip, pixel(points[i - 1]), pixel(points[i]), colour);
}

void outlinePolygons(QImage& image, const Frame& f, const std::vector<Polygon>& polys, QRgb colour)
{
    for (const Polygon& p : polys)
        if (boxOf(p).intersects(f.geo.grown(1))) {
            QPolygonF ring = ringPolygon(f, p.front());
            ring << ring.front();
            polyline(image, f.px, ring, colour);
        }
}

// Digits of 3 × 5 cells, drawn in squares of two pixels: a font of our own
// keeps the pictures identical on every machine.
const char* const kDigits[10] = {"111101101101111", "010110010010111", "111001111100111", "111001111001111",
                                 "101101111001001", "111100111001111", "111100111101111", "111001001010010",
                                 "111101111101111", "111101111001111"};

void drawNumber(QImage& image, int x, int y, int number)
{
    const QString text = QString::number(number);
    for (int i = 0; i < text.size(); ++i) {
        const char* glyph = kDigits[text[i].digitValue()];
        for (int cell = 0; cell < 15; ++cell)
            if (glyph[cell] == '1')
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx) {
                        const int px = x + i * 8 + (cell % 3) * 2 + dx, py = y + (cell / 3) * 2 + dy;
                        if (image.rect().contains(px, py))
                            image.setPixel(px, py, kNumber);
                    }
    }
}

// A white backing behind a number, so that it reads on any ground.
void clearLabel(QImage& image, int x, int y, int number, QRgb ground)
{
    const int w = QString::number(number).size() * 8;
    for (int py = y - 1; py < y + 11; ++py)
        for (int px = x - 1; px < x + w; ++px)
            if (image.rect().contains(px, py))
                image.setPixel(px, py, ground);
}

// Where a place's number goes: its label point, or for a river the point
// of its course inside the map nearest to the middle of that part.
Pt labelPoint(const Frame& f, const Record& r)
{
    if (r.lines.empty())
        return r.label;
    const Box inner = f.geo.grown(-0.4);
    double sx = 0, sy = 0;
    int n = 0;
    for (const Ring& l : r.lines)
        for (const Pt& p : l)
            if (inner.contains(p)) {
                sx += p.lon;
                sy += p.lat;
                ++n;
            }
    if (n == 0)
        return r.label;
    const Pt mid{sx / n, sy / n};
    Pt best = r.label;
    double bestD = 1e18;
    for (const Ring& l : r.lines)
        for (const Pt& p : l)
            if (inner.contains(p)) {
                const double d = std::hypot(p.lon - mid.lon, p.lat - mid.lat);
                if (d < bestD) {
                    bestD = d;
                    best = p;
                }
            }
    return best;
}

struct MapItem {
    const Record* record;
    QString value;   // names part of the item value
    QString capital; // capital names, or empty
};

struct MapSpec {
    QString file, name, nameEnglish, kontinent, category;
    int group;
    bool lhDatei;
    std::vector<Frame> frames;
    QSize size;
    std::vector<MapItem> items;
    bool regions; // items are areas; otherwise they are numbered places
    std::vector<const Record*> background = {}; // areas drawn white under numbered places
};

QString itemNames(const Record& r)
{
    QString v = r.de.join(u'|');
    if (!r.en.isEmpty())
        v += u'~' + r.en.join(u'|');
    return v;
}

QString capitalNames(const Dataset& data, const Record& r)
{
    const Record* c = r.capital >= 0 ? data.byNumber(r.capital) : nullptr;
    if (!c)
        return {};
    QStringList names = c->de;
    for (const QString& n : c->en)
        if (!names.contains(n))
            names << n;
    return names.join(u'|');
}

PictureLesson render(const Dataset& data, MapSpec spec)
{
    QImage image(spec.size, QImage::Format_RGB32);
    image.fill(kSea);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);

    std::vector<const Record*> lessonAreas;
    for (const MapItem& item : spec.items)
        lessonAreas.push_back(item.record);
    std::stable_sort(lessonAreas.begin(), lessonAreas.end(), [](const Record* a, const Record* b) { return a->area > b->area; });

    for (const Frame& f : spec.frames) {
        painter.setClipRect(f.px);
        painter.fillRect(f.px, QColor(kSea));
        for (const Record* c : data.ofKind(Kind::Country))
            fillPolygons(painter, f, c->polygons, kLand);
        for (const Record* c : data.ofKind(Kind::Country))
            outlinePolygons(image, f, c->polygons, kLandBorder);
        if (spec.regions) {
            for (const Record* r : lessonAreas)
                fillPolygons(painter, f, r->polygons, kRegion);
            for (const Record* r : lessonAreas)
                outlinePolygons(image, f, r->polygons, kBorder);
        } else {
            // Numbered rivers over the states or countries of the region.
            for (const Record* r : spec.background)
                fillPolygons(painter, f, r->polygons, kRegion);
            for (const Record* r : spec.background)
                outlinePolygons(image, f, r->polygons, kLandBorder);
            for (const Record* r : data.ofKind(Kind::Lake))
                fillPolygons(painter, f, r->polygons, kSea);
            for (const Record* r : data.ofKind(Kind::Lake))
                outlinePolygons(image, f, r->polygons, kRiver);
            painter.setPen(QPen(QColor(kRiver), 2));
            painter.setBrush(Qt::NoBrush);
            for (const Record* r : lessonAreas)
                for (const Ring& l : r->lines)
                    painter.drawPolyline(ringPolygon(f, l));
        }
    }
    painter.setClipping(false);
    // Frames of the insets.
    painter.setPen(QPen(QColor(kBorder), 1));
    painter.setBrush(Qt::NoBrush);
    for (size_t i = 1; i < spec.frames.size(); ++i)
        painter.drawRect(spec.frames[i].px.adjusted(0, 0, -1, -1));
    painter.end();

    const Frame* frameOf = nullptr;
    auto locate = [&](const Pt& p) -> QPoint {
        for (const Frame& f : spec.frames)
            if (f.geo.contains(p)) {
                frameOf = &f;
                const QPointF q = f.map(p);
                return {static_cast<int>(q.x()), static_cast<int>(q.y())};
            }
        frameOf = nullptr;
        return {-1, -1};
    };

    // Capitals as small dots, drawn before the seeds are chosen so that no
    // seed falls on one.
    for (size_t i = 0; i < spec.items.size(); ++i) {
        const Record& r = *spec.items[i].record;
        if (spec.regions && r.capital >= 0)
            if (const Record* c = data.byNumber(r.capital)) {
                const QPoint p = locate(c->point);
                if (frameOf)
                    for (int dy = -1; dy <= 1; ++dy)
                        for (int dx = -1; dx <= 1; ++dx)
                            image.setPixel(p.x() + dx, p.y() + dy, kCity);
            }
    }
    // Seed points: for every part of an area, the white pixel of the part
    // nearest to its inner point; parts already reached by an earlier
    // seed of the item add none.
    QImage scratch = image;
    std::vector<QString> regions(spec.items.size());
    // Numbers for everything without an area come last.
    if (spec.regions) {
        for (size_t i = 0; i < spec.items.size(); ++i) {
            const Record& r = *spec.items[i].record;
            QStringList seeds;
            qsizetype pixels = 0;
            const Polygon* biggest = nullptr;
            for (const Polygon& p : r.polygons)
                if (!biggest || polygonAreaKm2(p) > polygonAreaKm2(*biggest))
                    biggest = &p;
            for (const Frame& f : spec.frames) {
                for (const Polygon& p : r.polygons) {
                    if (!boxOf(p).intersects(f.geo))
                        continue;
                    QImage mask(spec.size, QImage::Format_RGB32);
                    mask.fill(Qt::black);
                    QPainter mp(&mask);
                    mp.setRenderHint(QPainter::Antialiasing, false);
                    mp.setClipRect(f.px);
                    mp.setPen(Qt::NoPen);
                    mp.setBrush(Qt::white);
                    mp.drawPolygon(ringPolygon(f, p.front()));
                    mp.end();
                    const Box pb = boxOf(p);
                    const QPointF target = f.map(&p == biggest ? r.label
                                                               : Pt{(pb.minLon + pb.maxLon) / 2, (pb.minLat + pb.maxLat) / 2});
                    QPoint best(-1, -1);
                    double bestD = 1e18;
                    int count = 0;
                    for (int y = f.px.top(); y <= f.px.bottom(); ++y)
                        for (int x = f.px.left(); x <= f.px.right(); ++x)
                            if (mask.pixel(x, y) == qRgb(255, 255, 255) && scratch.pixel(x, y) == kRegion) {
                                ++count;
                                // Pixels with white on all sides are preferred.
                                bool inner = x > 0 && y > 0 && x + 1 < spec.size.width() && y + 1 < spec.size.height()
                                             && scratch.pixel(x - 1, y) == kRegion && scratch.pixel(x + 1, y) == kRegion
                                             && scratch.pixel(x, y - 1) == kRegion && scratch.pixel(x, y + 1) == kRegion;
                                const double d = std::hypot(x - target.x(), y - target.y()) + (inner ? 0 : 1000);
                                if (d < bestD) {
                                    bestD = d;
                                    best = {x, y};
                                }
                            }
                    if (count < 12 || best.x() < 0)
                        continue;
                    pixels += FloodFill(scratch, best, kScratch);
                    seeds << QString::number(best.x()) << QString::number(best.y());
                }
            }
            if (pixels >= 40)
                regions[i] = seeds.join(u'&');
            else if (pixels > 0)
                for (int k = 0; k + 1 < seeds.size(); k += 2)
                    FloodFill(scratch, QPoint(seeds[k].toInt(), seeds[k + 1].toInt()), kRegion);
        }
    }

    for (size_t i = 0; i < spec.items.size(); ++i) {
        if (!regions[i].isEmpty())
            continue;
        const Record& r = *spec.items[i].record;
        const QPoint p = locate(labelPoint(spec.frames.front(), r));
        if (!frameOf)
            continue;
        const int number = static_cast<int>(i) + 1;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                image.setPixel(std::clamp(p.x() + dx, 0, spec.size.width() - 1),
                               std::clamp(p.y() + dy, 0, spec.size.height() - 1), kNumber);
        const int x = std::min(p.x() + 4, spec.size.width() - 8 * static_cast<int>(QString::number(number).size()));
        const int y = std::clamp(p.y() - 12, 1, spec.size.height() - 12);
        clearLabel(image, x, y, number, kRegion == image.pixel(std::clamp(x, 0, spec.size.width() - 1), y) ? kLand : kRegion);
        drawNumber(image, x, y, number);
    }

    QStringList lines{QStringLiteral("[Lektion]"),
                      QStringLiteral("Version=3"),
                      QStringLiteral("Typ=iimage"),
                      QStringLiteral("Name=") + spec.name,
                      QStringLiteral("NameEnglish=") + spec.nameEnglish,
                      QStringLiteral("Kategorie=%1").arg(spec.group),
                      QString(),
                      QStringLiteral("[Allgemeines]"),
                      QStringLiteral("Title=") + spec.name,
                      QStringLiteral("Kontinent=") + spec.kontinent,
                      QStringLiteral("Bitmap=") + spec.file + QStringLiteral(".gif"),
                      QStringLiteral("LHDatei=%1").arg(spec.lhDatei ? 1 : 0),
                      QString(),
                      QStringLiteral("[Kategorien]"),
                      QStringLiteral("1=") + spec.category,
                      QString(),
                      QStringLiteral("[AKategorien]"),
                      QStringLiteral("1=%1").arg(spec.items.size()),
                      QString(),
                      QStringLiteral("[Kategorie1]")};
    for (size_t i = 0; i < spec.items.size(); ++i) {
        QString v = spec.items[i].value;
        if (!regions[i].isEmpty() || !spec.items[i].capital.isEmpty())
            v += u'?' + regions[i];
        if (!spec.items[i].capital.isEmpty())
            v += u'?' + spec.items[i].capital;
        lines << QStringLiteral("%1=%2").arg(i + 1).arg(v);
    }
    return {spec.file + QStringLiteral(".lek"), spec.file + QStringLiteral(".gif"), lessonBytes(lines), image};
}

std::vector<MapItem> areaItems(const Dataset& data, std::vector<const Record*> records, bool capitals)
{
    std::stable_sort(records.begin(), records.end(),
                     [](const Record* a, const Record* b) { return a->de.value(0).localeAwareCompare(b->de.value(0)) < 0; });
    std::vector<MapItem> items;
    for (const Record* r : records)
        items.push_back({r, itemNames(*r), capitals ? capitalNames(data, *r) : QString()});
    return items;
}

Frame frame(const Box& geo, int height, QPoint at = {0, 0})
{
    return {geo, QRect(at, frameSize(geo, height))};
}

} // namespace

std::vector<PictureLesson> pictureLessons(const Dataset& data)
{
    std::vector<MapSpec> specs;
    const Frame germany = frame({5.6, 47.2, 15.3, 55.2}, 720);
    const Frame europe = frame({-24.5, 34.0, 45.0, 71.5}, 700);
    const Frame southAmerica = frame({-82.5, -56.5, -33.5, 13.5}, 760);

    specs.push_back({QStringLiteral("Deutschland_Bundeslaender_Karte"), QStringLiteral("Deutschland: Bundesländer (Karte)"),
                     QStringLiteral("Germany: federal states (map)"), QStringLiteral("Europa"),
                     QStringLiteral("Bundesländer|Federal states"), 3, true, {germany}, germany.px.size(),
                     areaItems(data, data.inGroup(Kind::State, QStringLiteral("DE")), true), true});
    specs.push_back({QStringLiteral("Europa_Laender_Karte"), QStringLiteral("Europa: Länder und Hauptstädte (Karte)"),
                     QStringLiteral("Europe: countries and capitals (map)"), QStringLiteral("Europa"),
                     QStringLiteral("Länder|Countries"), 3, true, {europe}, europe.px.size(),
                     areaItems(data, data.inGroup(Kind::Country, QStringLiteral("EU")), true), true});
    specs.push_back({QStringLiteral("Suedamerika_Laender_Karte"), QStringLiteral("Südamerika: Länder und Hauptstädte (Karte)"),
                     QStringLiteral("South America: countries and capitals (map)"), QStringLiteral("Südamerika"),
                     QStringLiteral("Länder|Countries"), 2, true, {southAmerica}, southAmerica.px.size(),
                     areaItems(data, data.inGroup(Kind::Country, QStringLiteral("SA")), true), true});
    {
        // The lower 48 states, with Alaska and Hawaii in insets below.
        const Frame main = frame({-125.5, 24.0, -66.5, 49.8}, 560);
        const Frame alaska = frame({-170.0, 51.0, -129.5, 71.8}, 170, {4, 560 - 174});
        const Frame hawaii = frame({-160.6, 18.7, -154.6, 22.4}, 120, {alaska.px.right() + 8, 560 - 124});
        specs.push_back({QStringLiteral("USA_Bundesstaaten_Karte"), QStringLiteral("USA: Bundesstaaten und Hauptstädte (Karte)"),
                         QStringLiteral("United States: states and capitals (map)"), QStringLiteral("Nordamerika"),
                         QStringLiteral("Bundesstaaten|States"), 1, true, {main, alaska, hawaii}, main.px.size(),
                         areaItems(data, data.inGroup(Kind::State, QStringLiteral("US")), true), true});
    }
    auto riverItems = [&](const QString& group, double minKm, const Box& region) {
        std::vector<const Record*> rivers = data.inGroup(Kind::River, group);
        std::vector<MapItem> items;
        for (const Record* r : rivers) {
            double km = 0;
            for (const Ring& l : r->lines)
                km += lineLengthKm(l);
            // A map of a continent shows its long rivers; the short ones
            // would only crowd it.
            if (km >= minKm && region.contains(r->label))
                items.push_back({r, itemNames(*r), {}});
        }
        return items;
    };
    specs.push_back({QStringLiteral("Deutschland_Fluesse_Karte"), QStringLiteral("Deutschland: Flüsse (Karte)"),
                     QStringLiteral("Germany: rivers (map)"), QStringLiteral("Europa"), QStringLiteral("Flüsse|Rivers"), 3,
                     false, {germany}, germany.px.size(), riverItems(QStringLiteral("DE"), 0, germany.geo.grown(2)), false,
                     data.inGroup(Kind::State, QStringLiteral("DE"))});
    specs.push_back({QStringLiteral("Europa_Fluesse_Karte"), QStringLiteral("Europa: Flüsse (Karte)"),
                     QStringLiteral("Europe: rivers (map)"), QStringLiteral("Europa"), QStringLiteral("Flüsse|Rivers"), 3,
                     false, {europe}, europe.px.size(), riverItems(QStringLiteral("EU"), 650, europe.geo), false,
                     data.inGroup(Kind::Country, QStringLiteral("EU"))});

    std::vector<PictureLesson> out;
    for (MapSpec& spec : specs)
        out.push_back(render(data, spec));
    return out;
}
