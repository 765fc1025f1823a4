#pragma once

// The setters of the shapes: a changed value is stored and the object's
// drawing is built again at the next frame.

#include "view3d/scene/BaseSceneObject.h"

template <typename T>
void SetShapeProperty(TGLBaseSceneObject& object, T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    object.StructureChanged();
}
