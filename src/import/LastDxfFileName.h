#pragma once

// The full name of the last DXF drawing opened, or of the last drawing
// saved: the Open command sets it, the save command proposes it.

#include <string>

extern std::string LastDxfFileName;
