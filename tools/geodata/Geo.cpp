#include "tools/geodata/Geo.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <cmath>
#include <stdexcept>

namespace {

constexpr double kEarthRadiusKm = 6371.0088;
constexpr double kPi = 3.14159265358979323846;
double rad(double d) { return d * kPi / 180.0; }

Ring readRing(const QJsonArray& a)
{
    Ring r;
    r.reserve(a.size());
    for (const auto& v : a) {
        const QJsonArray c = v.toArray();
        r.push_back({c.at(0).toDouble(), c.at(1).toDouble()});
    }
    return r;
}

Polygon readPolygon(const QJsonArray& a)
{
    Polygon p;
    for (const auto& ring : a)
        p.push_back(readRing(ring.toArray()));
    return p;
}

void readGeometry(const QJsonObject& g, Feature& f)
{
    const QString type = g.value(QStringLiteral("type")).toString();
    const QJsonArray c = g.value(QStringLiteral("coordinates")).toArray();
    if (type == QLatin1String("Point")) {
        f.isPoint = true;
        f.point = {c.at(0).toDouble(), c.at(1).toDouble()};
    } else if (type == QLatin1String("LineString")) {
        f.lines.push_back(readRing(c));
    } else if (type == QLatin1String("MultiLineString")) {
        for (const auto& l : c)
            f.lines.push_back(readRing(l.toArray()));
    } else if (type == QLatin1String("Polygon")) {
        f.polygons.push_back(readPolygon(c));
    } else if (type == QLatin1String("MultiPolygon")) {
        for (const auto& p : c)
            f.polygons.push_back(readPolygon(p.toArray()));
    } else if (type == QLatin1String("GeometryCollection")) {
        for (const auto& sub : g.value(QStringLiteral("geometries")).toArray())
            readGeometry(sub.toObject(), f);
    }
}

double perpendicular(const Pt& p, const Pt& a, const Pt& b, double k)
{
    const double ax = a.lon * k, ay = a.lat, bx = b.lon * k, by = b.lat, px = p.lon * k, py = p.lat;
    const double dx = bx - ax, dy = by - ay;
    const double len2 = dx * dx + dy * dy;
    if (len2 == 0)
        return std::hypot(px - ax, py - ay);
    double t = ((px - ax) * dx + (py - ay) * dy) / len2;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

void douglasPeucker(const Ring& r, size_t first, size_t last, double tol, double k, std::vector<char>& keep)
{
    // Iterative, so that long coast lines cannot exhaust the stack.
    std::vector<std::pair<size_t, size_t>> todo{{first, last}};
    while (!todo.empty()) {
        auto [a, b] = todo.back();
        todo.pop_back();
        double best = 0;
        size_t index = a;
        for (size_t i = a + 1; i < b; ++i) {
            const double d = perpendicular(r[i], r[a], r[b], k);
            if (d > best) {
                best = d;
                index = i;
            }
        }
        if (best > tol) {
            keep[index] = 1;
            todo.push_back({a, index});
            todo.push_back({index, b});
        }
    }
}

} // namespace

std::vector<Feature> readGeoJson(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (doc.isNull())
        throw std::runtime_error(path.toStdString() + ": " + error.errorString().toStdString());
    std::vector<Feature> features;
    for (const auto& v : doc.object().value(QStringLiteral("features")).toArray()) {
        const QJsonObject o = v.toObject();
        Feature f;
        f.props = o.value(QStringLiteral("properties")).toObject();
        readGeometry(o.value(QStringLiteral("geometry")).toObject(), f);
        features.push_back(std::move(f));
    }
    return features;
}

QString prop(const Feature& f, const char* key)
{
    const QJsonValue v = f.props.value(QLatin1String(key));
    if (v.isString())
        return v.toString().trimmed();
    if (v.isDouble())
        return QString::number(v.toDouble());
    return {};
}

double propNumber(const Feature& f, const char* key) { return f.props.value(QLatin1String(key)).toDouble(); }

void Box::add(const Pt& p)
{
    minLon = std::min(minLon, p.lon);
    maxLon = std::max(maxLon, p.lon);
    minLat = std::min(minLat, p.lat);
    maxLat = std::max(maxLat, p.lat);
}

void Box::add(const Box& b)
{
    if (b.empty())
        return;
    add(Pt{b.minLon, b.minLat});
    add(Pt{b.maxLon, b.maxLat});
}

bool Box::intersects(const Box& b) const
{
    return !(b.minLon > maxLon || b.maxLon < minLon || b.minLat > maxLat || b.maxLat < minLat);
}

Box boxOf(const Ring& r)
{
    Box b;
    for (const Pt& p : r)
        b.add(p);
    return b;
}

Box boxOf(const Polygon& p) { return p.empty() ? Box{} : boxOf(p.front()); }

Box boxOf(const std::vector<Polygon>& ps)
{
    Box b;
    for (const auto& p : ps)
        b.add(boxOf(p));
    return b;
}

Box boxOfLines(const std::vector<Ring>& lines)
{
    Box b;
    for (const auto& l : lines)
        b.add(boxOf(l));
    return b;
}

double ringAreaKm2(const Ring& r)
{
    // The spherical excess of the ring, summed edge by edge.
    double sum = 0;
    const size_t n = r.size();
    for (size_t i = 0; i < n; ++i) {
        const Pt& a = r[i];
        const Pt& b = r[(i + 1) % n];
        sum += rad(b.lon - a.lon) * (2 + std::sin(rad(a.lat)) + std::sin(rad(b.lat)));
    }
    return std::abs(sum) * kEarthRadiusKm * kEarthRadiusKm / 2;
}

double polygonAreaKm2(const Polygon& p)
{
    double a = 0;
    for (size_t i = 0; i < p.size(); ++i)
        a += (i == 0 ? 1 : -1) * ringAreaKm2(p[i]);
    return std::max(a, 0.0);
}

double lineLengthKm(const Ring& r)
{
    double km = 0;
    for (size_t i = 1; i < r.size(); ++i) {
        const double p1 = rad(r[i - 1].lat), p2 = rad(r[i].lat), dl = rad(r[i].lon - r[i - 1].lon);
        const double c = std::sin(p1) * std::sin(p2) + std::cos(p1) * std::cos(p2) * std::cos(dl);
        km += std::acos(std::clamp(c, -1.0, 1.0)) * kEarthRadiusKm;
    }
    return km;
}

bool pointInRing(const Pt& p, const Ring& r)
{
    bool inside = false;
    const size_t n = r.size();
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const Pt& a = r[i];
        const Pt& b = r[j];
        if ((a.lat > p.lat) != (b.lat > p.lat)
            && p.lon < (b.lon - a.lon) * (p.lat - a.lat) / (b.lat - a.lat) + a.lon)
            inside = !inside;
    }
    return inside;
}

bool pointInPolygon(const Pt& p, const Polygon& poly)
{
    if (poly.empty() || !pointInRing(p, poly.front()))
        return false;
    for (size_t i = 1; i < poly.size(); ++i)
        if (pointInRing(p, poly[i]))
            return false;
    return true;
}

Ring simplify(const Ring& r, double tolerance, bool closed)
{
    if (r.size() < 3)
        return r;
    const Box b = boxOf(r);
    const double k = std::cos(rad(std::clamp((b.minLat + b.maxLat) / 2, -80.0, 80.0)));
    std::vector<char> keep(r.size(), 0);
    keep.front() = keep.back() = 1;
    if (closed) {
        // A ring starts and ends at the same point: split it at the point
        // farthest from the start so that both halves have a base line.
        size_t far = 0;
        double best = -1;
        for (size_t i = 1; i < r.size(); ++i) {
            const double d = std::hypot((r[i].lon - r[0].lon) * k, r[i].lat - r[0].lat);
            if (d > best) {
                best = d;
                far = i;
            }
        }
        keep[far] = 1;
        douglasPeucker(r, 0, far, tolerance, k, keep);
        douglasPeucker(r, far, r.size() - 1, tolerance, k, keep);
    } else {
        douglasPeucker(r, 0, r.size() - 1, tolerance, k, keep);
    }
    Ring out;
    for (size_t i = 0; i < r.size(); ++i)
        if (keep[i])
            out.push_back(r[i]);
    if (closed && out.size() < 4)
        return r.size() <= 8 ? r : out;
    return out;
}
