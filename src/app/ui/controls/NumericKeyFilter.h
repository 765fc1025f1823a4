#pragma once

// Numeric fields refuse the keys their filter does not take, as they are
// typed. A refused Esc or Enter still travels on to the window and its
// dialogs' buttons, it only never reaches the field itself.

#include <optional>

#include "app/NumericText.h"

class QKeyEvent;
class QWidget;

// The character a key press types, as the key filters and the window's key
// handler see it: Esc, Enter (both Return keys) and Backspace as their
// control characters, and the typed ASCII character; a character outside
// ASCII reads as kKeyRefused. None for keys that type nothing (arrows,
// Delete, Tab, and anything with Ctrl, Alt or Meta held), which pass freely.
std::optional<char> KeyCharacter(const QKeyEvent& event);

// Filters the keys typed into the field through the filter from now on.
void InstallKeyFilter(QWidget& field, TKeyFilter filter);
