#include "view3d/objects/LineSampling.h"

#include <algorithm>

#include "view3d/lists/CubicSpline.h"
#include "view3d/maths/VectorGeometry.h"

std::vector<TLineSample> SampleCubicSpline(const std::vector<Vector3f>& nodes, const std::vector<Vector4f>& colors,
                                           int division)
{
    std::vector<TLineSample> samples;
    if (nodes.size() < 2 || division < 1)
        return samples;
    std::vector<float> x, y, z;
    for (const Vector3f& node : nodes) {
        x.push_back(node.X);
        y.push_back(node.Y);
        z.push_back(node.Z);
    }
    const TCubicSpline spline(x, y, z, {});
    const int spans = int(nodes.size()) - 1;
    const int count = spans * division + 1;
    samples.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        TLineSample sample;
        sample.Position = spline.SplineVector(float(i) / float(division));
        if (!colors.empty()) {
            const int node = std::min(i / division, spans);
            const float fraction = float(i % division) / float(division);
            sample.Color = node == spans ? colors[std::size_t(spans)]
                                         : Vector4Lerp(colors[std::size_t(node)], colors[std::size_t(node) + 1],
                                                       fraction);
        }
        samples.push_back(sample);
    }
    return samples;
}
