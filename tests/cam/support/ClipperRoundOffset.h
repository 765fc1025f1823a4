#pragma once

// Clipper's round-join offset of a closed chain: the peer the offset is
// checked against in tests and timed against in the benchmark. Clipper
// works on integers; arcs go to it as chords no further from the arc than
// its own round joins may be from a true arc.

#include <algorithm>
#include <cmath>

#include <polyclipping/clipper.hpp>

#include "cam/chains/ChainElement.h"

// 10^-4 drawing units per integer step.
inline constexpr double CLIPPER_SCALE = 10000.0;
// The largest deviation of Clipper's round joins from a true arc, in drawing units.
inline constexpr double CLIPPER_ARC_TOLERANCE = 0.001;

inline ClipperLib::IntPoint ToClipper(TVect p)
{
    return {static_cast<ClipperLib::cInt>(std::llround(p.X * CLIPPER_SCALE)),
            static_cast<ClipperLib::cInt>(std::llround(p.Y * CLIPPER_SCALE))};
}

inline TVect FromClipper(const ClipperLib::IntPoint& p)
{
    return {static_cast<double>(p.X) / CLIPPER_SCALE, static_cast<double>(p.Y) / CLIPPER_SCALE};
}

// Arcs as chords within the tolerance of them, by default Clipper's own.
inline ClipperLib::Path ToClipperPath(const TChain& chain, double arcTolerance = CLIPPER_ARC_TOLERANCE)
{
    ClipperLib::Path path;
    for (const TChainElement& e : chain) {
        if (IsStraight(e)) {
            path.push_back(ToClipper(StartPoint(e)));
            continue;
        }
        const TArcSpan span = ArcSpanOf(e);
        const double step = 2.0 * std::acos(std::max(0.0, 1.0 - arcTolerance / span.Radius));
        const int chords = std::max(1, static_cast<int>(std::ceil(span.Sweep / step)));
        for (int k = 0; k < chords; ++k) {
            const double angle = span.StartAngle + span.Turn * span.Sweep * k / chords;
            path.push_back(ToClipper({span.Centre.X + span.Radius * std::cos(angle),
                                      span.Centre.Y + span.Radius * std::sin(angle)}));
        }
    }
    return path;
}

// d as for OffsetChain: positive to the left of travel, which is inwards for
// a counter-clockwise outline; Clipper grows a polygon for a positive delta.
inline ClipperLib::Paths ClipperRoundOffset(const ClipperLib::Path& path, double d)
{
    ClipperLib::ClipperOffset offset;
    offset.ArcTolerance = CLIPPER_ARC_TOLERANCE * CLIPPER_SCALE;
    offset.AddPath(path, ClipperLib::jtRound, ClipperLib::etClosedPolygon);
    ClipperLib::Paths solution;
    offset.Execute(solution, -d * CLIPPER_SCALE);
    return solution;
}
