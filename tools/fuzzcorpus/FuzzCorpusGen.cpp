// kestro_fuzzcorpus <corpus folder>
//
// Writes the seed inputs of every fuzz target, one folder per target, with
// the program's own stream, layer and settings writers, so that the fuzzer
// starts from files the program itself would read. The results are small and
// kept in tests/fuzz/corpus; run again when a record layout changes.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <QImage>

#include "app/SettingsFile.h"
#include "cad/drawing/BlockLibrary.h"
#include "cad/drawing/CADClassRegistration.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/BSpline2D.h"
#include "cad/shapes/Bitmap2D.h"
#include "cad/shapes/Block2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Ellipse2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/shapes/Punto2D.h"
#include "cad/shapes/Text2D.h"
#include "cad/stream/CADStream.h"
#include "import/MonoRaster.h"
#include "import/TracerRun.h"
#include "platform/IniFile.h"
#include "view3d/lists/VectorLists.h"
#include "view3d/persistence/PersistentObjectList.h"

namespace {

namespace fs = std::filesystem;
using TChildren = std::vector<std::unique_ptr<TObject2D>>;

void Save(const fs::path& folder, const std::string& name, std::string_view bytes)
{
    fs::create_directories(folder);
    std::ofstream file(folder / name, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file)
        throw std::runtime_error("cannot write " + (folder / name).string());
}

std::string_view BytesOf(const TCADStreamWriter& out)
{
    return {reinterpret_cast<const char*>(out.Data().data()), out.Data().size()};
}

// One object of every shape class that has a record of its own.
TChildren EveryShape()
{
    const TPoint2D zigzag[] = {MakePoint2D(0, 0), MakePoint2D(4, 6), MakePoint2D(8, 0), MakePoint2D(12, 6)};
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    auto text = std::make_unique<TText2D>();
    text->Points()->Put(0, MakePoint2D(0, 20));
    text->Points()->Put(1, MakePoint2D(30, 26));
    text->Text = "Kestro";
    text->Height = 5.0f;
    TChildren shapes;
    shapes.push_back(std::make_unique<TLine2D>(0, MakePoint2D(0, 0), MakePoint2D(10, 5)));
    shapes.push_back(std::make_unique<TPolyline2D>(1, zigzag));
    shapes.push_back(std::make_unique<TPolygon2D>(2, zigzag));
    shapes.push_back(std::make_unique<TCerchio2D>(3, MakePoint2D(5, 5), MakePoint2D(8, 5)));
    shapes.push_back(std::make_unique<TFilledCerchio2D>(4, MakePoint2D(15, 5), MakePoint2D(17, 5)));
    shapes.push_back(std::make_unique<TEllipse2D>(5, MakePoint2D(0, 10), MakePoint2D(8, 14)));
    shapes.push_back(std::make_unique<TFrame2D>(6, MakePoint2D(10, 10), MakePoint2D(14, 16)));
    shapes.push_back(std::make_unique<TRectangle2D>(7, MakePoint2D(16, 10), MakePoint2D(20, 16)));
    shapes.push_back(std::make_unique<TArc2D>(8, MakePoint2D(0, 0), MakePoint2D(10, 10), 0.0f, 2.0f));
    shapes.push_back(std::make_unique<TArco2D>(9, MakePoint2D(5, 5), MakePoint2D(9, 5), 1.0f, 4.0f));
    shapes.push_back(std::make_unique<TBSpline2D>(10, zigzag));
    shapes.push_back(std::make_unique<TPunto2D>(11, MakePoint2D(3, 3)));
    shapes.push_back(std::make_unique<TBitmap2D>(12, MakePoint2D(20, 0), MakePoint2D(26, 4), picture));
    shapes.push_back(std::move(text));
    return shapes;
}

// A block of every shape, and one that shows it twice through references,
// once inside a container of its own.
void AddBlocks(TCADCmp2D& drawing, bool library)
{
    auto shapes = std::make_unique<TSourceBlock2D>(0, EveryShape(), BlockNameFromText("Shapes"));
    shapes->IsLibraryBlock = library;
    TSourceBlock2D* source = drawing.AddSourceBlock(std::move(shapes));
    auto moved = std::make_unique<TBlock2D>(1, source);
    moved->SetModelTransform(MakeScale2D(0.5f, 2.0f));
    TChildren nested;
    nested.push_back(std::make_unique<TBlock2D>(0, source));
    TChildren twice;
    twice.push_back(std::move(moved));
    twice.push_back(std::make_unique<TContainer2D>(2, std::move(nested)));
    auto block = std::make_unique<TSourceBlock2D>(0, std::move(twice), BlockNameFromText("Twice"));
    block->IsLibraryBlock = library;
    drawing.AddSourceBlock(std::move(block));
}

void WriteBlockLibraries(const fs::path& folder)
{
    TCADCmp2D drawing;
    AddBlocks(drawing, true);
    TCADStreamWriter out;
    SaveBlockLibrary(drawing, out);
    Save(folder, "every-shape.blk", BytesOf(out));
}

// The drawing target's input: version, flags, layer index, a layer record,
// the block section and the object section.
void WriteDrawingSections(const fs::path& folder)
{
    TCADCmp2D drawing;
    AddBlocks(drawing, false);
    for (auto& shape : EveryShape())
        drawing.AddObject(-1, std::move(shape));
    drawing.AddObject(-1, std::make_unique<TBlock2D>(0, &drawing.FindSourceBlock(BlockNameFromText("Twice"))));
    TLayer layer(1);
    layer.DecorativePen.SetPattern("1110010");
    layer.SetName("Dashed");
    TCADStreamWriter out;
    out.WriteByte(0);         // the current version
    out.WriteByte(1 | 2);     // a layer record; redraw and pick
    out.WriteByte(0);         // the record is layer 0's
    layer.SaveToStream(out);
    drawing.SaveBlocks(out, false);
    drawing.SaveObjects(out);
    Save(folder, "every-shape.bin", BytesOf(out));
}

// A font of a few glyphs in the font file's layout.
void WriteVectorFont(const fs::path& folder)
{
    TCADStreamWriter out;
    const auto glyph = [&](std::int32_t code, const std::vector<std::vector<TPoint2D>>& polylines) {
        out.WriteInt32(code);
        out.WriteInt32(static_cast<std::int32_t>(polylines.size()));
        for (const auto& polyline : polylines) {
            out.WriteUInt16(static_cast<std::uint16_t>(polyline.size()));
            for (const TPoint2D& point : polyline)
                out.WritePoint2D(point);
        }
    };
    glyph('A', {{MakePoint2D(0, 0), MakePoint2D(0.3f, 1), MakePoint2D(0.6f, 0)}, {MakePoint2D(0.1f, 0.4f), MakePoint2D(0.5f, 0.4f)}});
    glyph('l', {{MakePoint2D(0.1f, 0), MakePoint2D(0.1f, 1)}});
    glyph('.', {});
    out.WriteInt32(-1);
    Save(folder, "three-glyphs.fnt", BytesOf(out));
}

void WriteSettingsFiles(const fs::path& folder)
{
    for (const bool crlf : {false, true}) {
        IniFile file = crlf ? IniFile::FromText("; kept\r\n[Default]\r\nPst=Fanuc_mm\r\nTool=3\r\n") : IniFile();
        WriteSettings(file, TSettingsWindowValues{});
        Save(folder, crlf ? "crlf.ini" : "written.ini", file.ToText());
    }
}

void WriteLanguageFile(const fs::path& folder)
{
    IniFile file;
    file.WriteString("String", "Autor", "Kestro");
    file.WriteString("String", "1", "Open*|*a file");
    file.WriteString("frmMain", "sbOpen.Hint", "Open");
    Save(folder, "small.lng", file.ToText());
}

// Object lists of every archived list class, one nested, with an empty slot
// and a class named a second time by its index.
void WritePersistentArchives(const fs::path& folder)
{
    TAffineVectorList affine;
    affine.Add(1, 2, 3);
    affine.Add(-4.5f, 0, 1e6f);
    TVectorList vectors;
    vectors.AddPoint(0, 1, 2);
    vectors.Add({3, 4, 5, 0});
    TTexPointList texPoints;
    texPoints.Add({0.25f, 0.75f});
    TSingleList singles;
    singles.Add(3.5f);
    TPersistentObjectList inner;
    inner.Add(&singles);
    inner.Add(nullptr);
    TPersistentObjectList outer;
    outer.Add(&affine);
    outer.Add(&vectors);
    outer.Add(&texPoints);
    outer.Add(&inner);
    outer.Add(&affine);
    Save(folder, "lists.bin", outer.SaveToString());
    Save(folder, "empty.bin", TPersistentObjectList().SaveToString());
}

} // namespace

// The pictures the vectorize pages hand the tracer (1 bit, a ring and a bar;
// an odd width; a single pixel), and one of 24 bits, which it reads as well.
void WriteTracerPictures(const fs::path& folder)
{
    fs::create_directories(folder);
    const auto picture = [](int width, int height) {
        QImage mono = MakeMonoRaster(QSize(width, height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const int d = (x - 12) * (x - 12) + (y - 12) * (y - 12);
                mono.scanLine(y)[x] = (d >= 25 && d <= 81) || (x >= 26 && x < 30 && y > 3) ? 0 : 255;
            }
        return mono;
    };
    const auto path = [&](const char* name) { return QString::fromStdString((folder / name).string()); };
    WriteMonoBmp(picture(36, 24), path("ring-and-bar.bmp"));
    WriteMonoBmp(picture(65, 3), path("odd-width.bmp"));
    WriteMonoBmp(picture(1, 1), path("one-pixel.bmp"));
    picture(36, 24).convertToFormat(QImage::Format_RGB888).save(path("ring-and-bar-24.bmp"), "BMP");
}

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::cerr << "usage: kestro_fuzzcorpus <corpus folder>\n";
        return 2;
    }
    try {
        RegisterCADClasses();
        const fs::path corpus(argv[1]);
        WriteBlockLibraries(corpus / "BlockLibrary");
        WriteDrawingSections(corpus / "DrawingSections");
        WriteVectorFont(corpus / "VectorFont");
        WriteSettingsFiles(corpus / "SettingsFile");
        WriteLanguageFile(corpus / "LanguageFile");
        WritePersistentArchives(corpus / "PersistentArchive");
        WriteTracerPictures(corpus / "TracerPicture");
    } catch (const std::exception& error) {
        std::cerr << "kestro_fuzzcorpus: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
