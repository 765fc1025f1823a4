#include "view3d/objects/ShapeMeshes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

TMeshVertex TorusVertex(float majorRadius, float minorRadius, int ring, int rings, int side, int sides)
{
    const double theta = 2.0 * std::numbers::pi * ring / rings;
    const double phi = 2.0 * std::numbers::pi * side / sides;
    const double distance = majorRadius + minorRadius * std::cos(phi);
    TMeshVertex vertex;
    vertex.Position = {static_cast<float>(distance * std::cos(theta)), static_cast<float>(distance * std::sin(theta)),
                       static_cast<float>(minorRadius * std::sin(phi))};
    vertex.Normal = {static_cast<float>(std::cos(phi) * std::cos(theta)),
                     static_cast<float>(std::cos(phi) * std::sin(theta)), static_cast<float>(std::sin(phi))};
    vertex.S = static_cast<float>(ring) / static_cast<float>(rings);
    vertex.T = static_cast<float>(side) / static_cast<float>(sides);
    return vertex;
}

// Newell's normal: sound for a quad with a collapsed edge, null when it has
// no area at all.
Vector3f QuadNormal(const std::array<Vector3f, 4>& corners, float sign)
{
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const Vector3f& a = corners[i];
        const Vector3f& b = corners[(i + 1) % corners.size()];
        x += (double(a.Y) - b.Y) * (double(a.Z) + b.Z);
        y += (double(a.Z) - b.Z) * (double(a.X) + b.X);
        z += (double(a.X) - b.X) * (double(a.Y) + b.Y);
    }
    const double length = std::sqrt(x * x + y * y + z * z);
    if (length == 0.0)
        return {};
    return {static_cast<float>(sign * x / length), static_cast<float>(sign * y / length),
            static_cast<float>(sign * z / length)};
}

} // namespace

std::vector<std::vector<TMeshVertex>> TorusQuadStrips(float majorRadius, float minorRadius, int rings, int sides)
{
    std::vector<std::vector<TMeshVertex>> strips;
    if (rings < 1 || sides < 1)
        return strips;
    strips.reserve(static_cast<std::size_t>(rings));
    for (int ring = 0; ring < rings; ++ring) {
        std::vector<TMeshVertex>& strip = strips.emplace_back();
        strip.reserve(2 * static_cast<std::size_t>(sides + 1));
        for (int side = 0; side <= sides; ++side) {
            strip.push_back(TorusVertex(majorRadius, minorRadius, ring, rings, side, sides));
            strip.push_back(TorusVertex(majorRadius, minorRadius, ring + 1, rings, side, sides));
        }
    }
    return strips;
}

std::vector<TMeshQuad> FrustrumQuads(float apexHeight, float baseDepth, float baseWidth, float height,
                                     TFrustrumParts parts, float normalSign)
{
    const float topFactor = apexHeight > 0.0f ? 1.0f - height / apexHeight : 1.0f;
    const float w = baseWidth * 0.5f;
    const float d = baseDepth * 0.5f;
    const float h = height * 0.5f;
    const float tw = w * topFactor;
    const float td = d * topFactor;
    // Bottom and top corners: front left, front right, back right, back left.
    const Vector3f b0{-w, -h, d}, b1{w, -h, d}, b2{w, -h, -d}, b3{-w, -h, -d};
    const Vector3f t0{-tw, h, td}, t1{tw, h, td}, t2{tw, h, -td}, t3{-tw, h, -td};
    const std::pair<bool, std::array<Vector3f, 4>> faces[] = {
        {parts.fpTop, {t0, t1, t2, t3}},   {parts.fpBottom, {b0, b3, b2, b1}}, {parts.fpFront, {b0, b1, t1, t0}},
        {parts.fpBack, {b2, b3, t3, t2}}, {parts.fpLeft, {b3, b0, t0, t3}},   {parts.fpRight, {b1, b2, t2, t1}}};
    std::vector<TMeshQuad> quads;
    for (const auto& [present, corners] : faces)
        if (present)
            quads.push_back({QuadNormal(corners, normalSign), corners});
    return quads;
}

TArrowLineLayout ArrowLineLayout(float height, float topHeadHeight, float bottomHeadHeight,
                                 TArrowHeadStackingStyle style, bool hasTopHead, bool hasBottomHead)
{
    const float end = height * 0.5f;
    // How far each head's base lies inside the line's end.
    float topInset = 0.0f;
    float bottomInset = 0.0f;
    if (style == TArrowHeadStackingStyle::ahssCentered) {
        topInset = topHeadHeight * 0.5f;
        bottomInset = bottomHeadHeight * 0.5f;
    } else if (style == TArrowHeadStackingStyle::ahssIncluded) {
        topInset = topHeadHeight;
        bottomInset = bottomHeadHeight;
    }
    TArrowLineLayout layout;
    layout.TopHeadBase = end - topInset;
    layout.TopHeadTip = layout.TopHeadBase + topHeadHeight;
    layout.BottomHeadBase = -end + bottomInset;
    layout.BottomHeadTip = layout.BottomHeadBase - bottomHeadHeight;
    layout.LineTop = hasTopHead ? layout.TopHeadBase : end;
    layout.LineBottom = hasBottomHead ? layout.BottomHeadBase : -end;
    if (layout.LineTop < layout.LineBottom) {
        const float middle = (layout.LineTop + layout.LineBottom) * 0.5f;
        layout.LineTop = middle;
        layout.LineBottom = middle;
    }
    return layout;
}
