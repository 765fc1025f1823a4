#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "view3d/maths/VectorGeometry.h"
#include "view3d/objects/ShapeMeshes.h"

namespace {

Vector3f Minus(const Vector3f& a, const Vector3f& b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }

TEST(ShapeMeshes, TorusStripsLieOnTheSurfaceAndFaceOutwards)
{
    const float major = 0.4f;
    const float minor = 0.1f;
    const auto strips = TorusQuadStrips(major, minor, 5, 4);
    ASSERT_EQ(strips.size(), 5u);
    for (const auto& strip : strips) {
        ASSERT_EQ(strip.size(), 10u);
        for (const TMeshVertex& v : strip) {
            const float planar = std::hypot(v.Position.X, v.Position.Y);
            const Vector3f centre{major * v.Position.X / planar, major * v.Position.Y / planar, 0};
            const Vector3f out = Minus(v.Position, centre);
            EXPECT_NEAR(Vector3Norm(out), minor * minor, 1e-6);
            EXPECT_NEAR(v.Normal.X, out.X / minor, 1e-5);
            EXPECT_NEAR(v.Normal.Y, out.Y / minor, 1e-5);
            EXPECT_NEAR(v.Normal.Z, out.Z / minor, 1e-5);
        }
        // A quad strip's quad is v0 v1 v3 v2: counter-clockwise seen from
        // where the normals point.
        for (std::size_t i = 0; i + 3 < strip.size(); i += 2) {
            const Vector3f winding = Vector3Cross(Minus(strip[i + 1].Position, strip[i].Position),
                                                  Minus(strip[i + 3].Position, strip[i].Position));
            EXPECT_GT(Vector3Dot(winding, strip[i].Normal), 0.0f) << i;
        }
    }
    EXPECT_TRUE(TorusQuadStrips(major, minor, 0, 4).empty());
    EXPECT_TRUE(TorusQuadStrips(major, minor, 4, 0).empty());
}

TEST(ShapeMeshes, FrustrumFacesAreCutAtTheirHeightAndWoundOutwards)
{
    // The default: cut half way to the apex, so the top is half the base.
    const auto quads = FrustrumQuads(1.0f, 1.0f, 1.0f, 0.5f, {}, 1.0f);
    ASSERT_EQ(quads.size(), 6u);
    for (const Vector3f& corner : quads[0].Corners) {
        EXPECT_FLOAT_EQ(corner.Y, 0.25f);
        EXPECT_FLOAT_EQ(std::abs(corner.X), 0.25f);
        EXPECT_FLOAT_EQ(std::abs(corner.Z), 0.25f);
    }
    for (const Vector3f& corner : quads[1].Corners) {
        EXPECT_FLOAT_EQ(corner.Y, -0.25f);
        EXPECT_FLOAT_EQ(std::abs(corner.X), 0.5f);
    }
    const Vector3f facing[] = {{0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}, {-1, 0, 0}, {1, 0, 0}};
    const auto inward = FrustrumQuads(1.0f, 1.0f, 1.0f, 0.5f, {}, -1.0f);
    for (std::size_t f = 0; f < quads.size(); ++f) {
        const TMeshQuad& q = quads[f];
        EXPECT_GT(Vector3Dot(q.Normal, facing[f]), 0.4f) << f;
        EXPECT_NEAR(Vector3Norm(q.Normal), 1.0f, 1e-5) << f;
        for (int i = 0; i < 4; ++i) {
            // Flat, and counter-clockwise seen from outside.
            EXPECT_NEAR(Vector3Dot(q.Normal, Minus(q.Corners[i], q.Corners[0])), 0.0f, 1e-6) << f;
            const Vector3f turn = Vector3Cross(Minus(q.Corners[(i + 1) % 4], q.Corners[i]),
                                               Minus(q.Corners[(i + 2) % 4], q.Corners[(i + 1) % 4]));
            EXPECT_GT(Vector3Dot(turn, facing[f]), 0.0f) << f << " " << i;
        }
        EXPECT_FLOAT_EQ(inward[f].Normal.Y, -q.Normal.Y) << f;
        EXPECT_FLOAT_EQ(inward[f].Normal.Z, -q.Normal.Z) << f;
    }

    TFrustrumParts sidesOnly;
    sidesOnly.fpTop = false;
    sidesOnly.fpBottom = false;
    EXPECT_EQ(FrustrumQuads(1.0f, 2.0f, 1.0f, 1.0f, sidesOnly, 1.0f).size(), 4u);
    // No apex height: a flat rectangle, never a division by zero.
    const auto flat = FrustrumQuads(0.0f, 1.0f, 1.0f, 0.0f, {}, 1.0f);
    EXPECT_FLOAT_EQ(flat[0].Corners[1].X, 0.5f);
    EXPECT_FLOAT_EQ(flat[0].Normal.Y, 1.0f);
}

TEST(ShapeMeshes, ArrowHeadsStackCentreOrFitInTheLine)
{
    using enum TArrowHeadStackingStyle;
    struct Case {
        std::string Name;
        TArrowHeadStackingStyle Style;
        bool Top;
        bool Bottom;
        float Height;
        TArrowLineLayout Expected;
    };
    // Line 2 long, top head 0.5 high, bottom head 0.25 high.
    const Case cases[] = {
        {"stacked", ahssStacked, true, true, 2, {-1, 1, 1, 1.5f, -1, -1.25f}},
        {"centred", ahssCentered, true, true, 2, {-0.875f, 0.75f, 0.75f, 1.25f, -0.875f, -1.125f}},
        {"included", ahssIncluded, true, true, 2, {-0.75f, 0.5f, 0.5f, 1, -0.75f, -1}},
        {"included, top head only", ahssIncluded, true, false, 2, {-1, 0.5f, 0.5f, 1, -0.75f, -1}},
        {"included heads longer than the line", ahssIncluded, true, true, 0.5f,
         {-0.125f, -0.125f, -0.25f, 0.25f, 0, -0.25f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const TArrowLineLayout got = ArrowLineLayout(c.Height, 0.5f, 0.25f, c.Style, c.Top, c.Bottom);
        EXPECT_FLOAT_EQ(got.LineBottom, c.Expected.LineBottom);
        EXPECT_FLOAT_EQ(got.LineTop, c.Expected.LineTop);
        EXPECT_FLOAT_EQ(got.TopHeadBase, c.Expected.TopHeadBase);
        EXPECT_FLOAT_EQ(got.TopHeadTip, c.Expected.TopHeadTip);
        EXPECT_FLOAT_EQ(got.BottomHeadBase, c.Expected.BottomHeadBase);
        EXPECT_FLOAT_EQ(got.BottomHeadTip, c.Expected.BottomHeadTip);
    }
}

} // namespace
