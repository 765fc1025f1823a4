#include "cam/ui/NcViewDrawing.h"

#include "cad/view/CADViewportCore.h"

TNcViewDrawing::TNcViewDrawing(TCADViewportCore& view, TNcSimulation& sim)
    : sim_(sim), previous_(sim.Drawing), scope_(view.OnScreen())
{
    if (QPainter* painter = scope_.Canvas().GetPainter()) {
        drawing_.emplace(*painter, view.GetWorldToScreen());
        sim_.Drawing = &*drawing_;
    }
}

TNcViewDrawing::~TNcViewDrawing()
{
    sim_.Drawing = previous_;
}
