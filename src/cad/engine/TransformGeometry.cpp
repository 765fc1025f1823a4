#include "cad/engine/TransformGeometry.h"

#include <cmath>

#include "cad/geometry/Geometry2D.h"

namespace {

TTransform2D About(TPoint2D base, const TTransform2D& t)
{
    return MultiplyTransforms2D(MultiplyTransforms2D(MakeTranslation2D(-base.X, -base.Y), t),
                                MakeTranslation2D(base.X, base.Y));
}

} // namespace

TTransform2D MoveTransform(TPoint2D base, TPoint2D current)
{
    return MakeTranslation2D(current.X - base.X, current.Y - base.Y);
}

float DirectionAngle(TPoint2D base, TPoint2D current)
{
    return static_cast<float>(std::atan2(static_cast<double>(current.Y) - base.Y, static_cast<double>(current.X) - base.X));
}

TTransform2D RotateAbout(TPoint2D base, float angle)
{
    return About(base, MakeRotation2D(angle));
}

TTransform2D ScaleAbout(TPoint2D base, float sx, float sy)
{
    return About(base, MakeScale2D(sx, sy));
}

TTransform2D MirrorThrough(TPoint2D base, TPoint2D current)
{
    const float a = DirectionAngle(base, current);
    const TTransform2D mirror =
        MultiplyTransforms2D(MultiplyTransforms2D(MakeRotation2D(-a), MakeMirror2D(0)), MakeRotation2D(a));
    return About(base, mirror);
}

TScaleFactors ScreenScaleFactors(TPoint2D b, TPoint2D c, bool uniform)
{
    const double dx = static_cast<double>(b.X) - c.X;
    const double dy = static_cast<double>(b.Y) - c.Y;
    if (uniform) {
        const auto s = static_cast<float>(std::sqrt(dx * dx + dy * dy) / ScaleUniformPixels);
        return {s, s};
    }
    return {static_cast<float>(std::fabs(dx) / ScaleAxisPixels), static_cast<float>(std::fabs(dy) / ScaleAxisPixels)};
}

bool UsableScale(const TScaleFactors& factors)
{
    return std::isfinite(factors.X) && std::isfinite(factors.Y) && factors.X != 0.0f && factors.Y != 0.0f;
}
