#pragma once

// What the layer table lets the user change, taken when it opens, so that
// cancelling puts every layer and the current layer back as they were.

#include <array>
#include <cstdint>
#include <string>

#include "cad/canvas/CanvasTypes.h"
#include "cad/drawing/Layers.h"

class TCADCmp;

class TLayerBackup {
public:
    explicit TLayerBackup(const TCADCmp& drawing);
    void Restore(TCADCmp& drawing) const;

private:
    struct TLayerState {
        std::string Name;
        bool Visible = true;
        TColor Color = clBlack;
        std::int32_t Width = 1;
        // A layer set by hand keeps its colour when the default colour changes.
        bool Modified = false;
    };
    std::array<TLayerState, TLayers::Count> Layers;
    std::uint8_t CurrentLayer = 0;
};
