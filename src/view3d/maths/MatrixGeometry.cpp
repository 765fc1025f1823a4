#include "view3d/maths/MatrixGeometry.h"

#include <cmath>

#include "view3d/maths/VectorGeometry.h"

namespace {

float Single(double value)
{
    return static_cast<float>(value);
}

// The determinant of the 3x3 minor left when row `skipRow` and column
// `skipColumn` are removed.
double Minor3x3(const Matrix4f& m, int skipRow, int skipColumn)
{
    int rows[3];
    int columns[3];
    for (int i = 0, r = 0, c = 0; i < 4; ++i) {
        if (i != skipRow)
            rows[r++] = i;
        if (i != skipColumn)
            columns[c++] = i;
    }
    const auto at = [&](int r, int c) { return static_cast<double>(m.M[rows[r]][columns[c]]); };
    return at(0, 0) * (at(1, 1) * at(2, 2) - at(1, 2) * at(2, 1)) -
           at(0, 1) * (at(1, 0) * at(2, 2) - at(1, 2) * at(2, 0)) +
           at(0, 2) * (at(1, 0) * at(2, 1) - at(1, 1) * at(2, 0));
}

double Determinant(const Matrix4f& m)
{
    double result = 0.0;
    for (int column = 0; column < 4; ++column) {
        const double sign = (column % 2 == 0) ? 1.0 : -1.0;
        result += sign * m.M[0][column] * Minor3x3(m, 0, column);
    }
    return result;
}

} // namespace

// The products run once per scene node and vertex: plain single precision,
// row by row, which the compiler turns into four-wide vector arithmetic.
Vector4f VectorTransform(const Vector4f& v, const Matrix4f& m)
{
    float out[4];
    for (int c = 0; c < 4; ++c)
        out[c] = v.X * m.M[0][c] + v.Y * m.M[1][c] + v.Z * m.M[2][c] + v.W * m.M[3][c];
    return {out[0], out[1], out[2], out[3]};
}

void VectorTransformInto(const Vector4f& v, const Matrix4f& m, Vector4f& out)
{
    out = VectorTransform(v, m);
}

Vector3f VectorTransform(const Vector3f& v, const Matrix4f& m)
{
    return {v.X * m.M[0][0] + v.Y * m.M[1][0] + v.Z * m.M[2][0] + m.M[3][0],
            v.X * m.M[0][1] + v.Y * m.M[1][1] + v.Z * m.M[2][1] + m.M[3][1],
            v.X * m.M[0][2] + v.Y * m.M[1][2] + v.Z * m.M[2][2] + m.M[3][2]};
}

Matrix4f MatrixMultiply(const Matrix4f& a, const Matrix4f& b)
{
    Matrix4f out;
    for (int r = 0; r < 4; ++r) {
        const float x = a.M[r][0];
        const float y = a.M[r][1];
        const float z = a.M[r][2];
        const float w = a.M[r][3];
        for (int c = 0; c < 4; ++c)
            out.M[r][c] = x * b.M[0][c] + y * b.M[1][c] + z * b.M[2][c] + w * b.M[3][c];
    }
    return out;
}

void MatrixMultiplyInto(const Matrix4f& a, const Matrix4f& b, Matrix4f& out)
{
    // Built in a temporary first: out may be a or b.
    out = MatrixMultiply(a, b);
}

Matrix4f CreateScaleAndTranslationMatrix(const Vector3f& scale, const Vector3f& offset)
{
    Matrix4f m;
    m.M[0][0] = scale.X;
    m.M[1][1] = scale.Y;
    m.M[2][2] = scale.Z;
    m.M[3][0] = offset.X;
    m.M[3][1] = offset.Y;
    m.M[3][2] = offset.Z;
    return m;
}

Matrix4f CreateRotationMatrix(const Vector3f& axis, float angle)
{
    const Vector3f a = Vector3Normalize(axis);
    const double x = a.X;
    const double y = a.Y;
    const double z = a.Z;
    const double c = std::cos(static_cast<double>(angle));
    const double s = std::sin(static_cast<double>(angle));
    const double t = 1.0 - c;
    Matrix4f m;
    m.M[0][0] = Single(t * x * x + c);
    m.M[0][1] = Single(t * x * y - z * s);
    m.M[0][2] = Single(t * z * x + y * s);
    m.M[1][0] = Single(t * x * y + z * s);
    m.M[1][1] = Single(t * y * y + c);
    m.M[1][2] = Single(t * y * z - x * s);
    m.M[2][0] = Single(t * z * x - y * s);
    m.M[2][1] = Single(t * y * z + x * s);
    m.M[2][2] = Single(t * z * z + c);
    return m;
}

Vector4f VectorRotateAroundAxis(const Vector4f& v, const Vector3f& axis, float angle)
{
    return VectorTransform(v, CreateRotationMatrix(axis, angle));
}

Matrix4f CreateOrthonormalBasis(const Vector3f& direction, const Vector3f& up)
{
    const Vector3f z = Vector3Normalize(direction);
    const Vector3f x = Vector3Normalize(Vector3Cross(up, z));
    const Vector3f y = Vector3Cross(z, x);
    Matrix4f m;
    m.M[0][0] = x.X, m.M[0][1] = x.Y, m.M[0][2] = x.Z;
    m.M[1][0] = y.X, m.M[1][1] = y.Y, m.M[1][2] = y.Z;
    m.M[2][0] = z.X, m.M[2][1] = z.Y, m.M[2][2] = z.Z;
    return m;
}

float MatrixDeterminant(const Matrix4f& m)
{
    return Single(Determinant(m));
}

void TransposeUpper3x3(Matrix4f& m)
{
    for (int r = 0; r < 3; ++r)
        for (int c = r + 1; c < 3; ++c) {
            const float swap = m.M[r][c];
            m.M[r][c] = m.M[c][r];
            m.M[c][r] = swap;
        }
}

void ScaleMatrix(Matrix4f& m, float factor)
{
    for (auto& row : m.M)
        for (float& entry : row)
            entry *= factor;
}

Matrix4f InvertMatrix(const Matrix4f& m)
{
    // The adjoint through the twelve 2x2 determinants of the upper and the
    // lower two rows (Laplace expansion by complementary minors), in double.
    const auto a = [&m](int r, int c) { return static_cast<double>(m.M[r][c]); };
    const double s0 = a(0, 0) * a(1, 1) - a(1, 0) * a(0, 1);
    const double s1 = a(0, 0) * a(1, 2) - a(1, 0) * a(0, 2);
    const double s2 = a(0, 0) * a(1, 3) - a(1, 0) * a(0, 3);
    const double s3 = a(0, 1) * a(1, 2) - a(1, 1) * a(0, 2);
    const double s4 = a(0, 1) * a(1, 3) - a(1, 1) * a(0, 3);
    const double s5 = a(0, 2) * a(1, 3) - a(1, 2) * a(0, 3);
    const double c5 = a(2, 2) * a(3, 3) - a(3, 2) * a(2, 3);
    const double c4 = a(2, 1) * a(3, 3) - a(3, 1) * a(2, 3);
    const double c3 = a(2, 1) * a(3, 2) - a(3, 1) * a(2, 2);
    const double c2 = a(2, 0) * a(3, 3) - a(3, 0) * a(2, 3);
    const double c1 = a(2, 0) * a(3, 2) - a(3, 0) * a(2, 2);
    const double c0 = a(2, 0) * a(3, 1) - a(3, 0) * a(2, 1);
    const double d = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
    if (std::fabs(d) < SingularEpsilon)
        return IdentityMatrix4f;
    const double k = 1.0 / d;
    const double adjoint[4][4] = {
        {a(1, 1) * c5 - a(1, 2) * c4 + a(1, 3) * c3, -a(0, 1) * c5 + a(0, 2) * c4 - a(0, 3) * c3,
         a(3, 1) * s5 - a(3, 2) * s4 + a(3, 3) * s3, -a(2, 1) * s5 + a(2, 2) * s4 - a(2, 3) * s3},
        {-a(1, 0) * c5 + a(1, 2) * c2 - a(1, 3) * c1, a(0, 0) * c5 - a(0, 2) * c2 + a(0, 3) * c1,
         -a(3, 0) * s5 + a(3, 2) * s2 - a(3, 3) * s1, a(2, 0) * s5 - a(2, 2) * s2 + a(2, 3) * s1},
        {a(1, 0) * c4 - a(1, 1) * c2 + a(1, 3) * c0, -a(0, 0) * c4 + a(0, 1) * c2 - a(0, 3) * c0,
         a(3, 0) * s4 - a(3, 1) * s2 + a(3, 3) * s0, -a(2, 0) * s4 + a(2, 1) * s2 - a(2, 3) * s0},
        {-a(1, 0) * c3 + a(1, 1) * c1 - a(1, 2) * c0, a(0, 0) * c3 - a(0, 1) * c1 + a(0, 2) * c0,
         -a(3, 0) * s3 + a(3, 1) * s1 - a(3, 2) * s0, a(2, 0) * s3 - a(2, 1) * s1 + a(2, 2) * s0},
    };
    Matrix4f out;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            out.M[r][c] = Single(adjoint[r][c] * k);
    return out;
}

Matrix4f AnglePreservingMatrixInvert(const Matrix4f& m)
{
    const double s = static_cast<double>(m.M[0][0]) * m.M[0][0] + static_cast<double>(m.M[0][1]) * m.M[0][1] +
                     static_cast<double>(m.M[0][2]) * m.M[0][2];
    if (std::fabs(s) < SingularEpsilon)
        return IdentityMatrix4f;
    const double inverse = 1.0 / s;
    Matrix4f out;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            out.M[r][c] = Single(m.M[c][r] * inverse);
    for (int c = 0; c < 3; ++c) {
        const double t = static_cast<double>(m.M[3][0]) * out.M[0][c] + static_cast<double>(m.M[3][1]) * out.M[1][c] +
                         static_cast<double>(m.M[3][2]) * out.M[2][c];
        out.M[3][c] = Single(-t);
    }
    return out;
}
