#pragma once

// The setters of the objects' properties: a value that differs is stored
// and the object's drawing is built again at the next frame.

#include "view3d/scene/BaseSceneObject.h"

template <class T>
void ChangeProperty(TGLBaseSceneObject& object, T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    object.StructureChanged();
}
