#include "cad/engine/EngineGlobals.h"

std::int32_t SnapMode = SNAP_OFF;
bool ObjectSnapActive = false;
// A new program keeps the originals of a transform.
bool TransformCopyMode = true;
std::int32_t TransformRepeat = 1;
