#pragma once

// The rendering context on Qt: either the context of a window (a viewer
// widget makes and owns it; this class drives it), or a memory context of
// its own that draws into a framebuffer object on an offscreen surface.

#include <memory>
#include <optional>

#include <QImage>
#include <QPointer>
#include <QSurfaceFormat>

#include "view3d/opengl/GLContext.h"

class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;

// A window whose platform context the rendering context uses.
class TGLWindowDevice : public TGLDevice {
public:
    // Null until the window has made its context (on its first show).
    virtual QOpenGLContext* PlatformContext() const = 0;
    virtual void MakeCurrent() = 0;
    // Does nothing while the window paints: the window releases its context itself then.
    virtual void DoneCurrent() = 0;
};

// The surface format that the context's settings ask for.
QSurfaceFormat SurfaceFormatOf(const TGLContext& context);

class TGLQtContext : public TGLContext {
public:
    TGLQtContext();
    ~TGLQtContext() override;

    bool IsValid() const override;
    // Qt presents the frame itself.
    void SwapBuffers() override {}
    TGLDevice* RenderOutputDevice() const { return Window; }

    // The memory context's picture.
    QImage Image();

protected:
    void DoCreateContext(TGLDevice& device) override;
    void DoCreateMemoryContext(int width, int height) override;
    void DoShareLists(TGLContext& other) override;
    void DoDestroyContext() override;
    void DoActivate() override;
    void DoDeactivate() override;

private:
    QOpenGLContext* Platform() const;
    void ReadDriverTables();

    TGLWindowDevice* Window = nullptr;
    QPointer<QOpenGLContext> WindowContext;
    std::unique_ptr<QOffscreenSurface> MemorySurface;
    std::unique_ptr<QOpenGLContext> MemoryContext;
    std::unique_ptr<QOpenGLFramebufferObject> MemoryBuffer;
};
