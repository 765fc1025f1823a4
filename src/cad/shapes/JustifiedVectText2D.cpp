#include "cad/shapes/JustifiedVectText2D.h"

#include <array>
#include <string_view>
#include <vector>

#include "cad/canvas/ClippedDrawing2D.h"
#include "cad/fonts/VectFontLayout.h"
#include "cad/geometry/Clipping2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/model/ClassRegistry.h"
#include "cad/shapes/Text2D.h"

namespace {

// A draw mode with this bit draws the box (when asked for) but no lines.
constexpr int DrawModeNoLines = 0x20;

// The text cut at each carriage return, a line feed right after one dropped.
std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t cr = text.find('\r'); cr != std::string_view::npos; cr = text.find('\r', start)) {
        lines.push_back(text.substr(start, cr - start));
        start = cr + 1;
        if (start < text.size() && text[start] == '\n')
            ++start;
    }
    lines.push_back(text.substr(start));
    return lines;
}

} // namespace

TJustifiedVectText2D::TJustifiedVectText2D(std::int32_t id, TVectFont* font, const TRect2D& box, float height,
                                           std::string text)
    : TPrimitive2D(id, 2), Text(std::move(text)), Font(font), Height(height)
{
    const std::array<TPoint2D, 2> corners = {box.FirstEdge, box.SecondEdge};
    InitPoints(corners, false);
}

void TJustifiedVectText2D::SetText(std::string text)
{
    Text = std::move(text);
    UpdateExtension();
}

TRect2D TJustifiedVectText2D::GetTextBox() const
{
    const TRect2D e = Font ? VectTextExtent(Font, Text, LineSpacing, CharSpacing, Height) : MakeRect2D(0, 0, 0, 0);
    const TRect2D r = HasRequiredPoints() ? NormalizeBox2D(TRect2D{Points()->Get(0), Points()->Get(1)})
                                          : MakeRect2D(0, 0, 0, 0);
    const float w = e.SecondEdge.X - e.FirstEdge.X;
    float x = r.FirstEdge.X;
    if (HJustification == VectTextJustifyRight)
        x = r.SecondEdge.X - w;
    else if (HJustification == VectTextJustifyCentre)
        x = (r.FirstEdge.X + r.SecondEdge.X - w) / 2.0f;
    float y = r.SecondEdge.Y - e.SecondEdge.Y;
    if (VJustification == VectTextJustifyBottom)
        y = r.FirstEdge.Y - e.FirstEdge.Y;
    else if (VJustification == VectTextJustifyMiddle)
        y = (r.FirstEdge.Y + r.SecondEdge.Y) / 2.0f;
    return MakeRect2D(e.FirstEdge.X + x, e.FirstEdge.Y + y, e.SecondEdge.X + x, e.SecondEdge.Y + y);
}

void TJustifiedVectText2D::ComputeExtension()
{
    TPrimitive2D::ComputeExtension();
    // Without a font (or its corners) there is no text box: the box is the primitive's.
    if (Font && HasRequiredPoints())
        SetBox(TransformBox2D(GetTextBox(), GetTransform()));
}

void TJustifiedVectText2D::Assign(const TGraphicObject& other)
{
    if (&other == this)
        return;
    TPrimitive2D::Assign(other);
    Points()->GrowingEnabled = false;
    if (const auto* source = dynamic_cast<const TJustifiedVectText2D*>(&other)) {
        Text = source->Text;
        Height = source->Height;
        LineSpacing = source->LineSpacing;
        CharSpacing = source->CharSpacing;
        DrawBox = source->DrawBox;
        Font = source->Font;
        HJustification = source->HJustification;
        VJustification = source->VJustification;
        CopyPointsFrom(*source, 0, 1, false);
    } else if (const auto* text = dynamic_cast<const TText2D*>(&other)) {
        Text = text->Text;
        Height = text->Height;
        DrawBox = text->DrawBox;
        CopyPointsFrom(*text, 0, 1, false);
    }
}

void TJustifiedVectText2D::Draw(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox,
                                int drawMode)
{
    if (!Font || !HasRequiredPoints())
        return;
    const TTransform2D t = MultiplyTransforms2D(GetTransform(), viewTransform);
    const TRect2D textBox = GetTextBox();
    if (DrawBox)
        DrawBoxOutline2D(canvas, textBox, clipBox, viewTransform, GetTransform());
    if (drawMode & DrawModeNoLines)
        return;
    const float lineStartX = textBox.FirstEdge.X;
    TPoint2D pen = MakePoint2D(lineStartX, textBox.SecondEdge.Y - Height);
    const std::vector<std::string_view> lines = SplitLines(Text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        for (const char c : lines[i])
            DrawVectChar(Font, c, pen, canvas, t, CharSpacing, Height);
        if (i + 1 == lines.size())
            break;
        const TRect2D line = VectTextExtent(Font, lines[i], LineSpacing, CharSpacing, Height);
        pen.X = lineStartX;
        pen.Y -= (line.SecondEdge.Y - line.FirstEdge.Y) + Height * LineSpacing;
    }
}

int TJustifiedVectText2D::HitTest(TPoint2D point, float& distance, float aperture) const
{
    const int code = TPrimitive2D::HitTest(point, distance, aperture);
    if (code != PICK_INBBOX)
        return code;
    const TRect2D b = GetTextBox();
    const std::array<TPoint2D, 4> outline = {
        MakePoint2D(b.FirstEdge.X, b.FirstEdge.Y), MakePoint2D(b.FirstEdge.X, b.SecondEdge.Y),
        MakePoint2D(b.SecondEdge.X, b.SecondEdge.Y), MakePoint2D(b.SecondEdge.X, b.FirstEdge.Y)};
    float pickDistance = PICK_FAR_DISTANCE;
    const int pick = PickPolygon2D(outline.data(), static_cast<int>(outline.size()), point, GetTransform(), aperture,
                                   pickDistance);
    return MergeOutlinePick(pick, pickDistance, aperture, distance);
}

void RegisterJustifiedVectText2DClass()
{
    CADCoreRegisterClass(JustifiedVectText2DClassCode,
                         {"TJustifiedVectText2D", [] { return std::make_unique<TJustifiedVectText2D>(); }});
}
