#include "view3d/context/MemoryRender.h"

#include "view3d/context/GLFrameRenderer.h"
#include "view3d/context/GLQtContext.h"
#include "view3d/opengl/GLErrors.h"

QImage RenderToImage(TGLQtContext& context, TGLFrameRenderer& renderer, int width, int height)
{
    context.CreateMemoryContext(width, height);
    try {
        context.Activate();
        renderer.Resize(width, height);
        renderer.RenderFrame();
        CheckOpenGLError();
        context.Deactivate();
        QImage image = context.Image();
        context.DestroyContext();
        return image;
    } catch (...) {
        context.DestroyContext();
        throw;
    }
}
