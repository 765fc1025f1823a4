#pragma once

// What a viewer or a memory context draws each frame. The viewer gives it
// the size and a current context; the scene decides what the frame holds.

class TGLFrameRenderer {
public:
    virtual ~TGLFrameRenderer() = default;
    // Device pixels; a size of 0 is taken as 1.
    virtual void Resize(int width, int height) = 0;
    // Runs with the context current.
    virtual void RenderFrame() = 0;
};
