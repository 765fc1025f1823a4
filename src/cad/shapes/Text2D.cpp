#include "cad/shapes/Text2D.h"

#include <algorithm>
#include <utility>

#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include "cad/canvas/ClippedDrawing2D.h"
#include "cad/canvas/DecorativeCanvas.h"
#include "cad/fonts/Windows1252.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/geometry/VectorMath3.h"
#include "cad/shapes/Frame2D.h"

int DrawTextFlagsToQt(std::int32_t flags)
{
    int qt = 0;
    if (flags & DT_CENTER)
        qt |= Qt::AlignHCenter;
    else if (flags & DT_RIGHT)
        qt |= Qt::AlignRight;
    else
        qt |= Qt::AlignLeft;
    if (flags & DT_SINGLELINE) {
        qt |= Qt::TextSingleLine;
        if (flags & DT_VCENTER)
            qt |= Qt::AlignVCenter;
        else if (flags & DT_BOTTOM)
            qt |= Qt::AlignBottom;
        else
            qt |= Qt::AlignTop;
    } else {
        qt |= Qt::AlignTop;
    }
    if (flags & DT_WORDBREAK)
        qt |= Qt::TextWordWrap;
    if (flags & DT_EXPANDTABS)
        qt |= Qt::TextExpandTabs;
    if (flags & DT_NOCLIP)
        qt |= Qt::TextDontClip;
    if (!(flags & DT_NOPREFIX))
        qt |= Qt::TextShowMnemonic;
    return qt;
}

namespace {

// The platform's calculate-rectangle mode: the rectangle keeps its left and
// top; right and bottom fit the text (the width only bounds wrapped text).
TWindowRect MeasureText(const QFont& font, QPainter* painter, TWindowRect rect, int qtFlags, const QString& text)
{
    const QFontMetrics metrics = painter && painter->device() ? QFontMetrics(font, painter->device())
                                                              : QFontMetrics(font);
    constexpr int Unbounded = 1 << 24;
    const int width = (qtFlags & Qt::TextWordWrap) ? std::max(rect.Right - rect.Left, 1) : Unbounded;
    const int layoutFlags = (qtFlags & ~static_cast<int>(Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask)) |
                            Qt::AlignLeft | Qt::AlignTop;
    const QRect bounds = metrics.boundingRect(QRect(0, 0, width, Unbounded), layoutFlags, text);
    rect.Right = rect.Left + bounds.width();
    rect.Bottom = rect.Top + bounds.height();
    return rect;
}

} // namespace

TText2D::TText2D() : TPrimitive2D(0, 2)
{
    Points()->GrowingEnabled = false;
}

void TText2D::Assign(const TGraphicObject& other)
{
    if (&other == this)
        return;
    TPrimitive2D::Assign(other);
    const bool growable = Points()->GrowingEnabled;
    if (const auto* source = dynamic_cast<const TText2D*>(&other)) {
        Text = source->Text;
        Height = source->Height;
        DrawBox = source->DrawBox;
        RecalcBox = source->RecalcBox;
        DrawTextFlags = source->DrawTextFlags;
        Font.Assign(source->Font);
        CopyPointsFrom(*source, 0, 1, growable);
    } else if (const auto* frame = dynamic_cast<const TFrame2D*>(&other)) {
        CopyPointsFrom(*frame, 0, 1, growable);
    }
}

void TText2D::Draw(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox, int)
{
    if (!HasRequiredPoints())
        return;
    const float heightOnScreen = Point2DDistance2D(ApplyTransform2D(MakePoint2D(0, 0), viewTransform),
                                                   ApplyTransform2D(MakePoint2D(0, Height), viewTransform));
    const int pixelHeight = RoundSingle(heightOnScreen);
    if (pixelHeight <= 0)
        return;
    TWindowRect rect = Rect2DToWindowRect(TransformBox2D(Box, viewTransform));

    // The stored font keeps its own height: only the copy selected into the
    // canvas is sized, and that copy gives the canvas its own font back when
    // it goes out of scope, however the drawing ends.
    TExtendedFont screenFont;
    screenFont.Assign(Font);
    screenFont.SetCanvas(&canvas);
    screenFont.SetHeight(pixelHeight);
    const QFont font = screenFont.ToQFont();
    const QString text = DecodeWindows1252(Text);
    const int flags = DrawTextFlagsToQt(DrawTextFlags);
    QPainter* painter = canvas.GetPainter();

    if (RecalcBox) {
        rect = MeasureText(font, painter, rect, flags, text);
        const TTransform2D toObject = InvertTransform2D(MultiplyTransforms2D(GetTransform(), viewTransform));
        const TRect2D box = TransformBox2D(WindowRectToRect2D(rect), toObject);
        TPointsSet2D& points = *Points();
        points.SetNotifySuspended(true);
        points.Put(0, box.FirstEdge);
        points.Put(1, box.SecondEdge);
        points.SetNotifySuspended(false);
        UpdateExtension();
    }

    const bool xorMode = canvas.Pen.Mode == TPenMode::Xor;
    // A text box wider or taller than the int range lies far off any device.
    const long long width = static_cast<long long>(rect.Right) - rect.Left;
    const long long height = static_cast<long long>(rect.Bottom) - rect.Top;
    if (!xorMode && painter && std::in_range<int>(width) && std::in_range<int>(height)) {
        painter->save();
        painter->setPen(ToQColor(canvas.FontColor));
        painter->setBackgroundMode(canvas.OpaqueBackground ? Qt::OpaqueMode : Qt::TransparentMode);
        painter->setBackground(ToQColor(canvas.Brush.Color));
        painter->drawText(QRect(rect.Left, rect.Top, static_cast<int>(width), static_cast<int>(height)), flags, text);
        painter->restore();
    }
    if (DrawBox || xorMode)
        DrawBoxOutline2D(canvas, Box, clipBox, viewTransform, IdentityTransform2D);
}

int TText2D::HitTest(TPoint2D point, float& distance, float aperture) const
{
    const int code = TPrimitive2D::HitTest(point, distance, aperture);
    return code == PICK_INBBOX ? PICK_INOBJECT : code;
}
