// The four camera presets: each looks at the target from its side, at the
// camera's distance from the world origin.

#include <cmath>

#include <gtest/gtest.h>

#include "view3d/maths/CameraPresets.h"

TEST(CameraPresets, EachViewLooksAtTheTargetFromItsSide)
{
    const TVector3 camera{2500, -2500, 2300};
    const TVector3 target{10, 20, -5};
    const double dist = std::sqrt(2500.0 * 2500 * 2 + 2300.0 * 2300);
    const double k = 1 / std::sqrt(3.0);
    struct TCase {
        TViewPreset Preset;
        double X, Y, Z; // unit direction from the target to the camera
    };
    const TCase cases[] = {
        {TViewPreset::Top, 0, -0.0001, 1},
        {TViewPreset::Front, 0, -1, 0},
        {TViewPreset::Side, 1, 0, 0},
        {TViewPreset::Iso, k, -k, k},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.Preset));
        const TVector3 p = PresetCameraPosition(c.Preset, camera, target);
        EXPECT_NEAR(p.X - target.X, c.X * dist, 1e-3);
        EXPECT_NEAR(p.Y - target.Y, c.Y * dist, 1e-3);
        EXPECT_NEAR(p.Z - target.Z, c.Z * dist, 1e-3);
    }
    // The top view is never exactly above the target, where the up axis
    // would lie along the view.
    EXPECT_LT(PresetCameraPosition(TViewPreset::Top, camera, target).Y, target.Y);
    // The distance is the camera's from the world origin, not from the target.
    const TVector3 far = PresetCameraPosition(TViewPreset::Front, {0, 0, 100}, {50, 0, 0});
    EXPECT_FLOAT_EQ(far.Y, -100.0f);
    EXPECT_FLOAT_EQ(far.X, 50.0f);
}
