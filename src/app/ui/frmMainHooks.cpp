// Calls of the main window into parts of the program that are not built
// yet. Each does nothing until its part takes it over.

#include "app/ui/frmMain.h"

// The command framework repeats the command of CommandCode.
void TfrmMain::RepeatLastCommand() {}

// The pan command's state.
bool TfrmMain::PanCommandActive() const
{
    return false;
}

// The Z-depth window and the 3D mode of the view.
void TfrmMain::CloseZDepth() {}
void TfrmMain::ShowZDepth() {}
void TfrmMain::ZDepthMode3D(bool /*on*/) {}

// The Z fields of the contour and drill pages.
void TfrmMain::txtConZRapidClick() {}
void TfrmMain::txtDriZRapidClick() {}

// The grid dialog.
void TfrmMain::ShowGridDialog() {}
