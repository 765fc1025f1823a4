#pragma once

// The window that shows the 3D scene: an OpenGL widget whose context the
// rendering context drives. Its context is made on its first show and freed,
// display lists first, when the widget's context goes (the widget destroyed,
// or moved to another window). What it draws is a frame renderer (the
// scene's buffer), which the viewer knows only through that interface.

#include <QMetaObject>
#include <QOpenGLWidget>
#include <QString>

#include "view3d/context/GLBackgroundFrame.h"
#include "view3d/context/GLQtContext.h"

class TGLSceneViewer : public QOpenGLWidget, public TGLWindowDevice, public TGLFrameHost {
    Q_OBJECT

public:
    explicit TGLSceneViewer(QWidget* parent = nullptr);
    ~TGLSceneViewer() override;

    TGLQtContext& RenderingContext() { return Context; }
    // What the frames show while no other renderer is set.
    TGLBackgroundFrame& Background() { return BackgroundFrame; }
    // Null returns to the background. The context, when it exists, is
    // released by the old renderer and made again by the new one.
    void SetFrameRenderer(TGLFrameRenderer* renderer);
    TGLFrameRenderer& FrameRenderer() const { return *Frame; }

    // The first failure of a frame, reported once; empty while all went well.
    QString FrameFailure() const { return FirstFailure; }

    QOpenGLContext* PlatformContext() const override;
    void MakeCurrent() override;
    void DoneCurrent() override;

    void Repaint() override;
    void RecreateContext() override;
    void RendererGone(TGLFrameRenderer& renderer) override;

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;

private:
    void MakeContext();
    void ReleaseContext();
    void Report(const char* failure);

    TGLQtContext Context;
    TGLBackgroundFrame BackgroundFrame;
    TGLFrameRenderer* Frame = &BackgroundFrame;
    QMetaObject::Connection ContextGoing;
    // Inside the widget's own calls, which release its context themselves.
    bool InWidgetCall = false;
    QString FirstFailure;
};

// Every window and context of the program then gets the viewer's format, and
// all share their lists; to be called before the QApplication exists.
void UseSceneViewerFormatByDefault();

// The scene viewer where this machine can draw OpenGL, else a plain widget
// that stands in its place.
QWidget* MakeSceneViewer(QWidget* parent);
