#include <gtest/gtest.h>

#include <functional>
#include <memory>

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

const TPoint2D Square[] = {MakePoint2D(0, 0), MakePoint2D(0, 10), MakePoint2D(10, 10), MakePoint2D(10, 0)};

std::unique_ptr<TText2D> MakeText(TPoint2D first, TPoint2D second)
{
    auto text = std::make_unique<TText2D>();
    text->Points()->Put(0, first);
    text->Points()->Put(1, second);
    text->UpdateExtension();
    return text;
}

struct TPickCase {
    const char* Name;
    std::function<std::unique_ptr<TPrimitive2D>()> Make;
    TPoint2D Click;
    int Code;
    float Distance;
};

} // namespace

TEST(ShapeHitTest, CodesByShapeAndPlace)
{
    const float aperture = 1.0f;
    const TPickCase cases[] = {
        {"polygon inside", [] { return std::make_unique<TPolygon2D>(1, Square); }, MakePoint2D(5, 5), PICK_INOBJECT, 1.0f},
        {"polyline inside", [] { return std::make_unique<TPolyline2D>(1, Square); }, MakePoint2D(5, 5), PICK_INBBOX, 1.0f},
        {"polyline on edge", [] { return std::make_unique<TPolyline2D>(1, Square); }, MakePoint2D(5, 9.75f), PICK_ONOBJECT, 0.25f},
        {"polyline open side", [] { return std::make_unique<TPolyline2D>(1, Square); }, MakePoint2D(5, 0.5f), PICK_INBBOX, 1.0f},
        {"polygon closing side", [] { return std::make_unique<TPolygon2D>(1, Square); }, MakePoint2D(5, 0.5f), PICK_ONOBJECT, 0.5f},
        {"control point", [] { return std::make_unique<TPolygon2D>(1, Square); }, MakePoint2D(10.25f, 10), 2, 0.25f},
        {"outside", [] { return std::make_unique<TPolygon2D>(1, Square); }, MakePoint2D(20, 5), PICK_NOOBJECT, PICK_FAR_DISTANCE},
        {"line", [] { return std::make_unique<TLine2D>(1, MakePoint2D(0, 0), MakePoint2D(10, 10)); }, MakePoint2D(5, 5.5f), PICK_ONOBJECT, 0.353553f},
        {"line end", [] { return std::make_unique<TLine2D>(1, MakePoint2D(0, 0), MakePoint2D(10, 10)); }, MakePoint2D(10, 10), 1, 0.0f},
        {"point", [] { return std::make_unique<TPunto2D>(1, MakePoint2D(3, 3)); }, MakePoint2D(3.5f, 3), 0, 0.5f},
        {"frame inside", [] { return std::make_unique<TFrame2D>(1, MakePoint2D(0, 0), MakePoint2D(10, 10)); }, MakePoint2D(5, 5), PICK_INBBOX, 1.0f},
        {"frame edge", [] { return std::make_unique<TFrame2D>(1, MakePoint2D(0, 0), MakePoint2D(10, 10)); }, MakePoint2D(0.5f, 5), PICK_ONOBJECT, 0.5f},
        {"rectangle inside", [] { return std::make_unique<TRectangle2D>(1, MakePoint2D(0, 0), MakePoint2D(10, 10)); }, MakePoint2D(5, 5), PICK_INOBJECT, 1.0f},
        {"circle inside", [] { return std::make_unique<TCerchio2D>(1, MakePoint2D(0, 0), MakePoint2D(10, 0)); }, MakePoint2D(3, 3), PICK_INBBOX, 1.0f},
        {"filled circle inside", [] { return std::make_unique<TFilledCerchio2D>(1, MakePoint2D(0, 0), MakePoint2D(10, 0)); }, MakePoint2D(3, 3), PICK_INBBOX, 1.0f},
        {"filled ellipse inside", [] { return std::make_unique<TFilledEllipse2D>(1, MakePoint2D(0, 0), MakePoint2D(20, 10)); }, MakePoint2D(10, 5), PICK_INOBJECT, 1.0f},
        {"ellipse inside", [] { return std::make_unique<TEllipse2D>(1, MakePoint2D(0, 0), MakePoint2D(20, 10)); }, MakePoint2D(10, 5), PICK_INBBOX, 1.0f},
        {"arc on curve", [] { return std::make_unique<TArco2D>(1, MakePoint2D(0, 0), MakePoint2D(10, 0), 0.0f, 3.0f); }, MakePoint2D(-0.2f, 10.1f), PICK_ONOBJECT, 0.1f},
        {"text inside", [] { return MakeText(MakePoint2D(0, 0), MakePoint2D(30, 10)); }, MakePoint2D(15, 5), PICK_INOBJECT, 1.0f},
        {"bitmap inside", [] { return std::make_unique<TBitmap2D>(1, MakePoint2D(0, 0), MakePoint2D(30, 10), QImage(2, 2, QImage::Format_RGB32)); }, MakePoint2D(15, 5), PICK_INBBOX, 1.0f},
    };
    for (const TPickCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto shape = c.Make();
        float distance = -1.0f;
        EXPECT_EQ(shape->HitTest(c.Click, distance, aperture), c.Code);
        EXPECT_NEAR(distance, c.Distance, 0.02f);
    }
}

TEST(ShapeHitTest, LaterControlPointWinsATie)
{
    const TPoint2D twice[] = {MakePoint2D(1, 1), MakePoint2D(5, 5), MakePoint2D(1, 1)};
    TPolyline2D polyline(1, twice);
    float distance = 0.0f;
    EXPECT_EQ(polyline.HitTest(MakePoint2D(1.1f, 1), distance, 1.0f), 2);
}

TEST(ShapeHitTest, PicksThroughTheObjectTransform)
{
    TLine2D line(1, MakePoint2D(0, 0), MakePoint2D(10, 0));
    line.SetModelTransform(MakeTranslation2D(100, 50));
    line.UpdateExtension();
    float distance = 0.0f;
    EXPECT_EQ(line.HitTest(MakePoint2D(5, 0.5f), distance, 1.0f), PICK_NOOBJECT);
    EXPECT_EQ(line.HitTest(MakePoint2D(105, 50.5f), distance, 1.0f), PICK_ONOBJECT);
    EXPECT_EQ(line.HitTest(MakePoint2D(110, 50), distance, 1.0f), 1);
}

TEST(ShapeBoxes, BoxesOfEveryKind)
{
    struct TBoxCase {
        const char* Name;
        std::unique_ptr<TPrimitive2D> Shape;
        TRect2D Expected;
    };
    TBoxCase cases[] = {
        {"line", std::make_unique<TLine2D>(1, MakePoint2D(10, 2), MakePoint2D(-3, 7)), MakeRect2D(-3, 2, 10, 7)},
        {"point", std::make_unique<TPunto2D>(1, MakePoint2D(4, 5)), MakeRect2D(4, 5, 4, 5)},
        {"frame", std::make_unique<TFrame2D>(1, MakePoint2D(8, 9), MakePoint2D(1, 2)), MakeRect2D(1, 2, 8, 9)},
        {"circle", std::make_unique<TCerchio2D>(1, MakePoint2D(0, 0), MakePoint2D(0, 10)), MakeRect2D(-10, -10, 10, 10)},
        // The arc's box is its whole ellipse.
        {"quarter arc", std::make_unique<TArc2D>(1, MakePoint2D(0, 0), MakePoint2D(20, 10), 0.0f, 1.0f), MakeRect2D(0, 0, 20, 10)},
        {"polyline", std::make_unique<TPolyline2D>(1, Square), MakeRect2D(0, 0, 10, 10)},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const TRect2D box = c.Shape->Box;
        EXPECT_NEAR(box.FirstEdge.X, c.Expected.FirstEdge.X, 0.1f);
        EXPECT_NEAR(box.FirstEdge.Y, c.Expected.FirstEdge.Y, 0.1f);
        EXPECT_NEAR(box.SecondEdge.X, c.Expected.SecondEdge.X, 0.1f);
        EXPECT_NEAR(box.SecondEdge.Y, c.Expected.SecondEdge.Y, 0.1f);

        // A transform moves the box with it.
        c.Shape->SetCurrentTransform(MakeTranslation2D(100, -50));
        EXPECT_NEAR(c.Shape->Box.FirstEdge.X, c.Expected.FirstEdge.X + 100, 0.1f);
        EXPECT_NEAR(c.Shape->Box.SecondEdge.Y, c.Expected.SecondEdge.Y - 50, 0.1f);
    }
}

TEST(ShapeBoxes, EditingAControlPointUpdatesTheBox)
{
    TCerchio2D circle(1, MakePoint2D(0, 0), MakePoint2D(10, 0));
    circle.Points()->SetPoint(1, MakePoint2D(20, 0));
    EXPECT_NEAR(circle.Box.SecondEdge.X, 20.0f, 1e-4);
    EXPECT_NEAR(circle.ProfilePoints()[0].X, 20.0f, 1e-4);
}

TEST(ShapeFixedCounts, ShapesWithTooFewPointsDrawAndPickNothing)
{
    // A damaged stream can hand over a line with one point; it must neither
    // raise while painting nor be picked.
    const auto withOnePoint = [](TPrimitive2D& shape) {
        shape.NewPointsSet(1);
        shape.Points()->Put(0, MakePoint2D(5, 5));
        shape.UpdateExtension();
    };
    std::unique_ptr<TPrimitive2D> shapes[] = {
        std::make_unique<TLine2D>(), std::make_unique<TFrame2D>(), std::make_unique<TCerchio2D>(),
        std::make_unique<TEllipse2D>(), std::make_unique<TArc2D>(), std::make_unique<TArco2D>(),
        std::make_unique<TText2D>(), std::make_unique<TBitmap2D>()};
    for (auto& shape : shapes) {
        SCOPED_TRACE(shape->ClassName());
        withOnePoint(*shape);
        EXPECT_FALSE(shape->HasRequiredPoints());
        TShapeRecordingCanvas canvas;
        EXPECT_NO_THROW(shape->Draw(FlipView(100), canvas, ScreenClip(100, 100), 0));
        EXPECT_EQ(canvas.Calls(), 0);
        float distance = 0.0f;
        EXPECT_NO_THROW(shape->HitTest(MakePoint2D(7, 5), distance, 3.0f));
    }
    TPunto2D point;
    EXPECT_FALSE(point.HasRequiredPoints());
    EXPECT_EQ(TPunto2D(1, MakePoint2D(0, 0)).MinimumPointCount(), 1);
}

TEST(ShapeFixedCounts, ArcWithOnlyItsBoxPointsUsesTheStoredAngles)
{
    TArco2D arco;
    arco.NewPointsSet(2);
    arco.Points()->Put(0, MakePoint2D(0, 0));
    arco.Points()->Put(1, MakePoint2D(10, 0));
    arco.UpdateExtension();
    EXPECT_TRUE(arco.HasRequiredPoints());
    EXPECT_EQ(arco.ProfilePointCount(), 51) << "angles 0 and 0: the whole circle";
}
