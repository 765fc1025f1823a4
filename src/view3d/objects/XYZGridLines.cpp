#include "view3d/objects/XYZGridLines.h"

#include "view3d/objects/SamplingScale.h"

namespace {

std::vector<float> AlongValues(const TGLSamplingScale& scale, TXYZGridLinesStyle style)
{
    if (style == TXYZGridLinesStyle::glsLine)
        return {scale.Min(), scale.Max()};
    return scale.Values(true);
}

// Strips along one axis; makePoint puts (along, first, second) on the axes.
template <typename MakePoint>
void AddStrips(std::vector<std::vector<Vector3f>>& strips, const std::vector<float>& along,
               const std::vector<float>& firsts, const std::vector<float>& seconds, MakePoint makePoint)
{
    for (float first : firsts)
        for (float second : seconds) {
            std::vector<Vector3f>& strip = strips.emplace_back();
            strip.reserve(along.size());
            for (float value : along)
                strip.push_back(makePoint(value, first, second));
        }
}

} // namespace

std::vector<std::vector<Vector3f>> XYZGridLineStrips(const TGLSamplingScale& x, const TGLSamplingScale& y,
                                                     const TGLSamplingScale& z, TXYZGridParts parts,
                                                     TXYZGridLinesStyle style)
{
    const std::vector<float> xs = x.Values(parts.gpX);
    const std::vector<float> ys = y.Values(parts.gpY);
    const std::vector<float> zs = z.Values(parts.gpZ);
    std::vector<std::vector<Vector3f>> strips;
    if (parts.gpX)
        AddStrips(strips, AlongValues(x, style), ys, zs, [](float a, float b, float c) { return Vector3f{a, b, c}; });
    if (parts.gpY)
        AddStrips(strips, AlongValues(y, style), xs, zs, [](float a, float b, float c) { return Vector3f{b, a, c}; });
    if (parts.gpZ)
        AddStrips(strips, AlongValues(z, style), xs, ys, [](float a, float b, float c) { return Vector3f{b, c, a}; });
    return strips;
}
