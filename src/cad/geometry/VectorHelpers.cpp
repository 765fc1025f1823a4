#include "cad/geometry/VectorHelpers.h"

#include <algorithm>
#include <cmath>

#include "cad/base/Settings.h"
#include "cad/geometry/Geometry2D.h"

bool NotEqualRealsEps(double a, double b, double eps)
{
    return !EqualRealsEps(a, b, eps);
}

bool NotEqualReals(double a, double b)
{
    return !EqualReals(a, b);
}

bool GreaterOrEqualReals(double a, double b)
{
    return a > b || EqualReals(a, b);
}

double SquaredDistXY(double x1, double y1, double x2, double y2)
{
    const double dx = static_cast<float>(x2 - x1);
    const double dy = static_cast<float>(y2 - y1);
    return dx * dx + dy * dy;
}

int VectQuadrant(TVect v)
{
    if (v.X > 0.0 && v.Y >= 0.0)
        return 1;
    if (v.X <= 0.0 && v.Y > 0.0)
        return 2;
    if (v.X < 0.0 && v.Y <= 0.0)
        return 3;
    if (v.X >= 0.0 && v.Y < 0.0)
        return 4;
    return 0;
}

void PointAlongSegment(TVect& out, double distance, TVect from, TVect towards)
{
    const double ratio = static_cast<float>(distance / PointDistance(from, towards));
    out = {from.X + ratio * (towards.X - from.X), from.Y + ratio * (towards.Y - from.Y)};
}

namespace {

// Parameter of the foot of the perpendicular from point onto line AB, rounded to single.
double ProjectionParameter(TVect point, TVect a, TVect b)
{
    const TVect ab = SubVect(b, a);
    return static_cast<float>(DotProduct(SubVect(point, a), ab) / DotProduct(ab, ab));
}

} // namespace

TVect ProjectPointOnLine(TVect point, TVect a, TVect b)
{
    const double t = ProjectionParameter(point, a, b);
    return {a.X + t * (b.X - a.X), a.Y + t * (b.Y - a.Y)};
}

TVect NearestPointOnSegment(TVect point, TVect a, TVect b)
{
    // A zero-length segment has no direction; its one point is the nearest.
    if (a.X == b.X && a.Y == b.Y)
        return a;
    const double t = ProjectionParameter(point, a, b);
    if (t <= 0.0)
        return a;
    if (t >= 1.0)
        return b;
    return {a.X + t * (b.X - a.X), a.Y + t * (b.Y - a.Y)};
}

void NearestPointOnSegmentXY(double px, double py, double ax, double ay, double bx, double by, double& outX,
                             double& outY)
{
    const TVect n = NearestPointOnSegment({px, py}, {ax, ay}, {bx, by});
    outX = n.X;
    outY = n.Y;
}

void PointTowards(TVect point, TPoint2D& out, double distance, TVect centre)
{
    const double ratio = distance / PointDistance(centre, point);
    out = VectToPoint2D({centre.X + ratio * (point.X - centre.X), centre.Y + ratio * (point.Y - centre.Y)});
}

double VectDirection2Pi(TVect a, TVect b)
{
    double angle = std::atan2(b.Y - a.Y, b.X - a.X);
    if (angle < 0.0)
        angle += FULL_TURN;
    return angle;
}

void NearestPointOnArc(TVect centre, TVect startPoint, TVect endPoint, TVect& out, int direction, double radius,
                       TVect query)
{
    const TVect s = SubVect(startPoint, centre);
    const TVect e = SubVect(endPoint, centre);
    const TVect toQuery = SubVect(query, centre);
    const TVect r = ScaleVect(toQuery, radius / std::sqrt(DotProduct(toQuery, toQuery)));
    const TVect chord = direction >= 0 ? SubVect(e, s) : SubVect(s, e);
    if (CrossProduct(SubVect(r, s), chord) >= 0.0) {
        out = AddVect(centre, r);
        return;
    }
    out = PointDistance(query, startPoint) < PointDistance(query, endPoint) ? startPoint : endPoint;
}

TVect MidPoint(TVect a, TVect b)
{
    return {(a.X + b.X) / 2.0, (a.Y + b.Y) / 2.0};
}

bool IsCCW2D(TPoint2D p, TPoint2D a, TPoint2D q)
{
    p = CartesianPoint2D(p);
    a = CartesianPoint2D(a);
    q = CartesianPoint2D(q);
    return IsCCW(Point2DToVect(p), Point2DToVect(a), Point2DToVect(q));
}

bool IsCCW(TVect p, TVect a, TVect q)
{
    return CrossProduct(SubVect(p, a), SubVect(q, a)) > 0.0;
}

int PointVsCircle(double radius, TVect centre, TVect point)
{
    const TVect d = SubVect(point, centre);
    const double distanceSquared = DotProduct(d, d);
    const double radiusSquared = radius * radius;
    if (distanceSquared < radiusSquared)
        return -1;
    if (EqualReals(distanceSquared, radiusSquared))
        return 0;
    return 1;
}

bool Collinear(TVect a, TVect b, TVect c)
{
    return EqualRealsEps((c.X - a.X) * (b.Y - a.Y), (b.X - a.X) * (c.Y - a.Y), ChainTol);
}

bool LineMeetsCircle(double radius, TVect centre, TVect a, TVect b)
{
    const double lengthSquared = SquaredDistXY(a.X, a.Y, b.X, b.Y);
    const double cross = CrossProduct(SubVect(a, centre), SubVect(b, centre));
    return GreaterOrEqualReals(radius * radius * lengthSquared - cross * cross, 0.0);
}

namespace {

// The two crossings of line UV with the circle, found from N, the point of the
// segment nearest the centre at distance u: P on V's side, Q on U's side.
void ChordThroughSegment(double radius, TVect centre, TVect u, TVect v, TVect n, double nDistance, TVect& p,
                         TVect& q)
{
    if (EqualReals(nDistance, 0.0)) {
        PointAlongSegment(p, radius, centre, v);
        PointAlongSegment(q, radius, centre, u);
        return;
    }
    const double k = std::sqrt(std::max(0.0, radius * radius - nDistance * nDistance));
    PointAlongSegment(p, k, n, v);
    PointAlongSegment(q, k, n, u);
}

} // namespace

int SegmentCircleIntersection(double radius, TVect centre, TVect u, TVect v, TVect& p, TVect& q)
{
    const int atU = PointVsCircle(radius, centre, u);
    const int atV = PointVsCircle(radius, centre, v);
    if (atU < 0 && atV < 0) {
        p = v;
        q = u;
        return 2;
    }
    if (atU < 0 || atV < 0) {
        const TVect inside = atU < 0 ? u : v;
        const TVect other = atU < 0 ? v : u;
        const TVect foot = ProjectPointOnLine(centre, u, v);
        const double footSquared = DotProduct(SubVect(foot, centre), SubVect(foot, centre));
        // The inside end keeps the foot inside the circle; rounding must not make k NaN.
        const double k = static_cast<float>(std::sqrt(std::max(0.0, radius * radius - footSquared)));
        p = inside;
        PointAlongSegment(q, k, foot, other);
        return 2;
    }
    if (atU == 0 && atV == 0) {
        p = v;
        q = u;
        return 3;
    }
    const TVect n = NearestPointOnSegment(centre, u, v);
    const double nDistance = PointDistance(n, centre);
    if (atU > 0 && atV > 0) {
        if (EqualReals(nDistance, radius)) {
            p = n;
            return 1;
        }
        if (nDistance > radius)
            return 0;
        ChordThroughSegment(radius, centre, u, v, n, nDistance, p, q);
        return 3;
    }
    // One end on the circle, the other outside.
    if (EqualPoints(n, v)) {
        p = u;
        q = v;
    } else if (EqualPoints(n, u)) {
        p = v;
        q = u;
    } else {
        // The segment passes through the circle: trim and break need the far crossing too.
        ChordThroughSegment(radius, centre, u, v, n, nDistance, p, q);
    }
    return 2;
}

bool CirclesMeet(double r1, TVect c1, double r2, TVect c2)
{
    const double sum = r1 + r2;
    return SquaredDistXY(c1.X, c1.Y, c2.X, c2.Y) <= sum * sum;
}

bool CircleCircleIntersection(double r1, TVect c1, double r2, TVect c2, TVect& p1, TVect& p2)
{
    const TVect d = SubVect(c1, c2);
    const double distance = std::sqrt(DotProduct(d, d));
    // Concentric circles have no base line; NaN input lands here too.
    if (!(distance > 0.0))
        return false;
    const double a = (distance * distance - r1 * r1 + r2 * r2) / (2.0 * distance);
    double hSquared = r2 * r2 - a * a;
    if (!(hSquared >= 0.0)) {
        // Rounding can push a tangency just below zero; nested or apart circles stay out.
        if (!EqualReals(std::fabs(a), r2))
            return false;
        hSquared = 0.0;
    }
    const double ratio = static_cast<float>(a / distance);
    const TVect base = {c2.X + ratio * d.X, c2.Y + ratio * d.Y};
    const double h = std::sqrt(hSquared) / distance;
    p1 = {base.X - h * d.Y, base.Y + h * d.X};
    p2 = {base.X + h * d.Y, base.Y - h * d.X};
    return true;
}

bool SegmentIntersection(TVect a1, TVect a2, TVect b1, TVect b2, TVect& point)
{
    if (EqualPoints(a1, b1) || EqualPoints(a1, b2) || EqualPoints(a2, b1) || EqualPoints(a2, b2))
        return false;
    if (std::max(a1.X, a2.X) < std::min(b1.X, b2.X) || std::max(b1.X, b2.X) < std::min(a1.X, a2.X))
        return false;
    if (std::max(a1.Y, a2.Y) < std::min(b1.Y, b2.Y) || std::max(b1.Y, b2.Y) < std::min(a1.Y, a2.Y))
        return false;

    const TVect a = SubVect(a2, a1);
    const TVect b = SubVect(b1, b2);
    const TVect c = SubVect(a1, b1);
    const double denominator = a.Y * b.X - a.X * b.Y;
    const double alpha = b.Y * c.X - b.X * c.Y;
    const double beta = a.X * c.Y - a.Y * c.X;
    const auto within = [denominator](double numerator) {
        return denominator > 0.0 ? numerator >= 0.0 && numerator <= denominator
                                 : numerator <= 0.0 && numerator >= denominator;
    };
    if (!within(alpha) || !within(beta))
        return false;

    if (NotEqualReals(denominator, 0.0)) {
        const double t = alpha / denominator;
        point = {a1.X + t * a.X, a1.Y + t * a.Y};
    } else {
        // Parallel and overlapping.
        point = EqualReals(CrossProduct(a, SubVect(b1, a1)), 0.0) ? b1 : b2;
    }
    return true;
}

double VectAngle(TVect a, TVect b)
{
    if (DotProduct(a, a) * DotProduct(b, b) == 0.0)
        return 0.0;
    return VectAngleNoCheck(a, b);
}

double VectAngleNoCheck(TVect a, TVect b)
{
    const double cosine = DotProduct(a, b) / std::sqrt(DotProduct(a, a) * DotProduct(b, b));
    // Rounding lets parallel vectors come out a hair beyond 1.
    return std::acos(std::clamp(cosine, -1.0, 1.0));
}

TVect NormalizeVect(TVect v)
{
    const double length = std::sqrt(DotProduct(v, v));
    if (length == 0.0)
        return {};
    return {v.X / length, v.Y / length};
}

TVect MakeVect(double x, double y)
{
    return {x, y};
}

TVect RotateVect(TVect v, double angle)
{
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    return {v.X * c - v.Y * s, v.X * s + v.Y * c};
}

TVect PolarPoint(TVect point, double distance, double angle)
{
    return {point.X + distance * std::cos(angle), point.Y + distance * std::sin(angle)};
}

double DirectionAngle(TVect a, TVect b)
{
    return std::atan2(b.Y - a.Y, b.X - a.X);
}

double ArcTangent2(double y, double x)
{
    return std::atan2(y, x);
}

double SweepAngle(int direction, double start, double end)
{
    double sweep = 0.0;
    if (direction == 1) {
        if (end <= start)
            end += FULL_TURN;
        sweep = end - start;
    } else if (direction == -1) {
        if (end >= start)
            start += FULL_TURN;
        sweep = start - end;
    } else {
        sweep = end - start;
    }
    if (sweep < 0.0)
        sweep += FULL_TURN;
    return sweep;
}

double SweepAngleByFlag(bool counterClockwise, double start, double end)
{
    return SweepAngle(counterClockwise ? 1 : -1, start, end);
}

double NormalizeAngle(double angle)
{
    if (std::isnan(angle))
        return 0.0;
    if (angle < 0.0)
        angle += FULL_TURN;
    // Turn by turn subtraction never ends for huge or infinite angles; fmod is
    // exact there (and infinity becomes NaN, which normalises to 0 like NaN).
    if (angle > 64.0 * FULL_TURN) {
        angle = std::fmod(angle, FULL_TURN);
        if (std::isnan(angle))
            return 0.0;
    }
    while (angle > FULL_TURN || EqualReals(angle, FULL_TURN))
        angle -= FULL_TURN;
    if (EqualReals(angle, 0.0))
        angle += FULL_TURN;
    return angle;
}

int IndexOfMin(std::span<const double> values)
{
    double minimum = 9999999.1234;
    int index = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i] < minimum) {
            minimum = values[i];
            index = static_cast<int>(i);
        }
    }
    return index;
}

TVect Point2DToVect(TPoint2D point)
{
    return {point.X, point.Y};
}

TPoint2D VectToPoint2D(TVect v)
{
    return {static_cast<float>(v.X), static_cast<float>(v.Y), 1.0f};
}
