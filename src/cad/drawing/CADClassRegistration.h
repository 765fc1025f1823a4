#pragma once

// The persistent classes of the drawing engine under their stream codes.

// Registers the container (0), the source block (1) and the block reference
// (2). A code already taken raises the registry's error.
void RegisterBlockClasses();

// The start-up of the engine's classes: the registry is emptied, then all 19
// persistent classes are registered under codes 0-18.
void RegisterCADClasses();
