// Calls of the main window's start-up, shutdown and language change into
// parts of the program that are not built yet. Each does nothing until its
// part takes it over.

#include "app/ui/frmMain.h"

// The CNC pages: the cutter-compensation combo applies its side.
void TfrmMain::cboCCDirChange() {}

// The 3D view takes the 2D view's background colour.
void TfrmMain::SetView3DBackground(TColor /*color*/) {}

// The source and black-and-white rasters of the opened image.
void TfrmMain::FreeRasters() {}

// The picked drill points in drilling mode, the chains otherwise.
void TfrmMain::ClearChainsOrDrillPoints() {}

// The split buttons' default commands.
void TfrmMain::MyCircleCtPtClick() {}
void TfrmMain::MyDeleteClick() {}
void TfrmMain::MyFilletClick() {}
void TfrmMain::MyTraslaClick() {}
void TfrmMain::MyInfoClick() {}
