#include "globe/GlobeGraticule.h"

#include "globe/GlobeCanvas.h"

#include <algorithm>
#include <cstdlib>

std::unique_ptr<TChainStore> LineChain(const TPointLL& from, const TPointLL& to, int steps)
{
    steps = std::max(steps, 1);
    int64_t dLong = int64_t{to.Long} - from.Long;
    const int32_t q = from.Long / GU_90_DEGREE;
    if (q != 0 && to.Long / GU_90_DEGREE == -q)
        dLong = (GU_360_DEGREE - std::llabs(dLong)) * q; // the short way across 180°
    const int64_t dLat = int64_t{to.Lat} - from.Lat;
    const int64_t dHeight = int64_t{to.Height} - from.Height;
    const bool heights = from.Height != 0 || to.Height != 0;
    auto chains = std::make_unique<TChainStore>();
    TPointStore& chain = chains->GetChain(0);
    chain.SetHeightFlag(heights);
    chain.Reserve(steps + 1);
    for (int i = 0; i <= steps; ++i) {
        const TPointLL p = PointLL(from.Long + MulDivRound(dLong, i, steps),
                                   static_cast<int32_t>(from.Lat + MulDivRound(dLat, i, steps)));
        chain.Add({p.Long, p.Lat, heights ? static_cast<int32_t>(from.Height + MulDivRound(dHeight, i, steps)) : 0});
    }
    return chains;
}

void TGraticule::Render(TGlobeCanvas& canvas, const std::vector<TGraticuleLine>& lines)
{
    if (lines != m_drawn) {
        m_lines.clear();
        for (const TGraticuleLine& line : lines) {
            Line built{LineChain(line.From, line.To, line.Steps), {}, {}};
            built.Mer = built.Chains->ChainStoreMER();
            built.Cap = BoundingCap(built.Mer);
            m_lines.push_back(std::move(built));
        }
        m_drawn = lines;
    }
    for (Line& line : m_lines)
        canvas.RenderLine(*line.Chains, line.Mer, &line.Cap);
}
