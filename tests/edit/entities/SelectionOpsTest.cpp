#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "cad/engine/SelectObjectsParam.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/Bitmap2D.h"
#include "cad/shapes/Block2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Container2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/shapes/Punto2D.h"
#include "edit/commands/CommandStates.h"
#include "edit/entities/SelectionOps.h"
#include "edit/commands/SelectionState.h"
#include "support/StateTestSupport.h"

using namespace statetest;

namespace {

std::string Text(int message)
{
    return "<" + std::to_string(message) + ">";
}

class SelectionOps : public StateTest {
protected:
    void SetUp() override
    {
        StateTest::SetUp();
        SelectionActions = TSelectionActions();
        SelectionActions.Deleted = &Stack;
        SelectionActions.Text = Text;
        SelectionActions.ShowExplodeReport = [this](const std::string& text) { Report = text; };
        SelectionActions.ShowSimplifyReport = [this](const std::string& text) { Report = text; };
    }
    void TearDown() override
    {
        SelectionActions = TSelectionActions();
        StateTest::TearDown();
    }

    // The selection ends in the command's after-state, found by its table name.
    void Select(int mode, std::vector<TObject2D*> objects)
    {
        SelectionActions.Mode = mode;
        const TCADStateClass state = CommandStateClass("TMySelezione");
        auto selection = std::make_unique<TCAD2DSelectObjectsParam>(5, state);
        for (TObject2D* object : objects)
            selection->SelectedObjects.Add(object);
        ASSERT_TRUE(Engine->StartOperation(state, std::move(selection)));
        EXPECT_TRUE(Idle());
    }

    // Each object as its class and rounded world points; hidden ones marked.
    std::vector<std::string> Summary()
    {
        std::vector<std::string> lines;
        for (TObject2D* object : Objects()) {
            std::string line = object->ClassName() + (object->Visible ? "" : " hidden");
            for (TPoint2D p : WorldPoints(*object))
                line += " (" + std::to_string(std::lround(p.X)) + "," + std::to_string(std::lround(p.Y)) + ")";
            lines.push_back(line);
        }
        return lines;
    }

    TDeletedEntities Stack;
    std::string Report;
};

TObject2D* Poly(TCADCmp2D& cad, std::vector<TPoint2D> points)
{
    return cad.AddObject(-1, std::make_unique<TPolyline2D>(-1, points));
}

} // namespace

TEST_F(SelectionOps, DeleteHidesToTheStackAndUndeleteBringsBackTheLastStillThere)
{
    TObject2D& a = Add(std::make_unique<TLine2D>(-1, MakePoint2D(0, 0), MakePoint2D(10, 0)));
    TObject2D& b = Add(std::make_unique<TLine2D>(-1, MakePoint2D(0, 5), MakePoint2D(10, 5)));
    TObject2D& c = Add(std::make_unique<TCerchio2D>(-1, MakePoint2D(50, 50), MakePoint2D(55, 50)));
    TObject2D& picture =
        Add(std::make_unique<TBitmap2D>(-1, MakePoint2D(0, 0), MakePoint2D(1, 1), QImage(2, 2, QImage::Format_RGB32)));

    Select(SELECT_DELETE, {&a, &b, &c, &picture});
    EXPECT_FALSE(a.Visible || a.ToBeSaved || b.Visible || c.Visible);
    EXPECT_TRUE(picture.Visible) << "pictures are never deleted";
    ASSERT_EQ(Stack.size(), 3u);

    EXPECT_TRUE(Undelete(Drawing, Stack));
    EXPECT_TRUE(Undelete(Drawing, Stack));
    EXPECT_TRUE(c.Visible && c.ToBeSaved && b.Visible);
    EXPECT_FALSE(a.Visible);

    // A record whose object has gone since is passed over.
    Select(SELECT_DELETE, {&b});
    Drawing.DeleteObject(b.ID);
    EXPECT_TRUE(Undelete(Drawing, Stack));
    EXPECT_TRUE(a.Visible);
    EXPECT_FALSE(Undelete(Drawing, Stack));
    EXPECT_TRUE(Stack.empty());

    // A drawing emptied since makes every record stale, even if its ID comes back.
    Select(SELECT_DELETE, {&c});
    Drawing.DeleteAllObjects();
    EXPECT_FALSE(Undelete(Drawing, Stack));
    EXPECT_TRUE(Stack.empty());
}

TEST_F(SelectionOps, ExplodeBreaksPolylinesFramesAndContainersKeepingEveryPiece)
{
    const float turn = std::numbers::pi_v<float> / 2;
    struct TCase {
        const char* Name;
        std::function<TObject2D*(TCADCmp2D&)> Make;
        std::vector<std::string> Pieces;
        std::string Report;
    };
    const TCase cases[] = {
        {"closed polyline of five points",
         [](TCADCmp2D& cad) {
             return Poly(cad, {MakePoint2D(0, 0), MakePoint2D(10, 0), MakePoint2D(10, 10), MakePoint2D(0, 10),
                               MakePoint2D(0, 0)});
         },
         {"TLine2D (0,0) (10,0)", "TLine2D (10,0) (10,10)", "TLine2D (10,10) (0,10)", "TLine2D (0,10) (0,0)"},
         "1 <301> 4 <302> "},
        {"moved frame",
         [](TCADCmp2D& cad) {
             TObject2D* frame = cad.AddObject(-1, std::make_unique<TFrame2D>(-1, MakePoint2D(0, 0), MakePoint2D(4, 2)));
             frame->ComposeTransform(MakeTranslation2D(10, 0));
             return frame;
         },
         {"TLine2D (10,0) (10,2)", "TLine2D (10,2) (14,2)", "TLine2D (14,2) (14,0)", "TLine2D (14,0) (10,0)"},
         "1 <301> 4 <302> "},
        {"container of circles only",
         [](TCADCmp2D& cad) {
             std::vector<std::unique_ptr<TObject2D>> children;
             children.push_back(std::make_unique<TCerchio2D>(1, MakePoint2D(0, 0), MakePoint2D(2, 0)));
             return cad.AddObject(-1, std::make_unique<TContainer2D>(-1, std::move(children)));
         },
         {"TCerchio2D (0,0) (2,0)"}, "<300>"},
        {"turned container with a child of every kind",
         [turn](TCADCmp2D& cad) {
             std::vector<std::unique_ptr<TObject2D>> children;
             children.push_back(std::make_unique<TPunto2D>(1, MakePoint2D(1, 0)));
             children.push_back(std::make_unique<TLine2D>(2, MakePoint2D(0, 0), MakePoint2D(2, 0)));
             const TPoint2D run[] = {MakePoint2D(0, 0), MakePoint2D(0, 3), MakePoint2D(1, 3)};
             children.push_back(std::make_unique<TPolyline2D>(3, run));
             children.push_back(std::make_unique<TFrame2D>(4, MakePoint2D(5, 5), MakePoint2D(6, 6)));
             TObject2D* container = cad.AddObject(-1, std::make_unique<TContainer2D>(-1, std::move(children)));
             container->ComposeTransform(MakeRotation2D(turn));
             return container;
         },
         // The frame is none of the kinds counted, and still comes out, turned.
         {"TPunto2D (0,1)", "TLine2D (0,0) (0,2)", "TPolyline2D (0,0) (-3,0) (-3,1)", "TFrame2D (-5,5) (-6,6)"},
         "1 <301> 1 <302> 1 <304>"},
    };
    for (const TCase& c : cases) {
        Drawing.DeleteAllObjects();
        Report.clear();
        Select(SELECT_EXPLODE, {c.Make(Drawing)});
        EXPECT_EQ(Summary(), c.Pieces) << c.Name;
        EXPECT_EQ(Report, c.Report) << c.Name;
    }
}

TEST_F(SelectionOps, ATurnedBlockReferenceExplodesWithItsArcsTurnedAndItsBlockGoneWhenUnused)
{
    // An arc of radius 10 from 0 to 90 degrees and a line, in a block
    // placed twice: turned a quarter and moved to (100, 0), and as it is.
    std::vector<std::unique_ptr<TObject2D>> children;
    children.push_back(std::make_unique<TArco2D>(1, MakePoint2D(0, 0), MakePoint2D(10, 0), 0.0f,
                                                 std::numbers::pi_v<float> / 2));
    children.push_back(std::make_unique<TLine2D>(2, MakePoint2D(0, 0), MakePoint2D(10, 0)));
    TSourceBlock2D* block = Drawing.AddSourceBlock(
        std::make_unique<TSourceBlock2D>(0, std::move(children), BlockNameFromText("ARCS")));
    const std::int32_t blockID = block->ID;
    TObject2D& turned = *Drawing.AddObject(-1, std::make_unique<TBlock2D>(-1, block));
    turned.ComposeTransform(MakeRotation2D(std::numbers::pi_v<float> / 2));
    turned.ComposeTransform(MakeTranslation2D(100, 0));
    turned.UpdateExtension();
    TObject2D& plain = *Drawing.AddObject(-1, std::make_unique<TBlock2D>(-1, block));

    Select(SELECT_EXPLODE, {&turned});
    ASSERT_NE(Drawing.GetSourceBlock(blockID), nullptr) << "still shown by the other reference";
    EXPECT_EQ(Report, "1 <301> 1 <302> 1 <303> ");
    std::vector<TObject2D*> objects = Objects();
    ASSERT_EQ(objects.size(), 3u);
    auto* arc = dynamic_cast<TArco2D*>(objects[1]);
    ASSERT_NE(arc, nullptr);
    EXPECT_NEAR(arc->StartAngle(), std::numbers::pi / 2, 1e-4);
    EXPECT_NEAR(std::fabs(arc->EndAngle()), std::numbers::pi, 1e-4);
    EXPECT_FALSE(arc->HasTransform());
    EXPECT_EQ(Summary()[2], "TLine2D (100,0) (100,10)");
    // The arc's ends are where the turned block showed them.
    const TRect2D box = NormalizeBox2D(arc->Box);
    EXPECT_NEAR(box.FirstEdge.X, 90, 1e-2);
    EXPECT_NEAR(box.SecondEdge.Y, 10, 1e-2);

    Select(SELECT_EXPLODE, {&plain});
    EXPECT_EQ(Drawing.GetSourceBlock(blockID), nullptr) << "no reference is left";
    EXPECT_EQ(Objects().size(), 4u);
}

TEST_F(SelectionOps, SimplifyAddsToItsTotalsAndMoveToLayerMovesTheSelection)
{
    std::vector<TPoint2D> zigzag;
    for (int i = 0; i <= 10; ++i)
        zigzag.push_back(MakePoint2D(static_cast<float>(i), i % 2 ? 0.01f : 0.0f));
    TObject2D* flat = Poly(Drawing, zigzag);
    TObject2D& circle = Add(std::make_unique<TCerchio2D>(-1, MakePoint2D(50, 50), MakePoint2D(60, 50)));
    TObject2D& line = Add(std::make_unique<TLine2D>(-1, MakePoint2D(0, 0), MakePoint2D(1, 1)));

    SelectionActions.ToleranceText = "not a number";
    Select(SELECT_SIMPLIFY, {flat});
    EXPECT_EQ(Objects().size(), 3u) << "an unreadable tolerance changes nothing";

    StartSelectionCommand(49, SELECT_SIMPLIFY);
    EXPECT_EQ(Report, "");
    SelectionActions.ToleranceText = "0.025";
    Select(SELECT_SIMPLIFY, {flat, &line});
    EXPECT_EQ(SelectionActions.Totals.PolyReduceCount, 11);
    EXPECT_EQ(SelectionActions.Totals.PolyReduceKept, 2);
    Select(SELECT_SIMPLIFY, {&circle});
    EXPECT_GT(SelectionActions.Totals.PolyReduceCount, 11);
    EXPECT_EQ(Report, "<312> " + std::to_string(SelectionActions.Totals.PolyReduceCount) + "\n\r<313> " +
                          std::to_string(SelectionActions.Totals.PolyReduceKept));
    const std::vector<std::string> after = Summary();
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after[0], "TLine2D (0,0) (1,1)");
    EXPECT_EQ(after[1], "TPolyline2D (0,0) (10,0)");
    EXPECT_EQ(after[2].rfind("TPolyline2D", 0), 0u);

    // A new run of the command starts the totals again.
    StartSelectionCommand(49, SELECT_SIMPLIFY);
    EXPECT_EQ(SelectionActions.Totals.PolyReduceCount, 0);

    SelectionActions.TargetLayer = 7;
    std::vector<TObject2D*> all = Objects();
    Select(SELECT_CHANGE_LAYER, all);
    for (TObject2D* object : Objects())
        EXPECT_EQ(object->Layer, 7);
    Drawing.Layers().GetLayer(7).SetName("Holes");
    const std::vector<std::string> items = ChangeLayerItems(Drawing.Layers());
    ASSERT_EQ(items.size(), 256u);
    EXPECT_EQ(items[7], "7 - Holes");
}

TEST_F(SelectionOps, SmallEntitiesAreTheVisibleOnesUnderTheLimitButPointsAndPictures)
{
    TObject2D& tiny = Add(std::make_unique<TLine2D>(-1, MakePoint2D(5, 5), MakePoint2D(5.01f, 5.01f)));
    TObject2D& hidden = Add(std::make_unique<TLine2D>(-1, MakePoint2D(7, 7), MakePoint2D(7.01f, 7)));
    hidden.Visible = false;
    Add(std::make_unique<TLine2D>(-1, MakePoint2D(0, 0), MakePoint2D(0.01f, 30)));  // long and thin
    Add(std::make_unique<TPunto2D>(-1, MakePoint2D(9, 9)));
    Add(std::make_unique<TBitmap2D>(-1, MakePoint2D(0, 0), MakePoint2D(0.001f, 0.001f),
                                    QImage(1, 1, QImage::Format_RGB32)));

    EXPECT_TRUE(FindSmallEntities(Drawing, 0.0f).empty());
    const std::vector<TSmallEntity> small = FindSmallEntities(Drawing, 0.025f);
    ASSERT_EQ(small.size(), 1u);
    EXPECT_EQ(small[0].ID, tiny.ID);
    EXPECT_EQ(SmallEntitiesReport(1, false, Text), "1 <409>");

    EXPECT_EQ(DeleteSmallEntities(Drawing, 0.025f), 1);
    EXPECT_EQ(Objects().size(), 4u);
    EXPECT_EQ(SmallEntitiesReport(1, true, Text), "1 <411>");
}

TEST_F(SelectionOps, MirrorAllTurnsEveryObjectButPictures)
{
    Add(std::make_unique<TLine2D>(-1, MakePoint2D(1, 2), MakePoint2D(3, 4)));
    Add(std::make_unique<TBitmap2D>(-1, MakePoint2D(1, 1), MakePoint2D(2, 2), QImage(1, 1, QImage::Format_RGB32)));
    MirrorAll(Drawing, 0);
    EXPECT_EQ(Summary()[0], "TLine2D (1,2) (3,4)") << "two points mean nothing for the whole drawing";
    const std::pair<int, const char*> axes[] = {
        {1, "TLine2D (1,-2) (3,-4)"}, {2, "TLine2D (-1,-2) (-3,-4)"}, {3, "TLine2D (1,2) (3,4)"}};
    for (const auto& [axis, expected] : axes) {
        MirrorAll(Drawing, axis);
        EXPECT_EQ(Summary()[0], expected) << axis;
    }
    EXPECT_EQ(Summary()[1], "TBitmap2D (1,1) (2,2)");
}
