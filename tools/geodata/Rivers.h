#pragma once

// A river's course from the river lines of several sources. The finest
// source draws a river best but often breaks it into pieces under other
// names or none; a coarser source names the whole course. A river is
// therefore made of the finest pieces that carry one of its names or follow
// its named course in a coarser source, and of the stretches that only the
// coarser sources have.

#include "tools/geodata/Geo.h"

#include <QString>
#include <optional>
#include <vector>

struct RiverPiece {
    Ring line;
    int rank = 0;     // 0 the finest source; higher ranks are coarser
    bool coarse = false; // from the source that names whole courses
    QString name, nameEn;
    Box box;
};

struct RiverName {
    QString name;
    std::optional<Box> clip; // only the part of such pieces inside it
};

struct RiverEntry {
    std::vector<RiverName> names;
    Box region;              // pieces are looked for here
    std::vector<Ring> added; // stretches no source has
};

// The chains of each river, in the order of the entries; a river without any
// piece has none.
std::vector<std::vector<Ring>> assembleRivers(const std::vector<RiverPiece>& pieces, const std::vector<RiverEntry>& rivers);

// The parts of a line inside a box, cut where the line crosses its edge.
std::vector<Ring> clipLine(const Ring& line, const Box& box);
