#include <cmath>
#include <numbers>
#include <random>

#include <gtest/gtest.h>

#include "view3d/maths/MatrixGeometry.h"
#include "view3d/maths/VectorGeometry.h"

namespace {

constexpr float PiF = std::numbers::pi_v<float>;

void ExpectVector(const Vector3f& v, float x, float y, float z, float tolerance = 1e-6f)
{
    EXPECT_NEAR(v.X, x, tolerance);
    EXPECT_NEAR(v.Y, y, tolerance);
    EXPECT_NEAR(v.Z, z, tolerance);
}

void ExpectIdentity(const Matrix4f& m, float tolerance)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(m.M[r][c], r == c ? 1.0f : 0.0f, tolerance) << r << "," << c;
}

Matrix4f Sample()
{
    Matrix4f m;
    const float values[4][4] = {{2, 1, 0, 3}, {0, -1, 4, 1}, {5, 0, 1, -2}, {1, 2, 3, 1}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            m.M[r][c] = values[r][c];
    return m;
}

// The rows are the documented ones: with points as row vectors, a positive
// angle about Z takes X to -Y. Every later rotation of the scene builds on this sign.
TEST(MatrixGeometry, RotationAboutAnAxisFollowsItsRows)
{
    const Matrix4f m = CreateRotationMatrix({0, 0, 2}, PiF / 2);
    ExpectVector(VectorTransform(Vector3f{1, 0, 0}, m), 0, -1, 0);
    ExpectVector(VectorTransform(Vector3f{0, 1, 0}, m), 1, 0, 0);
    ExpectVector(VectorTransform(Vector3f{0, 0, 1}, m), 0, 0, 1);
    const Vector4f turned = VectorRotateAroundAxis({0, 0, 1, 0}, {1, 0, 0}, PiF / 2);
    ExpectVector(AffineOf(turned), 0, 1, 0);
    EXPECT_EQ(turned.W, 0.0f);
    const Matrix4f tilted = CreateRotationMatrix({1, 1, 1}, 1.234f);
    EXPECT_NEAR(Vector3Length(VectorTransform(Vector3f{3, -4, 12}, tilted)), 13.0f, 1e-5f);
    ExpectVector(VectorTransform(Vector3f{2, 2, 2}, tilted), 2, 2, 2, 1e-6f);
}

TEST(MatrixGeometry, ProductsApplyTheLeftMatrixFirstAndMayWriteAnInput)
{
    const Matrix4f move = CreateScaleAndTranslationMatrix({1, 1, 1}, {10, 0, 0});
    const Matrix4f scale = CreateScaleAndTranslationMatrix({2, 3, 4}, {0, 0, 0});
    ExpectVector(VectorTransform(Vector3f{1, 1, 1}, MatrixMultiply(move, scale)), 22, 3, 4);
    ExpectVector(VectorTransform(Vector3f{1, 1, 1}, MatrixMultiply(scale, move)), 12, 3, 4);

    const Matrix4f a = Sample();
    const Matrix4f b = CreateRotationMatrix({0, 1, 0}, 0.7f);
    const Matrix4f expected = MatrixMultiply(a, b);
    Matrix4f left = a;
    MatrixMultiplyInto(left, b, left);
    Matrix4f right = b;
    MatrixMultiplyInto(a, right, right);
    Matrix4f both = a;
    MatrixMultiplyInto(both, both, both);
    const Matrix4f squared = MatrixMultiply(a, a);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(left.M[r][c], expected.M[r][c]);
            EXPECT_EQ(right.M[r][c], expected.M[r][c]);
            EXPECT_EQ(both.M[r][c], squared.M[r][c]);
        }
    Vector4f v{1, 2, 3, 1};
    const Vector4f w = VectorTransform(v, a);
    VectorTransformInto(v, a, v);
    EXPECT_TRUE(Vector4Equals(v, w));
    EXPECT_TRUE(Vector4Equals(w, {18, 1, 14, 0}));
}

TEST(MatrixGeometry, DeterminantAndSingularInverses)
{
    EXPECT_FLOAT_EQ(MatrixDeterminant(Sample()), -198.0f);
    Matrix4f flat = Sample();
    flat.M[2][0] = 0, flat.M[2][1] = 0, flat.M[2][2] = 0, flat.M[2][3] = 0;
    EXPECT_EQ(MatrixDeterminant(flat), 0.0f);
    ExpectIdentity(InvertMatrix(flat), 0);
    // 1e-41 as a determinant: singular, though far from zero as a float.
    const Matrix4f tiny = CreateScaleAndTranslationMatrix({1e-20f, 1e-21f, 1}, {5, 6, 7});
    ExpectIdentity(InvertMatrix(tiny), 0);
    const Matrix4f squashed = CreateScaleAndTranslationMatrix({0, 1, 1}, {5, 6, 7});
    ExpectIdentity(AnglePreservingMatrixInvert(squashed), 0);

    Matrix4f m = Sample();
    TransposeUpper3x3(m);
    EXPECT_EQ(m.M[0][1], 0.0f);
    EXPECT_EQ(m.M[1][0], 1.0f);
    EXPECT_EQ(m.M[0][3], 3.0f);
    ScaleMatrix(m, 2);
    EXPECT_EQ(m.M[3][3], 2.0f);
}

Matrix4f RandomPlacement(std::mt19937& random, bool uniformScale)
{
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    std::uniform_real_distribution<float> scale(0.1f, 10.0f);
    const Vector3f axis{unit(random), unit(random), unit(random) + 2.0f};
    const float s = scale(random);
    const Vector3f scales = uniformScale ? Vector3f{s, s, s} : Vector3f{s, scale(random), scale(random)};
    const Matrix4f rotation = CreateRotationMatrix(axis, unit(random) * PiF);
    const Matrix4f placement =
        CreateScaleAndTranslationMatrix(scales, {100 * unit(random), 100 * unit(random), 100 * unit(random)});
    return MatrixMultiply(rotation, placement);
}

// Over rigid, uniformly and unevenly scaled placements: M x M^-1 is the
// identity within single precision, and for the angle-preserving ones both
// inverses agree.
TEST(MatrixGeometry, MatrixTimesItsInverseIsTheIdentity)
{
    std::mt19937 random(41);
    for (int i = 0; i < 2000; ++i) {
        const bool uniform = i % 2 == 0;
        const Matrix4f m = RandomPlacement(random, uniform);
        const Matrix4f inverse = InvertMatrix(m);
        ExpectIdentity(MatrixMultiply(m, inverse), 2e-4f);
        ExpectIdentity(MatrixMultiply(inverse, m), 2e-4f);
        if (uniform) {
            const Matrix4f fast = AnglePreservingMatrixInvert(m);
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 4; ++c)
                    ASSERT_NEAR(fast.M[r][c], inverse.M[r][c], 1e-4f * std::max(1.0f, std::fabs(inverse.M[r][c])));
        }
    }
}

TEST(MatrixGeometry, OrthonormalBasisIsRightHanded)
{
    const Matrix4f basis = CreateOrthonormalBasis({0, 0, -3}, {0, 2, 0});
    ExpectVector(VectorTransform(Vector3f{1, 0, 0}, basis), -1, 0, 0);
    ExpectVector(VectorTransform(Vector3f{0, 1, 0}, basis), 0, 1, 0);
    ExpectVector(VectorTransform(Vector3f{0, 0, 1}, basis), 0, 0, -1);
    EXPECT_FLOAT_EQ(MatrixDeterminant(basis), 1.0f);
}

} // namespace
