// The drawing road: every drawing command of the tool bar started by its
// own button or menu item, its fields typed into its page and its points
// clicked in the view. Each command must add exactly its own objects where
// the clicks put them, and leave the rest of the drawing as it was. The
// point grid and the bolt circle are placed as a container and left as
// their loose points.

#include <gtest/gtest.h>

#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include <QLineEdit>
#include <QTest>

#include "RoadSupport.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/Primitive2D.h"

namespace {

struct TDrawStep {
    const char* Name;
    std::int32_t Code;
    // Fields of the command's page and what the user types into them.
    std::vector<std::pair<const char*, const char*>> Fields;
    std::vector<TWorldPoint> Clicks;
    // Ends a figure of any number of points (polyline, spline).
    bool AcceptWithEnter;
    // The classes of the added objects, sorted, and the box they fill
    // together (an arc's box is its whole circle's).
    const char* Added;
    TRect2D Box;
    // An arc's start and end angle, degrees.
    std::optional<std::pair<float, float>> Angles = std::nullopt;
};

const std::vector<TDrawStep>& DrawSteps()
{
    static const std::vector<TDrawStep> steps{
        {"point", 1, {}, {{20, 20}}, false, "TPunto2D", MakeRect2D(20, 20, 20, 20)},
        {"line", 2, {}, {{10, 10}, {40, 30}}, false, "TLine2D", MakeRect2D(10, 10, 40, 30)},
        // The line's far end is the one placed, the line runs back from it.
        {"polar line", 30, {{"txtLinePolLen", "20"}}, {{30, 50}}, false, "TLine2D", MakeRect2D(10, 50, 30, 50)},
        {"rectangle", 3, {}, {{50, 50}, {80, 70}}, false, "TFrame2D", MakeRect2D(50, 50, 80, 70)},
        {"circle by centre and point", 4, {}, {{50, 50}, {60, 50}}, false, "TCerchio2D", MakeRect2D(40, 40, 60, 60)},
        {"circle by centre and diameter", 5, {{"txtDiamArco", "20"}}, {{30, 70}}, false, "TCerchio2D",
         MakeRect2D(20, 60, 40, 80)},
        {"arc by centre, point and angles", 6, {}, {{70, 70}, {80, 70}, {80, 70}, {60, 70}}, false, "TArco2D",
         MakeRect2D(60, 60, 80, 80), std::pair{0.0f, 180.0f}},
        {"polar arc", 7, {{"txtDiamArcoPolare", "20"}, {"rseArcoPolareEa", "90"}}, {{50, 20}}, false, "TArco2D",
         MakeRect2D(40, 10, 60, 30), std::pair{0.0f, 90.0f}},
        {"closed ellipse", 8, {}, {{20, 20}, {60, 40}}, false, "TEllipse2D", MakeRect2D(20, 20, 60, 40)},
        {"open ellipse", 9, {}, {{20, 20}, {60, 40}, {60, 30}, {20, 30}}, false, "TArc2D", MakeRect2D(20, 20, 60, 40),
         std::pair{0.0f, 180.0f}},
        {"polyline", 10, {}, {{10, 10}, {30, 10}, {30, 30}}, true, "TPolyline2D", MakeRect2D(10, 10, 30, 30)},
        {"spline", 11, {}, {{10, 10}, {30, 30}, {50, 10}, {70, 30}}, true, "TBSpline2D", MakeRect2D(10, 10, 70, 30)},
        {"point grid", 55, {{"txtPtGridDx", "5"}, {"txtPtGridDy", "4"}, {"txtPtGridNx", "3"}, {"txtPtGridNy", "2"}},
         {{10, 10}}, false, "TPunto2D TPunto2D TPunto2D TPunto2D TPunto2D TPunto2D", MakeRect2D(10, 10, 20, 14)},
        {"bolt circle", 56, {{"txtBoltCirRadius", "10"}, {"txtBoltCircNPt", "4"}, {"txtBoltCircAngleBet", "90"}},
         {{50, 50}}, false, "TPunto2D TPunto2D TPunto2D TPunto2D", MakeRect2D(40, 40, 60, 60)},
    };
    return steps;
}

class DrawRoad : public MainWindowRoad {};

} // namespace

// One after another in the same drawing, so that each command also has to
// leave what the ones before it drew alone.
TEST_F(DrawRoad, EveryDrawingCommandAddsItsObjectWhereItWasClicked)
{
    TfrmMain& frm = StartWithView();
    TCADCmp2D& cad = frm.LocalCad();
    for (const TDrawStep& step : DrawSteps()) {
        SCOPED_TRACE(step.Name);
        const auto before = ShownObjects(cad);
        ChooseFromToolBar(frm, step.Code);
        for (const auto& [name, text] : step.Fields)
            TypeInto(frm.findChild<QLineEdit*>(QString::fromLatin1(name)), QString::fromLatin1(text));
        ClickAndEnd(frm, step.Clicks, step.AcceptWithEnter);

        const auto after = ShownObjects(cad);
        const TDrawingChange change = ChangeBetween(before, after);
        EXPECT_TRUE(change.Removed.empty());
        EXPECT_TRUE(change.Changed.empty());
        ASSERT_FALSE(change.Added.empty());
        EXPECT_EQ(ClassesOf(after, change.Added), step.Added);
        const TRect2D box = UnionBox(after, change.Added);
        EXPECT_TRUE(SameBox(box, step.Box, 0.3f)) << BoxText(box) << " instead of " << BoxText(step.Box);
        // A figure of any number of points repeats none (an arc's control points may).
        for (const std::int32_t id : change.Added) {
            const auto* primitive = dynamic_cast<const TPrimitive2D*>(cad.GetObject(id));
            const bool run = after.at(id).ClassName == "TPolyline2D" || after.at(id).ClassName == "TBSpline2D";
            for (int i = 1; run && i < primitive->PointCount(); ++i)
                EXPECT_FALSE(SamePoint2D((*primitive->Points())[i - 1], (*primitive->Points())[i]))
                    << after.at(id).ClassName << " repeats its point " << i - 1;
        }
        if (step.Angles) {
            const auto* arc = dynamic_cast<const TArcCurve2D*>(cad.GetObject(change.Added.front()));
            ASSERT_NE(arc, nullptr);
            constexpr float degrees = 180.0f / std::numbers::pi_v<float>;
            EXPECT_NEAR(arc->StartAngle() * degrees, step.Angles->first, 1.0f);
            EXPECT_NEAR(arc->EndAngle() * degrees, step.Angles->second, 1.0f);
        }
        ExpectSoundDrawing(cad);
    }
    EXPECT_FALSE(frm.LocalPrg().IsBusy());
}

// The text command: its letters become outlines at the click.
TEST_F(DrawRoad, TextIsPlacedAsOutlinesAtTheClick)
{
    TfrmMain& frm = StartWithView();
    TCADCmp2D& cad = frm.LocalCad();
    ChooseFromToolBar(frm, 54);
    QTest::keyClicks(frm.txtDaInserire, QStringLiteral("L"));
    QTest::keyClick(frm.txtDaInserire, Qt::Key_Return);
    Settle();
    ClickWorld(frm, 30, 40);
    const auto after = ShownObjects(cad);
    ASSERT_EQ(after.size(), 1u);
    const TShownObject& letter = after.begin()->second;
    EXPECT_EQ(letter.ClassName, "TPolyline2D");
    EXPECT_NEAR(letter.Box.FirstEdge.X, 30, 1.0f) << BoxText(letter.Box);
    EXPECT_NEAR(letter.Box.FirstEdge.Y, 40, 1.0f) << BoxText(letter.Box);
    EXPECT_GT(letter.Box.SecondEdge.Y, letter.Box.FirstEdge.Y);
    ExpectSoundDrawing(cad);
}
