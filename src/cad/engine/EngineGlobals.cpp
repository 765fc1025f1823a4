#include "cad/engine/EngineGlobals.h"

std::int32_t SnapMode = SNAP_OFF;
bool ObjectSnapActive = false;
bool TransformCopyMode = false;
std::int32_t TransformRepeat = 1;
