#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "cad/engine/DrawArcPrimitive.h"
#include "cad/engine/RubberDrawing.h"
#include "cad/engine/DrawUnSizedPrimitive.h"
#include "cad/engine/PositionObject.h"
#include "cad/engine/SelectObjects.h"
#include "cad/engine/SelectObjectsInArea.h"
#include "cad/engine/SelectTwoObjects.h"
#include "cad/engine/TransformObjects.h"
#include "cad/engine/TransformSelectedObjects.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "support/StateTestSupport.h"

using namespace statetest;

namespace {

class RubberDrawing : public StateTest {
protected:
    void SetUp() override
    {
        StateTest::SetUp();
        Add(std::make_unique<TLine2D>(-1, MakePoint2D(10, 10), MakePoint2D(90, 80)));
        Add(std::make_unique<TCerchio2D>(-1, MakePoint2D(50, 50), MakePoint2D(70, 50)));
        View->Repaint();
    }

    std::unique_ptr<TCAD2DSelectObjectsParam> Selection(TCADStateClass after = {})
    {
        auto param = std::make_unique<TCAD2DSelectObjectsParam>(5, after);
        for (TObject2D* object : Objects())
            param->SelectedObjects.Add(object);
        return param;
    }
};

} // namespace

// Every transient drawing is xor-drawn: each move erases the old image by
// drawing it again, so after many moves the window must hold the bitmap plus
// exactly one image, and cancelling must give back the bitmap's pixels.
TEST_F(RubberDrawing, EveryMoveErasesTheOldImageExactly)
{
    struct TCase {
        const char* Name;
        std::function<void()> Start;
        std::vector<TPoint2D> Clicks;
    };
    const TCase cases[] = {
        {"area rubber band",
         [&] {
             Engine->StartOperation(TCADStateClass::Of<TCAD2DSelectObjectsInArea>(),
                                    std::make_unique<TCAD2DSelectObjectsInAreaParam>(0, TCADStateClass()));
         },
         {MakePoint2D(20, 20)}},
        {"pick aperture",
         [&] {
             Engine->StartOperation(TCADStateClass::Of<TCAD2DSelectObjects>(),
                                    std::make_unique<TCAD2DSelectObjectsParam>(5, TCADStateClass()));
         },
         {}},
        {"two-object aperture",
         [&] {
             Engine->StartOperation(TCADStateClass::Of<TCAD2DSeleziona2Ogg>(),
                                    std::make_unique<TCAD2DSelectObjectsParam>(5, TCADStateClass()));
         },
         {}},
        {"polyline",
         [&] {
             Engine->StartOperation(TCADStateClass::Of<TCAD2DDrawUnSizedPrimitive>(),
                                    std::make_unique<TCAD2DDrawUnSizedPrimitiveParam>(
                                        TCADStateClass(), std::make_unique<TPolyline2D>()));
         },
         {MakePoint2D(5, 5), MakePoint2D(40, 8)}},
        {"arc",
         [&] {
             Engine->StartOperation(TCADStateClass::Of<TCAD2DDrawArcoPrimitive>(),
                                    std::make_unique<TCAD2DDrawArcoPrimitiveParam>(
                                        TCADStateClass(), std::make_unique<TArco2D>(-1, MakePoint2D(0, 0),
                                                                                    MakePoint2D(1, 0), 0.0f, 1.0f)));
         },
         {MakePoint2D(40, 40), MakePoint2D(60, 40), MakePoint2D(60, 40)}},
        {"placed object",
         [&] {
             Engine->StartOperation(TCADStateClass::Of<TCAD2DPositionObject>(),
                                    std::make_unique<TCAD2DPositionObjectParam>(
                                        TCADStateClass(),
                                        std::make_unique<TCerchio2D>(-1, MakePoint2D(0, 0), MakePoint2D(9, 0))));
         },
         {}},
        {"moved selection", [&] { Engine->StartOperation(TCADStateClass::Of<TSCTraslaSelectedObjects>(), Selection()); },
         {MakePoint2D(50, 50)}},
        {"rotated selection",
         [&] { Engine->StartOperation(TCADStateClass::Of<TSCRuotaSelectedObjects>(), Selection()); },
         {MakePoint2D(50, 50)}},
    };
    const QImage clean = View->BitmapImage().copy();
    for (const TCase& c : cases) {
        c.Start();
        ASSERT_FALSE(Idle()) << c.Name;
        for (const TPoint2D at : c.Clicks)
            Click(at.X, at.Y);
        for (int step = 0; step < 12; ++step)
            Move(30.0f + 3.7f * static_cast<float>(step), 70.0f - 2.9f * static_cast<float>(step));
        EXPECT_FALSE(imagetest::SamePixels(View->WindowImage(), clean)) << c.Name << ": something is shown";
        EXPECT_TRUE(TransientDrawingsDrawnOnce()) << c.Name;
        Move(12, 88);
        User(CADPRG_CANCEL);
        EXPECT_TRUE(Idle()) << c.Name;
        EXPECT_TRUE(imagetest::SamePixels(View->WindowImage(), clean)) << c.Name << ": cancel leaves no trace";
        EXPECT_TRUE(imagetest::SamePixels(View->BitmapImage(), clean)) << c.Name << ": the drawing is untouched";
    }
}

// The square round a point far beyond the window's pixels (the view zoomed
// far in) is drawn off the window, without an overflow of its corners.
TEST_F(RubberDrawing, ASquareFarOffTheWindowIsNotShown)
{
    const QImage clean = View->BitmapImage().copy();
    for (const TPoint2D far : {MakePoint2D(1e30f, 1e30f), MakePoint2D(-1e30f, 50), MakePoint2D(50, -1e30f)}) {
        DrawRubberSquare(*View, far, 5);
        EXPECT_TRUE(imagetest::SamePixels(View->WindowImage(), clean));
    }
}
