#include "view3d/scene/CameraProjection.h"

#include <algorithm>
#include <cmath>
#include <numbers>

TGLProjectionBounds ProjectionBounds(const TGLCameraLens& lens, const TGLViewPort& viewPort, int width, int height,
                                     float dpi)
{
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    const float m = static_cast<float>(std::max(width, height));
    float qX = 0.0f;
    float qY = 0.0f;
    if (lens.Style == TGLCameraStyle::csOrthogonal) {
        qX = lens.NearPlaneBias * 100.0f / (w * lens.FocalLength * lens.SceneScale);
        qY = lens.NearPlaneBias * 100.0f / (h * lens.FocalLength * lens.SceneScale);
    } else {
        qX = lens.NearPlaneBias / (w * lens.SceneScale);
        qY = lens.NearPlaneBias / (h * lens.SceneScale);
    }
    const float vl = static_cast<float>(viewPort.Left);
    const float vt = static_cast<float>(viewPort.Top);
    const float vw = static_cast<float>(viewPort.Width);
    const float vh = static_cast<float>(viewPort.Height);
    TGLProjectionBounds bounds;
    bounds.Right = w * (2.0f * vw + 2.0f * vl - w) * qX / (2.0f * m);
    bounds.Left = -w * (w - 2.0f * vl) * qX / (2.0f * m);
    bounds.Top = h * (2.0f * vh + 2.0f * vt - h) * qY / (2.0f * m);
    bounds.Bottom = -h * (h - 2.0f * vt) * qY / (2.0f * m);
    bounds.Near = lens.FocalLength * 2.0f * dpi / (m * 25.4f) * lens.NearPlaneBias;
    bounds.Far = bounds.Near + lens.DepthOfView;
    return bounds;
}

Matrix4f InfinitePerspectiveMatrix(const TGLProjectionBounds& b)
{
    // Rows of Matrix4f are OpenGL's columns, so element k sits at M[k / 4][k % 4].
    constexpr float e = 0.0001f;
    Matrix4f m;
    m.M[0][0] = 2.0f * b.Near / (b.Right - b.Left);
    m.M[1][1] = 2.0f * b.Near / (b.Top - b.Bottom);
    m.M[2][0] = (b.Right + b.Left) / (b.Right - b.Left);
    m.M[2][1] = (b.Top + b.Bottom) / (b.Top - b.Bottom);
    m.M[2][2] = e - 1.0f;
    m.M[2][3] = -1.0f;
    m.M[3][2] = (e - 2.0f) * b.Near;
    m.M[3][3] = 0.0f;
    return m;
}

float ViewPortRadius(const TGLProjectionBounds& bounds)
{
    return std::hypot(bounds.Top, bounds.Right) / bounds.Near;
}

float FieldOfViewOf(float focalLength, float viewportDimension)
{
    if (focalLength == 0.0f)
        return 0.0f;
    return 2.0f * std::atan(viewportDimension / 2.0f / focalLength) * 180.0f / std::numbers::pi_v<float>;
}

float FocalLengthFor(float fieldOfView, float viewportDimension)
{
    const float halfAngle = fieldOfView / 2.0f * std::numbers::pi_v<float> / 180.0f;
    return viewportDimension / (2.0f * std::tan(halfAngle));
}

Vector4f ScreenDeltaToWorldVector(const Vector4f& v, int dx, int dy, float ratio)
{
    const float h = std::sqrt(v.X * v.X + v.Y * v.Y);
    const float f = h <= 1e-10f ? ratio : ratio / h;
    const float fx = static_cast<float>(dx) * f;
    const float fy = static_cast<float>(dy) * f;
    return {v.Y * fx + v.X * fy, v.Y * fy - v.X * fx, 0.0f, 0.0f};
}
