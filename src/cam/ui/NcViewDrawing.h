#pragma once

// While one of these lives, the simulation draws its moves onto the 2D
// view's screen image through the view's current mapping.

#include <optional>

#include "cad/canvas/ImageCanvas.h"
#include "cam/simulation/NcSimulation.h"

class TCADViewportCore;

class TNcViewDrawing {
public:
    TNcViewDrawing(TCADViewportCore& view, TNcSimulation& sim);
    ~TNcViewDrawing();
    TNcViewDrawing(const TNcViewDrawing&) = delete;
    TNcViewDrawing& operator=(const TNcViewDrawing&) = delete;

private:
    TNcSimulation& sim_;
    TNcDrawing* previous_;
    TImageCanvas::TScope scope_;
    std::optional<TNcPainterDrawing> drawing_;
};
