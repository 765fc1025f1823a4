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
#include "cad/shapes/Polyline2D.h"

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

void TDXF2DImport::Drop()
{
    Failed = true;
    ++Result.DroppedEntities;
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
    BlockNames.clear();
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
    block->ComposeTransform(MakeTranslation2D(-baseX, -baseY));
    block->BakeTransform();
    block->UpdateExtension();
    Target->AddSourceBlock(std::move(block));
    BlockNames.push_back(name);
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
    if (name == "LWPOLYLINE") {
        built = ReadLWPolyline();
        counter = &Result.Counters.Polylines;
    } else if (name == "SPLINE") {
        built = One(ReadSpline());
    } else {
        Reader.ReadRecord(0, Record);
        UseLayer(Record.Text(8));
        if (name == "SEQEND") {
            // The end of a sequence already read (or of attributes, which are not).
            return;
        }
        if (name == "POLYLINE") {
            built = ReadPolyline();
            counter = &Result.Counters.Polylines;
        } else {
            BuildFromRecord(name, built, counter);
        }
    }
    bool added = false;
    for (std::unique_ptr<TObject2D>& object : built) {
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
        Drop();
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
        TBuild Build;
    };
    static const TKind kinds[] = {
        {"LINE", &TDXFImportCounters::Lines, [](TDXF2DImport&, const TDXFRecord& r) { return BuildDXFLine(r); }},
        {"ARC", &TDXFImportCounters::Arcs, [](TDXF2DImport&, const TDXFRecord& r) { return BuildDXFArc(r); }},
        {"CIRCLE", &TDXFImportCounters::Circles, [](TDXF2DImport&, const TDXFRecord& r) { return BuildDXFCircle(r); }},
        {"TEXT", nullptr, [](TDXF2DImport& i, const TDXFRecord& r) { return BuildDXFText(r, i.Font); }},
        {"POINT", &TDXFImportCounters::Points, [](TDXF2DImport&, const TDXFRecord& r) { return BuildDXFPoint(r); }},
        {"INSERT", &TDXFImportCounters::Inserts, [](TDXF2DImport& i, const TDXFRecord&) { return i.BuildInsert(); }},
        {"ELLIPSE", &TDXFImportCounters::Ellipses,
         [](TDXF2DImport& i, const TDXFRecord& r) { return BuildDXFEllipse(r, i.EllipseAxisRelative); }},
        {"SOLID", &TDXFImportCounters::Polylines, [](TDXF2DImport&, const TDXFRecord& r) { return BuildDXFSolid(r); }},
        {"TRACE", &TDXFImportCounters::Polylines, [](TDXF2DImport&, const TDXFRecord& r) { return BuildDXFTrace(r); }},
    };
    for (const TKind& kind : kinds) {
        if (name != kind.Name)
            continue;
        built = One(kind.Build(*this, Record));
        counter = kind.Counter ? &(Result.Counters.*kind.Counter) : nullptr;
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
        Failed = true;
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
        default:
            break;
        }
    }
    UseLayer(layer);
    if (vertices.empty())
        return {};
    return Pieces(DXFPolylinePoints(vertices, closed));
}

std::unique_ptr<TObject2D> TDXF2DImport::ReadSpline()
{
    std::vector<TPoint2D> points;
    std::string layer;
    while (Reader.ReadPairQuiet()) {
        if (Reader.Code == 8)
            layer = Reader.Value.Text;
        else if (Reader.Code == 10)
            points.push_back(MakePoint2D(DXFToFloat(Reader.Value.Real), 0.0f));
        else if (Reader.Code == 20 && !points.empty())
            points.back().Y = DXFToFloat(Reader.Value.Real);
    }
    UseLayer(layer);
    if (points.empty())
        return nullptr;
    return std::make_unique<TBSpline2D>(0, points);
}

std::unique_ptr<TObject2D> TDXF2DImport::BuildInsert()
{
    const TBlockName name = BlockNameFromText(DXFBlockName(Record.Text(2)));
    TSourceBlock2D* found = nullptr;
    {
        auto blocks = Target->SourceBlocksIterator();
        for (TGraphicObject* object = blocks->First(); object && !found; object = blocks->Next())
            if (auto* block = dynamic_cast<TSourceBlock2D*>(object); block && block->Name == name)
                found = block;
    }
    if (!found) {
        Message("Some blocks cannot be read.");
        return nullptr;
    }
    return BuildDXFInsert(Record, *found);
}
