#include "view3d/objects/Dodecahedron.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "view3d/maths/VectorGeometry.h"

namespace {

std::array<TDodecahedronFace, 12> MakeFaces()
{
    const float phi = (1.0f + std::sqrt(5.0f)) / 2.0f;
    const float inv = 1.0f / phi;
    std::vector<Vector3f> corners;
    for (float x : {-1.0f, 1.0f})
        for (float y : {-1.0f, 1.0f}) {
            for (float z : {-1.0f, 1.0f})
                corners.push_back({x, y, z});
            corners.push_back({0, x * inv, y * phi});
            corners.push_back({x * inv, y * phi, 0});
            corners.push_back({x * phi, 0, y * inv});
        }
    // The face centres point to the corners of the dual icosahedron.
    std::vector<Vector3f> normals;
    for (float a : {-1.0f, 1.0f})
        for (float b : {-1.0f, 1.0f}) {
            normals.push_back({0, a * phi, b});
            normals.push_back({a, 0, b * phi});
            normals.push_back({a * phi, b, 0});
        }
    const float radius = std::sqrt(3.0f);
    std::array<TDodecahedronFace, 12> faces;
    for (std::size_t f = 0; f < faces.size(); ++f) {
        const Vector3f normal = Vector3Normalize(normals[f]);
        // The five corners nearest the face's direction form the face.
        std::vector<Vector3f> ring = corners;
        std::partial_sort(ring.begin(), ring.begin() + 5, ring.end(), [&](const Vector3f& p, const Vector3f& q) {
            return Vector3Dot(p, normal) > Vector3Dot(q, normal);
        });
        ring.resize(5);
        const Vector3f centre = Vector3Scale(normal, Vector3Dot(ring[0], normal));
        const Vector3f u = Vector3Normalize(Vector3Subtract(ring[0], centre));
        const Vector3f v = Vector3Cross(normal, u);
        std::sort(ring.begin(), ring.end(), [&](const Vector3f& p, const Vector3f& q) {
            const Vector3f dp = Vector3Subtract(p, centre);
            const Vector3f dq = Vector3Subtract(q, centre);
            return std::atan2(Vector3Dot(dp, v), Vector3Dot(dp, u)) < std::atan2(Vector3Dot(dq, v), Vector3Dot(dq, u));
        });
        faces[f].Normal = normal;
        for (int i = 0; i < 5; ++i)
            faces[f].Corners[i] = Vector3Scale(ring[i], 0.5f / radius);
    }
    return faces;
}

} // namespace

const std::array<TDodecahedronFace, 12>& DodecahedronFaces()
{
    static const std::array<TDodecahedronFace, 12> faces = MakeFaces();
    return faces;
}
