#pragma once

// Draws one frame into a memory context of its own and returns the picture:
// the same frame a viewer shows, without a window.

#include <QImage>

class TGLFrameRenderer;
class TGLQtContext;

// The renderer makes the context for the size (by default with the context's
// own format settings); it is used and destroyed again. Raises
// EGLContextError or EOpenGLError.
QImage RenderToImage(TGLQtContext& context, TGLFrameRenderer& renderer, int width, int height);
