#pragma once

// The new entities the drawing commands hand to the drawing and placing
// tasks, built around their own origin (the task moves them to the pointer).

#include <cstdint>
#include <memory>
#include <string>

#include "cad/geometry/CADBaseTypes.h"

class TCADPrg;
class TContainer2D;
class TObject2D;
struct TCommandRow;

// The parameter fields of the drawing pages, as numbers.
struct TDrawingParameters {
    double CircleDiameter = 1;       // txtDiamArco
    double PolarArcDiameter = 1;     // txtDiamArcoPolare
    double PolarArcStart = 0;        // rseArcoPolareSa, degrees
    double PolarArcEnd = 0;          // rseArcoPolareEa, degrees
    double PolarLineLength = 1;      // txtLinePolLen
    double PolarLineAngle = 0;       // txtLinePolAngle, degrees
};

// The object the starter of a command code (1 to 11) hands over; none for
// other codes.
std::unique_ptr<TObject2D> StarterPrimitive(std::int32_t code, const TDrawingParameters& parameters);

struct TPointGridParameters {
    double Dx = 2;
    double Dy = 2;
    int Nx = 5;
    int Ny = 5;
    double Angle = 0; // degrees
};

// Typing a large count into a grid field rebuilds the grid on every key, so
// larger grids are refused.
inline constexpr std::int64_t kMaxGridPoints = 100000;

// Rows outer, columns inner; the reference point is the grid's lower-left
// corner. None, with the reason in error, when the grid is too large.
std::unique_ptr<TContainer2D> PointGrid(const TPointGridParameters& grid, std::string& error);

struct TBoltCircleParameters {
    double Radius = 1;
    double StartAngle = 0;   // degrees
    double AngleBetween = 45; // degrees
    int Count = 8;
    double HoleDiameter = 1;
    bool CreatePoints = true;
    bool CreateHoles = false;
};

// The same cap as the point grid.
std::unique_ptr<TContainer2D> BoltCircle(const TBoltCircleParameters& bolt, std::string& error);

// An angle in degrees brought into [0, 360).
double ReduceDegrees(double degrees);

// Starts the drawing or placing task the command's row names with the object,
// stopping a running operation first. False when the row starts no such task
// or the object does not suit it.
bool StartDrawingTask(TCADPrg& runner, const TCommandRow& row, std::unique_ptr<TObject2D> object);
