#include "edit/entities/LayerBackup.h"

#include "cad/drawing/CADCmp2D.h"

TLayerBackup::TLayerBackup(const TCADCmp& drawing) : CurrentLayer(drawing.CurrentLayer)
{
    for (int i = 0; i < TLayers::Count; ++i) {
        const TLayer& layer = drawing.Layers().GetLayer(i);
        Layers[static_cast<std::size_t>(i)] = {layer.Name(), layer.Visible, layer.Pen().Color, layer.Pen().Width,
                                               layer.Modified};
    }
}

void TLayerBackup::Restore(TCADCmp& drawing) const
{
    for (int i = 0; i < TLayers::Count; ++i) {
        const TLayerState& saved = Layers[static_cast<std::size_t>(i)];
        TLayer& layer = drawing.Layers().GetLayer(i);
        layer.SetName(saved.Name);
        layer.Visible = saved.Visible;
        TPenState pen = layer.Pen();
        pen.Color = saved.Color;
        pen.Width = saved.Width;
        layer.SetPen(pen);
        layer.Modified = saved.Modified;
    }
    drawing.CurrentLayer = CurrentLayer;
}
