#pragma once

// A rendering context for tests without a display: its platform side only
// counts what reaches it.

#include "view3d/opengl/GLContext.h"
#include "view3d/opengl/GLErrors.h"

class TFakeContext : public TGLContext {
public:
    ~TFakeContext() override { DestroyQuietly(); }
    bool IsValid() const override { return Created; }
    void SwapBuffers() override { ++Swaps; }

    int Activations = 0;
    int Deactivations = 0;
    int Swaps = 0;
    bool Created = false;
    bool FailActivation = false;

protected:
    void DoCreateContext(TGLDevice&) override { Created = true; }
    void DoCreateMemoryContext(int, int) override { Created = true; }
    void DoShareLists(TGLContext&) override {}
    void DoDestroyContext() override { Created = false; }
    void DoActivate() override
    {
        if (FailActivation)
            throw EGLContextError("Context activation failed: 0, refused");
        ++Activations;
    }
    void DoDeactivate() override { ++Deactivations; }
};
