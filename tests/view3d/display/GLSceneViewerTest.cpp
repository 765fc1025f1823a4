#include <memory>

#include <QImage>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "support/TestSceneObjects.h"
#include "view3d/opengl/GLContextHandle.h"
#include "view3d/opengl/GLFunctions.h"
#include "view3d/scene/GLCamera.h"
#include "view3d/scene/GLScene.h"
#include "view3d/scene/GLSceneBuffer.h"
#include "view3d/ui/GLSceneViewer.h"

namespace {

// The viewer on a window, hidden at first, as the main window holds it.
struct TViewerWindow {
    TViewerWindow()
        : Window(std::make_unique<QWidget>())
        , Viewer(new TGLSceneViewer(Window.get()))
    {
        Window->resize(320, 240);
        Viewer->setGeometry(10, 10, 200, 150);
        Viewer->Background().BackgroundColor = 0x00204080; // red 0x80, green 0x40, blue 0x20
        Viewer->hide();
    }
    std::unique_ptr<QWidget> Window;
    TGLSceneViewer* Viewer;
};

TEST(GLSceneViewer, MakesItsContextOnFirstShowAndDrawsTheBackground)
{
    TViewerWindow on;
    on.Window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(on.Window.get()));
    EXPECT_FALSE(on.Viewer->RenderingContext().IsValid()) << "a hidden viewer has no context yet";

    on.Viewer->show();
    QTest::qWait(50);
    const QImage frame = on.Viewer->grabFramebuffer();
    ASSERT_TRUE(on.Viewer->RenderingContext().IsValid());
    ASSERT_EQ(frame.size(), QSize(200, 150));
    EXPECT_EQ(frame.pixelColor(0, 0), QColor(0x80, 0x40, 0x20));
    EXPECT_EQ(frame.pixelColor(199, 149), QColor(0x80, 0x40, 0x20));
    EXPECT_EQ(on.Viewer->RenderingContext().Acceleration(), TGLAcceleration::Software);

    // Resized: the whole new size is drawn.
    on.Viewer->resize(260, 90);
    const QImage wider = on.Viewer->grabFramebuffer();
    ASSERT_EQ(wider.size(), QSize(260, 90));
    EXPECT_EQ(wider.pixelColor(259, 89), QColor(0x80, 0x40, 0x20));

    // Nothing to draw on, and nothing raised.
    on.Viewer->resize(0, 0);
    on.Viewer->update();
    QTest::qWait(50);
    EXPECT_TRUE(on.Viewer->FrameFailure().isEmpty()) << on.Viewer->FrameFailure().toStdString();
}

TEST(GLSceneViewer, FreesItsDisplayListsWhenItsWindowGoes)
{
    TViewerWindow on;
    on.Viewer->show();
    on.Window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(on.Window.get()));
    on.Viewer->grabFramebuffer();
    TGLQtContext& context = on.Viewer->RenderingContext();
    ASSERT_TRUE(context.IsValid());
    TGLListHandle list;
    context.Activate();
    list.AllocateHandle();
    context.Deactivate();
    ASSERT_NE(list.Handle(), 0u);

    // Moved to another window, the widget's context is remade: the lists go first.
    QWidget other;
    on.Viewer->setParent(&other);
    EXPECT_EQ(list.Handle(), 0u);
    EXPECT_FALSE(context.IsValid());
    EXPECT_TRUE(on.Viewer->FrameFailure().isEmpty()) << on.Viewer->FrameFailure().toStdString();
    on.Viewer->show();
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    on.Viewer->grabFramebuffer();
    ASSERT_TRUE(context.IsValid()) << "made again on the new window";
    context.Activate();
    list.AllocateHandle();
    context.Deactivate();

    // Destroyed with its window.
    delete on.Viewer;
    EXPECT_EQ(list.Handle(), 0u);
    EXPECT_EQ(list.RenderingContext(), nullptr);
}

// A driver error in a frame is reported once and the frame skipped; the
// paint never lets it out, and the next good frame draws again.
TEST(GLSceneViewer, AFailedFrameIsReportedOnceAndSkipped)
{
    TViewerWindow on;
    on.Viewer->show();
    on.Window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(on.Window.get()));
    on.Viewer->grabFramebuffer();
    ASSERT_TRUE(on.Viewer->FrameFailure().isEmpty());

    TGLFunctions failing = PlatformGLFunctions();
    failing.Viewport = [](GLint, GLint, GLsizei, GLsizei) { glViewport(0, 0, -1, -1); };
    SetGLFunctions(failing);
    on.Viewer->grabFramebuffer();
    on.Viewer->grabFramebuffer();
    SetGLFunctions(PlatformGLFunctions());
    EXPECT_EQ(on.Viewer->FrameFailure(), QStringLiteral("invalid value"));
    EXPECT_FALSE(on.Viewer->RenderingContext().Active());

    on.Viewer->Background().BackgroundColor = 0x000000FF;
    const QImage frame = on.Viewer->grabFramebuffer();
    EXPECT_EQ(frame.pixelColor(5, 5), QColor(0xFF, 0, 0));
}

// The viewer draws a scene buffer through the frame interface: the buffer
// makes the context, a change in the scene repaints, and a buffer that goes
// first hands the viewer back to its background.
TEST(GLSceneViewer, ShowsASceneBufferAndRepaintsWhenItChanges)
{
    TViewerWindow on;
    TGLScene scene;
    auto& camera = scene.Cameras().AddNewChild<TGLCamera>();
    camera.SetCameraStyle(TGLCameraStyle::csOrthogonal);
    camera.SetFocalLength(1.0f);
    camera.SetPosition({0.0f, 0.0f, 10.0f, 1.0f});
    scene.Objects().AddNewChild<TTestSquare>(10.0f, Vector4f{1.0f, 1.0f, 1.0f, 1.0f});
    auto buffer = std::make_unique<TGLSceneBuffer>();
    buffer->SetCamera(&camera);
    buffer->SetLighting(false);
    buffer->SetBackgroundColor(0x00000080);
    on.Viewer->SetFrameRenderer(buffer.get());
    on.Viewer->show();
    on.Window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(on.Window.get()));

    QImage frame = on.Viewer->grabFramebuffer();
    EXPECT_EQ(on.Viewer->RenderingContext().IsValid(), true);
    EXPECT_EQ(buffer->RenderingContext(), &on.Viewer->RenderingContext());
    EXPECT_EQ(frame.pixelColor(100, 75), QColor(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(frame.pixelColor(3, 3), QColor(0x80, 0, 0));

    // A zoom in the scene: the viewer repaints by itself.
    QTest::qWait(50);
    const std::int64_t frames = buffer->FrameCount();
    camera.SetSceneScale(10.0f);
    QTest::qWait(100);
    EXPECT_GT(buffer->FrameCount(), frames);
    frame = on.Viewer->grabFramebuffer();
    EXPECT_EQ(frame.pixelColor(3, 3), QColor(0xFF, 0xFF, 0xFF));
    EXPECT_TRUE(on.Viewer->FrameFailure().isEmpty()) << on.Viewer->FrameFailure().toStdString();

    buffer.reset();
    frame = on.Viewer->grabFramebuffer();
    EXPECT_EQ(frame.pixelColor(100, 75), QColor(0x80, 0x40, 0x20));
    EXPECT_TRUE(on.Viewer->RenderingContext().IsValid());
}

} // namespace
