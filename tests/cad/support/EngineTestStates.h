#pragma once

// Small states for the engine tests. Every state writes what happens to it
// into one shared log, so a test can compare the whole order of events.

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "cad/base/CADExceptions.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/geometry/Geometry2D.h"

namespace enginetest {

inline std::vector<std::string>& Log()
{
    static std::vector<std::string> log;
    return log;
}

inline std::string Describe(TCADPrgEvent kind, int button, TShiftState shift, int key)
{
    return "event " + std::to_string(static_cast<int>(kind)) + " button " + std::to_string(button) + " key " +
           std::to_string(key) + " shift " + std::to_string(shift);
}

// Counts how many are alive, so tests see leaks and double frees.
class TTrackedParam : public TCAD2DCommonParam {
public:
    explicit TTrackedParam(TCADStateClass afterState = {}, int value = 0)
        : TCAD2DCommonParam(afterState), Value(value)
    {
        ++Alive();
    }
    ~TTrackedParam() override
    {
        --Alive();
        Value = -1;
    }
    static int& Alive()
    {
        static int alive = 0;
        return alive;
    }
    int Value;
};

// Logs every event; accept leaves for the parameter's after-state.
class TRecordingState : public TCADState {
public:
    static constexpr const char* ClassName = "TRecordingState";
    TRecordingState(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& next)
        : TCADState(engine, std::move(param), next)
    {
        Log().push_back("create recording");
        SetDescription("Pick a point");
    }
    ~TRecordingState() override { Log().push_back("free recording"); }
    bool ProcessEvent(TCADPrgEvent kind, int button, TShiftState shift, int key, TCADStateClass& next) override
    {
        Log().push_back(Describe(kind, button, shift, key));
        if (kind == TCADPrgEvent::UserEvent && key == CADPRG_ACCEPT) {
            next = Param() ? Param()->AfterState : TCADStateClass();
            return true;
        }
        if (kind == TCADPrgEvent::UserEvent && key == CADPRG_CANCEL) {
            CancelState();
            next = Engine().DefaultState();
            return true;
        }
        return false;
    }
    void CancelState() override
    {
        Log().push_back("cancel recording");
        TCADState::CancelState();
    }
    void ResumeState(const TCADStateClass& nested) override
    {
        Log().push_back(std::string("resume after ") + nested.Name());
        Resumes++;
    }
    int Resumes = 0;
};

// Its constructor moves on to the recording state at once.
class TEntryState : public TCADState {
public:
    static constexpr const char* ClassName = "TEntryState";
    TEntryState(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& next)
        : TCADState(engine, std::move(param), next)
    {
        Log().push_back("create entry");
        next = TCADStateClass::Of<TRecordingState>();
    }
    ~TEntryState() override { Log().push_back("free entry"); }
};

// Does its work on entry and names the default class: the operation ends at once.
class TOneShotState : public TCADState {
public:
    static constexpr const char* ClassName = "TOneShotState";
    TOneShotState(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& next)
        : TCADState(engine, std::move(param), next)
    {
        Log().push_back("one shot");
        next = engine.DefaultState();
    }
};

// Wants a TTrackedParam, as the real states check their parameter's class.
class TPickyState : public TCADState {
public:
    static constexpr const char* ClassName = "TPickyState";
    TPickyState(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& next)
        : TCADState(engine, std::move(param), next)
    {
        if (!dynamic_cast<TTrackedParam*>(Param()))
            throw ECADCoreException("TPickyState: Invalid param");
        Log().push_back("create picky");
    }
};

// Fails when it sees a mouse down.
class TFailingState : public TCADState {
public:
    static constexpr const char* ClassName = "TFailingState";
    TFailingState(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& next)
        : TCADState(engine, std::move(param), next)
    {
    }
    bool ProcessEvent(TCADPrgEvent kind, int, TShiftState, int, TCADStateClass&) override
    {
        if (kind == TCADPrgEvent::MouseDown)
            throw std::runtime_error("broken state");
        return false;
    }
    void CancelState() override
    {
        Log().push_back("cancel failing");
        TCADState::CancelState();
    }
};

// A zoom window in one state: the first click fixes a corner, the second
// zooms to the rectangle; it cannot be suspended. Like the stock zoom it
// goes on to its parameter's after-state when it has one.
class TZoomLikeState : public TCADState {
public:
    static constexpr const char* ClassName = "TZoomLikeState";
    TZoomLikeState(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& next)
        : TCADState(engine, std::move(param), next)
    {
        SetCanBeSuspended(false);
        Log().push_back(Param() ? "create zoom with a parameter" : "create zoom");
    }
    ~TZoomLikeState() override { Log().push_back("free zoom"); }
    bool ProcessEvent(TCADPrgEvent kind, int button, TShiftState, int, TCADStateClass& next) override
    {
        if (kind == TCADPrgEvent::UserEvent) {
            next = Engine().DefaultState();
            return true;
        }
        if (kind != TCADPrgEvent::MouseDown || button != CADPRG_LEFT)
            return false;
        auto& engine = static_cast<TCADPrg2D&>(Engine());
        if (!HasCorner) {
            Corner = engine.GetCurrentPoint();
            HasCorner = true;
            return false;
        }
        const TPoint2D other = engine.GetCurrentPoint();
        if (!SamePoint2D(Corner, other))
            engine.Viewport2D()->ZoomWindow({Corner, other});
        next = Param() && Param()->AfterState ? Param()->AfterState : Engine().DefaultState();
        return true;
    }
    TPoint2D Corner;
    bool HasCorner = false;
};

// Stands for a command's own work after a selection.
class TAfterState : public TCADState {
public:
    static constexpr const char* ClassName = "TAfterState";
    TAfterState(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& next)
        : TCADState(engine, std::move(param), next)
    {
        const auto* tracked = dynamic_cast<TTrackedParam*>(Param());
        Log().push_back("after state with " + std::to_string(tracked ? tracked->Value : -2));
        next = engine.DefaultState();
    }
};

} // namespace enginetest
