#include "cad/drawing/Layers.h"

#include "cad/base/CADExceptions.h"

TLayer::TLayer(int index) : NameValue("Layer_" + std::to_string(index)), IndexValue(index)
{
}

void TLayer::SetPen(const TPenState& pen)
{
    PenValue = pen;
    Modified = true;
}

void TLayer::SetBrush(const TBrushState& brush)
{
    BrushValue = brush;
    Modified = true;
}

void TLayer::SetPenColor(TColor color)
{
    PenValue.Color = color;
    Modified = true;
}

void TLayer::ApplyDefaultColor(TColor color)
{
    if (!Modified)
        PenValue.Color = color;
}

void TLayer::SetName(const std::string& name)
{
    const std::string truncated = name.substr(0, MaxNameLength);
    if (truncated == NameValue)
        return;
    NameValue = truncated;
    Modified = true;
}

bool TLayer::ApplyToCanvas(TDecorativeCanvas& canvas) const
{
    if (!Visible)
        return false;
    canvas.Pen = PenValue;
    canvas.Brush = BrushValue;
    canvas.FontColor = PenValue.Color;
    canvas.OpaqueBackground = Opaque;
    canvas.DecorativePen.Assign(DecorativePen);
    return true;
}

TLayers::TLayers()
{
    for (int i = 0; i < Count; ++i)
        Layers[static_cast<std::size_t>(i)] = std::make_unique<TLayer>(i);
}

TLayer& TLayers::GetLayer(int index)
{
    if (index < 0 || index >= Count)
        throw ECADOutOfBound("TLayers.GetLayer: Index out of bound");
    return *Layers[static_cast<std::size_t>(index)];
}

const TLayer& TLayers::GetLayer(int index) const
{
    return const_cast<TLayers*>(this)->GetLayer(index);
}

bool TLayers::ApplyLayerToCanvas(TDecorativeCanvas& canvas, int index) const
{
    return GetLayer(index).ApplyToCanvas(canvas);
}
