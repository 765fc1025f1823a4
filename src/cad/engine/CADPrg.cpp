#include "cad/engine/CADPrg.h"

#include <algorithm>

class TCADPrg::TDispatchGuard {
public:
    explicit TDispatchGuard(TCADPrg& engine) : Engine(engine) { ++Engine.DispatchDepth; }
    ~TDispatchGuard()
    {
        if (--Engine.DispatchDepth == 0)
            Engine.Retired.clear();
    }
    TDispatchGuard(const TDispatchGuard&) = delete;
    TDispatchGuard& operator=(const TDispatchGuard&) = delete;

private:
    TCADPrg& Engine;
};

int ButtonFromShift(TShiftState shift)
{
    if (shift & ssLeft)
        return CADPRG_LEFT;
    if (shift & ssRight)
        return CADPRG_RIGHT;
    if (shift & ssMiddle)
        return CADPRG_MIDDLE;
    return CADPRG_NO_BUTTON;
}

TCADPrg::TCADPrg() : DefaultClass(TCADStateClass::Of<TCADIdleState>())
{
    CreateDefaultState();
}

TCADPrg::~TCADPrg()
{
    // The derived engine is gone: its cross cannot be touched any more.
    Shutdown(false);
}

void TCADPrg::Shutdown(bool hideCross)
{
    for (std::unique_ptr<TCADState>* state : {&Current, &SuspendedState}) {
        if (!*state)
            continue;
        try {
            (*state)->CancelState();
        } catch (...) {
            // Going away: the state is freed all the same.
        }
        state->reset();
    }
    Retired.clear();
    if (ViewportValue && hideCross)
        HideCross();
    UnhookViewport(true);
}

void TCADPrg::Retire(std::unique_ptr<TCADState> state)
{
    if (state && std::find(Handling.begin(), Handling.end(), state.get()) != Handling.end())
        Retired.push_back(std::move(state));
}

void TCADPrg::CreateDefaultState()
{
    TCADStateClass next;
    try {
        Current = DefaultClass.Create(*this, nullptr, next);
    } catch (...) {
        // A default class that cannot start: the idle state stands in.
        Current = TCADStateClass::Of<TCADIdleState>().Create(*this, nullptr, next);
    }
}

void TCADPrg::SetCursorColor(TColor color)
{
    if (color == CursorColorValue)
        return;
    HideCross();
    CursorColorValue = color;
    ShowCross();
}

void TCADPrg::SetShowCursorCross(bool show)
{
    if (show == ShowCursorCrossValue)
        return;
    if (!show)
        HideCross();
    ShowCursorCrossValue = show;
}

void TCADPrg::ShowCross()
{
    if (ShowCursorCrossValue)
        DrawCursorCross();
}

void TCADPrg::HideCross()
{
    if (ShowCursorCrossValue)
        HideCursorCross();
}

void TCADPrg::DescriptionChanged(TCADState& state)
{
    if (OnDescriptionChanged)
        OnDescriptionChanged(state);
}

bool TCADPrg::StartOperation(TCADStateClass stateClass, std::unique_ptr<TCADPrgParam> param)
{
    if (!ViewportValue)
        return false;
    TDispatchGuard guard(*this);
    ViewportValue->WaitForRepaint();
    if (Suspended)
        return false;
    StopOperation();
    Busy = !(stateClass == DefaultClass);
    Operation = stateClass;
    if (OnStartOperation)
        OnStartOperation(*this, stateClass, param.get());
    RunChain(stateClass, std::move(param), false);
    return true;
}

void TCADPrg::RunChain(const TCADStateClass& first, std::unique_ptr<TCADPrgParam> param, bool nested)
{
    TCADStateClass next = first;
    bool canBeSuspended = true;
    bool firstStep = true;
    try {
        while (true) {
            if (!(first == DefaultClass) && next == DefaultClass) {
                // Inside a nested start-up the outer operation goes on: no end is announced.
                if (!nested)
                    AnnounceEnd();
                EndOperation();
                return;
            }
            std::unique_ptr<TCADPrgParam> carried =
                firstStep || !Current ? std::move(param) : Current->TakeParam();
            firstStep = false;
            const TCADStateClass stateClass = next;
            next = EnterState(stateClass, std::move(carried));
            if (stateClass == first)
                canBeSuspended = Current->CanBeSuspended();
            else
                Current->SetCanBeSuspended(canBeSuspended);
            if (OnEnterState)
                OnEnterState(*this, *Current);
            if (!next)
                return;
        }
    } catch (...) {
        FailureCleanup();
    }
}

TCADStateClass TCADPrg::EnterState(const TCADStateClass& stateClass, std::unique_ptr<TCADPrgParam> param)
{
    Retire(std::move(Current));
    TCADStateClass next;
    Current = stateClass.Create(*this, std::move(param), next);
    return next;
}

void TCADPrg::SendEventToState(TCADPrgEvent kind, int button, int key, TShiftState shift)
{
    if (Blocked || !Current)
        return;
    TDispatchGuard guard(*this);
    try {
        TCADStateClass next;
        TCADState* const processing = Current.get();
        Handling.push_back(processing);
        bool leave = false;
        try {
            leave = processing->ProcessEvent(kind, button, shift, key, next);
        } catch (...) {
            Handling.pop_back();
            throw;
        }
        Handling.pop_back();
        // The handler may have ended or replaced the operation through the engine.
        if (!leave || Current.get() != processing)
            return;
        if (OnExitState)
            OnExitState(*this, *Current);
        while (true) {
            if (!next || next == DefaultClass) {
                AnnounceEnd();
                EndOperation();
                return;
            }
            const bool canBeSuspended = Current->CanBeSuspended();
            next = EnterState(next, Current->TakeParam());
            Current->SetCanBeSuspended(canBeSuspended);
            if (OnEnterState)
                OnEnterState(*this, *Current);
            if (!next)
                return;
        }
    } catch (...) {
        FailureCleanup();
    }
}

void TCADPrg::AnnounceEnd()
{
    if (!OnEndOperation)
        return;
    // The ending state may have handed its work on already (a placed object
    // belongs to the drawing): what the hook makes the view do, such as a
    // repaint, is not sent to it.
    const bool blocked = Blocked;
    Blocked = true;
    try {
        OnEndOperation(*this, Operation, Current ? Current->Param() : nullptr);
    } catch (...) {
        Blocked = blocked;
        throw;
    }
    Blocked = blocked;
}

void TCADPrg::EndOperation()
{
    if (Suspended) {
        Retire(std::move(Current));
        Current = std::move(SuspendedState);
        Operation = SuspendedOperation;
        SuspendedOperation = {};
        Suspended = false;
        const TCADStateClass nested = NestedOperation;
        NestedOperation = {};
        // The prompt of the resumed state is shown again.
        if (Current)
            Current->SetDescription(Current->Description());
        HideCross();
        RefreshView();
        ShowCross();
        if (Current)
            Current->ResumeState(nested);
        return;
    }
    Busy = false;
    Retire(std::move(Current));
    HideCross();
    RefreshView();
    ShowCross();
    Blocked = false;
    // Without a view nothing can start: the default state is made directly.
    if (!StartOperation(DefaultClass, nullptr) || !Current) {
        Operation = DefaultClass;
        if (!Current)
            CreateDefaultState();
    }
    if (DefaultClass == TCADStateClass::Of<TCADIdleState>() && OnIdle)
        OnIdle(*this);
}

void TCADPrg::RefreshView()
{
    const bool repaint = RepaintRequested;
    RepaintRequested = false;
    if (!ViewportValue)
        return;
    if (repaint)
        ViewportValue->Repaint();
    else if (RefreshAfterOperation)
        ViewportValue->InvalidateView();
}

void TCADPrg::FailureCleanup()
{
    TDispatchGuard guard(*this);
    Blocked = false;
    try {
        if (Current)
            Current->CancelState();
    } catch (...) {
        // The state is ended below all the same.
    }
    try {
        EndOperation();
    } catch (...) {
        // A failing view refresh must not leave the engine without a state.
    }
    if (!Current)
        CreateDefaultState();
}

void TCADPrg::StopOperation()
{
    if (!Busy || !Current)
        return;
    TDispatchGuard guard(*this);
    try {
        Current->CancelState();
    } catch (...) {
        // Stopping goes on whatever the state says.
    }
    EndOperation();
    if (OnStopOperation)
        OnStopOperation(*this, Operation, nullptr);
}

void TCADPrg::StopAllOperations()
{
    // Stopping a suspending operation resumes the one it suspended; that one
    // is stopped in turn.
    for (int k = 0; k < 2 && Busy; ++k)
        StopOperation();
}

bool TCADPrg::SuspendOperation(TCADStateClass stateClass, std::unique_ptr<TCADPrgParam> param)
{
    if (Suspended || !Current || !Current->CanBeSuspended())
        return false;
    if (!Busy) {
        StartOperation(stateClass, std::move(param));
        return false;
    }
    TDispatchGuard guard(*this);
    if (ViewportValue)
        ViewportValue->WaitForRepaint();
    SuspendedState = std::move(Current);
    SuspendedOperation = Operation;
    Suspended = true;
    NestedOperation = stateClass;
    // The nested operation gets only the parameter it is given. Lending it the
    // suspended command's parameter would let a zoom or pan run that command's
    // after-state and free the parameter the command resumes on.
    RunChain(stateClass, std::move(param), true);
    return true;
}

void TCADPrg::SendUserEvent(int code)
{
    SendEventToState(TCADPrgEvent::UserEvent, CADPRG_NO_BUTTON, code, 0);
}

void TCADPrg::SendEvent(TCADPrgEvent kind, int button, int key, TShiftState shift)
{
    SendEventToState(kind, button + 1, key, shift);
}

bool TCADPrg::HookKeyDown(int key, TShiftState shift)
{
    LastKeyValue = key;
    SendEventToState(TCADPrgEvent::KeyDown, ButtonFromShift(shift), key, shift);
    return true;
}

bool TCADPrg::HookKeyUp(int key, TShiftState shift)
{
    SendEventToState(TCADPrgEvent::KeyUp, ButtonFromShift(shift), key, shift);
    LastKeyValue = 0;
    return true;
}

bool TCADPrg::HookMouseMove(TShiftState shift, int, int)
{
    ShowCross();
    SendEventToState(TCADPrgEvent::MouseMove, ButtonFromShift(shift), LastKeyValue, shift);
    return true;
}

bool TCADPrg::HookMouseDown(int button, TShiftState shift, int, int)
{
    SendEventToState(TCADPrgEvent::MouseDown, button + 1, LastKeyValue, shift);
    return true;
}

bool TCADPrg::HookMouseUp(int button, TShiftState shift, int, int)
{
    SendEventToState(TCADPrgEvent::MouseUp, button + 1, LastKeyValue, shift);
    return true;
}

bool TCADPrg::HookDblClick()
{
    SendEventToState(TCADPrgEvent::DblClick, CADPRG_NO_BUTTON, 0, 0);
    return true;
}

void TCADPrg::ViewRepainted()
{
    HideCross();
    SendEventToState(TCADPrgEvent::ViewRepainted, CADPRG_NO_BUTTON, 0, 0);
    if (PreviousOnPaint)
        PreviousOnPaint();
    ShowCross();
}

void TCADPrg::HookViewport(TCADViewportCore* viewport)
{
    if (viewport == ViewportValue)
        return;
    if (ViewportValue) {
        HideCross();
        UnhookViewport(true);
    }
    if (!viewport)
        return;
    ViewportValue = viewport;
    PreviousOnPaint = std::move(viewport->OnPaint);
    viewport->OnPaint = [this] { ViewRepainted(); };
    viewport->SetHook(this);
    ShowCross();
}

void TCADPrg::UnhookViewport(bool restore)
{
    if (!ViewportValue)
        return;
    if (restore) {
        ViewportValue->OnPaint = std::move(PreviousOnPaint);
        ViewportValue->SetHook(nullptr);
    }
    PreviousOnPaint = nullptr;
    ViewportValue = nullptr;
}

void TCADPrg::HookViewportDestroyed()
{
    UnhookViewport(false);
}
