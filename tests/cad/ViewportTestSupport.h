#pragma once

// Helpers for the view and engine tests: a headless 2D view of a given size
// showing a given world rectangle, and colour conversions.

#include <memory>

#include <QImage>

#include "cad/CADViewport2DCore.h"
#include "cad/Geometry2D.h"

namespace viewtest {

inline std::unique_ptr<TCADViewport2DCore> MakeView(int width, int height, TRect2D world, float aspect = 0.0f)
{
    auto view = std::make_unique<TCADViewport2DCore>();
    view->SetAspectRatio(aspect);
    view->Resize(width, height);
    view->ZoomWindow(world);
    return view;
}

inline QRgb Rgb(TColor color)
{
    return qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

inline bool SamePixels(const QImage& a, const QImage& b)
{
    return a.size() == b.size() && a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

} // namespace viewtest
