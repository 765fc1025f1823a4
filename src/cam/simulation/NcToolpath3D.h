#pragma once

// The NC program as one line through space: each move read back appends its
// nodes, coloured by the kind of move. The line itself belongs to the 3D
// view; the simulation only sees this small interface, so that reading a
// program back needs no scene.

#include <optional>

#include "cam/simulation/NcArc.h"

// A node's red, green and blue, each 0 to 1.
struct TNcNodeColor {
    float R = 0.0f;
    float G = 0.0f;
    float B = 0.0f;
};

inline constexpr TNcNodeColor NC_NODE_RAPID{1.0f, 1.0f, 0.0f};
inline constexpr TNcNodeColor NC_NODE_WORK{0.0f, 1.0f, 1.0f};

// Arcs are drawn as this many equal steps.
inline constexpr int NC_ARC_STEPS = 50;

class TNcToolpath3D {
public:
    virtual ~TNcToolpath3D() = default;
    // The nodes added between the two reach the view as one change.
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
    // Appends a node. Without a colour it takes the line's own node colour;
    // the line's segment that ends at a node is drawn in the node's colour.
    virtual void AddNode(float x, float y, float z, std::optional<TNcNodeColor> color) = 0;
};

// Appends one move ending at (x, y) to the toolpath: a rapid one yellow
// node, a feed one cyan node, a drill cycle three (rapid down to the cycle's
// R level, feed to z, back up to the R level), an arc its nodes all at z
// from its start round to its end. Any other motion (a cycle cancel) adds
// nothing. An arc given as none (no circle to draw) adds its end node.
void DisegnaNc3d(TNcToolpath3D& path, int motion, float x, float y, float z, float cycleR,
                 const std::optional<TNcArc>& arc);
