#pragma once

// The simulation as the receiver of a program's moves while it is written:
// the toolpath is drawn and the machining time counted as the text grows.

#include "cam/nc/NcProgram.h"
#include "cam/simulation/NcSimulation.h"

class TNcSimulationSink final : public TNcMoveSink {
public:
    // Swept areas are drawn for a tool of the radius.
    TNcSimulationSink(TNcSimulation& sim, float toolRadius, const TPostSettings& post = PostSettings);

    void PlaneMove(int motion, const TChainElement& path) override;
    void ZMove(bool work, double z) override;
    void DrillHole(int motion, TVect point, double zRapid, double depth) override;

private:
    TNcSimulation& sim_;
    float toolRadius_;
    const TPostSettings& post_;
};
