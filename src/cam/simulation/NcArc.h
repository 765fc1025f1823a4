#pragma once

// The arc of one NC line, as every view of the toolpath draws it: its centre
// from the radius word or from the centre words, the way it turns, and how
// far. The 2D simulation and the 3D toolpath both take their arcs from here,
// so that the two views never disagree about one line.

#include <optional>

#include "cad/geometry/CADBaseTypes.h"

struct TNcArc {
    TVect Centre;
    double Radius = 0.0;
    // The angle of the start point, seen from the centre.
    double StartAngle = 0.0;
    // How far the arc turns in its own direction, in (0, 2 pi]; 2 pi is a
    // full circle.
    double Sweep = 0.0;
    bool Clockwise = false;

    // The point a fraction (0 to 1) of the way along the arc.
    TVect PointAt(double fraction) const;
};

// The centre the I and J words give: from the start point for the post's
// ArcCenter forms 2 (start to centre) and 3 (centre to start), the absolute
// centre for every other form (1, and 4, whose values are the centre's) and
// for the moves drawn while a program is written (fromFile clear).
TVect NcArcCentreFromWords(TVect start, float i, float j, int arcCenter, bool fromFile);

// The centre the radius word gives: a positive R picks the arc of at most half
// a turn, a negative R the longer one. A radius shorter than half the chord
// puts the centre on the chord's midpoint.
TVect NcArcCentreFromRadius(TVect start, TVect end, double r, bool clockwise);

// The arc from start to end: by its radius word when arcR is not 0, else
// around the centre. An end that comes back to the start, or lies within
// 0.001 rad of it against the arc's direction, gives a full circle. None when
// there is no circle to draw: a radius-word arc whose end is its start (no
// chord to place a centre on), or a centre on the start point.
std::optional<TNcArc> NcArcOfMove(TVect start, TVect end, bool clockwise, float arcR, TVect centre);
