// Full redraws of a 2D view into its off-screen bitmap: a drawing of 100,000
// lines, shown whole, with and without grid and axes, and zoomed in so that
// most lines fail the visibility test. The time of a row is one redraw.

#include <cstdint>
#include <memory>

#include <QByteArray>
#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/view/CADViewport2DCore.h"

namespace {

constexpr int LineCount = 100000;
constexpr float WorldSize = 1000.0f;

// The scale bar's text needs the GUI side of Qt.
void EnsureGuiApplication()
{
    if (QGuiApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "kestro_bench";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}

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

void Redraw(benchmark::State& state, bool decorations, float zoom)
{
    EnsureGuiApplication();
    const std::unique_ptr<TCADCmp2D> drawing = LineDrawing();
    TCADViewport2DCore view;
    view.SetAspectRatio(1.0f);
    view.Resize(1024, 768);
    view.SetCADCmp2D(drawing.get());
    view.ZoomToExtension();
    if (zoom != 1.0f) {
        const float half = WorldSize / (2.0f * zoom);
        view.ZoomWindow(MakeRect2D(WorldSize / 2 - half, WorldSize / 2 - half, WorldSize / 2 + half,
                                   WorldSize / 2 + half));
    }
    view.SetGridDeltaX(decorations ? 50.0f : 0.0f);
    view.SetGridDeltaY(decorations ? 50.0f : 0.0f);
    view.SetShowGrid(decorations);
    view.SetShowAssi(decorations);
    for (auto _ : state) {
        view.Repaint();
        benchmark::DoNotOptimize(view.WindowImage().constBits());
    }
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(LineCount) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
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

void BM_RedrawLinesZoomedIn(benchmark::State& state)
{
    Redraw(state, false, 20.0f);
}

} // namespace

BENCHMARK(BM_RedrawLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawLinesGridAxes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawLinesZoomedIn)->Unit(benchmark::kMillisecond);
