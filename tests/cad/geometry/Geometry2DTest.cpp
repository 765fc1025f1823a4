#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "cad/geometry/Geometry2D.h"
#include "support/PointExpectations.h"

using cadtest::ExpectPointNear;

namespace {

constexpr float Pi = std::numbers::pi_v<float>;

void ExpectTransformNear(const TTransform2D& actual, const TTransform2D& expected, float tolerance = 1e-5f)
{
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            EXPECT_NEAR(actual.M[row][col], expected.M[row][col], tolerance) << "entry " << row << "," << col;
}

// The textbook product, to check each shortcut path of MultiplyTransforms2D against.
TTransform2D ReferenceProduct(const TTransform2D& a, const TTransform2D& b)
{
    TTransform2D r;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            double sum = 0.0;
            for (int k = 0; k < 3; ++k)
                sum += static_cast<double>(a.M[row][k]) * b.M[k][col];
            r.M[row][col] = static_cast<float>(sum);
        }
    return r;
}

TTransform2D Projective()
{
    TTransform2D t = MultiplyTransforms2D(MakeRotation2D(0.3f), MakeTranslation2D(2.0f, -1.0f));
    t.M[0][2] = 0.01f;
    t.M[1][2] = -0.02f;
    t.M[2][2] = 1.5f;
    return t;
}

} // namespace

TEST(Geometry2DPoints, CartesianFormDividesOnlyForOtherWeights)
{
    const TPoint2D weighted = CartesianPoint2D({4.0f, -6.0f, 2.0f});
    EXPECT_EQ(weighted.X, 2.0f);
    EXPECT_EQ(weighted.Y, -3.0f);
    EXPECT_EQ(weighted.W, 1.0f);
    const TPoint2D direction = CartesianPoint2D({4.0f, -6.0f, 0.0f});
    EXPECT_EQ(direction.X, 4.0f);
    EXPECT_EQ(direction.W, 0.0f);

    EXPECT_TRUE(SamePoint2D({4.0f, 6.0f, 2.0f}, {2.0f, 3.0f, 1.0f}));
    EXPECT_FALSE(SamePoint2D({4.0f, 6.0f, 2.0f}, {4.0f, 6.0f, 1.0f}));
    // Equal weights are compared as stored, without division.
    EXPECT_FALSE(SamePoint2D({4.0f, 6.0f, 2.0f}, {2.0f, 3.0f, 2.0f}));

    const TVect d = Point2DDifference({2.0f, 2.0f, 2.0f}, MakePoint2D(4.0f, 5.0f));
    EXPECT_EQ(d.X, 3.0);
    EXPECT_EQ(d.Y, 4.0);
    EXPECT_EQ(Point2DDistance2D({2.0f, 2.0f, 2.0f}, MakePoint2D(4.0f, 5.0f)), 5.0f);
    // Point2DDistance works on the stored X and Y.
    EXPECT_DOUBLE_EQ(Point2DDistance({2.0f, 2.0f, 2.0f}, MakePoint2D(5.0f, 6.0f)), 5.0);
}

TEST(Geometry2DPoints, WindowConversionRoundsHalfToEven)
{
    struct Case {
        float In;
        int Out;
    };
    for (const Case c : {Case{0.5f, 0}, {1.5f, 2}, {2.5f, 2}, {-0.5f, 0}, {-1.5f, -2}, {2.4f, 2}, {2.6f, 3}}) {
        EXPECT_EQ(Point2DToWindowPoint(MakePoint2D(c.In, 0.0f)).X, c.Out) << c.In;
        EXPECT_EQ(Point2DToWindowPoint(MakePoint2D(0.0f, c.In)).Y, c.Out) << c.In;
    }
    EXPECT_EQ(Point2DToWindowPoint({5.0f, 7.0f, 2.0f}).X, 2);  // 2.5 after the division

    const TWindowRect r = Rect2DToWindowRect(MakeRect2D(10.5f, 20.0f, 1.0f, 3.5f));
    EXPECT_EQ(r.Left, 1);
    EXPECT_EQ(r.Top, 4);
    EXPECT_EQ(r.Right, 10);
    EXPECT_EQ(r.Bottom, 20);

    // No reordering: the first corner is (Left, Top).
    const TRect2D box = WindowRectToRect2D({5, 1, 2, 8});
    EXPECT_EQ(box.FirstEdge.X, 5.0f);
    EXPECT_EQ(box.FirstEdge.Y, 1.0f);
    EXPECT_EQ(box.SecondEdge.X, 2.0f);
    EXPECT_EQ(box.SecondEdge.Y, 8.0f);
}

TEST(Geometry2DPoints, OutcodesAndBoxRelations)
{
    const TRect2D box = MakeRect2D(0.0f, 0.0f, 10.0f, 10.0f);
    struct Case {
        float X, Y;
        int Code;
    };
    for (const Case c : {Case{5, 5, 0}, {0, 0, 0}, {10, 10, 0}, {-1, 5, 1}, {5, -1, 2}, {11, 5, 4}, {5, 11, 8},
                         {-1, -1, 3}, {11, 11, 12}}) {
        EXPECT_EQ(OutcodeOfPoint2D(box, MakePoint2D(c.X, c.Y)), c.Code) << c.X << "," << c.Y;
        EXPECT_EQ(PointInBox2D(box, MakePoint2D(c.X, c.Y)), c.Code == 0);
    }

    EXPECT_TRUE(BoxesOverlap2D(MakeRect2D(5, 5, 15, 15), box));
    EXPECT_TRUE(BoxesOverlap2D(MakeRect2D(-5, -5, 20, 20), box)) << "an enclosing box overlaps";
    EXPECT_TRUE(BoxesOverlap2D(MakeRect2D(15, 15, 5, 5), box)) << "boxes are normalised first";
    EXPECT_FALSE(BoxesOverlap2D(MakeRect2D(11, 0, 20, 10), box));
    EXPECT_TRUE(BoxesOverlap2D(MakeRect2D(10, 10, 20, 20), box)) << "touching edges overlap";

    EXPECT_TRUE(BoxInBox2D(MakeRect2D(1, 1, 10, 10), box));
    EXPECT_FALSE(BoxInBox2D(MakeRect2D(1, 1, 11, 10), box));

    const TRect2D u = UnionBox2D(MakeRect2D(5, 8, -2, 3), MakeRect2D(1, 1, 2, 12));
    EXPECT_EQ(u.FirstEdge.X, -2.0f);
    EXPECT_EQ(u.FirstEdge.Y, 1.0f);
    EXPECT_EQ(u.SecondEdge.X, 5.0f);
    EXPECT_EQ(u.SecondEdge.Y, 12.0f);

    const TRect2D grown = InflateBox2D({{2, 2, 2}, {6, 6, 2}}, 1.0f);
    EXPECT_EQ(grown.FirstEdge.X, 0.0f);
    EXPECT_EQ(grown.SecondEdge.Y, 4.0f);
    EXPECT_EQ(grown.SecondEdge.W, 1.0f);
}

TEST(Geometry2DPoints, OrthoConstrainKeepsTheLongerOffset)
{
    TPoint2D horizontal = MakePoint2D(5.0f, 2.0f);
    OrthoConstrain2D(MakePoint2D(0.0f, 0.0f), horizontal);
    ExpectPointNear(horizontal, 5.0f, 0.0f);
    TPoint2D vertical = MakePoint2D(-2.0f, -5.0f);
    OrthoConstrain2D(MakePoint2D(0.0f, 0.0f), vertical);
    ExpectPointNear(vertical, 0.0f, -5.0f);
    TPoint2D tie = MakePoint2D(3.0f, 3.0f);
    OrthoConstrain2D(MakePoint2D(0.0f, 0.0f), tie);
    ExpectPointNear(tie, 0.0f, 3.0f);
}

TEST(Geometry2DTransforms, BuildersAndCompositionOrder)
{
    ExpectPointNear(ApplyTransform2D(MakePoint2D(1, 0), MakeRotation2D(Pi / 2)), 0.0f, 1.0f);
    ExpectPointNear(ApplyTransform2D(MakePoint2D(3, 4), MakeMirror2D(0)), 3.0f, -4.0f);
    ExpectPointNear(ApplyTransform2D(MakePoint2D(3, 4), MakeMirror2D(1)), -3.0f, 4.0f);
    ExpectPointNear(ApplyTransform2D(MakePoint2D(3, 4), MakeMirror2D(2)), -3.0f, -4.0f);
    EXPECT_TRUE(SameTransform2D(MakeMirror2D(7), IdentityTransform2D));

    // A*B applies A first: translate then scale, not the other way round.
    const TTransform2D translate = MakeTranslation2D(1.0f, 0.0f);
    const TTransform2D scale = MakeScale2D(2.0f, 3.0f);
    ExpectPointNear(ApplyTransform2D(MakePoint2D(0, 1), MultiplyTransforms2D(translate, scale)), 2.0f, 3.0f);
    ExpectPointNear(ApplyTransform2D(MakePoint2D(0, 1), MultiplyTransforms2D(scale, translate)), 1.0f, 3.0f);
    // Rotate a quarter turn about the origin, then move: (1, 0) -> (0, 1) -> (10, 1).
    const TTransform2D rotateThenMove = MultiplyTransforms2D(MakeRotation2D(Pi / 2), MakeTranslation2D(10, 0));
    ExpectPointNear(ApplyTransform2D(MakePoint2D(1, 0), rotateThenMove), 10.0f, 1.0f);
}

TEST(Geometry2DTransforms, EveryMultiplyPathMatchesTheFullProduct)
{
    const TTransform2D affine = MultiplyTransforms2D(MakeRotation2D(0.7f), MakeTranslation2D(3.0f, -2.0f));
    const TTransform2D general = Projective();
    struct Case {
        const char* Name;
        TTransform2D A, B;
    };
    for (const Case& c : {Case{"affine*affine", affine, MakeScale2D(2, 5)}, Case{"affine*general", affine, general},
                          Case{"general*affine", general, affine}, Case{"general*general", general, general}}) {
        SCOPED_TRACE(c.Name);
        ExpectTransformNear(MultiplyTransforms2D(c.A, c.B), ReferenceProduct(c.A, c.B));
    }
    const TTransform2D both = MultiplyTransforms2D(affine, affine);
    EXPECT_EQ(both.M[0][2], 0.0f);
    EXPECT_EQ(both.M[1][2], 0.0f);
    EXPECT_EQ(both.M[2][2], 1.0f);
    EXPECT_TRUE(IsAffineTransform2D(both));
    EXPECT_FALSE(IsAffineTransform2D(general));
}

TEST(Geometry2DTransforms, InversionOnBothPaths)
{
    const TTransform2D affine = MultiplyTransforms2D(
        MultiplyTransforms2D(MakeScale2D(2.0f, 0.5f), MakeRotation2D(0.4f)), MakeTranslation2D(7.0f, -3.0f));
    const TTransform2D affineInverse = InvertTransform2D(affine);
    EXPECT_TRUE(IsAffineTransform2D(affineInverse));
    ExpectTransformNear(MultiplyTransforms2D(affine, affineInverse), IdentityTransform2D);
    ExpectPointNear(ApplyTransform2D(ApplyTransform2D(MakePoint2D(3, 4), affine), affineInverse), 3.0f, 4.0f);

    const TTransform2D general = Projective();
    const TTransform2D generalInverse = InvertTransform2D(general);
    ExpectTransformNear(MultiplyTransforms2D(general, generalInverse), IdentityTransform2D);
    ExpectPointNear(ApplyTransform2D(ApplyTransform2D(MakePoint2D(3, 4), general), generalInverse), 3.0f, 4.0f);

    // The adjugate times the matrix is the determinant times the identity.
    const TTransform2D scaledIdentity = MultiplyTransforms2D(general, AdjugateTransform2D(general));
    const float det = Det3x3(general);
    TTransform2D detTimesIdentity = MakeScale2D(det, det);
    detTimesIdentity.M[2][2] = det;
    ExpectTransformNear(scaledIdentity, detTimesIdentity, 1e-4f);
    EXPECT_FLOAT_EQ(Det2x2(1, 2, 3, 4), -2.0f);

    EXPECT_TRUE(SameTransform2D(InvertTransform2D(MakeScale2D(0.0f, 1.0f)), NullTransform2D));
    TTransform2D singularGeneral = IdentityTransform2D;
    singularGeneral.M[0][0] = 1; singularGeneral.M[0][1] = 2; singularGeneral.M[0][2] = 1;
    singularGeneral.M[1][0] = 2; singularGeneral.M[1][1] = 4; singularGeneral.M[1][2] = 2;
    singularGeneral.M[2][2] = 3;
    EXPECT_TRUE(SameTransform2D(InvertTransform2D(singularGeneral), NullTransform2D));
    ExpectPointNear(ApplyTransform2D(MakePoint2D(8, 9), NullTransform2D), 0.0f, 0.0f);
}

TEST(Geometry2DTransforms, BoxesAndArcAnglesThroughATransform)
{
    const TRect2D unit = MakeRect2D(0, 0, 1, 1);
    const TRect2D rotated = TransformBox2D(unit, MakeRotation2D(Pi / 4));
    const float half = std::sqrt(0.5f);
    EXPECT_NEAR(rotated.FirstEdge.X, -half, 1e-6f);
    EXPECT_NEAR(rotated.FirstEdge.Y, 0.0f, 1e-6f);
    EXPECT_NEAR(rotated.SecondEdge.X, half, 1e-6f);
    EXPECT_NEAR(rotated.SecondEdge.Y, 2 * half, 1e-6f);

    const TRect2D corners = TransformBoxCorners2D(unit, MakeMirror2D(1));
    EXPECT_EQ(corners.FirstEdge.X, 0.0f);
    EXPECT_EQ(corners.SecondEdge.X, -1.0f) << "corners are not reordered";

    float start = 0.0f;
    float end = Pi / 2;
    TransformArcAngles2D(MakePoint2D(5, 5), MakeMirror2D(0), start, end, 2.0f);
    EXPECT_NEAR(start, 0.0f, 1e-6f);
    EXPECT_NEAR(end, -Pi / 2, 1e-6f);
}

TEST(Geometry2DTransforms, ViewMappingGrowsTheWorldToTheScreenAspect)
{
    // A 200x100 screen: a square world grows in X.
    TRect2D world = MakeRect2D(0, 0, 10, 10);
    TTransform2D t = ViewMapping2D(world, 0, 0, 200, 100, 1.0f);
    EXPECT_EQ(world.SecondEdge.X, 20.0f);
    EXPECT_EQ(world.SecondEdge.Y, 10.0f);
    ExpectPointNear(ApplyTransform2D(MakePoint2D(0, 0), t), -0.5f, 99.5f);
    ExpectPointNear(ApplyTransform2D(MakePoint2D(20, 10), t), 199.5f, -0.5f);

    // A 100x200 screen: a square world grows in Y.
    world = MakeRect2D(-5, 1, 5, 11);
    t = ViewMapping2D(world, 10, 20, 110, 220, 1.0f);
    EXPECT_EQ(world.SecondEdge.X, 5.0f);
    EXPECT_EQ(world.SecondEdge.Y, 21.0f);
    ExpectPointNear(ApplyTransform2D(MakePoint2D(-5, 1), t), 9.5f, 219.5f);
    ExpectPointNear(ApplyTransform2D(MakePoint2D(5, 21), t), 109.5f, 19.5f);

    // Aspect 2 on a square screen shows a world twice as wide as high.
    world = MakeRect2D(0, 0, 10, 10);
    t = ViewMapping2D(world, 0, 0, 100, 100, 2.0f);
    EXPECT_EQ(world.SecondEdge.X, 20.0f);
    EXPECT_EQ(world.SecondEdge.Y, 10.0f);
    EXPECT_EQ(t.M[0][0], 5.0f);
    EXPECT_EQ(t.M[1][1], -10.0f);

    // No aspect: the world box stays and each axis scales on its own.
    world = MakeRect2D(0, 0, 10, 10);
    t = ViewMapping2D(world, 0, 0, 200, 100, 0.0f);
    EXPECT_EQ(world.SecondEdge.X, 10.0f);
    EXPECT_EQ(t.M[0][0], 20.0f);
    EXPECT_EQ(t.M[1][1], -10.0f);
}
