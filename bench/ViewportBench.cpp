// Full redraws of a 2D view into its off-screen bitmap: a drawing of 100,000
// lines, shown whole, with and without grid and axes, and zoomed in so that
// the view shows a small part of them. The time of a row is one redraw.
// The floor is a bare QPainter drawing the lines the row's view shows, mapped
// the same way, into an image of the same size and format; each redraw row
// reports its best redraw against the floor's best in the same run ("x floor").

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>
#include <memory>

#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/model/GraphicObjList.h"
#include "cad/shapes/Line2D.h"
#include "cad/view/CADViewport2DCore.h"

#include "GuiBenchSupport.h"

namespace {

constexpr int LineCount = 100000;
constexpr float WorldSize = 1000.0f;

// Short lines scattered over the world square, the same every run.
std::unique_ptr<TCADCmp2D> LineDrawing()
{
    auto drawing = std::make_unique<TCADCmp2D>();
    std::uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / static_cast<float>(1u << 24);
    };
    for (int i = 0; i < LineCount; ++i) {
        const float x = next() * WorldSize;
        const float y = next() * WorldSize;
        drawing->AddObject(-1, std::make_unique<TLine2D>(0, MakePoint2D(x, y),
                                                        MakePoint2D(x + next() * 40 - 20, y + next() * 40 - 20)));
    }
    return drawing;
}

using TClock = std::chrono::steady_clock;

double Milliseconds(TClock::duration time)
{
    return std::chrono::duration<double, std::milli>(time).count();
}

// The view as every row sets it up: the whole drawing, or its middle at the zoom.
void SetUpView(TCADViewport2DCore& view, TCADCmp2D& drawing, float zoom)
{
    view.SetAspectRatio(1.0f);
    view.Resize(1024, 768);
    view.SetCADCmp2D(&drawing);
    view.ZoomToExtension();
    if (zoom != 1.0f) {
        const float half = WorldSize / (2.0f * zoom);
        view.ZoomWindow(MakeRect2D(WorldSize / 2 - half, WorldSize / 2 - half, WorldSize / 2 + half,
                                   WorldSize / 2 + half));
    }
}

// The bare QPainter floor: background, then every line the view shows
// (whose box meets the visible rectangle) mapped and rounded to whole pixels,
// one drawLine each. Zoomed in, it is what drawing only the lines shown costs.
class TFloor {
public:
    TFloor(TCADCmp2D& drawing, const TCADViewport2DCore& view)
        : Image(view.ClientWidth(), view.ClientHeight(), QImage::Format_RGB32), Mapping(view.GetWorldToScreen())
    {
        std::unique_ptr<TGraphicObjIterator> iterator = drawing.ObjectsIterator();
        for (TGraphicObject* object = iterator->First(); object; object = iterator->Next()) {
            auto* line = static_cast<TLine2D*>(object);
            if (!BoxesOverlap2D(line->Box, view.VisualRect()))
                continue;
            const TPointsSet2D& points = *line->Points();
            Lines.push_back({points[0], points[1]});
        }
    }

    std::size_t LineCount() const { return Lines.size(); }

    void Draw()
    {
        QPainter painter(&Image);
        painter.fillRect(Image.rect(), Qt::lightGray);
        painter.setPen(QPen(Qt::black, 1));
        for (const auto& [a, b] : Lines) {
            const TWindowPoint from = Point2DToWindowPoint(ApplyTransform2D(a, Mapping));
            const TWindowPoint to = Point2DToWindowPoint(ApplyTransform2D(b, Mapping));
            painter.drawLine(from.X, from.Y, to.X, to.Y);
        }
    }

    // The best of a few draws.
    double BestMilliseconds()
    {
        double best = 1e30;
        for (int run = 0; run < 5; ++run) {
            const TClock::time_point start = TClock::now();
            Draw();
            best = std::min(best, Milliseconds(TClock::now() - start));
        }
        return best;
    }

    const QImage& Picture() const { return Image; }

private:
    QImage Image;
    TTransform2D Mapping;
    std::vector<std::pair<TPoint2D, TPoint2D>> Lines;
};

void Redraw(benchmark::State& state, bool decorations, float zoom)
{
    EnsureGuiApplication();
    const std::unique_ptr<TCADCmp2D> drawing = LineDrawing();
    TCADViewport2DCore view;
    SetUpView(view, *drawing, zoom);
    TFloor floorRun(*drawing, view);
    const double floor = floorRun.BestMilliseconds();
    view.SetGridDeltaX(decorations ? 50.0f : 0.0f);
    view.SetGridDeltaY(decorations ? 50.0f : 0.0f);
    view.SetShowGrid(decorations);
    view.SetShowAssi(decorations);
    double best = 1e30;
    for (auto _ : state) {
        const TClock::time_point start = TClock::now();
        view.Repaint();
        best = std::min(best, Milliseconds(TClock::now() - start));
        benchmark::DoNotOptimize(view.WindowImage().constBits());
    }
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(LineCount) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    state.counters["lines shown"] = static_cast<double>(floorRun.LineCount());
    state.counters["floor ms"] = floor;
    state.counters["x floor"] = best / floor;
    view.SetCADCmp2D(nullptr);
}

void BM_RedrawLinesFloor(benchmark::State& state)
{
    EnsureGuiApplication();
    const std::unique_ptr<TCADCmp2D> drawing = LineDrawing();
    TCADViewport2DCore view;
    SetUpView(view, *drawing, 1.0f);
    TFloor floor(*drawing, view);
    for (auto _ : state) {
        floor.Draw();
        benchmark::DoNotOptimize(floor.Picture().constBits());
    }
    view.SetCADCmp2D(nullptr);
}

void BM_RedrawLines(benchmark::State& state)
{
    Redraw(state, false, 1.0f);
}

void BM_RedrawLinesGridAxes(benchmark::State& state)
{
    Redraw(state, true, 1.0f);
}

// Zoomed in by the argument.
void BM_RedrawLinesZoomedIn(benchmark::State& state)
{
    Redraw(state, false, static_cast<float>(state.range(0)));
}

} // namespace

BENCHMARK(BM_RedrawLinesFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawLinesGridAxes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawLinesZoomedIn)->Arg(4)->Arg(20)->Unit(benchmark::kMillisecond);
