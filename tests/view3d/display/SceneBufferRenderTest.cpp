#include <filesystem>
#include <vector>

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>

#include "support/PicturesOnMesa.h"
#include "support/TestSceneObjects.h"
#include "view3d/context/GLQtContext.h"
#include "view3d/context/MemoryRender.h"
#include "view3d/objects/Cube.h"
#include "view3d/objects/Lines.h"
#include "view3d/opengl/GLFunctions.h"
#include "view3d/scene/GLCamera.h"
#include "view3d/scene/GLLightSource.h"
#include "view3d/scene/GLMemoryViewer.h"
#include "view3d/scene/GLScene.h"
#include "view3d/scene/GLSceneBuffer.h"

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 100;
const QColor kBackground(0x80, 0x40, 0x20);

// An orthogonal camera 10 units above the origin looking down -Z with +Y up;
// with focal length 1 the 200-pixel width spans 100 / SceneScale units.
struct TTopViewScene {
    TTopViewScene()
        : Camera(Scene.Cameras().AddNewChild<TGLCamera>())
    {
        Camera.SetCameraStyle(TGLCameraStyle::csOrthogonal);
        Camera.SetFocalLength(1.0f);
        Camera.SetPosition({0.0f, 0.0f, 10.0f, 1.0f});
        Camera.SetDirection({0.0f, 0.0f, -1.0f, 0.0f});
        Buffer.SetCamera(&Camera);
        Buffer.SetBackgroundColor(0x00204080);
        Buffer.SetFaceCulling(false);
    }
    TGLScene Scene;
    TGLCamera& Camera;
    TGLSceneBuffer Buffer;
    TGLQtContext Context;
};

bool Near(const QColor& a, const QColor& b, int tolerance = 3)
{
    return NearColour(a, b, tolerance);
}

// The square spans world X -20..20: 40 units of the 100 the width shows, so
// pixels 60..140, and of the 50 the height shows, rows 10..90. At SceneScale
// 2 the view halves: columns 20..180, and every row.
TEST(SceneBufferRender, DrawsTheSceneThroughItsCameraIntoTheMemoryContext)
{
    TTopViewScene on;
    on.Buffer.SetLighting(false);
    on.Scene.Objects().AddNewChild<TTestSquare>(20.0f, Vector4f{0.0f, 1.0f, 0.0f, 1.0f});

    const QImage frame = RenderToImage(on.Context, on.Buffer, kWidth, kHeight);
    SavePicture(frame, "scene-buffer-square.png");
    ASSERT_EQ(frame.size(), QSize(kWidth, kHeight));
    EXPECT_TRUE(Near(frame.pixelColor(2, 2), kBackground)) << frame.pixelColor(2, 2).name().toStdString();
    const QColor green(0, 255, 0);
    EXPECT_TRUE(Near(frame.pixelColor(57, 50), kBackground));
    EXPECT_TRUE(Near(frame.pixelColor(63, 50), green));
    EXPECT_TRUE(Near(frame.pixelColor(137, 50), green));
    EXPECT_TRUE(Near(frame.pixelColor(143, 50), kBackground));
    EXPECT_TRUE(Near(frame.pixelColor(100, 7), kBackground));
    EXPECT_TRUE(Near(frame.pixelColor(100, 13), green));
    EXPECT_TRUE(Near(frame.pixelColor(100, 92), kBackground));

    on.Camera.SetSceneScale(2.0f);
    const QImage zoomed = RenderToImage(on.Context, on.Buffer, kWidth, kHeight);
    EXPECT_TRUE(Near(zoomed.pixelColor(17, 50), kBackground));
    EXPECT_TRUE(Near(zoomed.pixelColor(23, 50), green));
    EXPECT_TRUE(Near(zoomed.pixelColor(100, 1), green));
    EXPECT_EQ(on.Buffer.FrameCount(), 2);
}

// The light, a child of the camera as in the program, shades a square that
// faces it; switched off, only the ambient light is left. A parallel light
// sends the same light to every vertex, so the centre shows it exactly.
TEST(SceneBufferRender, LightsTheSceneFromItsLightSlots)
{
    TTopViewScene on;
    auto& light = on.Camera.AddNewChild<TGLLightSource>();
    light.SetLightStyle(TLightStyle::lsParallel);
    on.Scene.Objects().AddNewChild<TTestSquare>(25.0f, Vector4f{0.0f, 0.0f, 1.0f, 1.0f});

    const QImage lit = RenderToImage(on.Context, on.Buffer, kWidth, kHeight);
    light.SetShining(false);
    const QImage dark = RenderToImage(on.Context, on.Buffer, kWidth, kHeight);
    SavePicture(lit, "scene-buffer-lit.png");
    // The default material: diffuse 0.8 under a white light, ambient 0.2 x 0.2.
    EXPECT_TRUE(Near(lit.pixelColor(100, 50), QColor(214, 214, 214), 6)) << lit.pixelColor(100, 50).name().toStdString();
    EXPECT_TRUE(Near(dark.pixelColor(100, 50), QColor(10, 10, 10), 6)) << dark.pixelColor(100, 50).name().toStdString();
}

// Picking draws only the pick rectangle, naming each object; the selection
// buffer then holds the name of the line under the rectangle and no other.
TEST(SceneBufferRender, APickRectangleOverALineNamesThatLine)
{
    TTopViewScene on;
    auto& lower = on.Scene.Objects().AddNewChild<TTestLine>(Vector3f{-30, -10, 0}, Vector3f{30, -10, 0},
                                                            Vector4f{1, 0, 0, 1});
    auto& upper = on.Scene.Objects().AddNewChild<TTestLine>(Vector3f{-30, 10, 0}, Vector3f{30, 10, 0},
                                                            Vector4f{0, 0, 1, 1});
    on.Buffer.CreateRenderingContext(on.Context, nullptr, kWidth, kHeight);
    on.Context.Activate();

    // World Y -10 is pixel row 70 from the top; Y 10 is row 30.
    const auto pick = [&](int row) {
        std::vector<GLuint> records(64);
        GL().SelectBuffer(static_cast<GLsizei>(records.size()), records.data());
        GL().RenderMode(GL_SELECT);
        GL().InitNames();
        GL().PushName(0);
        const TGLPickRectangle rectangle{95, row - 3, 105, row + 3};
        on.Buffer.RenderScene(on.Buffer.ViewPort(), 96.0f, nullptr, TDrawState::dsPicking, &rectangle);
        const GLint hits = GL().RenderMode(GL_RENDER);
        std::vector<GLuint> names;
        std::size_t at = 0;
        for (GLint hit = 0; hit < hits; ++hit) {
            const GLuint count = records[at];
            for (GLuint i = 0; i < count; ++i)
                names.push_back(records[at + 3 + i]);
            at += 3 + count;
        }
        return names;
    };
    EXPECT_EQ(pick(70), std::vector<GLuint>{lower.PickName()});
    EXPECT_EQ(pick(30), std::vector<GLuint>{upper.PickName()});
    EXPECT_TRUE(pick(50).empty());
    on.Context.Deactivate();
    on.Buffer.DestroyRenderingContext(on.Context);
}

// The memory viewer keeps its context between frames, and makes it again
// when its size changes.
TEST(SceneBufferRender, TheMemoryViewerRendersIntoItsOwnContext)
{
    TGLScene scene;
    auto& camera = scene.Cameras().AddNewChild<TGLCamera>();
    camera.SetCameraStyle(TGLCameraStyle::csOrthogonal);
    camera.SetFocalLength(1.0f);
    camera.SetPosition({0.0f, 0.0f, 10.0f, 1.0f});
    scene.Objects().AddNewChild<TTestSquare>(10.0f, Vector4f{1.0f, 1.0f, 0.0f, 1.0f});
    TGLMemoryViewer viewer;
    viewer.SetCamera(&camera);
    viewer.Buffer().SetLighting(false);
    viewer.Buffer().SetBackgroundColor(0x000000FF);
    viewer.Render();
    QImage image = viewer.Image();
    ASSERT_EQ(image.size(), QSize(256, 256));
    EXPECT_TRUE(Near(image.pixelColor(128, 128), QColor(255, 255, 0)));
    EXPECT_TRUE(Near(image.pixelColor(5, 5), QColor(255, 0, 0)));

    viewer.SetWidth(64);
    EXPECT_FALSE(viewer.RenderingContext().IsValid());
    viewer.Render();
    image = viewer.Image();
    ASSERT_EQ(image.size(), QSize(64, 256));
    EXPECT_TRUE(Near(image.pixelColor(32, 128), QColor(255, 255, 0)));

    // Frozen, it shows the picture it held, whatever the scene does; melted, the scene again.
    viewer.Buffer().Freeze();
    viewer.Buffer().SetBackgroundColor(0x00FF0000);
    viewer.Render();
    image = viewer.Image();
    EXPECT_TRUE(Near(image.pixelColor(5, 5), QColor(255, 0, 0))) << image.pixelColor(5, 5).name().toStdString();
    EXPECT_TRUE(Near(image.pixelColor(32, 128), QColor(255, 255, 0)));
    viewer.Buffer().Melt();
    viewer.Render();
    image = viewer.Image();
    EXPECT_TRUE(Near(image.pixelColor(5, 5), QColor(0, 0, 255)));
}

// The scene of the 3D view in small: a lit cube, a line set coloured by its
// nodes and an object's axes, seen from above through the memory context.
// World (x, y) lands on pixel (100 + 2x, 75 - 2y).
TEST(SceneBufferRender, ALitCubeColouredLinesAndAxes)
{
    TTopViewScene on;
    on.Camera.SetPosition({0.0f, 0.0f, 50.0f, 1.0f});
    on.Camera.AddNewChild<TGLLightSource>().SetLightStyle(TLightStyle::lsParallel);
    on.Buffer.SetBackgroundColor(0x00FFFFFF);
    auto& cube = on.Scene.Objects().AddNewChild<TGLCube>();
    cube.SetCubeWidth(20.0f);
    cube.SetCubeHeight(20.0f);
    cube.SetCubeDepth(20.0f);
    cube.Material().FrontProperties().Diffuse().SetColor({1.0f, 0.0f, 0.0f, 1.0f});
    auto& lines = on.Scene.Objects().AddNewChild<TGLLines>();
    lines.SetNodesAspect(TLineNodesAspect::lnaInvisible);
    lines.SetOption(TLinesOption::loUseNodeColorForLines, true);
    lines.SetLineWidth(3.0f);
    lines.AddNode({-40.0f, -30.0f, 0.0f}).Color().SetColor({0.0f, 1.0f, 0.0f, 1.0f});
    lines.AddNode({40.0f, -30.0f, 0.0f}).Color().SetColor({0.0f, 0.0f, 1.0f, 1.0f});
    auto& marker = on.Scene.Objects().AddNewChild<TGLBaseSceneObject>();
    marker.SetPosition({-30.0f, 25.0f, 0.0f, 1.0f});
    marker.SetShowAxes(true);

    const QImage frame = RenderToImage(on.Context, on.Buffer, kWidth, 150);
    SavePicture(frame, "scene-cube-lines-axes.png");
    // The cube's top faces the light: its diffuse red, and the ambient 0.2 x 0.2.
    EXPECT_TRUE(Near(frame.pixelColor(100, 75), QColor(255, 10, 10), 6)) << frame.pixelColor(100, 75).name().toStdString();
    EXPECT_TRUE(Near(frame.pixelColor(100, 52), QColor(255, 255, 255)));
    // The line runs from green to blue.
    const QColor start = frame.pixelColor(24, 135);
    const QColor end = frame.pixelColor(176, 135);
    EXPECT_GT(start.green(), 200) << start.name().toStdString();
    EXPECT_LT(start.blue(), 40);
    EXPECT_GT(end.blue(), 200) << end.name().toStdString();
    EXPECT_LT(end.green(), 40);
    // The stippled X axis runs red to the right of the marker.
    int red = 0;
    for (int x = 42; x < 100; ++x)
        for (int y = 24; y <= 26; ++y)
            red += Near(frame.pixelColor(x, y), QColor(255, 0, 0), 40) ? 1 : 0;
    EXPECT_GT(red, 15);

    // Seen from a corner, the faces turned from the light are darker. The
    // light follows the camera's own Direction, which is set towards the
    // target as the 3D view sets it: Up alone would leave it parallel.
    on.Camera.SetUp({0.0f, 0.0f, 1.0f, 0.0f});
    on.Camera.SetDirection({-60.0f, 80.0f, -70.0f, 0.0f});
    on.Camera.SetPosition({60.0f, -80.0f, 70.0f, 1.0f});
    on.Camera.SetTargetObject(&cube);
    on.Camera.SetSceneScale(1.5f);
    on.Camera.SetDepthOfView(300.0f);
    const QImage corner = RenderToImage(on.Context, on.Buffer, kWidth, 150);
    SavePicture(corner, "scene-cube-lines-axes-corner.png");
    const QColor top = corner.pixelColor(100, 50);
    const QColor front = corner.pixelColor(90, 95);
    const QColor side = corner.pixelColor(120, 95);
    for (const QColor& face : {top, front, side}) {
        EXPECT_GT(face.red(), 60) << face.name().toStdString();
        EXPECT_LT(face.green(), 30) << face.name().toStdString();
    }
    EXPECT_NE(top.red(), front.red());
    EXPECT_NE(front.red(), side.red());
}

} // namespace
