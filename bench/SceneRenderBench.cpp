// A toolpath of 10^5 line segments with a colour per vertex, drawn at
// 1024 x 768 through the scene buffer into a memory context, beside the
// floor: the same segments from one vertex buffer with one glDrawArrays, in
// the same context and the same run. Run under an X server with Mesa's
// software renderer:
//   QT_QPA_PLATFORM=xcb LIBGL_ALWAYS_SOFTWARE=1 xvfb-run -a -s "-screen 0 1280x1024x24"
//     kestro_bench --benchmark_filter=SceneRender
// The scene side draws them as the program does, with a line object whose
// nodes carry the colours, kept in a display list: the first frame
// compiles it (SceneRenderFirstFrame), every later frame replays it.

#include <cstdint>
#include <memory>
#include <vector>

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <benchmark/benchmark.h>

#include "view3d/context/GLQtContext.h"
#include "view3d/objects/Lines.h"
#include "view3d/opengl/GLFunctions.h"
#include "view3d/scene/GLCamera.h"
#include "view3d/scene/GLScene.h"
#include "view3d/scene/GLSceneBuffer.h"

#include "GuiBenchSupport.h"

namespace {

constexpr int SegmentCount = 100000;
constexpr int Width = 1024;
constexpr int Height = 768;
// The turn round the target between two frames, in degrees.
constexpr float TurnPerFrame = 0.5f;
constexpr std::size_t VertexFloats = 7;

// x, y, z, r, g, b, a per vertex: a pocket-like raster of 200 x 200 mm cut in
// ten depth passes, every 50th segment a red rapid move.
std::vector<float> ToolpathVertices()
{
    std::vector<float> vertices;
    vertices.reserve(static_cast<std::size_t>(SegmentCount + 1) * VertexFloats);
    constexpr int PerRow = 100;
    for (int i = 0; i <= SegmentCount; ++i) {
        const int row = i / PerRow;
        const int column = row % 2 == 0 ? i % PerRow : PerRow - i % PerRow;
        const float x = -100.0f + 2.0f * static_cast<float>(column);
        const float y = -100.0f + 2.0f * static_cast<float>(row % 100);
        const float z = -static_cast<float>(row / 100);
        const bool rapid = i % 50 == 0;
        const float shade = 0.3f - 0.07f * z;
        vertices.insert(vertices.end(), {x, y, z, rapid ? 1.0f : 0.1f, rapid ? 0.0f : shade, rapid ? 0.0f : 1.0f, 1.0f});
    }
    return vertices;
}

// The polyline as the 3D view draws it: a line object with a colour per node.
TGLLines& AddToolpathLines(TGLBaseSceneObject& parent, const std::vector<float>& vertices)
{
    auto& lines = parent.AddNewChild<TGLLines>();
    lines.SetNodesAspect(TLineNodesAspect::lnaInvisible);
    lines.SetOption(TLinesOption::loUseNodeColorForLines, true);
    lines.Nodes().BeginUpdate();
    for (std::size_t i = 0; i < vertices.size(); i += VertexFloats) {
        TGLLinesNode& node = lines.AddNode({vertices[i], vertices[i + 1], vertices[i + 2]});
        node.Color().Initialize({vertices[i + 3], vertices[i + 4], vertices[i + 5], vertices[i + 6]});
    }
    lines.Nodes().EndUpdate();
    return lines;
}

// The scene of the 3D view: an orthogonal camera orbiting its target above
// the toolpath, drawing into a memory context.
struct TToolpathScene {
    TToolpathScene()
        : Target(Scene.Objects().AddNewChild<TGLBaseSceneObject>()),
          Lines(AddToolpathLines(Scene.Objects(), Vertices)),
          Camera(Scene.Cameras().AddNewChild<TGLCamera>())
    {
        Camera.SetCameraStyle(TGLCameraStyle::csOrthogonal);
        Camera.SetFocalLength(1.0f);
        Camera.SetSceneScale(0.4f);
        Camera.SetDepthOfView(1000.0f);
        Camera.SetUp({0.0f, 0.0f, 1.0f, 0.0f});
        Camera.SetDirection({0.0f, 1.0f, -1.0f, 0.0f});
        Camera.SetPosition({0.0f, -300.0f, 300.0f, 1.0f});
        Camera.SetTargetObject(&Target);
        Buffer.SetCamera(&Camera);
        Buffer.SetLighting(false);
        Buffer.SetBackgroundColor(0x00FFFFFF);
        Buffer.CreateRenderingContext(Context, nullptr, Width, Height);
        Context.Activate();
    }
    ~TToolpathScene()
    {
        Context.Deactivate();
        Buffer.DestroyRenderingContext(Context);
    }

    std::vector<float> Vertices = ToolpathVertices();
    TGLQtContext Context;
    TGLScene Scene;
    TGLBaseSceneObject& Target;
    TGLLines& Lines;
    TGLCamera& Camera;
    TGLSceneBuffer Buffer;
};

void SceneRenderAfterCameraMove(benchmark::State& state)
{
    if (!EnsureGuiApplication()) {
        state.SkipWithError("needs an X server with OpenGL");
        return;
    }
    TToolpathScene on;
    on.Buffer.RenderFrame();
    GL().Finish();
    for (auto _ : state) {
        on.Camera.OrbitTarget(0.0f, TurnPerFrame);
        on.Buffer.RenderFrame();
        GL().Finish();
    }
    state.counters["segments"] = SegmentCount;
}
BENCHMARK(SceneRenderAfterCameraMove)->Unit(benchmark::kMillisecond);

// Each frame compiles the display list again, as the first frame after the
// toolpath was built does.
void SceneRenderFirstFrame(benchmark::State& state)
{
    if (!EnsureGuiApplication()) {
        state.SkipWithError("needs an X server with OpenGL");
        return;
    }
    TToolpathScene on;
    for (auto _ : state) {
        on.Lines.StructureChanged();
        on.Buffer.RenderFrame();
        GL().Finish();
    }
}
BENCHMARK(SceneRenderFirstFrame)->Unit(benchmark::kMillisecond);

// The floor: the same segments, matrices and clear, from one vertex buffer.
void SceneRenderFloorDrawArrays(benchmark::State& state)
{
    if (!EnsureGuiApplication()) {
        state.SkipWithError("needs an X server with OpenGL");
        return;
    }
    TToolpathScene on;
    // The buffer's own options, once: depth test, no lighting.
    on.Buffer.RenderFrame();
    const TColoredStripBuffer strip(on.Vertices);
    GL().Disable(GL_CULL_FACE);
    GL().MatrixMode(GL_PROJECTION);
    GL().LoadMatrixf(&on.Buffer.ProjectionMatrix().M[0][0]);
    GL().MatrixMode(GL_MODELVIEW);
    for (auto _ : state) {
        on.Camera.OrbitTarget(0.0f, TurnPerFrame);
        GL().LoadIdentity();
        on.Camera.ApplyLookAt();
        GL().Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        strip.Draw();
        GL().Finish();
    }
}
BENCHMARK(SceneRenderFloorDrawArrays)->Unit(benchmark::kMillisecond);

} // namespace
