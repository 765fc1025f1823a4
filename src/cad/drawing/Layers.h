#pragma once

// The 256 layers of a drawing: pen, brush, dash pattern, name and flags.

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "cad/canvas/CanvasTypes.h"
#include "cad/canvas/DecorativeCanvas.h"

class TCADStreamReader;
class TCADStreamWriter;

class TLayer {
public:
    static constexpr std::size_t MaxNameLength = 31;

    explicit TLayer(int index);

    const TPenState& Pen() const { return PenValue; }
    const TBrushState& Brush() const { return BrushValue; }
    // Any change of pen, brush or name marks the layer as set by hand.
    void SetPen(const TPenState& pen);
    void SetBrush(const TBrushState& brush);
    void SetPenColor(TColor color);
    // The drawing's default colour reaches only layers nobody has set by hand.
    void ApplyDefaultColor(TColor color);
    const std::string& Name() const { return NameValue; }
    void SetName(const std::string& name);

    // False and nothing done when the layer is hidden.
    bool ApplyToCanvas(TDecorativeCanvas& canvas) const;

    int Index() const { return IndexValue; }

    // The layer record of streams, in the current layout.
    void SaveToStream(TCADStreamWriter& stream) const;
    // Reads the layout of the given version; afterwards the layer counts as
    // set by hand (Modified).
    void LoadFromStream(TCADStreamReader& stream, std::string_view version);

    TDecorativePen DecorativePen;
    bool Active = true;
    bool Visible = true;
    bool Opaque = false;
    bool Streamable = true;
    bool Modified = false;

private:
    TPenState PenValue;
    TBrushState BrushValue;
    std::string NameValue;
    int IndexValue;
};

class TLayers {
public:
    static constexpr int Count = 256;

    TLayers();

    TLayer& GetLayer(int index);
    const TLayer& GetLayer(int index) const;
    bool ApplyLayerToCanvas(TDecorativeCanvas& canvas, int index) const;

private:
    std::array<std::unique_ptr<TLayer>, Count> Layers;
};
