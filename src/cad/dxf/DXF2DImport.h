#pragma once

// Brings an ASCII DXF drawing into a drawing: its layers, its named blocks
// and its entities, scaled and moved as the caller asks (the tracer's result
// comes back in pixels, an opened drawing as it stands).

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "cad/drawing/SourceBlockIndex.h"
#include "cad/dxf/DXFRead.h"
#include "cad/geometry/CADBaseTypes.h"

class TCADCmp2D;
class TObject2D;
class TVectFont;

// The version of the last imported file: 10 unless $ACADVER names R12 (12),
// R13 (13), R14 (14), R2000 (2000) or R2004 (2004).
extern int DxfVersion;

// What each kind of entity brought in.
struct TDXFImportCounters {
    int Points = 0;
    int Lines = 0;
    int Arcs = 0;
    int Circles = 0;
    // TRACE, SOLID, POLYLINE, LWPOLYLINE.
    int Polylines = 0;
    // Whole ellipses and elliptic arcs.
    int Ellipses = 0;
    int Inserts = 0;

    bool operator==(const TDXFImportCounters&) const = default;
};

struct TDXFImportResult {
    TDXFImportCounters Counters;
    // Entities that built nothing: kinds not read, TEXT without a font,
    // INSERTs of blocks not read, fitted polylines without fit points, and
    // geometry too large for the drawing's numbers.
    int DroppedEntities = 0;
    // The same by entity kind ("HATCH", "INSERT", ...).
    std::map<std::string, int> LeftOut;
    // Entities of paper space (code 67 = 1): the drawing is model space only.
    int PaperSpaceEntities = 0;
    // Anonymous and external-reference blocks, which are not read.
    int SkippedBlocks = 0;
    // Blocks, and INSERTs of the entities section, whose references nest too
    // deep or expand to too many objects; they are left out.
    int RefusedBlocks = 0;
    // The file ends inside a section; what came before is kept.
    bool EndedEarly = false;
    // The file was not read whole: it could not be opened, holds no DXF, is
    // damaged or ends early. Entities left out do not make a failure.
    bool Failed = false;
};

// What the import left out, in words, for the user; empty when nothing was.
std::string DXFImportNotice(const TDXFImportResult& result);

class TDXF2DImport {
public:
    // A file that cannot be opened or read is told to the user by Import.
    TDXF2DImport(const std::filesystem::path& fileName, TCADCmp2D* target);
    TDXF2DImport(TDXFRead reader, TCADCmp2D* target);
    ~TDXF2DImport();

    // The font of TEXT entities; without one they are dropped.
    void SetVectFont(TVectFont* font) { Font = font; }
    // Adds what the file holds; the target is not cleared first. A POLYLINE
    // not ended by SEQEND raises ECADFileNotValid "Invalid DXF file."; what
    // was added before it stays, and LastResult tells of it.
    TDXFImportResult Import();
    const TDXFImportResult& LastResult() const { return Result; }

    bool SetLayerColors = true;
    bool ShowMessages = false;
    float OffsetX = 0.0f;
    float OffsetY = 0.0f;
    float ScaleX = 1.0f;
    float ScaleY = 1.0f;

    // Read from the file's header by Import. Angles of arcs are always
    // counter-clockwise in DXF: the angle direction is only how the drawing
    // shows angles to its users.
    int AngleDirection = 1;
    TRect2D Extents{};
    bool ExtentsRead = false;
    bool Failed = false;
    const TDXFImportCounters& Counters() const { return Result.Counters; }

private:
    void ReadHeader();
    void ReadTables();
    // Moves on to the next record's first pair (code 0); false where the section or the file ends.
    bool AtRecordInSection();
    void ReadBlocks();
    void ReadBlock(const TDXFRecord& header);
    // Until ENDSEC, or ENDBLK when reading into a block.
    void ReadEntities(std::vector<std::unique_ptr<TObject2D>>* block);
    void ReadEntity(const std::string& name, std::vector<std::unique_ptr<TObject2D>>* block);
    // The entities read as one record; nothing for kinds the import does not
    // build. Objects in an entity's own plane are mirrored when it faces down.
    void BuildFromRecord(const std::string& name, std::vector<std::unique_ptr<TObject2D>>& built, int*& counter);
    std::vector<std::unique_ptr<TObject2D>> ReadPolyline();
    std::vector<std::unique_ptr<TObject2D>> ReadLWPolyline();
    // The control points' B-spline, or a polyline through the fit points when only they are given.
    std::vector<std::unique_ptr<TObject2D>> ReadSpline();
    std::unique_ptr<TObject2D> BuildInsert();
    // An INSERT of the entities section within the bounds of block
    // references, and paid from the file's budget of expanded objects.
    bool WithinReferenceBounds(TObject2D& insert);
    // Scale and offset for the drawing, transforms baked; false when the
    // result cannot be held in the drawing's numbers.
    bool Finish(TObject2D& object, bool inBlock) const;
    void UseLayer(const std::string& name);
    void Drop(const std::string& name);
    void Message(const std::string& text) const;

    TDXFRead Reader;
    TDXFRecord Record;
    TDXFRecord VertexRecord;
    TCADCmp2D* Target = nullptr;
    TVectFont* Font = nullptr;
    TDXFImportResult Result;
    bool EllipseAxisRelative = false;
    int LayersRead = 0;
    std::unordered_map<std::string, int> LayerNames;
    // The blocks of this file only: a block of the same name already in the
    // target (the block library's) is not what the file's INSERTs mean.
    TSourceBlockIndex Blocks;
    std::uint64_t ExpandedObjectsLeft = 0;
    // Of the entity being read: paper space (67 = 1), and its plane facing
    // down (extrusion Z < 0), which mirrors it in X.
    bool EntityInPaperSpace = false;
    bool EntityFacesDown = false;
};
