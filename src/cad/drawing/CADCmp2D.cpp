#include "cad/drawing/CADCmp2D.h"

#include <algorithm>

#include "cad/base/CADExceptions.h"
#include "cad/drawing/CADViewportLink.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/model/GraphicObject.h"

TCADCmp::~TCADCmp()
{
    // Objects go first: block references among them still point at source blocks.
    FreeObjectsOnDestroy();
    FreeSourceBlocksOnDestroy();
    for (TCADViewportLink* viewport : Viewports)
        viewport->DrawingDestroyed();
}

void TCADCmp::AddViewport(TCADViewportLink* viewport)
{
    if (viewport && std::find(Viewports.begin(), Viewports.end(), viewport) == Viewports.end())
        Viewports.push_back(viewport);
}

void TCADCmp::RemoveViewport(TCADViewportLink* viewport)
{
    std::erase(Viewports, viewport);
}

void TCADCmp::RepaintViewports()
{
    for (TCADViewportLink* viewport : Viewports)
        viewport->RepaintView();
}

void TCADCmp::RefreshViewports()
{
    for (TCADViewportLink* viewport : Viewports)
        viewport->RefreshView();
}

void TCADCmp::DrawObjectInViewports(TObject2D& object)
{
    for (TCADViewportLink* viewport : Viewports)
        viewport->DrawObjectInView(object);
}

TColor TCADCmp::DefaultLayersColor() const
{
    return LayersValue.GetLayer(0).Pen().Color;
}

void TCADCmp::SetDefaultLayersColor(TColor color)
{
    for (int i = 0; i < TLayers::Count; ++i)
        LayersValue.GetLayer(i).ApplyDefaultColor(color);
}

void TCADCmp::AddNumbered(TGraphicObjList& list, std::int32_t& nextID, std::int32_t id,
                          std::unique_ptr<TGraphicObject> object)
{
    list.CheckNoIterators("Add"); // before any ID is spent
    // An ID in use is never given twice: selection, deletion and the stored
    // file all find objects by it.
    if (id < 0 || (id < nextID && list.FindObject(id)))
        id = nextID++;
    else if (id >= nextID)
        nextID = id + 1;
    object->OwnerCAD = this;
    object->Layer = CurrentLayer;
    object->ID = id;
    object->UpdateExtension();
    list.Add(std::move(object));
}

TObject2D* TCADCmp2D::AddObject(std::int32_t id, std::unique_ptr<TObject2D> object)
{
    TObject2D* added = object.get();
    AddNumbered(Objects, NextObjectID, id, std::move(object));
    if (DrawOnAdd)
        DrawObjectInViewports(*added);
    if (OnAddObject)
        OnAddObject(*this, *added);
    return added;
}

TObject2D* TCADCmp2D::GetObject(std::int32_t id)
{
    return dynamic_cast<TObject2D*>(Objects.FindObject(id));
}

void TCADCmp2D::DeleteObject(std::int32_t id)
{
    if (!GetObject(id))
        throw ECADListObjNotFound("TCADCmp.DeleteObject: No object found");
    Objects.Delete(id);
}

std::unique_ptr<TObject2D> TCADCmp2D::RemoveObject(std::int32_t id)
{
    TObject2D* object = GetObject(id);
    if (!object)
        throw ECADListObjNotFound("TCADCmp.RemoveObject: No object found");
    std::unique_ptr<TGraphicObject> removed = Objects.Remove(id);
    object->OwnerCAD = nullptr;
    return std::unique_ptr<TObject2D>(static_cast<TObject2D*>(removed.release()));
}

void TCADCmp2D::DeleteAllObjects()
{
    try {
        Objects.Clear();
    } catch (const ECADCoreException&) {
        // A list held by an iterator keeps its objects, so their IDs stay taken.
        return;
    }
    NextObjectID = 0;
}

void TCADCmp2D::TransformObjects(std::span<const std::int32_t> ids, const TTransform2D& t)
{
    if (ids.empty())
        return;
    {
        auto iterator = Objects.GetExclusiveIterator();
        auto transform = [&t](TGraphicObject* object) {
            if (auto* object2D = dynamic_cast<TObject2D*>(object)) {
                object2D->ComposeTransform(t);
                object2D->BakeTransform();
            }
        };
        if (ids.front() < 0) {
            for (TGraphicObject* object = iterator->First(); object; object = iterator->Next())
                transform(object);
        } else {
            for (std::int32_t id : ids)
                if (TGraphicObject* object = iterator->Search(id))
                    transform(object);
        }
    }
    if (RepaintAfterTransform)
        RepaintViewports();
}

void TCADCmp2D::TakeAllFrom(TCADCmp2D& other)
{
    const std::uint8_t layer = CurrentLayer;
    auto blocks = other.SourceBlocks.GetExclusiveIterator();
    while (blocks->First()) {
        std::unique_ptr<TGraphicObject> block = blocks->RemoveCurrent();
        CurrentLayer = block->Layer;
        AddSourceBlock(-1, std::unique_ptr<TSourceBlock2D>(static_cast<TSourceBlock2D*>(block.release())));
    }
    auto objects = other.Objects.GetExclusiveIterator();
    while (objects->First()) {
        std::unique_ptr<TGraphicObject> object = objects->RemoveCurrent();
        CurrentLayer = object->Layer;
        AddObject(-1, std::unique_ptr<TObject2D>(static_cast<TObject2D*>(object.release())));
    }
    CurrentLayer = layer;
}

bool TCADCmp2D::GetExtension(TRect2D& box)
{
    if (ObjectsCount() == 0)
        return false;
    TRect2D result = MakeRect2D(1e8f, 1e8f, -1e8f, -1e8f);
    auto iterator = Objects.GetIterator();
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next()) {
        auto* object2D = dynamic_cast<TObject2D*>(object);
        if (!object2D || !object2D->Visible || !Layers().GetLayer(object2D->Layer).Visible)
            continue;
        object2D->UpdateExtension();
        const TRect2D b = object2D->Box;
        result.FirstEdge.X = std::min(result.FirstEdge.X, std::min(b.FirstEdge.X, b.SecondEdge.X));
        result.FirstEdge.Y = std::min(result.FirstEdge.Y, std::min(b.FirstEdge.Y, b.SecondEdge.Y));
        result.SecondEdge.X = std::max(result.SecondEdge.X, std::max(b.FirstEdge.X, b.SecondEdge.X));
        result.SecondEdge.Y = std::max(result.SecondEdge.Y, std::max(b.FirstEdge.Y, b.SecondEdge.Y));
    }
    box = result;
    return true;
}
