#pragma once

// The faces of an axis-aligned box centred on the origin, and where a ray
// enters it: the drawing and hit test of the cube object, in its local
// coordinates.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "view3d/maths/VectorTypes.h"
#include "view3d/objects/NormalDirection.h"

enum class TCubePart : std::uint8_t { cpTop, cpBottom, cpFront, cpBack, cpLeft, cpRight };

// A set of cube parts, one bit per part.
class TCubeParts {
public:
    constexpr TCubeParts() = default;
    constexpr TCubeParts(std::initializer_list<TCubePart> parts)
    {
        for (TCubePart part : parts)
            Bits |= Bit(part);
    }
    static constexpr TCubeParts All()
    {
        return {TCubePart::cpTop, TCubePart::cpBottom, TCubePart::cpFront, TCubePart::cpBack, TCubePart::cpLeft,
                TCubePart::cpRight};
    }
    constexpr bool Contains(TCubePart part) const { return (Bits & Bit(part)) != 0; }
    constexpr bool operator==(const TCubeParts&) const = default;

private:
    static constexpr std::uint8_t Bit(TCubePart part) { return std::uint8_t(1u << unsigned(part)); }
    std::uint8_t Bits = 0;
};

struct TCubeFaceVertex {
    Vector3f Position;
    // 0 or 1 along each of the face's two axes.
    float S = 0.0f;
    float T = 0.0f;
};

struct TCubeFace {
    Vector3f Normal;
    // Counter-clockwise seen from outside the box.
    std::array<TCubeFaceVertex, 4> Corners;
};

// The faces in drawing order front, back, left, right, top, bottom, each
// only when its part is in `parts`; ndInside turns every normal round.
std::vector<TCubeFace> CubeFaces(float width, float height, float depth, TCubeParts parts,
                                 TNormalDirection normalDirection);

struct TCubeRayHit {
    Vector3f Point;
    // The outward normal of the face the ray enters by.
    Vector3f Normal;
};

// Where a ray from `start` along `vector` (local coordinates) enters the
// box; none when it misses, leaves it only, or the box lies behind it.
std::optional<TCubeRayHit> CubeRayCast(const Vector3f& start, const Vector3f& vector, float width, float height,
                                       float depth);

// The 12 edges of a cube of side `size` centred on the origin, as 24 line
// end points.
std::array<Vector3f, 24> CubeEdgePoints(float size);
