#include "view3d/context/MemoryRender.h"

#include "view3d/context/GLFrameRenderer.h"
#include "view3d/context/GLQtContext.h"
#include "view3d/opengl/GLErrors.h"

QImage RenderToImage(TGLQtContext& context, TGLFrameRenderer& renderer, int width, int height)
{
    renderer.CreateRenderingContext(context, nullptr, width, height);
    try {
        context.Activate();
        renderer.Resize(width, height);
        renderer.RenderFrame();
        CheckOpenGLError();
        context.Deactivate();
        QImage image = context.Image();
        renderer.DestroyRenderingContext(context);
        return image;
    } catch (...) {
        renderer.DestroyRenderingContext(context);
        throw;
    }
}
