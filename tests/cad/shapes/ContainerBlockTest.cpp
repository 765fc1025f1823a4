#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "cad/base/CADExceptions.h"
#include "support/BlockTestSupport.h"
#include "support/ExceptionMessage.h"
#include "support/ShapeTestSupport.h"
#include "support/TestShapes.h"

using namespace blocktest;
using shapetest::TShapeRecordingCanvas;
using cadtest::MessageOf;

namespace {

// Records the pen it is handed, then paints the canvas's pen red.
class TPenSpoilingShape : public TTestBox2D {
public:
    void Draw(const TTransform2D&, TDecorativeCanvas& canvas, const TRect2D&, int) override
    {
        PenOnEntry = canvas.Pen.Color;
        BrushOnEntry = canvas.Brush.Color;
        canvas.Pen.Color = clRed;
        canvas.Brush.Color = clYellow;
    }
    TColor PenOnEntry = -1;
    TColor BrushOnEntry = -1;
};

const TRect2D Clip = MakeRect2D(-1000, -1000, 1000, 1000);

class BlocksTest : public TRegisteredClassesTest {};

} // namespace

TEST_F(BlocksTest, EmptyContainerHasNoBoxAndDrawsNothing)
{
    TContainer2D container(1, {});
    EXPECT_EQ(BoxText(container.Box), BoxText(MakeRect2D(0, 0, 0, 0)));
    TShapeRecordingCanvas canvas;
    container.Draw(IdentityTransform2D, canvas, Clip, 0);
    container.PaintControlPoints(IdentityTransform2D, canvas, 6, Clip);
    EXPECT_EQ(canvas.Calls(), 0);
}

TEST_F(BlocksTest, ContainerBoxIsTheChildrenThroughItsTransform)
{
    TContainer2D container(1, Children(Line(1, 0, 0, 10, 5), Line(2, -3, 2, 4, 8)));
    EXPECT_EQ(BoxText(container.Box), BoxText(MakeRect2D(-3, 0, 10, 8)));
    container.SetModelTransform(MakeTranslation2D(100, 50));
    container.UpdateExtension();
    EXPECT_EQ(BoxText(container.Box), BoxText(MakeRect2D(97, 50, 110, 58)));
}

TEST_F(BlocksTest, EveryChildStartsFromTheContainersPenAndBrush)
{
    auto first = std::make_unique<TPenSpoilingShape>();
    auto second = std::make_unique<TPenSpoilingShape>();
    TPenSpoilingShape* a = first.get();
    TPenSpoilingShape* b = second.get();
    TContainer2D container(1, Children(std::move(first), std::move(second)));
    TShapeRecordingCanvas canvas;
    canvas.Pen.Color = clNavy;
    canvas.Brush.Color = clLime;
    container.Draw(IdentityTransform2D, canvas, Clip, 0);
    EXPECT_EQ(a->PenOnEntry, clNavy);
    EXPECT_EQ(b->PenOnEntry, clNavy) << "the first child's red pen must not reach the second";
    EXPECT_EQ(b->BrushOnEntry, clLime);
}

TEST_F(BlocksTest, ContainerPicksItsNearestChildByID)
{
    TContainer2D container(1, Children(Line(11, 0, 0, 10, 0), Line(12, 0, 4, 10, 4)));
    container.SetModelTransform(MakeTranslation2D(100, 0));
    container.UpdateExtension();
    float distance = 0;
    EXPECT_EQ(container.HitTest(MakePoint2D(105, 3.5f), distance, 1.0f), 12);
    EXPECT_NEAR(distance, 0.5f, 1e-4f);
    EXPECT_EQ(container.HitTest(MakePoint2D(105, 0.2f), distance, 1.0f), 11);
    EXPECT_EQ(container.HitTest(MakePoint2D(105, 2.0f), distance, 1.0f), PICK_INBBOX)
        << "inside the box but near no child";
    EXPECT_FLOAT_EQ(distance, 2.0f) << "the running best starts at twice the aperture";
    EXPECT_EQ(container.HitTest(MakePoint2D(5, 0), distance, 1.0f), PICK_NOOBJECT) << "outside the moved box";
}

TEST_F(BlocksTest, ReferencePicksTheBlocksChildOrItsOrigin)
{
    TCADCmp2D cad;
    TSourceBlock2D* block = cad.AddSourceBlock(LineBlock("Bar", 0, 0, 10, 0));
    auto reference = std::make_unique<TBlock2D>(3, block);
    reference->SetModelTransform(MakeTranslation2D(100, 100));
    TBlock2D* placed = static_cast<TBlock2D*>(cad.AddObject(-1, std::move(reference)));
    EXPECT_EQ(BoxText(placed->Box), BoxText(MakeRect2D(100, 100, 110, 100)));

    float distance = 0;
    EXPECT_EQ(placed->HitTest(MakePoint2D(105, 100.3f), distance, 1.0f), 5) << "the line's ID inside the block";
    EXPECT_NEAR(distance, 0.3f, 1e-4f);
    EXPECT_EQ(placed->HitTest(MakePoint2D(100.2f, 100.1f), distance, 1.0f), PICK_ONOBJECT) << "near the origin";
    EXPECT_EQ(placed->HitTest(MakePoint2D(5, 0.1f), distance, 1.0f), PICK_NOOBJECT) << "the block's own place";
    placed->Enabled = false;
    EXPECT_EQ(placed->HitTest(MakePoint2D(105, 100.3f), distance, 1.0f), PICK_NOOBJECT) << "a disabled reference";
    EXPECT_EQ(placed->HitTest(MakePoint2D(100.2f, 100.1f), distance, 1.0f), PICK_NOOBJECT);

    TBlock2D unresolved;
    EXPECT_EQ(unresolved.HitTest(MakePoint2D(0, 0), distance, 1.0f), PICK_NOOBJECT);
}

TEST_F(BlocksTest, ReferenceDrawsItsBlockThroughItsTransform)
{
    TCADCmp2D cad;
    TSourceBlock2D* block = cad.AddSourceBlock(LineBlock("Bar", 0, 0, 10, 0));
    TBlock2D reference(1, block);
    reference.SetModelTransform(MakeTranslation2D(100, 20));
    TShapeRecordingCanvas canvas;
    reference.Draw(IdentityTransform2D, canvas, Clip, 0);
    ASSERT_EQ(canvas.Segments.size(), 1u);
    EXPECT_EQ(canvas.Segments[0][0].X, 100);
    EXPECT_EQ(canvas.Segments[0][0].Y, 20);
    EXPECT_EQ(canvas.Segments[0][1].X, 110);

    TShapeRecordingCanvas marks;
    reference.OriginPoint = MakePoint2D(2, 0);
    reference.PaintControlPoints(IdentityTransform2D, marks, 6, Clip);
    ASSERT_EQ(marks.Markers.size(), 1u) << "the origin is the reference's only control point";
    EXPECT_EQ(marks.Markers[0].X, 102 - 3);
    EXPECT_EQ(marks.Markers[0].Y, 20 - 3);
}

TEST_F(BlocksTest, ReferencesCountOnTheirSourceBlock)
{
    TCADCmp2D cad;
    TSourceBlock2D* bar = cad.AddSourceBlock(LineBlock("Bar", 0, 0, 10, 0));
    TSourceBlock2D* post = cad.AddSourceBlock(LineBlock("Post", 0, 0, 0, 10));
    try {
        TBlock2D none(1, nullptr);
        FAIL() << "a reference needs a source block";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "TBlock2D.Create: Invalid parameter");
    }
    {
        TBlock2D first(1, bar);
        TBlock2D second(2, post);
        EXPECT_EQ(bar->References(), 1u);
        second.Assign(first);
        EXPECT_EQ(bar->References(), 2u);
        EXPECT_EQ(post->References(), 0u) << "the old block lost its reference";
        EXPECT_EQ(BlockNameToText(second.SourceName), "Bar");
        second.Assign(second);
        EXPECT_EQ(bar->References(), 2u);

        TBlock2D byName;
        byName.SourceName = BlockNameFromText("Post");
        {
            auto blocks = cad.SourceBlocksIterator();
            byName.UpdateReference(*blocks);
            byName.UpdateReference(*blocks);
        }
        EXPECT_EQ(byName.SourceBlock(), post);
        EXPECT_EQ(post->References(), 1u) << "resolving twice holds one reference";
        EXPECT_EQ(BoxText(byName.Box), BoxText(post->Box));

        byName.SourceName = BlockNameFromText("Nothing");
        auto blocks = cad.SourceBlocksIterator();
        EXPECT_EQ(MessageOf<ECADListObjNotFound>([&] { byName.UpdateReference(*blocks); }),
                  "TBlock2D.UpdateReference: Source block not found") << "an unknown name cannot resolve";
    }
    EXPECT_EQ(bar->References(), 0u);
    EXPECT_EQ(post->References(), 0u);
}

TEST_F(BlocksTest, CountsBeyondSixteenBitsDoNotWrap)
{
    TCADCmp2D cad;
    TSourceBlock2D* bar = cad.AddSourceBlock(LineBlock("Bar", 0, 0, 10, 0));
    std::vector<std::unique_ptr<TBlock2D>> references;
    constexpr std::uint32_t Many = 65536 + 10;
    for (std::uint32_t i = 0; i < Many; ++i)
        references.push_back(std::make_unique<TBlock2D>(static_cast<std::int32_t>(i), bar));
    EXPECT_EQ(bar->References(), Many);
    EXPECT_THROW(cad.DeleteSourceBlock(BlockNameFromText("Bar")), ECADCoreException);
    cad.DeleteSourceBlock(bar->ID);
    EXPECT_EQ(cad.GetSourceBlock(bar->ID), bar) << "a referenced block is never freed";
    references.clear();
    EXPECT_EQ(bar->References(), 0u);
}

TEST_F(BlocksTest, DeletingASourceBlockNeedsItsReferencesGone)
{
    TCADCmp2D cad;
    TSourceBlock2D* bar = cad.AddSourceBlock(LineBlock("Bar", 0, 0, 10, 0));
    const std::int32_t referenceID = cad.AddObject(-1, std::make_unique<TBlock2D>(0, bar))->ID;
    EXPECT_EQ(MessageOf<ECADCoreException>([&] { cad.DeleteSourceBlock(BlockNameFromText("Bar")); }),
              "TCADCmp2D.DeleteSourceBlock: Remove the references before the source")
        << "the block is still referenced";
    EXPECT_EQ(cad.SourceBlocksCount(), 1);
    cad.DeleteObject(referenceID);
    cad.DeleteSourceBlock(BlockNameFromText("Bar"));
    EXPECT_EQ(cad.SourceBlocksCount(), 0);
    EXPECT_EQ(MessageOf<ECADListObjNotFound>([&] { cad.DeleteSourceBlock(42); }),
              "TCADCmp.DeleteSourceBlock: No source block found") << "no block has that ID";
}

TEST_F(BlocksTest, NamesAreThirteenBytesComparedWhole)
{
    TBlockName twelve = BlockNameFromText("ABCDEFGHIJKL");
    EXPECT_EQ(twelve[12], '\0');
    const TBlockName cut = BlockNameFromText("ABCDEFGHIJKLMNOP");
    EXPECT_EQ(std::string(cut.begin(), cut.end()), "ABCDEFGHIJKLM");
    EXPECT_EQ(BlockNameToText(cut), "ABCDEFGHIJKLM") << "no terminator: the text stops at 13 bytes";

    TCADCmp2D cad;
    cad.AddSourceBlock(LineBlock("ABCDEFGHIJKL", 0, 0, 1, 1));
    EXPECT_EQ(BlockNameToText(cad.FindSourceBlock(twelve).Name), "ABCDEFGHIJKL");
    TBlockName other = twelve;
    other[12] = 'X';
    EXPECT_EQ(MessageOf<ECADListObjNotFound>([&] { cad.FindSourceBlock(other); }),
              "TCADCmp2D.FindSourceBlock: Source block ABCDEFGHIJKLX not found") << "the 13th byte differs";
}

TEST_F(BlocksTest, BulkDeletionsPickLibraryOrDrawingBlocksAndSkipReferencedOnes)
{
    TCADCmp2D cad;
    AddLineBlock(cad, "Lib1", true, true);
    TSourceBlock2D* usedLibrary = AddLineBlock(cad, "Lib2", true, true);
    AddLineBlock(cad, "Own1", false, true);
    TSourceBlock2D* usedOwn = AddLineBlock(cad, "Own2", false, true);
    AddLineBlock(cad, "Scratch", false, false);
    cad.AddObject(-1, std::make_unique<TBlock2D>(0, usedLibrary));
    cad.AddObject(-1, std::make_unique<TBlock2D>(0, usedOwn));

    const auto names = [&] {
        std::string text;
        auto blocks = cad.SourceBlocksIterator();
        for (TGraphicObject* o = blocks->First(); o; o = blocks->Next())
            text += BlockNameToText(static_cast<TSourceBlock2D*>(o)->Name) + " ";
        return text;
    };
    cad.DeleteNonLibraryBlocks();
    EXPECT_EQ(names(), "Lib1 Lib2 Own2 Scratch ");
    cad.DeleteLibraryBlocks();
    EXPECT_EQ(names(), "Lib2 Own2 Scratch ");
}

TEST_F(BlocksTest, FreeSourceBlocksFreesInPassesAndReportsCircles)
{
    TMessageRecorder messages;
    {
        TCADCmp2D cad;
        // Each block refers to the one before it: only the last is free at first.
        TSourceBlock2D* previous = cad.AddSourceBlock(LineBlock("Base", 0, 0, 1, 1));
        for (const char* name : {"Second", "Third", "Fourth"})
            previous = cad.AddSourceBlock(std::make_unique<TSourceBlock2D>(
                0, Children(std::make_unique<TBlock2D>(1, previous)), BlockNameFromText(name)));
        cad.FreeSourceBlocks();
        EXPECT_EQ(cad.SourceBlocksCount(), 0);
    }
    {
        TCADCmp2D cad;
        TSourceBlock2D* a = cad.AddSourceBlock(LineBlock("A", 0, 0, 1, 1));
        TSourceBlock2D* b = cad.AddSourceBlock(
            std::make_unique<TSourceBlock2D>(0, Children(std::make_unique<TBlock2D>(1, a)), BlockNameFromText("B")));
        a->Objects().Add(std::make_unique<TBlock2D>(2, b));
        cad.AddSourceBlock(LineBlock("Free", 0, 0, 1, 1));
        try {
            cad.FreeSourceBlocks();
            FAIL() << "A and B refer to each other";
        } catch (const ECADSourceBlockIsReferenced& e) {
            EXPECT_STREQ(e.what(), "TCADCmp.FreeSourceBlocks: Severe error\n\rThe drawing contains circular reference "
                                   "of source blocks. They will be not deleted !");
        }
        EXPECT_EQ(cad.SourceBlocksCount(), 2) << "the free block went, the circle stayed";
        EXPECT_TRUE(messages.Texts.empty());
    }
    // The destructor took the circle apart without raising, and told the user.
    ASSERT_EQ(messages.Texts.size(), 1u);
    EXPECT_NE(messages.Texts[0].find("circular reference"), std::string::npos);
}

TEST_F(BlocksTest, ContainerCopiesAreDeepAndHoldTheirOwnReferences)
{
    TCADCmp2D cad;
    TSourceBlock2D* bar = cad.AddSourceBlock(LineBlock("Bar", 0, 0, 10, 0));
    TContainer2D source(1, Children(Line(7, 0, 0, 5, 5), std::make_unique<TBlock2D>(8, bar)));
    TContainer2D copy(2, {});
    copy.Assign(source);
    ASSERT_EQ(copy.Objects().Count(), 2);
    EXPECT_EQ(bar->References(), 2u);
    auto children = copy.Objects().GetIterator();
    EXPECT_EQ(children->First()->ClassName(), "TLine2D");
    EXPECT_EQ(children->Current()->ID, 7);
    EXPECT_NE(children->Current(), source.Objects().FindObject(7)) << "a new object, not the same";
    EXPECT_EQ(children->Next()->ID, 8);
    children.reset();
    copy.UpdateExtension();
    EXPECT_EQ(BoxText(copy.Box), BoxText(source.Box));

    auto held = source.Objects().GetExclusiveIterator();
    EXPECT_EQ(MessageOf<ECADListBlocked>([&] { copy.Assign(source); }),
              "TContainer2D.Assign: The list has an exclusive iterator.") << "the source list is held";
    EXPECT_EQ(copy.Objects().Count(), 2) << "a refused copy changes nothing";
}

TEST_F(BlocksTest, UpdateBlockReferencesReachesNestedContainers)
{
    TCADCmp2D cad;
    TSourceBlock2D* bar = cad.AddSourceBlock(LineBlock("Bar", 0, 0, 10, 0));
    auto reference = std::make_unique<TBlock2D>();
    reference->SourceName = BlockNameFromText("Bar");
    reference->SetModelTransform(MakeTranslation2D(0, 20));
    TBlock2D* nestedReference = reference.get();
    auto inner = std::make_unique<TContainer2D>(2, Children(std::move(reference)));
    TContainer2D outer(1, Children(std::move(inner), Line(3, 0, 0, 1, 1)));
    {
        auto blocks = cad.SourceBlocksIterator();
        UpdateBlockReferences(outer, *blocks);
    }
    EXPECT_EQ(nestedReference->SourceBlock(), bar);
    EXPECT_EQ(BoxText(outer.Box), BoxText(MakeRect2D(0, 0, 10, 20)));
}
