#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cad/drawing/CADCmp2D.h"
#include "cad/shapes/Frame2D.h"
#include "support/EngineTestStates.h"
#include "support/ExceptionMessage.h"
#include "support/ImageTestSupport.h"
#include "support/ViewportTestSupport.h"

using namespace enginetest;
using imagetest::SamePixels;
using viewtest::MakeView;
using cadtest::MessageOf;

namespace {

using Lines = std::vector<std::string>;

class CADPrg : public testing::Test {
protected:
    void SetUp() override
    {
        Log().clear();
        TTrackedParam::Alive() = 0;
        View = MakeView(100, 100, MakeRect2D(0, 0, 100, 100));
        View->SetCADCmp2D(&Drawing);
        Engine = std::make_unique<TCADPrg2D>();
        Engine->SetViewport2D(View.get());
        Engine->OnStartOperation = [](TCADPrg&, const TCADStateClass& c, TCADPrgParam*) {
            Log().push_back(std::string("start ") + c.Name());
        };
        Engine->OnEndOperation = [](TCADPrg&, const TCADStateClass& c, TCADPrgParam*) {
            Log().push_back(std::string("end ") + c.Name());
        };
        Engine->OnStopOperation = [](TCADPrg&, const TCADStateClass& c, TCADPrgParam*) {
            Log().push_back(std::string("stop, now ") + c.Name());
        };
        Engine->OnEnterState = [](TCADPrg&, TCADState&) { Log().push_back("enter"); };
        Engine->OnExitState = [](TCADPrg&, TCADState&) { Log().push_back("exit"); };
        Engine->OnIdle = [](TCADPrg&) { Log().push_back("idle"); };
        Engine->OnDescriptionChanged = [](TCADState& s) { Log().push_back("prompt " + s.Description()); };
    }

    void TearDown() override
    {
        Engine.reset();
        EXPECT_EQ(TTrackedParam::Alive(), 0) << "parameters leaked or freed twice";
    }

    // Starts with a clean log.
    void Start(TCADStateClass c, std::unique_ptr<TCADPrgParam> param = nullptr)
    {
        Log().clear();
        ASSERT_TRUE(Engine->StartOperation(c, std::move(param)));
    }

    bool Idle() const
    {
        return !Engine->IsBusy() && !Engine->IsSuspended() &&
               dynamic_cast<TCADIdleState*>(Engine->CurrentState()) != nullptr;
    }

    TCADCmp2D Drawing;
    std::unique_ptr<TCADViewport2DCore> View;
    std::unique_ptr<TCADPrg2D> Engine;
};

const TCADStateClass Recording = TCADStateClass::Of<TRecordingState>();
const TCADStateClass After = TCADStateClass::Of<TAfterState>();

} // namespace

TEST_F(CADPrg, StartsIdleAndNeedsAViewToStart)
{
    TCADPrg2D unbound;
    EXPECT_NE(dynamic_cast<TCADIdleState*>(unbound.CurrentState()), nullptr);
    EXPECT_FALSE(unbound.IsBusy());
    EXPECT_FALSE(unbound.StartOperation(Recording));
    EXPECT_FLOAT_EQ(unbound.XSnap, 10.0f);
    EXPECT_FLOAT_EQ(unbound.LastPt.X, 1e8f);
    EXPECT_TRUE(Idle());

    // The idle state refuses a parameter: someone forgot to free one.
    TCADStateClass next;
    EXPECT_EQ(MessageOf<ECADCoreException>(
                  [&] { TCADIdleState state(unbound, std::make_unique<TTrackedParam>(), next); }),
              "TCADIdleState.Create: Non all objects were destroied");
}

TEST_F(CADPrg, EveryKindOfEventReachesTheStateAsTheViewDeliversIt)
{
    Start(Recording);
    Log().clear();
    View->DispatchMouseMove(ssLeft, 10, 20);
    View->DispatchMouseMove(ssRight | ssMiddle, 10, 20);
    View->DispatchMouseDown(TMouseButton::Left, ssLeft, 10, 20);
    View->DispatchMouseUp(TMouseButton::Right, 0, 10, 20);
    View->DispatchDblClick(TMouseButton::Left, ssLeft, 10, 20);
    View->DispatchMouseDown(TMouseButton::Middle, ssMiddle, 10, 20); // the view's only
    View->DispatchKeyDown('A', ssShift);
    View->DispatchMouseMove(0, 11, 20); // reports the key held
    View->DispatchKeyUp('A', ssShift);
    View->DispatchMouseMove(0, 12, 20);
    View->InvalidateView();
    for (int code = 3; code <= 6; ++code)
        Engine->SendUserEvent(code);
    Engine->SendEvent(TCADPrgEvent::MouseDown, 2, 0, ssCtrl);
    const Lines expected = {
        Describe(TCADPrgEvent::MouseMove, 1, ssLeft, 0),
        Describe(TCADPrgEvent::MouseMove, 2, ssRight | ssMiddle, 0),
        Describe(TCADPrgEvent::MouseDown, 1, ssLeft, 0),
        Describe(TCADPrgEvent::MouseUp, 2, 0, 0),
        Describe(TCADPrgEvent::DblClick, 0, 0, 0),
        Describe(TCADPrgEvent::MouseDown, 1, ssLeft, 0),
        Describe(TCADPrgEvent::KeyDown, 0, ssShift, 'A'),
        Describe(TCADPrgEvent::MouseMove, 0, 0, 'A'),
        Describe(TCADPrgEvent::KeyUp, 0, ssShift, 'A'),
        Describe(TCADPrgEvent::MouseMove, 0, 0, 0),
        Describe(TCADPrgEvent::ViewRepainted, 0, 0, 0),
        Describe(TCADPrgEvent::UserEvent, 0, 0, 3),
        Describe(TCADPrgEvent::UserEvent, 0, 0, 4),
        Describe(TCADPrgEvent::UserEvent, 0, 0, 5),
        Describe(TCADPrgEvent::UserEvent, 0, 0, 6),
        Describe(TCADPrgEvent::MouseDown, 3, ssCtrl, 0),
    };
    EXPECT_EQ(Log(), expected);
    // The current point follows the pointer, in world units.
    EXPECT_FLOAT_EQ(Engine->GetCurrentPoint().X, 12.5f);
    EXPECT_FLOAT_EQ(Engine->GetCurrentPoint().Y, 79.5f);
    Engine->SetCurrentPoint({2, 4, 2});
    EXPECT_FLOAT_EQ(Engine->GetCurrentPoint().X, 1.0f);
    EXPECT_FLOAT_EQ(Engine->GetCurrentPoint().W, 1.0f);
    Engine->SendUserEvent(CADPRG_CANCEL);
}

TEST_F(CADPrg, AChainRunsFromEntryToItsAfterStateWithOneParameter)
{
    auto param = std::make_unique<TTrackedParam>(After, 7);
    TTrackedParam* raw = param.get();
    Start(TCADStateClass::Of<TEntryState>(), std::move(param));
    EXPECT_EQ(Log(), (Lines{"start TEntryState", "create entry", "enter", "free entry", "create recording",
                            "prompt Pick a point", "enter"}));
    EXPECT_TRUE(Engine->IsBusy());
    EXPECT_EQ(Engine->CurrentState()->Param(), raw) << "the parameter travels on";
    EXPECT_EQ(Engine->CurrentOperation(), TCADStateClass::Of<TEntryState>());

    Log().clear();
    Engine->SendUserEvent(CADPRG_ACCEPT);
    EXPECT_EQ(Log(), (Lines{Describe(TCADPrgEvent::UserEvent, 0, 0, 1), "exit", "free recording",
                            "after state with 7", "enter", "end TEntryState", "start TCADIdleState", "enter", "idle"}));
    EXPECT_TRUE(Idle());
    EXPECT_EQ(TTrackedParam::Alive(), 0);
}

TEST_F(CADPrg, AStateThatNamesTheDefaultClassOnEntryEndsTheOperationAtOnce)
{
    Start(TCADStateClass::Of<TOneShotState>(), std::make_unique<TTrackedParam>());
    EXPECT_EQ(Log(), (Lines{"start TOneShotState", "one shot", "enter", "end TOneShotState", "start TCADIdleState",
                            "enter", "idle"}));
    EXPECT_TRUE(Idle());
    EXPECT_EQ(TTrackedParam::Alive(), 0);
}

TEST_F(CADPrg, StartingWhileAnOperationRunsStopsItFirst)
{
    Start(Recording, std::make_unique<TTrackedParam>());
    Start(Recording);
    EXPECT_EQ(Log(), (Lines{"cancel recording", "free recording", "start TCADIdleState", "enter", "idle",
                            "stop, now TCADIdleState", "start TRecordingState", "create recording",
                            "prompt Pick a point", "enter"}));
    EXPECT_EQ(TTrackedParam::Alive(), 0);
    Log().clear();
    Engine->StopOperation();
    EXPECT_EQ(Log().front(), "cancel recording");
    EXPECT_EQ(Log().back(), "stop, now TCADIdleState");
    EXPECT_TRUE(Idle());
}

TEST_F(CADPrg, SuspendingIsRefusedWhenNestedOrNotAllowedAndStartsWhenIdle)
{
    const TCADStateClass zoom = TCADStateClass::Of<TZoomLikeState>();
    Log().clear();
    EXPECT_FALSE(Engine->SuspendOperation(zoom)) << "nothing running: just started";
    EXPECT_EQ(Engine->CurrentOperation(), zoom);
    EXPECT_FALSE(Engine->SuspendOperation(Recording)) << "a zoom cannot be suspended";
    EXPECT_EQ(Engine->CurrentOperation(), zoom);

    Start(Recording);
    EXPECT_TRUE(Engine->SuspendOperation(zoom));
    EXPECT_TRUE(Engine->IsSuspended());
    EXPECT_FALSE(Engine->SuspendOperation(zoom)) << "already nested";
    EXPECT_FALSE(Engine->StartOperation(Recording)) << "no start while nested";
    Engine->StopOperation(); // ends the nested one
    EXPECT_FALSE(Engine->IsSuspended());
    EXPECT_NE(dynamic_cast<TRecordingState*>(Engine->CurrentState()), nullptr);
}

// A zoom window inside a command: it zooms, returns to the same command state
// with its prompt, never runs the command's after-state, and leaves the
// command's parameter alone.
TEST_F(CADPrg, ANestedZoomReturnsToTheSuspendedCommand)
{
    Start(Recording, std::make_unique<TTrackedParam>(After, 42));
    TCADState* outer = Engine->CurrentState();
    const TTrackedParam* param = static_cast<TTrackedParam*>(outer->Param());

    Log().clear();
    ASSERT_TRUE(Engine->SuspendOperation(TCADStateClass::Of<TZoomLikeState>()));
    EXPECT_EQ(Log(), (Lines{"create zoom", "enter"})) << "the zoom borrows no parameter";
    EXPECT_EQ(Engine->CurrentOperation(), Recording) << "the operation is still the command's";

    View->DispatchMouseDown(TMouseButton::Left, ssLeft, 20, 80);
    View->DispatchMouseUp(TMouseButton::Left, 0, 20, 80);
    Log().clear();
    View->DispatchMouseDown(TMouseButton::Left, ssLeft, 60, 40);
    EXPECT_EQ(Log(), (Lines{"exit", "end TRecordingState", "free zoom", "prompt Pick a point",
                            Describe(TCADPrgEvent::ViewRepainted, 0, 0, 0), "resume after TZoomLikeState"}));
    EXPECT_EQ(Engine->CurrentState(), outer);
    EXPECT_EQ(outer->Param(), param);
    EXPECT_EQ(param->Value, 42);
    EXPECT_FALSE(Engine->IsSuspended());
    EXPECT_TRUE(Engine->IsBusy());
    EXPECT_NEAR(View->VisualRect().FirstEdge.X, 20.5f, 1e-3);
    EXPECT_NEAR(View->VisualRect().SecondEdge.X, 60.5f, 1e-3);

    // A zoom to a single point changes nothing and still returns.
    const TRect2D before = View->VisualRect();
    ASSERT_TRUE(Engine->SuspendOperation(TCADStateClass::Of<TZoomLikeState>()));
    View->DispatchMouseDown(TMouseButton::Left, ssLeft, 30, 30);
    View->DispatchMouseDown(TMouseButton::Left, ssLeft, 30, 30);
    EXPECT_EQ(Engine->CurrentState(), outer);
    EXPECT_FLOAT_EQ(View->VisualRect().FirstEdge.X, before.FirstEdge.X);

    // The command's own end still runs its after-state, with its parameter.
    Log().clear();
    Engine->SendUserEvent(CADPRG_ACCEPT);
    EXPECT_EQ(Log()[3], "after state with 42");
    EXPECT_TRUE(Idle());
}

TEST_F(CADPrg, ANestedOperationEndingOnEntryResumesWithoutAnEndEvent)
{
    Start(Recording, std::make_unique<TTrackedParam>(After, 1));
    TCADState* outer = Engine->CurrentState();
    Log().clear();
    EXPECT_TRUE(Engine->SuspendOperation(TCADStateClass::Of<TOneShotState>(), std::make_unique<TTrackedParam>()));
    EXPECT_EQ(Log(), (Lines{"one shot", "enter", "prompt Pick a point", Describe(TCADPrgEvent::ViewRepainted, 0, 0, 0),
                            "resume after TOneShotState"}));
    EXPECT_EQ(Engine->CurrentState(), outer);
    EXPECT_EQ(TTrackedParam::Alive(), 1) << "the nested parameter is freed, the command's kept";
}

TEST_F(CADPrg, AFailingStateIsCancelledAndTheFailureGoesNoFurther)
{
    // A constructor refusing its parameter.
    Start(TCADStateClass::Of<TPickyState>(), std::make_unique<TCAD2DCommonParam>());
    EXPECT_TRUE(Idle());
    Start(TCADStateClass::Of<TPickyState>(), std::make_unique<TTrackedParam>());
    EXPECT_EQ(Log().back(), "enter");
    EXPECT_TRUE(Engine->IsBusy());

    // An event handler failing.
    Start(TCADStateClass::Of<TFailingState>(), std::make_unique<TTrackedParam>());
    Log().clear();
    EXPECT_NO_THROW(View->DispatchMouseDown(TMouseButton::Left, ssLeft, 5, 5));
    EXPECT_EQ(Log(), (Lines{"cancel failing", "start TCADIdleState", "enter", "idle"}));
    EXPECT_TRUE(Idle());
    EXPECT_EQ(TTrackedParam::Alive(), 0);

    // Failing inside a nested operation returns to the command.
    Start(Recording, std::make_unique<TTrackedParam>(After, 3));
    TCADState* outer = Engine->CurrentState();
    EXPECT_TRUE(Engine->SuspendOperation(TCADStateClass::Of<TPickyState>()));
    EXPECT_EQ(Engine->CurrentState(), outer);
    EXPECT_FALSE(Engine->IsSuspended());
    EXPECT_TRUE(Engine->SuspendOperation(TCADStateClass::Of<TFailingState>()));
    Engine->SendEvent(TCADPrgEvent::MouseDown, 0, 0, ssLeft);
    EXPECT_EQ(Engine->CurrentState(), outer);
    EXPECT_EQ(static_cast<TTrackedParam*>(outer->Param())->Value, 3);

    // A failing next state, entered from an event.
    Engine->StopOperation();
    auto param = std::make_unique<TTrackedParam>(TCADStateClass::Of<TPickyState>());
    Start(Recording, std::make_unique<TCAD2DCommonParam>(TCADStateClass::Of<TPickyState>()));
    Engine->SendUserEvent(CADPRG_ACCEPT);
    EXPECT_TRUE(Idle());
}

namespace {

// Refreshes the view from inside its own event handler; the refresh sends
// "repainted", on which this state leaves. It must still be alive when its
// handler goes on.
class TReentrantState : public TCADState {
public:
    static constexpr const char* ClassName = "TReentrantState";
    TReentrantState(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& next)
        : TCADState(engine, std::move(param), next)
    {
    }
    bool ProcessEvent(TCADPrgEvent kind, int, TShiftState, int, TCADStateClass& next) override
    {
        if (kind == TCADPrgEvent::ViewRepainted) {
            next = Engine().DefaultState();
            return true;
        }
        if (kind != TCADPrgEvent::MouseDown)
            return false;
        static_cast<TCADPrg2D&>(Engine()).Viewport2D()->InvalidateView();
        Handled = true;
        next = TCADStateClass::Of<TRecordingState>();
        return true;
    }
    bool Handled = false;
};

} // namespace

TEST_F(CADPrg, AStateEndedFromWithinItsOwnHandlerIsFreedOnlyAfterIt)
{
    Start(TCADStateClass::Of<TReentrantState>(), std::make_unique<TTrackedParam>());
    View->DispatchMouseDown(TMouseButton::Left, ssLeft, 5, 5);
    EXPECT_TRUE(Idle()) << "the inner end stands; the outer request is void";
    EXPECT_EQ(TTrackedParam::Alive(), 0);
}

TEST_F(CADPrg, TheEndOfAnOperationWipesItsRubberOrRepaints)
{
    Drawing.AddObject(-1, std::make_unique<TFrame2D>(0, MakePoint2D(10, 10), MakePoint2D(50, 50)));
    View->Repaint();
    Start(Recording);
    TFrame2D rubber(0, MakePoint2D(20, 20), MakePoint2D(80, 30));
    View->DrawObject2DWithRubber(rubber, false);
    EXPECT_FALSE(SamePixels(View->WindowImage(), View->BitmapImage()));
    Engine->SendUserEvent(CADPRG_ACCEPT);
    EXPECT_TRUE(SamePixels(View->WindowImage(), View->BitmapImage()));

    int redraws = 0;
    View->OnBeginRedraw = [&redraws] { ++redraws; };
    Start(Recording);
    Engine->SendUserEvent(CADPRG_ACCEPT);
    EXPECT_EQ(redraws, 0) << "a copy only";
    Start(Recording);
    Engine->RequestFullRepaint();
    Engine->SendUserEvent(CADPRG_ACCEPT);
    EXPECT_EQ(redraws, 1);

    // Without RefreshAfterOperation the rubber stays.
    Engine->RefreshAfterOperation = false;
    Start(Recording);
    View->DrawObject2DWithRubber(rubber, false);
    Engine->SendUserEvent(CADPRG_ACCEPT);
    EXPECT_FALSE(SamePixels(View->WindowImage(), View->BitmapImage()));
}

TEST_F(CADPrg, BlockedEventsAreDroppedUntilTheOperationEnds)
{
    Start(Recording);
    Log().clear();
    Engine->SetEventsBlocked(true);
    View->DispatchMouseDown(TMouseButton::Left, ssLeft, 5, 5);
    EXPECT_TRUE(Log().empty());
    Engine->StopOperation();
    EXPECT_FALSE(Engine->EventsBlocked());
}

TEST_F(CADPrg, AMouseFilterMovesThePointAndThe2DEventFiresOnceWithIt)
{
    Start(Recording);
    int fired = 0;
    TPoint2D seen;
    View->OnMouseDown2D = [&](TMouseButton, TShiftState, float wx, float wy, int, int) {
        ++fired;
        seen = MakePoint2D(wx, wy);
    };
    Engine->MouseButtonFilter = [](TCADPrg2D&, TCADState*, TMouseButton, TPoint2D& p, int, int) {
        p = MakePoint2D(1, 2);
    };
    View->DispatchMouseDown(TMouseButton::Left, ssLeft, 50, 50);
    EXPECT_EQ(fired, 1);
    EXPECT_FLOAT_EQ(seen.X, 1.0f);
    EXPECT_FLOAT_EQ(Engine->GetCurrentPoint().Y, 2.0f);
    Engine->MouseButtonFilter = nullptr;
    View->DispatchMouseDown(TMouseButton::Left, ssLeft, 50, 50);
    EXPECT_EQ(fired, 2);
    EXPECT_FLOAT_EQ(seen.X, 50.5f);
}

TEST_F(CADPrg, TheCursorCrossFollowsThePointerAndLeavesNoTrace)
{
    View->Repaint();
    Engine->SetShowCursorCross(true);
    View->DispatchMouseMove(0, 30, 40);
    const QImage& window = View->WindowImage();
    const QRgb crossColour = imagetest::Rgb(clGray ^ View->BackGroundColor() ^ View->BackGroundColor());
    EXPECT_EQ(window.pixel(5, 40), crossColour);
    EXPECT_EQ(window.pixel(30, 5), crossColour);
    View->DispatchMouseMove(0, 60, 70);
    EXPECT_NE(window.pixel(5, 40), crossColour) << "the old cross is erased";
    EXPECT_EQ(window.pixel(5, 70), crossColour);
    // A refresh of the window draws it again, once.
    View->InvalidateView();
    EXPECT_EQ(View->WindowImage().pixel(5, 70), crossColour);
    Engine->SetShowCursorCross(false);
    EXPECT_TRUE(SamePixels(View->WindowImage(), View->BitmapImage()));
}
