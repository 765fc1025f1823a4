#include "view3d/context/GLBackgroundFrame.h"

#include <algorithm>

#include "view3d/opengl/GLFunctions.h"
#include "view3d/utility/CrossPlatform.h"

void TGLBackgroundFrame::Resize(int width, int height)
{
    WidthValue = std::max(width, 1);
    HeightValue = std::max(height, 1);
}

void TGLBackgroundFrame::RenderFrame()
{
    const TColor colour = ColorToRGB(BackgroundColor);
    GL().Viewport(0, 0, WidthValue, HeightValue);
    GL().ClearColor(static_cast<float>(GetRValue(colour)) / 255.0f, static_cast<float>(GetGValue(colour)) / 255.0f,
                    static_cast<float>(GetBValue(colour)) / 255.0f, 1.0f);
    GL().Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}
