#pragma once

// Start-up of the shapes: their persistent class codes in the class registry.

// Registers the shape classes under their stream codes (3-13 and 15-18; the
// containers and blocks and the vector text register their own codes) and
// makes the shared control-point handler. The registry is not emptied first,
// so it may follow CADCoreClearRegistry and precede or follow the others;
// a code already taken raises the registry's error.
void RegisterShapeClasses();
