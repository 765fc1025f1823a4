#include "view3d/scene/ContextOptions.h"

namespace {

int ColorBitsOf(TGLColorDepth depth)
{
    switch (depth) {
    case TGLColorDepth::cd8bits:
        return 8;
    case TGLColorDepth::cd16bits:
        return 16;
    case TGLColorDepth::cdDefault:
    case TGLColorDepth::cd24bits:
        break;
    }
    return 24;
}

int DepthBitsOf(TGLDepthPrecision precision)
{
    switch (precision) {
    case TGLDepthPrecision::dp16bits:
        return 16;
    case TGLDepthPrecision::dp32bits:
        return 32;
    case TGLDepthPrecision::dpDefault:
    case TGLDepthPrecision::dp24bits:
        break;
    }
    return 24;
}

} // namespace

void RequestPixelFormat(TGLContext& context, const TGLPixelFormatRequest& request)
{
    const TContextOptions options = request.Options;
    context.SetOptions({.DoubleBuffered = options.Has(TContextOption::roDoubleBuffer),
                        .Stereo = options.Has(TContextOption::roStereo)});
    context.SetColorBits(options.Has(TContextOption::roNoColorBuffer) ? 0 : ColorBitsOf(request.ColorDepth));
    context.SetDepthBits(DepthBitsOf(request.DepthPrecision));
    context.SetStencilBits(options.Has(TContextOption::roStencilBuffer) ? 8 : 0);
    context.SetAlphaBits(options.Has(TContextOption::roDestinationAlpha) ? 8 : 0);
    context.SetAccumBits(request.AccumBufferBits);
    context.SetAuxBuffers(0);
    context.SetAntiAliasing(request.AntiAliasing);
}

GLbitfield ClearBitsFor(TContextOptions options)
{
    GLbitfield bits = GL_DEPTH_BUFFER_BIT;
    if (!options.Has(TContextOption::roNoColorBuffer) && !options.Has(TContextOption::roNoColorBufferClear))
        bits |= GL_COLOR_BUFFER_BIT;
    if (options.Has(TContextOption::roStencilBuffer))
        bits |= GL_STENCIL_BUFFER_BIT;
    return bits;
}

GLenum ShadeModelOf(TGLShadeModel model)
{
    return model == TGLShadeModel::smFlat ? GL_FLAT : GL_SMOOTH;
}
