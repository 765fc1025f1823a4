#pragma once

// Helpers for the view and engine tests: a headless 2D view of a given size
// showing a given world rectangle.

#include <memory>

#include "cad/geometry/Geometry2D.h"
#include "cad/view/CADViewport2DCore.h"

namespace viewtest {

inline std::unique_ptr<TCADViewport2DCore> MakeView(int width, int height, TRect2D world, float aspect = 0.0f)
{
    auto view = std::make_unique<TCADViewport2DCore>();
    view->SetAspectRatio(aspect);
    view->Resize(width, height);
    view->ZoomWindow(world);
    return view;
}

} // namespace viewtest
