#include "cad/EngineGlobals.h"

std::int32_t SnapMode = SNAP_OFF;
bool ObjectSnapActive = false;
