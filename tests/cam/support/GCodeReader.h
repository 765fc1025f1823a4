#pragma once

// A reader of NC programs written apart from the program's own read-back,
// the way a control takes them: it follows the modal state (motion, feed,
// absolute or incremental, canned cycles, block numbers) line by line and
// gives the tool's moves in the program's units, with every line it could
// not take and every arc whose words disagree. It knows the four dialects
// the shipped posts speak: ISO words, the conversational HEI blocks, the XIL
// commands with "X=" words and the comma-separated SBO commands.

#include <string>
#include <vector>

#include "cad/geometry/CADBaseTypes.h"

enum class TGCodeDialect { Iso, Hei, Xil, Sbo };

// How the control is set up for the program, as its operator would set it.
struct TGCodeSetup {
    TGCodeDialect Dialect = TGCodeDialect::Iso;
    // I and J are the centre minus the start (else the centre itself).
    bool CentreFromStart = true;
    // The first block number and where numbers wrap back to it.
    int SeqStart = 1;
    int SeqMax = 999999;
};

enum class TToolMoveKind { Rapid, Feed, Arc, Hole };

// One move of the tool centre from From to To (Z included). An arc turns
// about Centre, clockwise or not; a hole goes down to ZTo at its point and
// back. Feed is the feed word in force (below 0 when none was given).
struct TToolMove {
    TToolMoveKind Kind = TToolMoveKind::Rapid;
    TVect From{};
    TVect To{};
    double ZFrom = 0.0;
    double ZTo = 0.0;
    TVect Centre{};
    bool Clockwise = false;
    double Feed = -1.0;
    int Line = 0;
};

struct TGCodeRead {
    std::vector<TToolMove> Moves;
    // "line N: why" for every line that could not be taken, arc that does
    // not close, and block number out of order.
    std::vector<std::string> Faults;
    int Lines = 0;
};

// The moves of the whole program. The tool starts at (0, 0) at a Z far
// above the work; ZHome is where a return to the machine's home takes it.
TGCodeRead ReadGCode(const std::string& program, const TGCodeSetup& setup);

inline constexpr double GCODE_Z_HOME = 1000.0;
