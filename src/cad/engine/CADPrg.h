#pragma once

// The task runner: it runs interactive operations on a view as chains of
// states, feeds the current state the view's input and user events, moves to
// the state class the current one names, and ends the operation when a state
// names none or the default class. One operation may be suspended while a
// nested one (pan, zoom window) runs. A state that fails never takes the
// engine down: the operation is cancelled and ended, and the failure dropped.

#include <functional>
#include <memory>
#include <vector>

#include "cad/engine/CADState.h"
#include "cad/view/CADViewportCore.h"

class TCADPrg : public TCADViewportHook {
public:
    // Starts idle, in a state of the default class.
    TCADPrg();
    ~TCADPrg() override;
    TCADPrg(const TCADPrg&) = delete;
    TCADPrg& operator=(const TCADPrg&) = delete;

    bool UseSnap = false;
    bool UseOrto = false;
    float XSnap = 0.0f;
    float YSnap = 0.0f;
    // Re-copy the view's bitmap when an operation ends, wiping its rubber drawings.
    bool RefreshAfterOperation = true;
    TColor CursorColor() const { return CursorColorValue; }
    void SetCursorColor(TColor color);
    bool ShowCursorCross() const { return ShowCursorCrossValue; }
    void SetShowCursorCross(bool show);

    using TChangeStateEvent = std::function<void(TCADPrg& sender, TCADState& state)>;
    using TOperationEvent =
        std::function<void(TCADPrg& sender, const TCADStateClass& operation, TCADPrgParam* param)>;
    TChangeStateEvent OnEnterState;
    TChangeStateEvent OnExitState;
    TOperationEvent OnStartOperation;
    TOperationEvent OnEndOperation;
    TOperationEvent OnStopOperation;
    std::function<void(TCADPrg& sender)> OnIdle;
    // The sender is the state whose description changed.
    std::function<void(TCADState& sender)> OnDescriptionChanged;

    // False without a view or while an operation is suspended; a running
    // operation is stopped first.
    bool StartOperation(TCADStateClass stateClass, std::unique_ptr<TCADPrgParam> param = nullptr);
    void StopOperation();
    // Stops the running operation and any operation it suspended.
    void StopAllOperations();
    // Runs the operation nested in the running one, which resumes when it
    // ends. False while already nested or when the running state cannot be
    // suspended; with nothing running the operation just starts (false).
    bool SuspendOperation(TCADStateClass stateClass, std::unique_ptr<TCADPrgParam> param = nullptr);
    void SendUserEvent(int code);
    // button 0 left, 1 right, 2 middle.
    void SendEvent(TCADPrgEvent kind, int button, int key, TShiftState shift);
    // The view is repainted, not only re-copied, when the operation ends.
    void RequestFullRepaint() { RepaintRequested = true; }
    virtual void SendEventToState(TCADPrgEvent kind, int button, int key, TShiftState shift);

    bool IsBusy() const { return Busy; }
    bool IsSuspended() const { return Suspended; }
    TCADState* CurrentState() const { return Current.get(); }
    const TCADStateClass& CurrentOperation() const { return Operation; }
    // A state that takes over a finished selection reports itself as the operation.
    void SetCurrentOperation(const TCADStateClass& operation) { Operation = operation; }
    const TCADStateClass& DefaultState() const { return DefaultClass; }
    // Set by a state while it works on the view itself.
    bool EventsBlocked() const { return Blocked; }
    void SetEventsBlocked(bool blocked) { Blocked = blocked; }
    int LastKey() const { return LastKeyValue; }
    TCADViewportCore* Viewport() const { return ViewportValue; }
    // A state's prompt changed (fires OnDescriptionChanged).
    void DescriptionChanged(TCADState& state);

    virtual TPoint2D GetCurrentPoint() const = 0;
    virtual void SetCurrentPoint(TPoint2D point) = 0;
    virtual void DrawCursorCross() = 0;
    virtual void HideCursorCross() = 0;

    // The view's input.
    bool HookKeyDown(int key, TShiftState shift) override;
    bool HookKeyUp(int key, TShiftState shift) override;
    bool HookMouseMove(TShiftState shift, int x, int y) override;
    bool HookMouseDown(int button, TShiftState shift, int x, int y) override;
    bool HookMouseUp(int button, TShiftState shift, int x, int y) override;
    bool HookDblClick() override;
    void HookViewportDestroyed() override;

protected:
    // Takes over the view's input and its OnPaint (so a handler the view has
    // must be set before); gives back a previous view's.
    void HookViewport(TCADViewportCore* viewport);
    // Cancels and frees the current and any suspended state, then lets the
    // view go. The derived engine calls it while its cross can still be hidden.
    void Shutdown(bool hideCross = true);
    // The view's bitmap was copied to its window (OnPaint).
    void ViewRepainted();

private:
    // A state whose handler re-enters the engine (a view refresh sends
    // "repainted") may be ended from within: it is freed only once no engine
    // call runs any more, never under its own feet. Others are freed at once.
    class TDispatchGuard;
    void Retire(std::unique_ptr<TCADState> state);

    void RunChain(const TCADStateClass& first, std::unique_ptr<TCADPrgParam> param, bool nested);
    // Replaces the current state by a new one of the class; returns the class
    // its constructor asked to move on to (none to stay).
    TCADStateClass EnterState(const TCADStateClass& stateClass, std::unique_ptr<TCADPrgParam> param);
    // Calls the end-of-operation hook with events to the ending state held back.
    void AnnounceEnd();
    void EndOperation();
    void FailureCleanup();
    void RefreshView();
    void CreateDefaultState();
    void UnhookViewport(bool restore);
    void ShowCross();
    void HideCross();

    TCADViewportCore* ViewportValue = nullptr;
    std::function<void()> PreviousOnPaint;
    bool Busy = false;
    bool Suspended = false;
    bool RepaintRequested = false;
    bool Blocked = false;
    int LastKeyValue = 0;
    TColor CursorColorValue = clGray;
    bool ShowCursorCrossValue = false;
    TCADStateClass DefaultClass;
    std::unique_ptr<TCADState> Current;
    std::unique_ptr<TCADState> SuspendedState;
    TCADStateClass Operation;
    TCADStateClass SuspendedOperation;
    TCADStateClass NestedOperation;
    int DispatchDepth = 0;
    std::vector<TCADState*> Handling;
    std::vector<std::unique_ptr<TCADState>> Retired;
};

// The mouse button a move or key event reports: the held one, left first.
int ButtonFromShift(TShiftState shift);
