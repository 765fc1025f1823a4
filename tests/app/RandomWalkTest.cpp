// A seeded random walk over the main window, as an impatient user would
// make it, on a drawing that holds every kind of entity. After every step
// the drawing must still be sound. The environment that sets its seeds,
// steps and time is told in RandomWalkSupport.h.

#include <gtest/gtest.h>

#include <string>

#include <QApplication>

#include "EveryEntityDrawing.h"
#include "ProgramTestFolder.h"
#include "RandomWalkSupport.h"
#include "RoadSupport.h"
#include "app/ui/frmMain.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/ui/CADViewport.h"

namespace {

class RandomWalk : public ProgramTestFolder {
protected:
    // Runs one seed; an empty text when every step left the drawing sound.
    std::string RunSeed(unsigned seed, long steps)
    {
        TfrmMain& frm = Start();
        frm.resize(1000, 700);
        frm.show();
        QApplication::processEvents();
        frm.VistaGrafica->Core2D().ZoomWindow(MakeRect2D(0, 0, 100, 100));
        AddEveryEntity(frm.LocalCad());
        frm.LocalCad().RepaintViewports();
        TWalk walk(frm, seed);
        return WalkSteps(
            seed, steps, [&walk] { return walk.Step(); },
            [&frm] {
                // A walk that emptied the drawing gets every entity again.
                if (frm.LocalCad().ObjectsCount() < 3)
                    AddEveryEntity(frm.LocalCad());
                return DrawingProblems(frm.LocalCad());
            });
    }
};

} // namespace

TEST_F(RandomWalk, EveryStepLeavesTheDrawingSound)
{
    const TWalkDialogCloser closer;
    RunWalkSeeds([this](unsigned seed, long steps) { return RunSeed(seed, steps); }, [this] { Stop(); });
}
