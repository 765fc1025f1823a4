#pragma once

// File names the file commands remember between uses: the Open command sets
// them, the Save command proposes them.

#include <string>

// The full name of the last DXF drawing opened, or of the last drawing saved.
extern std::string LastDxfFileName;
// The name the open dialog last returned.
extern std::string OpenDialogFileName;
