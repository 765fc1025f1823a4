#pragma once

// A text in a platform font, drawn into the window rectangle of its two
// control points (the text box) with the platform's text-drawing flags.

#include <cstdint>
#include <string>

#include "cad/fonts/ExtendedFont.h"
#include "cad/shapes/Primitive2D.h"

// The platform text-drawing flags the stream stores.
inline constexpr std::int32_t DT_TOP = 0x0000;
inline constexpr std::int32_t DT_LEFT = 0x0000;
inline constexpr std::int32_t DT_CENTER = 0x0001;
inline constexpr std::int32_t DT_RIGHT = 0x0002;
inline constexpr std::int32_t DT_VCENTER = 0x0004;
inline constexpr std::int32_t DT_BOTTOM = 0x0008;
inline constexpr std::int32_t DT_WORDBREAK = 0x0010;
inline constexpr std::int32_t DT_SINGLELINE = 0x0020;
inline constexpr std::int32_t DT_EXPANDTABS = 0x0040;
inline constexpr std::int32_t DT_NOCLIP = 0x0100;
inline constexpr std::int32_t DT_CALCRECT = 0x0400;
inline constexpr std::int32_t DT_NOPREFIX = 0x0800;

// Qt alignment and text flags for the platform flags. Vertical placement only
// counts for single lines, as on the platform; without DT_NOPREFIX an '&'
// marks the next character.
int DrawTextFlagsToQt(std::int32_t flags);

class TText2D : public TPrimitive2D {
public:
    // Two control points (not growable), as the stream reader fills them.
    TText2D();

    std::string ClassName() const override { return "TText2D"; }
    // From a text: everything; from a frame: points 0-1.
    void Assign(const TGraphicObject& other) override;
    void Draw(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox,
              int drawMode) override;
    // Anywhere inside the text box counts as a hit on the text (-2).
    int HitTest(TPoint2D point, float& distance, float aperture) const override;
    int MinimumPointCount() const override { return 2; }
    // Text, the 60-byte font record, format flags, DrawBox, Height.
    void LoadFromStream(TCADStreamReader& stream, std::string_view version) override;
    void SaveToStream(TCADStreamWriter& stream) override;

    // The stream record's fields.
    std::string Text; // the 8-bit bytes as read; shown as Windows-1252
    float Height = 0.0f; // world units
    TExtendedFont Font;
    bool DrawBox = false;
    std::int32_t DrawTextFlags = 0;
    // Not stored: measure the text at the next drawing and fit the box to it.
    bool RecalcBox = false;
};
