#pragma once

// Matrix routines of the 3D scene. Points are row vectors: v' = v x M, and
// M1 x M2 applies M1 first. The "...Into" forms stay correct when their
// output is also one of their inputs.

#include "view3d/maths/VectorTypes.h"

// The full 4x4 product of a homogeneous vector.
Vector4f VectorTransform(const Vector4f& v, const Matrix4f& m);
void VectorTransformInto(const Vector4f& v, const Matrix4f& m, Vector4f& out);
// A 3-component point: W taken as 1, so row 3 adds the translation.
Vector3f VectorTransform(const Vector3f& v, const Matrix4f& m);

Matrix4f MatrixMultiply(const Matrix4f& a, const Matrix4f& b);
void MatrixMultiplyInto(const Matrix4f& a, const Matrix4f& b, Matrix4f& out);

// Diagonal = scale, row 3 = offset.
Matrix4f CreateScaleAndTranslationMatrix(const Vector3f& scale, const Vector3f& offset);
// Rotation about an axis (normalised here) by an angle in radians.
Matrix4f CreateRotationMatrix(const Vector3f& axis, float angle);
Vector4f VectorRotateAroundAxis(const Vector4f& v, const Vector3f& axis, float angle);
// Rows: X = normalise(up x direction), Y = Z x X, Z = normalise(direction).
Matrix4f CreateOrthonormalBasis(const Vector3f& direction, const Vector3f& up);

// Expansion along the first row over 3x3 minors.
float MatrixDeterminant(const Matrix4f& m);
void TransposeUpper3x3(Matrix4f& m);
void ScaleMatrix(Matrix4f& m, float factor);

// The adjoint over the determinant; a singular matrix gives the identity.
Matrix4f InvertMatrix(const Matrix4f& m);
// For a rotation with a uniform scale and a translation; a zero scale gives the identity.
Matrix4f AnglePreservingMatrixInvert(const Matrix4f& m);
