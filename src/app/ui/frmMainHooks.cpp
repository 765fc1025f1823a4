// Calls of the main window, its start-up, shutdown and language change into
// parts of the program that are not built yet. Each does nothing until its
// part takes it over.

#include "app/ui/frmMain.h"

// The Z-depth window.
void TfrmMain::CloseZDepth() {}
void TfrmMain::ShowZDepth() {}
