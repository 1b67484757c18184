#pragma once

// The smallest circle on the sphere, a cap, that holds an object's
// rectangle: tested against the view with a few products instead of the
// rectangle's edges sampled point by point.

#include "globe/GlobeSysUtils.h"

struct TBoundingCap {
    // Centre as a unit vector in the axes of the 3D points (x east at 0°,
    // y north, z towards 0° 0°) and the angular radius.
    double X = 0, Y = 0, Z = 0;
    double CosRadius = 1, SinRadius = 0;
    bool RoundTheGlobe = false; // the rectangle goes all the way round
    // The rectangle the cap was made for; the cap follows when it changes.
    TMER Of{0, 0, -1, -1};
    bool Holds(const TMER& mer) const { return Of == mer; }
};

TBoundingCap BoundingCap(const TMER& mer);
