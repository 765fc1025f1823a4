#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <QTest>
#include <QWidget>

#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/engine/SelectObjectsInArea.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/ui/CADViewport.h"
#include "support/ImageTestSupport.h"

namespace {

// A small drawing: a house of lines and a polyline roof, a circle, a frame.
void FillDrawing(TCADCmp2D& drawing)
{
    drawing.AddObject(-1, std::make_unique<TFrame2D>(-1, MakePoint2D(20, 20), MakePoint2D(120, 100)));
    drawing.AddObject(-1, std::make_unique<TPolyline2D>(-1, std::vector<TPoint2D>{MakePoint2D(20, 100),
                                                                                    MakePoint2D(70, 150),
                                                                                    MakePoint2D(120, 100)}));
    drawing.AddObject(-1, std::make_unique<TCerchio2D>(-1, MakePoint2D(220, 80), MakePoint2D(260, 80)));
    drawing.AddObject(-1, std::make_unique<TLine2D>(-1, MakePoint2D(160, 20), MakePoint2D(300, 160)));
}

} // namespace

TEST(SelectionDragPicture, TheAreaFollowsThePointerOverTheDrawing)
{
    QWidget window;
    window.resize(320, 200);
    auto* view = new TCADViewport2D(&window);
    view->setGeometry(0, 0, 320, 200);
    TCADViewport2DCore& core = view->Core2D();
    core.SetBackGroundColor(clWhite);
    TCADCmp2D drawing;
    FillDrawing(drawing);
    core.SetCADCmp2D(&drawing);
    core.ZoomWindow(MakeRect2D(0, 0, 320, 200));
    TCADPrg2D engine;
    engine.SetViewport2D(&core);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    std::vector<int> listed;
    auto param = std::make_unique<TCAD2DSelectObjectsInAreaParam>(
        1, TCADStateClass(), [&](TCAD2DSelectObjectsParam& p, TObject2D*, bool, int) {
            std::unique_ptr<TGraphicObjIterator> it = p.SelectedObjects.GetIterator();
            for (TGraphicObject* object = it->First(); object; object = it->Next())
                listed.push_back(object->ID);
        });
    ASSERT_TRUE(engine.StartOperation(TCADStateClass::Of<TCAD2DSelectObjectsInArea>(), std::move(param)));
    const QImage before = view->grab().toImage().convertToFormat(QImage::Format_RGB32);

    QTest::mouseMove(view, QPoint(40, 40));
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
    for (int step = 1; step <= 20; ++step)
        QTest::mouseMove(view, QPoint(40 + 9 * step, 40 + 5 * step));
    const QImage dragged = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(imagetest::SaveTestImage(dragged, "engine/selection-drag.png"));

    // The rectangle's sides run from corner to corner in the rubber colour
    // over the background, and only the last rectangle is shown.
    const QRgb rubber = imagetest::Rgb(clRed);
    EXPECT_EQ(dragged.pixel(40, 120), rubber);
    EXPECT_EQ(dragged.pixel(220, 70), rubber);
    EXPECT_EQ(dragged.pixel(130, 140), rubber);
    EXPECT_EQ(dragged.pixel(130, 40), rubber);
    EXPECT_EQ(imagetest::CountPixels(dragged, QRect(0, 0, 320, 200), rubber),
              imagetest::CountPixels(before, QRect(0, 0, 320, 200), rubber) +
                  imagetest::CountPixels(dragged, QRect(38, 38, 185, 105), rubber) -
                  imagetest::CountPixels(dragged, QRect(43, 43, 175, 95), rubber))
        << "no rubber pixel outside the last rectangle's outline";

    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, QPoint(220, 140));
    EXPECT_FALSE(engine.IsBusy());
    EXPECT_EQ(listed.size(), 4u) << "overlapping mode takes every object the area touches";
    const QImage after = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(imagetest::SamePixels(after, core.BitmapImage())) << "the rubber band is gone";
    engine.SetViewport2D(nullptr);
}
