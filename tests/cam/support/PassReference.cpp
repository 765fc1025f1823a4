#include "support/PassReference.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "support/ClipperRoundOffset.h"
#include "support/OffsetReference.h"
#include "cad/geometry/VectorHelpers.h"
#include "cam/toolpath/ElementBoxTree.h"
#include "cam/toolpath/ElementDistance.h"

namespace {

constexpr double CLIPPER_AREA = CLIPPER_SCALE * CLIPPER_SCALE;
// Samples along each element of a loop or path.
constexpr int SAMPLES = 9;
// A loop narrower than this on average, its area over its length, encloses nothing.
constexpr double SLIVER_WIDTH = 1e-3;
// Clipper's chords stand up to its arc tolerance inside the true arcs, so
// areas may differ by that much along the whole length.
constexpr double CHORD_AREA = 2.0 * CLIPPER_ARC_TOLERANCE;
// The chords of the tool's sweep along a pocket's paths.
constexpr double SWEEP_TOLERANCE = 0.01;

ClipperLib::Paths RegionPaths(const TRegion& region)
{
    ClipperLib::Paths paths;
    const auto add = [&](const TChain& chain) {
        ClipperLib::Path path = ToClipperPath(chain);
        // Vertices nearer than Clipper's grid make joins of no direction.
        ClipperLib::CleanPolygon(path, 2.0);
        paths.push_back(std::move(path));
    };
    add(region.Outer);
    for (const TChain& island : region.Islands)
        add(island);
    return paths;
}

ClipperLib::Paths Offset(const ClipperLib::Paths& paths, double delta, ClipperLib::EndType end,
                         double arcTolerance = CLIPPER_ARC_TOLERANCE)
{
    ClipperLib::ClipperOffset offset;
    offset.ArcTolerance = arcTolerance * CLIPPER_SCALE;
    offset.AddPaths(paths, ClipperLib::jtRound, end);
    ClipperLib::Paths solution;
    offset.Execute(solution, delta * CLIPPER_SCALE);
    return solution;
}

double AreaOf(const ClipperLib::Paths& paths)
{
    double area = 0.0;
    for (const ClipperLib::Path& path : paths)
        area += ClipperLib::Area(path);
    return area / CLIPPER_AREA;
}

double LengthOf(const TChain& chain)
{
    double length = 0.0;
    for (const TChainElement& e : chain)
        length += ElementLength(e);
    return length;
}

// Counts the elements that come nearer to the region than the limit.
void CountGouges(const std::vector<TChain>& chains, const TBoxedChain& region, double limit, int& gouges,
                 double& worst)
{
    for (const TChain& chain : chains) {
        for (const TChainElement& e : chain) {
            double nearest = INFINITY;
            for (const TVect p : PointsAlong(e, SAMPLES))
                nearest = std::min(nearest, region.Distance(p));
            if (nearest < limit) {
                ++gouges;
                worst = std::max(worst, limit - nearest);
            }
        }
    }
}

// An open path through the elements' points, arcs as chords within the tolerance.
ClipperLib::Path OpenPath(const TChain& chain, double arcTolerance)
{
    ClipperLib::Path path = ToClipperPath(chain, arcTolerance);
    if (!chain.empty())
        path.push_back(ToClipper(EndPoint(chain.back())));
    return path;
}

} // namespace

TChain RegionElements(const TRegion& region)
{
    TChain elements = region.Outer;
    for (const TChain& island : region.Islands)
        elements.insert(elements.end(), island.begin(), island.end());
    return elements;
}

double RegionSize(const TRegion& region)
{
    TElementBox box{INFINITY, INFINITY, -INFINITY, -INFINITY};
    for (const TChainElement& e : RegionElements(region)) {
        const TElementBox b = ElementBox(e);
        box = {std::min(box.MinX, b.MinX), std::min(box.MinY, b.MinY), std::max(box.MaxX, b.MaxX),
               std::max(box.MaxY, b.MaxY)};
    }
    return std::max(box.MaxX - box.MinX, box.MaxY - box.MinY);
}

TReferenceOffset ClipperRegionOffset(const TRegion& region, double d)
{
    const ClipperLib::Paths offset = Offset(RegionPaths(region), -d, ClipperLib::etClosedPolygon);
    TReferenceOffset reference{static_cast<int>(offset.size()), AreaOf(offset), 0};
    for (const ClipperLib::Path& path : offset) {
        double length = 0.0;
        for (std::size_t k = 0; k < path.size(); ++k)
            length += PointDistance(FromClipper(path[k]), FromClipper(path[(k + 1) % path.size()]));
        if (std::abs(ClipperLib::Area(path)) / CLIPPER_AREA <= SLIVER_WIDTH * length)
            ++reference.ThinLoops;
    }
    return reference;
}

bool TPassCheck::AreaAgrees() const
{
    return std::abs(Area - ReferenceArea) <= AREA_SHARE * std::abs(ReferenceArea) + 1e-9;
}

std::string TPassCheck::Describe() const
{
    std::ostringstream text;
    text << Loops << " loops of area " << Area << " (Clipper: " << ReferenceLoops << " of " << ReferenceArea << "), "
         << Slivers << " slivers, " << Gouges << " gouging elements (worst " << WorstGouge << ")";
    return text.str();
}

TPassCheck CheckPass(const TRegion& region, double d, const std::vector<TChain>& loops)
{
    TPassCheck check;
    const TReferenceOffset reference = ClipperRegionOffset(region, d);
    check.ReferenceLoops = reference.Loops;
    check.ReferenceArea = reference.Area;
    check.Loops = static_cast<int>(loops.size());
    double chordArea = 0.0;
    for (const TChain& loop : loops) {
        const double area = ChainSignedArea(loop);
        const double length = LengthOf(loop);
        check.Area += area;
        chordArea += CHORD_AREA * length;
        if (std::abs(area) <= SLIVER_WIDTH * length)
            ++check.Slivers;
    }
    // A loop as thin as that is no sliver where Clipper has one too: a
    // region just wider than the tool, as at the last ring of a pocket.
    check.Slivers = std::max(0, check.Slivers - reference.ThinLoops);
    // Clipper's chords make its area smaller by up to their tolerance along the length.
    if (std::abs(check.Area - check.ReferenceArea) <= chordArea)
        check.Area = check.ReferenceArea;
    const TChain elements = RegionElements(region);
    const TBoxedChain boxed(elements);
    CountGouges(loops, boxed, std::abs(d) - GOUGE_SHARE * RegionSize(region), check.Gouges, check.WorstGouge);
    return check;
}

bool PassAgreesWithClipper(const TRegion& region, double d, const std::vector<TChain>& loops)
{
    const TReferenceOffset reference = ClipperRegionOffset(region, d);
    double area = 0.0;
    double chordArea = 0.0;
    for (const TChain& loop : loops) {
        area += ChainSignedArea(loop);
        chordArea += CHORD_AREA * LengthOf(loop);
    }
    return static_cast<int>(loops.size()) == reference.Loops &&
           std::abs(area - reference.Area) <= AREA_SHARE * std::abs(reference.Area) + chordArea;
}

std::string TPocketCheck::Describe() const
{
    std::ostringstream text;
    text << Uncovered << " of " << Reachable << " reachable area uncovered, " << Gouges
         << " gouging path elements (worst " << WorstGouge << ")";
    return text.str();
}

TPocketCheck CheckPocket(const TRegion& region, double toolRadius, const std::vector<TChain>& paths)
{
    TPocketCheck check;
    const ClipperLib::Paths reachable =
        Offset(Offset(RegionPaths(region), -toolRadius, ClipperLib::etClosedPolygon), toolRadius,
               ClipperLib::etClosedPolygon);
    check.Reachable = AreaOf(reachable);

    ClipperLib::Paths open;
    for (const TChain& path : paths)
        open.push_back(OpenPath(path, SWEEP_TOLERANCE));
    // Coarse chords keep the union of the sweeps quick; the sweep grows by
    // as much as they and its own round ends stand inside the true sweep.
    const ClipperLib::Paths swept =
        Offset(open, toolRadius + 2.0 * SWEEP_TOLERANCE, ClipperLib::etOpenRound, SWEEP_TOLERANCE);
    ClipperLib::Clipper clipper;
    clipper.AddPaths(reachable, ClipperLib::ptSubject, true);
    clipper.AddPaths(swept, ClipperLib::ptClip, true);
    ClipperLib::Paths uncovered;
    clipper.Execute(ClipperLib::ctDifference, uncovered, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    check.Uncovered = AreaOf(uncovered);

    const TChain elements = RegionElements(region);
    const TBoxedChain boxed(elements);
    CountGouges(paths, boxed, toolRadius - DISTANCE_SLACK - GOUGE_SHARE * RegionSize(region), check.Gouges,
                check.WorstGouge);
    return check;
}
