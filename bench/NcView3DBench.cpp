// An NC program of 10^5 moves (feed lines, every tenth an arc) read back
// line by line into the 3D view's scene, beside the same program read back
// over the drawing in 2D; then one orbit step of the 3D view drawing that
// toolpath, beside the floor: the same vertices from one vertex buffer with
// one glDrawArrays, same camera, same clear, same context. The camera's own
// floor (SceneRenderFloorDrawArrays, 10^5 segments) runs in the same binary.
// The GL benchmarks need an X server with Mesa's software renderer:
//   QT_QPA_PLATFORM=xcb LIBGL_ALWAYS_SOFTWARE=1 xvfb-run -a -s "-screen 0 1280x1024x24"
//     kestro_bench --benchmark_filter='NcView3D|SceneRender'

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <QGuiApplication>
#include <QImage>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPainter>
#include <benchmark/benchmark.h>

#include "cam/simulation/NcSimulation.h"
#include "view3d/context/GLQtContext.h"
#include "view3d/objects/Lines.h"
#include "view3d/objects/Points.h"
#include "view3d/opengl/GLFunctions.h"
#include "view3d/scene/GLCamera.h"
#include "view3d/ui/NcScene3D.h"

#include "GuiBenchSupport.h"

namespace {

constexpr int MoveCount = 100000;
constexpr int Width = 1024;
constexpr int Height = 768;
constexpr float TurnPerFrame = 0.5f;

// A raster over 200 x 200 mm at 2 mm steps in ten depth passes: feed lines,
// every tenth move a half circle of radius 1 between neighbouring points.
std::vector<std::string> ProgramLines()
{
    std::vector<std::string> lines{"G0 X0 Y0 Z5", "G1 Z-1 F600"};
    char text[64];
    for (int i = 1; i <= MoveCount; ++i) {
        const int row = i / 100;
        const int column = row % 2 == 0 ? i % 100 : 99 - i % 100;
        const int x = 2 * column;
        const int y = 2 * (row % 100);
        if (i % 10000 == 0)
            lines.push_back("G1 Z" + std::to_string(-1 - i / 10000));
        if (i % 10 == 0)
            std::snprintf(text, sizeof text, "G%d X%d Y%d R1", i % 20 == 0 ? 2 : 3, x, y);
        else
            std::snprintf(text, sizeof text, "G1 X%d Y%d", x, y);
        lines.emplace_back(text);
    }
    return lines;
}

const std::vector<std::string>& Program()
{
    static const std::vector<std::string> lines = ProgramLines();
    return lines;
}

void ReadBack(TNcSimulation& sim)
{
    const TPostSettings post;
    for (const std::string& line : Program())
        SimulateNcLine(sim, line, post, TNcReadMode::Step);
}

// The 2D view's read-back: every move drawn over a 1024 x 768 picture of the
// drawing, 200 mm across.
void NcView3DReadBack2D(benchmark::State& state)
{
    QImage image(Width, Height, QImage::Format_RGB32);
    TTransform2D toScreen;
    toScreen.M[0][0] = 3.5f;
    toScreen.M[1][1] = -3.5f;
    toScreen.M[2][0] = 100.0f;
    toScreen.M[2][1] = 730.0f;
    for (auto _ : state) {
        image.fill(Qt::gray);
        QPainter painter(&image);
        TNcPainterDrawing drawing(painter, toScreen);
        TNcSimulation sim;
        sim.Drawing = &drawing;
        ReadBack(sim);
        benchmark::DoNotOptimize(sim.TotalSeconds());
    }
    state.counters["moves"] = MoveCount;
}
BENCHMARK(NcView3DReadBack2D)->Unit(benchmark::kMillisecond);

// The 3D view's read-back: every move appended to the scene's toolpath.
void NcView3DReadBack3D(benchmark::State& state)
{
    int nodes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto scene = std::make_unique<TNcScene3D>();
        TNcSimulation sim;
        sim.Toolpath3D = scene.get();
        state.ResumeTiming();
        ReadBack(sim);
        state.PauseTiming();
        nodes = scene->GLCncMov.Nodes().Count();
        scene.reset();
        state.ResumeTiming();
    }
    state.counters["moves"] = MoveCount;
    state.counters["nodes"] = nodes;
}
BENCHMARK(NcView3DReadBack3D)->Unit(benchmark::kMillisecond);

// The main window's scene holding the program's toolpath, framed by the
// autozoom, drawing into a memory context.
struct TToolpathView {
    TToolpathView()
    {
        sim.Toolpath3D = &Scene;
        ReadBack(sim);
        sim.Toolpath3D = nullptr;
        Scene.Autozoom({sim.Extents, sim.ZMinRapid, sim.ZMinWork});
        Scene.Buffer.SetBackgroundColor(0x00808080);
        Scene.Buffer.CreateRenderingContext(Context, nullptr, Width, Height);
        Context.Activate();
    }
    ~TToolpathView()
    {
        Context.Deactivate();
        Scene.Buffer.DestroyRenderingContext(Context);
    }

    TGLQtContext Context;
    TNcSimulation sim;
    TNcScene3D Scene;
};

// One step of the mouse's orbit and the frame it draws.
void NcView3DOrbitStep(benchmark::State& state)
{
    if (!EnsureGuiApplication()) {
        state.SkipWithError("needs an X server with OpenGL");
        return;
    }
    TToolpathView on;
    on.Scene.Buffer.RenderFrame();
    GL().Finish();
    for (auto _ : state) {
        on.Scene.MouseMove({.LeftButton = true}, on.Scene.Mouse3DLastX - 1, on.Scene.Mouse3DLastY);
        on.Scene.Buffer.RenderFrame();
        GL().Finish();
    }
    state.counters["nodes"] = on.Scene.GLCncMov.Nodes().Count();
}
BENCHMARK(NcView3DOrbitStep)->Unit(benchmark::kMillisecond);

// Pixels that differ between two pictures of one size by more than a step
// of rounding in any channel.
int DifferingPixels(const QImage& a, const QImage& b)
{
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > 2 || std::abs(qGreen(p) - qGreen(q)) > 2 ||
                std::abs(qBlue(p) - qBlue(q)) > 2)
                ++differing;
        }
    return differing;
}

// The floor of the orbit step: the toolpath's nodes with their colours from
// one vertex buffer, after the same camera move and clear. The arrays are set
// after the scene's frame, which leaves the client arrays off (the origin's
// point draws from one); set before it, the floor would time a clear and an
// empty draw. Its last frame must show the scene's own picture.
void NcView3DOrbitFloor(benchmark::State& state)
{
    if (!EnsureGuiApplication()) {
        state.SkipWithError("needs an X server with OpenGL");
        return;
    }
    TToolpathView on;
    const TGLLines& lines = on.Scene.GLCncMov;
    std::vector<float> vertices;
    const int count = lines.Nodes().Count();
    vertices.reserve(static_cast<std::size_t>(count) * 7);
    for (int k = 0; k < count; ++k) {
        const TGLLinesNode& node = lines.Node(k);
        const Vector4f& c = node.Color().Color();
        vertices.insert(vertices.end(), {node.X(), node.Y(), node.Z(), c.X, c.Y, c.Z, c.W});
    }
    // The buffer's own options, once: viewport, depth test, clear colour.
    on.Scene.Buffer.RenderFrame();
    QImage floor;
    {
        const TColoredStripBuffer strip(vertices);
        GL().Disable(GL_LIGHTING);
        GL().MatrixMode(GL_PROJECTION);
        GL().LoadMatrixf(&on.Scene.Buffer.ProjectionMatrix().M[0][0]);
        GL().MatrixMode(GL_MODELVIEW);
        for (auto _ : state) {
            on.Scene.GLCamera1.OrbitTarget(0.0f, TurnPerFrame);
            GL().LoadIdentity();
            on.Scene.GLCamera1.ApplyLookAt();
            GL().Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            strip.Draw();
            GL().Finish();
        }
        floor = on.Context.Image();
    }
    // The scene's frame from the same camera, without the axes the floor leaves out.
    on.Scene.GLOrigine.SetShowAxes(false);
    on.Scene.Buffer.RenderFrame();
    const int differing = DifferingPixels(floor, on.Context.Image());
    state.counters["nodes"] = count;
    state.counters["differing_pixels"] = differing;
    if (differing > Width * Height / 100)
        state.SkipWithError("the floor does not draw the scene's picture");
}
BENCHMARK(NcView3DOrbitFloor)->Unit(benchmark::kMillisecond);

} // namespace
