#include <cmath>

#include <gtest/gtest.h>

#include "view3d/maths/MatrixGeometry.h"
#include "view3d/maths/PlaneGeometry.h"
#include "view3d/maths/VectorGeometry.h"

namespace {

void ExpectVector(const Vector3f& v, const Vector3f& expected)
{
    EXPECT_NEAR(v.X, expected.X, 1e-5f);
    EXPECT_NEAR(v.Y, expected.Y, 1e-5f);
    EXPECT_NEAR(v.Z, expected.Z, 1e-5f);
}

TEST(PlaneGeometry, RayMeetsPlaneOnlyInFront)
{
    const struct {
        Vector3f Start;
        Vector3f Direction;
        Vector3f PlanePoint;
        Vector3f Normal;
        bool Hit;
        Vector3f Point;
    } cases[] = {
        {{0, 0, 0}, {0, 0, 1}, {0, 0, 5}, {0, 0, 1}, true, {0, 0, 5}},
        {{0, 0, 0}, {0, 0, 1}, {0, 0, -5}, {0, 0, 1}, false, {}},
        {{1, 2, 0}, {0, 0, 2}, {7, 7, 5}, {0, 0, -1}, true, {1, 2, 5}},
        {{0, 0, 0}, {1, 0, 0}, {0, 0, 5}, {0, 0, 1}, false, {}},   // parallel
        {{0, 0, 5}, {0, 0, 1}, {0, 0, 5}, {0, 0, 1}, false, {}},   // starts on it
        {{0, 0, 0}, {1, 1, 0}, {4, 0, 0}, {1, 0, 0}, true, {4, 4, 0}},
    };
    for (const auto& c : cases) {
        Vector3f hit{-99, -99, -99};
        EXPECT_EQ(RayCastPlaneIntersect(c.Start, c.Direction, c.PlanePoint, c.Normal, hit), c.Hit);
        if (c.Hit)
            ExpectVector(hit, c.Point);
    }
    EXPECT_FALSE(RayCastPlaneIntersect({1, 0, 0}, {0, 0, 1}));
    EXPECT_TRUE(RayCastPlaneIntersect({1e-10f, 0, 1e-10f}, {0, 0, 1}));
}

TEST(PlaneGeometry, RayMeetsSphereInOrderAlongTheRay)
{
    const struct {
        Vector3f Start;
        Vector3f Direction;
        int Count;
        Vector3f First;
        Vector3f Second;
    } cases[] = {
        {{-5, 0, 0}, {1, 0, 0}, 2, {-1, 0, 0}, {1, 0, 0}},   // through
        {{0, 0, 0}, {1, 0, 0}, 1, {1, 0, 0}, {}},            // from inside
        {{5, 0, 0}, {1, 0, 0}, 0, {}, {}},                   // sphere behind
        {{-5, 2, 0}, {1, 0, 0}, 0, {}, {}},                  // passes beside
        {{-5, 1, 0}, {1, 0, 0}, 1, {0, 1, 0}, {}},           // grazes
        {{5, 1, 0}, {1, 0, 0}, 0, {}, {}},                   // grazes behind
    };
    for (const auto& c : cases) {
        const TRaySphereHits hits = RayCastSphereIntersect(c.Start, c.Direction, {0, 0, 0}, 1);
        ASSERT_EQ(hits.Count, c.Count) << c.Start.X << "," << c.Start.Y;
        if (c.Count >= 1)
            ExpectVector(hits.First, c.First);
        if (c.Count == 2)
            ExpectVector(hits.Second, c.Second);
    }
}

TEST(PlaneGeometry, PlanesFromPointsAndTheirSides)
{
    ExpectVector(CalcPlaneNormal(Vector3f{0, 0, 0}, {2, 0, 0}, {0, 3, 0}), {0, 0, 1});
    const Vector4f plane = NormalizePlane({0, 0, 2, -10});
    EXPECT_FLOAT_EQ(PlaneEvaluatePoint(plane, {3, 4, 8}), 3.0f);
    EXPECT_FLOAT_EQ(PlaneEvaluatePoint(plane, {3, 4, 2}), -3.0f);
    EXPECT_FLOAT_EQ(SphereVisibleRadius(5, 3), 3.75f);
}

// With an identity model-view-projection the view volume is the cube
// [-1, 1]^3: spheres are clipped only when wholly outside one face.
TEST(PlaneGeometry, FrustumClipsWhatLiesWhollyOutside)
{
    const Frustum6 frustum = ExtractFrustumFromModelViewProjection(IdentityMatrix4f);
    EXPECT_FLOAT_EQ(PlaneEvaluatePoint(frustum.Left, {-1, 0, 0}), 0.0f);
    EXPECT_FLOAT_EQ(PlaneEvaluatePoint(frustum.Far, {0, 0, 0.5f}), 0.5f);
    const struct {
        Vector3f Centre;
        float Radius;
        bool Clipped;
    } cases[] = {
        {{0, 0, 0}, 0.1f, false}, {{3, 0, 0}, 1.5f, true},  {{3, 0, 0}, 2.5f, false},
        {{0, -3, 0}, 1, true},    {{0, 0, 3}, 1, true},     {{0, 0, -1.5f}, 0.6f, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsVolumeClipped(c.Centre, c.Radius, frustum), c.Clipped) << c.Centre.X << c.Centre.Y << c.Centre.Z;
    EXPECT_TRUE(IsBoxClipped({2, 2, 2}, {3, 3, 3}, frustum));
    EXPECT_FALSE(IsBoxClipped({0.5f, 0.5f, 0.5f}, {3, 3, 3}, frustum));
    // A translation moves the volume: x in [-1, 1] after moving by 5 is x in [-6, -4] before.
    const Frustum6 moved =
        ExtractFrustumFromModelViewProjection(CreateScaleAndTranslationMatrix({1, 1, 1}, {5, 0, 0}));
    EXPECT_FALSE(IsVolumeClipped({-5, 0, 0}, 0.1f, moved));
    EXPECT_TRUE(IsVolumeClipped({0, 0, 0}, 0.1f, moved));
}

TEST(VectorGeometry, ComparisonsAndProjections)
{
    EXPECT_FALSE(Vector3Equals({0.0f, 0, 0}, {-0.0f, 0, 0}));
    EXPECT_TRUE(Vector3IsNull({-0.0f, 0, 0}));
    EXPECT_FLOAT_EQ(Vector3Spacing({1, 2, 3}, {0, 4, -1}), 7.0f);
    EXPECT_FLOAT_EQ(Vector3SquaredDistance({1, 2, 3}, {0, 4, -1}), 21.0f);
    ExpectVector(Vector3RemoveAlong({3, 4, 5}, {0, 0, 1}), {3, 4, 0});
    ExpectVector(Vector3Cross({1, 0, 0}, {0, 1, 0}), {0, 0, 1});
    const Vector4f n = Vector4Normalize({3, 0, 4, 7});
    EXPECT_TRUE(Vector4Equals(n, {0.6f, 0, 0.8f, 7}));
    ExpectVector(Vector3Lerp({0, 0, 0}, {2, 4, 6}, 0.5f), {1, 2, 3});
    ExpectVector(Vector3Combine2({1, 1, 1}, {1, 2, 3}, 2, -1), {1, 0, -1});
}

} // namespace
