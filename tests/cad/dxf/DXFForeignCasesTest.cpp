// Small drawings that other programs write, each showing one convention of
// the format the import once got wrong. A row names the file, what the drawing
// must hold and what the user must be told; a check of its own looks closer.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DXFTestSupport.h"
#include "cad/fonts/FontRegistry.h"
#include "cad/shapes/Curve2D.h"
#include "cad/shapes/JustifiedVectText2D.h"
#include "support/PointExpectations.h"
#include "support/VectFontTestSupport.h"

using namespace dxftest;
using cadtest::ExpectPointNear;

namespace {

std::string CaseFile(const std::string& name)
{
    return std::string(KESTRO_TEST_DATA_DIR) + "/foreign/dxf/" + name;
}

TPoint2D World(const TObject2D& object, TPoint2D p)
{
    return CartesianPoint2D(ApplyTransform2D(p, object.GetTransform()));
}

// Each TEXT's justified point as the file gives it: code 11 for a justified
// text, code 10 for one left on its baseline; with its kinds and turn.
struct TTextPlacement {
    TPoint2D At;
    int Horizontal;
    int Vertical;
    double Degrees;
};

std::vector<TTextPlacement> TextPlacements(const std::string& file)
{
    std::vector<TTextPlacement> placements;
    TDXFRead reader(file);
    TDXFRecord record;
    while (!reader.AtEnd()) {
        if (reader.Code == 0 && reader.Value.Text == "TEXT") {
            reader.ReadRecord(0, record);
            const int h = record.Integer(72);
            const int v = record.Integer(73);
            const int base = h == 0 && v == 0 ? 10 : 11;
            placements.push_back({MakePoint2D(static_cast<float>(record.Real(base)),
                                              static_cast<float>(record.Real(base + 10))),
                                  h, v, record.Real(50)});
        } else {
            reader.ReadPair();
        }
    }
    return placements;
}

// The justified point of "HELLO" (capitals: its box is baseline to top) lies
// on the file's point, and its baseline runs at the file's angle.
void ExpectTextsOnTheirPoints(TCADCmp2D& drawing)
{
    const std::vector<TTextPlacement> placements = TextPlacements(CaseFile("x-text-align.dxf"));
    const std::vector<TObject2D*> texts = Objects(drawing);
    ASSERT_EQ(texts.size(), placements.size());
    ASSERT_EQ(texts.size(), 10u);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const TTextPlacement& p = placements[i];
        SCOPED_TRACE("text " + std::to_string(i) + ": 72 = " + std::to_string(p.Horizontal) +
                     ", 73 = " + std::to_string(p.Vertical));
        const TRect2D box = dynamic_cast<TJustifiedVectText2D&>(*texts[i]).GetTextBox();
        const float xs[] = {box.FirstEdge.X, (box.FirstEdge.X + box.SecondEdge.X) / 2, box.SecondEdge.X};
        const float ys[] = {box.FirstEdge.Y, box.FirstEdge.Y, (box.FirstEdge.Y + box.SecondEdge.Y) / 2,
                            box.SecondEdge.Y};
        ExpectPointNear(World(*texts[i], MakePoint2D(xs[p.Horizontal], ys[p.Vertical])), p.At.X, p.At.Y, 0.05f);
        const TPoint2D start = World(*texts[i], box.FirstEdge);
        const TPoint2D end = World(*texts[i], MakePoint2D(box.SecondEdge.X, box.FirstEdge.Y));
        EXPECT_NEAR(std::atan2(end.Y - start.Y, end.X - start.X), p.Degrees * std::numbers::pi / 180.0, 1e-4);
        EXPECT_NEAR(box.SecondEdge.Y - box.FirstEdge.Y, 5.0f, 0.05f);
    }
}

// Seen from below, the entities' plane is mirrored in X; the arc still runs
// from its start to its end the short way, clockwise in the world.
void ExpectMirroredInX(TCADCmp2D& drawing)
{
    const std::vector<TObject2D*> objects = Objects(drawing);
    ASSERT_EQ(objects.size(), 3u);
    const std::vector<TPoint2D> arc = WorldPoints(*objects[0]);
    ExpectPointNear(arc[0], -10, 0, 1e-4f);
    ExpectPointNear(arc[2], -15, 0, 1e-4f);
    ExpectPointNear(arc[3], -10, 5, 1e-4f);
    auto& curve = dynamic_cast<TCurve2D&>(*objects[0]);
    curve.BeginUseProfilePoints();
    const TPointsSet2D& profile = curve.ProfilePoints();
    const TPoint2D first = World(curve, profile[0]);
    const TPoint2D middle = World(curve, profile[profile.Count() / 2]);
    curve.ReleaseProfilePoints();
    ExpectPointNear(first, -15, 0, 1e-3f);
    // The long way round would pass (-6.5, -3.5).
    const float half = 5.0f / std::numbers::sqrt2_v<float>;
    ExpectPointNear(middle, -10 - half, half, 0.2f);
    ExpectPointNear(WorldPoints(*objects[1])[0], -20, 5, 1e-4f);
    const std::vector<TPoint2D> outline = WorldPoints(*objects[2]);
    ASSERT_EQ(outline.size(), 3u);
    ExpectPointNear(outline[0], 0, 0);
    ExpectPointNear(outline[1], -4, 0);
    ExpectPointNear(outline[2], -4, 3);
}

void ExpectModelSpaceLineOnly(TCADCmp2D& drawing)
{
    ASSERT_EQ(drawing.ObjectsCount(), 1);
    const std::vector<TPoint2D> line = WorldPoints(*Objects(drawing)[0]);
    ExpectPointNear(line[0], 0, 0);
    ExpectPointNear(line[1], 1, 1);
}

void ExpectCurveThroughFitPoints(TCADCmp2D& drawing)
{
    const std::vector<TObject2D*> objects = Objects(drawing);
    ASSERT_EQ(objects.size(), 2u);
    const std::vector<TPoint2D> curve = WorldPoints(*objects[1]);
    const std::vector<TPoint2D> fit = {
        MakePoint2D(0, 0), MakePoint2D(10, 20), MakePoint2D(30, 20), MakePoint2D(40, 0)};
    for (const TPoint2D& p : fit)
        EXPECT_TRUE(std::any_of(curve.begin(), curve.end(),
                                [&](TPoint2D q) { return std::hypot(q.X - p.X, q.Y - p.Y) < 1e-4f; }))
            << p.X << ", " << p.Y;
}

void ExpectClosedInOrder1243(TCADCmp2D& drawing)
{
    const std::vector<TObject2D*> objects = Objects(drawing);
    ASSERT_EQ(objects.size(), 2u);
    const std::vector<std::vector<TPoint2D>> expected = {
        {MakePoint2D(0, 0), MakePoint2D(10, 0), MakePoint2D(10, 10), MakePoint2D(0, 10), MakePoint2D(0, 0)},
        {MakePoint2D(20, 0), MakePoint2D(30, 0), MakePoint2D(30, 5), MakePoint2D(20, 5), MakePoint2D(20, 0)}};
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const std::vector<TPoint2D> outline = WorldPoints(*objects[i]);
        ASSERT_EQ(outline.size(), expected[i].size()) << objects[i]->ClassName();
        for (std::size_t k = 0; k < outline.size(); ++k)
            ExpectPointNear(outline[k], expected[i][k].X, expected[i][k].Y);
    }
}

struct TForeignCase {
    std::string File;
    std::map<std::string, int> Classes;
    // What the user is told, whole.
    std::string Notice;
    bool Failed;
    std::function<void(TCADCmp2D&)> Check;
};

} // namespace

TEST(DXFForeignCases, EachConventionComesInAsTheWriterMeantIt)
{
    CADCoreClearFontRegistry();
    vectfont_test::TMessageRecorder messages;
    CADCoreRegisterFontFromFile(0, std::string(KESTRO_PROGRAM_DIR) + "/RomanC.fnt");
    TVectFont* font = CADCoreFindFontByIndex(0);
    const std::vector<TForeignCase> cases = {
        {"x-dropped-mtext-hatch.dxf",
         {{"TCerchio2D", 1}, {"TLine2D", 1}},
         "Entities left out of the drawing: 1 HATCH, 1 MTEXT.",
         false,
         {}},
        {"x-text-align.dxf", {{"TJustifiedVectText2D", 10}}, "", false, ExpectTextsOnTheirPoints},
        {"x-extrusion.dxf", {{"TArco2D", 1}, {"TCerchio2D", 1}, {"TPolyline2D", 1}}, "", false, ExpectMirroredInX},
        {"x-paperspace-R12.dxf",
         {{"TLine2D", 1}},
         "Entities of paper space left out (the drawing is model space): 1.",
         false,
         ExpectModelSpaceLineOnly},
        {"curves-R2000.dxf", {{"TEllipse2D", 1}, {"TPolyline2D", 1}}, "", false, ExpectCurveThroughFitPoints},
        {"solidtrace-R12.dxf", {{"TPolyline2D", 2}}, "", false, ExpectClosedInOrder1243},
        {"polylines-R12.trunc00540.dxf",
         {},
         "The file ends early: the drawing holds what came before its end.",
         true,
         {}},
    };
    int objects = 0;
    int told = 0;
    for (const TForeignCase& c : cases) {
        SCOPED_TRACE(c.File);
        TImported imported = ImportFile(CaseFile(c.File), {.Font = font});
        EXPECT_EQ(ClassCounts(*imported.Drawing), c.Classes);
        EXPECT_EQ(DXFImportNotice(imported.Result), c.Notice);
        EXPECT_EQ(imported.Result.Failed, c.Failed);
        if (c.Check)
            c.Check(*imported.Drawing);
        objects += imported.Drawing->ObjectsCount();
        told += c.Notice.empty() ? 0 : 1;
    }
    EXPECT_TRUE(messages.Texts.empty()) << "the import tells nothing by itself: " << messages.Texts.front();
    std::printf("%zu foreign cases, %d objects, %d notices\n", cases.size(), objects, told);
    CADCoreClearFontRegistry();
}
