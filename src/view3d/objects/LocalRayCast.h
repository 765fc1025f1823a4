#pragma once

// A ray cast of a shape answered in its own coordinates: the ray is brought
// into the object's local coordinates, cast there, and the hit and its
// normal are turned back to absolute coordinates.

#include <functional>
#include <optional>

#include "view3d/objects/ShapeRayCasts.h"

class TGLBaseSceneObject;

bool RayCastInLocalCoordinates(const TGLBaseSceneObject& object, const Vector4f& rayStart, const Vector4f& rayVector,
                               Vector4f* intersectPoint, Vector4f* intersectNormal,
                               const std::function<std::optional<TShapeHit>(const TShapeRay&)>& cast);
