#pragma once

// Double-precision point and vector routines of the editing and toolpath code.
// Equality is always within 0.00005 unless a tolerance is given.

#include <cmath>
#include <span>

#include "cad/geometry/CADBaseTypes.h"

inline constexpr double REAL_EPSILON = 0.00005;
inline constexpr double FULL_TURN = 6.283185307179586;

// The equalities, distances and vector products are inline: the toolpath
// loops ask them once per corner, item or pair of elements, and a call each
// cost more than the arithmetic.

inline bool EqualRealsEps(double a, double b, double eps)
{
    const double d = b - a;
    return -eps <= d && d <= eps;
}

inline bool EqualReals(double a, double b)
{
    return EqualRealsEps(a, b, REAL_EPSILON);
}
bool NotEqualRealsEps(double a, double b, double eps);
bool NotEqualReals(double a, double b);
inline bool EqualPointsEps(TVect a, TVect b, double eps)
{
    return EqualRealsEps(a.X, b.X, eps) && EqualRealsEps(a.Y, b.Y, eps);
}

inline bool EqualPoints(TVect a, TVect b)
{
    return EqualPointsEps(a, b, REAL_EPSILON);
}
bool GreaterOrEqualReals(double a, double b);

inline double DistXY(double x1, double y1, double x2, double y2)
{
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    return std::sqrt(dx * dx + dy * dy);
}

inline double PointDistance(TVect a, TVect b)
{
    return DistXY(a.X, a.Y, b.X, b.Y);
}
double SquaredDistXY(double x1, double y1, double x2, double y2);
// 1..4 by quadrant, 0 for the null vector.
int VectQuadrant(TVect v);

void PointAlongSegment(TVect& out, double distance, TVect from, TVect towards);
TVect ProjectPointOnLine(TVect point, TVect a, TVect b);
void NearestPointOnSegmentXY(double px, double py, double ax, double ay, double bx, double by, double& outX,
                             double& outY);
TVect NearestPointOnSegment(TVect point, TVect a, TVect b);
void PointTowards(TVect point, TPoint2D& out, double distance, TVect centre);
double VectDirection2Pi(TVect a, TVect b);
void NearestPointOnArc(TVect centre, TVect startPoint, TVect endPoint, TVect& out, int direction, double radius,
                       TVect query);
TVect MidPoint(TVect a, TVect b);
bool IsCCW2D(TPoint2D p, TPoint2D a, TPoint2D q);
bool IsCCW(TVect p, TVect a, TVect q);

// -1 inside, 0 on the circle, 1 outside.
int PointVsCircle(double radius, TVect centre, TVect point);
bool Collinear(TVect a, TVect b, TVect c);
bool LineMeetsCircle(double radius, TVect centre, TVect a, TVect b);
// 0 no meeting, 1 touching at p, 2 the part between p and q lies inside, 3 two crossings p and q.
int SegmentCircleIntersection(double radius, TVect centre, TVect u, TVect v, TVect& p, TVect& q);
bool CirclesMeet(double r1, TVect c1, double r2, TVect c2);
// False when the circles do not cross or touch (nested or concentric circles).
bool CircleCircleIntersection(double r1, TVect c1, double r2, TVect c2, TVect& p1, TVect& p2);
bool SegmentIntersection(TVect a1, TVect a2, TVect b1, TVect b2, TVect& point);

inline double CrossProduct(TVect a, TVect b)
{
    return a.X * b.Y - a.Y * b.X;
}

inline double DotProduct(TVect a, TVect b)
{
    return a.X * b.X + a.Y * b.Y;
}

double VectAngle(TVect a, TVect b);
double VectAngleNoCheck(TVect a, TVect b);
TVect NormalizeVect(TVect v);

inline TVect AddVect(TVect a, TVect b)
{
    return {a.X + b.X, a.Y + b.Y};
}

inline TVect SubVect(TVect a, TVect b)
{
    return {a.X - b.X, a.Y - b.Y};
}

inline TVect ScaleVect(TVect v, double k)
{
    return {k * v.X, k * v.Y};
}

TVect MakeVect(double x, double y);
TVect RotateVect(TVect v, double angle);
TVect PolarPoint(TVect point, double distance, double angle);
double DirectionAngle(TVect a, TVect b);
double ArcTangent2(double y, double x);
// direction 1 counter-clockwise, -1 clockwise.
double SweepAngle(int direction, double start, double end);
double SweepAngleByFlag(bool counterClockwise, double start, double end);
// Into (0, 2pi]: 0 becomes 2pi.
double NormalizeAngle(double angle);
int IndexOfMin(std::span<const double> values);

TVect Point2DToVect(TPoint2D point);
TPoint2D VectToPoint2D(TVect v);
