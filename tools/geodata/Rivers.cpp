#include "tools/geodata/Rivers.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace {

// A point of a finer source lies on a course of a coarser one when it is
// this close (degrees): the generalised line of the same river stays within
// some 0.03° of the fine one, a neighbouring river is farther off.
constexpr double kOnCourse = 0.08;
// A finer piece follows a course when this share of its points lies on it.
constexpr double kFollows = 0.8;
// A coarser stretch is added only where it runs this far from every finer
// piece already taken (km): shorter gaps are the two drawings disagreeing.
constexpr double kMinStretchKm = 20;

// Line segments with their boxes, to find the distance of points to a set of
// lines quickly.
class Segments {
public:
    void add(const Ring& line)
    {
        for (size_t i = 1; i < line.size(); ++i) {
            Box b;
            b.add(line[i - 1]);
            b.add(line[i]);
            m_segments.push_back({line[i - 1], line[i], b.grown(kOnCourse)});
            m_box.add(b);
        }
    }
    bool empty() const { return m_segments.empty(); }
    const Box& box() const { return m_box; }

    // Whether the point lies within `tolerance` degrees of a segment,
    // longitudes shortened by the cosine of the latitude.
    bool near(const Pt& p, double tolerance) const
    {
        if (!m_box.grown(tolerance).contains(p))
            return false;
        const double k = std::cos(p.lat * 3.14159265358979323846 / 180);
        for (const Segment& s : m_segments) {
            if (!s.box.contains(p))
                continue;
            const double ax = s.a.lon * k, ay = s.a.lat, dx = (s.b.lon - s.a.lon) * k, dy = s.b.lat - s.a.lat;
            const double px = p.lon * k, py = p.lat, len2 = dx * dx + dy * dy;
            const double t = len2 > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / len2, 0.0, 1.0) : 0;
            if (std::hypot(px - ax - t * dx, py - ay - t * dy) <= tolerance)
                return true;
        }
        return false;
    }

private:
    struct Segment {
        Pt a, b;
        Box box;
    };
    std::vector<Segment> m_segments;
    Box m_box;
};

// The names of a river that a piece carries, each with its clip: a name may
// be listed twice with two clips.
std::vector<const RiverName*> namesOf(const RiverEntry& river, const RiverPiece& piece)
{
    std::vector<const RiverName*> out;
    if (!piece.box.intersects(river.region))
        return out;
    for (const RiverName& n : river.names)
        if (n.name == piece.name || (!piece.nameEn.isEmpty() && n.name == piece.nameEn))
            out.push_back(&n);
    return out;
}

// The parts of a piece that belong to a river by its names.
std::vector<Ring> namedParts(const RiverEntry& river, const RiverPiece& piece)
{
    const std::vector<const RiverName*> names = namesOf(river, piece);
    // A piece under two of the river's names ("Evros" with the English
    // "Maritsa") is taken once.
    if (std::any_of(names.begin(), names.end(), [](const RiverName* n) { return !n->clip; }))
        return {piece.line};
    std::vector<Ring> out;
    for (const RiverName* n : names)
        for (Ring& part : clipLine(piece.line, *n->clip))
            out.push_back(std::move(part));
    return out;
}

// The stretches of a line that run away from the lines taken, each with one
// point more at both ends so that it joins them; a line that meets none of
// them is taken whole, however short.
std::vector<Ring> stretchesOff(const Ring& line, const Segments& taken)
{
    if (std::none_of(line.begin(), line.end(), [&](const Pt& p) { return taken.near(p, kOnCourse); }))
        return {line};
    std::vector<Ring> out;
    size_t i = 0;
    while (i < line.size()) {
        if (taken.near(line[i], kOnCourse)) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < line.size() && !taken.near(line[end], kOnCourse))
            ++end;
        Ring stretch(line.begin() + static_cast<long>(i > 0 ? i - 1 : i),
                     line.begin() + static_cast<long>(std::min(end + 1, line.size())));
        if (stretch.size() >= 2 && lineLengthKm(stretch) >= kMinStretchKm)
            out.push_back(std::move(stretch));
        i = end;
    }
    return out;
}

// Same-named pieces far apart are different rivers: keep the group of
// touching pieces with the greatest length.
std::vector<Ring> largestCluster(const std::vector<Ring>& lines)
{
    const size_t n = lines.size();
    std::vector<int> group(n);
    for (size_t i = 0; i < n; ++i)
        group[i] = static_cast<int>(i);
    std::function<int(int)> root = [&](int i) { return group[i] == i ? i : group[i] = root(group[i]); };
    std::vector<Box> boxes;
    for (const Ring& l : lines)
        boxes.push_back(boxOf(l).grown(0.3));
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 1; j < n; ++j)
            if (boxes[i].intersects(boxes[j]))
                group[root(static_cast<int>(i))] = root(static_cast<int>(j));
    std::map<int, double> length;
    for (size_t i = 0; i < n; ++i)
        length[root(static_cast<int>(i))] += lineLengthKm(lines[i]);
    int best = -1;
    for (const auto& [g, len] : length)
        if (best < 0 || len > length[best])
            best = g;
    std::vector<Ring> out;
    for (size_t i = 0; i < n; ++i)
        if (root(static_cast<int>(i)) == best)
            out.push_back(lines[i]);
    return out;
}

} // namespace

std::vector<Ring> clipLine(const Ring& line, const Box& box)
{
    std::vector<Ring> out;
    Ring current;
    const auto flush = [&] {
        if (current.size() >= 2)
            out.push_back(current);
        current.clear();
    };
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        // Liang–Barsky: the part of the segment inside the box.
        const Pt a = line[i], b = line[i + 1];
        const double dx = b.lon - a.lon, dy = b.lat - a.lat;
        double t0 = 0, t1 = 1;
        bool inside = true;
        const double p[4] = {-dx, dx, -dy, dy};
        const double q[4] = {a.lon - box.minLon, box.maxLon - a.lon, a.lat - box.minLat, box.maxLat - a.lat};
        for (int k = 0; k < 4 && inside; ++k) {
            if (p[k] == 0) {
                inside = q[k] >= 0;
            } else {
                const double t = q[k] / p[k];
                if (p[k] < 0)
                    t0 = std::max(t0, t);
                else
                    t1 = std::min(t1, t);
                inside = t0 <= t1;
            }
        }
        if (!inside) {
            flush();
            continue;
        }
        const Pt from{a.lon + t0 * dx, a.lat + t0 * dy}, to{a.lon + t1 * dx, a.lat + t1 * dy};
        if (current.empty() || t0 > 0) {
            flush();
            current.push_back(from);
        }
        current.push_back(to);
        if (t1 < 1)
            flush();
    }
    flush();
    return out;
}

std::vector<std::vector<Ring>> assembleRivers(const std::vector<RiverPiece>& pieces, const std::vector<RiverEntry>& rivers)
{
    // The named courses of the coarse source.
    std::vector<Segments> courses(rivers.size());
    for (size_t r = 0; r < rivers.size(); ++r)
        for (const RiverPiece& piece : pieces)
            if (piece.coarse)
                for (const Ring& part : namedParts(rivers[r], piece))
                    courses[r].add(part);

    // Each finer piece that follows a named course belongs to that river,
    // whatever its own name: -1 where it follows none.
    std::vector<int> follows(pieces.size(), -1);
    for (size_t i = 0; i < pieces.size(); ++i) {
        const RiverPiece& piece = pieces[i];
        if (piece.coarse || piece.line.size() < 2)
            continue;
        size_t best = 0;
        for (size_t r = 0; r < rivers.size(); ++r) {
            if (courses[r].empty() || !courses[r].box().grown(kOnCourse).intersects(piece.box))
                continue;
            size_t on = 0;
            for (const Pt& p : piece.line)
                on += courses[r].near(p, kOnCourse);
            if (on >= kFollows * piece.line.size() && on > best) {
                best = on;
                follows[i] = static_cast<int>(r);
            }
        }
    }

    std::vector<std::vector<Ring>> out(rivers.size());
    int maxRank = 0;
    for (const RiverPiece& piece : pieces)
        maxRank = std::max(maxRank, piece.rank);
    for (size_t r = 0; r < rivers.size(); ++r) {
        std::vector<Ring> lines;
        Segments taken;
        // The finest source's names: its regional supplements add only
        // pieces under names it lacks, not their finer branches of the same
        // river (the Mackenzie's delta).
        std::vector<QString> finestNames;
        for (size_t i = 0; i < pieces.size(); ++i)
            if (pieces[i].rank == 0 && follows[i] < 0)
                for (const RiverName* n : namesOf(rivers[r], pieces[i]))
                    finestNames.push_back(n->name);
        // Rank by rank, finest first: a piece of a coarser rank adds only
        // the stretches the finer ones lack.
        for (int rank = 0; rank <= maxRank; ++rank) {
            std::vector<Ring> found;
            for (size_t i = 0; i < pieces.size(); ++i) {
                const RiverPiece& piece = pieces[i];
                if (piece.rank != rank)
                    continue;
                if (follows[i] == static_cast<int>(r)) {
                    found.push_back(piece.line);
                } else if (follows[i] < 0) {
                    const std::vector<const RiverName*> names = namesOf(rivers[r], piece);
                    const bool supplement = rank > 0 && !piece.coarse;
                    if (supplement && std::any_of(names.begin(), names.end(), [&](const RiverName* n) {
                            return std::find(finestNames.begin(), finestNames.end(), n->name) != finestNames.end();
                        }))
                        continue;
                    for (Ring& part : namedParts(rivers[r], piece))
                        found.push_back(std::move(part));
                }
            }
            if (rank == 0) {
                for (Ring& line : found)
                    lines.push_back(std::move(line));
            } else {
                for (const Ring& line : found)
                    for (Ring& stretch : stretchesOff(line, taken))
                        lines.push_back(std::move(stretch));
            }
            // Later ranks measure against everything taken so far.
            taken = Segments();
            for (const Ring& line : lines)
                taken.add(line);
        }
        for (const Ring& line : rivers[r].added)
            lines.push_back(line);
        if (!lines.empty())
            out[r] = largestCluster(lines);
    }
    return out;
}
