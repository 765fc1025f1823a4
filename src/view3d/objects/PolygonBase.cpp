#include "view3d/objects/PolygonBase.h"

#include <algorithm>

TGLPolygonBase::TGLPolygonBase(TGLNotifyObject* owner) : TGLSceneObject(owner), NodeList(this) {}

void TGLPolygonBase::SetDivision(int value)
{
    value = std::max(value, 1);
    if (DivisionValue == value)
        return;
    DivisionValue = value;
    StructureChanged();
}

void TGLPolygonBase::SetSplineMode(TLineSplineMode value)
{
    if (Mode == value)
        return;
    Mode = value;
    StructureChanged();
}

void TGLPolygonBase::NotifyChange(TGLNotifyObject* sender)
{
    if (sender == &NodeList)
        StructureChanged();
    else
        TGLSceneObject::NotifyChange(sender);
}
