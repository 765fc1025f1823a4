#include "view3d/context/GLFrameRenderer.h"

#include "view3d/opengl/GLContext.h"

void TGLFrameRenderer::CreateRenderingContext(TGLContext& context, TGLDevice* device, int width, int height)
{
    if (device != nullptr)
        context.CreateContext(*device);
    else
        context.CreateMemoryContext(width, height);
}

void TGLFrameRenderer::DestroyRenderingContext(TGLContext& context)
{
    context.DestroyContext();
}
