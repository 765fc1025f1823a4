// The routines the scene walk runs for every node (matrix product, a vector
// through a matrix, the inverse), each beside the same operation written
// plainly in single precision, as a peer in the same run.

#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

#include "view3d/maths/MatrixGeometry.h"

namespace {

constexpr int NodeCount = 4096;

std::vector<Matrix4f> NodeMatrices()
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    std::vector<Matrix4f> matrices;
    for (int i = 0; i < NodeCount; ++i) {
        const Matrix4f rotation = CreateRotationMatrix({unit(random), unit(random), 2.0f}, unit(random) * 3.0f);
        const float s = 1.0f + 0.5f * unit(random);
        matrices.push_back(MatrixMultiply(
            rotation, CreateScaleAndTranslationMatrix({s, s, s}, {10 * unit(random), 10 * unit(random), 0})));
    }
    return matrices;
}

void PlainMultiply(const Matrix4f& a, const Matrix4f& b, Matrix4f& out)
{
    Matrix4f result;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += a.M[r][k] * b.M[k][c];
            result.M[r][c] = sum;
        }
    out = result;
}

Vector4f PlainTransform(const Vector4f& v, const Matrix4f& m)
{
    const float in[4] = {v.X, v.Y, v.Z, v.W};
    float out[4] = {};
    for (int c = 0; c < 4; ++c)
        for (int k = 0; k < 4; ++k)
            out[c] += in[k] * m.M[k][c];
    return {out[0], out[1], out[2], out[3]};
}

// Gauss-Jordan elimination with partial pivoting, in single precision.
Matrix4f PlainInvert(const Matrix4f& m)
{
    float a[4][8];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            a[r][c] = m.M[r][c];
            a[r][c + 4] = r == c ? 1.0f : 0.0f;
        }
    for (int c = 0; c < 4; ++c) {
        int pivot = c;
        for (int r = c + 1; r < 4; ++r)
            if (std::abs(a[r][c]) > std::abs(a[pivot][c]))
                pivot = r;
        if (a[pivot][c] == 0.0f)
            return IdentityMatrix4f;
        for (int k = 0; k < 8; ++k)
            std::swap(a[c][k], a[pivot][k]);
        const float inverse = 1.0f / a[c][c];
        for (int k = 0; k < 8; ++k)
            a[c][k] *= inverse;
        for (int r = 0; r < 4; ++r)
            if (r != c) {
                const float f = a[r][c];
                for (int k = 0; k < 8; ++k)
                    a[r][k] -= f * a[c][k];
            }
    }
    Matrix4f result;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            result.M[r][c] = a[r][c + 4];
    return result;
}

// Each node's absolute matrix is its local matrix times its parent's.
template <bool Plain>
void BM_MatrixProduct(benchmark::State& state)
{
    const std::vector<Matrix4f> local = NodeMatrices();
    for (auto _ : state) {
        Matrix4f absolute = IdentityMatrix4f;
        for (const Matrix4f& m : local) {
            if constexpr (Plain)
                PlainMultiply(m, absolute, absolute);
            else
                MatrixMultiplyInto(m, absolute, absolute);
            benchmark::DoNotOptimize(absolute);
        }
    }
    state.SetItemsProcessed(state.iterations() * NodeCount);
}
BENCHMARK(BM_MatrixProduct<false>)->Name("View3D/MatrixProduct/ours");
BENCHMARK(BM_MatrixProduct<true>)->Name("View3D/MatrixProduct/plain");

template <bool Plain>
void BM_VectorTransform(benchmark::State& state)
{
    const std::vector<Matrix4f> matrices = NodeMatrices();
    for (auto _ : state) {
        Vector4f v{1, 2, 3, 1};
        for (const Matrix4f& m : matrices) {
            if constexpr (Plain)
                v = PlainTransform(v, m);
            else
                VectorTransformInto(v, m, v);
            benchmark::DoNotOptimize(v);
        }
    }
    state.SetItemsProcessed(state.iterations() * NodeCount);
}
BENCHMARK(BM_VectorTransform<false>)->Name("View3D/VectorTransform/ours");
BENCHMARK(BM_VectorTransform<true>)->Name("View3D/VectorTransform/plain");

template <int Kind>
void BM_Inverse(benchmark::State& state)
{
    const std::vector<Matrix4f> matrices = NodeMatrices();
    for (auto _ : state) {
        for (const Matrix4f& m : matrices) {
            Matrix4f inverse;
            if constexpr (Kind == 0)
                inverse = InvertMatrix(m);
            else if constexpr (Kind == 1)
                inverse = AnglePreservingMatrixInvert(m);
            else
                inverse = PlainInvert(m);
            benchmark::DoNotOptimize(inverse);
        }
    }
    state.SetItemsProcessed(state.iterations() * NodeCount);
}
BENCHMARK(BM_Inverse<0>)->Name("View3D/Inverse/ours");
BENCHMARK(BM_Inverse<1>)->Name("View3D/Inverse/ours-angle-preserving");
BENCHMARK(BM_Inverse<2>)->Name("View3D/Inverse/plain");

} // namespace
