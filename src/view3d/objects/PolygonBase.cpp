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

std::unique_ptr<TGLBaseSceneObject> TGLPolygonBase::CreateNew() const
{
    return std::make_unique<TGLPolygonBase>();
}

void TGLPolygonBase::Assign(const TGLBaseSceneObject& source)
{
    const auto* other = dynamic_cast<const TGLPolygonBase*>(&source);
    if (other && other != this) {
        DivisionValue = other->DivisionValue;
        Mode = other->Mode;
        NodeList.BeginUpdate();
        NodeList.Clear();
        for (int i = 0; i < other->NodeList.Count(); ++i)
            NodeList.AddNode().Assign(other->NodeList[i]);
        NodeList.EndUpdate();
        StructureChanged();
    }
    TGLSceneObject::Assign(source);
}
