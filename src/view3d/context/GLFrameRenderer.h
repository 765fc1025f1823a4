#pragma once

// What a viewer or a memory context draws each frame. The viewer gives it
// the size and a current context; the scene decides what the frame holds.

class TGLContext;
class TGLDevice;
class TGLFrameRenderer;

// The window that shows the frames, as the renderer sees it.
class TGLFrameHost {
public:
    virtual ~TGLFrameHost() = default;
    // What the frame shows changed: paint again soon.
    virtual void Repaint() = 0;
    // The renderer asks for another context format: make the context again.
    virtual void RecreateContext() = 0;
    // The renderer is going (called from its destructor, while it still
    // works): stop drawing with it.
    virtual void RendererGone(TGLFrameRenderer& renderer) = 0;
};

class TGLFrameRenderer {
public:
    virtual ~TGLFrameRenderer() = default;
    // Device pixels; a size of 0 is taken as 1.
    virtual void Resize(int width, int height) = 0;
    // Runs with the context current.
    virtual void RenderFrame() = 0;

    // Makes the platform context: on the window device, or without one a
    // memory context of the size. The renderer may set its format first and
    // prepare the new context. Raises what the context raises.
    virtual void CreateRenderingContext(TGLContext& context, TGLDevice* device, int width, int height);
    // Before the platform context goes; also when it goes with its window.
    virtual void DestroyRenderingContext(TGLContext& context);

    // The window showing the frames, or null; it outlives the renderer's use of it.
    void SetHost(TGLFrameHost* host) { Host = host; }

protected:
    TGLFrameHost* FrameHost() const { return Host; }

private:
    TGLFrameHost* Host = nullptr;
};
