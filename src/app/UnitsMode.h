#pragma once

// What the units mode (0 millimetres, 1 inches) selects: the number format of
// coordinates, the default CAM tolerances, the default rapid feed rate and
// the first view window.

#include <cstdint>

struct TUnitsModeDefaults {
    const char* DisplayFormat;
    double ChainTol;
    double SystemTol;
    const char* RapidFeedrate;
    // The first view window: left, bottom, right, top.
    double ViewLeft;
    double ViewBottom;
    double ViewRight;
    double ViewTop;
};

// The defaults of a units mode; any mode but 1 gives the millimetre ones.
const TUnitsModeDefaults& UnitsModeDefaults(std::int32_t unitsMode);

// UnitsMode := unitsMode, and DisplayFormat, ChainTol and SystemTol take the
// values of that mode, as a change of the units combo does. CornerRound, the
// grid, the snap steps and the drawing are not converted.
void ApplyUnitsMode(std::int32_t unitsMode);
