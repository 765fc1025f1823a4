#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/FakeGLContext.h"
#include "support/GLCallLog.h"
#include "support/TestSceneObjects.h"
#include "view3d/scene/GLCamera.h"
#include "view3d/scene/GLLightSource.h"
#include "view3d/scene/GLScene.h"
#include "view3d/scene/GLSceneBuffer.h"

namespace {

using Calls = std::vector<std::string>;

// The window side of a buffer: what the buffer asked of it.
struct THostSpy : TGLFrameHost {
    void Repaint() override { ++Repaints; }
    void RecreateContext() override { ++Recreations; }
    void RendererGone(TGLFrameRenderer&) override {}
    int Repaints = 0;
    int Recreations = 0;
};

// A scene with an orthogonal camera and a buffer showing it, on a context
// without a display.
struct TRecordedScene {
    TRecordedScene()
        : Camera(Scene.Cameras().AddNewChild<TGLCamera>())
    {
        Log.Strings[GL_VERSION] = "2.1 Mesa";
        Log.Answers[GL_MAX_LIGHTS] = {8};
        Log.Answers[GL_RED_BITS] = {8};
        Camera.SetCameraStyle(TGLCameraStyle::csOrthogonal);
        Camera.SetFocalLength(1.0f);
        Camera.SetPosition({0.0f, 0.0f, 10.0f, 1.0f});
        Buffer.SetCamera(&Camera);
        Buffer.SetHost(&Host);
    }
    ~TRecordedScene() { Buffer.SetHost(nullptr); }
    void MakeContext() { Buffer.CreateRenderingContext(Context, &Device, 64, 32); }

    TGLCallLog Log;
    TFakeContext Context;
    TGLDevice Device;
    TGLScene Scene;
    TGLCamera& Camera;
    TGLSceneBuffer Buffer;
    THostSpy Host;
};

// Each expected call, in this order, with anything in between.
void ExpectInOrder(const Calls& calls, const Calls& expected)
{
    auto at = calls.begin();
    for (const std::string& call : expected) {
        at = std::find_if(at, calls.end(), [&](const std::string& made) { return made.rfind(call, 0) == 0; });
        ASSERT_NE(at, calls.end()) << "missing or out of order: " << call;
        ++at;
    }
}

TEST(SceneBuffer, SetsUpTheOpenGLOptionsInTheirOrderWhenItMakesItsContext)
{
    TRecordedScene on;
    on.Buffer.SetShadeModel(TGLShadeModel::smFlat);
    on.Log.Take();
    on.MakeContext();
    const Calls expected = {
        "Viewport 0 0 64 32",
        "LightModelfv 0xb53 0.2 0.2 0.2 1",
        "LightModeli 0xb52 0",
        "Enable 0xba1",
        "Enable 0xb71",
        "Enable 0xb44",
        "Enable 0xb50",
        "GetIntegerv 0xd52",
        "DepthFunc 0x201",
        "Hint 0xc50 0x1102",
        "ShadeModel 0x1d00",
    };
    Calls calls = on.Log.Take();
    const auto first = std::find(calls.begin(), calls.end(), expected.front());
    ASSERT_NE(first, calls.end());
    const Calls made(first, first + std::min<std::ptrdiff_t>(calls.end() - first, Calls::difference_type(expected.size())));
    EXPECT_EQ(made, expected);
    EXPECT_EQ(on.Context.DepthBits(), 24);
    EXPECT_EQ(on.Context.ColorBits(), 24);
    EXPECT_TRUE(on.Context.Options().DoubleBuffered);

    // A context made again starts from OpenGL's defaults: the states are sent again.
    on.Buffer.DestroyRenderingContext(on.Context);
    on.MakeContext();
    calls = on.Log.Take();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "Enable 0xb71"), calls.end());

    // A driver older than 1.1 leaves the buffer without a context.
    on.Buffer.DestroyRenderingContext(on.Context);
    on.Log.Strings[GL_VERSION] = "1.0";
    EXPECT_THROW(on.MakeContext(), EOpenGLError);
    EXPECT_EQ(on.Buffer.RenderingContext(), nullptr);
    EXPECT_FALSE(on.Context.IsValid());
    on.Buffer.RenderFrame();
    EXPECT_EQ(on.Buffer.FrameCount(), 0);
}

// Errors cleared, options, clear, errors checked; projection, view, lights,
// objects; clean-up; swap.
TEST(SceneBuffer, RendersAFrameInItsFixedOrder)
{
    TRecordedScene on;
    on.Scene.Objects().AddNewChild<TTestSquare>(1.0f, Vector4f{1, 1, 1, 1});
    on.MakeContext();
    on.Log.Take();
    on.Buffer.RenderFrame();
    ExpectInOrder(on.Log.Take(), {
                                     "GetError",
                                     "LightModelfv 0xb53",
                                     "ShadeModel",
                                     "ClearColor",
                                     "Clear 0x4100",
                                     "GetError",
                                     "MatrixMode 0x1701",
                                     "LoadIdentity",
                                     "Ortho -50 50 -25 25",
                                     "GetFloatv 0xba7",
                                     "MatrixMode 0x1700",
                                     "LoadIdentity",
                                     "GluLookAt 0 0 10 0 0 9 0 1 0",
                                     "GetFloatv 0xba6",
                                     "GetError",
                                     "GetIntegerv 0xd31",
                                     "PushMatrix",
                                     "PopMatrix",
                                     "Materialfv",
                                     "PushMatrix",
                                     "NewList",
                                     "Begin 0x7",
                                     "PopMatrix",
                                     "AlphaFunc 0x204 0",
                                     "GetError",
                                 });
    EXPECT_EQ(on.Context.Swaps, 1);
    EXPECT_EQ(on.Buffer.FrameCount(), 1);
    EXPECT_EQ(on.Context.Activations, on.Context.Deactivations) << "the frame leaves the context as it found it";
}

// A driver error ends the frame with EOpenGLError (the window reports it
// and skips the frame); the buffer is left ready for the next one.
TEST(SceneBuffer, AFailedFrameLeavesTheBufferReadyForTheNext)
{
    TRecordedScene on;
    on.MakeContext();
    // The first read is the clean-up before the frame; the error shows after the clear.
    on.Log.PendingErrors = {GL_NO_ERROR, GL_INVALID_ENUM};
    EXPECT_THROW(on.Buffer.RenderFrame(), EOpenGLError);
    EXPECT_FALSE(on.Buffer.Rendering());
    EXPECT_FALSE(on.Context.Active());
    EXPECT_EQ(on.Buffer.FrameCount(), 0);
    on.Buffer.RenderFrame();
    EXPECT_EQ(on.Buffer.FrameCount(), 1);
}

TEST(SceneBuffer, ClearsTheBuffersItsOptionsName)
{
    struct Case {
        TContextOptions Options;
        const char* Clear;
        int Swaps;
    };
    const Case cases[] = {
        {{TContextOption::roDoubleBuffer}, "Clear 0x4100", 1},
        {{TContextOption::roNoColorBufferClear}, "Clear 0x100", 1},
        {{TContextOption::roNoColorBuffer, TContextOption::roNoSwapBuffers}, "Clear 0x100", 0},
        {{TContextOption::roStencilBuffer}, "Clear 0x4500", 1},
    };
    for (const Case& c : cases) {
        TRecordedScene on;
        on.Buffer.SetContextOptions(c.Options);
        on.MakeContext();
        on.Log.Take();
        on.Buffer.RenderFrame();
        const Calls calls = on.Log.Take();
        EXPECT_EQ(std::count_if(calls.begin(), calls.end(), [](const std::string& s) { return s.rfind("Clear 0x", 0) == 0; }), 1);
        EXPECT_NE(std::find(calls.begin(), calls.end(), c.Clear), calls.end()) << c.Clear;
        EXPECT_EQ(on.Context.Swaps, c.Swaps) << c.Clear;
    }
}

// What repaints, what makes the context again, and what does neither.
TEST(SceneBuffer, SettersRepaintOrRecreateOnlyOnAChange)
{
    struct Case {
        const char* Change;
        std::function<void(TRecordedScene&)> Apply;
        int Repaints;
        int Recreations;
    };
    const Case cases[] = {
        {"same background", [](TRecordedScene& on) { on.Buffer.SetBackgroundColor(on.Buffer.BackgroundColor()); }, 0, 0},
        {"new background", [](TRecordedScene& on) { on.Buffer.SetBackgroundColor(0x00FF0000); }, 1, 0},
        {"depth test", [](TRecordedScene& on) { on.Buffer.SetDepthTest(false); }, 1, 0},
        {"ambient red", [](TRecordedScene& on) { on.Buffer.AmbientColor().SetRed(0.5f); }, 1, 0},
        {"fog start", [](TRecordedScene& on) { on.Buffer.FogEnvironment().SetFogStart(3.0f); }, 1, 0},
        {"same options",
         [](TRecordedScene& on) { on.Buffer.SetContextOptions(on.Buffer.ContextOptions()); }, 0, 0},
        {"stencil option",
         [](TRecordedScene& on) {
             on.Buffer.SetContextOptions({TContextOption::roDoubleBuffer, TContextOption::roStencilBuffer});
         },
         0, 1},
        {"anti-aliasing", [](TRecordedScene& on) { on.Buffer.SetAntiAliasing(TGLAntiAliasing::aa4x); }, 0, 1},
        {"depth precision", [](TRecordedScene& on) { on.Buffer.SetDepthPrecision(TGLDepthPrecision::dp16bits); }, 0, 1},
        {"scene scale", [](TRecordedScene& on) { on.Camera.SetSceneScale(4.0f); }, 1, 0},
        {"same scene scale", [](TRecordedScene& on) { on.Camera.SetSceneScale(1.0f); }, 0, 0},
        {"inside an update",
         [](TRecordedScene& on) {
             on.Scene.BeginUpdate();
             on.Camera.SetSceneScale(2.0f);
             on.Camera.SetSceneScale(3.0f);
             on.Scene.EndUpdate();
         },
         1, 0},
    };
    for (const Case& c : cases) {
        TRecordedScene on;
        on.Host.Repaints = 0;
        c.Apply(on);
        EXPECT_EQ(on.Host.Repaints, c.Repaints) << c.Change;
        EXPECT_EQ(on.Host.Recreations, c.Recreations) << c.Change;
    }
}

TEST(SceneBuffer, TakesOnlyACameraOfAScene)
{
    TRecordedScene on;
    TGLCamera loose;
    on.Buffer.SetCamera(&loose);
    EXPECT_EQ(on.Buffer.Camera(), &on.Camera);

    // A camera that leaves its scene leaves the buffer too.
    auto& second = on.Scene.Cameras().AddNewChild<TGLCamera>();
    on.Buffer.SetCamera(&second);
    EXPECT_EQ(on.Buffer.Camera(), &second);
    on.Scene.Cameras().Remove(second, false);
    EXPECT_EQ(on.Buffer.Camera(), nullptr);
    EXPECT_TRUE(on.Scene.Buffers().empty());
}

TEST(SceneBuffer, ResizeKeepsAtLeastOnePixel)
{
    TRecordedScene on;
    on.Buffer.Resize(0, -4);
    EXPECT_EQ(on.Buffer.ViewPort().Width, 1);
    EXPECT_EQ(on.Buffer.ViewPort().Height, 1);
    EXPECT_TRUE(on.Log.Take().empty()) << "no OpenGL call without a context";
    on.MakeContext();
    on.Log.Take();
    on.Buffer.Resize(300, 200);
    EXPECT_EQ(on.Log.Take(), Calls{"Viewport 0 0 300 200"});
}

// Fog is drawn only when enabled, with the density of the exponential
// modes taken from the fog colour's alpha.
TEST(SceneBuffer, AppliesTheFogEnvironmentOnlyWhenFogIsOn)
{
    TRecordedScene on;
    on.MakeContext();
    on.Log.Take();
    on.Buffer.RenderFrame();
    Calls calls = on.Log.Take();
    EXPECT_EQ(std::find_if(calls.begin(), calls.end(), [](const std::string& s) { return s.rfind("Fog", 0) == 0; }),
              calls.end());

    on.Buffer.SetFogEnable(true);
    TGLFogEnvironment& fog = on.Buffer.FogEnvironment();
    fog.SetFogMode(TFogMode::fmExp2);
    fog.FogColor().SetColor({0.5f, 0.5f, 0.5f, 0.25f});
    fog.SetFogEnd(200.0f);
    on.Buffer.RenderFrame();
    ExpectInOrder(on.Log.Take(), {
                                     "Enable 0xb60",
                                     "GluLookAt",
                                     "Fogi 0xb65 2049",
                                     "Fogf 0xb62 0.25",
                                     "Fogfv 0xb66 0.5 0.5 0.5 0.25",
                                     "Fogf 0xb63 10",
                                     "Fogf 0xb64 200",
                                     "AlphaFunc 0x204 0",
                                 });
}

} // namespace
