#include "support/OffsetReference.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <sstream>

#include "support/ClipperRoundOffset.h"
#include "cad/base/Settings.h"
#include "cad/geometry/VectorHelpers.h"
#include "cam/toolpath/ChainOffset.h"
#include "cam/toolpath/ElementBoxTree.h"
#include "cam/toolpath/ElementDistance.h"
#include "cam/toolpath/ElementSplit.h"
#include "cam/toolpath/SplitAtIntersections.h"

namespace {

constexpr double PI = std::numbers::pi;
// Samples along each kept piece.
constexpr int PIECE_SAMPLES = 9;
// Clipper rounds to 10^-4, its joins and the chords of arcs stand up to
// 10^-3 off the true curve; points of it further off sample nothing.
constexpr double CLIPPER_OFF = 0.002;
constexpr double COVER_TOLERANCE = 0.01;

using TVertex = TOutlineVertex;

double Uniform(std::mt19937& random, double low, double high)
{
    return std::uniform_real_distribution<double>(low, high)(random);
}

int Between(std::mt19937& random, int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(random);
}

std::vector<TVertex> Star(std::mt19937& random)
{
    const int points = Between(random, 3, 30);
    const double inner = Uniform(random, 2.0, 15.0);
    const double outer = inner + Uniform(random, 0.5, 25.0);
    std::vector<TVertex> vertices;
    for (int k = 0; k < points; ++k) {
        const double angle = 2 * PI * (k + Uniform(random, -0.3, 0.3)) / points;
        const double r = Uniform(random, inner, outer);
        vertices.push_back({r * std::cos(angle), r * std::sin(angle), 0.0});
    }
    return vertices;
}

// A bar with teeth on top, counter-clockwise.
std::vector<TVertex> Comb(std::mt19937& random)
{
    const int teeth = Between(random, 1, 8);
    const double width = Uniform(random, 0.1, 4.0);
    const double gap = Uniform(random, 0.1, 4.0);
    const double base = Uniform(random, 0.5, 5.0);
    const double height = Uniform(random, 0.5, 8.0);
    const double length = teeth * (width + gap) + gap;
    std::vector<TVertex> vertices{{0, 0, 0}, {length, 0, 0}, {length, base, 0}};
    for (int t = teeth - 1; t >= 0; --t) {
        const double left = gap + t * (width + gap);
        vertices.push_back({left + width, base, 0});
        vertices.push_back({left + width, base + height, 0});
        vertices.push_back({left, base + height, 0});
        vertices.push_back({left, base, 0});
    }
    vertices.push_back({0, base, 0});
    return vertices;
}

std::vector<TVertex> Zigzag(std::mt19937& random)
{
    const int teeth = Between(random, 1, 8);
    const double pitch = Uniform(random, 0.2, 5.0);
    const double base = Uniform(random, 0.5, 5.0);
    const double height = Uniform(random, 0.5, 8.0);
    std::vector<TVertex> vertices{{0, 0, 0}, {teeth * pitch, 0, 0}, {teeth * pitch, base, 0}};
    for (int t = teeth - 1; t >= 0; --t) {
        vertices.push_back({t * pitch + pitch * Uniform(random, 0.2, 0.8), base + height, 0});
        vertices.push_back({t * pitch, base, 0});
    }
    return vertices;
}

// A rectangle with rectangular notches in its bottom and top sides.
std::vector<TVertex> NotchedRectangle(std::mt19937& random)
{
    const double width = Uniform(random, 5.0, 30.0);
    const double height = Uniform(random, 5.0, 30.0);
    const auto notches = [&](bool top) {
        std::vector<TVertex> side;
        const int count = Between(random, 0, 3);
        const double slot = width / (count + 1);
        for (int n = 0; n < count; ++n) {
            const double left = slot * (n + 0.5) + slot * Uniform(random, 0.0, 0.3);
            const double right = left + slot * Uniform(random, 0.1, 0.6);
            const double depth = height * Uniform(random, 0.05, 0.45);
            if (top) {
                side.insert(side.begin(), {{right, height, 0}, {right, height - depth, 0}, {left, height - depth, 0},
                                           {left, height, 0}});
            } else {
                side.insert(side.end(), {{left, 0, 0}, {left, depth, 0}, {right, depth, 0}, {right, 0, 0}});
            }
        }
        return side;
    };
    std::vector<TVertex> vertices{{0, 0, 0}};
    for (const TVertex& v : notches(false))
        vertices.push_back(v);
    vertices.push_back({width, 0, 0});
    vertices.push_back({width, height, 0});
    for (const TVertex& v : notches(true))
        vertices.push_back(v);
    vertices.push_back({0, height, 0});
    return vertices;
}

// A rounded polygon: each edge an arc bulging out or in.
std::vector<TVertex> WithArcs(std::mt19937& random)
{
    std::vector<TVertex> vertices = Star(random);
    for (TVertex& v : vertices)
        v.Bulge = Uniform(random, -0.5, 0.5);
    return vertices;
}

// A rectangle whose corners are sharp, rounded, or bitten out by a concave fillet.
std::vector<TVertex> RoundedRectangle(std::mt19937& random)
{
    const double width = Uniform(random, 3.0, 30.0);
    const double height = Uniform(random, 3.0, 30.0);
    const double quarter = std::tan(PI / 8);
    const TVect corners[] = {{0, 0}, {width, 0}, {width, height}, {0, height}};
    std::vector<TVertex> vertices;
    for (int k = 0; k < 4; ++k) {
        const TVect c = corners[k];
        const TVect in = NormalizeVect(SubVect(c, corners[(k + 3) % 4]));
        const TVect out = NormalizeVect(SubVect(corners[(k + 1) % 4], c));
        const int kind = Between(random, 0, 2);
        if (kind == 0) {
            vertices.push_back({c.X, c.Y, 0});
            continue;
        }
        const double r = std::min(width, height) * Uniform(random, 0.02, 0.49);
        const TVect before = SubVect(c, ScaleVect(in, r));
        const TVect after = AddVect(c, ScaleVect(out, r));
        vertices.push_back({before.X, before.Y, kind == 1 ? quarter : -quarter});
        vertices.push_back({after.X, after.Y, 0});
    }
    return vertices;
}

// A stadium, or a rectangle with a slot cut into its top, at times exactly
// as wide as a tool of one of the check distances.
std::vector<TVertex> Slot(std::mt19937& random)
{
    const double length = Uniform(random, 0.0, 20.0);
    const double r = Uniform(random, 0.2, 8.0);
    if (Between(random, 0, 1) == 0)
        return {{0, -r, 0}, {length, -r, 1.0}, {length, r, 0}, {0, r, 1.0}};
    const std::vector<double> distances = CheckDistances();
    const double width = Between(random, 0, 1) == 0
                             ? 2.0 * std::abs(distances[Between(random, 0, static_cast<int>(distances.size()) - 1)])
                             : Uniform(random, 0.1, 10.0);
    const double wall = Uniform(random, 0.5, 8.0);
    const double height = Uniform(random, 2.0, 25.0);
    const double depth = height * Uniform(random, 0.2, 0.9);
    const double right = 2 * wall + width;
    const double bottom = height - depth;
    const double end = Between(random, 0, 1) == 0 ? 0.0 : 1.0;
    return {{0, 0, 0},
            {right, 0, 0},
            {right, height, 0},
            {wall + width, height, 0},
            {wall + width, bottom, -end},
            {wall, bottom, 0},
            {wall, height, 0},
            {0, height, 0}};
}

// Repeated, collinear and nearly coincident vertices.
std::vector<TVertex> Degenerate(std::mt19937& random)
{
    std::vector<TVertex> vertices = Between(random, 0, 1) == 0 ? Star(random) : NotchedRectangle(random);
    std::vector<TVertex> result;
    for (std::size_t k = 0; k < vertices.size(); ++k) {
        const TVertex v = vertices[k];
        const TVertex next = vertices[(k + 1) % vertices.size()];
        result.push_back(v);
        switch (Between(random, 0, 4)) {
        case 0:
            result.push_back(v);
            break;
        case 1:
            result.push_back({(v.X + next.X) / 2, (v.Y + next.Y) / 2, 0});
            break;
        case 2:
            result.push_back({v.X + Uniform(random, -1e-5, 1e-5), v.Y + Uniform(random, -1e-5, 1e-5), 0});
            break;
        default:
            break;
        }
    }
    return result;
}

// No two elements come near each other, apart from where they join (also
// across elements too short to count), and joining ones meet nowhere else.
bool IsSimple(const TChain& outline)
{
    constexpr double NEAR = 1e-3;
    const auto join = [&](const TChainElement& a, const TChainElement& b) {
        return PointDistance(EndPoint(a), StartPoint(b)) < NEAR || PointDistance(EndPoint(b), StartPoint(a)) < NEAR;
    };
    TChain pieces;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        for (std::size_t j = i + 1; j < outline.size(); ++j) {
            bool iSplit = false;
            bool jSplit = false;
            if (join(outline[i], outline[j]) ? SplitElements(outline[i], outline[j], pieces, iSplit, jSplit)
                                             : DistanceBetweenElements(outline[i], outline[j]) < NEAR)
                return false;
        }
    }
    return outline.size() >= 2;
}

bool IsOffTheOffset(const TChainElement& piece, const TBoxedChain& outline, double d, double& worst)
{
    // Ends within ChainTol of each other are moved together, and sharp joins
    // of nearly straight corners stand off by up to d (1 / cos(0.5 degrees) - 1).
    const double tolerance = ChainTol + 1e-4 * d;
    bool off = false;
    for (const TVect p : PointsAlong(piece, PIECE_SAMPLES)) {
        const double distance = outline.Distance(p);
        // Below d the removal's slack of 0.01 is allowed; beyond d nothing is.
        if (distance > d + tolerance || distance < d - DISTANCE_SLACK - tolerance) {
            off = true;
            worst = std::max(worst, std::abs(distance - d));
        }
    }
    return off;
}

} // namespace

TChain ClosedOutline(const std::vector<TOutlineVertex>& vertices)
{
    TChain chain;
    for (std::size_t k = 0; k < vertices.size(); ++k) {
        const TOutlineVertex& a = vertices[k];
        const TOutlineVertex& b = vertices[(k + 1) % vertices.size()];
        chain.push_back(MakeElement({a.X, a.Y}, {b.X, b.Y}, a.Bulge));
    }
    return chain;
}

TChain ToolpathPieces(const TChain& outline, double d)
{
    TChain pieces;
    OffsetChain(outline, pieces, d);
    SplitAtIntersections(pieces);
    RemoveGougingElements(pieces, outline, std::abs(d));
    return pieces;
}

TBoxedChain::TBoxedChain(const TChain& chain) : Chain(chain)
{
    for (const TChainElement& e : chain)
        Boxes.push_back(ElementBox(e));
}

double TBoxedChain::Distance(TVect p, double enough) const
{
    double nearest = INFINITY;
    for (std::size_t k = 0; k < Chain.size() && nearest > enough; ++k) {
        if (SquaredDistanceToBox(Boxes[k], p) < nearest * nearest)
            nearest = std::min(nearest, DistanceToElement(p, Chain[k]));
    }
    return nearest;
}

double DistanceToChain(TVect point, const TChain& chain)
{
    double nearest = INFINITY;
    for (const TChainElement& e : chain)
        nearest = std::min(nearest, DistanceToElement(point, e));
    return nearest;
}

std::vector<TVect> PointsAlong(const TChainElement& e, int count)
{
    std::vector<TVect> points;
    if (IsStraight(e)) {
        for (int k = 0; k < count; ++k)
            points.push_back(AddVect(StartPoint(e), ScaleVect(SubVect(EndPoint(e), StartPoint(e)), k / (count - 1.0))));
        return points;
    }
    const TArcSpan span = ArcSpanOf(e);
    points.push_back(StartPoint(e));
    for (int k = 1; k + 1 < count; ++k) {
        const double angle = span.StartAngle + span.Turn * span.Sweep * k / (count - 1.0);
        points.push_back(
            {span.Centre.X + span.Radius * std::cos(angle), span.Centre.Y + span.Radius * std::sin(angle)});
    }
    points.push_back(EndPoint(e));
    return points;
}

std::string TOffsetCheck::Describe() const
{
    std::ostringstream text;
    text << OffTheOffset << " pieces off the offset (worst " << WorstOff << "), " << Uncovered
         << " points of the offset not covered (worst gap " << WorstGap << " at " << WorstGapAt.X << ","
         << WorstGapAt.Y << ")";
    return text.str();
}

TOffsetCheck CheckToolpathPieces(const TChain& outline, double d, const TChain& pieces)
{
    TOffsetCheck check;
    const TBoxedChain boxedOutline(outline);
    for (const TChainElement& piece : pieces)
        check.OffTheOffset += IsOffTheOffset(piece, boxedOutline, std::abs(d), check.WorstOff) ? 1 : 0;
    const TBoxedChain boxedPieces(pieces);

    // Clipper grows and shrinks whatever the direction of the outline.
    const double inwards = ChainSignedArea(outline) > 0.0 ? d : -d;
    // Vertices nearer than Clipper's grid make joins of no direction.
    ClipperLib::Path path = ToClipperPath(outline);
    ClipperLib::CleanPolygon(path, 2.0);
    for (const ClipperLib::Path& offset : ClipperRoundOffset(path, inwards)) {
        // Where Clipper's chords meet at a shallow angle, their meeting point
        // stands off the true offset, further than any tolerance for a
        // shallow enough angle; a gap counts only when it spans two samples
        // in a row (a vertex and the middle of an edge beside it).
        bool previousUncovered = false;
        for (std::size_t k = 0; k < offset.size(); ++k) {
            const TVect a = FromClipper(offset[k]);
            const TVect b = FromClipper(offset[(k + 1) % offset.size()]);
            for (const TVect p : {a, MidPoint(a, b)}) {
                const bool onOffset = std::abs(boxedOutline.Distance(p) - std::abs(d)) <= CLIPPER_OFF;
                const double gap = onOffset ? boxedPieces.Distance(p, COVER_TOLERANCE) : 0.0;
                const bool uncovered = gap > COVER_TOLERANCE;
                if (uncovered && previousUncovered) {
                    ++check.Uncovered;
                    if (gap > check.WorstGap) {
                        check.WorstGap = gap;
                        check.WorstGapAt = p;
                    }
                }
                previousUncovered = uncovered;
            }
        }
    }
    return check;
}

std::vector<double> CheckDistances()
{
    return {0.05, 0.5, 1.5, 4.0, 10.0};
}

TRandomOutline RandomOutline(std::mt19937& random)
{
    using TMaker = std::vector<TVertex> (*)(std::mt19937&);
    struct TFamily {
        const char* Name;
        TMaker Make;
    };
    static const TFamily families[] = {
        {"star", Star},
        {"comb", Comb},
        {"zigzag", Zigzag},
        {"notched rectangle", NotchedRectangle},
        {"outline with arcs", WithArcs},
        {"rounded rectangle", RoundedRectangle},
        {"slot", Slot},
        {"degenerate", Degenerate},
    };
    const TFamily& family = families[Between(random, 0, static_cast<int>(std::size(families)) - 1)];
    for (;;) {
        TChain outline = ClosedOutline(family.Make(random));
        if (ChainSignedArea(outline) < 0.0)
            ReverseChain(outline);
        if (IsSimple(outline))
            return {family.Name, outline};
    }
}

namespace {

double Rounded(double value)
{
    return std::round(value * 1000.0) / 1000.0;
}

// A polygon whose corners are each rounded by a tangent fillet, convex or
// concave, no longer than a third of either side allows. Now and then a
// corner turns by only a degree or two, as where two lines of a drawing
// nearly continue each other, and its fillet is tiny.
std::vector<TVertex> Filleted(std::mt19937& random, bool rounded)
{
    const int points = Between(random, 3, 9);
    const double inner = Uniform(random, 10.0, 30.0);
    const double outer = inner + Uniform(random, 0.0, 30.0);
    std::vector<TVect> corners;
    for (int k = 0; k < points; ++k) {
        const double angle = 2 * PI * (k + Uniform(random, -0.25, 0.25)) / points;
        const double r = Uniform(random, inner, outer);
        corners.push_back({r * std::cos(angle), r * std::sin(angle)});
        if (Between(random, 0, 3) == 0) {
            // A point nearly on the way to the next corner: a flat corner.
            const double next = 2 * PI * (k + 0.5) / points;
            corners.push_back({r * std::cos(next) * Uniform(random, 0.98, 1.02),
                               r * std::sin(next) * Uniform(random, 0.98, 1.02)});
        }
    }
    std::vector<TVertex> vertices;
    const std::size_t n = corners.size();
    for (std::size_t k = 0; k < n; ++k) {
        const TVect previous = corners[(k + n - 1) % n];
        const TVect corner = corners[k];
        const TVect next = corners[(k + 1) % n];
        const TVect in = NormalizeVect(SubVect(corner, previous));
        const TVect out = NormalizeVect(SubVect(next, corner));
        const double turn = std::atan2(in.X * out.Y - in.Y * out.X, DotProduct(in, out));
        const double room = std::min(PointDistance(previous, corner), PointDistance(corner, next)) / 3.0;
        const double tangent = std::tan(std::abs(turn) / 2.0);
        const double radius = std::min(Uniform(random, 0.2, 8.0), room / std::max(tangent, 1e-9));
        const TVect before = SubVect(corner, ScaleVect(in, radius * tangent));
        const TVect after = AddVect(corner, ScaleVect(out, radius * tangent));
        vertices.push_back({before.X, before.Y, std::tan(turn / 4.0)});
        vertices.push_back({after.X, after.Y, 0.0});
    }
    if (rounded) {
        for (TVertex& v : vertices)
            v = {Rounded(v.X), Rounded(v.Y), v.Bulge};
    }
    return vertices;
}

std::vector<TVertex> ExactFillets(std::mt19937& random)
{
    return Filleted(random, false);
}

std::vector<TVertex> RoundedFillets(std::mt19937& random)
{
    return Filleted(random, true);
}

// Arcs meeting arcs: a blob of 3 to 16 arcs, each bulging out or in.
std::vector<TVertex> ArcsHeavy(std::mt19937& random)
{
    const int points = Between(random, 3, 16);
    const double radius = Uniform(random, 5.0, 40.0);
    std::vector<TVertex> vertices;
    for (int k = 0; k < points; ++k) {
        const double angle = 2 * PI * (k + Uniform(random, -0.2, 0.2)) / points;
        const double r = radius * Uniform(random, 0.7, 1.3);
        vertices.push_back({r * std::cos(angle), r * std::sin(angle), Uniform(random, -0.6, 0.9)});
    }
    return vertices;
}

// Joins a hair off tangent: a stadium whose half circles sweep a little
// less or more than pi, or a filleted polygon whose fillets' bulges are off
// by a little, so that arc and line meet at a kink of a hundredth of a
// degree to a few tenths.
std::vector<TVertex> NearTangent(std::mt19937& random)
{
    if (Between(random, 0, 1) == 0) {
        const double length = Uniform(random, 5.0, 40.0);
        const double r = Uniform(random, 1.0, 15.0);
        const double off = Uniform(random, -3e-3, 3e-3);
        const double bulge = std::tan((PI + off) / 4.0);
        return {{0, -r, 0}, {length, -r, bulge}, {length, r, 0}, {0, r, std::tan((PI - off) / 4.0)}};
    }
    std::vector<TVertex> vertices = Filleted(random, false);
    for (TVertex& v : vertices) {
        if (v.Bulge != 0.0)
            v.Bulge = std::tan(std::atan(v.Bulge) * (1.0 + Uniform(random, -3e-3, 3e-3)));
    }
    return vertices;
}

// A small outline for an island: a rectangle, a circle or a star.
std::vector<TVertex> IslandShape(std::mt19937& random, TVect centre, double size)
{
    switch (Between(random, 0, 2)) {
    case 0: {
        const double w = size * Uniform(random, 0.3, 1.0);
        const double h = size * Uniform(random, 0.3, 1.0);
        return {{centre.X - w, centre.Y - h, 0},
                {centre.X + w, centre.Y - h, 0},
                {centre.X + w, centre.Y + h, 0},
                {centre.X - w, centre.Y + h, 0}};
    }
    case 1: {
        const double r = size * Uniform(random, 0.3, 1.0);
        return {{centre.X + r, centre.Y, 1.0}, {centre.X - r, centre.Y, 1.0}};
    }
    default: {
        const int points = Between(random, 3, 9);
        std::vector<TVertex> star;
        for (int k = 0; k < points; ++k) {
            const double angle = 2 * PI * (k + Uniform(random, -0.2, 0.2)) / points;
            const double r = size * Uniform(random, 0.3, 1.0);
            star.push_back({centre.X + r * std::cos(angle), centre.Y + r * std::sin(angle), 0});
        }
        return star;
    }
    }
}

TChain CounterClockwise(TChain chain)
{
    if (ChainSignedArea(chain) < 0.0)
        ReverseChain(chain);
    return chain;
}

} // namespace

TRandomRegion RandomRegion(std::mt19937& random)
{
    using TMaker = std::vector<TVertex> (*)(std::mt19937&);
    struct TFamily {
        const char* Name;
        TMaker Make;
    };
    static const TFamily families[] = {
        {"arcs-heavy", ArcsHeavy},
        {"islands", nullptr},
        {"exact fillets", ExactFillets},
        {"fillets to 3 dec.", RoundedFillets},
        {"near-tangent joins", NearTangent},
    };
    const TFamily& family = families[Between(random, 0, static_cast<int>(std::size(families)) - 1)];
    for (;;) {
        TRandomRegion region{family.Name, {}, {}};
        if (family.Make != nullptr) {
            region.Outline = CounterClockwise(ClosedOutline(family.Make(random)));
            if (IsSimple(region.Outline))
                return region;
            continue;
        }
        // Islands in cells of a grid over a rectangle or a filleted outline's box.
        const int count = Between(random, 1, 5);
        const int columns = Between(random, 1, count);
        const int rows = (count + columns - 1) / columns;
        const double cell = Uniform(random, 6.0, 25.0);
        const double margin = cell * Uniform(random, 0.1, 0.6);
        const double width = columns * cell + 2 * margin;
        const double height = rows * cell + 2 * margin;
        region.Outline = ClosedOutline({{0, 0, 0}, {width, 0, 0}, {width, height, 0}, {0, height, 0}});
        for (int k = 0; k < count; ++k) {
            const TVect centre{margin + cell * (k % columns + 0.5), margin + cell * (k / columns + 0.5)};
            region.Islands.push_back(CounterClockwise(ClosedOutline(IslandShape(random, centre, cell * 0.4))));
        }
        if (std::all_of(region.Islands.begin(), region.Islands.end(), IsSimple))
            return region;
    }
}
