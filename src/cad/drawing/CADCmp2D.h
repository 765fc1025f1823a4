#pragma once

// The drawing: it owns the objects, the source blocks and the 256 layers,
// hands out object IDs and knows the views that show it.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cad/drawing/Layers.h"
#include "cad/drawing/ObjectGrid.h"
#include "cad/geometry/CADBaseTypes.h"
#include "cad/model/GraphicObjList.h"
#include "cad/shapes/SourceBlock2D.h"

class TCADStreamReader;
class TCADStreamWriter;
class TCADViewportLink;
class TObject2D;

enum class TStreamType : std::uint8_t { Drawing = 0, Library = 1 };

class TCADCmp {
public:
    // The current stream version, written and expected by the streams.
    static constexpr const char* Version = "CAD422";

    TCADCmp() = default;
    // Objects go first, then the source blocks (FreeSourceBlocks). Never
    // raises: blocks in a circle of references are reported, their
    // references inside each other dropped and the blocks freed; a block
    // still used from outside the drawing is left alone.
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

    // Source blocks. A negative ID takes NextBlockID; the block takes the
    // current layer and is not drawn. Gives the block back.
    TSourceBlock2D* AddSourceBlock(std::int32_t id, std::unique_ptr<TSourceBlock2D> block);
    // None when absent.
    TSourceBlock2D* GetSourceBlock(std::int32_t id);
    // Absent raises; a block still referenced stays, without complaint.
    void DeleteSourceBlock(std::int32_t id);
    // Frees every source block in passes; when a pass frees nothing while
    // blocks remain (a circle of references), raises ECADSourceBlockIsReferenced.
    void FreeSourceBlocks();
    // Every block that is to be saved and is not a library block / every
    // library block; a block still referenced is skipped.
    virtual void DeleteNonLibraryBlocks() = 0;
    virtual void DeleteLibraryBlocks() = 0;

    // Streams: the object and source-block sections and the block library
    // ("CAD422", the byte 2, a source-block section).
    virtual void LoadBlocks(TCADStreamReader& stream, std::string_view version) = 0;
    virtual void SaveBlocks(TCADStreamWriter& stream, bool libraryBlocks) = 0;
    virtual void LoadObjects(TCADStreamReader& stream, std::string_view version) = 0;
    virtual void SaveObjects(TCADStreamWriter& stream) = 0;
    void LoadLibrary(TCADStreamReader& stream);

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
    // A stream of another version: setting Resume reads it all the same.
    std::function<void(TCADCmp&, TStreamType, TCADStreamReader&, bool& resume)> OnInvalidFileVersion;

protected:
    // Numbers the object, gives it this drawing and the current layer and
    // updates its extension, then adds it to the list. A negative id takes
    // nextID; a larger one given moves nextID past it. A list with iterators
    // refuses the object before any ID is spent.
    void AddNumbered(TGraphicObjList& list, std::int32_t& nextID, std::int32_t id,
                     std::unique_ptr<TGraphicObject> object);

    TGraphicObjList Objects;
    TGraphicObjList SourceBlocks;

private:
    void FreeObjectsOnDestroy() noexcept;
    void FreeSourceBlocksOnDestroy() noexcept;

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
    // Moves the other drawing's source blocks, then its objects, to the end
    // of this one's lists under new IDs, each on its own layer; the other
    // drawing is left empty. References keep showing the same blocks.
    void TakeAllFrom(TCADCmp2D& other);
    // A first ID below 0 means every object; an empty list changes nothing.
    void TransformObjects(std::span<const std::int32_t> ids, const TTransform2D& t);
    // False, and the box left as it was, for an empty drawing. Otherwise the box of
    // the visible objects on visible layers: (1e8, 1e8)-(-1e8, -1e8) when there are none.
    bool GetExtension(TRect2D& box);
    // The objects whose box may overlap the rectangle, in drawing order, found
    // through a grid of the objects' boxes. The list must not be blocked.
    void ObjectsNear(const TRect2D& rect, std::vector<TObject2D*>& out) { Grid.ObjectsNear(Objects, rect, out); }

    using TCADCmp::AddSourceBlock;
    TSourceBlock2D* AddSourceBlock(std::unique_ptr<TSourceBlock2D> block)
    {
        return AddSourceBlock(-1, std::move(block));
    }
    // The first block whose 13-byte name is the given one; none raises.
    TSourceBlock2D& FindSourceBlock(const TBlockName& name);
    using TCADCmp::DeleteSourceBlock;
    // A block still referenced raises "Remove the references before the source".
    void DeleteSourceBlock(const TBlockName& name);
    void DeleteNonLibraryBlocks() override;
    void DeleteLibraryBlocks() override;

    // Objects on non-streamable layers and objects not to be saved are left
    // out; the count still counts them, and an Int16 -1 then ends the section.
    void SaveObjects(TCADStreamWriter& stream) override;
    // Loaded objects take new IDs and keep their layers. An unknown class
    // ends the section with a notice; an object that cannot be used (not 2D,
    // damaged, a missing source block) is dropped with a notice. Short or
    // damaged data raises ECADFileNotValid; what was read before stays.
    void LoadObjects(TCADStreamReader& stream, std::string_view version) override;
    // The blocks to be saved whose IsLibraryBlock equals the flag; the count
    // written first is patched afterwards.
    void SaveBlocks(TCADStreamWriter& stream, bool libraryBlocks) override;
    // As LoadObjects; a block may refer only to blocks read before it.
    void LoadBlocks(TCADStreamReader& stream, std::string_view version) override;

private:
    TObjectGrid Grid;
};
