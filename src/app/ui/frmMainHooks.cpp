// Calls of the main window, its start-up, shutdown and language change into
// parts of the program that are not built yet. Each does nothing until its
// part takes it over.

#include "app/ui/frmMain.h"

// The Z-depth window and the 3D mode of the view.
void TfrmMain::CloseZDepth() {}
void TfrmMain::ShowZDepth() {}
void TfrmMain::ZDepthMode3D(bool /*on*/) {}

// The NC job: the depth pass plan of a machining page, and taking back the
// last operation when the user leaves the NC page.
void TfrmMain::ShowPassPlan(int /*page*/) {}
void TfrmMain::OfferUndoLastOperation() {}

// The 3D view takes the 2D view's background colour.
void TfrmMain::SetView3DBackground(TColor /*color*/) {}
