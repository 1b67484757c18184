#pragma once

// Geometry of the source data in degrees: reading GeoJSON, areas on the
// sphere, bounding boxes, simplification.

#include <QJsonObject>
#include <QRectF>
#include <QString>
#include <vector>

struct Pt {
    double lon = 0;
    double lat = 0;
};
using Ring = std::vector<Pt>;         // a polygon ring or a polyline
using Polygon = std::vector<Ring>;    // outer ring, then holes

struct Feature {
    QJsonObject props;
    std::vector<Polygon> polygons;    // areas
    std::vector<Ring> lines;          // polylines
    Pt point;                         // point features
    bool isPoint = false;
};

std::vector<Feature> readGeoJson(const QString& path);
QString prop(const Feature& f, const char* key);
double propNumber(const Feature& f, const char* key);

// Bounding box in degrees: x = longitude, y = latitude (y grows north).
struct Box {
    double minLon = 1e9, minLat = 1e9, maxLon = -1e9, maxLat = -1e9;
    bool empty() const { return minLon > maxLon; }
    void add(const Pt& p);
    void add(const Box& b);
    double width() const { return maxLon - minLon; }
    double height() const { return maxLat - minLat; }
    bool contains(const Pt& p) const { return p.lon >= minLon && p.lon <= maxLon && p.lat >= minLat && p.lat <= maxLat; }
    bool intersects(const Box& b) const;
    Box grown(double d) const { return {minLon - d, minLat - d, maxLon + d, maxLat + d}; }
};
Box boxOf(const Ring& r);
Box boxOf(const Polygon& p);
Box boxOf(const std::vector<Polygon>& ps);
Box boxOfLines(const std::vector<Ring>& lines);

// Area in km² on a sphere of the mean earth radius; holes subtract.
double ringAreaKm2(const Ring& r);
double polygonAreaKm2(const Polygon& p);
double lineLengthKm(const Ring& r);

bool pointInRing(const Pt& p, const Ring& r);
bool pointInPolygon(const Pt& p, const Polygon& poly);

// Douglas–Peucker with the tolerance in degrees (longitudes scaled by the
// cosine of the latitude, so that the tolerance is about the same distance
// everywhere). Closed rings keep at least four points.
Ring simplify(const Ring& r, double tolerance, bool closed);
