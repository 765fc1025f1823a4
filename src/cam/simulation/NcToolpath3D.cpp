#include "cam/simulation/NcToolpath3D.h"

#include "cam/nc/PostSettings.h"
#include "cam/simulation/NcSimulation.h"

void DisegnaNc3d(TNcToolpath3D& path, int motion, float x, float y, float z, float cycleR,
                 const std::optional<TNcArc>& arc)
{
    if (motion == MOTION_RAPID) {
        path.AddNode(x, y, z, NC_NODE_RAPID);
    } else if (motion == MOTION_LINEAR) {
        path.AddNode(x, y, z, NC_NODE_WORK);
    } else if (IsDrillCycle(motion)) {
        path.BeginUpdate();
        path.AddNode(x, y, cycleR, NC_NODE_RAPID);
        path.AddNode(x, y, z, NC_NODE_WORK);
        path.AddNode(x, y, cycleR, NC_NODE_WORK);
        path.EndUpdate();
    } else if ((motion == MOTION_CW || motion == MOTION_CCW) && !arc) {
        path.AddNode(x, y, z, std::nullopt);
    } else if (motion == MOTION_CW || motion == MOTION_CCW) {
        // The first node lies over the start at the move's Z: a change of Z
        // shows as a vertical step before the arc.
        path.BeginUpdate();
        for (int k = 0; k <= NC_ARC_STEPS; ++k) {
            const TVect p = arc->PointAt(static_cast<double>(k) / NC_ARC_STEPS);
            path.AddNode(static_cast<float>(p.X), static_cast<float>(p.Y), z, std::nullopt);
        }
        path.EndUpdate();
    }
}
