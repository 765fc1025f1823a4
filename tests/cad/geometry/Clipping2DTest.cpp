#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "cad/geometry/Clipping2D.h"
#include "cad/geometry/Geometry2D.h"
#include "support/PointExpectations.h"

using cadtest::ExpectPointNear;

TEST(Clipping2D, FlagsForEveryKindOfSegment)
{
    const TRect2D box = MakeRect2D(0, 0, 10, 10);
    struct Case {
        const char* Name;
        TPoint2D First, Second;
        int Flags;
        float X1, Y1, X2, Y2;  // expected result when not rejected
    };
    const std::vector<Case> cases = {
        {"inside", MakePoint2D(2, 2), MakePoint2D(8, 7), CLIP_UNCHANGED, 2, 2, 8, 7},
        {"left to inside", MakePoint2D(-5, 5), MakePoint2D(5, 5), CLIP_FIRST_MOVED, 0, 5, 5, 5},
        {"inside to above", MakePoint2D(5, 5), MakePoint2D(5, 15), CLIP_SECOND_MOVED, 5, 5, 5, 10},
        {"inside to left", MakePoint2D(5, 5), MakePoint2D(-5, 5), CLIP_SECOND_MOVED, 5, 5, 0, 5},
        {"below to inside", MakePoint2D(4, -6), MakePoint2D(4, 4), CLIP_FIRST_MOVED, 4, 0, 4, 4},
        {"right across to left", MakePoint2D(15, 5), MakePoint2D(-5, 5), CLIP_FIRST_MOVED | CLIP_SECOND_MOVED, 10,
         5, 0, 5},
        {"diagonal across", MakePoint2D(-10, -5), MakePoint2D(20, 10), CLIP_FIRST_MOVED | CLIP_SECOND_MOVED, 0, 0, 10,
         5},
        {"along the left edge", MakePoint2D(0, -5), MakePoint2D(0, 15), CLIP_FIRST_MOVED | CLIP_SECOND_MOVED, 0, 0, 0,
         10},
        {"touching a corner", MakePoint2D(5, -5), MakePoint2D(15, 5), CLIP_FIRST_MOVED | CLIP_SECOND_MOVED, 10, 0,
         10, 0},
        {"beside", MakePoint2D(-5, -5), MakePoint2D(-5, 15), CLIP_REJECTED, 0, 0, 0, 0},
        {"past the corner", MakePoint2D(-5, 6), MakePoint2D(4, 15), CLIP_REJECTED, 0, 0, 0, 0},
        {"zero length inside", MakePoint2D(3, 3), MakePoint2D(3, 3), CLIP_UNCHANGED, 3, 3, 3, 3},
        {"zero length on an edge", MakePoint2D(10, 3), MakePoint2D(10, 3), CLIP_UNCHANGED, 10, 3, 10, 3},
        {"zero length outside", MakePoint2D(20, 3), MakePoint2D(20, 3), CLIP_REJECTED, 0, 0, 0, 0},
        {"weighted points", {-10, 10, 2}, {10, 10, 2}, CLIP_FIRST_MOVED, 0, 5, 5, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TPoint2D first = c.First;
        TPoint2D second = c.Second;
        ASSERT_EQ(ClipSegmentToBox2D(box, first, second), c.Flags);
        if (c.Flags == CLIP_REJECTED)
            continue;
        ExpectPointNear(first, c.X1, c.Y1);
        ExpectPointNear(second, c.X2, c.Y2);
        EXPECT_EQ(first.W, 1.0f);
        EXPECT_EQ(second.W, 1.0f);
    }
}

TEST(Clipping2D, OneAxisTwinsUseOnlyTheirSides)
{
    const TRect2D box = MakeRect2D(0, 0, 10, 10);
    TPoint2D a = MakePoint2D(5, 5);
    TPoint2D b = MakePoint2D(5, 15);
    EXPECT_EQ(ClipSegmentToBoxX2D(box, a, b), CLIP_UNCHANGED);
    ExpectPointNear(b, 5, 15);
    EXPECT_EQ(ClipSegmentToBoxY2D(box, a, b), CLIP_SECOND_MOVED);
    ExpectPointNear(b, 5, 10);

    a = MakePoint2D(-5, 5);
    b = MakePoint2D(15, 5);
    EXPECT_EQ(ClipSegmentToBoxY2D(box, a, b), CLIP_UNCHANGED);
    EXPECT_EQ(ClipSegmentToBoxX2D(box, a, b), CLIP_FIRST_MOVED | CLIP_SECOND_MOVED);
    ExpectPointNear(a, 0, 5);
    ExpectPointNear(b, 10, 5);

    a = MakePoint2D(-5, 50);
    b = MakePoint2D(-1, 60);
    EXPECT_EQ(ClipSegmentToBoxX2D(box, a, b), CLIP_REJECTED);
    a = MakePoint2D(-5, 50);
    b = MakePoint2D(-1, 60);
    EXPECT_EQ(ClipSegmentToBoxY2D(box, a, b), CLIP_REJECTED);
}

TEST(Clipping2D, SegmentsWithoutAFiniteEndAreRejected)
{
    const TRect2D box = MakeRect2D(0, 0, 10, 10);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    // A weight near 0 divides a point out to infinity.
    const TPoint2D ends[] = {{nan, 5, 1}, {5, inf, 1}, {-inf, 5, 1}, {1e30f, 5, 1e-44f}, {5, nan, 2}};
    for (const TPoint2D& end : ends) {
        for (const auto clip : {ClipSegmentToBox2D, ClipSegmentToBoxX2D, ClipSegmentToBoxY2D}) {
            TPoint2D a = MakePoint2D(5, 5);
            TPoint2D b = end;
            EXPECT_EQ(clip(box, a, b), CLIP_REJECTED) << end.X << " " << end.Y << " " << end.W;
            a = end;
            b = MakePoint2D(5, 5);
            EXPECT_EQ(clip(box, a, b), CLIP_REJECTED) << end.X << " " << end.Y << " " << end.W;
        }
    }
}

TEST(Pick2D, SegmentAndPointDistances)
{
    float d = 0.0f;
    EXPECT_FALSE(SegmentDistance2D(MakePoint2D(1, 1), MakePoint2D(2, 2), MakePoint2D(2, 2), d));
    EXPECT_EQ(d, PICK_FAR_DISTANCE);
    EXPECT_TRUE(SegmentDistance2D(MakePoint2D(5, 3), MakePoint2D(0, 0), MakePoint2D(10, 0), d));
    EXPECT_FLOAT_EQ(d, 3.0f);
    EXPECT_TRUE(SegmentDistance2D(MakePoint2D(0, -3), MakePoint2D(0, 0), MakePoint2D(10, 0), d)) << "t = 0 is in";
    EXPECT_FLOAT_EQ(d, 3.0f);
    EXPECT_FALSE(SegmentDistance2D(MakePoint2D(11, 1), MakePoint2D(0, 0), MakePoint2D(10, 0), d));
    EXPECT_EQ(d, PICK_FAR_DISTANCE);

    EXPECT_TRUE(PointNearPoint2D(MakePoint2D(0, 0), MakePoint2D(2, 2), d, 2.0f)) << "square edges are inside";
    EXPECT_FLOAT_EQ(d, std::sqrt(8.0f));
    EXPECT_FALSE(PointNearPoint2D(MakePoint2D(0, 0), MakePoint2D(2.1f, 0), d, 2.0f));
    EXPECT_EQ(d, PICK_FAR_DISTANCE);
}

TEST(Pick2D, PolylineCodes)
{
    const std::vector<TPoint2D> square = {MakePoint2D(0, 0), MakePoint2D(10, 0), MakePoint2D(10, 10),
                                          MakePoint2D(0, 10)};
    struct Case {
        const char* Name;
        float X, Y;
        bool Closed;
        float Aperture;
        int Code;
        float Distance;
    };
    const std::vector<Case> cases = {
        {"near an edge", 5, 0.5f, false, 1, PICK_ONOBJECT, 0.5f},
        {"exactly one aperture away", 5, 1, false, 1, PICK_ONOBJECT, 1},
        {"inside, far from edges", 5, 5, false, 1, PICK_NOOBJECT, PICK_FAR_DISTANCE},
        {"on the closing edge, open", 0, 5, false, 1, PICK_NOOBJECT, PICK_FAR_DISTANCE},
        {"on the closing edge, closed", 0.25f, 5, true, 1, PICK_ONOBJECT, 0.25f},
        {"nearest of two edges", 9.8f, 9.5f, false, 1, PICK_ONOBJECT, 0.2f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        float d = 0.0f;
        EXPECT_EQ(PickPolyline2D(square.data(), 4, MakePoint2D(c.X, c.Y), c.Closed, IdentityTransform2D, c.Aperture,
                                 d),
                  c.Code);
        EXPECT_NEAR(d, c.Distance, 1e-5f);
    }

    float d = 0.0f;
    EXPECT_EQ(PickPolyline2D(square.data(), 0, MakePoint2D(5, 0), true, IdentityTransform2D, 1, d), PICK_NOOBJECT);
    EXPECT_EQ(d, PICK_FAR_DISTANCE);
    // The points go through the object's transform before the test.
    EXPECT_EQ(PickPolyline2D(square.data(), 4, MakePoint2D(105, 0.5f), false, MakeTranslation2D(100, 0), 1, d),
              PICK_ONOBJECT);
    EXPECT_EQ(PickPolyline2D(square.data(), 4, MakePoint2D(5, 0.5f), false, MakeTranslation2D(100, 0), 1, d),
              PICK_NOOBJECT);
}

TEST(Pick2D, PolygonCodes)
{
    const std::vector<TPoint2D> square = {MakePoint2D(0, 0), MakePoint2D(100, 0), MakePoint2D(100, 100),
                                          MakePoint2D(0, 100)};
    // A U shape: the notch between x 40 and 60 above y 50 is outside.
    const std::vector<TPoint2D> notched = {MakePoint2D(0, 0),    MakePoint2D(100, 0),  MakePoint2D(100, 100),
                                           MakePoint2D(60, 100), MakePoint2D(60, 50),  MakePoint2D(40, 50),
                                           MakePoint2D(40, 100), MakePoint2D(0, 100)};
    struct Case {
        const char* Name;
        const std::vector<TPoint2D>* Points;
        float X, Y;
        int Code;
        float Distance;
    };
    const std::vector<Case> cases = {
        {"middle of a large square", &square, 50, 50, PICK_INOBJECT, 1},
        {"near the bottom edge", &square, 50, 0.5f, PICK_ONOBJECT, 0.5f},
        {"near the closing edge", &square, 0.25f, 50, PICK_ONOBJECT, 0.25f},
        {"outside", &square, 150, 50, PICK_NOOBJECT, PICK_FAR_DISTANCE},
        {"inside, one aperture from the right edge", &square, 99, 50, PICK_INOBJECT, 1},
        {"in the notch", &notched, 50, 80, PICK_NOOBJECT, PICK_FAR_DISTANCE},
        {"in an arm", &notched, 20, 80, PICK_INOBJECT, 1},
        {"level with the notch corners", &notched, 20, 50, PICK_INOBJECT, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        float d = 0.0f;
        EXPECT_EQ(PickPolygon2D(c.Points->data(), static_cast<int>(c.Points->size()), MakePoint2D(c.X, c.Y),
                                IdentityTransform2D, 1.0f, d),
                  c.Code);
        EXPECT_NEAR(d, c.Distance, 1e-5f);
    }
    float d = 0.0f;
    EXPECT_EQ(PickPolygon2D(square.data(), 4, MakePoint2D(-50, 50), MakeTranslation2D(-100, 0), 1.0f, d),
              PICK_INOBJECT);
}

TEST(Pick2D, CrossingTestIsHalfOpen)
{
    const TPoint2D a = MakePoint2D(10, 0);
    const TPoint2D b = MakePoint2D(10, 10);
    EXPECT_TRUE(CrossesRightOf2D(MakePoint2D(5, 0), a, b));
    EXPECT_FALSE(CrossesRightOf2D(MakePoint2D(5, 10), a, b)) << "the upper end does not count";
    EXPECT_TRUE(CrossesRightOf2D(MakePoint2D(5, 0), b, a)) << "whichever way the edge runs";
    EXPECT_TRUE(CrossesRightOf2D(MakePoint2D(10, 5), a, b)) << "on the edge counts";
    EXPECT_FALSE(CrossesRightOf2D(MakePoint2D(11, 5), a, b));
    EXPECT_FALSE(CrossesRightOf2D(MakePoint2D(0, 0), MakePoint2D(5, 0), MakePoint2D(10, 0))) << "horizontal";
    EXPECT_TRUE(CrossesRightOf2D(MakePoint2D(4, 5), MakePoint2D(0, 0), MakePoint2D(10, 10)));
    EXPECT_FALSE(CrossesRightOf2D(MakePoint2D(6, 5), MakePoint2D(0, 0), MakePoint2D(10, 10)));
}
