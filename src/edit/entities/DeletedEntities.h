#pragma once

// The program's undelete stack. The main window creates it at start and
// frees it when it closes; the delete and undelete commands work on it.

#include <memory>

#include "edit/entities/SelectionOps.h"

// None before start-up and after the main window closed.
extern std::unique_ptr<TDeletedEntities> DeletedEntities;
