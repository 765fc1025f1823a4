#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <QPainter>

#include "cad/drawing/CADCmp2D.h"
#include "cad/model/GraphicObjList.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Punto2D.h"
#include "support/ImageTestSupport.h"
#include "support/ViewportTestSupport.h"

using imagetest::Rgb;
using imagetest::SamePixels;
using viewtest::MakeView;

namespace {

// A 100 x 100 window on the world square (0, 0)-(100, 100): one unit a pixel.
struct TViewFixture {
    TViewFixture() : View(MakeView(100, 100, MakeRect2D(0, 0, 100, 100))) { View->SetCADCmp2D(&Drawing); }

    TObject2D* AddLine(float x1, float y1, float x2, float y2)
    {
        return Drawing.AddObject(-1, std::make_unique<TLine2D>(0, MakePoint2D(x1, y1), MakePoint2D(x2, y2)));
    }

    TCADCmp2D Drawing;
    std::unique_ptr<TCADViewport2DCore> View;
};

void ExpectSameRect(const TRect2D& a, const TRect2D& b, const char* label)
{
    EXPECT_FLOAT_EQ(a.FirstEdge.X, b.FirstEdge.X) << label;
    EXPECT_FLOAT_EQ(a.FirstEdge.Y, b.FirstEdge.Y) << label;
    EXPECT_FLOAT_EQ(a.SecondEdge.X, b.SecondEdge.X) << label;
    EXPECT_FLOAT_EQ(a.SecondEdge.Y, b.SecondEdge.Y) << label;
}

struct THookCall {
    std::string What;
    int Button = -1;
};

// Records what reaches the engine and answers as told.
class TFakeHook : public TCADViewportHook {
public:
    bool HookKeyDown(int key, TShiftState) override { return Log("key down", key); }
    bool HookKeyUp(int key, TShiftState) override { return Log("key up", key); }
    bool HookMouseMove(TShiftState, int, int) override { return Log("move", -1); }
    bool HookMouseDown(int button, TShiftState, int, int) override { return Log("down", button); }
    bool HookMouseUp(int button, TShiftState, int, int) override { return Log("up", button); }
    bool HookDblClick() override { return Log("double click", -1); }
    void HookViewportDestroyed() override { Destroyed = true; }

    bool Answer = true;
    bool Destroyed = false;
    std::vector<THookCall> Calls;

private:
    bool Log(const char* what, int button)
    {
        Calls.push_back({what, button});
        return Answer;
    }
};

} // namespace

TEST(ViewportPick, TakesTheBestCodeThenTheNearestAndTheLaterObjectOnATie)
{
    TViewFixture f;
    TObject2D* first = f.AddLine(10, 50, 90, 50);
    TObject2D* second = f.AddLine(10, 50, 90, 50);
    TObject2D* near = f.AddLine(10, 53, 90, 53);
    int code = 0;

    EXPECT_EQ(f.View->PickObject(MakePoint2D(50, 50.5f), 5, code, false), second) << "equal hits: the later";
    EXPECT_EQ(code, PICK_ONOBJECT);
    EXPECT_EQ(f.View->PickObject(MakePoint2D(50, 52.5f), 5, code, false), near) << "the nearest";
    EXPECT_EQ(f.View->PickObject(MakePoint2D(50, 50.5f), 5, code, true), first) << "first stops at the first hit";
    EXPECT_EQ(f.View->PickObject(MakePoint2D(10, 50), 5, code, false), second) << "control point";
    EXPECT_EQ(code, 0);

    EXPECT_EQ(f.View->PickObject(MakePoint2D(50, 60), 5, code, false), nullptr) << "beyond the aperture";
    EXPECT_EQ(code, PICK_NOOBJECT);
    // Inside a box only: the code says so and callers may ignore it.
    TObject2D* diagonal = f.AddLine(0, 0, 40, 40);
    EXPECT_EQ(f.View->PickObject(MakePoint2D(35, 5), 2, code, false), diagonal);
    EXPECT_EQ(code, PICK_INBBOX);
}

TEST(ViewportPick, SkipsHiddenOrInactiveLayersAndOtherClasses)
{
    TViewFixture f;
    TObject2D* line = f.AddLine(10, 50, 90, 50);
    int code = 0;
    f.Drawing.Layers().GetLayer(0).Active = false;
    EXPECT_EQ(f.View->PickObject(MakePoint2D(50, 50), 5, code, false), nullptr) << "inactive layer";
    f.Drawing.Layers().GetLayer(0).Active = true;
    f.Drawing.Layers().GetLayer(0).Visible = false;
    EXPECT_EQ(f.View->PickObject(MakePoint2D(50, 50), 5, code, false), nullptr) << "hidden layer";
    f.Drawing.Layers().GetLayer(0).Visible = true;
    f.View->PickClass = TObject2DClass::Of<TPunto2D>();
    EXPECT_EQ(f.View->PickObject(MakePoint2D(50, 50), 5, code, false), nullptr) << "not of the pick class";
    f.View->PickClass = TObject2DClass::Of<TLine2D>();
    EXPECT_EQ(f.View->PickObject(MakePoint2D(50, 50), 5, code, false), line);
    // Outside the visible rectangle nothing is picked.
    f.View->ZoomWindow(MakeRect2D(200, 200, 300, 300));
    EXPECT_EQ(f.View->PickObject(MakePoint2D(50, 50), 5, code, false), nullptr) << "off the view";
}

TEST(ViewportCollect, TakesObjectsInsideOrOverlappingAndCanRemoveThem)
{
    TViewFixture f;
    f.AddLine(10, 10, 20, 20); // inside
    f.AddLine(30, 30, 80, 80); // overlapping
    f.AddLine(85, 85, 95, 95); // outside
    const TRect2D area = MakeRect2D(0, 0, 50, 50);
    const auto ids = [](TGraphicObjList& list) {
        std::vector<int> result;
        auto it = list.GetIterator();
        for (TGraphicObject* o = it->First(); o; o = it->Next())
            result.push_back(o->ID);
        return result;
    };
    TGraphicObjList inside;
    f.View->CollectObjectsInRect(inside, area, false, 0);
    EXPECT_EQ(ids(inside), (std::vector<int>{0}));
    EXPECT_FALSE(inside.OwnsObjects);
    TGraphicObjList overlapping;
    f.View->CollectObjectsInRect(overlapping, area, false, 1);
    EXPECT_EQ(ids(overlapping), (std::vector<int>{0, 1}));

    TGraphicObjList removed;
    f.View->CollectObjectsInRect(removed, MakeRect2D(0, 0, 100, 100), true, 1);
    EXPECT_EQ(ids(removed), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(removed.OwnsObjects);
    EXPECT_EQ(f.Drawing.ObjectsCount(), 0);
}

TEST(ViewportDrawing, RubberDrawingTwiceRestoresTheWindowAndACopyWipesIt)
{
    TViewFixture f;
    f.View->SetBackGroundColor(clWhite);
    f.AddLine(10, 10, 90, 90);
    f.View->Repaint();
    const QImage clean = f.View->WindowImage().copy();
    TFrame2D frame(0, MakePoint2D(20, 20), MakePoint2D(60, 70));

    f.View->DrawObject2DWithRubber(frame, false);
    const QImage once = f.View->WindowImage().copy();
    EXPECT_FALSE(SamePixels(once, clean));
    EXPECT_TRUE(SamePixels(f.View->BitmapImage(), clean)) << "rubber drawing stays off the bitmap";
    // The rubber colour over the background is the rubber pen colour itself.
    const TPoint2D corner = f.View->WorldToScreen(MakePoint2D(20, 45));
    EXPECT_EQ(once.pixel(static_cast<int>(corner.X + 0.5f), static_cast<int>(corner.Y + 0.5f)), Rgb(clRed));

    f.View->DrawObject2DWithRubber(frame, false);
    EXPECT_TRUE(SamePixels(f.View->WindowImage(), clean)) << "drawn twice: erased";

    f.View->DrawObject2DWithRubber(frame, true);
    f.View->InvalidateView();
    EXPECT_TRUE(SamePixels(f.View->WindowImage(), clean)) << "the copy wipes it";

    // A permanent drawing goes to both pictures and survives the copy.
    TLine2D extra(0, MakePoint2D(10, 90), MakePoint2D(90, 10));
    f.View->DrawObject2D(extra, false);
    f.View->InvalidateView();
    EXPECT_FALSE(SamePixels(f.View->WindowImage(), clean));
    EXPECT_TRUE(SamePixels(f.View->WindowImage(), f.View->BitmapImage()));
}

TEST(ViewportDrawing, ARepaintClearsDrawsAndShowsInOrder)
{
    TViewFixture f;
    f.AddLine(10, 10, 90, 90);
    std::vector<std::string> events;
    f.View->OnBeginRedraw = [&] { events.push_back("begin"); };
    f.View->OnPaint = [&] { events.push_back("paint"); };
    f.View->OnEndRedraw = [&] { events.push_back("end"); };
    f.View->SetOnClearCanvas([&](TDecorativeCanvas& canvas, const TRect2D&, TColor back) {
        events.push_back("clear");
        canvas.GetPainter()->fillRect(0, 0, 100, 100, QColor(0, 0, 255));
        EXPECT_EQ(back, f.View->BackGroundColor());
    });
    events.clear();
    f.View->Repaint();
    EXPECT_EQ(events, (std::vector<std::string>{"clear", "begin", "paint", "end"}));
    EXPECT_EQ(f.View->WindowImage().pixel(2, 2), qRgb(0, 0, 255)) << "the handler's background";

    events.clear();
    f.View->DisableRepaint();
    f.View->Repaint();
    EXPECT_TRUE(events.empty()) << "disabled";
    f.View->EnableRepaint();
    EXPECT_EQ(events.size(), 4u) << "enabling repaints";

    // A failing object still leaves a shown picture, and the failure goes on.
    f.View->SetOnClearCanvas(nullptr);
    f.View->OnBeginRedraw = [] { throw std::runtime_error("broken"); };
    events.clear();
    EXPECT_THROW(f.View->Repaint(), std::runtime_error);
    EXPECT_EQ(events, (std::vector<std::string>{"paint", "end"}));
}

TEST(ViewportInput, TheEngineSeesEachEventFirstAndThe2DEventsFireOnce)
{
    TViewFixture f;
    TFakeHook hook;
    f.View->SetHook(&hook);
    std::vector<std::string> fired;
    TPoint2D world;
    f.View->OnMouseDown2D = [&](TMouseButton b, TShiftState shift, float wx, float wy, int, int) {
        fired.push_back(std::string("down ") + std::to_string(static_cast<int>(b)) +
                        ((shift & ssDouble) ? " double" : ""));
        world = MakePoint2D(wx, wy);
    };
    f.View->OnMouseUp2D = [&](TMouseButton, TShiftState, float, float, int, int) { fired.push_back("up"); };
    f.View->OnMouseMove2D = [&](TShiftState, float, float, int, int) { fired.push_back("move"); };
    f.View->OnDblClick = [&] { fired.push_back("dblclick"); };

    f.View->DispatchMouseDown(TMouseButton::Left, ssLeft, 30, 70);
    EXPECT_EQ(fired, (std::vector<std::string>{"down 0"}));
    EXPECT_NEAR(world.X, 30.5f, 1e-4);
    EXPECT_NEAR(world.Y, 29.5f, 1e-4);

    // The engine fired the 2D events itself: the view does not.
    hook.Answer = false;
    fired.clear();
    f.View->DispatchMouseMove(0, 1, 1);
    f.View->DispatchMouseUp(TMouseButton::Right, 0, 1, 1);
    EXPECT_TRUE(fired.empty());
    EXPECT_FALSE(f.View->Skip2DEvents()) << "the flag is restored";

    // The middle button reaches only the view.
    hook.Calls.clear();
    f.View->DispatchMouseDown(TMouseButton::Middle, ssMiddle, 1, 1);
    EXPECT_TRUE(hook.Calls.empty());
    EXPECT_EQ(fired, (std::vector<std::string>{"down 2"}));

    // A double click: the engine's double click, then its mouse down; then the view's.
    hook.Answer = true;
    fired.clear();
    f.View->DispatchDblClick(TMouseButton::Right, ssRight, 5, 5);
    ASSERT_EQ(hook.Calls.size(), 2u);
    EXPECT_EQ(hook.Calls[0].What, "double click");
    EXPECT_EQ(hook.Calls[1].What, "down");
    EXPECT_EQ(hook.Calls[1].Button, 1);
    EXPECT_EQ(fired, (std::vector<std::string>{"dblclick", "down 1 double"}));

    hook.Calls.clear();
    f.View->DispatchKeyDown(VK_ESCAPE, 0);
    f.View->DispatchKeyUp(VK_ESCAPE, 0);
    ASSERT_EQ(hook.Calls.size(), 2u);
    EXPECT_EQ(hook.Calls[0].Button, VK_ESCAPE);

    f.View.reset();
    EXPECT_TRUE(hook.Destroyed) << "the engine is told when the view goes";
}

TEST(ViewportDrawing, NothingIsDrawnOrPickedWhileTheDrawingIsHeldForAChange)
{
    TViewFixture f;
    f.View->SetBackGroundColor(clWhite);
    f.AddLine(10, 50, 90, 50);
    TGraphicObjList own;
    own.Add(std::make_unique<TLine2D>(1, MakePoint2D(50, 10), MakePoint2D(50, 90)));
    const QPoint drawingLine(30, 50);
    const QPoint ownLine(50, 70);
    // Something other than the background next to the point.
    const auto drawn = [&f](QPoint p) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (f.View->WindowImage().pixel(p.x() + dx, p.y() + dy) != qRgb(255, 255, 255))
                    return true;
        return false;
    };
    int code = 0;

    for (TGraphicObjList* list : {static_cast<TGraphicObjList*>(nullptr), &own}) {
        f.View->SetOwnObjectList(list);
        const QPoint line = list ? ownLine : drawingLine;
        const TPoint2D onLine = list ? MakePoint2D(50, 30) : MakePoint2D(30, 50);
        f.View->Repaint();
        EXPECT_TRUE(drawn(line)) << (list ? "own list" : "drawing");
        EXPECT_NE(f.View->PickObject(onLine, 5, code, false), nullptr);
        {
            const auto held = f.Drawing.ObjectsExclusiveIterator();
            f.View->Repaint();
            EXPECT_FALSE(drawn(line)) << (list ? "own list, drawing held" : "drawing held");
            EXPECT_EQ(f.View->PickObject(onLine, 5, code, false), nullptr);
        }
        {
            const auto held = f.Drawing.SourceBlocksExclusiveIterator();
            f.View->Repaint();
            EXPECT_FALSE(drawn(line)) << (list ? "own list, blocks held" : "blocks held");
        }
    }
    f.View->SetOwnObjectList(nullptr);
}

TEST(ViewportDrawing, CopyToCanvasDrawsTheViewElsewhereAndLeavesItAsItWas)
{
    TViewFixture f;
    f.View->SetAspectRatio(1.0f);
    f.View->SetBackGroundColor(clWhite);
    // Off the visible rectangle (0, 0)-(100, 100).
    f.AddLine(200, 300, 400, 300);
    f.View->Repaint();
    const QImage window = f.View->WindowImage().copy();
    const TRect2D before = f.View->VisualRect();
    struct TCase {
        int Kind;
        int Row; // where the line must show, -1: nowhere
        const char* Label;
    };
    // Kind 1: the extension (190, 290)-(410, 310) stretched over the picture,
    // so the line lies on its middle row. Kind 2: 1 mm a pixel times 4 shows
    // (0, 0)-(400, 400): the line is on row 100 - 300 / 4 - 0.5.
    const TCase cases[] = {{0, -1, "the visible rectangle"}, {1, 50, "the extension"}, {2, 24, "device scale"}};
    for (const TCase& c : cases) {
        QImage picture(100, 100, QImage::Format_RGB32);
        picture.fill(Qt::white);
        picture.setDotsPerMeterX(1000);
        picture.setDotsPerMeterY(1000);
        {
            QPainter painter(&picture);
            TDecorativeCanvas canvas(&painter);
            f.View->CopyToCanvas(canvas, 0, 4.0f, 4.0f, c.Kind);
        }
        int lineRow = -1;
        for (int y = 0; y < 100 && lineRow < 0; ++y)
            if (picture.pixel(75, y) != qRgb(255, 255, 255))
                lineRow = y;
        EXPECT_NEAR(lineRow, c.Row, c.Row < 0 ? 0 : 1) << c.Label;
        ExpectSameRect(f.View->VisualRect(), before, c.Label);
        EXPECT_FLOAT_EQ(f.View->AspectRatio(), 1.0f) << c.Label;
        EXPECT_FALSE(f.View->RepaintDisabled()) << c.Label;
        EXPECT_TRUE(SamePixels(f.View->WindowImage(), window)) << c.Label;
    }
}

TEST(ViewportDrawing, ControlPointsGridOnTopAndInterimCopiesFollowTheirSettings)
{
    TViewFixture f;
    f.View->SetBackGroundColor(clWhite);
    // Control-point marks are outlined with the rubber pen's colour.
    constexpr TColor Marks = clRed;
    constexpr TColor Fill = 0x00C000; // green
    f.Drawing.Layers().GetLayer(0).SetBrush({Fill, TBrushStyle::Solid});
    // A filled rectangle under the whole view, then a line.
    f.Drawing.AddObject(-1, std::make_unique<TRectangle2D>(0, MakePoint2D(-10, -10), MakePoint2D(110, 110)));
    f.AddLine(30, 50, 70, 50);
    f.View->SetGridDeltaX(20);
    f.View->SetGridDeltaY(20);
    f.View->SetShowGrid(true);
    const auto count = [&f](QRect area, TColor colour) {
        return imagetest::CountPixels(f.View->WindowImage(), area, Rgb(colour));
    };
    // The line's first end is at pixel (30, 50); grid points lie every 20 pixels.
    const QRect firstEnd(24, 44, 13, 13);
    const QRect gridArea(0, 0, 25, 25);

    f.View->Repaint();
    EXPECT_EQ(count(firstEnd, Marks), 0) << "no control points";
    EXPECT_EQ(count(gridArea, clGray), 0) << "the grid lies under the rectangle";
    f.View->SetShowControlPoints(true);
    EXPECT_GT(count(firstEnd, Marks), 0) << "control points";
    f.View->SetGridOnTop(true);
    EXPECT_GT(count(gridArea, clGray), 0) << "the grid on top";

    // Interim copies of the bitmap: after every second object, and the last one.
    f.AddLine(10, 10, 20, 20);
    f.AddLine(10, 20, 20, 10);
    int copies = 0;
    int paints = 0;
    f.View->OnWindowChanged = [&copies] { ++copies; };
    f.View->OnPaint = [&paints] { ++paints; };
    for (const auto& [frequency, expected] : {std::pair{0, 1}, std::pair{2, 3}, std::pair{3, 2}, std::pair{5, 1}}) {
        f.View->SetCopingFrequency(frequency);
        copies = paints = 0;
        f.View->Repaint();
        EXPECT_EQ(copies, expected) << "every " << frequency;
        EXPECT_EQ(paints, 1) << "every " << frequency;
    }
}
