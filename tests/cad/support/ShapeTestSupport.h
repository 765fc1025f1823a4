#pragma once

// Helpers shared by the shape tests: a canvas that records what is drawn,
// a view that flips Y like the screen, and a recorder of the shape hooks.

#include <map>
#include <string>
#include <vector>

#include "cad/canvas/DecorativeCanvas.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Outline2D.h"
#include "cad/shapes/ShapeDrawHooks.h"

namespace shapetest {

class TShapeRecordingCanvas : public TDecorativeCanvas {
public:
    void MoveTo(int x, int y) override { Position = {x, y}; }
    void LineTo(int x, int y) override
    {
        Segments.push_back({Position, {x, y}});
        Position = {x, y};
    }
    void Polyline(const TWindowPoint* points, int count) override { Polylines.emplace_back(points, points + count); }
    void Polygon(const TWindowPoint* points, int count) override { Polygons.emplace_back(points, points + count); }
    void Rectangle(int left, int top, int, int) override { Markers.push_back({left, top}); }

    int Calls() const
    {
        return static_cast<int>(Segments.size() + Polylines.size() + Polygons.size() + Markers.size());
    }

    std::vector<std::vector<TWindowPoint>> Segments;
    std::vector<std::vector<TWindowPoint>> Polylines;
    std::vector<std::vector<TWindowPoint>> Polygons;
    std::vector<TWindowPoint> Markers;

private:
    TWindowPoint Position;
};

// World (x, y) to pixel (x, height - y).
inline TTransform2D FlipView(float height)
{
    TTransform2D t;
    t.M[1][1] = -1.0f;
    t.M[2][1] = height;
    return t;
}

inline TRect2D ScreenClip(float width, float height)
{
    return MakeRect2D(0, 0, width, height);
}

inline std::vector<TPoint2D> ProfileOf(const TOutline2D& outline)
{
    TProfileUse use(outline);
    const TPointsSet2D& profile = outline.ProfilePoints();
    std::vector<TPoint2D> points;
    for (int i = 0; i < profile.Count(); ++i)
        points.push_back(profile[i]);
    return points;
}

// Records the hooks for one scope, then leaves them unset again.
class THookRecorder {
public:
    THookRecorder()
    {
        ShapeDrawHooks().SetLabel = [this](const char* label, const std::string& text) { Labels[label] = text; };
        ShapeDrawHooks().InfoLinea = [this](TPoint2D a, TPoint2D b) { Lines.push_back({a, b}); };
    }
    ~THookRecorder() { ShapeDrawHooks() = TShapeDrawHooks{}; }
    THookRecorder(const THookRecorder&) = delete;
    THookRecorder& operator=(const THookRecorder&) = delete;

    std::map<std::string, std::string> Labels;
    std::vector<std::vector<TPoint2D>> Lines;
};

} // namespace shapetest
