#pragma once

// The drawing and editing commands as data: what each code shows, records,
// sets and starts, and which handler repeats it. The main window reads its
// split buttons, recently-used entries and tasks from this one table.

#include <cstdint>
#include <span>

// What a starter puts on the task runner.
enum class TCommandTask {
    None,          // acts at once, or the page's buttons act
    DrawSized,     // a sized primitive drawn by its corner points
    DrawUnsized,   // a polyline or spline of any number of points
    DrawArco,      // an arc by centre, point and angles
    DrawArcP,      // an elliptic arc
    Position,      // an object placed at a picked point
    SelectOne,     // one pick, then the after-state
    SelectTwo,     // two picks, then the after-state
    MultiSelect,   // window or pick selection, then the after-state
    WindowSelect,  // window selection switched on first, then as MultiSelect
    SelectPoints,  // two points picked in turn
    TangentArc,    // one or two picks by the page's choice
    SuspendPan,    // runs on top of the running task
    SuspendZoom,
};

// How the starter treats the option pages.
inline constexpr int PAGE_NONE = 999;       // hide all pages
inline constexpr int PAGE_UNCHANGED = -1;   // leave them as they are

inline constexpr int SNAP_UNCHANGED = -1;

struct TCommandRow {
    std::int32_t Code;
    const char* Starter;
    const char* MenuHandler;   // re-binds the linked button first; nullptr: none
    const char* LinkedButton;  // nullptr: none
    int Page;                  // page index, PAGE_NONE or PAGE_UNCHANGED
    int Key;                   // glyph index; -1: none
    int Hint;                  // language message; 0: the hint of HintOf
    const char* HintOf;        // the control whose hint is used when Hint is 0
    int Snap;                  // ObjectSnapActive, or SNAP_UNCHANGED
    TCommandTask Task;
    const char* Shape;         // the primitive drawn or placed, the after-state of a selection
    int SelectionMode;         // for TMySelezione; 0: not set
    const char* Repeat;        // the handler that repeats it; nullptr: never repeated
};

std::span<const TCommandRow> CommandTable();
// The row of a code; nullptr for 12 and unknown codes.
const TCommandRow* FindCommand(std::int32_t code);
