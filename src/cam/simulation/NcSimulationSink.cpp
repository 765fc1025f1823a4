#include "cam/simulation/NcSimulationSink.h"

TNcSimulationSink::TNcSimulationSink(TNcSimulation& sim, float toolRadius, const TPostSettings& post)
    : sim_(sim), toolRadius_(toolRadius), post_(post)
{
}

void TNcSimulationSink::PlaneMove(int motion, const TChainElement& path)
{
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
    const auto zf = static_cast<float>(z);
    AddZMoveTime(sim_, work, zf);
    ShowZDepth(sim_, work, zf);
}

void TNcSimulationSink::DrillHole(int motion, TVect point, double zRapid, double depth)
{
    sim_.CycleDepth = static_cast<float>(depth);
    SimulateMove(sim_, motion, false, static_cast<float>(zRapid), toolRadius_, 0.0f, static_cast<float>(point.X),
                 static_cast<float>(point.Y), post_);
}
