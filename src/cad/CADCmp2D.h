#pragma once

// The drawing: it owns the objects, the source blocks and the 256 layers,
// hands out object IDs and knows the views that show it.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "cad/CADBaseTypes.h"
#include "cad/GraphicObjList.h"
#include "cad/Layers.h"

class TCADViewportLink;
class TObject2D;

enum class TStreamType : std::uint8_t { Drawing = 0, Library = 1 };

class TCADCmp {
public:
    // The current stream version, written and expected by the streams.
    static constexpr const char* Version = "CAD422";

    TCADCmp() = default;
    virtual ~TCADCmp();
    TCADCmp(const TCADCmp&) = delete;
    TCADCmp& operator=(const TCADCmp&) = delete;

    int ObjectsCount() const { return Objects.Count(); }
    int SourceBlocksCount() const { return SourceBlocks.Count(); }
    std::unique_ptr<TGraphicObjIterator> ObjectsIterator() { return Objects.GetIterator(); }
    std::unique_ptr<TGraphicObjIterator> SourceBlocksIterator() { return SourceBlocks.GetIterator(); }
    std::unique_ptr<TExclusiveGraphicObjIterator> ObjectsExclusiveIterator() { return Objects.GetExclusiveIterator(); }
    std::unique_ptr<TExclusiveGraphicObjIterator> SourceBlocksExclusiveIterator()
    {
        return SourceBlocks.GetExclusiveIterator();
    }
    // Either list held by an exclusive iterator: views skip drawing objects then.
    bool IsBlocked() const { return Objects.HasExclusiveIterator() || SourceBlocks.HasExclusiveIterator(); }
    bool HasIterators() const { return Objects.HasActiveIterators() || SourceBlocks.HasActiveIterators(); }

    void AddViewport(TCADViewportLink* viewport);
    void RemoveViewport(TCADViewportLink* viewport);
    void RepaintViewports();
    void RefreshViewports();
    void DrawObjectInViewports(TObject2D& object);

    TLayers& Layers() { return LayersValue; }
    const TLayers& Layers() const { return LayersValue; }
    // Reads layer 0's pen colour; writing recolours every layer not set by hand.
    TColor DefaultLayersColor() const;
    void SetDefaultLayersColor(TColor color);

    std::int32_t NextObjectID = 0;
    std::int32_t NextBlockID = 0;
    std::uint8_t CurrentLayer = 0;
    bool DrawOnAdd = false;
    bool RepaintAfterTransform = true;
    std::function<void(TCADCmp&, TGraphicObject&)> OnAddObject;
    std::function<void(TCADCmp&, int)> OnLoadProgress;
    std::function<void(TCADCmp&, int)> OnSaveProgress;

protected:
    TGraphicObjList Objects;
    TGraphicObjList SourceBlocks;

private:
    std::vector<TCADViewportLink*> Viewports;
    TLayers LayersValue;
};

class TCADCmp2D : public TCADCmp {
public:
    // A negative ID takes the next free one. Gives the object back.
    TObject2D* AddObject(std::int32_t id, std::unique_ptr<TObject2D> object);
    // None when absent or not a 2D object.
    TObject2D* GetObject(std::int32_t id);
    void DeleteObject(std::int32_t id);
    // Takes the object out of the drawing and hands it to the caller.
    std::unique_ptr<TObject2D> RemoveObject(std::int32_t id);
    void DeleteAllObjects();
    // A first ID below 0 means every object; an empty list changes nothing.
    void TransformObjects(std::span<const std::int32_t> ids, const TTransform2D& t);
    // False, and the box left as it was, for an empty drawing. Otherwise the box of
    // the visible objects on visible layers: (1e8, 1e8)-(-1e8, -1e8) when there are none.
    bool GetExtension(TRect2D& box);
};
