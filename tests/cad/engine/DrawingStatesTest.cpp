#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cad/engine/DrawArcPrimitive.h"
#include "cad/engine/DrawSizedPrimitive.h"
#include "cad/engine/DrawUnSizedPrimitive.h"
#include "cad/engine/EditPrimitive.h"
#include "cad/engine/PositionObject.h"
#include "cad/engine/Sel2Punti.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "support/StateTestSupport.h"

using namespace statetest;

namespace {

// A step of the user: a click, a pointer move or a user event.
struct TStep {
    char Kind;  // 'c' click, 'm' move, 'u' user event
    float X = 0;
    float Y = 0;
    int Code = 0;
};

TStep ClickAt(float x, float y) { return {'c', x, y, 0}; }
TStep MoveTo(float x, float y) { return {'m', x, y, 0}; }
TStep UserEvent(int code) { return {'u', 0, 0, code}; }

class DrawingStates : public StateTest {
protected:
    void Run(const std::vector<TStep>& steps)
    {
        for (const TStep& step : steps) {
            if (step.Kind == 'c')
                Click(step.X, step.Y);
            else if (step.Kind == 'm')
                Move(step.X, step.Y);
            else
                User(step.Code);
        }
    }

    std::string PointsText(const TObject2D& object) const
    {
        std::string text;
        for (const TPoint2D p : WorldPoints(object))
            text += "(" + std::to_string(static_cast<int>(p.X)) + "," + std::to_string(static_cast<int>(p.Y)) + ")";
        return text;
    }
};

} // namespace

TEST_F(DrawingStates, PolylinesAddPointsCloseOnlyFromThreeAndAcceptBeforeAnyClickDrawsNothing)
{
    struct TCase {
        const char* Name;
        std::vector<TStep> Steps;
        bool Running;        // the state still waits for the user
        const char* Points;  // of the polyline being drawn, or of the one added
    };
    const TCase cases[] = {
        {"accept keeps the moving point",
         {ClickAt(10, 10), ClickAt(20, 10), MoveTo(20, 30), UserEvent(CADPRG_ACCEPT)}, false,
         "(10,10)(20,10)(20,30)"},
        {"a second click on the same spot adds nothing",
         {ClickAt(10, 10), ClickAt(20, 10), ClickAt(20, 10), MoveTo(30, 30)}, true, "(10,10)(20,10)(30,30)"},
        {"close with two fixed points stays open",
         {ClickAt(10, 10), ClickAt(20, 10), UserEvent(CADPRG_CLOSE_FIGURE)}, true, "(10,10)(20,10)(20,10)"},
        {"close with three fixed points joins the start",
         {ClickAt(10, 10), ClickAt(20, 10), ClickAt(20, 20), UserEvent(CADPRG_CLOSE_FIGURE)}, false,
         "(10,10)(20,10)(20,20)(10,10)"},
        {"accept before any click", {MoveTo(30, 30), UserEvent(CADPRG_ACCEPT)}, false, nullptr},
        {"cancel", {ClickAt(10, 10), ClickAt(20, 10), UserEvent(CADPRG_CANCEL)}, false, nullptr},
    };
    for (const TCase& c : cases) {
        Drawing.DeleteAllObjects();
        auto param = std::make_unique<TCAD2DDrawUnSizedPrimitiveParam>(
            TCADStateClass(), std::make_unique<TPolyline2D>(-1, std::vector<TPoint2D>{MakePoint2D(1, 1)}));
        TPolyline2D* polyline = static_cast<TPolyline2D*>(param->Primitive.get());
        ASSERT_TRUE(Engine->StartOperation(TCADStateClass::Of<TCAD2DDrawUnSizedPrimitive>(), std::move(param)));
        Run(c.Steps);
        EXPECT_EQ(!Idle(), c.Running) << c.Name;
        if (c.Running) {
            EXPECT_EQ(PointsText(*polyline), c.Points) << c.Name;
            Engine->StopOperation();
            EXPECT_EQ(Drawing.ObjectsCount(), 0) << c.Name;
        } else if (c.Points) {
            ASSERT_EQ(Drawing.ObjectsCount(), 1) << c.Name;
            EXPECT_EQ(PointsText(*Objects()[0]), c.Points) << c.Name;
        } else {
            EXPECT_EQ(Drawing.ObjectsCount(), 0) << c.Name;
        }
    }
}

TEST_F(DrawingStates, OrthoMakesTheNextPointHorizontalOrVertical)
{
    struct TCase {
        bool EngineOrtho;
        bool TaskOrtho;
        TPoint2D Second;
        const char* Line;
    };
    const TCase cases[] = {
        {true, true, MakePoint2D(10, 3), "(0,0)(10,0)"},
        {true, true, MakePoint2D(3, 3), "(0,0)(0,3)"},
        {true, true, MakePoint2D(-2, -9), "(0,0)(0,-9)"},
        {false, true, MakePoint2D(10, 3), "(0,0)(10,3)"},
        {true, false, MakePoint2D(10, 3), "(0,0)(10,3)"},
    };
    for (const TCase& c : cases) {
        Drawing.DeleteAllObjects();
        Engine->UseOrto = c.EngineOrtho;
        auto param = std::make_unique<TCAD2DDrawSizedPrimitiveParam>(
            TCADStateClass(), std::make_unique<TLine2D>(-1, MakePoint2D(0, 0), MakePoint2D(0, 0)), c.TaskOrtho);
        ASSERT_TRUE(Engine->StartOperation(TCADStateClass::Of<TCAD2DDrawSizedPrimitive>(), std::move(param)));
        Click(0, 0);
        ExpectPoint(Engine->LastPt, MakePoint2D(0, 0));
        Move(50, 1);
        Click(c.Second.X, c.Second.Y);
        EXPECT_TRUE(Idle());
        ASSERT_EQ(Drawing.ObjectsCount(), 1);
        EXPECT_EQ(PointsText(*Objects()[0]), c.Line);
    }
    Engine->UseOrto = false;

    // A sized primitive accepted before its first click is not added either.
    ASSERT_TRUE(Engine->StartOperation(TCADStateClass::Of<TCAD2DDrawSizedPrimitive>(),
                                       std::make_unique<TCAD2DDrawSizedPrimitiveParam>(
                                           TCADStateClass(), std::make_unique<TLine2D>())));
    User(CADPRG_ACCEPT);
    EXPECT_TRUE(Idle());
    EXPECT_EQ(Drawing.ObjectsCount(), 1);
}

TEST_F(DrawingStates, ArcsTakeFourClicksAndObjectsArePlacedByTheirReferencePoint)
{
    auto arc = std::make_unique<TArco2D>(-1, MakePoint2D(0, 0), MakePoint2D(1, 0), 0.0f, 1.0f);
    ASSERT_TRUE(Engine->StartOperation(TCADStateClass::Of<TCAD2DDrawArcoPrimitive>(),
                                       std::make_unique<TCAD2DDrawArcoPrimitiveParam>(TCADStateClass(), std::move(arc))));
    Run({ClickAt(50, 50), MoveTo(60, 50), ClickAt(70, 50), ClickAt(70, 50), MoveTo(50, 90), ClickAt(50, 70)});
    EXPECT_EQ(Prompts, (std::vector<std::string>{"475", "476"}));
    ASSERT_EQ(Drawing.ObjectsCount(), 1);
    auto* added = dynamic_cast<TArco2D*>(Objects()[0]);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(PointsText(*added), "(50,50)(70,50)(70,50)(50,70)");
    EXPECT_NEAR(added->StartAngle(), 0.0f, 1e-5f);
    EXPECT_NEAR(added->EndAngle(), 1.5707963f, 1e-5f);

    // A circle lands with its centre on the pointer, a line with its first point.
    struct TCase {
        std::unique_ptr<TObject2D> Object;
        TPoint2D At;
        const char* Points;
    };
    TCase cases[] = {
        {std::make_unique<TCerchio2D>(-1, MakePoint2D(5, 5), MakePoint2D(8, 5)), MakePoint2D(30, 40),
         "(30,40)(33,40)"},
        {std::make_unique<TLine2D>(-1, MakePoint2D(5, 5), MakePoint2D(15, 7)), MakePoint2D(30, 40),
         "(30,40)(40,42)"},
    };
    for (TCase& c : cases) {
        Drawing.DeleteAllObjects();
        ASSERT_TRUE(Engine->StartOperation(TCADStateClass::Of<TCAD2DPositionObject>(),
                                           std::make_unique<TCAD2DPositionObjectParam>(TCADStateClass(),
                                                                                       std::move(c.Object))));
        Run({MoveTo(70, 70), MoveTo(c.At.X, c.At.Y), ClickAt(c.At.X, c.At.Y)});
        EXPECT_TRUE(Idle());
        ASSERT_EQ(Drawing.ObjectsCount(), 1);
        EXPECT_EQ(PointsText(*Objects()[0]), c.Points);
    }
}

TEST_F(DrawingStates, MeasuringReportsWhileTheLineFollowsAndEditingMovesAHeldControlPoint)
{
    std::vector<std::string> reports;
    EngineHooks().InfoDistanza = [&](TPoint2D first, TPoint2D second) {
        reports.push_back(PointsText(TLine2D(0, first, second)));
    };
    ASSERT_TRUE(Engine->StartOperation(TCADStateClass::Of<TSCSel2Punti>(), std::make_unique<TSCSel2PuntiParam>()));
    Run({MoveTo(5, 5), ClickAt(10, 10), MoveTo(40, 50), ClickAt(40, 50), MoveTo(70, 70)});
    EXPECT_EQ(reports, (std::vector<std::string>{"(10,10)(40,50)", "(10,10)(40,50)"}));
    EXPECT_EQ(Prompts, (std::vector<std::string>{"484", "485", "484"}));
    User(CADPRG_ACCEPT);
    EXPECT_TRUE(Idle());

    struct TCase {
        int Finish;
        const char* Points;
    };
    for (const TCase c : {TCase{CADPRG_ACCEPT, "(10,10)(60,20)(50,50)"}, TCase{CADPRG_CANCEL, "(10,10)(50,10)(50,50)"}}) {
        Drawing.DeleteAllObjects();
        TObject2D& polyline = Add(std::make_unique<TPolyline2D>(
            -1, std::vector<TPoint2D>{MakePoint2D(10, 10), MakePoint2D(50, 10), MakePoint2D(50, 50)}));
        ASSERT_TRUE(Engine->StartOperation(TCADStateClass::Of<TCAD2DEditPrimitive>(),
                                           std::make_unique<TCAD2DPrimitiveParam>(static_cast<TPolyline2D&>(polyline))));
        Down(51, 11);
        Move(60, 20);
        Up(60, 20);
        Move(90, 90);
        User(c.Finish);
        EXPECT_TRUE(Idle());
        EXPECT_EQ(PointsText(polyline), c.Points);
    }
}
