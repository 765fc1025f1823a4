#pragma once

// Sorts a list of singles ascending and moves the objects of a parallel list
// with their keys (the scene orders what it draws by depth this way).

#include "view3d/lists/VectorLists.h"
#include "view3d/persistence/PersistentObjectList.h"

// Over the items first .. last of both lists; the lists must have one count.
void QuickSortLists(int first, int last, TSingleList& keys, TPersistentObjectList& objects);
