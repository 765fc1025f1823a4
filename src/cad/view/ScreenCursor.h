#pragma once

// The program-wide mouse cursor, chosen by slot. The engine only names slots;
// the window layer turns them into real cursors (and tests read the slot).

#include <functional>

// 0 is the default arrow; 1 to 6 are the program's own cursors.
inline constexpr int crDefault = 0;
inline constexpr int crPan = 1;          // "PAN"
inline constexpr int crNoSnap = 2;       // "CROCE"
inline constexpr int crEndPoint = 3;     // "CROPF"
inline constexpr int crMidPoint = 4;     // "CROMP"
inline constexpr int crCentre = 5;       // "CROCT"
inline constexpr int crPoint = 6;        // "CROPT"

int ScreenCursor();
void SetScreenCursor(int slot);

using TScreenCursorSink = std::function<void(int slot)>;
// Installs what shows a newly chosen slot and gives back the one it replaces.
TScreenCursorSink SetScreenCursorSink(TScreenCursorSink sink);
