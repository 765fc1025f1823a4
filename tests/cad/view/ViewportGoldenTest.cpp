#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include <QImage>

#include "cad/drawing/CADCmp2D.h"
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
