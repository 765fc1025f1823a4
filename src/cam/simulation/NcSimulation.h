#pragma once

// Reading NC lines back and simulating them: the parser that turns one line
// of a program (ISO words or the HEI conversational dialect) into a move,
// and the simulation that draws each move over the drawing, keeps the X/Y
// extents and the lowest Z values, and adds up the machining times. The
// generators hand their moves to the same simulation while they write.

#include <functional>
#include <string>
#include <vector>

#include "cad/base/Settings.h"
#include "cad/geometry/CADBaseTypes.h"
#include "cam/nc/PostSettings.h"

class QPainter;
class TNcToolpath3D;

// Motion codes beyond those of the post's motion words.
inline constexpr int MOTION_CYCLE_CANCEL = 80;
inline constexpr int MOTION_CYCLE_FIRST = 81;
inline constexpr int MOTION_CYCLE_LAST = 86;

inline constexpr bool IsDrillCycle(int motion)
{
    return motion >= MOTION_CYCLE_FIRST && motion <= MOTION_CYCLE_LAST;
}

// The Z text of a move before any Z word was read.
inline constexpr char NO_Z_TEXT[] = "9999";

// One NC move as the parser reads it. The motion, the point and the Z text
// stay from line to line, as the control keeps them.
struct TNcMove {
    int Motion = MOTION_RAPID;
    float X = 0.0f;
    float Y = 0.0f;
    std::string Z = NO_Z_TEXT;
    // Arc centre words, or the centre of the HEI "CC" line.
    float I = 0.0f;
    float J = 0.0f;
    // The arc's radius word; 0 when the arc is given by its centre.
    float R = 0.0f;
    // The reference level of a drill cycle.
    float CycleR = 0.0f;
    // Whether the last line read held an X or Y word, and a Z word.
    bool PlaneWord = false;
    bool ZWord = false;
};

// Whether the read-back understands the post's dialect: ISO and HEI words
// (and unknown dialects, written as ISO); XIL and SBO lines are not read.
bool ReadBackKnowsDialect(TNcDialect dialect);
// What the NC page says instead of limits and a time it could not find.
inline constexpr char DIALECT_NOT_READ[] =
    "The simulation does not read this post's dialect: no limits and no machining time";

// Where the simulation draws; points are drawing coordinates. Filled shapes
// take the brush, outlines the pen.
class TNcDrawing {
public:
    virtual ~TNcDrawing() = default;
    virtual void Polyline(const std::vector<TVect>& points, TColor pen) = 0;
    virtual void Polygon(const std::vector<TVect>& points, TColor pen, TColor brush) = 0;
    virtual void Disc(TVect centre, double radius, TColor pen, TColor brush) = 0;
    virtual void Dot(TVect point, TColor pen) = 0;
};

// Draws with a painter through the view's drawing-to-screen mapping.
class TNcPainterDrawing final : public TNcDrawing {
public:
    TNcPainterDrawing(QPainter& painter, const TTransform2D& worldToScreen);
    void Polyline(const std::vector<TVect>& points, TColor pen) override;
    void Polygon(const std::vector<TVect>& points, TColor pen, TColor brush) override;
    void Disc(TVect centre, double radius, TColor pen, TColor brush) override;
    void Dot(TVect point, TColor pen) override;

private:
    QPainter& painter_;
    TTransform2D map_;
};

// Pens of the simulation: feed moves, arcs and drill points, and rapids.
inline constexpr TColor SIM_WORK_COLOR = 0xFFFF00;
inline constexpr TColor SIM_RAPID_COLOR = 0x00FFFF;

// The extents of the simulated moves; empty until the first move.
struct TNcExtents {
    bool Empty = true;
    float XMin = 0.0f;
    float XMax = 0.0f;
    float YMin = 0.0f;
    float YMax = 0.0f;

    // Grows to hold the point; true when a limit changed.
    bool Include(float x, float y);
};

enum class TNcLimit { XMax, XMin, YMax, YMin };

struct TNcSimulation {
    // The last point, and the last arc centre words (or the absolute centre
    // of the arc being generated).
    float PrevX = 0.0f;
    float PrevY = 0.0f;
    float ArcI = 0.0f;
    float ArcJ = 0.0f;
    // The parser's move, kept from line to line.
    TNcMove Move;
    // The editor line the next step reads (0 based).
    int CurrentLine = 0;
    // Half the "TLDIA=" value of the program's comment.
    float ToolRadius = 0.0f;
    // The Z text last shown on the gauge, and the last Z of the time sums.
    std::string LastZText = NO_Z_TEXT;
    float LastZ = 9999.0f;
    bool ZKnown = false;
    // The Z an incremental program has reached, from the program's zero.
    float IncrementalZ = 0.0f;
    // The first point read becomes the last point without a move.
    bool FirstMove = true;
    TNcExtents Extents;
    float ZMinWork = 9999.0f;
    float ZMinRapid = 9999.0f;
    // Machining times in seconds, and the rates in units per minute.
    double WorkSeconds = 0.0;
    double RapidSeconds = 0.0;
    double FeedRate = 1000.0;
    double PlungeRate = 1000.0;
    double RapidRate = 10000.0;
    // The depth a drill cycle goes down to, from the line's Z word.
    float CycleDepth = 0.0f;
    // Lines only, never swept areas.
    bool Wireframe = false;
    // The characters the parser went through: the work of reading the program.
    std::size_t ParsedCharacters = 0;

    // The Z of the line last read: where the 3D toolpath draws its moves.
    float ZCurrent = 0.0f;

    // Where moves are drawn: into the 3D toolpath while there is one, else
    // over the drawing; nothing is drawn without either.
    TNcDrawing* Drawing = nullptr;
    TNcToolpath3D* Toolpath3D = nullptr;
    // Told each limit that changed.
    std::function<void(TNcLimit, float)> LimitShown;
    // The Z gauge of the Z-depth window: the move kind, the Z and whether it
    // is the lowest of its kind so far.
    std::function<void(bool isWork, float z, bool lowest)> ZGauge;
    std::function<void()> GaugeCleared;

    double TotalSeconds() const { return WorkSeconds + RapidSeconds; }
};

// The program's simulation.
extern TNcSimulation NcSimulation;

// Reads one NC line into the move: motion, point, arc words, cycle level and
// the Z text; an F word sets the simulation's feed and plunge rates and a
// "TLDIA=" comment its tool radius. True when the line held a value word (a
// HEI centre line gives false). Malformed words are skipped.
bool ParseNcLine(std::string line, TNcMove& move, const TPostSettings& post, TNcSimulation& sim);

// Draws one move from the last point, grows the extents, adds its time and
// makes (x, y) the last point. Arcs take their centre from arcR or from the
// simulation's ArcI/ArcJ: read from a file (fromFile) as the post's ArcCenter
// says, during generation as the absolute centre. For drill cycles z is the
// reference level. The 3D toolpath draws the move at the simulation's ZCurrent.
void SimulateMove(TNcSimulation& sim, int motion, bool fromFile, float z, float toolRadius, float arcR, float x,
                  float y, const TPostSettings& post = PostSettings);

// The time of a Z move from the last Z, at the plunge rate for work moves and
// at the rapid rate otherwise.
void AddZMoveTime(TNcSimulation& sim, bool isWork, float z);

// Follows the Z on the gauge and keeps the lowest work and rapid Z.
void ShowZDepth(TNcSimulation& sim, bool isWork, float z);

// Empties the gauge and the extents, and resets the lowest Z values and the
// last arc centre.
void ResetSimulation(TNcSimulation& sim);

// A read of the program from its first line: the times, the Z and the last
// point start again, so that every read of the same text counts the same.
void RestartReadBack(TNcSimulation& sim);

// How a line read back is simulated: a step draws the swept area of the
// program's tool and adds the times, a scroll draws lines only and adds none.
enum class TNcReadMode { Step, Scroll };

// Reads one line of a program into the simulation's move and, when it is a
// move, simulates it from the last point (the first line with an X or Y word
// only gives the last point; the lines before it move Z alone), then follows
// the Z on the gauge. In an incremental post Z words are steps too. True
// when it was a move.
bool SimulateNcLine(TNcSimulation& sim, const std::string& line, const TPostSettings& post, TNcReadMode mode);

// The swept area of a straight move of a tool of radius r: both sides and two
// round ends.
std::vector<TVect> SweptLine(TVect from, TVect to, double r);
