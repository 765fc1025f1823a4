#include "cad/dxf/DXF2DImport.h"

#include <charconv>
#include <cmath>

#include "cad/base/CADExceptions.h"
#include "cad/base/CADMessageSink.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/dxf/DXFColorTable.h"
#include "cad/dxf/DXFEntities.h"
#include "cad/dxf/DXFPolylinePoints.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/BSpline2D.h"
#include "cad/shapes/Block2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/stream/CADStream.h"

int DxfVersion = 10;

namespace {

constexpr const char* InvalidFileText = "Invalid DXF file.";

bool Finite(TPoint2D p)
{
    return std::isfinite(p.X) && std::isfinite(p.Y) && std::isfinite(p.W);
}

int VersionOf(const std::string& acadver)
{
    if (acadver == "AC1009")
        return 12;
    if (acadver == "AC1012")
        return 13;
    if (acadver == "AC1014")
        return 14;
    if (acadver == "AC1015")
        return 2000;
    if (acadver == "AC1018")
        return 2004;
    return 10;
}

// ELLIPSE exists from R13 (AC1012) on, and there its axis is relative to the
// centre; only files without a version or of R12 and older (the tracer's)
// give it as an absolute point.
bool AxisRelative(const std::string& acadver)
{
    if (acadver.size() < 3 || acadver.compare(0, 2, "AC") != 0)
        return false;
    int number = 0;
    const auto [end, error] = std::from_chars(acadver.data() + 2, acadver.data() + acadver.size(), number);
    return error == std::errc() && number >= 1012;
}

bool IsName(const TDXFRead& reader, const char* name)
{
    return reader.Code == 0 && reader.Value.Text == name;
}

// A section ends at ENDSEC, or where a writer forgot it: at the next section or the end.
bool SectionEnds(const TDXFRead& reader)
{
    return IsName(reader, "ENDSEC") || IsName(reader, "SECTION") || IsName(reader, "EOF");
}

std::vector<std::unique_ptr<TObject2D>> One(std::unique_ptr<TObject2D> object)
{
    std::vector<std::unique_ptr<TObject2D>> objects;
    if (object)
        objects.push_back(std::move(object));
    return objects;
}

std::vector<std::unique_ptr<TObject2D>> Pieces(std::span<const TPoint2D> points)
{
    std::vector<std::unique_ptr<TObject2D>> objects;
    for (auto& piece : PolylinePieces(points))
        objects.push_back(std::move(piece));
    return objects;
}

} // namespace

TDXF2DImport::TDXF2DImport(const std::filesystem::path& fileName, TCADCmp2D* target)
    : Reader(fileName), Target(target)
{
}

TDXF2DImport::TDXF2DImport(TDXFRead reader, TCADCmp2D* target) : Reader(std::move(reader)), Target(target) {}

TDXF2DImport::~TDXF2DImport() = default;

void TDXF2DImport::Message(const std::string& text) const
{
    if (ShowMessages)
        ShowCADMessage(text);
}

void TDXF2DImport::Drop(const std::string& name)
{
    ++Result.DroppedEntities;
    ++Result.LeftOut[name];
}

std::string DXFImportNotice(const TDXFImportResult& result)
{
    std::string notice;
    const auto sentence = [&notice](const std::string& text) { notice += (notice.empty() ? "" : "\n") + text; };
    if (result.EndedEarly)
        sentence("The file ends early: the drawing holds what came before its end.");
    if (!result.LeftOut.empty()) {
        std::string kinds;
        for (const auto& [name, count] : result.LeftOut)
            kinds += (kinds.empty() ? "" : ", ") + std::to_string(count) + " " + name;
        sentence("Entities left out of the drawing: " + kinds + ".");
    }
    if (result.RefusedBlocks > 0)
        sentence("Some blocks cannot be read (block references nested deeper than " +
                 std::to_string(MaxReferenceDepth) + " levels or expanding to more than " +
                 std::to_string(MaxExpandedObjects) + " objects): " + std::to_string(result.RefusedBlocks) + ".");
    if (result.PaperSpaceEntities > 0)
        sentence("Entities of paper space left out (the drawing is model space): " +
                 std::to_string(result.PaperSpaceEntities) + ".");
    return notice;
}

TDXFImportResult TDXF2DImport::Import()
{
    Result = TDXFImportResult{};
    if (!Target) {
        Result.Failed = true;
        return Result;
    }
    if (Reader.Failed()) {
        // Whoever opens a file must learn that nothing came of it.
        Failed = Result.Failed = true;
        ShowCADMessage(Reader.OpenFailed() ? "File not found!\r\n" + Reader.FileName().string() : InvalidFileText);
        return Result;
    }
    Failed = false;
    Reader.Rewind();
    DxfVersion = 10;
    EllipseAxisRelative = false;
    Extents = MakeRect2D(-1000.0f, -1000.0f, 1000.0f, 1000.0f);
    ExtentsRead = false;
    AngleDirection = 1;
    LayersRead = 0;
    LayerNames.clear();
    Blocks = TSourceBlockIndex{};
    ExpandedObjectsLeft = MaxExpandedObjectsPerFile;
    // Sections this import does not read (CLASSES, OBJECTS, a writer's own) are passed over.
    for (;;) {
        switch (Reader.Section) {
        case TDXFSection::Header:
            ReadHeader();
            break;
        case TDXFSection::Tables:
            ReadTables();
            break;
        case TDXFSection::Blocks:
            ReadBlocks();
            break;
        case TDXFSection::Entities:
            ReadEntities(nullptr);
            break;
        default:
            break;
        }
        if (Reader.AtEnd())
            break;
        Reader.FindSection();
    }
    if (Reader.Damaged()) {
        Failed = true;
        ShowCADMessage(InvalidFileText);
    }
    Result.EndedEarly = Reader.EndedEarly();
    Failed = Failed || Result.EndedEarly;
    Result.Failed = Failed;
    return Result;
}

void TDXF2DImport::ReadHeader()
{
    while (Reader.ReadRecord(9, Record) == 9) {
        const std::string& name = Record.Text(9);
        if (name == "$ANGDIR") {
            AngleDirection = Record.Integer(70) == 1 ? 0 : 1;
        } else if (name == "$ACADVER") {
            DxfVersion = VersionOf(Record.Text(1));
            EllipseAxisRelative = AxisRelative(Record.Text(1));
        } else if (name == "$EXTMIN" || name == "$EXTMAX") {
            TPoint2D& corner = name == "$EXTMIN" ? Extents.FirstEdge : Extents.SecondEdge;
            corner = MakePoint2D(DXFToFloat(Record.Real(10)), DXFToFloat(Record.Real(20)));
            ExtentsRead = true;
        }
    }
    if (ExtentsRead)
        Extents = NormalizeBox2D(Extents);
}

void TDXF2DImport::ReadTables()
{
    while (!SectionEnds(Reader) && Reader.ReadRecord(0, Record) == 0) {
        if (Record.Text(0) != "LAYER")
            continue;
        const int index = LayersRead++ % TLayers::Count;
        const std::string& layerName = Record.Text(2);
        if (SetLayerColors) {
            TLayer& layer = Target->Layers().GetLayer(index);
            layer.SetPenColor(DxfLayerColor(Record.Real(62)));
            TBrushState brush = layer.Brush();
            brush.Style = TBrushStyle::Clear;
            layer.SetBrush(brush);
            layer.SetName(layerName);
        }
        LayerNames.emplace(layerName, index);
    }
}

void TDXF2DImport::UseLayer(const std::string& name)
{
    // An entity without code 8 names no layer, even when a LAYER came without a name.
    if (name.empty())
        return;
    const auto found = LayerNames.find(name);
    if (found != LayerNames.end())
        Target->CurrentLayer = static_cast<std::uint8_t>(found->second);
}

bool TDXF2DImport::AtRecordInSection()
{
    if (Reader.Code != 0)
        Reader.SkipToCodeZero();
    return !Reader.AtEnd() && !SectionEnds(Reader);
}

void TDXF2DImport::ReadBlocks()
{
    while (AtRecordInSection()) {
        const bool block = IsName(Reader, "BLOCK");
        Reader.ReadRecord(0, Record);
        UseLayer(Record.Text(8));
        if (block)
            ReadBlock(Record);
    }
}

void TDXF2DImport::ReadBlock(const TDXFRecord& header)
{
    const int flags = header.Integer(70);
    if ((flags & 1) != 0 || (flags & 4) != 0) {
        // Its entities are read over by the section's loop.
        ++Result.SkippedBlocks;
        return;
    }
    const auto baseX = DXFToFloat(header.Real(10));
    const auto baseY = DXFToFloat(header.Real(20));
    std::string name = header.Text(2);
    if (name.empty())
        name = "BLOCK" + std::to_string(Target->SourceBlocksCount());
    name = DXFBlockName(name);
    std::vector<std::unique_ptr<TObject2D>> objects;
    ReadEntities(&objects);
    if (objects.empty())
        return;
    auto block = std::make_unique<TSourceBlock2D>(0, std::move(objects), BlockNameFromText(name));
    if (!Blocks.Refusal(*block).empty()) {
        ++Result.RefusedBlocks;
        return;
    }
    block->ComposeTransform(MakeTranslation2D(-baseX, -baseY));
    block->BakeTransform();
    block->UpdateExtension();
    Blocks.Add(*Target->AddSourceBlock(std::move(block)));
}

void TDXF2DImport::ReadEntities(std::vector<std::unique_ptr<TObject2D>>* block)
{
    std::string name;
    while (AtRecordInSection()) {
        if (IsName(Reader, "ENDBLK")) {
            Reader.ReadRecord(0, Record);
            if (block)
                return;
            continue;
        }
        name = Reader.Value.Text;
        ReadEntity(name, block);
    }
}

void TDXF2DImport::ReadEntity(const std::string& name, std::vector<std::unique_ptr<TObject2D>>* block)
{
    std::vector<std::unique_ptr<TObject2D>> built;
    int* counter = nullptr;
    EntityInPaperSpace = false;
    EntityFacesDown = false;
    if (name == "LWPOLYLINE") {
        built = ReadLWPolyline();
        counter = &Result.Counters.Polylines;
    } else if (name == "SPLINE") {
        built = ReadSpline();
    } else {
        Reader.ReadRecord(0, Record);
        UseLayer(Record.Text(8));
        if (name == "SEQEND") {
            // The end of a sequence already read (or of attributes, which are not).
            return;
        }
        EntityInPaperSpace = Record.Integer(67) == 1;
        if (name == "POLYLINE") {
            // 3D polylines and meshes lie in world coordinates, not in a plane of their own.
            EntityFacesDown = (Record.Integer(70) & (8 | 16 | 64)) == 0 && Record.Real(230, 1.0) < 0.0;
            built = ReadPolyline();
            counter = &Result.Counters.Polylines;
        } else {
            BuildFromRecord(name, built, counter);
        }
    }
    // An entity the end of the file cuts off may lack any of its values: it
    // is told as the file's early end, not built from what is left of it.
    if (Reader.EndedEarly())
        return;
    if (EntityInPaperSpace) {
        ++Result.PaperSpaceEntities;
        return;
    }
    if (!block && name == "INSERT" && !built.empty() && !WithinReferenceBounds(*built.front())) {
        ++Result.RefusedBlocks;
        built.clear();
    }
    bool added = false;
    for (std::unique_ptr<TObject2D>& object : built) {
        // Seen from below, the entity's plane shows its X axis reversed; arcs
        // then run clockwise in the world, as the transform draws them.
        if (EntityFacesDown)
            object->ComposeTransform(MakeScale2D(-1.0f, 1.0f));
        if (!Finish(*object, block != nullptr))
            continue;
        if (block) {
            object->Layer = Target->CurrentLayer;
            block->push_back(std::move(object));
        } else {
            Target->AddObject(-1, std::move(object));
        }
        added = true;
    }
    if (!added)
        Drop(name);
    else if (counter)
        ++*counter;
}

void TDXF2DImport::BuildFromRecord(const std::string& name, std::vector<std::unique_ptr<TObject2D>>& built,
                                   int*& counter)
{
    using TBuild = std::unique_ptr<TObject2D> (*)(TDXF2DImport&, const TDXFRecord&);
    struct TKind {
        const char* Name;
        int TDXFImportCounters::*Counter;
        // Given in the entity's own plane (its extrusion), not in world coordinates.
        bool InOwnPlane;
        TBuild Build;
    };
    static const TKind kinds[] = {
        {"LINE", &TDXFImportCounters::Lines, false,
         [](TDXF2DImport&, const TDXFRecord& r) { return BuildDXFLine(r); }},
        {"ARC", &TDXFImportCounters::Arcs, true, [](TDXF2DImport&, const TDXFRecord& r) { return BuildDXFArc(r); }},
        {"CIRCLE", &TDXFImportCounters::Circles, true,
         [](TDXF2DImport&, const TDXFRecord& r) { return BuildDXFCircle(r); }},
        {"TEXT", nullptr, true, [](TDXF2DImport& i, const TDXFRecord& r) { return BuildDXFText(r, i.Font); }},
        {"POINT", &TDXFImportCounters::Points, false,
         [](TDXF2DImport&, const TDXFRecord& r) { return BuildDXFPoint(r); }},
        {"INSERT", &TDXFImportCounters::Inserts, true,
         [](TDXF2DImport& i, const TDXFRecord&) { return i.BuildInsert(); }},
        {"ELLIPSE", &TDXFImportCounters::Ellipses, false,
         [](TDXF2DImport& i, const TDXFRecord& r) { return BuildDXFEllipse(r, i.EllipseAxisRelative); }},
        {"SOLID", &TDXFImportCounters::Polylines, true,
         [](TDXF2DImport&, const TDXFRecord& r) { return BuildDXFSolid(r); }},
        {"TRACE", &TDXFImportCounters::Polylines, true,
         [](TDXF2DImport&, const TDXFRecord& r) { return BuildDXFTrace(r); }},
    };
    for (const TKind& kind : kinds) {
        if (name != kind.Name)
            continue;
        built = One(kind.Build(*this, Record));
        counter = kind.Counter ? &(Result.Counters.*kind.Counter) : nullptr;
        EntityFacesDown = kind.InOwnPlane && Record.Real(230, 1.0) < 0.0;
        return;
    }
}

bool TDXF2DImport::Finish(TObject2D& object, bool inBlock) const
{
    if (!inBlock && (ScaleX != 1.0f || ScaleY != 1.0f || OffsetX != 0.0f || OffsetY != 0.0f)) {
        object.ComposeTransform(MakeScale2D(ScaleX, ScaleY));
        object.ComposeTransform(MakeTranslation2D(OffsetX, OffsetY));
    }
    if (object.HasTransform())
        object.BakeTransform();
    const TTransform2D t = object.GetTransform();
    for (const auto& row : t.M)
        for (float m : row)
            if (!std::isfinite(m))
                return false;
    if (const auto* primitive = dynamic_cast<const TPrimitive2D*>(&object)) {
        for (int i = 0; i < primitive->PointCount(); ++i)
            if (!Finite(ApplyTransform2D((*primitive->Points())[i], t)))
                return false;
        return true;
    }
    object.UpdateExtension();
    return Finite(object.Box.FirstEdge) && Finite(object.Box.SecondEdge);
}

std::vector<std::unique_ptr<TObject2D>> TDXF2DImport::ReadPolyline()
{
    const int flags = Record.Integer(70);
    const bool closed = (flags & 1) != 0;
    const bool fitted = (flags & 2) != 0 || (flags & 4) != 0;
    std::vector<TDXFVertex> vertices;
    TDXFRecord& vertex = VertexRecord;
    while (IsName(Reader, "VERTEX")) {
        Reader.ReadRecord(0, vertex);
        const int vertexFlags = vertex.Integer(70);
        // Faces of a polyface mesh carry vertex numbers, not a position.
        if ((vertexFlags & 128) != 0 && (vertexFlags & 64) == 0)
            continue;
        if (fitted && (vertexFlags & 8) == 0)
            continue;
        vertices.push_back({vertex.Real(10), vertex.Real(20), fitted ? 0.0 : vertex.Real(42)});
    }
    if (!IsName(Reader, "SEQEND")) {
        // Cut off by the end of the file: told as the file's early end.
        if (Reader.AtEnd())
            return {};
        Failed = Result.Failed = true;
        throw ECADFileNotValid(InvalidFileText);
    }
    Reader.ReadRecord(0, vertex);
    if (vertices.empty()) {
        if (fitted)
            Message("Spline without spline-fitting isn't supported.");
        return {};
    }
    return Pieces(DXFPolylinePoints(vertices, closed));
}

std::vector<std::unique_ptr<TObject2D>> TDXF2DImport::ReadLWPolyline()
{
    std::vector<TDXFVertex> vertices;
    bool closed = false;
    std::string layer;
    while (Reader.ReadPairQuiet()) {
        switch (Reader.Code) {
        case 8:
            layer = Reader.Value.Text;
            break;
        case 70:
            closed = (Reader.Value.Integer & 1) != 0;
            break;
        case 10:
            vertices.push_back({Reader.Value.Real, 0.0, 0.0});
            break;
        case 20:
            if (!vertices.empty())
                vertices.back().Y = Reader.Value.Real;
            break;
        case 42:
            if (!vertices.empty())
                vertices.back().Bulge = Reader.Value.Real;
            break;
        case 67:
            EntityInPaperSpace = Reader.Value.Integer == 1;
            break;
        case 230:
            EntityFacesDown = Reader.Value.Real < 0.0;
            break;
        default:
            break;
        }
    }
    UseLayer(layer);
    if (vertices.empty())
        return {};
    return Pieces(DXFPolylinePoints(vertices, closed));
}

std::vector<std::unique_ptr<TObject2D>> TDXF2DImport::ReadSpline()
{
    std::vector<TPoint2D> control;
    std::vector<TPoint2D> fit;
    std::string layer;
    while (Reader.ReadPairQuiet()) {
        const float value = DXFToFloat(Reader.Value.Real);
        switch (Reader.Code) {
        case 8:
            layer = Reader.Value.Text;
            break;
        case 67:
            EntityInPaperSpace = Reader.Value.Integer == 1;
            break;
        case 10:
            control.push_back(MakePoint2D(value, 0.0f));
            break;
        case 20:
            if (!control.empty())
                control.back().Y = value;
            break;
        case 11:
            fit.push_back(MakePoint2D(value, 0.0f));
            break;
        case 21:
            if (!fit.empty())
                fit.back().Y = value;
            break;
        default:
            break;
        }
    }
    UseLayer(layer);
    if (!control.empty())
        return One(std::make_unique<TBSpline2D>(0, control));
    // A curve given only by the points it passes through: joined by straight
    // segments, it passes through every one of them.
    if (fit.size() >= 2)
        return Pieces(fit);
    return {};
}

std::unique_ptr<TObject2D> TDXF2DImport::BuildInsert()
{
    TSourceBlock2D* found = Blocks.Find(BlockNameFromText(DXFBlockName(Record.Text(2))));
    return found ? BuildDXFInsert(Record, *found) : nullptr;
}

bool TDXF2DImport::WithinReferenceBounds(TObject2D& insert)
{
    if (!Blocks.Refusal(insert).empty())
        return false;
    const std::uint64_t expanded = Blocks.Measure(insert).Objects;
    if (expanded > ExpandedObjectsLeft)
        return false;
    ExpandedObjectsLeft -= expanded;
    return true;
}
