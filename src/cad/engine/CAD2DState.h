#pragma once

// What the stock 2D states share: the engine and view they work on, the raw
// and snapped points, the prompt by message number, and the two ways out:
// finishing (on to the parameter's after-state, or ending the operation) and
// cancelling. A state's parameter of the wrong class is refused in its
// constructor with the state's own text.

#include <memory>

#include "cad/base/CADExceptions.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/engine/CADState.h"

class TCAD2DState : public TCADState {
public:
    TCAD2DState(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);

protected:
    TCADPrg2D& Prg2D() const { return *Engine2D; }
    TCADViewport2DCore& View() const { return *Engine2D->Viewport2D(); }
    // The engine's current point as the pointer left it.
    TPoint2D RawPoint() const { return Engine2D->GetCurrentPoint(); }
    // The current point through grid and object snap.
    TPoint2D SnappedPoint() const;
    void SetPrompt(int message);

    // On to the parameter's after-state when it names one (the parameter
    // travels on); otherwise the parameter is freed and the operation ends.
    void Finish(TCADStateClass& nextState);
    // Frees the parameter and ends the operation; returns true (leave).
    bool Cancel(TCADStateClass& nextState);
    // On to the after-state (or the end) with the view repainted in full; returns true (leave).
    bool AcceptWithFullRepaint(TCADStateClass& nextState);
    // The after-state the parameter names, or the default class.
    TCADStateClass AfterStateOrDefault() const;

    // The parameter as the class the state needs, or the refusal with the text.
    template <class TParam>
    TParam& RequireParam(const char* invalidText) const
    {
        auto* param = dynamic_cast<TParam*>(Param());
        if (!param)
            throw ECADCoreException(invalidText);
        return *param;
    }

    static bool IsLeft(int button) { return button == CADPRG_LEFT; }
    static bool IsUser(TCADPrgEvent kind, int key, int code) { return kind == TCADPrgEvent::UserEvent && key == code; }

private:
    TCADPrg2D* Engine2D;
};

// Blocks the engine's events while a state works on the view or the drawing,
// so that no nested event reaches it; unblocks even on failure.
class TBlockedEvents {
public:
    explicit TBlockedEvents(TCADPrg& engine) : Engine(engine), Was(engine.EventsBlocked())
    {
        Engine.SetEventsBlocked(true);
    }
    ~TBlockedEvents() { Engine.SetEventsBlocked(Was); }
    TBlockedEvents(const TBlockedEvents&) = delete;
    TBlockedEvents& operator=(const TBlockedEvents&) = delete;

private:
    TCADPrg& Engine;
    bool Was;
};
