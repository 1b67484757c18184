#pragma once

// Circles on the sphere: the arc of the great circle through two places
// and the circle of all places at one distance from a centre, as points
// close enough together to be drawn as a curve.

#include "globe/GlobeSysUtils.h"

#include <vector>

enum TGreatCircleKind {
    gcShortArc, // the shorter way from the first point to the second
    gcLongArc,  // the other way round
    gcFull      // the whole great circle, back to the first point
};

// Points from `from` to `to` (both included) along the great circle, at
// most `step` GU of arc apart. Antipodes take the meridian of `from`; one
// place alone gives that place.
std::vector<TPointLL> GreatCirclePoints(const TPointLL& from, const TPointLL& to, TGreatCircleKind kind,
                                        int32_t step = GU_DEGREE);

// The corners of the circle `radius` GU of arc around `centre`, starting
// due north and going clockwise; at least 3 corners. Empty for a radius of
// 0 or less; a radius beyond 180° is taken as 180°.
std::vector<TPointLL> CirclePoints(const TPointLL& centre, int32_t radius, int segments);
