#include "tools/geodata/Build.h"

#include "tools/geodata/Rivers.h"
#include "tools/geodata/Tables.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>
#include <set>
#include <stdexcept>

namespace {

void warn(const QString& text) { std::fprintf(stderr, "geodata: %s\n", qPrintable(text)); }

QStringList splitNames(const QString& text)
{
    QStringList out;
    for (const QString& n : text.split(u'|', Qt::SkipEmptyParts))
        if (!n.trimmed().isEmpty())
            out << n.trimmed();
    return out;
}

void addUnique(QStringList& list, const QString& name)
{
    if (!name.isEmpty() && !list.contains(name))
        list << name;
}

QJsonObject readJsonObject(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return QJsonDocument::fromJson(f.readAll()).object();
}

std::map<QString, QStringList> readCountryNames(const QString& path)
{
    std::map<QString, QStringList> out;
    const QJsonObject countries = readJsonObject(path).value(QStringLiteral("countries")).toObject();
    for (auto it = countries.begin(); it != countries.end(); ++it) {
        QStringList names;
        if (it.value().isArray())
            for (const auto& v : it.value().toArray())
                names << v.toString();
        else
            names << it.value().toString();
        out[it.key()] = names;
    }
    return out;
}

// A point well inside the polygon: the middle of the widest inside run of
// the scan line through the middle of the outer ring.
Pt interiorPoint(const Polygon& poly)
{
    const Box b = boxOf(poly);
    Pt best{(b.minLon + b.maxLon) / 2, (b.minLat + b.maxLat) / 2};
    double bestWidth = -1;
    for (int step = 1; step < 8; ++step) {
        const double y = b.minLat + b.height() * step / 8.0 + 1e-7;
        std::vector<double> xs;
        for (const Ring& r : poly)
            for (size_t i = 0, j = r.size() - 1; i < r.size(); j = i++)
                if ((r[i].lat > y) != (r[j].lat > y))
                    xs.push_back(r[i].lon + (y - r[i].lat) * (r[j].lon - r[i].lon) / (r[j].lat - r[i].lat));
        std::sort(xs.begin(), xs.end());
        // Rows near the middle are preferred: widths are weighted down
        // towards the top and bottom.
        const double weight = 1.0 - std::abs(step - 4) * 0.12;
        for (size_t i = 0; i + 1 < xs.size(); i += 2) {
            const double w = (xs[i + 1] - xs[i]) * weight;
            if (w > bestWidth) {
                bestWidth = w;
                best = {(xs[i] + xs[i + 1]) / 2, y};
            }
        }
    }
    return best;
}

const Polygon* largest(const std::vector<Polygon>& ps)
{
    const Polygon* best = nullptr;
    double area = -1;
    for (const auto& p : ps) {
        const double a = polygonAreaKm2(p);
        if (a > area) {
            area = a;
            best = &p;
        }
    }
    return best;
}

void sortLargestFirst(std::vector<Polygon>& ps)
{
    std::stable_sort(ps.begin(), ps.end(),
                     [](const Polygon& a, const Polygon& b) { return polygonAreaKm2(a) > polygonAreaKm2(b); });
}

long long areaOf(const std::vector<Polygon>& ps)
{
    double a = 0;
    for (const auto& p : ps)
        a += polygonAreaKm2(p);
    return std::llround(a);
}

struct Place {
    const Feature* f;
    QString name, nameEn, nameDe, ascii, a3;
    Pt pt;
    double pop;
    bool capital;
};

bool placeIsNamed(const Place& p, const QStringList& names)
{
    for (const QString& n : names)
        if (p.name == n || p.nameEn == n || p.nameDe == n || p.ascii == n)
            return true;
    return false;
}

Box continentBox(const QString& group)
{
    if (group == QLatin1String("EU")) return {-25, 34, 62, 72};
    if (group == QLatin1String("AS")) return {25, -11, 180, 78};
    if (group == QLatin1String("AF")) return {-26, -36, 56, 38};
    if (group == QLatin1String("NA")) return {-170, 5, -50, 84};
    if (group == QLatin1String("SA")) return {-82, -56, -34, 13};
    if (group == QLatin1String("OC")) return {110, -48, 180, 0};
    return {-180, -90, 180, 90};
}

std::vector<Pt> parsePoints(const QString& text)
{
    std::vector<Pt> pts;
    for (const QString& p : text.split(u';', Qt::SkipEmptyParts)) {
        const QStringList c = p.split(u',');
        if (c.size() == 2)
            pts.push_back({c[0].toDouble(), c[1].toDouble()});
    }
    return pts;
}

class Builder {
public:
    Builder(const QString& src, const QString& tables) : m_src(src), m_tables(tables) {}

    Dataset run()
    {
        readPlaces();
        buildCountries();
        buildStates();
        buildRivers();
        buildAreas(Kind::Lake, QStringLiteral("lakes.tsv"),
                   {QStringLiteral("naturalearth/ne_10m_lakes.json"), QStringLiteral("naturalearth/ne_10m_lakes_europe.json"),
                    QStringLiteral("naturalearth/ne_10m_lakes_north_america.json")});
        buildAreas(Kind::Island, QStringLiteral("islands.tsv"),
                   {QStringLiteral("naturalearth/ne_50m_land.json"), QStringLiteral("naturalearth/ne_10m_minor_islands.json"),
                    QStringLiteral("naturalearth/ne_50m_admin_0_countries.json")});
        buildCities();
        number();
        for (const QStringList& line : readTable(m_tables + QStringLiteral("/flags.tsv"), true))
            if (line.size() >= 2)
                m_data.flags[line[0]] = line[1];
        for (const Record* r : m_data.ofKind(Kind::Country))
            if (!m_data.flagOf(*r) && !m_data.flags.count(r->iso2) && !m_data.flags.count(r->key))
                warn(QStringLiteral("no flag for %1 (%2)").arg(r->key, r->iso2));
        return std::move(m_data);
    }

private:
    const std::vector<Feature>& source(const QString& rel)
    {
        auto it = m_files.find(rel);
        if (it == m_files.end())
            it = m_files.emplace(rel, readGeoJson(m_src + u'/' + rel)).first;
        return it->second;
    }

    void readPlaces()
    {
        for (const Feature& f : source(QStringLiteral("naturalearth/ne_10m_populated_places.json"))) {
            Place p{&f,
                    prop(f, "NAME"),
                    prop(f, "NAME_EN"),
                    prop(f, "NAME_DE"),
                    prop(f, "NAMEASCII"),
                    prop(f, "ADM0_A3"),
                    {propNumber(f, "LONGITUDE"), propNumber(f, "LATITUDE")},
                    propNumber(f, "POP_MAX"),
                    propNumber(f, "ADM0CAP") == 1};
            m_places.push_back(p);
        }
    }

    // The place of a capital: by name inside the area, else the national
    // capital of the country.
    int findPlace(const QStringList& names, const QString& a3, const std::vector<Polygon>& area, bool nationalFallback)
    {
        int best = -1;
        for (size_t i = 0; i < m_places.size(); ++i) {
            const Place& p = m_places[i];
            if (!placeIsNamed(p, names))
                continue;
            bool inside = false;
            for (const auto& poly : area)
                inside = inside || pointInPolygon(p.pt, poly);
            if (!inside && !boxOf(area).grown(0.2).contains(p.pt))
                continue;
            if (best < 0 || p.pop > m_places[best].pop)
                best = static_cast<int>(i);
        }
        if (best < 0 && nationalFallback)
            for (size_t i = 0; i < m_places.size(); ++i)
                if (m_places[i].capital && m_places[i].a3 == a3 && (best < 0 || m_places[i].pop > m_places[best].pop))
                    best = static_cast<int>(i);
        return best;
    }

    void buildCountries()
    {
        const auto de = readCountryNames(m_src + QStringLiteral("/names/countries-de.json"));
        const auto en = readCountryNames(m_src + QStringLiteral("/names/countries-en.json"));
        std::map<QString, QString> a3to2;
        {
            QFile f(m_src + QStringLiteral("/names/country-codes.json"));
            if (f.open(QIODevice::ReadOnly))
                for (const auto& v : QJsonDocument::fromJson(f.readAll()).array())
                    a3to2[v.toArray().at(1).toString()] = v.toArray().at(0).toString();
        }
        std::map<QString, QStringList> overrides;
        for (const QStringList& line : readTable(m_tables + QStringLiteral("/countries.tsv")))
            overrides[line[0]] = line;

        // Parts that the sources keep apart but a learner sees as one country.
        const std::map<QString, QString> mergeInto{{QStringLiteral("SOL"), QStringLiteral("SOM")},
                                                   {QStringLiteral("CYN"), QStringLiteral("CYP")},
                                                   {QStringLiteral("ALD"), QStringLiteral("FIN")}};
        const std::set<QString> skip{QStringLiteral("ATC"), QStringLiteral("IOA")};
        std::map<QString, std::vector<Polygon>> extra;
        std::vector<const Feature*> features;
        for (const Feature& f : source(QStringLiteral("naturalearth/ne_50m_admin_0_countries.json")))
            features.push_back(&f);
        for (const Feature* f : features) {
            const QString a3 = prop(*f, "ADM0_A3");
            if (auto m = mergeInto.find(a3); m != mergeInto.end())
                for (const auto& p : f->polygons)
                    extra[m->second].push_back(p);
        }
        // Countries too small for the outlines are made of the islands in
        // the rectangle the table gives them.
        for (const auto& [a3, line] : overrides) {
            const std::vector<Pt> corners = parsePoints(field(line, 6));
            if (corners.size() != 2)
                continue;
            Box box;
            box.add(corners[0]);
            box.add(corners[1]);
            Feature f;
            f.props.insert(QStringLiteral("ADM0_A3"), a3);
            f.props.insert(QStringLiteral("TYPE"), QStringLiteral("Sovereign country"));
            f.props.insert(QStringLiteral("ISO_A2"), a3to2.count(a3) ? a3to2[a3] : QString());
            for (const QString& file : {QStringLiteral("naturalearth/ne_50m_land.json"),
                                        QStringLiteral("naturalearth/ne_10m_minor_islands.json")})
                for (const Feature& land : source(file))
                    for (const Polygon& p : land.polygons) {
                        const Box b = boxOf(p);
                        if (box.contains({b.minLon, b.minLat}) && box.contains({b.maxLon, b.maxLat}))
                            f.polygons.push_back(p);
                    }
            if (f.polygons.empty()) {
                warn(QStringLiteral("no islands for %1").arg(a3));
                continue;
            }
            m_madeCountries.push_back(std::move(f));
            features.push_back(&m_madeCountries.back());
        }
        for (const Feature* feature : features) {
            const Feature& f = *feature;
            const QString a3 = prop(f, "ADM0_A3");
            const QString type = prop(f, "TYPE");
            if (skip.count(a3) || mergeInto.count(a3))
                continue;
            const double pop = propNumber(f, "POP_EST");
            const long long srcArea = areaOf(f.polygons);
            const bool sovereign = type == QLatin1String("Sovereign country") || type == QLatin1String("Country")
                                   || type == QLatin1String("Disputed") || type == QLatin1String("Indeterminate");
            if (!sovereign && pop < 30000 && srcArea < 10000)
                continue;
            Record r;
            r.kind = Kind::Country;
            r.key = a3;
            r.polygons = f.polygons;
            for (const auto& p : extra[a3])
                r.polygons.push_back(p);
            sortLargestFirst(r.polygons);
            QString iso2 = prop(f, "ISO_A2");
            if (iso2 == QLatin1String("-99") || iso2.isEmpty())
                iso2 = a3to2.count(a3) ? a3to2[a3] : prop(f, "ISO_A2_EH");
            if (a3 == QLatin1String("KOS"))
                iso2 = QStringLiteral("XK");
            r.iso2 = iso2;
            const QStringList over = overrides.count(a3) ? overrides[a3] : QStringList();
            r.de = splitNames(field(over, 1));
            if (r.de.isEmpty() && de.count(iso2))
                r.de = de.at(iso2);
            if (r.de.isEmpty())
                r.de << prop(f, "NAME_DE");
            r.en = splitNames(field(over, 2));
            addUnique(r.en, prop(f, "ADMIN"));
            if (en.count(iso2))
                for (const QString& n : en.at(iso2))
                    addUnique(r.en, n);
            addUnique(r.en, prop(f, "NAME_LONG"));
            // Short forms of the source ("Dem. Rep. Congo") are no answers.
            r.en.removeIf([](const QString& n) { return n.contains(u'.') && n != QLatin1String("Washington, D.C."); });
            addUnique(r.other, prop(f, "NAME_DE"));
            r.other.removeIf([&](const QString& n) { return r.de.contains(n); });

            QString groups = field(over, 3);
            if (groups.isEmpty()) {
                const QString c = prop(f, "CONTINENT");
                const bool dependency = type == QLatin1String("Dependency") || type == QLatin1String("Indeterminate")
                                        || type == QLatin1String("Disputed")
                                        || (type == QLatin1String("Country") && prop(f, "SOVEREIGNT") != prop(f, "ADMIN"));
                if (dependency)
                    groups = QStringLiteral("-");
                else if (c == QLatin1String("North America")) groups = QStringLiteral("NA");
                else if (c == QLatin1String("South America")) groups = QStringLiteral("SA");
                else if (c == QLatin1String("Europe")) groups = QStringLiteral("EU");
                else if (c == QLatin1String("Asia")) groups = QStringLiteral("AS");
                else if (c == QLatin1String("Africa")) groups = QStringLiteral("AF");
                else if (c == QLatin1String("Oceania")) groups = QStringLiteral("OC");
                else groups = QStringLiteral("-");
            }
            if (groups != QLatin1String("-"))
                r.groups = groups.split(u' ', Qt::SkipEmptyParts);
            r.area = areaOf(r.polygons);
            r.check = boxOf(r.polygons).grown(0.5);
            r.label = interiorPoint(*largest(r.polygons));
            r.fixedNumber = field(over, 5).toInt();
            const QStringList capNames = splitNames(field(over, 4));
            const int place = findPlace(capNames, a3, r.polygons, true);
            if (place >= 0)
                m_capitalPlace[a3] = place;
            else if (!r.groups.isEmpty())
                warn(QStringLiteral("no capital for %1").arg(a3));
            m_data.records.push_back(std::move(r));
        }
    }

    void buildStates()
    {
        std::map<QString, QStringList> table;
        for (const QStringList& line : readTable(m_tables + QStringLiteral("/states.tsv")))
            table[line[0]] = line;
        auto add = [&](const QString& code, const QString& a3, const std::vector<Polygon>& polys, const QString& group) {
            auto it = table.find(code);
            if (it == table.end())
                return;
            Record r;
            r.kind = Kind::State;
            r.key = code;
            r.country = a3;
            r.de = splitNames(field(it->second, 1));
            r.en = splitNames(field(it->second, 2));
            r.polygons = polys;
            sortLargestFirst(r.polygons);
            r.area = areaOf(r.polygons);
            r.check = boxOf(r.polygons).grown(0.3);
            r.label = interiorPoint(*largest(r.polygons));
            r.groups << group;
            QStringList capNames;
            for (const QString& n : splitNames(field(it->second, 3)))
                capNames << n.section(u'@', 0, 0);
            const int place = findPlace(capNames, a3, r.polygons, false);
            if (place < 0)
                warn(QStringLiteral("no capital for %1").arg(code));
            else
                m_stateCapitalPlace[code] = place;
            m_data.records.push_back(std::move(r));
        };
        std::vector<std::pair<QString, std::vector<Polygon>>> german;
        for (const Feature& f : source(QStringLiteral("germany/bundeslaender_mittel.geo.json")))
            german.push_back({prop(f, "id"), f.polygons});
        for (const auto& [code, line] : table)
            if (const QString part = field(line, 4); !part.isEmpty())
                movePart(german, part.section(u':', 0, 0), code, parsePoints(part.section(u':', 1)));
        for (const auto& [code, polygons] : german)
            add(code, QStringLiteral("DEU"), polygons, QStringLiteral("DE"));
        for (const Feature& f : source(QStringLiteral("naturalearth/ne_50m_admin_1_states_provinces.json"))) {
            const QString code = prop(f, "iso_3166_2");
            add(code, prop(f, "adm0_a3"), f.polygons, code.left(2));
        }
    }

    // The part of state `from` inside the outline goes to state `to`: the
    // state outlines count Bremerhaven to Niedersachsen.
    static void movePart(std::vector<std::pair<QString, std::vector<Polygon>>>& states, const QString& from,
                         const QString& to, const std::vector<Pt>& outline)
    {
        const auto toPath = [](const Ring& r) {
            QPainterPath path;
            QPolygonF poly;
            for (const Pt& p : r)
                poly << QPointF(p.lon, p.lat);
            path.addPolygon(poly);
            path.closeSubpath();
            return path;
        };
        const auto toRing = [](const QPolygonF& poly) {
            Ring r;
            for (const QPointF& p : poly)
                r.push_back({p.x(), p.y()});
            return r;
        };
        const auto find = [&](const QString& code) -> std::vector<Polygon>* {
            for (auto& [c, polygons] : states)
                if (c == code)
                    return &polygons;
            return nullptr;
        };
        std::vector<Polygon>* source = find(from);
        std::vector<Polygon>* target = find(to);
        if (!source || !target || outline.size() < 3)
            throw std::runtime_error("cannot move a part of " + from.toStdString() + " to " + to.toStdString());
        const QPainterPath cut = toPath(outline);
        double moved = 0;
        std::vector<Polygon> rest;
        for (Polygon& p : *source) {
            const QPainterPath ring = toPath(p.front());
            const QPainterPath inside = ring.intersected(cut);
            if (inside.isEmpty())
                continue;
            for (const QPolygonF& q : inside.toFillPolygons()) {
                target->push_back(Polygon{toRing(q)});
                moved += polygonAreaKm2(target->back());
            }
            // The largest piece left keeps the holes; the others become
            // parts of their own.
            QList<QPolygonF> pieces = ring.subtracted(cut).toFillPolygons();
            std::stable_sort(pieces.begin(), pieces.end(), [&](const QPolygonF& a, const QPolygonF& b) {
                return ringAreaKm2(toRing(a)) > ringAreaKm2(toRing(b));
            });
            if (pieces.isEmpty())
                continue;
            p.front() = toRing(pieces.front());
            for (qsizetype i = 1; i < pieces.size(); ++i)
                rest.push_back(Polygon{toRing(pieces[i])});
        }
        source->insert(source->end(), rest.begin(), rest.end());
        if (moved <= 0)
            throw std::runtime_error("nothing of " + from.toStdString() + " lies in the part for " + to.toStdString());
    }

    void buildRivers()
    {
        // The finest source first; its regional supplements add rivers it
        // lacks; the coarse source names whole courses.
        const std::pair<const char*, int> files[] = {{"naturalearth/ne_10m_rivers_lake_centerlines.json", 0},
                                                     {"naturalearth/ne_10m_rivers_europe.json", 1},
                                                     {"naturalearth/ne_10m_rivers_north_america.json", 1},
                                                     {"naturalearth/ne_50m_rivers_lake_centerlines.json", 2}};
        std::vector<RiverPiece> pieces;
        for (const auto& [file, rank] : files)
            for (const Feature& f : source(QString::fromLatin1(file)))
                for (const Ring& l : f.lines)
                    if (l.size() >= 2)
                        pieces.push_back({l, rank, rank == 2, prop(f, "name"), prop(f, "name_en"), boxOf(l)});

        std::vector<Record> records;
        std::vector<RiverEntry> entries;
        for (const QStringList& line : readTable(m_tables + QStringLiteral("/rivers.tsv"))) {
            Record r;
            r.kind = Kind::River;
            r.de = splitNames(field(line, 0));
            r.en = splitNames(field(line, 1));
            r.key = r.en.value(0);
            r.groups = field(line, 2).split(u' ', Qt::SkipEmptyParts);
            RiverEntry entry;
            // "Name(west,south;east,north)" takes only the part of such
            // pieces inside the rectangle.
            for (const QString& n : splitNames(field(line, 3))) {
                RiverName name{n.section(u'(', 0, 0).trimmed(), std::nullopt};
                if (n.contains(u'(') && n.endsWith(u')'))
                    if (const auto corners = parsePoints(n.section(u'(', 1).chopped(1)); corners.size() == 2) {
                        Box clip;
                        clip.add(corners[0]);
                        clip.add(corners[1]);
                        name.clip = clip;
                    }
                entry.names.push_back(name);
            }
            entry.region = continentBox(r.groups.value(0));
            if (const auto pts = parsePoints(field(line, 4)); pts.size() == 2) {
                entry.region = Box{};
                entry.region.add(pts[0]);
                entry.region.add(pts[1]);
            }
            for (const QString& stretch : field(line, 5).split(u'|', Qt::SkipEmptyParts))
                if (const auto course = parsePoints(stretch.trimmed()); course.size() >= 2)
                    entry.added.push_back(course);
            records.push_back(std::move(r));
            entries.push_back(std::move(entry));
        }
        std::vector<std::vector<Ring>> courses = assembleRivers(pieces, entries);
        for (size_t i = 0; i < records.size(); ++i) {
            Record& r = records[i];
            r.lines = std::move(courses[i]);
            if (r.lines.empty()) {
                warn(QStringLiteral("river not found: %1").arg(r.key));
                continue;
            }
            r.check = boxOfLines(r.lines).grown(0.3);
            double best = -1;
            for (const Ring& l : r.lines) {
                const double len = lineLengthKm(l);
                if (len > best) {
                    best = len;
                    r.label = l[l.size() / 2];
                }
            }
            m_data.records.push_back(std::move(r));
        }
    }

    void buildAreas(Kind kind, const QString& table, const QStringList& files)
    {
        for (const QStringList& line : readTable(m_tables + u'/' + table)) {
            Record r;
            r.kind = kind;
            r.de = splitNames(field(line, 0));
            r.en = splitNames(field(line, 1));
            r.key = r.en.value(0);
            r.groups = field(line, 2).split(u' ', Qt::SkipEmptyParts);
            for (const Pt& pt : parsePoints(field(line, 3))) {
                const Polygon* hit = nullptr;
                for (const QString& file : files) {
                    for (const Feature& f : source(file)) {
                        for (const Polygon& poly : f.polygons)
                            if (boxOf(poly).contains(pt) && pointInPolygon(pt, poly)
                                && !(kind == Kind::Island && isContinent(poly))) {
                                hit = &poly;
                                break;
                            }
                        if (hit)
                            break;
                    }
                    if (hit)
                        break;
                }
                if (!hit && kind == Kind::Lake) {
                    // Seas without an outlet are holes in the land.
                    for (const Feature& f : source(QStringLiteral("naturalearth/ne_50m_land.json")))
                        for (const Polygon& poly : f.polygons)
                            for (size_t h = 1; h < poly.size() && !hit; ++h)
                                if (pointInRing(pt, poly[h])) {
                                    m_holes.push_back(Polygon{poly[h]});
                                    hit = &m_holes.back();
                                }
                }
                if (!hit)
                    hit = nearest(files, pt, kind == Kind::Island);
                if (!hit) {
                    warn(QStringLiteral("%1: nothing at %2,%3").arg(r.key).arg(pt.lon).arg(pt.lat));
                    continue;
                }
                bool seen = false;
                for (const auto& p : r.polygons)
                    seen = seen || (p.front().size() == hit->front().size() && p.front().front().lon == hit->front().front().lon);
                if (!seen)
                    r.polygons.push_back(*hit);
            }
            if (r.polygons.empty())
                continue;
            sortLargestFirst(r.polygons);
            r.area = areaOf(r.polygons);
            r.check = boxOf(r.polygons).grown(0.2);
            r.label = interiorPoint(*largest(r.polygons));
            m_data.records.push_back(std::move(r));
        }
    }

    // The land outlines join an island that lies close to the coast, such as
    // Usedom, to its continent: a continent is never taken for an island,
    // the next outline is (Greenland, at 2.2 million km², is the largest
    // island; Australia, at 7.7 million, the smallest continent).
    static bool isContinent(const Polygon& poly) { return polygonAreaKm2(poly) > 5000000; }

    // Points a little off a small island or lake still find it.
    const Polygon* nearest(const QStringList& files, const Pt& pt, bool island)
    {
        const Polygon* best = nullptr;
        double bestDistance = 0.25;
        for (const QString& file : files)
            for (const Feature& f : source(file))
                for (const Polygon& poly : f.polygons) {
                    if (!boxOf(poly).grown(bestDistance).contains(pt) || (island && isContinent(poly)))
                        continue;
                    for (const Pt& v : poly.front()) {
                        const double d = std::hypot((v.lon - pt.lon) * std::cos(pt.lat * 0.01745), v.lat - pt.lat);
                        if (d < bestDistance) {
                            bestDistance = d;
                            best = &poly;
                        }
                    }
                }
        return best;
    }

    void buildCities()
    {
        std::map<QString, QStringList> table;
        for (const QStringList& line : readTable(m_tables + QStringLiteral("/cities.tsv"), true))
            table[line[0] + u'@' + line[1]] = line;
        std::set<int> chosen;
        for (const auto& [a3, place] : m_capitalPlace)
            chosen.insert(place);
        for (const auto& [code, place] : m_stateCapitalPlace)
            chosen.insert(place);
        for (size_t i = 0; i < m_places.size(); ++i)
            if (m_places[i].pop >= 1000000)
                chosen.insert(static_cast<int>(i));
        for (const auto& [key, line] : table) {
            if (field(line, 5) != QLatin1String("add"))
                continue;
            for (size_t i = 0; i < m_places.size(); ++i)
                if (m_places[i].name == line[0] && m_places[i].a3 == line[1])
                    chosen.insert(static_cast<int>(i));
        }
        for (int i : chosen) {
            const Place& p = m_places[i];
            Record r;
            r.kind = Kind::City;
            r.key = QStringLiteral("%1@%2").arg(p.name, p.a3);
            r.country = p.a3;
            r.isPoint = true;
            r.point = p.pt;
            r.label = p.pt;
            r.population = p.pop;
            const auto over = table.find(r.key);
            const QStringList line = over == table.end() ? QStringList() : over->second;
            // The table's German names replace the source's, which may be
            // wrong ("Präfektur Tokio"); its English names come first.
            r.de = splitNames(field(line, 2));
            if (r.de.isEmpty())
                r.de << (p.nameDe.isEmpty() ? (p.nameEn.isEmpty() ? p.name : p.nameEn) : p.nameDe);
            r.en = splitNames(field(line, 3));
            addUnique(r.en, p.nameEn.isEmpty() ? p.name : p.nameEn);
            addUnique(r.en, p.name);
            QStringList further{p.name, p.ascii};
            further << splitNames(field(line, 4));
            for (const QString& n : further)
                if (!r.de.contains(n) && !r.en.contains(n))
                    addUnique(r.other, n);
            r.fixedNumber = field(line, 6).toInt();
            r.check = Box{p.pt.lon - 0.05, p.pt.lat - 0.05, p.pt.lon + 0.05, p.pt.lat + 0.05};
            m_cityOfPlace[i] = m_data.records.size();
            m_data.records.push_back(std::move(r));
        }
    }

    void number()
    {
        // Numbers are the identity of a term in lessons and result files:
        // each kind is numbered in the order of its keys, and a term added
        // later gets a fixed number from the tables, after the others, so
        // that no term made before changes its number.
        auto& recs = m_data.records;
        auto assign = [&](Kind kind, int first, std::set<int> reserved) {
            std::vector<Record*> list;
            for (auto& r : recs)
                if (r.kind == kind)
                    list.push_back(&r);
            std::stable_sort(list.begin(), list.end(), [](const Record* a, const Record* b) { return a->key < b->key; });
            for (const Record* r : list)
                if (r->fixedNumber > 0 && !reserved.insert(r->fixedNumber).second)
                    throw std::runtime_error("record number given twice: " + std::to_string(r->fixedNumber));
            int next = first;
            for (Record* r : list) {
                if (r->fixedNumber > 0) {
                    r->number = r->fixedNumber;
                    continue;
                }
                while (reserved.count(next))
                    ++next;
                r->number = next++;
            }
        };
        // 3496 was never given out.
        assign(Kind::Country, 1, {});
        assign(Kind::City, 1001, {});
        assign(Kind::River, 3001, {});
        assign(Kind::Lake, 3401, {3496});
        assign(Kind::Island, 3701, {3496});
        assign(Kind::State, 4001, {});
        for (auto& r : recs) {
            if (r.kind == Kind::Country && m_capitalPlace.count(r.key))
                r.capital = recs[m_cityOfPlace[m_capitalPlace[r.key]]].number;
            if (r.kind == Kind::State && m_stateCapitalPlace.count(r.key))
                r.capital = recs[m_cityOfPlace[m_stateCapitalPlace[r.key]]].number;
        }
        std::stable_sort(recs.begin(), recs.end(), [](const Record& a, const Record& b) { return a.number < b.number; });
    }

    QString m_src, m_tables;
    std::map<QString, std::vector<Feature>> m_files;
    std::vector<Place> m_places;
    std::deque<Polygon> m_holes;
    std::deque<Feature> m_madeCountries;
    std::map<QString, int> m_capitalPlace;      // country ADM0_A3 -> place
    std::map<QString, int> m_stateCapitalPlace; // state code -> place
    std::map<int, size_t> m_cityOfPlace;        // place -> record index
    Dataset m_data;
};

} // namespace

QString sectionOf(Kind kind)
{
    switch (kind) {
    case Kind::City: return QStringLiteral("Stadt");
    case Kind::Country: return QStringLiteral("Land");
    case Kind::River: return QStringLiteral("Fluss");
    case Kind::Island: return QStringLiteral("Insel");
    case Kind::Lake: return QStringLiteral("See");
    case Kind::State: return QStringLiteral("Staat");
    }
    return {};
}

QChar letterOf(Kind kind)
{
    switch (kind) {
    case Kind::City: return u'C';
    case Kind::Country: return u'L';
    case Kind::River: return u'F';
    case Kind::Island: return u'I';
    case Kind::Lake: return u'S';
    case Kind::State: return u'T';
    }
    return u' ';
}

const Record* Dataset::find(Kind kind, const QString& key) const
{
    for (const auto& r : records)
        if (r.kind == kind && r.key == key)
            return &r;
    return nullptr;
}

std::vector<const Record*> Dataset::ofKind(Kind kind) const
{
    std::vector<const Record*> out;
    for (const auto& r : records)
        if (r.kind == kind)
            out.push_back(&r);
    return out;
}

std::vector<const Record*> Dataset::inGroup(Kind kind, const QString& group) const
{
    std::vector<const Record*> out;
    for (const auto& r : records)
        if (r.kind == kind && (group == QLatin1String("*") ? !r.groups.isEmpty() : r.groups.contains(group)))
            out.push_back(&r);
    return out;
}

const QString* Dataset::flagOf(const Record& country) const
{
    for (const QString& key : {country.iso2, country.key})
        if (auto it = flags.find(key); it != flags.end())
            return it->second == u"-" ? nullptr : &it->second;
    return nullptr;
}

const Record* Dataset::byNumber(int number) const
{
    for (const auto& r : records)
        if (r.number == number)
            return &r;
    return nullptr;
}

Dataset buildDataset(const QString& src, const QString& tables) { return Builder(src, tables).run(); }
