#pragma once

// The undelete stack lives with the commands that use it.
#include "edit/entities/DeletedEntities.h"
