#include "cad/geometry/Geometry2D.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "cad/geometry/VectorMath3.h"

// Products and sums are formed in double and rounded once when stored, the way
// the extended-precision arithmetic the stored floats were designed around does.

const TTransform2D IdentityTransform2D{};
const TTransform2D NullTransform2D{{{0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f}}};

TPoint2D MakePoint2D(float x, float y)
{
    return {x, y, 1.0f};
}

TRect2D MakeRect2D(float left, float bottom, float right, float top)
{
    return {{left, bottom, 1.0f}, {right, top, 1.0f}};
}

TPoint2D PointToPoint2D(TWindowPoint point)
{
    return {static_cast<float>(point.X), static_cast<float>(point.Y), 1.0f};
}

TRect2D WindowRectToRect2D(TWindowRect rect)
{
    return {PointToPoint2D({rect.Left, rect.Top}), PointToPoint2D({rect.Right, rect.Bottom})};
}

TWindowPoint Point2DToWindowPoint(TPoint2D point)
{
    point = CartesianPoint2D(point);
    return {RoundSingle(point.X), RoundSingle(point.Y)};
}

TWindowRect Rect2DToWindowRect(TRect2D box)
{
    box = NormalizeBox2D(box);
    return {RoundSingle(box.FirstEdge.X), RoundSingle(box.FirstEdge.Y), RoundSingle(box.SecondEdge.X),
            RoundSingle(box.SecondEdge.Y)};
}

bool SamePoint2D(TPoint2D a, TPoint2D b)
{
    if (a.W != b.W) {
        a = CartesianPoint2D(a);
        b = CartesianPoint2D(b);
    }
    return a.X == b.X && a.Y == b.Y;
}

bool SameTransform2D(const TTransform2D& a, const TTransform2D& b)
{
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            if (a.M[row][col] != b.M[row][col])
                return false;
    return true;
}

TVect Point2DDifference(TPoint2D first, TPoint2D second)
{
    first = CartesianPoint2D(first);
    second = CartesianPoint2D(second);
    return {static_cast<double>(second.X) - first.X, static_cast<double>(second.Y) - first.Y};
}

float VectLength2D(TVect v)
{
    return static_cast<float>(std::sqrt(v.X * v.X + v.Y * v.Y));
}

float Point2DDistance2D(TPoint2D a, TPoint2D b)
{
    return VectLength2D(Point2DDifference(a, b));
}

double Point2DDistance(TPoint2D a, TPoint2D b)
{
    const double dx = static_cast<double>(b.X) - a.X;
    const double dy = static_cast<double>(b.Y) - a.Y;
    return std::sqrt(dx * dx + dy * dy);
}

bool PointInBox2D(const TRect2D& box, TPoint2D point)
{
    return OutcodeOfPoint2D(box, point) == 0;
}

bool BoxesOverlap2D(const TRect2D& a, const TRect2D& b)
{
    const TRect2D first = NormalizeBox2D(a);
    const TRect2D second = NormalizeBox2D(b);
    return (OutcodeOfPoint2D(second, first.FirstEdge) & OutcodeOfPoint2D(second, first.SecondEdge)) == 0;
}

bool BoxInBox2D(const TRect2D& inner, const TRect2D& outer)
{
    const TRect2D in = CartesianBox2D(inner);
    const TRect2D out = CartesianBox2D(outer);
    return OutcodeOfPoint2D(out, in.FirstEdge) == 0 && OutcodeOfPoint2D(out, in.SecondEdge) == 0;
}

TRect2D UnionBox2D(const TRect2D& a, const TRect2D& b)
{
    const TRect2D first = NormalizeBox2D(a);
    const TRect2D second = NormalizeBox2D(b);
    return MakeRect2D(std::min(first.FirstEdge.X, second.FirstEdge.X),
                      std::min(first.FirstEdge.Y, second.FirstEdge.Y),
                      std::max(first.SecondEdge.X, second.SecondEdge.X),
                      std::max(first.SecondEdge.Y, second.SecondEdge.Y));
}

TRect2D InflateBox2D(const TRect2D& box, float margin)
{
    const TRect2D b = CartesianBox2D(box);
    return MakeRect2D(b.FirstEdge.X - margin, b.FirstEdge.Y - margin, b.SecondEdge.X + margin,
                      b.SecondEdge.Y + margin);
}

void OrthoConstrain2D(TPoint2D previous, TPoint2D& current)
{
    if (std::fabs(current.X - previous.X) > std::fabs(current.Y - previous.Y))
        current.Y = previous.Y;
    else
        current.X = previous.X;
}

float DegToRad2D(float degrees)
{
    return static_cast<float>(degrees * 3.14159265358979323846 / 180.0);
}

TTransform2D MakeTranslation2D(float tx, float ty)
{
    TTransform2D t = IdentityTransform2D;
    t.M[2][0] = tx;
    t.M[2][1] = ty;
    return t;
}

TTransform2D MakeRotation2D(float angle)
{
    const auto c = static_cast<float>(std::cos(static_cast<double>(angle)));
    const auto s = static_cast<float>(std::sin(static_cast<double>(angle)));
    TTransform2D t = IdentityTransform2D;
    t.M[0][0] = c;
    t.M[0][1] = s;
    t.M[1][0] = -s;
    t.M[1][1] = c;
    return t;
}

TTransform2D MakeScale2D(float sx, float sy)
{
    TTransform2D t = IdentityTransform2D;
    t.M[0][0] = sx;
    t.M[1][1] = sy;
    return t;
}

TTransform2D MakeMirror2D(int kind)
{
    TTransform2D t = IdentityTransform2D;
    if (kind == 0 || kind == 2)
        t.M[1][1] = -1.0f;
    if (kind == 1 || kind == 2)
        t.M[0][0] = -1.0f;
    return t;
}

bool IsAffineTransform2D(const TTransform2D& t)
{
    return t.M[0][2] == 0.0f && t.M[1][2] == 0.0f && t.M[2][2] == 1.0f;
}

namespace {

// Entry (row, col) of A*B, summing only over the rows of B named by the bound.
float ProductEntry(const TTransform2D& a, const TTransform2D& b, int row, int col, int terms)
{
    double sum = 0.0;
    for (int k = 0; k < terms; ++k)
        sum += static_cast<double>(a.M[row][k]) * b.M[k][col];
    return static_cast<float>(sum);
}

} // namespace

TTransform2D MultiplyTransforms2D(const TTransform2D& a, const TTransform2D& b)
{
    const bool affineA = IsAffineTransform2D(a);
    const bool affineB = IsAffineTransform2D(b);
    TTransform2D r;
    if (affineA && affineB) {
        for (int col = 0; col < 2; ++col) {
            r.M[0][col] = ProductEntry(a, b, 0, col, 2);
            r.M[1][col] = ProductEntry(a, b, 1, col, 2);
            r.M[2][col] = static_cast<float>(static_cast<double>(a.M[2][0]) * b.M[0][col] +
                                             static_cast<double>(a.M[2][1]) * b.M[1][col] + b.M[2][col]);
        }
        r.M[0][2] = 0.0f;
        r.M[1][2] = 0.0f;
        r.M[2][2] = 1.0f;
    } else if (affineA) {
        // Rows 1 and 2 of A end in 0, row 3 in 1.
        for (int col = 0; col < 3; ++col) {
            r.M[0][col] = ProductEntry(a, b, 0, col, 2);
            r.M[1][col] = ProductEntry(a, b, 1, col, 2);
            r.M[2][col] = static_cast<float>(static_cast<double>(a.M[2][0]) * b.M[0][col] +
                                             static_cast<double>(a.M[2][1]) * b.M[1][col] + b.M[2][col]);
        }
    } else if (affineB) {
        // The last column of B is (0, 0, 1).
        for (int row = 0; row < 3; ++row) {
            r.M[row][0] = ProductEntry(a, b, row, 0, 3);
            r.M[row][1] = ProductEntry(a, b, row, 1, 3);
            r.M[row][2] = a.M[row][2];
        }
    } else {
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                r.M[row][col] = ProductEntry(a, b, row, col, 3);
    }
    return r;
}

float Det2x2(float a, float b, float c, float d)
{
    return static_cast<float>(static_cast<double>(a) * d - static_cast<double>(b) * c);
}

namespace {

double Det3x3Wide(const TTransform2D& t)
{
    const auto m = [&t](int row, int col) { return static_cast<double>(t.M[row][col]); };
    return m(0, 0) * (m(1, 1) * m(2, 2) - m(1, 2) * m(2, 1)) - m(0, 1) * (m(1, 0) * m(2, 2) - m(1, 2) * m(2, 0)) +
           m(0, 2) * (m(1, 0) * m(2, 1) - m(1, 1) * m(2, 0));
}

} // namespace

float Det3x3(const TTransform2D& t)
{
    return static_cast<float>(Det3x3Wide(t));
}

TTransform2D AdjugateTransform2D(const TTransform2D& t)
{
    const auto& m = t.M;
    TTransform2D r;
    r.M[0][0] = Det2x2(m[1][1], m[1][2], m[2][1], m[2][2]);
    r.M[0][1] = -Det2x2(m[0][1], m[0][2], m[2][1], m[2][2]);
    r.M[0][2] = Det2x2(m[0][1], m[0][2], m[1][1], m[1][2]);
    r.M[1][0] = -Det2x2(m[1][0], m[1][2], m[2][0], m[2][2]);
    r.M[1][1] = Det2x2(m[0][0], m[0][2], m[2][0], m[2][2]);
    r.M[1][2] = -Det2x2(m[0][0], m[0][2], m[1][0], m[1][2]);
    r.M[2][0] = Det2x2(m[1][0], m[1][1], m[2][0], m[2][1]);
    r.M[2][1] = -Det2x2(m[0][0], m[0][1], m[2][0], m[2][1]);
    r.M[2][2] = Det2x2(m[0][0], m[0][1], m[1][0], m[1][1]);
    return r;
}

TTransform2D InvertTransform2D(const TTransform2D& t)
{
    const auto& m = t.M;
    TTransform2D r;
    if (IsAffineTransform2D(t)) {
        const double det = static_cast<double>(m[0][0]) * m[1][1] - static_cast<double>(m[1][0]) * m[0][1];
        if (det == 0.0)
            return NullTransform2D;
        r.M[0][0] = static_cast<float>(m[1][1] / det);
        r.M[0][1] = static_cast<float>(-m[0][1] / det);
        r.M[1][0] = static_cast<float>(-m[1][0] / det);
        r.M[1][1] = static_cast<float>(m[0][0] / det);
        const double tx = m[2][0];
        const double ty = m[2][1];
        r.M[2][0] = static_cast<float>((m[1][0] * ty - m[1][1] * tx) / det);
        r.M[2][1] = static_cast<float>((m[0][1] * tx - m[0][0] * ty) / det);
        r.M[0][2] = 0.0f;
        r.M[1][2] = 0.0f;
        r.M[2][2] = 1.0f;
        return r;
    }
    const double det = Det3x3Wide(t);
    if (det == 0.0)
        return NullTransform2D;
    const TTransform2D adjugate = AdjugateTransform2D(t);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            r.M[row][col] = static_cast<float>(adjugate.M[row][col] / det);
    return r;
}

TRect2D TransformBoxCorners2D(const TRect2D& box, const TTransform2D& t)
{
    return {ApplyTransform2D(box.FirstEdge, t), ApplyTransform2D(box.SecondEdge, t)};
}

TRect2D TransformBox2D(const TRect2D& box, const TTransform2D& t)
{
    const TRect2D corners = TransformBoxCorners2D(box, t);
    const TRect2D other = {ApplyTransform2D(MakePoint2D(box.FirstEdge.X, box.SecondEdge.Y), t),
                           ApplyTransform2D(MakePoint2D(box.SecondEdge.X, box.FirstEdge.Y), t)};
    return UnionBox2D(corners, other);
}

void TransformArcAngles2D(TPoint2D centre, const TTransform2D& t, float& startAngle, float& endAngle, float radius)
{
    const auto pointAt = [&](float angle) {
        const double a = angle;
        return MakePoint2D(static_cast<float>(centre.X + radius * std::cos(a)),
                           static_cast<float>(centre.Y + radius * std::sin(a)));
    };
    const TPoint2D c = CartesianPoint2D(ApplyTransform2D(centre, t));
    const TPoint2D s = CartesianPoint2D(ApplyTransform2D(pointAt(startAngle), t));
    const TPoint2D e = CartesianPoint2D(ApplyTransform2D(pointAt(endAngle), t));
    startAngle = static_cast<float>(std::atan2(static_cast<double>(s.Y) - c.Y, static_cast<double>(s.X) - c.X));
    endAngle = static_cast<float>(std::atan2(static_cast<double>(e.Y) - c.Y, static_cast<double>(e.X) - c.X));
}

TTransform2D ViewMapping2D(TRect2D& world, float screenLeft, float screenTop, float screenRight, float screenBottom,
                           float aspect)
{
    const double screenWidth = static_cast<double>(screenRight) - screenLeft;
    const double screenHeight = static_cast<double>(screenBottom) - screenTop;
    if (aspect > 0.0f) {
        const double b = aspect * (screenWidth / screenHeight);
        const double worldWidth = static_cast<double>(world.SecondEdge.X) - world.FirstEdge.X;
        const double worldHeight = static_cast<double>(world.SecondEdge.Y) - world.FirstEdge.Y;
        if (worldWidth / b >= worldHeight)
            world.SecondEdge.Y = static_cast<float>(world.FirstEdge.Y + worldWidth / b);
        else
            world.SecondEdge.X = static_cast<float>(world.FirstEdge.X + b * worldHeight);
    }
    const double worldWidth = static_cast<double>(world.SecondEdge.X) - world.FirstEdge.X;
    const double worldHeight = static_cast<double>(world.SecondEdge.Y) - world.FirstEdge.Y;
    const double sx = screenWidth / worldWidth;
    const double sy = (static_cast<double>(screenTop) - screenBottom) / worldHeight;
    TTransform2D t = IdentityTransform2D;
    t.M[0][0] = static_cast<float>(sx);
    t.M[1][1] = static_cast<float>(sy);
    // The half pixel puts world coordinates on pixel centres.
    t.M[2][0] = static_cast<float>(screenLeft - sx * world.FirstEdge.X - 0.5);
    t.M[2][1] = static_cast<float>(screenBottom - sy * world.FirstEdge.Y - 0.5);
    return t;
}
