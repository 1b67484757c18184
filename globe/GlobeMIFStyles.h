#pragma once

// The drawing clauses of MapInfo interchange objects (Pen, Brush, Symbol,
// Font) as engine attributes, and the presenter of a source that shows them.

#include "globe/GlobeCanvas.h"

#include <QByteArray>
#include <QList>

class TGlobeObjectSource;

struct TMIFStyle {
    TGlobePen pen{0x000000, 0, 1, Pixel};
    TGlobeBrush brush{0xFFFFFF, 0};
    TGlobeFont font;
    int symbolShape = 34; // a circle
    uint32_t symbolColor = 0x000000;
    int symbolSize = 6;

    // Takes a clause line split into words; false when the line is no
    // clause (the next object begins there).
    bool Apply(const QList<QByteArray>& words, const QByteArray& line);
};

// A MapInfo colour (0xRRGGBB) as the engine's 0xBBGGRR.
uint32_t ColorFromMIF(int64_t rgb);

enum class TMIFPresenterKind { Point, Poly };
// The ID of a presenter of the source that draws with these attributes;
// one is added when the source has none yet.
int32_t MIFPresenterID(TGlobeObjectSource& source, TMIFPresenterKind kind, const TMIFStyle& style);
