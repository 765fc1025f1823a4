#pragma once

// The option pages of the fillet, extend, tangent line and tangent arc
// commands, and the boxes the editing commands show.

class TfrmMain;

// Fills pages 16, 18, 31 and 32 and keeps the editing settings current with
// what is typed into them.
void CreateEditPages(TfrmMain& form);
