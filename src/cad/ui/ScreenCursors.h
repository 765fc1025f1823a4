#pragma once

// The program's own cursors ("PAN", "CROCE", "CROPF", "CROMP", "CROCT",
// "CROPT"), drawn here, and the link that shows the engine's cursor slot.

#include <QCursor>

// The cursor of a slot (ScreenCursor.h); the default arrow for slot 0 and unknown slots.
QCursor MakeScreenCursor(int slot);
// From now on a chosen slot becomes the application's cursor.
void InstallScreenCursors();
