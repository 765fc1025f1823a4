#pragma once

// Draws one frame into a memory context of its own and returns the picture:
// the same frame a viewer shows, without a window.

#include <QImage>

class TGLFrameRenderer;
class TGLQtContext;

// The context's format settings are used; it is created for the size, used
// and destroyed again. Raises EGLContextError or EOpenGLError.
QImage RenderToImage(TGLQtContext& context, TGLFrameRenderer& renderer, int width, int height);
