#include "cam/simulation/NcSimulation.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>
#include <string_view>

#include <QPainter>
#include <QPolygonF>

#include "cad/canvas/DecorativeCanvas.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/geometry/VectorHelpers.h"
#include "cam/simulation/NcArc.h"
#include "cam/simulation/NcToolpath3D.h"

TNcSimulation NcSimulation;

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Points of each round end of a swept area, besides its first one.
constexpr int kCapSteps = 20;
// Segments of a full turn of a drawn arc.
constexpr int kArcStepsPerTurn = 72;

// The characters one pass over the line goes through: the parser's work.
void CountScan(TNcSimulation& sim, const std::string& line)
{
    sim.ParsedCharacters += line.size() + 1;
}

// The number right after position `first` ("-", "." and digits): its end,
// and whether it holds a value a coordinate can take. A run without a digit,
// a malformed one and one beyond single precision are malformed.
std::size_t ReadNumber(const std::string& line, std::size_t first, float& value, bool& wellFormed)
{
    std::size_t last = first;
    bool digits = false;
    while (last < line.size() && (line[last] == '-' || line[last] == '.' || (line[last] >= '0' && line[last] <= '9'))) {
        digits = digits || (line[last] != '-' && line[last] != '.');
        ++last;
    }
    wellFormed = false;
    if (!digits)
        return last;
    double parsed = 0.0;
    const char* end = line.data() + last;
    const auto result = std::from_chars(line.data() + first, end, parsed);
    if (result.ec != std::errc() || result.ptr != end || !(std::fabs(parsed) <= std::numeric_limits<float>::max()))
        return last;
    value = static_cast<float>(parsed);
    wellFormed = true;
    return last;
}

// Removes the first occurrence of the letter with the number right after it.
// True, with the value and its text, when the number is a well-formed one; a
// malformed or empty number is dropped with its letter.
bool TakeWord(TNcSimulation& sim, std::string& line, std::string_view letter, float& value,
              std::string* text = nullptr)
{
    CountScan(sim, line);
    const std::size_t at = line.find(letter);
    if (at == std::string::npos)
        return false;
    const std::size_t first = at + letter.size();
    float read = 0.0f;
    bool wellFormed = false;
    const std::size_t last = ReadNumber(line, first, read, wellFormed);
    if (wellFormed) {
        value = read;
        if (text != nullptr)
            *text = line.substr(first, last - first);
    }
    line.erase(at, last - at);
    return wellFormed;
}

// Every G word of the line in one pass, left to right, as taking the first
// of the rest each time would give: the motion codes set the motion (the
// last one wins), the others are ignored. The G words leave the line.
void TakeMotionWords(TNcSimulation& sim, std::string& line, int& motion)
{
    CountScan(sim, line);
    std::string rest;
    rest.reserve(line.size());
    std::size_t at = 0;
    for (std::size_t g = line.find('G'); g != std::string::npos; g = line.find('G', at)) {
        rest.append(line, at, g - at);
        float value = 0.0f;
        bool wellFormed = false;
        at = ReadNumber(line, g + 1, value, wellFormed);
        // A code beyond the motions is ignored before it could pass the range of an int.
        if (!wellFormed || value < 0.0f || value > static_cast<float>(MOTION_CYCLE_LAST))
            continue;
        const int code = static_cast<int>(value);
        if (code == value && (code <= MOTION_CCW || code >= MOTION_CYCLE_CANCEL))
            motion = code;
    }
    rest.append(line, at, std::string::npos);
    line.swap(rest);
}

bool Contains(const std::string& line, std::string_view text)
{
    return !text.empty() && line.find(text) != std::string::npos;
}

void RemoveText(TNcSimulation& sim, std::string& line, std::string_view text)
{
    CountScan(sim, line);
    const std::size_t at = line.find(text);
    if (at != std::string::npos)
        line.erase(at, text.size());
}

void AddTime(double& seconds, double length, double rate)
{
    // A rate of 0 or below would give an endless or negative time.
    if (rate > 0.0)
        seconds += length / rate * 60.0;
}

// The half circle of radius r around p from angle `from`, turning by pi, its
// first point left out.
void AppendCap(std::vector<TVect>& points, TVect p, double r, double from)
{
    for (int k = 1; k <= kCapSteps; ++k) {
        const double a = from + std::numbers::pi * k / kCapSteps;
        points.push_back({p.X + r * std::cos(a), p.Y + r * std::sin(a)});
    }
}

// Points along an arc from angle `start`, turning by `sweep` (signed).
void AppendArc(std::vector<TVect>& points, TVect c, double radius, double start, double sweep, bool withFirst)
{
    const int steps = std::max(2, static_cast<int>(std::ceil(std::abs(sweep) / kTwoPi * kArcStepsPerTurn)));
    for (int k = withFirst ? 0 : 1; k <= steps; ++k) {
        const double a = start + sweep * k / steps;
        points.push_back({c.X + radius * std::cos(a), c.Y + radius * std::sin(a)});
    }
}

void ShowLimits(TNcSimulation& sim, const TNcExtents& before)
{
    if (!sim.LimitShown)
        return;
    const TNcExtents& now = sim.Extents;
    if (before.Empty || now.XMax != before.XMax)
        sim.LimitShown(TNcLimit::XMax, now.XMax);
    if (before.Empty || now.XMin != before.XMin)
        sim.LimitShown(TNcLimit::XMin, now.XMin);
    if (before.Empty || now.YMax != before.YMax)
        sim.LimitShown(TNcLimit::YMax, now.YMax);
    if (before.Empty || now.YMin != before.YMin)
        sim.LimitShown(TNcLimit::YMin, now.YMin);
}

void IncludePoint(TNcSimulation& sim, float x, float y)
{
    const TNcExtents before = sim.Extents;
    if (sim.Extents.Include(x, y))
        ShowLimits(sim, before);
}

void SimulateStraight(TNcSimulation& sim, int motion, float toolRadius, TVect from, TVect to, double lengthScale)
{
    const TColor pen = motion == MOTION_RAPID ? SIM_RAPID_COLOR : SIM_WORK_COLOR;
    if (sim.Drawing != nullptr && sim.Toolpath3D == nullptr) {
        if (sim.Wireframe || motion == MOTION_RAPID || toolRadius == 0.0f)
            sim.Drawing->Polyline({from, to}, pen);
        else if (from.X == to.X && from.Y == to.Y)
            sim.Drawing->Disc(to, toolRadius, pen, LayerContrastColor);
        else
            sim.Drawing->Polygon(SweptLine(from, to, toolRadius), pen, LayerContrastColor);
    }
    const double length = PointDistance(from, to) * lengthScale;
    if (motion == MOTION_RAPID)
        AddTime(sim.RapidSeconds, length, sim.RapidRate);
    else
        AddTime(sim.WorkSeconds, length, sim.FeedRate);
}

void IncludeCircle(TNcSimulation& sim, const TNcArc& arc)
{
    const TNcExtents before = sim.Extents;
    const TVect c = arc.Centre;
    bool changed = sim.Extents.Include(static_cast<float>(c.X - arc.Radius), static_cast<float>(c.Y - arc.Radius));
    changed = sim.Extents.Include(static_cast<float>(c.X + arc.Radius), static_cast<float>(c.Y + arc.Radius)) || changed;
    if (changed)
        ShowLimits(sim, before);
}

void DrawArc(TNcSimulation& sim, const TNcArc& arc, float toolRadius)
{
    const TVect c = arc.Centre;
    const double radius = arc.Radius;
    std::vector<TVect> points;
    if (sim.Wireframe || toolRadius == 0.0f) {
        const int steps = std::max(2, static_cast<int>(std::ceil(arc.Sweep / kTwoPi * kArcStepsPerTurn)));
        points.reserve(static_cast<std::size_t>(steps) + 1);
        for (int k = 0; k <= steps; ++k)
            points.push_back(arc.PointAt(static_cast<double>(k) / steps));
        sim.Drawing->Polyline(points, SIM_WORK_COLOR);
        return;
    }
    // The band between radius - r and radius + r with a round end at each
    // end point, built counter-clockwise from the arc's first angle.
    const double r = toolRadius;
    const double sweep = arc.Sweep;
    const double inner = std::max(radius - r, 0.0);
    const double first = arc.Clockwise ? arc.StartAngle - sweep : arc.StartAngle;
    const TVect s{c.X + radius * std::cos(first), c.Y + radius * std::sin(first)};
    const TVect e{c.X + radius * std::cos(first + sweep), c.Y + radius * std::sin(first + sweep)};
    AppendArc(points, c, radius + r, first, sweep, true);
    AppendCap(points, e, r, first + sweep);
    AppendArc(points, c, inner, first + sweep, -sweep, false);
    AppendCap(points, s, r, first + std::numbers::pi);
    points.pop_back();
    sim.Drawing->Polygon(points, SIM_WORK_COLOR, LayerContrastColor);
}

void SimulateDrill(TNcSimulation& sim, float z, float toolRadius, TVect from, TVect at, double lengthScale)
{
    if (sim.Drawing != nullptr && sim.Toolpath3D == nullptr) {
        if (sim.Wireframe || toolRadius == 0.0f)
            sim.Drawing->Dot(at, SIM_WORK_COLOR);
        else
            sim.Drawing->Disc(at, toolRadius, SIM_WORK_COLOR, LayerContrastColor);
        sim.Drawing->Polyline({from, at}, SIM_RAPID_COLOR);
    }
    const double depth = std::abs(static_cast<double>(z) - sim.CycleDepth);
    AddTime(sim.RapidSeconds, PointDistance(from, at) * lengthScale, sim.RapidRate);
    AddTime(sim.WorkSeconds, depth, sim.PlungeRate);
    AddTime(sim.RapidSeconds, depth, sim.RapidRate);
}

} // namespace

bool TNcExtents::Include(float x, float y)
{
    if (Empty) {
        Empty = false;
        XMin = XMax = x;
        YMin = YMax = y;
        return true;
    }
    bool changed = false;
    // Strict comparisons: an equal value is no change.
    if (x > XMax) { XMax = x; changed = true; }
    if (x < XMin) { XMin = x; changed = true; }
    if (y > YMax) { YMax = y; changed = true; }
    if (y < YMin) { YMin = y; changed = true; }
    return changed;
}

bool ParseNcLine(std::string line, TNcMove& move, const TPostSettings& post, TNcSimulation& sim)
{
    if (post.IncrementalMode) {
        move.X = 0.0f;
        move.Y = 0.0f;
    }
    // An empty comment opener would be found at the start of every line.
    if (Contains(line, post.StartComment)) {
        const std::size_t tag = line.find("TLDIA=");
        if (tag != std::string::npos) {
            line.erase(tag, 5);
            float diameter = 0.0f;
            if (TakeWord(sim, line, "=", diameter))
                sim.ToolRadius = diameter / 2.0f;
        }
        line.erase(line.find(post.StartComment));
    }
    if (const std::size_t home = line.find("G28"); home != std::string::npos)
        line.erase(home);

    const bool rapidWord = post.HasFeedRapid && Contains(line, post.FeedRapid);
    bool values = false;
    float value = 0.0f;
    switch (post.Dialect) {
    case DIALECT_ISO:
    case DIALECT_OTHER: {
        if (rapidWord)
            RemoveText(sim, line, post.FeedRapid);
        if (TakeWord(sim, line, "F", value)) {
            values = true;
            sim.FeedRate = value;
            sim.PlungeRate = value;
        }
        TakeMotionWords(sim, line, move.Motion);
        if (move.Motion == MOTION_CW || move.Motion == MOTION_CCW) {
            move.I = 0.0f;
            move.J = 0.0f;
            move.R = 0.0f;
            values = TakeWord(sim, line, "I", move.I) || values;
            values = TakeWord(sim, line, "J", move.J) || values;
            if (line.find('R') != std::string::npos)
                values = TakeWord(sim, line, "R", move.R) || values;
            else
                values = TakeWord(sim, line, "U", move.R) || values;
        } else if (IsDrillCycle(move.Motion)) {
            values = TakeWord(sim, line, "R", move.CycleR) || values;
        }
        break;
    }
    case DIALECT_HEI: {
        move.R = 0.0f;
        if (line.find('L') != std::string::npos) {
            RemoveText(sim, line, "L");
            move.Motion = MOTION_LINEAR;
        }
        if (line.find("CC") != std::string::npos) {
            // The centre of the next arc: not a move.
            RemoveText(sim, line, "CC");
            TakeWord(sim, line, "X", move.I);
            TakeWord(sim, line, "Y", move.J);
            return false;
        }
        if (line.find('C') != std::string::npos) {
            RemoveText(sim, line, "C");
            if (Contains(line, "DR+")) {
                RemoveText(sim, line, "DR+");
                move.Motion = MOTION_CCW;
            } else if (Contains(line, "DR-")) {
                RemoveText(sim, line, "DR-");
                move.Motion = MOTION_CW;
            }
        }
        break;
    }
    default:
        break;
    }

    if (rapidWord && (move.Motion == MOTION_RAPID || move.Motion == MOTION_LINEAR))
        move.Motion = MOTION_RAPID;
    move.PlaneWord = TakeWord(sim, line, "X", move.X);
    move.PlaneWord = TakeWord(sim, line, "Y", move.Y) || move.PlaneWord;
    std::string zText;
    move.ZWord = TakeWord(sim, line, "Z", value, &zText);
    if (move.ZWord)
        move.Z = zText;
    return values || move.PlaneWord || move.ZWord;
}

std::vector<TVect> SweptLine(TVect from, TVect to, double r)
{
    const double a = std::atan2(to.Y - from.Y, to.X - from.X);
    const double right = a - std::numbers::pi / 2.0;
    std::vector<TVect> points;
    points.reserve(2 * kCapSteps + 2);
    points.push_back({from.X + r * std::cos(right), from.Y + r * std::sin(right)});
    points.push_back({to.X + r * std::cos(right), to.Y + r * std::sin(right)});
    AppendCap(points, to, r, right);
    points.push_back({from.X - r * std::cos(right), from.Y - r * std::sin(right)});
    AppendCap(points, from, r, right + std::numbers::pi);
    points.pop_back();
    return points;
}

void SimulateMove(TNcSimulation& sim, int motion, bool fromFile, float z, float toolRadius, float arcR, float x,
                  float y, const TPostSettings& post)
{
    const TVect from{sim.PrevX, sim.PrevY};
    const TVect to{x, y};
    // Moves being written are in drawing units, the program's words in the
    // post's: times count the lengths the control is told, at its rates.
    const double lengthScale = !fromFile && post.Scaling ? post.XAxis.Scale : 1.0;
    const bool arcMotion = motion == MOTION_CW || motion == MOTION_CCW;
    std::optional<TNcArc> arc;
    if (arcMotion)
        arc = NcArcOfMove(from, to, motion == MOTION_CW, arcR,
                          NcArcCentreFromWords(from, sim.ArcI, sim.ArcJ, post.ArcCenter, fromFile));
    if (motion == MOTION_RAPID || motion == MOTION_LINEAR || (arcMotion && !arc)) {
        // An arc without a circle leaves the tool cutting where it stands.
        IncludePoint(sim, x, y);
        SimulateStraight(sim, arcMotion ? MOTION_LINEAR : motion, toolRadius, from, to, lengthScale);
    } else if (arcMotion) {
        IncludeCircle(sim, *arc);
        if (sim.Drawing != nullptr && sim.Toolpath3D == nullptr)
            DrawArc(sim, *arc, toolRadius);
        AddTime(sim.WorkSeconds, arc->Radius * arc->Sweep * lengthScale, sim.FeedRate);
    } else if (IsDrillCycle(motion)) {
        IncludePoint(sim, x, y);
        SimulateDrill(sim, z, toolRadius, from, to, lengthScale);
    }
    if (sim.Toolpath3D != nullptr)
        DisegnaNc3d(*sim.Toolpath3D, motion, x, y, sim.ZCurrent, z, arc);
    sim.PrevX = x;
    sim.PrevY = y;
}

void AddZMoveTime(TNcSimulation& sim, bool isWork, float z)
{
    if (sim.ZKnown && z == sim.LastZ)
        return;
    // The first Z of a program only tells where the tool is.
    if (sim.ZKnown)
        AddTime(isWork ? sim.WorkSeconds : sim.RapidSeconds, std::abs(sim.LastZ - z),
                isWork ? sim.PlungeRate : sim.RapidRate);
    sim.LastZ = z;
    sim.ZKnown = true;
}

void ShowZDepth(TNcSimulation& sim, bool isWork, float z)
{
    sim.ZCurrent = z;
    float& lowest = isWork ? sim.ZMinWork : sim.ZMinRapid;
    const bool below = z < lowest;
    if (below)
        lowest = z;
    if (sim.ZGauge)
        sim.ZGauge(isWork, z, below);
}

void ResetSimulation(TNcSimulation& sim)
{
    sim.ZMinWork = 9999.0f;
    sim.ZMinRapid = 9999.0f;
    sim.Extents = {};
    sim.ArcI = 0.0f;
    sim.ArcJ = 0.0f;
    sim.ZKnown = false;
    if (sim.GaugeCleared)
        sim.GaugeCleared();
}

TNcPainterDrawing::TNcPainterDrawing(QPainter& painter, const TTransform2D& worldToScreen)
    : painter_(painter), map_(worldToScreen)
{
}

namespace {

QPointF Map(const TTransform2D& map, TVect p)
{
    const TPoint2D s = ApplyTransform2D({static_cast<float>(p.X), static_cast<float>(p.Y), 1.0f}, map);
    return {s.X, s.Y};
}

QPolygonF MapAll(const TTransform2D& map, const std::vector<TVect>& points)
{
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const TVect& p : points)
        polygon.append(Map(map, p));
    return polygon;
}

} // namespace

void TNcPainterDrawing::Polyline(const std::vector<TVect>& points, TColor pen)
{
    painter_.setPen(QPen(ToQColor(pen)));
    painter_.drawPolyline(MapAll(map_, points));
}

void TNcPainterDrawing::Polygon(const std::vector<TVect>& points, TColor pen, TColor brush)
{
    painter_.setPen(QPen(ToQColor(pen)));
    painter_.setBrush(ToQColor(brush));
    painter_.drawPolygon(MapAll(map_, points));
}

void TNcPainterDrawing::Disc(TVect centre, double radius, TColor pen, TColor brush)
{
    const QPointF c = Map(map_, centre);
    const QPointF edge = Map(map_, {centre.X + radius, centre.Y});
    const double r = std::hypot(edge.x() - c.x(), edge.y() - c.y());
    painter_.setPen(QPen(ToQColor(pen)));
    painter_.setBrush(ToQColor(brush));
    painter_.drawEllipse(c, r, r);
}

void TNcPainterDrawing::Dot(TVect point, TColor pen)
{
    painter_.setPen(QPen(ToQColor(pen)));
    painter_.drawPoint(Map(map_, point));
}

bool ReadBackKnowsDialect(TNcDialect dialect)
{
    return dialect != DIALECT_XIL && dialect != DIALECT_SBO;
}

void RestartReadBack(TNcSimulation& sim)
{
    sim.WorkSeconds = 0.0;
    sim.RapidSeconds = 0.0;
    sim.LastZText = NO_Z_TEXT;
    sim.ZKnown = false;
    sim.IncrementalZ = 0.0f;
    sim.ZCurrent = 0.0f;
    sim.FirstMove = true;
    sim.Move = TNcMove();
}

namespace {

// The Z of the line after it was read: known, and whether the line moved it.
struct TLineZ {
    float Z = 0.0f;
    bool Known = false;
    bool Moved = false;
};

TLineZ LineZ(TNcSimulation& sim, const TNcMove& move, const TPostSettings& post)
{
    TLineZ result;
    double parsed = 0.0;
    const char* zEnd = move.Z.data() + move.Z.size();
    const bool read = move.Z != NO_Z_TEXT && std::from_chars(move.Z.data(), zEnd, parsed).ec == std::errc();
    if (post.IncrementalMode) {
        if (move.ZWord && read && parsed != 0.0) {
            sim.IncrementalZ += static_cast<float>(parsed);
            result.Moved = true;
        }
        result.Z = sim.IncrementalZ;
        result.Known = read;
        return result;
    }
    result.Known = read;
    result.Z = read ? static_cast<float>(parsed) : 0.0f;
    result.Moved = read && move.Z != sim.LastZText;
    if (result.Moved)
        sim.LastZText = move.Z;
    return result;
}

} // namespace

bool SimulateNcLine(TNcSimulation& sim, const std::string& line, const TPostSettings& post, TNcReadMode mode)
{
    TNcMove& move = sim.Move;
    if (!ParseNcLine(line, move, post, sim))
        return false;
    // An incremental program starts at its zero, where its steps count from.
    if (sim.FirstMove && post.IncrementalMode) {
        sim.PrevX = 0.0f;
        sim.PrevY = 0.0f;
        sim.FirstMove = false;
    }
    if (post.IncrementalMode) {
        move.X += sim.PrevX;
        move.Y += sim.PrevY;
    }
    // Until a line names a point the tool's place in the plane is unknown:
    // Z moves before it draw nothing and stretch no limit.
    const bool placed = !sim.FirstMove || move.PlaneWord;
    if (sim.FirstMove && move.PlaneWord) {
        sim.PrevX = move.X;
        sim.PrevY = move.Y;
        sim.FirstMove = false;
    }
    const TLineZ z = LineZ(sim, move, post);
    sim.CycleDepth = z.Z;
    if (z.Known || post.IncrementalMode)
        sim.ZCurrent = z.Z;
    sim.ArcI = move.I;
    sim.ArcJ = move.J;
    const double work = sim.WorkSeconds;
    const double rapid = sim.RapidSeconds;
    const float radius = mode == TNcReadMode::Step ? sim.ToolRadius : 0.0f;
    if (placed)
        SimulateMove(sim, move.Motion, true, move.CycleR, radius, move.R, move.X, move.Y, post);
    if (z.Moved) {
        // A drill cycle's depth was counted with its point.
        if (mode == TNcReadMode::Step && !IsDrillCycle(move.Motion))
            AddZMoveTime(sim, move.Motion != MOTION_RAPID, z.Z);
        ShowZDepth(sim, move.Motion != MOTION_RAPID, z.Z);
    }
    if (mode == TNcReadMode::Scroll) {
        sim.WorkSeconds = work;
        sim.RapidSeconds = rapid;
    }
    return true;
}
