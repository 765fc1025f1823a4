#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cad/engine/SelectObjectsParam.h"
#include "cad/engine/TransformGeometry.h"
#include "cad/engine/TransformObjects.h"
#include "cad/engine/TransformSelectedObjects.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "support/StateTestSupport.h"

using namespace statetest;

namespace {

class TransformStates : public StateTest {
protected:
    // Starts the transform task of the one-shot on the given objects.
    template <class TOneShot>
    void Start(std::initializer_list<TObject2D*> objects)
    {
        auto selection = std::make_unique<TCAD2DSelectObjectsParam>(5, TCADStateClass::Of<TOneShot>());
        for (TObject2D* object : objects)
            selection->SelectedObjects.Add(object);
        ASSERT_TRUE(Engine->StartOperation(TCADStateClass::Of<TOneShot>(), std::move(selection)));
        ASSERT_TRUE(In<TSCTransformObjects>());
        EXPECT_TRUE(Engine->CurrentOperation() == TCADStateClass::Of<TOneShot>());
    }

    // Objects of the drawing by class name, each as its world points.
    std::vector<std::string> Summary()
    {
        std::vector<std::string> lines;
        for (TObject2D* object : Objects()) {
            std::string line = object->ClassName();
            const std::vector<TPoint2D> points = WorldPoints(*object);
            // Polylines from curves are long: their box tells enough.
            if (points.size() > 4) {
                const TRect2D box = NormalizeBox2D(object->Box);
                line += " box " + Round(box.FirstEdge) + Round(box.SecondEdge);
            } else {
                for (const TPoint2D p : points)
                    line += " " + Round(p);
            }
            lines.push_back(line);
        }
        return lines;
    }

    static std::string Round(TPoint2D p)
    {
        return "(" + std::to_string(static_cast<int>(std::lround(p.X))) + "," +
               std::to_string(static_cast<int>(std::lround(p.Y))) + ")";
    }

    TObject2D& Line() { return Add(std::make_unique<TLine2D>(-1, MakePoint2D(10, 10), MakePoint2D(20, 10))); }
    TObject2D& Circle() { return Add(std::make_unique<TCerchio2D>(-1, MakePoint2D(50, 50), MakePoint2D(60, 50))); }
};

} // namespace

TEST_F(TransformStates, MovesRotatesAndMirrorsWithCopiesAndTheOriginalInPlace)
{
    struct TCase {
        const char* Name;
        bool Copy;
        int Repeat;
        void (TransformStates::*Start)(std::initializer_list<TObject2D*>);
        std::vector<TPoint2D> Clicks;
        std::vector<std::string> Expected;
        int RepeatAfter;
    };
    const TCase cases[] = {
        {"move", false, 1, &TransformStates::Start<TSCTraslaSelectedObjects>, {MakePoint2D(10, 10), MakePoint2D(15, 12)},
         {"TLine2D (15,12) (25,12)"}, 1},
        {"three copies", true, 3, &TransformStates::Start<TSCTraslaSelectedObjects>,
         {MakePoint2D(0, 0), MakePoint2D(5, 0)},
         {"TLine2D (10,10) (20,10)", "TLine2D (15,10) (25,10)", "TLine2D (20,10) (30,10)", "TLine2D (25,10) (35,10)"},
         3},
        {"no copies asked: one", true, 0, &TransformStates::Start<TSCTraslaSelectedObjects>,
         {MakePoint2D(0, 0), MakePoint2D(0, 5)}, {"TLine2D (10,10) (20,10)", "TLine2D (10,15) (20,15)"}, 1},
        {"rotate a quarter turn", false, 1, &TransformStates::Start<TSCRuotaSelectedObjects>,
         {MakePoint2D(10, 10), MakePoint2D(10, 40)}, {"TLine2D (10,10) (10,20)"}, 1},
        {"mirror through two points", false, 1, &TransformStates::Start<TSCSpecchiaSelectedObjects>,
         {MakePoint2D(0, 30), MakePoint2D(50, 30)}, {"TLine2D (10,50) (20,50)"}, 1},
    };
    for (const TCase& c : cases) {
        Drawing.DeleteAllObjects();
        TransformCopyMode = c.Copy;
        TransformRepeat = c.Repeat;
        TObject2D& line = Line();
        (this->*c.Start)({&line});
        Click(c.Clicks[0].X, c.Clicks[0].Y);
        Move(c.Clicks[1].X, c.Clicks[1].Y);
        Click(c.Clicks[1].X, c.Clicks[1].Y);
        EXPECT_TRUE(Idle()) << c.Name;
        EXPECT_EQ(Summary(), c.Expected) << c.Name;
        EXPECT_EQ(TransformRepeat, c.RepeatAfter) << c.Name;
    }
    EXPECT_EQ(Prompts[0], "478");
    EXPECT_EQ(Prompts[1], "479");
}

TEST_F(TransformStates, NonUniformScaleTurnsCirclesIntoPolylinesAndAZeroFactorIsRefused)
{
    // 35.36 pixels (world units in this view) along each axis stand for a factor of 1.
    const float unit = static_cast<float>(ScaleAxisPixels);
    struct TCase {
        bool Copy;
        std::vector<std::string> Expected;
    };
    const TCase cases[] = {
        {true, {"TCerchio2D (50,50) (60,50)", "TPolyline2D box (30,45)(70,55)"}},
        {false, {"TCerchio2D (50,50) (60,50)", "TPolyline2D box (30,45)(70,55)"}},
    };
    Panel.Uniform = false;
    for (const TCase& c : cases) {
        Drawing.DeleteAllObjects();
        TransformCopyMode = c.Copy;
        TObject2D& circle = Circle();
        Start<TSCScalaSelectedObjects>({&circle});
        Click(50, 50);
        Click(50 + 2 * unit, 50 - 0.5f * unit);
        EXPECT_TRUE(Idle());
        EXPECT_EQ(Summary(), c.Expected) << (c.Copy ? "copy" : "move");
    }

    // A second click on the base point, or in its row, would flatten the objects: nothing happens.
    TransformCopyMode = false;
    Drawing.DeleteAllObjects();
    TObject2D& line = Line();
    Start<TSCScalaSelectedObjects>({&line});
    Click(10, 10);
    Click(10, 10);
    Click(40, 10);
    EXPECT_TRUE(In<TSCTransformObjects>()) << "the task waits for a usable point";
    User(CADPRG_ACCEPT);
    EXPECT_TRUE(In<TSCTransformObjects>());
    Click(10 + 2 * unit, 10 + 3 * unit);
    EXPECT_TRUE(Idle());
    EXPECT_EQ(Summary(), (std::vector<std::string>{"TLine2D (10,10) (30,10)"}));
}

TEST_F(TransformStates, TypedValuesCountOnlyWithThePointerAwayAndUniformScaleTakesX)
{
    struct TCase {
        const char* Name;
        bool InView;
        bool Uniform;
        int Event;
        std::map<TTransformField, double> Typed;
        std::vector<std::string> Expected;
    };
    const TCase cases[] = {
        {"move typed", false, true, CADPRG_APPLY_MOVE, {{TTransformField::Dx, 5}, {TTransformField::Dy, -2}},
         {"TLine2D (15,8) (25,8)"}},
        {"move typed with the pointer in the view", true, true, CADPRG_APPLY_MOVE,
         {{TTransformField::Dx, 5}, {TTransformField::Dy, -2}}, {"TLine2D (10,10) (20,10)"}},
        {"angle typed", false, true, CADPRG_APPLY_ANGLE, {{TTransformField::RotateAngle, 90}},
         {"TLine2D (10,10) (10,20)"}},
        {"uniform scale typed: X for both", false, true, CADPRG_APPLY_SCALE,
         {{TTransformField::ScaleX, 3}, {TTransformField::ScaleY, 7}}, {"TLine2D (10,10) (40,10)"}},
        {"separate scales typed", false, false, CADPRG_APPLY_SCALE,
         {{TTransformField::ScaleX, 2}, {TTransformField::ScaleY, 7}}, {"TLine2D (10,10) (30,10)"}},
    };
    for (const TCase& c : cases) {
        Drawing.DeleteAllObjects();
        Panel.InView = c.InView;
        Panel.Uniform = c.Uniform;
        Panel.Typed = c.Typed;
        TObject2D& line = Line();
        if (c.Event == CADPRG_APPLY_MOVE)
            Start<TSCTraslaSelectedObjects>({&line});
        else if (c.Event == CADPRG_APPLY_ANGLE)
            Start<TSCRuotaSelectedObjects>({&line});
        else
            Start<TSCScalaSelectedObjects>({&line});
        Click(10, 10);
        User(c.Event);
        User(CADPRG_ACCEPT);
        EXPECT_TRUE(Idle()) << c.Name;
        EXPECT_EQ(Summary(), c.Expected) << c.Name;
    }

    // Dragging shows the live values in the fields.
    Panel.InView = true;
    Panel.Shown.clear();
    TObject2D& line = *Objects()[0];
    Start<TSCTraslaSelectedObjects>({&line});
    Click(0, 0);
    Move(2.5f, -4);
    EXPECT_EQ(Panel.Shown[TTransformField::Dx], "2.5");
    EXPECT_EQ(Panel.Shown[TTransformField::Dy], "-4");
    User(CADPRG_CANCEL);
    EXPECT_TRUE(Idle());
    EXPECT_FALSE(line.CurrentTransform().has_value()) << "cancel leaves the objects as they were";
}

TEST_F(TransformStates, MirrorAboutAnAxisAppliesOnTheFirstMoveWithoutAClick)
{
    struct TCase {
        TMirrorAxis Axis;
        const char* Expected;
    };
    const TCase cases[] = {
        {TMirrorAxis::XAxis, "TLine2D (10,-10) (20,-10)"},
        {TMirrorAxis::YAxis, "TLine2D (-10,10) (-20,10)"},
        {TMirrorAxis::XYAxis, "TLine2D (-10,-10) (-20,-10)"},
    };
    Panel.Command = COMMAND_MIRROR;
    for (const TCase& c : cases) {
        Drawing.DeleteAllObjects();
        Panel.Axis = c.Axis;
        TObject2D& line = Line();
        Start<TSCSpecchiaSelectedObjects>({&line});
        Move(70, 70);
        EXPECT_TRUE(Idle());
        EXPECT_EQ(Summary(), (std::vector<std::string>{c.Expected}));
    }
}
