#pragma once

// The point runs that circles, ellipses and their arcs are drawn with.

#include "cad/model/PointsSet2D.h"

// n + 1 points clockwise from angle 0 (the first point repeated at the end):
// (cx + rx, cy), then (cx + rx cos(i step), cy - ry sin(i step)) for i = 1 .. n - 1.
void AppendEllipseProfile(TPointsSet2D& profile, double cx, double cy, double rx, double ry, int n);

// n points from the start angle in steps of sweep / (n + 1), then the point at
// the end angle, so the last interval is two steps wide. Counter-clockwise
// points are (cx + rx cos t, cy + ry sin t); otherwise Y is mirrored about cy.
void AppendArcProfile(TPointsSet2D& profile, double cx, double cy, double rx, double ry, double startAngle,
                      double endAngle, int n, bool counterClockwise);

// The end angle's distance from the start; one full turn when they are equal.
double ArcSweep(double startAngle, double endAngle);
