#include "view3d/objects/CubeGeometry.h"

#include <cmath>

namespace {

// One face: its outward axis, and the two in-plane axes that make the
// corners counter-clockwise seen from outside (u x v = outward).
struct TFaceAxes {
    TCubePart Part;
    Vector3f Outward;
    Vector3f U;
    Vector3f V;
};

constexpr std::array<TFaceAxes, 6> FaceOrder{{
    {TCubePart::cpFront, {0, 0, 1}, {1, 0, 0}, {0, 1, 0}},
    {TCubePart::cpBack, {0, 0, -1}, {-1, 0, 0}, {0, 1, 0}},
    {TCubePart::cpLeft, {-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
    {TCubePart::cpRight, {1, 0, 0}, {0, 0, -1}, {0, 1, 0}},
    {TCubePart::cpTop, {0, 1, 0}, {1, 0, 0}, {0, 0, -1}},
    {TCubePart::cpBottom, {0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
}};

Vector3f Along(const Vector3f& axis, const Vector3f& half, float sign)
{
    return {axis.X * half.X * sign, axis.Y * half.Y * sign, axis.Z * half.Z * sign};
}

float Component(const Vector3f& v, int axis)
{
    return axis == 0 ? v.X : axis == 1 ? v.Y : v.Z;
}

} // namespace

std::vector<TCubeFace> CubeFaces(float width, float height, float depth, TCubeParts parts,
                                 TNormalDirection normalDirection)
{
    const Vector3f half{width / 2, height / 2, depth / 2};
    const float sign = normalDirection == TNormalDirection::ndInside ? -1.0f : 1.0f;
    std::vector<TCubeFace> faces;
    for (const TFaceAxes& axes : FaceOrder) {
        if (!parts.Contains(axes.Part))
            continue;
        TCubeFace face;
        face.Normal = Vector3Scale(axes.Outward, sign);
        const Vector3f centre = Along(axes.Outward, half, 1.0f);
        constexpr float corner[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        for (int i = 0; i < 4; ++i) {
            const float s = corner[i][0];
            const float t = corner[i][1];
            const Vector3f u = Along(axes.U, half, 2 * s - 1);
            const Vector3f v = Along(axes.V, half, 2 * t - 1);
            face.Corners[i] = {Vector3Add(centre, Vector3Add(u, v)), s, t};
        }
        faces.push_back(face);
    }
    return faces;
}

std::optional<TCubeRayHit> CubeRayCast(const Vector3f& start, const Vector3f& vector, float width, float height,
                                       float depth)
{
    const float size[3] = {width, height, depth};
    // The six directions in the order +X, +Y, +Z, -X, -Y, -Z; a ray moving
    // along one enters through the face at minus half the size on it.
    for (int direction = 0; direction < 6; ++direction) {
        const int axis = direction % 3;
        const float sign = direction < 3 ? 1.0f : -1.0f;
        const float along = Component(vector, axis) * sign;
        if (along <= 0)
            continue;
        const float plane = -sign * size[axis] / 2;
        const float t = (plane - Component(start, axis)) / Component(vector, axis);
        if (t < 0)
            continue;
        const Vector3f point = Vector3Add(start, Vector3Scale(vector, t));
        bool inside = true;
        for (int other = 0; other < 3; ++other)
            if (other != axis && std::abs(Component(point, other)) > 0.5001f * size[other])
                inside = false;
        if (!inside)
            continue;
        Vector3f normal{};
        (axis == 0 ? normal.X : axis == 1 ? normal.Y : normal.Z) = -sign;
        return TCubeRayHit{point, normal};
    }
    return std::nullopt;
}

std::array<Vector3f, 24> CubeEdgePoints(float size)
{
    const float h = size / 2;
    std::array<Vector3f, 24> points;
    int n = 0;
    // Four edges along each axis, at the four corners of the other two.
    for (int axis = 0; axis < 3; ++axis)
        for (float a : {-h, h})
            for (float b : {-h, h})
                for (float end : {-h, h}) {
                    float c[3];
                    c[axis] = end;
                    c[(axis + 1) % 3] = a;
                    c[(axis + 2) % 3] = b;
                    points[n++] = {c[0], c[1], c[2]};
                }
    return points;
}
