#include "view3d/objects/PolygonBase.h"

#include <algorithm>

#include "view3d/objects/ChangeProperty.h"

TGLPolygonBase::TGLPolygonBase(TGLNotifyObject* owner) : TGLSceneObject(owner), NodeList(this) {}

void TGLPolygonBase::SetDivision(int value)
{
    ChangeProperty(*this, DivisionValue, std::max(value, 1));
}

void TGLPolygonBase::SetSplineMode(TLineSplineMode value)
{
    ChangeProperty(*this, Mode, value);
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
