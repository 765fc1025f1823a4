#pragma once

// The read-only tools: the properties of one picked entity and the count of
// the drawing's entities (both as a tree), and the live read-outs of a line
// being drawn and of a measured distance.

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cad/engine/CAD2DState.h"
#include "cad/geometry/CADBaseTypes.h"

class TCADCmp2D;
class TObject2D;

struct TInfoNode {
    std::string Text;
    std::vector<TInfoNode> Children;

    TInfoNode& Add(std::string text)
    {
        Children.push_back({std::move(text), {}});
        return Children.back();
    }
};

// The tree of one entity, its points in world coordinates; none for the
// classes that have no information.
std::unique_ptr<TInfoNode> EntityInfoTree(const TObject2D& object);

// The drawing summary: the counts of the visible entities by class, and of
// those on hidden layers.
TInfoNode DrawingSummaryTree(TCADCmp2D& drawing);

// Where the end-point markers go, in world coordinates: both ends of a line,
// the start and end of an arc, the centre and the defining point of a circle,
// the first and last point of a polyline. Only shown objects on visible
// layers count; other classes have no end points to show.
std::vector<TPoint2D> EndPointMarkers(TCADCmp2D& drawing);

struct TSegmentReadout {
    double Dx = 0;
    double Dy = 0;
    double Length = 0;
    // Degrees in [0, 360).
    double Angle = 0;
};
TSegmentReadout MeasureSegment(TPoint2D a, TPoint2D b);

// A value in the unit display format: three decimals in millimetres, four in inches.
std::string InfoNumber(double value);

// Where the read-outs go; the main window sets the functions.
struct TInfoOutput {
    std::function<void(const TInfoNode& tree)> ShowTree;
    // dX, dY, length, angle.
    std::function<void(const std::array<std::string, 4>& texts)> ShowLine;
    // X1, Y1, X2, Y2, dX, dY, length, angle.
    std::function<void(const std::array<std::string, 8>& texts)> ShowDistance;
};
TInfoOutput& InfoOutput();

void InfoLinea(TPoint2D a, TPoint2D b);
void InfoDistanza(TPoint2D a, TPoint2D b);
// Lets the line-drawing task and the distance task feed the read-outs.
void InstallInfoReadouts();

// After-state of the information command's pick: shows the picked object's
// tree, ends the operation and shows the object highlighted.
class TMySelInfo : public TCAD2DState {
public:
    static constexpr const char* ClassName = "TMySelInfo";
    TMySelInfo(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
};
