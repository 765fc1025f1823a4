#include "cam/NcSimulationSink.h"

TNcSimulationSink::TNcSimulationSink(TNcSimulation& sim, float toolRadius, const TPostSettings& post)
    : sim_(sim), toolRadius_(toolRadius), post_(post)
{
}

void TNcSimulationSink::Start(TVect at)
{
    if (!sim_.FirstMove)
        return;
    sim_.FirstMove = false;
    sim_.PrevX = static_cast<float>(at.X);
    sim_.PrevY = static_cast<float>(at.Y);
}

void TNcSimulationSink::PlaneMove(int motion, const TChainElement& path)
{
    Start(StartPoint(path));
    TBulgeArc arc;
    if (BulgeArcParams(path, arc)) {
        // Moves being written give the arc's centre itself.
        sim_.ArcI = static_cast<float>(arc.Centre.X);
        sim_.ArcJ = static_cast<float>(arc.Centre.Y);
    }
    SimulateMove(sim_, motion, false, 0.0f, toolRadius_, 0.0f, static_cast<float>(path.X2),
                 static_cast<float>(path.Y2), post_);
}

void TNcSimulationSink::ZMove(bool work, double z)
{
    const auto zf = static_cast<float>(z);
    AddZMoveTime(sim_, work, zf);
    ShowZDepth(sim_, work, zf);
}

void TNcSimulationSink::DrillHole(int motion, TVect point, double zRapid, double depth)
{
    Start(point);
    sim_.CycleDepth = static_cast<float>(depth);
    SimulateMove(sim_, motion, false, static_cast<float>(zRapid), toolRadius_, 0.0f, static_cast<float>(point.X),
                 static_cast<float>(point.Y), post_);
    ShowZDepth(sim_, true, static_cast<float>(depth));
}
