#include <cmath>
#include <set>
#include <tuple>

#include <gtest/gtest.h>

#include "view3d/maths/VectorGeometry.h"
#include "view3d/objects/CubeGeometry.h"
#include "view3d/objects/Dodecahedron.h"
#include "view3d/objects/LineSampling.h"

namespace {

void ExpectNear(const Vector3f& actual, const Vector3f& expected, const char* what)
{
    EXPECT_NEAR(actual.X, expected.X, 1e-5f) << what;
    EXPECT_NEAR(actual.Y, expected.Y, 1e-5f) << what;
    EXPECT_NEAR(actual.Z, expected.Z, 1e-5f) << what;
}

// Counter-clockwise seen from outside: the corners turn about the outward direction.
float Turn(const Vector3f& a, const Vector3f& b, const Vector3f& c, const Vector3f& outward)
{
    return Vector3Dot(Vector3Cross(Vector3Subtract(b, a), Vector3Subtract(c, b)), outward);
}

TEST(CubeGeometry, FacesInDrawingOrderOnTheirPlanesWithNormalsOutOrIn)
{
    const Vector3f half{1.0f, 1.5f, 2.5f};
    const struct {
        TCubePart Part;
        Vector3f Outward;
    } order[] = {{TCubePart::cpFront, {0, 0, 1}}, {TCubePart::cpBack, {0, 0, -1}}, {TCubePart::cpLeft, {-1, 0, 0}},
                 {TCubePart::cpRight, {1, 0, 0}}, {TCubePart::cpTop, {0, 1, 0}},   {TCubePart::cpBottom, {0, -1, 0}}};
    for (TNormalDirection direction : {TNormalDirection::ndOutside, TNormalDirection::ndInside}) {
        const float sign = direction == TNormalDirection::ndInside ? -1.0f : 1.0f;
        const std::vector<TCubeFace> faces = CubeFaces(2, 3, 5, TCubeParts::All(), direction);
        ASSERT_EQ(faces.size(), 6u);
        for (std::size_t f = 0; f < 6; ++f) {
            const Vector3f outward = order[f].Outward;
            ExpectNear(faces[f].Normal, Vector3Scale(outward, sign), "normal");
            std::set<std::pair<float, float>> texture;
            for (int i = 0; i < 4; ++i) {
                const TCubeFaceVertex& corner = faces[f].Corners[std::size_t(i)];
                // Every corner is a corner of the box, on the face's own side.
                EXPECT_FLOAT_EQ(std::abs(corner.Position.X), half.X);
                EXPECT_FLOAT_EQ(std::abs(corner.Position.Y), half.Y);
                EXPECT_FLOAT_EQ(std::abs(corner.Position.Z), half.Z);
                EXPECT_GT(Vector3Dot(corner.Position, outward), 0) << f;
                texture.insert({corner.S, corner.T});
                EXPECT_GT(Turn(corner.Position, faces[f].Corners[std::size_t(i + 1) % 4].Position,
                               faces[f].Corners[std::size_t(i + 2) % 4].Position, outward),
                          0)
                    << f;
            }
            EXPECT_EQ(texture, (std::set<std::pair<float, float>>{{0, 0}, {1, 0}, {1, 1}, {0, 1}}));
        }
    }

    EXPECT_TRUE(CubeFaces(1, 1, 1, {}, TNormalDirection::ndOutside).empty());
    const std::vector<TCubeFace> two =
        CubeFaces(1, 1, 1, {TCubePart::cpBottom, TCubePart::cpLeft}, TNormalDirection::ndOutside);
    ASSERT_EQ(two.size(), 2u);
    ExpectNear(two[0].Normal, {-1, 0, 0}, "left comes first");
    ExpectNear(two[1].Normal, {0, -1, 0}, "bottom last");
}

TEST(CubeGeometry, RayEntersThroughTheFaceItMeetsFirst)
{
    // A 2 x 4 x 6 box: half sizes 1, 2, 3.
    const struct {
        Vector3f Start;
        Vector3f Vector;
        bool Hit;
        Vector3f Point;
        Vector3f Normal;
    } cases[] = {
        {{0, 0, 10}, {0, 0, -1}, true, {0, 0, 3}, {0, 0, 1}},
        {{-5, 0.5f, 1}, {2, 0, 0}, true, {-1, 0.5f, 1}, {-1, 0, 0}},
        {{0.5f, -9, 0}, {0, 1, 0}, true, {0.5f, -2, 0}, {0, -1, 0}},
        {{0, 9, 0}, {0, -1, 0}, true, {0, 2, 0}, {0, 1, 0}},
        // Aimed at a corner region: the first face in axis order that holds the point wins.
        {{-3, -4, 0}, {1, 1, 0}, true, {-1, -2, 0}, {-1, 0, 0}},
        // Just outside the face, still within the tolerance of 0.5001 of the size.
        {{1.0001f, 0, 10}, {0, 0, -1}, true, {1.0001f, 0, 3}, {0, 0, 1}},
        {{1.0004f, 0, 10}, {0, 0, -1}, false, {}, {}},
        // Away from the box, from inside it, and along a face's plane outside it.
        {{0, 0, 10}, {0, 0, 1}, false, {}, {}},
        {{0, 0, 0}, {1, 0, 0}, false, {}, {}},
        {{0, 5, 10}, {0, 0, -1}, false, {}, {}},
    };
    for (const auto& c : cases) {
        const std::optional<TCubeRayHit> hit = CubeRayCast(c.Start, c.Vector, 2, 4, 6);
        ASSERT_EQ(hit.has_value(), c.Hit) << c.Start.X << " " << c.Start.Y << " " << c.Start.Z;
        if (hit) {
            ExpectNear(hit->Point, c.Point, "point");
            ExpectNear(hit->Normal, c.Normal, "normal");
        }
    }
}

TEST(CubeGeometry, EdgesAreTheTwelveOfTheCube)
{
    const std::array<Vector3f, 24> points = CubeEdgePoints(3);
    std::set<std::tuple<float, float, float, float, float, float>> edges;
    for (std::size_t i = 0; i < points.size(); i += 2) {
        const Vector3f a = points[i];
        const Vector3f b = points[i + 1];
        EXPECT_FLOAT_EQ(Vector3Distance(a, b), 3) << i;
        for (const Vector3f& p : {a, b}) {
            EXPECT_FLOAT_EQ(std::abs(p.X), 1.5f);
            EXPECT_FLOAT_EQ(std::abs(p.Y), 1.5f);
            EXPECT_FLOAT_EQ(std::abs(p.Z), 1.5f);
        }
        // Along one axis only.
        EXPECT_EQ(int(a.X != b.X) + int(a.Y != b.Y) + int(a.Z != b.Z), 1);
        edges.insert({a.X, a.Y, a.Z, b.X, b.Y, b.Z});
    }
    EXPECT_EQ(edges.size(), 12u);
}

TEST(Dodecahedron, TwelveFlatRegularPentagonsOnTheHalfUnitSphere)
{
    std::set<std::tuple<float, float, float>> corners;
    const auto& faces = DodecahedronFaces();
    const float side = Vector3Distance(faces[0].Corners[0], faces[0].Corners[1]);
    for (const TDodecahedronFace& face : faces) {
        EXPECT_NEAR(Vector3Length(face.Normal), 1, 1e-5f);
        const float planeDistance = Vector3Dot(face.Corners[0], face.Normal);
        EXPECT_GT(planeDistance, 0.3f);
        for (std::size_t i = 0; i < 5; ++i) {
            const Vector3f& p = face.Corners[i];
            EXPECT_NEAR(Vector3Length(p), 0.5f, 1e-5f);
            EXPECT_NEAR(Vector3Dot(p, face.Normal), planeDistance, 1e-5f);
            EXPECT_NEAR(Vector3Distance(p, face.Corners[(i + 1) % 5]), side, 1e-5f);
            EXPECT_GT(Turn(p, face.Corners[(i + 1) % 5], face.Corners[(i + 2) % 5], face.Normal), 0);
            corners.insert({std::round(p.X * 1e4f), std::round(p.Y * 1e4f), std::round(p.Z * 1e4f)});
        }
    }
    EXPECT_EQ(corners.size(), 20u);
}

TEST(LineSampling, CubicSplineThroughTheNodesWithColoursRunningBetweenThem)
{
    const std::vector<Vector3f> nodes{{0, 0, 0}, {1, 1, 0}, {2, 0, 0}};
    const Vector4f red{1, 0, 0, 1};
    const Vector4f green{0, 1, 0, 1};
    const Vector4f blue{0, 0, 1, 0.5f};
    const std::vector<TLineSample> samples = SampleCubicSpline(nodes, {red, green, blue}, 4);
    ASSERT_EQ(samples.size(), 9u);
    for (std::size_t n = 0; n < 3; ++n)
        ExpectNear(samples[n * 4].Position, nodes[n], "passes through the nodes");
    EXPECT_GT(samples[2].Position.Y, 0.5f) << "bends towards the middle node";
    const struct {
        std::size_t Index;
        Vector4f Color;
    } colours[] = {{0, red}, {2, {0.5f, 0.5f, 0, 1}}, {4, green}, {5, {0, 0.75f, 0.25f, 0.875f}}, {8, blue}};
    for (const auto& c : colours) {
        EXPECT_FLOAT_EQ(samples[c.Index].Color.X, c.Color.X) << c.Index;
        EXPECT_FLOAT_EQ(samples[c.Index].Color.Y, c.Color.Y) << c.Index;
        EXPECT_FLOAT_EQ(samples[c.Index].Color.Z, c.Color.Z) << c.Index;
        EXPECT_FLOAT_EQ(samples[c.Index].Color.W, c.Color.W) << c.Index;
    }

    EXPECT_EQ(SampleCubicSpline(nodes, {}, 1).size(), 3u);
    EXPECT_TRUE(SampleCubicSpline({{1, 2, 3}}, {}, 10).empty());
}

} // namespace
