#pragma once

// Scene buffers without a window: a non-visual viewer owns a buffer of a
// given size (256 x 256 at first); the memory viewer draws it into a memory
// context of its own, made on the first render, and hands out the picture.

#include <QImage>

#include "view3d/context/GLQtContext.h"
#include "view3d/scene/GLSceneBuffer.h"

class TGLNonVisualViewer : public TGLFrameHost {
public:
    TGLNonVisualViewer();
    ~TGLNonVisualViewer() override;
    TGLNonVisualViewer(const TGLNonVisualViewer&) = delete;
    TGLNonVisualViewer& operator=(const TGLNonVisualViewer&) = delete;

    TGLSceneBuffer& Buffer() { return SceneBuffer; }
    TGLCamera* Camera() const { return SceneBuffer.Camera(); }
    void SetCamera(TGLCamera* camera) { SceneBuffer.SetCamera(camera); }

    int Width() const { return WidthValue; }
    int Height() const { return HeightValue; }
    // At least 1 pixel.
    void SetWidth(int value);
    void SetHeight(int value);

    // Draws one frame of the base object (the scene's objects when null).
    virtual void Render(TGLBaseSceneObject* baseObject = nullptr) = 0;

    // Nothing to repaint: frames are drawn only on Render.
    void Repaint() override {}
    void RendererGone(TGLFrameRenderer&) override {}

protected:
    virtual void SizeChanged() {}

private:
    TGLSceneBuffer SceneBuffer;
    int WidthValue = 256;
    int HeightValue = 256;
};

class TGLMemoryViewer : public TGLNonVisualViewer {
public:
    TGLMemoryViewer();
    ~TGLMemoryViewer() override;

    // Raises what the context raises, and the OpenGL errors of the frame.
    void Render(TGLBaseSceneObject* baseObject = nullptr) override;
    // The last frame drawn; null before the first.
    QImage Image();
    TGLQtContext& RenderingContext() { return Context; }

    // The context is made again, with the new format, on the next render.
    void RecreateContext() override;

protected:
    void SizeChanged() override { RecreateContext(); }

private:
    TGLQtContext Context;
};
