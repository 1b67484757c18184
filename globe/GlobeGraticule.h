#pragma once

// Lines of constant longitude or latitude as point chains, and the
// graticule kept as such chains from one paint to the next, so that only
// their projection is done again.

#include "globe/GlobeBoundingCap.h"
#include "globe/GlobePointStore.h"
#include "globe/GlobeProjectionModel.h"

#include <memory>
#include <vector>

class TGlobeCanvas;

// The straight line in longitude and latitude from one point to another as
// one chain of steps + 1 points, the short way across 180°.
std::unique_ptr<TChainStore> LineChain(const TPointLL& from, const TPointLL& to, int steps);

class TGraticule {
public:
    // Draws the lines, building them again only when they differ from the
    // ones drawn last.
    void Render(TGlobeCanvas& canvas, const std::vector<TGraticuleLine>& lines);

private:
    struct Line {
        std::unique_ptr<TChainStore> Chains;
        TMER Mer;
        TBoundingCap Cap;
    };
    std::vector<TGraticuleLine> m_drawn;
    std::vector<Line> m_lines;
};
