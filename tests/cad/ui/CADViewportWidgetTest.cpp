#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

#include "cad/shapes/Frame2D.h"
#include "cad/ui/CADViewport.h"
#include "cad/ui/ScreenCursors.h"
#include "cad/view/ScreenCursor.h"
#include "support/EngineTestStates.h"
#include "support/ImageTestSupport.h"

using namespace enginetest;

namespace {

// Receives the keys the view passes on, as the main window would.
class TKeyWindow : public QWidget {
public:
    std::vector<int> Keys;

protected:
    void keyPressEvent(QKeyEvent* event) override { Keys.push_back(event->key()); }
};

class ViewportWidget : public testing::Test {
protected:
    void SetUp() override
    {
        Log().clear();
        Window = std::make_unique<TKeyWindow>();
        Window->resize(300, 200);
        View = new TCADViewport2D(Window.get());
        View->setGeometry(0, 0, 200, 100);
        View->Core2D().ZoomWindow(MakeRect2D(0, 0, 200, 100));
        Engine.SetViewport2D(&View->Core2D());
        Window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Window.get()));
        View->setFocus();
    }
    void TearDown() override
    {
        Engine.StopOperation();
        Engine.SetViewport2D(nullptr);
    }

    TCADPrg2D Engine;
    std::unique_ptr<TKeyWindow> Window;
    TCADViewport2D* View = nullptr;
};

std::string Event(TCADPrgEvent kind, int button, TShiftState shift, int key = 0)
{
    return Describe(kind, button, shift, key);
}

} // namespace

TEST_F(ViewportWidget, FollowsItsSizeAndShowsTheWindowPicture)
{
    EXPECT_EQ(View->Core().ClientWidth(), 200);
    EXPECT_EQ(View->Core().ClientHeight(), 100);
    View->resize(120, 80);
    EXPECT_EQ(View->Core().ClientWidth(), 120);
    EXPECT_EQ(View->Core().WindowImage().size(), QSize(120, 80));

    View->Core2D().SetBackGroundColor(clWhite);
    TFrame2D frame(0, MakePoint2D(10, 10), MakePoint2D(60, 60));
    View->Core2D().DrawObject2DWithRubber(frame, false);
    const QImage shot = View->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shot, View->Core().WindowImage()) << "the widget shows the window picture";
}

TEST_F(ViewportWidget, ATransparentViewShowsWhatLiesUnderItsBackground)
{
    Window->setAutoFillBackground(true);
    QPalette palette = Window->palette();
    palette.setColor(QPalette::Window, QColor(0, 0, 255));
    Window->setPalette(palette);
    View->Core2D().SetBackGroundColor(clWhite);
    TFrame2D frame(0, MakePoint2D(10, 10), MakePoint2D(60, 60));
    struct TCase {
        bool Transparent;
        QRgb Background;
        const char* Label;
    };
    for (const TCase& c : {TCase{false, qRgb(255, 255, 255), "opaque"}, TCase{true, qRgb(0, 0, 255), "transparent"},
                           TCase{false, qRgb(255, 255, 255), "opaque again"}}) {
        View->Core2D().SetIsTransparent(c.Transparent);
        View->Core2D().DrawObject2DWithRubber(frame, false);
        const QImage shot = Window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(shot.pixel(100, 30), c.Background) << c.Label << ": inside the view";
        EXPECT_EQ(shot.pixel(250, 150), qRgb(0, 0, 255)) << c.Label << ": beside the view";
        const QPoint corner(9, 90); // the frame's lower left corner, world (10, 10)
        EXPECT_EQ(shot.pixel(corner), imagetest::Rgb(clRed)) << c.Label << ": the rubber frame";
        View->Core().InvalidateView();
    }
}

TEST_F(ViewportWidget, MouseInputReachesTheEngineOnceAndThe2DEventsOnce)
{
    ASSERT_TRUE(Engine.StartOperation(TCADStateClass::Of<TRecordingState>()));
    std::vector<std::string> fired;
    View->Core2D().OnMouseDown2D = [&](TMouseButton b, TShiftState shift, float wx, float wy, int x, int y) {
        fired.push_back("down " + std::to_string(static_cast<int>(b)) + " at " + std::to_string(x) + "," +
                        std::to_string(y) + " world " + std::to_string(static_cast<int>(wx)) + "," +
                        std::to_string(static_cast<int>(wy)) + ((shift & ssDouble) ? " double" : ""));
    };
    Log().clear();
    QTest::mousePress(View, Qt::LeftButton, Qt::NoModifier, QPoint(40, 30));
    QTest::mouseRelease(View, Qt::LeftButton, Qt::NoModifier, QPoint(40, 30));
    // A double click as the window system delivers it: press, release, double click, release.
    QTest::mousePress(View, Qt::RightButton, Qt::ShiftModifier, QPoint(50, 60));
    QTest::mouseRelease(View, Qt::RightButton, Qt::ShiftModifier, QPoint(50, 60));
    QTest::mouseDClick(View, Qt::RightButton, Qt::ShiftModifier, QPoint(50, 60));
    QTest::mouseRelease(View, Qt::RightButton, Qt::ShiftModifier, QPoint(50, 60));
    QTest::mousePress(View, Qt::MiddleButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseRelease(View, Qt::MiddleButton, Qt::NoModifier, QPoint(10, 10));
    const std::vector<std::string> expected = {
        Event(TCADPrgEvent::MouseDown, 1, ssLeft),
        Event(TCADPrgEvent::MouseUp, 1, 0),
        Event(TCADPrgEvent::MouseDown, 2, ssShift | ssRight),
        Event(TCADPrgEvent::MouseUp, 2, ssShift),
        Event(TCADPrgEvent::DblClick, 0, 0),
        Event(TCADPrgEvent::MouseDown, 2, ssShift | ssRight),
        Event(TCADPrgEvent::MouseUp, 2, ssShift),
    };
    EXPECT_EQ(Log(), expected);
    EXPECT_EQ(fired, (std::vector<std::string>{"down 0 at 40,30 world 40,69", "down 1 at 50,60 world 50,39",
                                               "down 1 at 50,60 world 50,39 double", "down 2 at 10,10 world 10,89"}));
    EXPECT_NEAR(Engine.GetCurrentPoint().X, 50.5f, 1e-4);
}

TEST_F(ViewportWidget, KeysReachTheEngineAndGoOnToTheWindow)
{
    ASSERT_TRUE(Engine.StartOperation(TCADStateClass::Of<TRecordingState>()));
    Log().clear();
    QTest::keyClick(View, Qt::Key_Escape);
    QTest::keyClick(View, Qt::Key_A, Qt::ShiftModifier);
    // The shift key itself is a key too.
    EXPECT_EQ(Log(), (std::vector<std::string>{Event(TCADPrgEvent::KeyDown, 0, 0, VK_ESCAPE),
                                               Event(TCADPrgEvent::KeyUp, 0, 0, VK_ESCAPE),
                                               Event(TCADPrgEvent::KeyDown, 0, ssShift, VK_SHIFT),
                                               Event(TCADPrgEvent::KeyDown, 0, ssShift, 'A'),
                                               Event(TCADPrgEvent::KeyUp, 0, ssShift, 'A'),
                                               Event(TCADPrgEvent::KeyUp, 0, 0, VK_SHIFT)}));
    EXPECT_EQ(Window->Keys, (std::vector<int>{Qt::Key_Escape, Qt::Key_Shift, Qt::Key_A}));
    EXPECT_EQ(Engine.LastKey(), 0);
}

TEST(ViewportKeys, QtKeysBecomeTheEnginesCodes)
{
    const std::pair<int, int> cases[] = {
        {Qt::Key_Return, VK_RETURN}, {Qt::Key_Enter, VK_RETURN}, {Qt::Key_Escape, VK_ESCAPE},
        {Qt::Key_A, 'A'},           {Qt::Key_Z, 'Z'},           {Qt::Key_5, '5'},
        {Qt::Key_F1, VK_F1},         {Qt::Key_F12, VK_F1 + 11},  {Qt::Key_Delete, VK_DELETE},
        {Qt::Key_Left, VK_LEFT},     {Qt::Key_Space, VK_SPACE},  {Qt::Key_Eacute, 0},
    };
    for (const auto& [qt, vk] : cases)
        EXPECT_EQ(VirtualKeyFromQt(qt), vk) << qt;
}

TEST(ScreenCursors, EachSlotHasItsOwnCursorAndTheChosenOneIsShown)
{
    std::vector<QImage> images;
    for (int slot = crPan; slot <= crPoint; ++slot) {
        const QCursor cursor = MakeScreenCursor(slot);
        ASSERT_EQ(cursor.shape(), Qt::BitmapCursor) << slot;
        EXPECT_EQ(cursor.hotSpot(), QPoint(16, 16)) << slot;
        const QImage image = cursor.pixmap().toImage();
        for (const QImage& other : images)
            EXPECT_NE(image, other) << slot;
        images.push_back(image);
    }
    EXPECT_EQ(MakeScreenCursor(crDefault).shape(), Qt::ArrowCursor);

    InstallScreenCursors();
    SetScreenCursor(crCentre);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->pixmap().toImage(), images[crCentre - crPan]);
    SetScreenCursor(crEndPoint);
    EXPECT_EQ(QGuiApplication::overrideCursor()->pixmap().toImage(), images[crEndPoint - crPan]);
    SetScreenCursor(crDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    SetScreenCursorSink(nullptr);
}
