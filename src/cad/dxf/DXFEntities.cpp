#include "cad/dxf/DXFEntities.h"

#include <cmath>
#include <numbers>

#include "cad/fonts/VectFontLayout.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/geometry/VectorHelpers.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/Block2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Ellipse2D.h"
#include "cad/shapes/JustifiedVectText2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/shapes/Punto2D.h"

namespace {

constexpr std::size_t DXFBlockNameLength = 12;

// The point of codes (base, base + 10).
TPoint2D PointOf(const TDXFRecord& record, int base)
{
    return MakePoint2D(DXFToFloat(record.Real(base)), DXFToFloat(record.Real(base + 10)));
}

float Radians(double degrees)
{
    return DXFToFloat(degrees * std::numbers::pi / 180.0);
}

// A turn by the angle about the point.
TTransform2D RotationAbout(TPoint2D centre, float angle)
{
    return MultiplyTransforms2D(MultiplyTransforms2D(MakeTranslation2D(-centre.X, -centre.Y), MakeRotation2D(angle)),
                                MakeTranslation2D(centre.X, centre.Y));
}

} // namespace

std::string DXFBlockName(const std::string& name)
{
    return name.substr(0, DXFBlockNameLength);
}

std::unique_ptr<TObject2D> BuildDXFPoint(const TDXFRecord& record)
{
    return std::make_unique<TPunto2D>(0, PointOf(record, 10));
}

std::unique_ptr<TObject2D> BuildDXFLine(const TDXFRecord& record)
{
    return std::make_unique<TLine2D>(0, PointOf(record, 10), PointOf(record, 11));
}

std::unique_ptr<TObject2D> BuildDXFCircle(const TDXFRecord& record)
{
    const TPoint2D centre = PointOf(record, 10);
    const auto r = DXFToFloat(record.Real(40));
    return std::make_unique<TCerchio2D>(0, centre, MakePoint2D(centre.X + r, centre.Y));
}

std::unique_ptr<TObject2D> BuildDXFArc(const TDXFRecord& record)
{
    const TPoint2D centre = PointOf(record, 10);
    const auto r = DXFToFloat(record.Real(40));
    auto arc = std::make_unique<TArco2D>(0, centre, MakePoint2D(centre.X + r, centre.Y), Radians(record.Real(50)),
                                         Radians(record.Real(51)));
    arc->SetDirection(1);
    return arc;
}

std::unique_ptr<TObject2D> BuildDXFEllipse(const TDXFRecord& record, bool axisRelative)
{
    const double cx = record.Real(10);
    const double cy = record.Real(20);
    const double mx = record.Real(11);
    const double my = record.Real(21);
    const double ratio = record.Real(40);
    double a = 0.0;
    double b = 0.0;
    double angle = 0.0;
    if (axisRelative) {
        a = std::hypot(mx, my);
        b = a * ratio;
        angle = std::atan2(my, mx);
    } else {
        a = std::hypot(mx - cx, my - cy);
        b = ratio;
        angle = std::atan2(my - cy, mx - cx);
    }
    const TPoint2D first = MakePoint2D(DXFToFloat(cx - a), DXFToFloat(cy - b));
    const TPoint2D second = MakePoint2D(DXFToFloat(cx + a), DXFToFloat(cy + b));
    const double start = record.Real(41);
    const double end = record.Real(42);
    std::unique_ptr<TObject2D> ellipse;
    if (EqualReals(start, 0.0) && EqualReals(end, FULL_TURN))
        ellipse = std::make_unique<TEllipse2D>(0, first, second);
    else
        ellipse = std::make_unique<TArc2D>(0, first, second, DXFToFloat(start), DXFToFloat(end));
    if (angle != 0.0)
        ellipse->SetCurrentTransform(
            RotationAbout(MakePoint2D(DXFToFloat(cx), DXFToFloat(cy)), DXFToFloat(angle)));
    return ellipse;
}

std::unique_ptr<TObject2D> BuildDXFTrace(const TDXFRecord& record)
{
    const TPoint2D p1 = PointOf(record, 10);
    const TPoint2D corners[] = {p1, PointOf(record, 11), PointOf(record, 13), PointOf(record, 12), p1};
    return std::make_unique<TPolyline2D>(0, corners);
}

std::unique_ptr<TObject2D> BuildDXFSolid(const TDXFRecord& record)
{
    const TPoint2D p1 = PointOf(record, 10);
    const TPoint2D p2 = PointOf(record, 11);
    const TPoint2D p3 = PointOf(record, 12);
    const TPoint2D p4 = PointOf(record, 13);
    // A triangle repeats its third corner as the fourth.
    if (record.Has(13) && !SamePoint2D(p3, p4)) {
        const TPoint2D outline[] = {p1, p2, p4, p3, p1};
        return std::make_unique<TPolyline2D>(0, outline);
    }
    const TPoint2D outline[] = {p1, p2, p3, p1};
    return std::make_unique<TPolyline2D>(0, outline);
}

std::unique_ptr<TObject2D> BuildDXFText(const TDXFRecord& record, TVectFont* font)
{
    if (!font)
        return nullptr;
    const TPoint2D origin = MakePoint2D(0.0f, 0.0f);
    auto text = std::make_unique<TJustifiedVectText2D>(0, font, TRect2D{origin, origin},
                                                       DXFToFloat(record.Real(40)), record.Text(1));
    // The text's box with its start on the baseline at 0: the justified
    // point is read off it.
    const TRect2D box = VectTextExtent(font, text->Text, text->LineSpacing, text->CharSpacing, text->Height);
    const float width = box.SecondEdge.X - box.FirstEdge.X;
    const float height = text->Height;
    const int h = record.Integer(72);
    const int v = record.Integer(73);
    TPoint2D justified = MakePoint2D(0.0f, 0.0f);
    if (h == 1 || h == 4)
        justified.X = width / 2.0f;
    else if (h == 2)
        justified.X = width;
    if (h == 4 || v == 2)
        justified.Y = height / 2.0f;
    else if (v == 1)
        justified.Y = box.FirstEdge.Y;
    else if (v == 3)
        justified.Y = height;
    // Left on the baseline, and the aligned and fitted kinds (which run from
    // code 10 to code 11), start at code 10; every other kind is placed by
    // its alignment point, which a writer may leave out only when unjustified.
    const bool byAlignmentPoint = (h == 1 || h == 2 || h == 4 || v > 0) && record.Has(11);
    const TPoint2D anchor = byAlignmentPoint ? PointOf(record, 11) : PointOf(record, 10);
    const float left = anchor.X - justified.X;
    const float baseline = anchor.Y - justified.Y;
    text->Points()->SetPoint(0, MakePoint2D(left, baseline + box.FirstEdge.Y));
    text->Points()->SetPoint(1, MakePoint2D(left + width, baseline + box.SecondEdge.Y));
    text->HJustification = VectTextJustifyLeft;
    text->VJustification = VectTextJustifyTop;
    text->UpdateExtension();
    if (record.Has(50))
        text->ComposeTransform(RotationAbout(anchor, Radians(record.Real(50))));
    return text;
}

std::unique_ptr<TObject2D> BuildDXFInsert(const TDXFRecord& record, TSourceBlock2D& block)
{
    auto insert = std::make_unique<TBlock2D>(0, &block);
    insert->ComposeTransform(MakeScale2D(DXFToFloat(record.Real(41, 1.0)),
                                         DXFToFloat(record.Real(42, 1.0))));
    insert->ComposeTransform(MakeRotation2D(Radians(record.Real(50))));
    const TPoint2D at = PointOf(record, 10);
    insert->ComposeTransform(MakeTranslation2D(at.X, at.Y));
    insert->BakeTransform();
    insert->UpdateExtension();
    return insert;
}
