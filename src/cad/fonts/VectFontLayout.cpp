#include "cad/fonts/VectFontLayout.h"

#include <algorithm>

#include <QPaintDevice>
#include <QPainter>

#include "cad/canvas/DecorativeCanvas.h"
#include "cad/fonts/VectFont.h"
#include "cad/geometry/Geometry2D.h"

namespace {

constexpr float DrawnSpaceAdvance = 0.4f;
constexpr float MeasuredSpaceAdvance = 0.5f;

const TVectChar* FontGlyph(const TVectFont* font, char character)
{
    return font ? font->GetChar(static_cast<unsigned char>(character)) : nullptr;
}

} // namespace

TRect2D CanvasClipBox2D(const TDecorativeCanvas& canvas)
{
    const QPainter* painter = canvas.GetPainter();
    if (painter && painter->device())
        return MakeRect2D(0, 0, static_cast<float>(painter->device()->width()),
                          static_cast<float>(painter->device()->height()));
    // Without a device nothing bounds the drawing.
    return MakeRect2D(-PICK_FAR_DISTANCE, -PICK_FAR_DISTANCE, PICK_FAR_DISTANCE, PICK_FAR_DISTANCE);
}

void DrawVectChar(const TVectFont* font, char character, TPoint2D& penPosition, TDecorativeCanvas& canvas,
                  const TTransform2D& viewTransform, float charSpacing, float height)
{
    if (character == ' ') {
        penPosition.X += height * (charSpacing + DrawnSpaceAdvance);
        return;
    }
    const TVectChar* glyph = FontGlyph(font, character);
    if (!glyph) {
        if (character == '\r')
            return;
        glyph = &DefaultVectChar();
    }
    TTransform2D glyphTransform = MakeScale2D(height, height);
    glyphTransform.M[2][0] = penPosition.X;
    glyphTransform.M[2][1] = penPosition.Y;
    glyphTransform.M[2][2] = penPosition.W;
    const TTransform2D t = MultiplyTransforms2D(glyphTransform, viewTransform);
    const TRect2D clipBox = CanvasClipBox2D(canvas);
    for (int i = 0; i < glyph->PolylineCount(); ++i)
        if (const TPointsSet2D* polyline = glyph->GetPolyline(i))
            polyline->DrawAsPolyline(canvas, clipBox, glyph->Extent, t);
    penPosition.X += height * (charSpacing + glyph->Extent.SecondEdge.X);
}

TRect2D VectTextExtent(const TVectFont* font, std::string_view text, float lineSpacing, float charSpacing,
                       float height)
{
    float top = 1.0f;
    float lineWidth = 0.0f;
    float lineDepth = 0.0f;
    float widest = 0.0f;
    bool afterReturn = false;
    for (const char c : text) {
        // The line feed of a CR LF pair is no character, as when drawing.
        if (afterReturn && c == '\n') {
            afterReturn = false;
            continue;
        }
        afterReturn = c == '\r';
        if (const TVectChar* glyph = FontGlyph(font, c)) {
            lineWidth += charSpacing + glyph->Extent.SecondEdge.X;
            lineDepth = std::max(lineDepth, 1.0f - glyph->Extent.FirstEdge.Y);
        } else if (c == ' ') {
            lineWidth += charSpacing + MeasuredSpaceAdvance;
        } else if (c != '\r') {
            lineWidth += charSpacing + DefaultVectChar().Extent.SecondEdge.X;
        }
        if (c == '\r') {
            widest = std::max(widest, lineWidth - charSpacing);
            top -= lineSpacing + lineDepth;
            lineWidth = 0.0f;
            lineDepth = 0.0f;
        }
    }
    widest = std::max(widest, lineWidth - charSpacing);
    return MakeRect2D(0.0f, height * (top - lineDepth), height * widest, height);
}
