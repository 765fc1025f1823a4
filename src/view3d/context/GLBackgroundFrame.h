#pragma once

// A frame with nothing in it but the background: what an empty scene shows.

#include "cad/base/Settings.h"
#include "view3d/context/GLFrameRenderer.h"

class TGLBackgroundFrame : public TGLFrameRenderer {
public:
    void Resize(int width, int height) override;
    void RenderFrame() override;

    // 0x00BBGGRR, or a negative system colour.
    TColor BackgroundColor = 0;
    int Width() const { return WidthValue; }
    int Height() const { return HeightValue; }

private:
    int WidthValue = 1;
    int HeightValue = 1;
};
