#include <cmath>
#include <vector>

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include "cad/canvas/ClippedDrawing2D.h"
#include "cad/canvas/DecorativeCanvas.h"
#include "cad/geometry/Clipping2D.h"
#include "cad/geometry/Geometry2D.h"

namespace {

std::vector<TPoint2D> SpiralPoints(int count, float radius)
{
    std::vector<TPoint2D> points;
    points.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const float angle = 0.01f * static_cast<float>(i);
        const float r = radius * static_cast<float>(i) / static_cast<float>(count);
        points.push_back(MakePoint2D(r * std::cos(angle), r * std::sin(angle)));
    }
    return points;
}

TRect2D BoxOf(const std::vector<TPoint2D>& points)
{
    TRect2D box = {points.front(), points.front()};
    for (const TPoint2D& p : points)
        box = UnionBox2D(box, {p, p});
    return box;
}

void BM_ComposeTransforms(benchmark::State& state)
{
    const TTransform2D rotate = MakeRotation2D(0.3f);
    const TTransform2D move = MakeTranslation2D(5.0f, -2.0f);
    const TTransform2D scale = MakeScale2D(1.0001f, 0.9999f);
    for (auto _ : state) {
        TTransform2D t = IdentityTransform2D;
        for (int i = 0; i < state.range(0); ++i)
            t = MultiplyTransforms2D(MultiplyTransforms2D(MultiplyTransforms2D(t, rotate), move), scale);
        benchmark::DoNotOptimize(t);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * 3);
}
BENCHMARK(BM_ComposeTransforms)->Arg(10000);

void BM_ApplyTransform(benchmark::State& state)
{
    const std::vector<TPoint2D> points = SpiralPoints(static_cast<int>(state.range(0)), 100.0f);
    const TTransform2D t = MultiplyTransforms2D(MakeRotation2D(0.3f), MakeTranslation2D(5.0f, -2.0f));
    for (auto _ : state) {
        float sum = 0.0f;
        for (const TPoint2D& p : points)
            sum += ApplyTransform2D(p, t).X;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ApplyTransform)->Arg(100000);

void BM_ClipSegments(benchmark::State& state)
{
    // Half the spiral lies outside the box, so every kind of result occurs.
    const std::vector<TPoint2D> points = SpiralPoints(static_cast<int>(state.range(0)) + 1, 200.0f);
    const TRect2D box = MakeRect2D(-100, -100, 100, 100);
    for (auto _ : state) {
        int flags = 0;
        for (std::size_t i = 1; i < points.size(); ++i) {
            TPoint2D a = points[i - 1];
            TPoint2D b = points[i];
            flags += ClipSegmentToBox2D(box, a, b);
        }
        benchmark::DoNotOptimize(flags);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ClipSegments)->Arg(100000);

// Argument 1: the clip box holds the whole spiral (one run) or cuts it.
void BM_DrawPolylineClipped(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const std::vector<TPoint2D> points = SpiralPoints(count, 100.0f);
    const TRect2D objectBox = BoxOf(points);
    QImage image(800, 600, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TDecorativeCanvas canvas(&painter);
    TRect2D world = state.range(1) ? MakeRect2D(-100, -100, 100, 100) : MakeRect2D(-50, -50, 50, 50);
    const TTransform2D view = ViewMapping2D(world, 0, 0, 800, 600, 1.0f);
    const TRect2D clipBox = MakeRect2D(0, 0, 800, 600);
    for (auto _ : state)
        DrawPolylineClipped2D(points.data(), count, canvas, false, count - 1, 0, view, objectBox, clipBox);
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_DrawPolylineClipped)->Args({10000, 1})->Args({10000, 0});

} // namespace
