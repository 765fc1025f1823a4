#pragma once

// The drawing side of the editing commands: entities read as world geometry,
// and the objects they add, change and replace. New objects take the layer of
// the entity they come from; an entity replaced one for one keeps its ID.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "cad/geometry/CADBaseTypes.h"
#include "edit/geometry/FilletGeometry.h"

class TArco2D;
class TCADCmp2D;
class TCADViewport2DCore;
class TCerchio2D;
class TLine2D;
class TObject2D;
class TPolyline2D;
class TPrimitive2D;

// Control point i through the object's transform.
TVect WorldPoint(const TPrimitive2D& primitive, int index);
std::vector<TVect> WorldPoints(const TPrimitive2D& primitive);

// A circular arc or circle in world terms; a circle sweeps the full turn
// (start = end = 0).
struct TCircleArc {
    TVect Centre;
    double Radius = 0.0;
    TArcAngles Angles;
};
TCircleArc ArcOf(const TArco2D& arc);
TCircleArc CircleOf(const TCerchio2D& circle);
// The whole circle of an arc or circle; none for other classes.
std::optional<TCircleArc> CircleOfEntity(const TObject2D* object);
TVect PointOnArc(const TCircleArc& arc, double angle);

std::unique_ptr<TLine2D> NewLine(TVect start, TVect end);
std::unique_ptr<TPolyline2D> NewPolyline(const std::vector<TVect>& points);
TLine2D& AddLine(TCADCmp2D& drawing, TVect start, TVect end, std::uint8_t layer);
TArco2D& AddArc(TCADCmp2D& drawing, TVect centre, double radius, TArcAngles angles, std::uint8_t layer);
TPolyline2D& AddPolyline(TCADCmp2D& drawing, const std::vector<TVect>& points, std::uint8_t layer);

// The object's transform is dropped and the world points written in.
void SetWorldPoints(TPrimitive2D& primitive, const std::vector<TVect>& points);
// The arc is changed in place to the world arc; its transform is dropped.
void SetWorldArc(TArco2D& arc, const TCircleArc& world);

// The circle becomes a full-turn arc of its centre and radius, on its layer;
// the circle is deleted.
TArco2D& ReplaceCircleByArc(TCADCmp2D& drawing, TCerchio2D& circle);

// The new object takes the old one's place: its ID and layer. The old one
// is freed.
TObject2D& ReplaceObject(TCADCmp2D& drawing, TObject2D& old, std::unique_ptr<TObject2D> replacement);

// The arc's pieces are added on its layer; true when there were any.
bool AddArcPieces(TCADCmp2D& drawing, const TCircleArc& arc, const std::vector<TArcAngles>& pieces,
                  std::uint8_t layer);

// The entity as a run of world points for cutting: a line's two ends, a
// frame's closed outline, a polyline's points, another curve's profile.
// Empty for classes that have no outline to cut.
std::vector<TVect> RunOf(TObject2D& object);

// The point of a line (on its infinite line), arc or circle (on its whole
// circle) nearest to the given point; none for other classes and for a point
// at a circle's centre.
std::optional<TVect> NearestOnEntity(TObject2D& object, TVect point);

// A small circle drawn with the rubber pen, not into the drawing.
void MarkPoint(TCADViewport2DCore* view, TVect point);
