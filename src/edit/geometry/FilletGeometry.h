#pragma once

// Fillets and trims between lines and circular arcs, as plain geometry on
// world points. Each result says where the fillet arc goes and which point
// each entity is cut to; nothing here touches a drawing.

#include <optional>
#include <vector>

#include "cad/geometry/CADBaseTypes.h"

// Counter-clockwise angles in radians, each 0 or more.
struct TArcAngles {
    double Start = 0.0;
    double End = 0.0;
};

// The short counter-clockwise arc about the centre between the two points.
TArcAngles ShortArcAngles(TVect centre, TVect first, TVect second);

// The end of segment PQ to move to T (the fillet's tangent point, X the
// corner of the two entities, M the fillet's centre): true for P.
bool ReplacesFirstEnd(TVect p, TVect q, TVect m, TVect x, TVect t);

// -1 inside, 0 on (squared distance within the equality tolerance of R²), 1 outside.
int SideOfCircle(TVect centre, double radius, TVect point);

// Where the infinite line through PQ crosses the circle, in order from P to
// Q; empty when it misses or only touches.
std::vector<TVect> LineCircleCrossings(TVect p, TVect q, TVect centre, double radius);

// Where segment PQ meets the circle: the crossings and touching points that
// lie on the segment, in order from P. A segment wholly inside gives none.
std::vector<TVect> SegmentCircleCrossings(TVect p, TVect q, TVect centre, double radius);

struct TLineLineFillet {
    TVect Centre;
    TVect Corner;
    TVect Tangent1;
    TVect Tangent2;
    TArcAngles Angles;
    bool FirstEnd1 = false;
    bool FirstEnd2 = false;
};

// Lines P1Q1 and P2Q2, picked at pick1 and pick2, offset h towards the
// other pick. None for parallel lines or a pick on the other line.
std::optional<TLineLineFillet> LineLineFillet(TVect p1, TVect q1, TVect p2, TVect q2, TVect pick1, TVect pick2,
                                              double h);

struct TLineArcFillet {
    TVect Centre;
    TVect LineTangent;
    TVect ArcTangent;
    // Where the line crosses the arc's circle nearer the picks; a line that
    // does not cross it has none, and its point nearest the circle's centre
    // stands in for choosing the end to move.
    TVect Corner;
    bool Crosses = false;
    TArcAngles Angles;
    bool FirstEnd = false;
};

// Line PQ (picked at pickLine) and the circle of an arc (picked at pickArc).
// None when the offset line misses the offset circle or the offset radius
// is not positive.
std::optional<TLineArcFillet> LineArcFillet(TVect p, TVect q, TVect centre, double radius, TVect pickLine,
                                            TVect pickArc, double filletRadius);

struct TArcArcFillet {
    TVect Centre;
    TVect Tangent1;
    TVect Tangent2;
    TArcAngles Angles;
};

// Two arcs' circles, picked at pick1 and pick2. None when the offset circles
// do not meet, contain one another, are concentric or have a radius of 0 or less.
std::optional<TArcArcFillet> ArcArcFillet(TVect centre1, double radius1, TVect centre2, double radius2, TVect pick1,
                                          TVect pick2, double filletRadius);

// The pieces of a counter-clockwise arc (radians) cut at the points, as
// angle pairs in order from the start; empty when no point cuts it. Cuts are
// taken in counter-clockwise order from the start, so arcs through angle 0
// and full circles split into pieces that cover the arc once.
std::vector<TArcAngles> SplitArcAngles(TVect centre, double start, double end, const std::vector<TVect>& cuts);

// Where two arcs (counter-clockwise, radians) meet: the crossings of their
// circles that lie on both.
std::vector<TVect> ArcArcCrossings(TVect centre1, double radius1, TArcAngles arc1, TVect centre2, double radius2,
                                   TArcAngles arc2);
