#pragma once

// The pieces an interactive operation is made of: states, the references to
// state classes that chain them, and the parameter that travels from state to
// state. A state's constructor is its entry action; it may do all its work
// there and name the next state class, so that the engine moves on at once.

#include <cstdint>
#include <memory>
#include <string>

#include "cad/view/CADInputTypes.h"

class TCADPrg;
class TCADState;
class TCADPrgParam;

// Engine event kinds.
enum class TCADPrgEvent : std::uint8_t {
    MouseMove = 0,
    MouseDown = 1,
    MouseUp = 2,
    DblClick = 3,
    KeyDown = 4,
    KeyUp = 5,
    ViewRepainted = 6,
    UserEvent = 7,
};

// Mouse buttons as states see them.
inline constexpr int CADPRG_NO_BUTTON = 0;
inline constexpr int CADPRG_LEFT = 1;
inline constexpr int CADPRG_RIGHT = 2;
inline constexpr int CADPRG_MIDDLE = 3;

// User event codes from the option pages and keys.
inline constexpr int CADPRG_ACCEPT = 1;
inline constexpr int CADPRG_CANCEL = 2;
inline constexpr int CADPRG_CLOSE_FIGURE = 3;
inline constexpr int CADPRG_APPLY_ANGLE = 4;
inline constexpr int CADPRG_APPLY_SCALE = 5;
inline constexpr int CADPRG_APPLY_MOVE = 6;

// A reference to a state class: its name and how to make one. The empty
// reference ("none") names no class.
class TCADStateClass {
public:
    using TFactory = std::unique_ptr<TCADState> (*)(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                                   TCADStateClass& nextState);

    constexpr TCADStateClass() = default;
    constexpr TCADStateClass(const char* name, TFactory factory) : NameValue(name), Factory(factory) {}

    // The class T; T declares `static constexpr const char* ClassName`.
    template <class T>
    static TCADStateClass Of();

    explicit operator bool() const { return Factory != nullptr; }
    const char* Name() const { return NameValue; }
    std::unique_ptr<TCADState> Create(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                      TCADStateClass& nextState) const
    {
        return Factory(engine, std::move(param), nextState);
    }
    friend bool operator==(const TCADStateClass& a, const TCADStateClass& b) { return a.Factory == b.Factory; }

private:
    const char* NameValue = "";
    TFactory Factory = nullptr;
};

// What travels from state to state. The state holding it owns it; the engine
// frees it with the last state of the operation.
class TCADPrgParam {
public:
    explicit TCADPrgParam(TCADStateClass afterState = {}) : AfterState(afterState) {}
    virtual ~TCADPrgParam() = default;
    TCADPrgParam(const TCADPrgParam&) = delete;
    TCADPrgParam& operator=(const TCADPrgParam&) = delete;

    // Where the chain goes once the state's own work is done; may be none.
    TCADStateClass AfterState;
};

// The base of every 2D parameter.
class TCAD2DCommonParam : public TCADPrgParam {
public:
    using TCADPrgParam::TCADPrgParam;
};

class TCADState {
public:
    // Stores engine and parameter, can be suspended, no description, next := none.
    TCADState(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
    virtual ~TCADState() = default;
    TCADState(const TCADState&) = delete;
    TCADState& operator=(const TCADState&) = delete;

    // True leaves the state for nextState (none or the default class ends the operation).
    virtual bool ProcessEvent(TCADPrgEvent kind, int button, TShiftState shift, int key, TCADStateClass& nextState);
    // Frees the parameter.
    virtual void CancelState();
    // A nested operation of that class ended and this state runs again.
    virtual void ResumeState(const TCADStateClass& nestedOperation);

    // Stores the prompt and tells the engine (OnDescriptionChanged).
    void SetDescription(const std::string& text);
    const std::string& Description() const { return DescriptionValue; }
    bool CanBeSuspended() const { return CanBeSuspendedValue; }
    void SetCanBeSuspended(bool value) { CanBeSuspendedValue = value; }

    TCADPrg& Engine() const { return EngineRef; }
    TCADPrgParam* Param() const { return ParamValue.get(); }
    // Hands the parameter on (to the next state); the state keeps none.
    std::unique_ptr<TCADPrgParam> TakeParam() { return std::move(ParamValue); }
    // A state that wraps or unwraps its parameter holds the new one from now on.
    void ReplaceParam(std::unique_ptr<TCADPrgParam> param) { ParamValue = std::move(param); }

private:
    TCADPrg& EngineRef;
    std::unique_ptr<TCADPrgParam> ParamValue;
    bool CanBeSuspendedValue = true;
    std::string DescriptionValue;
};

// The engine's state while no operation runs.
class TCADIdleState : public TCADState {
public:
    static constexpr const char* ClassName = "TCADIdleState";

    // Refuses a parameter: someone failed to free one.
    TCADIdleState(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
};

// One factory per state class, so the reference compares equal wherever it is made.
template <class T>
std::unique_ptr<TCADState> CreateCADState(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                          TCADStateClass& nextState)
{
    return std::make_unique<T>(engine, std::move(param), nextState);
}

template <class T>
TCADStateClass TCADStateClass::Of()
{
    return TCADStateClass(T::ClassName, &CreateCADState<T>);
}
