// kestro_blockgen <output.blk>
//
// Writes the block library the program loads at start-up: a few drafting
// symbols, sized in millimetres around their insertion point (0, 0). The
// hole symbol shows the centre mark through a block reference, so the
// library also carries a block that refers to one stored before it.

#include <cmath>
#include <iostream>
#include <memory>
#include <numbers>
#include <vector>

#include "cad/drawing/BlockLibrary.h"
#include "cad/drawing/CADClassRegistration.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Block2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/stream/CADStream.h"

namespace {

using TChildren = std::vector<std::unique_ptr<TObject2D>>;

TSourceBlock2D& AddLibraryBlock(TCADCmp2D& drawing, const char* name, TChildren children)
{
    auto block = std::make_unique<TSourceBlock2D>(0, std::move(children), BlockNameFromText(name));
    block->IsLibraryBlock = true;
    return *drawing.AddSourceBlock(std::move(block));
}

std::unique_ptr<TObject2D> Line(std::int32_t id, float x1, float y1, float x2, float y2)
{
    return std::make_unique<TLine2D>(id, MakePoint2D(x1, y1), MakePoint2D(x2, y2));
}

// A cross of two 10 mm strokes, for the centre of a circle or a hole.
TSourceBlock2D& AddCentreMark(TCADCmp2D& drawing)
{
    TChildren children;
    children.push_back(Line(0, -5, 0, 5, 0));
    children.push_back(Line(1, 0, -5, 0, 5));
    return AddLibraryBlock(drawing, "CentreMark", std::move(children));
}

// A leader arrow pointing along +X, its tip at the insertion point.
void AddArrow(TCADCmp2D& drawing)
{
    const TPoint2D head[] = {MakePoint2D(0, 0), MakePoint2D(-3, 1), MakePoint2D(-3, -1), MakePoint2D(0, 0)};
    TChildren children;
    children.push_back(Line(0, -10, 0, -3, 0));
    children.push_back(std::make_unique<TPolygon2D>(1, head));
    AddLibraryBlock(drawing, "Arrow", std::move(children));
}

// A 10 mm hole with its centre mark reaching past the rim.
void AddHole(TCADCmp2D& drawing, TSourceBlock2D& centreMark)
{
    auto mark = std::make_unique<TBlock2D>(1, &centreMark);
    mark->SetModelTransform(MakeScale2D(1.4f, 1.4f));
    mark->UpdateExtension();
    TChildren children;
    children.push_back(std::make_unique<TCerchio2D>(0, MakePoint2D(0, 0), MakePoint2D(5, 0)));
    children.push_back(std::move(mark));
    AddLibraryBlock(drawing, "Hole", std::move(children));
}

// A datum target: a circle split into quarters, two of them filled.
void AddDatumTarget(TCADCmp2D& drawing)
{
    const float r = 4.0f;
    std::vector<TPoint2D> firstQuarter{MakePoint2D(0, 0)};
    std::vector<TPoint2D> thirdQuarter{MakePoint2D(0, 0)};
    constexpr int Steps = 12;
    for (int i = 0; i <= Steps; ++i) {
        const double a = std::numbers::pi / 2.0 * i / Steps;
        const float x = static_cast<float>(r * std::cos(a));
        const float y = static_cast<float>(r * std::sin(a));
        firstQuarter.push_back(MakePoint2D(x, y));
        thirdQuarter.push_back(MakePoint2D(-x, -y));
    }
    TChildren children;
    children.push_back(std::make_unique<TCerchio2D>(0, MakePoint2D(0, 0), MakePoint2D(r, 0)));
    children.push_back(Line(1, -r, 0, r, 0));
    children.push_back(Line(2, 0, -r, 0, r));
    children.push_back(std::make_unique<TPolygon2D>(3, firstQuarter));
    children.push_back(std::make_unique<TPolygon2D>(4, thirdQuarter));
    AddLibraryBlock(drawing, "DatumTarget", std::move(children));
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::cerr << "usage: kestro_blockgen <output.blk>\n";
        return 2;
    }
    try {
        RegisterCADClasses();
        TCADCmp2D drawing;
        TSourceBlock2D& centreMark = AddCentreMark(drawing);
        AddArrow(drawing);
        AddHole(drawing, centreMark);
        AddDatumTarget(drawing);
        TCADStreamWriter out;
        SaveBlockLibrary(drawing, out);
        if (!out.SaveToFile(argv[1])) {
            std::cerr << "kestro_blockgen: cannot write " << argv[1] << '\n';
            return 1;
        }
    } catch (const std::exception& error) {
        std::cerr << "kestro_blockgen: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
