#pragma once

// Single-precision points, boxes and 3x3 transforms of the drawing engine.

#include <utility>

#include "cad/geometry/CADBaseTypes.h"

extern const TTransform2D IdentityTransform2D;
// Every entry 0 except M[2][2] = 1: the inverse of a singular transform.
extern const TTransform2D NullTransform2D;

// Builders
TPoint2D MakePoint2D(float x, float y);
TRect2D MakeRect2D(float left, float bottom, float right, float top);
TPoint2D PointToPoint2D(TWindowPoint point);
TRect2D WindowRectToRect2D(TWindowRect rect);

// Cartesian form divides by W only when W is neither 1 nor 0.
// (These and the few below are inline: a redraw calls them for every object.)
inline TPoint2D CartesianPoint2D(TPoint2D point)
{
    // W = 0 is a direction, not a point: it stays as it is.
    if (point.W != 1.0f && point.W != 0.0f) {
        point.X /= point.W;
        point.Y /= point.W;
        point.W = 1.0f;
    }
    return point;
}

inline TRect2D CartesianBox2D(TRect2D box)
{
    return {CartesianPoint2D(box.FirstEdge), CartesianPoint2D(box.SecondEdge)};
}

inline TRect2D NormalizeBox2D(TRect2D box)
{
    box = CartesianBox2D(box);
    if (box.FirstEdge.X > box.SecondEdge.X)
        std::swap(box.FirstEdge.X, box.SecondEdge.X);
    if (box.FirstEdge.Y > box.SecondEdge.Y)
        std::swap(box.FirstEdge.Y, box.SecondEdge.Y);
    return box;
}

TWindowPoint Point2DToWindowPoint(TPoint2D point);
TWindowRect Rect2DToWindowRect(TRect2D box);

bool SamePoint2D(TPoint2D a, TPoint2D b);
bool SameTransform2D(const TTransform2D& a, const TTransform2D& b);
TVect Point2DDifference(TPoint2D first, TPoint2D second);
float VectLength2D(TVect v);
float Point2DDistance2D(TPoint2D a, TPoint2D b);
double Point2DDistance(TPoint2D a, TPoint2D b);

// Bit 1 left, 2 below, 4 right, 8 above a normalised box; edges are inside.
inline int OutcodeOfPoint2D(const TRect2D& box, TPoint2D point)
{
    point = CartesianPoint2D(point);
    int code = 0;
    if (point.X < box.FirstEdge.X)
        code |= 1;
    if (point.Y < box.FirstEdge.Y)
        code |= 2;
    if (point.X > box.SecondEdge.X)
        code |= 4;
    if (point.Y > box.SecondEdge.Y)
        code |= 8;
    return code;
}
bool PointInBox2D(const TRect2D& box, TPoint2D point);
bool BoxesOverlap2D(const TRect2D& a, const TRect2D& b);
bool BoxInBox2D(const TRect2D& inner, const TRect2D& outer);
TRect2D UnionBox2D(const TRect2D& a, const TRect2D& b);
TRect2D InflateBox2D(const TRect2D& box, float margin);
void OrthoConstrain2D(TPoint2D previous, TPoint2D& current);
float DegToRad2D(float degrees);

// Transforms
TTransform2D MakeTranslation2D(float tx, float ty);
TTransform2D MakeRotation2D(float angle);
TTransform2D MakeScale2D(float sx, float sy);
// 0 mirrors in the X axis, 1 in the Y axis, 2 through the origin; others give the identity.
TTransform2D MakeMirror2D(int kind);
bool IsAffineTransform2D(const TTransform2D& t);
TTransform2D MultiplyTransforms2D(const TTransform2D& a, const TTransform2D& b);
float Det2x2(float a, float b, float c, float d);
float Det3x3(const TTransform2D& t);
TTransform2D AdjugateTransform2D(const TTransform2D& t);
TTransform2D InvertTransform2D(const TTransform2D& t);
inline TPoint2D ApplyTransform2D(TPoint2D point, const TTransform2D& t)
{
    const auto& m = t.M;
    const double x = point.X;
    const double y = point.Y;
    const double w = point.W;
    return {static_cast<float>(x * m[0][0] + y * m[1][0] + w * m[2][0]),
            static_cast<float>(x * m[0][1] + y * m[1][1] + w * m[2][1]),
            static_cast<float>(x * m[0][2] + y * m[1][2] + w * m[2][2])};
}
TRect2D TransformBoxCorners2D(const TRect2D& box, const TTransform2D& t);
TRect2D TransformBox2D(const TRect2D& box, const TTransform2D& t);
void TransformArcAngles2D(TPoint2D centre, const TTransform2D& t, float& startAngle, float& endAngle, float radius);
// Grows the world box to the screen's proportions when aspect > 0 and maps it onto the screen.
TTransform2D ViewMapping2D(TRect2D& world, float screenLeft, float screenTop, float screenRight, float screenBottom,
                           float aspect);
