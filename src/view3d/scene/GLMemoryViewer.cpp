#include "view3d/scene/GLMemoryViewer.h"

#include <algorithm>

TGLNonVisualViewer::TGLNonVisualViewer()
{
    SceneBuffer.SetHost(this);
    SceneBuffer.Resize(WidthValue, HeightValue);
}

TGLNonVisualViewer::~TGLNonVisualViewer()
{
    SceneBuffer.SetHost(nullptr);
}

void TGLNonVisualViewer::SetWidth(int value)
{
    value = std::max(value, 1);
    if (value == WidthValue)
        return;
    WidthValue = value;
    SceneBuffer.Resize(WidthValue, HeightValue);
    SizeChanged();
}

void TGLNonVisualViewer::SetHeight(int value)
{
    value = std::max(value, 1);
    if (value == HeightValue)
        return;
    HeightValue = value;
    SceneBuffer.Resize(WidthValue, HeightValue);
    SizeChanged();
}

TGLMemoryViewer::TGLMemoryViewer() = default;

TGLMemoryViewer::~TGLMemoryViewer()
{
    // Before the context goes, while the buffer can still let go of it.
    RecreateContext();
}

void TGLMemoryViewer::RecreateContext()
{
    if (Context.IsValid())
        Buffer().DestroyRenderingContext(Context);
}

void TGLMemoryViewer::Render(TGLBaseSceneObject* baseObject)
{
    if (!Context.IsValid())
        Buffer().CreateRenderingContext(Context, nullptr, Width(), Height());
    Context.Activate();
    try {
        Buffer().RenderFrame(baseObject);
    } catch (...) {
        Context.SetActive(false);
        throw;
    }
    Context.Deactivate();
}

QImage TGLMemoryViewer::Image()
{
    return Context.Image();
}
