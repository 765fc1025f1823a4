#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "cad/engine/RealTimePan.h"
#include "cad/engine/SelectArea.h"
#include "cad/engine/SelectObject.h"
#include "cad/engine/SelectObjects.h"
#include "cad/engine/SelectObjectsInArea.h"
#include "cad/engine/SelectTwoObjects.h"
#include "cad/engine/ZoomArea.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Punto2D.h"
#include "support/EngineTestStates.h"
#include "support/ExceptionMessage.h"
#include "support/StateTestSupport.h"

using namespace enginetest;
using namespace statetest;

namespace {

struct TPick {
    int Id;
    bool Selected;
    int Code;
};

class SelectionStates : public StateTest {
protected:
    void SetUp() override
    {
        StateTest::SetUp();
        Log().clear();
        TTrackedParam::Alive() = 0;
        LineA = &Add(std::make_unique<TLine2D>(-1, MakePoint2D(10, 10), MakePoint2D(40, 10)));
        LineB = &Add(std::make_unique<TLine2D>(-1, MakePoint2D(10, 50), MakePoint2D(40, 50)));
        Circle = &Add(std::make_unique<TCerchio2D>(-1, MakePoint2D(70, 70), MakePoint2D(80, 70)));
        Point = &Add(std::make_unique<TPunto2D>(-1, MakePoint2D(70, 20)));
    }

    void TearDown() override
    {
        StateTest::TearDown();
        EXPECT_EQ(TTrackedParam::Alive(), 0) << "parameters leaked or freed twice";
    }

    // A selection parameter whose callback records every call and whose
    // after-state logs the list it was handed.
    template <class TParam = TCAD2DSelectObjectsParam, class... TArgs>
    std::unique_ptr<TParam> Selection(TArgs... args)
    {
        return std::make_unique<TParam>(args..., TCADStateClass::Of<TListingState>(),
                                        [this](TCAD2DSelectObjectsParam&, TObject2D* object, bool selected, int code) {
                                            Picks.push_back({object ? object->ID : -1, selected, code});
                                        });
    }

    // Logs the IDs of the list it is handed, in order, and ends the operation.
    class TListingState : public TCADState {
    public:
        static constexpr const char* ClassName = "TListingState";
        TListingState(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& next)
            : TCADState(engine, std::move(param), next)
        {
            std::string ids = "after:";
            std::unique_ptr<TGraphicObjIterator> it =
                static_cast<TCAD2DSelectObjectsParam&>(*Param()).SelectedObjects.GetIterator();
            for (TGraphicObject* object = it->First(); object; object = it->Next())
                ids += " " + std::to_string(object->ID);
            Log().push_back(ids);
            next = engine.DefaultState();
        }
    };

    std::vector<TPick> Picks;
    TObject2D* LineA = nullptr;
    TObject2D* LineB = nullptr;
    TObject2D* Circle = nullptr;
    TObject2D* Point = nullptr;
};

std::vector<int> IdsOf(const std::vector<TPick>& picks)
{
    std::vector<int> ids;
    // Objects marked again after a repaint are left out.
    for (const TPick& pick : picks)
        if (pick.Code != PICK_NOOBJECT)
            ids.push_back(pick.Selected ? pick.Id : -pick.Id - 100);
    return ids;
}

} // namespace

TEST_F(SelectionStates, ZoomWindowZoomsToTheAreaOrLeavesASinglePointAloneAndTheCommandResumes)
{
    struct TCase {
        TPoint2D First, Second;
        TRect2D Expected;
    };
    const TCase cases[] = {
        {MakePoint2D(60, 40), MakePoint2D(20, 10), MakeRect2D(20, 10, 60, 40)},
        {MakePoint2D(30, 30), MakePoint2D(30, 30), MakeRect2D(0, 0, 100, 100)},
    };
    for (const TCase& c : cases) {
        View->ZoomWindow(MakeRect2D(0, 0, 100, 100));
        ASSERT_TRUE(Engine->StartOperation(TCADStateClass::Of<TRecordingState>(), std::make_unique<TTrackedParam>()));
        Prompts.clear();
        ASSERT_TRUE(Engine->SuspendOperation(TCADStateClass::Of<TCADPrgZoomArea>()));
        EXPECT_FALSE(Engine->CurrentState()->CanBeSuspended());
        EXPECT_FALSE(Engine->SuspendOperation(TCADStateClass::Of<TCADPrgRealTimePan>())) << "no pan inside a zoom";
        Down(c.First.X, c.First.Y);
        Move((c.First.X + c.Second.X) / 2, c.Second.Y);
        Move(c.Second.X, c.Second.Y);
        Down(c.Second.X, c.Second.Y);
        ExpectBox(View->VisualRect(), c.Expected);
        EXPECT_TRUE(In<TRecordingState>()) << "the suspended command runs again";
        EXPECT_EQ(Prompts, (std::vector<std::string>{"470", "471", "Pick a point"}));
        Engine->StopOperation();
    }
}

TEST_F(SelectionStates, PanFollowsThePointerIgnoresJitterAndJumpsAndCancelRestoresTheView)
{
    struct TCase {
        float ToX, ToY;
        TRect2D Expected;
    };
    const TCase cases[] = {
        {60, 30, MakeRect2D(-10, 20, 90, 120)},        // dragged right and down by (10, -20)
        {50.0005f, 50, MakeRect2D(0, 0, 100, 100)},    // under 1/10000 of the diagonal
        {50, 400, MakeRect2D(0, 0, 100, 100)},         // over twice the diagonal
    };
    for (const TCase& c : cases) {
        View->ZoomWindow(MakeRect2D(0, 0, 100, 100));
        ASSERT_TRUE(Engine->StartOperation(TCADStateClass::Of<TCADPrgRealTimePan>()));
        Down(50, 50);
        Move(c.ToX, c.ToY);
        ExpectBox(View->VisualRect(), c.Expected);
        Up(c.ToX, c.ToY);
        User(CADPRG_CANCEL);
        ExpectBox(View->VisualRect(), MakeRect2D(0, 0, 100, 100));
        EXPECT_TRUE(Idle());
    }
    // The grabbed world point stays under the pointer: after the first move
    // the pointer's world point (70, 50) lies 20 units from it.
    ASSERT_TRUE(Engine->StartOperation(TCADStateClass::Of<TCADPrgRealTimePan>()));
    Down(50, 50);
    Move(60, 50);
    Move(70, 50);
    ExpectBox(View->VisualRect(), MakeRect2D(-30, 0, 70, 100));
    User(CADPRG_ACCEPT);
    ExpectBox(View->VisualRect(), MakeRect2D(-30, 0, 70, 100));
    EXPECT_TRUE(Idle());
}

TEST_F(SelectionStates, PickingTogglesObjectsAndTwoObjectsEndInPickOrder)
{
    // Several objects: every pick toggles, only accept ends.
    ASSERT_TRUE(Engine->StartOperation(TCADStateClass::Of<TCAD2DSelectObjects>(), Selection(5)));
    Click(20, 10);
    Click(20.5f, 10);
    Click(20, 50);
    Click(95, 95);  // nothing there
    EXPECT_EQ(IdsOf(Picks), (std::vector<int>{LineA->ID, -LineA->ID - 100, LineB->ID}));
    EXPECT_TRUE(In<TCAD2DSelectObjects>());
    User(CADPRG_ACCEPT);
    EXPECT_EQ(Log().back(), "after: " + std::to_string(LineB->ID));
    EXPECT_TRUE(Idle());

    // Two objects: A, A again, B, C: counts 1, 0, 1, 2 and the points of B and C kept.
    Picks.clear();
    ASSERT_TRUE(Engine->StartOperation(TCADStateClass::Of<TCAD2DSeleziona2Ogg>(), Selection(5)));
    std::vector<int> counts;
    for (const TPoint2D at : {MakePoint2D(20, 10), MakePoint2D(30, 10), MakePoint2D(15, 50), MakePoint2D(80, 70)}) {
        Click(at.X, at.Y);
        if (auto* state = dynamic_cast<TCAD2DSeleziona2Ogg*>(Engine->CurrentState()))
            counts.push_back(state->SelectedCount());
    }
    EXPECT_EQ(counts, (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(IdsOf(Picks), (std::vector<int>{LineA->ID, -LineA->ID - 100, LineB->ID, Circle->ID}));
    EXPECT_EQ(Log().back(), "after: " + std::to_string(LineB->ID) + " " + std::to_string(Circle->ID));
    ExpectPoint(TwoPickPoints[0], MakePoint2D(15, 50));
    ExpectPoint(TwoPickPoints[1], MakePoint2D(80, 70));
    EXPECT_TRUE(Idle());

    // Without a callback two objects still end the pick.
    auto bare = std::make_unique<TCAD2DSelectObjectsParam>(5, TCADStateClass::Of<TListingState>());
    ASSERT_TRUE(Engine->StartOperation(TCADStateClass::Of<TCAD2DSeleziona2Ogg>(), std::move(bare)));
    Click(20, 10);
    Click(20, 50);
    EXPECT_TRUE(Idle());

    // One object, of the parameter's class only: the line is passed over, the point taken.
    auto points = Selection(5);
    points->PickClass = TObject2DClass::Of<TPunto2D>();
    ASSERT_TRUE(Engine->StartOperation(TCADStateClass::Of<TCAD2DSelectObject>(), std::move(points)));
    Click(20, 10);
    EXPECT_TRUE(In<TCAD2DSelectObject>());
    Click(71, 20);
    EXPECT_EQ(Log().back(), "after: " + std::to_string(Point->ID));
}

TEST_F(SelectionStates, AreaSelectionInBothModesRestoresThePickClassAndCancelEndsTheCommand)
{
    struct TCase {
        int Mode;
        TPoint2D First, Second;
        std::string Listed;
    };
    // The area (5, 5)-(45, 60) holds both lines wholly and cuts the circle's box only in mode 1 when widened.
    const TCase cases[] = {
        {0, MakePoint2D(5, 5), MakePoint2D(45, 60), "after: 0 1"},
        {0, MakePoint2D(45, 60), MakePoint2D(5, 5), "after: 0 1"},
        {0, MakePoint2D(5, 5), MakePoint2D(75, 75), "after: 0 1 3"},
        {1, MakePoint2D(5, 5), MakePoint2D(75, 75), "after: 0 1 2 3"},
        {1, MakePoint2D(30, 5), MakePoint2D(35, 55), "after: 0 1"},
    };
    for (const TCase& c : cases) {
        Picks.clear();
        ASSERT_TRUE(Engine->StartOperation(TCADStateClass::Of<TCAD2DSelectObjectsInArea>(),
                                           Selection<TCAD2DSelectObjectsInAreaParam>(c.Mode)));
        EXPECT_TRUE(In<TCADPrgSelectArea>());
        Down(c.First.X, c.First.Y);
        Move(c.Second.X, c.Second.Y);
        Down(c.Second.X, c.Second.Y);
        EXPECT_EQ(Log().back(), c.Listed) << "mode " << c.Mode;
        ASSERT_EQ(Picks.size(), 1u);
        EXPECT_EQ(Picks[0].Id, -1) << "the callback hears of the whole list once";
        EXPECT_TRUE(Idle());
    }

    // The view picks lines only while the parameter asks for them, even when the collection fails.
    View->PickClass = TObject2DClass::Of<TPunto2D>();
    auto failing = std::make_unique<TCAD2DSelectObjectsInAreaParam>(
        1, TCADStateClass::Of<TListingState>(),
        [](TCAD2DSelectObjectsParam&, TObject2D*, bool, int) { throw std::runtime_error("callback fails"); });
    failing->PickClass = TObject2DClass::Of<TLine2D>();
    Log().clear();
    ASSERT_TRUE(Engine->StartOperation(TCADStateClass::Of<TCAD2DSelectObjectsInArea>(), std::move(failing)));
    Down(0, 0);
    Down(100, 100);
    EXPECT_TRUE(Log().empty()) << "the failed selection goes nowhere";
    EXPECT_TRUE(View->PickClass == TObject2DClass::Of<TPunto2D>());
    EXPECT_TRUE(Idle());

    // Cancel while dragging ends the whole command: no after-state, nothing leaked.
    ASSERT_TRUE(Engine->StartOperation(TCADStateClass::Of<TCAD2DSelectObjectsInArea>(),
                                       Selection<TCAD2DSelectObjectsInAreaParam>(0)));
    Down(5, 5);
    Move(50, 50);
    EXPECT_TRUE(In<TCADPrgDragSelectArea>());
    User(CADPRG_CANCEL);
    EXPECT_TRUE(Idle());
    EXPECT_TRUE(Log().empty());
}

TEST_F(SelectionStates, WrongParametersAreRefusedWithTheStatesText)
{
    struct TCase {
        TCADStateClass State;
        std::string Text;
    };
    const TCase cases[] = {
        {TCADStateClass::Of<TCAD2DSelectObject>(), "TCAD2DSelectObject: Invalid param"},
        {TCADStateClass::Of<TCAD2DSelectPoint>(), "TCAD2DSelectObject: Invalid param"},
        {TCADStateClass::Of<TCAD2DSeleziona2Ogg>(), "TCAD2DSelectObject: Invalid param"},
        {TCADStateClass::Of<TCAD2DSelectObjects>(), "TCAD2DSelectObjects: Invalid param"},
        {TCADStateClass::Of<TCAD2DSelectObjectsInArea>(), "TCAD2DSelectObjectsInArea: Invalid param"},
        {TCADStateClass::Of<TCADPrgEndZoomArea>(), "TCADPrgEndZoomArea: Invalid param"},
    };
    for (const TCase& c : cases) {
        TCADStateClass next;
        EXPECT_EQ(cadtest::MessageOf<ECADCoreException>([&] { c.State.Create(*Engine, std::make_unique<TTrackedParam>(), next); }), c.Text);
        // Run by the engine, the refusal ends the operation quietly.
        EXPECT_TRUE(Engine->StartOperation(c.State, std::make_unique<TTrackedParam>()));
        EXPECT_TRUE(Idle());
    }
}
