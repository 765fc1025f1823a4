#pragma once

// The shapes that GLU has no quadric for, as plain geometry in the shape's
// own coordinates: the torus as quad strips, the frustrum as six quads, and
// where the arrow line puts its tube and its two heads.

#include <array>
#include <vector>

#include "view3d/maths/VectorTypes.h"

struct TMeshVertex {
    Vector3f Position;
    Vector3f Normal;
    float S = 0.0f;
    float T = 0.0f;
};

// A torus round the Z axis in the plane z = 0: one quad strip per ring,
// each of (sides + 1) vertex pairs, wound counter-clockwise seen from
// outside. Fewer than one ring or side gives no strips.
std::vector<std::vector<TMeshVertex>> TorusQuadStrips(float majorRadius, float minorRadius, int rings, int sides);

struct TFrustrumParts {
    bool fpTop = true;
    bool fpBottom = true;
    bool fpFront = true;
    bool fpBack = true;
    bool fpLeft = true;
    bool fpRight = true;
    bool operator==(const TFrustrumParts&) const = default;
};

struct TMeshQuad {
    Vector3f Normal;
    std::array<Vector3f, 4> Corners;
};

// A pyramid over the rectangle baseWidth (X) x baseDepth (Z) with its apex
// at apexHeight, cut at height and centred on the origin along Y. Faces in
// the order top, bottom, front (+Z), back, left (-X), right, each only when
// present; corners counter-clockwise seen from outside; normalSign -1 turns
// the normals inwards. An apex height of 0 (with a height of 0) gives a flat
// rectangle.
std::vector<TMeshQuad> FrustrumQuads(float apexHeight, float baseDepth, float baseWidth, float height,
                                     TFrustrumParts parts, float normalSign);

enum class TArrowHeadStackingStyle { ahssStacked, ahssCentered, ahssIncluded };

// Heights along Z of the arrow line's parts: the tube from LineBottom to
// LineTop, each cone from its base towards its tip (the tips lie a head
// height further out).
struct TArrowLineLayout {
    float LineBottom = 0.0f;
    float LineTop = 0.0f;
    float TopHeadBase = 0.0f;
    float TopHeadTip = 0.0f;
    float BottomHeadBase = 0.0f;
    float BottomHeadTip = 0.0f;
};

// The line of length height is centred on the origin. Stacked heads sit on
// its ends, centred heads have their middle there, included heads end there
// (the line never gets shorter than nothing). The tube stops at a head's
// base; a missing head leaves its end of the line where it is.
TArrowLineLayout ArrowLineLayout(float height, float topHeadHeight, float bottomHeadHeight,
                                 TArrowHeadStackingStyle style, bool hasTopHead, bool hasBottomHead);
