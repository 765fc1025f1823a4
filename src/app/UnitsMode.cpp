#include "app/UnitsMode.h"

#include "cad/base/Settings.h"

namespace {

constexpr TUnitsModeDefaults kMillimetres{"%0.3f", 0.002, 0.0001, "10000", -10.0, -10.0, 290.0, 290.0};
constexpr TUnitsModeDefaults kInches{"%0.4f", 0.0001, 0.000005, "300", -0.4, -0.4, 11.5, 11.5};

}  // namespace

const TUnitsModeDefaults& UnitsModeDefaults(std::int32_t unitsMode)
{
    return unitsMode == 1 ? kInches : kMillimetres;
}

void ApplyUnitsMode(std::int32_t unitsMode)
{
    const TUnitsModeDefaults& defaults = UnitsModeDefaults(unitsMode);
    UnitsMode = unitsMode;
    DisplayFormat = defaults.DisplayFormat;
    ChainTol = defaults.ChainTol;
    SystemTol = defaults.SystemTol;
}
