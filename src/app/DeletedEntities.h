#pragma once

// The undelete stack: the IDs of deleted objects, the last deleted on top.
// Deleted objects stay in the drawing, hidden, so bringing one back only
// needs its ID. The main window creates the stack at start and frees it when
// it closes.

#include <cstdint>
#include <memory>
#include <vector>

struct TDeletedEntityRec {
    std::int32_t ID = 0;
};

// None before start-up and after the main window closed.
extern std::unique_ptr<std::vector<TDeletedEntityRec>> DeletedEntities;
