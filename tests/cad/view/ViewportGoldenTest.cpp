#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <memory>
#include <vector>

#include <QImage>

#include "cad/drawing/CADCmp2D.h"
#include "cad/model/GraphicObjList.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "support/ImageTestSupport.h"
#include "support/ViewportTestSupport.h"

using imagetest::SamePixels;
using imagetest::SaveTestImage;
using viewtest::MakeView;

namespace {

// Thousands of short lines over six layers (wide, hidden, dashed, opaque,
// each its colour), with polylines and arcs among them, many reaching
// past the window's edges.
std::unique_ptr<TCADCmp2D> LayeredDrawing()
{
    auto drawing = std::make_unique<TCADCmp2D>();
    TLayers& layers = drawing->Layers();
    layers.GetLayer(1).SetPen({0x0000FF, TPenStyle::Solid, TPenMode::Copy, 3});
    layers.GetLayer(2).Visible = false;
    layers.GetLayer(3).SetPenColor(0x008000);
    layers.GetLayer(3).DecorativePen.SetPattern("111000");
    layers.GetLayer(4).SetPen({0xFF0000, TPenStyle::Dash, TPenMode::Copy, 1});
    layers.GetLayer(4).Opaque = true;
    layers.GetLayer(5).SetPen({0x00FFFF, TPenStyle::Solid, TPenMode::Xor, 2});
    std::uint32_t seed = 4711;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / static_cast<float>(1u << 24);
    };
    for (int i = 0; i < 6000; ++i) {
        drawing->CurrentLayer = static_cast<std::uint8_t>(i % 6);
        const float x = next() * 440 - 20;
        const float y = next() * 340 - 20;
        const TPoint2D start = MakePoint2D(x, y);
        const TPoint2D end = MakePoint2D(x + next() * 30 - 15, y + next() * 30 - 15);
        if (i % 97 == 0) {
            const TPoint2D points[] = {start, end, MakePoint2D(x + 25, y - 10), MakePoint2D(x - 5, y + 20)};
            drawing->AddObject(-1, std::make_unique<TPolyline2D>(0, points));
        } else if (i % 89 == 0) {
            drawing->AddObject(-1, std::make_unique<TArc2D>(0, start, MakePoint2D(x + 40, y + 25), 0.3f, 4.0f));
        } else {
            drawing->AddObject(-1, std::make_unique<TLine2D>(0, start, end));
        }
    }
    return drawing;
}

// The golden pictures live beside this test; KESTRO_UPDATE_GOLDEN=1 writes them anew.
void ExpectGolden(const QImage& picture, const char* name)
{
    const std::filesystem::path golden = std::filesystem::path(KESTRO_CAD_TEST_DIR) / "view" / "golden" / name;
    const QString file = QString::fromStdString(golden.string());
    if (std::getenv("KESTRO_UPDATE_GOLDEN") != nullptr) {
        std::filesystem::create_directories(golden.parent_path());
        ASSERT_TRUE(picture.save(file));
    }
    const QImage expected(file);
    ASSERT_FALSE(expected.isNull()) << golden;
    EXPECT_TRUE(SamePixels(picture, expected)) << name << " differs from its golden picture";
    if (!SamePixels(picture, expected))
        SaveTestImage(picture, std::string("view/") + name);
}

} // namespace

TEST(ViewportGolden, RedrawOfManyObjectsKeepsEveryPixel)
{
    const std::unique_ptr<TCADCmp2D> drawing = LayeredDrawing();
    auto view = MakeView(400, 300, MakeRect2D(0, 0, 400, 300), 1.0f);
    view->SetBackGroundColor(0xC0C0C0);
    view->SetCADCmp2D(drawing.get());
    view->Repaint();
    ExpectGolden(view->WindowImage(), "layered-full.png");

    view->ZoomWindow(MakeRect2D(150, 100, 200, 137.5f));
    ExpectGolden(view->WindowImage(), "layered-zoomed.png");
    view->SetCADCmp2D(nullptr);
}

// A zoomed redraw visits only the objects near the view, found through the
// drawing's grid of boxes; that grid must follow every change. After moves
// (some far beyond the drawing), deletions and additions, the zoomed pictures
// must equal those of a plain walk over the same objects (a view of its own list).
TEST(ViewportGolden, ZoomedRedrawFollowsChangesOfTheDrawing)
{
    const std::unique_ptr<TCADCmp2D> drawing = LayeredDrawing();
    // A box of NaN may overlap anything; one across everything spans too many cells to file.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    drawing->AddObject(-1, std::make_unique<TLine2D>(0, MakePoint2D(nan, 10), MakePoint2D(20, 20)));
    drawing->AddObject(-1, std::make_unique<TLine2D>(0, MakePoint2D(-300, -200), MakePoint2D(700, 500)));
    auto indexed = MakeView(400, 300, MakeRect2D(0, 0, 400, 300), 1.0f);
    auto walked = MakeView(400, 300, MakeRect2D(0, 0, 400, 300), 1.0f);
    TGraphicObjList same;
    same.OwnsObjects = false;
    indexed->SetCADCmp2D(drawing.get());
    walked->SetCADCmp2D(drawing.get());
    walked->SetOwnObjectList(&same);
    const auto compare = [&](const char* step) {
        same.Clear();
        {
            auto iterator = drawing->ObjectsIterator();
            for (TGraphicObject* object = iterator->First(); object; object = iterator->Next())
                same.Add(object);
        }
        const TRect2D views[] = {MakeRect2D(150, 100, 200, 137.5f), MakeRect2D(-40, -30, 10, 7.5f),
                                 MakeRect2D(430, 200, 480, 237.5f), MakeRect2D(395, 290, 396, 290.75f),
                                 MakeRect2D(300, 240, 250, 202.5f)};
        for (const TRect2D& view : views) {
            indexed->ZoomWindow(view);
            walked->ZoomWindow(view);
            EXPECT_TRUE(SamePixels(indexed->WindowImage(), walked->WindowImage()))
                << step << " at " << view.FirstEdge.X << ", " << view.FirstEdge.Y;
        }
    };
    compare("as drawn");

    std::vector<std::int32_t> ids;
    {
        auto iterator = drawing->ObjectsIterator();
        for (TGraphicObject* object = iterator->First(); object; object = iterator->Next())
            ids.push_back(object->ID);
    }
    for (std::size_t i = 0; i < ids.size(); i += 7)
        drawing->GetObject(ids[i])->SetCurrentTransform(MakeTranslation2D(i % 2 ? 60.0f : 130.0f, 40.0f));
    compare("moved");

    for (std::size_t i = 3; i < ids.size(); i += 11)
        drawing->DeleteObject(ids[i]);
    for (int i = 0; i < 40; ++i)
        drawing->AddObject(-1, std::make_unique<TLine2D>(0, MakePoint2D(150 + i, 100), MakePoint2D(480, 237 - i)));
    compare("deleted and added");
    same.Clear();
    walked->SetOwnObjectList(nullptr);
    indexed->SetCADCmp2D(nullptr);
    walked->SetCADCmp2D(nullptr);
}
