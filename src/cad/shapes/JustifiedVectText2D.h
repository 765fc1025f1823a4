#pragma once

// Text in a stroke font laid out inside a box: one or more lines separated by
// carriage returns (a line feed right after one is dropped), with a height,
// character and line spacing, and justification inside the box given by the
// two control points.

#include <cstdint>
#include <string>

#include "cad/shapes/Primitive2D.h"

class TVectFont;

// Horizontal justification; other values act as left.
inline constexpr std::uint8_t VectTextJustifyLeft = 0;
inline constexpr std::uint8_t VectTextJustifyRight = 1;
inline constexpr std::uint8_t VectTextJustifyCentre = 2;
// Vertical justification; other values act as top.
inline constexpr std::uint8_t VectTextJustifyTop = 0;
inline constexpr std::uint8_t VectTextJustifyBottom = 1;
inline constexpr std::uint8_t VectTextJustifyMiddle = 2;

class TJustifiedVectText2D : public TPrimitive2D {
public:
    // For the stream reader: no control points yet, no font.
    TJustifiedVectText2D() = default;
    // The box's corners become control points 0 and 1 (not growable).
    TJustifiedVectText2D(std::int32_t id, TVectFont* font, const TRect2D& box, float height, std::string text);

    std::string ClassName() const override { return "TJustifiedVectText2D"; }
    int MinimumPointCount() const override { return 2; }
    void ComputeExtension() override;
    void Assign(const TGraphicObject& other) override;
    void Draw(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox,
              int drawMode) override;
    int HitTest(TPoint2D point, float& distance, float aperture) const override;
    // The font is stored as its registry index: writing a text without a
    // registered font raises; reading an index with no font shows a notice
    // and leaves the text without font.
    void LoadFromStream(TCADStreamReader& stream, std::string_view version) override;
    void SaveToStream(TCADStreamWriter& stream) override;

    void SetText(std::string text);
    // The laid-out text box in object coordinates (before GetTransform).
    TRect2D GetTextBox() const;

    // The stream record holds every one of these; UpdateExtension after
    // changing them directly.
    std::string Text; // 8-bit bytes as read and written
    TVectFont* Font = nullptr; // a registry font, not owned; none draws nothing
    std::uint8_t HJustification = VectTextJustifyLeft;
    std::uint8_t VJustification = VectTextJustifyTop;
    bool DrawBox = false;
    float Height = 0.0f; // world units
    float CharSpacing = 0.1f; // glyph units
    float LineSpacing = 0.02f; // glyph units
};

// The vector text's code in the class registry and the streams.
inline constexpr int JustifiedVectText2DClassCode = 14;

// Registers the vector text under its class code at start-up; a taken code
// raises the registry's error.
void RegisterJustifiedVectText2DClass();
