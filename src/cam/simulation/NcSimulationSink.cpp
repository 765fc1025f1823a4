#include "cam/simulation/NcSimulationSink.h"

TNcSimulationSink::TNcSimulationSink(TNcSimulation& sim, float toolRadius, const TPostSettings& post)
    : sim_(sim), toolRadius_(toolRadius), post_(post)
{
}

namespace {

// A Z of the drawing as the program's words give it.
float ProgramZ(double z, const TPostSettings& post)
{
    return static_cast<float>(post.Scaling ? z * post.ZAxis.Scale : z);
}

} // namespace

void TNcSimulationSink::PlaneMove(int motion, const TChainElement& path)
{
    // The program's first point places the tool, as reading it back does:
    // no move is drawn or timed from a place the tool never was. An
    // incremental program starts at its zero.
    if (sim_.FirstMove && post_.IncrementalMode) {
        sim_.PrevX = 0.0f;
        sim_.PrevY = 0.0f;
        sim_.FirstMove = false;
    }
    if (sim_.FirstMove) {
        sim_.PrevX = static_cast<float>(path.X2);
        sim_.PrevY = static_cast<float>(path.Y2);
        sim_.FirstMove = false;
        return;
    }
    TBulgeArc arc;
    if (motion != MOTION_RAPID && motion != MOTION_LINEAR && BulgeArcParams(path, arc)) {
        // Moves being written give the arc's centre itself.
        sim_.ArcI = static_cast<float>(arc.Centre.X);
        sim_.ArcJ = static_cast<float>(arc.Centre.Y);
    }
    SimulateMove(sim_, motion, false, 0.0f, toolRadius_, 0.0f, static_cast<float>(path.X2),
                 static_cast<float>(path.Y2), post_);
}

void TNcSimulationSink::ZMove(bool work, double z)
{
    // A plunge cuts where the tool stands, as the read-back draws it: a
    // drilled hole shows as the tool's disc.
    if (work)
        SimulateMove(sim_, MOTION_LINEAR, false, 0.0f, toolRadius_, 0.0f, sim_.PrevX, sim_.PrevY, post_);
    const float zf = ProgramZ(z, post_);
    AddZMoveTime(sim_, work, zf);
    ShowZDepth(sim_, work, zf);
}

void TNcSimulationSink::DrillHole(int motion, TVect point, double zRapid, double depth)
{
    if (sim_.FirstMove) {
        sim_.PrevX = static_cast<float>(point.X);
        sim_.PrevY = static_cast<float>(point.Y);
        sim_.FirstMove = false;
    }
    sim_.CycleDepth = ProgramZ(depth, post_);
    SimulateMove(sim_, motion, false, ProgramZ(zRapid, post_), toolRadius_, 0.0f, static_cast<float>(point.X),
                 static_cast<float>(point.Y), post_);
}
