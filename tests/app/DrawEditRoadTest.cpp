// Roads a user walks in the main window: draw with the tool bar's buttons
// and clicks in the view, then edit what was drawn, and look at the drawing
// afterwards.

#include <gtest/gtest.h>

#include <filesystem>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include "RoadSupport.h"
#include "app/ui/frmMain.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/ui/CADViewport.h"

class DrawEditRoad : public MainWindowRoad {};

// Text and bolt circles are placed with one click; the placing task ends by
// itself and leaves the new container in the drawing under an ID of its own.
TEST_F(DrawEditRoad, TextAndBoltCircleArePlacedWithOneClick)
{
    TfrmMain& frm = StartWithView();
    TCADCmp2D& cad = frm.LocalCad();

    frm.sbtTTFConv->click();
    Settle();
    QTest::keyClicks(frm.txtDaInserire, QStringLiteral("AB"));
    QTest::keyClick(frm.txtDaInserire, Qt::Key_Return);
    Settle();
    ClickWorld(frm, 30, 40);
    // The letters' outlines: A's outer and inner, B's outer and two inner.
    const auto text = ShownClassesByID(cad);
    EXPECT_EQ(text.size(), 5u);
    for (const auto& [id, name] : text)
        EXPECT_EQ(name, "TPolyline2D");

    frm.MyBoltPointClick();
    Settle();
    ClickWorld(frm, 60, 60);
    EXPECT_GT(ShownClassesByID(cad).size(), text.size());
    ExpectSoundDrawing(cad);
    const std::filesystem::path folder(KESTRO_TEST_OUTPUT_DIR);
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(frm.grab().save(QString::fromStdString((folder / "RoadTextAndBoltCircle.png").string())));
}

// Lines and a frame drawn with clicks each get an ID of their own, so that a
// pick selects the object under the pointer and Delete removes that one.
TEST_F(DrawEditRoad, DrawnObjectsAreDeletedByTheirOwnPick)
{
    TfrmMain& frm = StartWithView();
    TCADCmp2D& cad = frm.LocalCad();

    frm.ChooseCommand(2);
    ClickWorld(frm, 10, 10);
    ClickWorld(frm, 40, 10);
    frm.FormKeyPress('\x1b');
    frm.ChooseCommand(3);
    ClickWorld(frm, 50, 50);
    ClickWorld(frm, 80, 80);
    frm.FormKeyPress('\x1b');
    frm.ChooseCommand(2);
    ClickWorld(frm, 10, 30);
    ClickWorld(frm, 10, 60);
    frm.FormKeyPress('\x1b');
    const auto drawn = ShownClassesByID(cad);
    ASSERT_EQ(drawn.size(), 3u);
    ExpectSoundDrawing(cad);

    frm.ChooseCommand(21);
    ClickWorld(frm, 25, 10);
    frm.FormKeyPress('\r');
    Settle();
    // Gone: the first line drawn, the one with the lowest ID.
    auto expected = drawn;
    expected.erase(expected.begin());
    EXPECT_EQ(ShownClassesByID(cad), expected);
}

// The close buttons of the text and distance pages do their own pages' work,
// not only the common close: the text is not placed, the measure's snap ends.
TEST_F(DrawEditRoad, TextAndDistancePagesCloseWithTheirOwnHandlers)
{
    TfrmMain& frm = StartWithView();
    frm.sbtTTFConv->click();
    QTest::keyClicks(frm.txtDaInserire, QStringLiteral("A"));
    ASSERT_TRUE(frm.PagesVisible());
    auto* closeText = frm.findChild<QToolButton*>(QStringLiteral("SpeedButton7"));
    ASSERT_NE(closeText, nullptr);
    QTest::mouseClick(closeText, Qt::LeftButton);
    EXPECT_TRUE(frm.Commands().TextPlacementCancelled);
    EXPECT_FALSE(frm.PagesVisible());
    ClickWorld(frm, 30, 40);
    EXPECT_TRUE(ShownClassesByID(frm.LocalCad()).empty()) << "a closed text page places nothing";

    frm.ChooseCommand(57);
    ASSERT_TRUE(frm.Commands().ObjectSnapActive);
    auto* closeDistance = frm.findChild<QToolButton*>(QStringLiteral("SpeedButton5"));
    ASSERT_NE(closeDistance, nullptr);
    QTest::mouseClick(closeDistance, Qt::LeftButton);
    EXPECT_FALSE(frm.Commands().ObjectSnapActive);
    EXPECT_FALSE(frm.PagesVisible());
}

// New while a pan has suspended a selection: the selection's picks are gone
// with the drawing, so nothing may draw them when the pan ends.
TEST_F(DrawEditRoad, NewDuringAPanThatSuspendedAPickEndsBoth)
{
    TfrmMain& frm = StartWithView();
    frm.ChooseCommand(2);
    ClickWorld(frm, 10, 10);
    ClickWorld(frm, 40, 10);
    frm.FormKeyPress('\x1b');
    frm.ChooseCommand(25);
    ClickWorld(frm, 25, 10);
    frm.sbtPan->click();
    Answer = kIdYes;
    frm.sbtNew->click();
    EXPECT_EQ(frm.LocalCad().ObjectsCount(), 0);
    EXPECT_FALSE(frm.LocalPrg().IsBusy());
    PressKey(frm.VistaGrafica, Qt::Key_Return, QStringLiteral("\r"));
    Settle();
    ClickWorld(frm, 50, 50);
    EXPECT_EQ(frm.LocalCad().ObjectsCount(), 0);
}
