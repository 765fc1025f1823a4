#include <cmath>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "view3d/objects/ShapeRayCasts.h"

namespace {

struct RayCase {
    std::string Name;
    TShapeRay Ray;
    bool Hits;
    double Parameter;
    Vector3f Point;
    Vector3f Normal;
};

void ExpectHit(const RayCase& c, const std::optional<TShapeHit>& hit)
{
    SCOPED_TRACE(c.Name);
    ASSERT_EQ(hit.has_value(), c.Hits);
    if (!hit)
        return;
    EXPECT_NEAR(hit->Parameter, c.Parameter, 1e-5);
    EXPECT_NEAR(hit->Point.X, c.Point.X, 1e-5);
    EXPECT_NEAR(hit->Point.Y, c.Point.Y, 1e-5);
    EXPECT_NEAR(hit->Point.Z, c.Point.Z, 1e-5);
    EXPECT_NEAR(hit->Normal.X, c.Normal.X, 1e-5);
    EXPECT_NEAR(hit->Normal.Y, c.Normal.Y, 1e-5);
    EXPECT_NEAR(hit->Normal.Z, c.Normal.Z, 1e-5);
}

const Vector3f kNone{};

TEST(ShapeRayCasts, CylinderSidesAndCaps)
{
    const TCylinderShape closed{{-0.5f, 0.5f, 0.5f, 0.5f, false}, true, true, true};
    const RayCase cases[] = {
        {"side from outside", {{2, 0, 0}, {-1, 0, 0}}, true, 1.5, {0.5f, 0, 0}, {1, 0, 0}},
        {"side from inside", {{0, 0, 0}, {1, 0, 0}}, true, 0.5, {0.5f, 0, 0}, {1, 0, 0}},
        {"a long direction scales the parameter", {{0, 0, 2}, {0, 0, -4}}, true, 0.375, {0, 0, 0.5f}, {0, 0, 1}},
        {"down the axis onto the top", {{0, 2, 0}, {0, -1, 0}}, true, 1.5, {0, 0.5f, 0}, {0, 1, 0}},
        {"up the axis from inside", {{0, 0, 0}, {0, 1, 0}}, true, 0.5, {0, 0.5f, 0}, {0, 1, 0}},
        {"oblique through the bottom", {{0.2f, -1, 0}, {0, 1, 0.1f}}, true, 0.5, {0.2f, -0.5f, 0.05f}, {0, -1, 0}},
        {"passes beside", {{2, 0, 0}, {0, 0, 1}}, false, 0, kNone, kNone},
        {"points away", {{2, 0, 0}, {1, 0, 0}}, false, 0, kNone, kNone},
        {"passes above", {{2, 0.6f, 0}, {-1, 0, 0}}, false, 0, kNone, kNone},
        {"zero direction", {{2, 0, 0}, {0, 0, 0}}, false, 0, kNone, kNone},
    };
    for (const RayCase& c : cases)
        ExpectHit(c, RayCastCylinder(c.Ray, closed));

    // Without its top the ray falls through to the bottom cap, seen from inside.
    TCylinderShape open = closed;
    open.HasTop = false;
    ExpectHit({"open top", {{0, 2, 0}, {0, -1, 0}}, true, 2.5, {0, -0.5f, 0}, {0, -1, 0}},
              RayCastCylinder({{0, 2, 0}, {0, -1, 0}}, open));
}

TEST(ShapeRayCasts, ConeSideSlopesItsNormal)
{
    // Radius 0.5 at the bottom to a point at the top: 0.25 at y = 0.
    const TConeSide cone{-0.5f, 0.5f, 0.5f, 0.0f, false};
    const float n = 1.0f / std::sqrt(5.0f);
    const RayCase cases[] = {
        {"across the middle", {{1, 0, 0}, {-1, 0, 0}}, true, 0.75, {0.25f, 0, 0}, {2 * n, n, 0}},
        // Parallel to the slope: the equation loses its square term.
        {"along a generator", {{-0.5f, -1, 0}, {0.5f, 1, 0}}, true, 1.25, {0.125f, 0.25f, 0}, {2 * n, n, 0}},
        {"over the tip", {{1, 0.6f, 0}, {-1, 0, 0}}, false, 0, kNone, kNone},
    };
    for (const RayCase& c : cases)
        ExpectHit(c, RayCastConeSide(c.Ray, cone));
}

TEST(ShapeRayCasts, AnnulusWallsAndRings)
{
    const TAnnulusShape tube{{-0.5f, 0.5f, 0.5f, 0.5f, false}, {-0.5f, 0.5f, 0.3f, 0.3f, true}};
    const RayCase cases[] = {
        {"outer wall", {{2, 0, 0}, {-1, 0, 0}}, true, 1.5, {0.5f, 0, 0}, {1, 0, 0}},
        {"inner wall from the hole", {{0, 0, 0}, {1, 0, 0}}, true, 0.3, {0.3f, 0, 0}, {-1, 0, 0}},
        {"down the hole", {{0, 2, 0}, {0, -1, 0}}, false, 0, kNone, kNone},
        {"top ring", {{0.4f, 2, 0}, {0, -1, 0}}, true, 1.5, {0.4f, 0.5f, 0}, {0, 1, 0}},
        {"from inside the wall", {{0.4f, 0, 0}, {1, 0, 0}}, true, 0.1, {0.5f, 0, 0}, {1, 0, 0}},
    };
    for (const RayCase& c : cases)
        ExpectHit(c, RayCastAnnulus(c.Ray, tube));

    TAnnulusShape open = tube;
    open.HasTop = false;
    ExpectHit({"open top", {}, true, 2.5, {0.4f, -0.5f, 0}, {0, -1, 0}},
              RayCastAnnulus({{0.4f, 2, 0}, {0, -1, 0}}, open));
}

TEST(ShapeRayCasts, PartialDiskHonoursRadiiAndSweep)
{
    struct DiskCase {
        RayCase Ray;
        float Inner;
        float Start;
        float Sweep;
    };
    const float s = 0.3f * std::sin(5.0f * 3.14159265f / 180.0f);
    const float c5 = 0.3f * std::cos(5.0f * 3.14159265f / 180.0f);
    const DiskCase cases[] = {
        {{"centre from above", {{0, 0, 1}, {0, 0, -1}}, true, 1, {0, 0, 0}, {0, 0, 1}}, 0, 0, 360},
        {{"from below", {{0, 0, -1}, {0, 0, 2}}, true, 0.5, {0, 0, 0}, {0, 0, 1}}, 0, 0, 360},
        {{"beyond the rim", {{0.6f, 0, 1}, {0, 0, -1}}, false, 0, kNone, kNone}, 0, 0, 360},
        {{"in the hole", {{0.1f, 0, 1}, {0, 0, -1}}, false, 0, kNone, kNone}, 0.2f, 0, 360},
        {{"in a quarter from +Y to +X", {{0.3f, 0.3f, 1}, {0, 0, -1}}, true, 1, {0.3f, 0.3f, 0}, {0, 0, 1}}, 0, 0, 90},
        {{"outside that quarter", {{-0.3f, 0.3f, 1}, {0, 0, -1}}, false, 0, kNone, kNone}, 0, 0, 90},
        {{"a negative sweep turns back", {{-0.3f, 0.3f, 1}, {0, 0, -1}}, true, 1, {-0.3f, 0.3f, 0}, {0, 0, 1}},
         0, 0, -90},
        {{"across 360 to 0", {{s, c5, 1}, {0, 0, -1}}, true, 1, {s, c5, 0}, {0, 0, 1}}, 0, 350, 20},
        {{"far from a wrapped sweep", {{0, -0.3f, 1}, {0, 0, -1}}, false, 0, kNone, kNone}, 0, 350, 20},
        {{"no sweep", {{0, 0.3f, 1}, {0, 0, -1}}, false, 0, kNone, kNone}, 0, 0, 0},
        {{"parallel", {{0, 0, 1}, {1, 0, 0}}, false, 0, kNone, kNone}, 0, 0, 360},
    };
    for (const DiskCase& c : cases)
        ExpectHit(c.Ray, RayCastPartialDisk(c.Ray.Ray, c.Inner, 0.5f, c.Start, c.Sweep));
}

TEST(ShapeRayCasts, TorusFromOutsideTheHoleAndTheTube)
{
    const float h = 0.5f / std::sqrt(2.0f);
    const float n = 1.0f / std::sqrt(2.0f);
    const RayCase cases[] = {
        {"outer equator", {{2, 0, 0}, {-1, 0, 0}}, true, 1.5, {0.5f, 0, 0}, {1, 0, 0}},
        {"from the hole", {{0, 0, 0}, {1, 0, 0}}, true, 0.3, {0.3f, 0, 0}, {-1, 0, 0}},
        {"down the axis", {{0, 0, 2}, {0, 0, -1}}, false, 0, kNone, kNone},
        {"onto the top of the tube", {{0.4f, 0, 2}, {0, 0, -1}}, true, 1.9, {0.4f, 0, 0.1f}, {0, 0, 1}},
        {"from inside the tube", {{0.4f, 0, 0}, {0, 0, 1}}, true, 0.1, {0.4f, 0, 0.1f}, {0, 0, 1}},
        {"over the tube", {{2, 0, 0.2f}, {-1, 0, 0}}, false, 0, kNone, kNone},
        {"diagonal, unnormalised", {{1, 1, 0}, {-1, -1, 0}}, true, 1 - h, {h, h, 0}, {n, n, 0}},
    };
    for (const RayCase& c : cases)
        ExpectHit(c, RayCastTorus(c.Ray, 0.4f, 0.1f));
}

} // namespace
