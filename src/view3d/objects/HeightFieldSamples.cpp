#include "view3d/objects/HeightFieldSamples.h"

#include <cmath>

#include "view3d/maths/VectorGeometry.h"

namespace {

using TRow = std::vector<THeightFieldSample>;

TRow SampleRow(std::span<const float> xs, float y, const THeightFunction& height, const THeightFieldArea& area)
{
    TRow row;
    row.reserve(xs.size());
    for (float x : xs) {
        THeightFieldSample sample;
        sample.Color = HeightFieldDefaultColor;
        sample.TexPoint = {(x - area.XMin) / (area.XMax - area.XMin), (y - area.YMin) / (area.YMax - area.YMin)};
        float z = 0.0f;
        height(x, y, z, sample.Color, sample.TexPoint);
        sample.Position = {x, y, z};
        row.push_back(sample);
    }
    return row;
}

// Central differences, one-sided at the edges of the field.
void SetNormals(TRow& row, const TRow& below, const TRow& above)
{
    for (std::size_t i = 0; i < row.size(); ++i) {
        const Vector3f& left = row[i == 0 ? i : i - 1].Position;
        const Vector3f& right = row[i + 1 == row.size() ? i : i + 1].Position;
        const Vector3f alongX = Vector3Subtract(right, left);
        const Vector3f alongY = Vector3Subtract(above[i].Position, below[i].Position);
        const Vector3f normal = Vector3Cross(alongX, alongY);
        row[i].Normal = Vector3IsNull(normal) ? Vector3f{0.0f, 0.0f, 1.0f} : Vector3Normalize(normal);
    }
}

} // namespace

void BuiltInHeight(float x, float y, float& z, Vector4f& color, TTexPoint& /*texPoint*/)
{
    const float r = x * x + y * y;
    z = std::cos(12.0f * r) / ((6.28f * r + 1.0f) * 2.0f);
    color = HeightFieldDefaultColor;
}

void ForEachHeightFieldStrip(std::span<const float> xs, std::span<const float> ys, const THeightFunction& height,
                             const THeightFieldArea& area,
                             const std::function<void(std::span<const THeightFieldSample> lower,
                                                      std::span<const THeightFieldSample> upper)>& draw)
{
    if (ys.size() < 2 || xs.empty())
        return;
    TRow current = SampleRow(xs, ys[0], height, area);
    TRow next = SampleRow(xs, ys[1], height, area);
    SetNormals(current, current, next);
    for (std::size_t j = 1; j < ys.size(); ++j) {
        TRow after = j + 1 < ys.size() ? SampleRow(xs, ys[j + 1], height, area) : TRow{};
        SetNormals(next, current, after.empty() ? next : after);
        draw(current, next);
        current = std::move(next);
        next = std::move(after);
    }
}
