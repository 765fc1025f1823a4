#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "cad/shapes/Arc2D.h"
#include "cad/shapes/BSpline2D.h"
#include "cad/shapes/Bitmap2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Ellipse2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/shapes/Punto2D.h"
#include "cad/shapes/Text2D.h"
#include "support/ShapeTestSupport.h"

using namespace shapetest;

namespace {

const TPoint2D Five[] = {MakePoint2D(0, 0), MakePoint2D(2, 8), MakePoint2D(6, 9), MakePoint2D(9, 3),
                         MakePoint2D(12, 0)};

std::unique_ptr<TText2D> MakeText()
{
    auto text = std::make_unique<TText2D>();
    text->Points()->Put(0, MakePoint2D(1, 1));
    text->Points()->Put(1, MakePoint2D(21, 6));
    text->Text = "Caf\xE9";
    text->Height = 5.0f;
    text->DrawBox = true;
    text->RecalcBox = true;
    text->DrawTextFlags = DT_CENTER | DT_SINGLELINE;
    text->Font.SetFaceName("Serif");
    text->UpdateExtension();
    return text;
}

QImage TwoByTwo()
{
    QImage image(2, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, 0xFF0000);
    image.setPixel(1, 0, 0x00FF00);
    image.setPixel(0, 1, 0x0000FF);
    image.setPixel(1, 1, 0xFFFFFF);
    return image;
}

// One sample of every shape class, each with a distinct number of points where it can.
std::map<std::string, std::function<std::unique_ptr<TPrimitive2D>()>> Factories()
{
    const TPoint2D a = MakePoint2D(1, 2);
    const TPoint2D b = MakePoint2D(21, 12);
    return {
        {"TPunto2D", [=] { return std::make_unique<TPunto2D>(1, a); }},
        {"TLine2D", [=] { return std::make_unique<TLine2D>(1, a, b); }},
        {"TPolyline2D", [] { return std::make_unique<TPolyline2D>(1, std::span(Five, 3)); }},
        {"TPolygon2D", [] { return std::make_unique<TPolygon2D>(1, std::span(Five, 4)); }},
        {"TFrame2D", [=] { return std::make_unique<TFrame2D>(1, a, b); }},
        {"TRectangle2D", [=] { return std::make_unique<TRectangle2D>(1, a, b); }},
        {"TCerchio2D", [=] { return std::make_unique<TCerchio2D>(1, a, b); }},
        {"TFilledCerchio2D", [=] { return std::make_unique<TFilledCerchio2D>(1, a, b); }},
        {"TEllipse2D", [=] { return std::make_unique<TEllipse2D>(1, a, b); }},
        {"TFilledEllipse2D", [=] { return std::make_unique<TFilledEllipse2D>(1, a, b); }},
        {"TArc2D", [=] { return std::make_unique<TArc2D>(1, a, b, 0.5f, 2.0f); }},
        {"TArco2D", [=] { return std::make_unique<TArco2D>(1, a, b, 0.5f, 2.0f); }},
        {"TBSpline2D", [] { return std::make_unique<TBSpline2D>(1, Five); }},
        {"TText2D", [] { return MakeText(); }},
        {"TBitmap2D", [=] { return std::make_unique<TBitmap2D>(1, a, b, TwoByTwo()); }},
    };
}

// Which sources each class copies its control points from.
const std::map<std::string, std::set<std::string>>& Accepted()
{
    static const std::set<std::string> frameLike = {"TFrame2D", "TRectangle2D", "TEllipse2D", "TFilledEllipse2D",
                                                    "TArc2D"};
    static const std::set<std::string> circleLike = {"TFrame2D",   "TRectangle2D", "TEllipse2D", "TFilledEllipse2D",
                                                     "TArc2D",     "TCerchio2D",   "TFilledCerchio2D"};
    static const std::set<std::string> wholeCurve = {"TFrame2D", "TRectangle2D", "TEllipse2D", "TFilledEllipse2D"};
    static const std::set<std::string> polyline = {"TLine2D", "TPolyline2D", "TPolygon2D"};
    static const std::map<std::string, std::set<std::string>> table = {
        {"TPunto2D", {"TPunto2D"}},
        {"TLine2D", {"TLine2D"}},
        {"TPolyline2D", polyline},
        {"TPolygon2D", polyline},
        {"TFrame2D", frameLike},
        {"TRectangle2D", frameLike},
        {"TEllipse2D", frameLike},
        {"TFilledEllipse2D", frameLike},
        {"TCerchio2D", circleLike},
        {"TFilledCerchio2D", circleLike},
        {"TArc2D", [] { auto s = wholeCurve; s.insert("TArc2D"); return s; }()},
        {"TArco2D", [] { auto s = wholeCurve; s.insert("TArco2D"); return s; }()},
        {"TBSpline2D", {"TBSpline2D"}},
        {"TText2D", {"TText2D", "TFrame2D", "TRectangle2D"}},
        {"TBitmap2D", {"TBitmap2D", "TFrame2D", "TRectangle2D"}},
    };
    return table;
}

int ExpectedPointCount(const std::string& target, const TPrimitive2D& source)
{
    if (!Accepted().at(target).count(source.ClassName()))
        return 0;
    if (target == "TArc2D" || target == "TArco2D")
        return 4;
    if (target == "TPolyline2D" || target == "TPolygon2D" || target == "TBSpline2D")
        return source.PointCount();
    return target == "TPunto2D" ? 1 : 2;
}

} // namespace

TEST(ShapeAssign, CopiesControlPointsOnlyFromAcceptedClasses)
{
    const auto factories = Factories();
    for (const auto& [targetName, makeTarget] : factories) {
        for (const auto& [sourceName, makeSource] : factories) {
            SCOPED_TRACE(targetName + " from " + sourceName);
            const auto target = makeTarget();
            const auto source = makeSource();
            source->Visible = false;
            target->Assign(*source);
            EXPECT_FALSE(target->Visible) << "the object part is always copied";
            const int expected = ExpectedPointCount(targetName, *source);
            ASSERT_EQ(target->PointCount(), expected);
            for (int i = 0; i < std::min(expected, 2); ++i) {
                EXPECT_EQ((*target->Points())[i].X, (*source->Points())[i].X);
                EXPECT_EQ((*target->Points())[i].Y, (*source->Points())[i].Y);
            }
            TShapeRecordingCanvas canvas;
            EXPECT_NO_THROW(target->Draw(FlipView(100), canvas, ScreenClip(100, 100), 0));
        }
    }
}

TEST(ShapeAssign, EllipticArcFromAnEllipseIsTheWholeEllipse)
{
    TEllipse2D ellipse(1, MakePoint2D(0, 0), MakePoint2D(20, 10));
    TArc2D arc(2, MakePoint2D(5, 5), MakePoint2D(6, 6), 1.0f, 2.0f);
    arc.Assign(ellipse);
    EXPECT_EQ(arc.StartAngle(), 0.0f);
    EXPECT_EQ((*arc.Points())[2].X, 20.0f);
    EXPECT_EQ((*arc.Points())[2].Y, 5.0f);
    EXPECT_EQ((*arc.Points())[3].X, 20.0f);
    EXPECT_FALSE(arc.Points()->GrowingEnabled);
    EXPECT_EQ(arc.ProfilePointCount(), 51);
    EXPECT_TRUE(arc.IsClosed());
}

TEST(ShapeAssign, CircularArcKeepsAllFourPoints)
{
    // Copying only the first two points left an arc that later code could not read.
    TArco2D source(1, MakePoint2D(0, 0), MakePoint2D(10, 0), 0.25f, 1.5f);
    source.SetDirection(0);
    TArco2D copy;
    copy.Assign(source);
    ASSERT_EQ(copy.PointCount(), 4);
    EXPECT_EQ(copy.Direction, 0);
    EXPECT_EQ(copy.StartAngle(), source.StartAngle());
    EXPECT_EQ(copy.EndAngle(), source.EndAngle());
    const auto expected = ProfileOf(source);
    const auto actual = ProfileOf(copy);
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i].X, expected[i].X);
        EXPECT_EQ(actual[i].Y, expected[i].Y);
    }
}

TEST(ShapeAssign, CurveSettingsTextAndPictureFields)
{
    TCerchio2D circle(1, MakePoint2D(0, 0), MakePoint2D(3, 0));
    circle.SetCurvePrecision(12);
    circle.SetSavingPoints(0);
    TFrame2D frame(2, MakePoint2D(0, 0), MakePoint2D(1, 1));
    frame.Assign(circle);
    EXPECT_EQ(frame.CurvePrecision, 12) << "any curve gives its settings";
    EXPECT_EQ(frame.SavingType, 0);
    EXPECT_EQ(frame.PointCount(), 0) << "but a circle gives a frame no points";

    TBSpline2D spline(3, Five);
    spline.Order = 4;
    TBSpline2D splineCopy;
    splineCopy.Assign(spline);
    EXPECT_EQ(splineCopy.Order, 4);
    EXPECT_EQ(splineCopy.CurvePrecision, 200);

    const auto text = MakeText();
    TText2D textCopy;
    textCopy.Assign(*text);
    EXPECT_EQ(textCopy.Text, "Caf\xE9");
    EXPECT_EQ(textCopy.Height, 5.0f);
    EXPECT_TRUE(textCopy.DrawBox);
    EXPECT_TRUE(textCopy.RecalcBox);
    EXPECT_EQ(textCopy.DrawTextFlags, DT_CENTER | DT_SINGLELINE);
    EXPECT_EQ(textCopy.Font.FaceName(), "Serif");

    TBitmap2D bitmap(4, MakePoint2D(0, 0), MakePoint2D(5, 5), TwoByTwo());
    bitmap.StreamValue1 = 7;
    bitmap.StreamValue2 = -3;
    bitmap.CopyMode = cmSrcInvert;
    TBitmap2D bitmapCopy;
    bitmapCopy.Assign(bitmap);
    EXPECT_EQ(bitmapCopy.StreamValue1, 7);
    EXPECT_EQ(bitmapCopy.StreamValue2, -3);
    EXPECT_EQ(bitmapCopy.CopyMode, cmSrcInvert);
    EXPECT_EQ(bitmapCopy.Bitmap, bitmap.Bitmap);
}
