#pragma once

// The states a command's selection hands over to, found by the name the
// command table gives them (TCommandRow::Shape). The main window's shell
// starts a selection task with one of these as its after-state; a command
// whose state is not listed here cannot be started yet.

#include <string_view>

#include "cad/engine/CADState.h"

// None for a name that no command state carries.
TCADStateClass CommandStateClass(std::string_view name);
