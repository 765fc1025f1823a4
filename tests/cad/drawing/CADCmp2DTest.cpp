#include <gtest/gtest.h>

#include "cad/base/CADExceptions.h"
#include "cad/canvas/DecorativeCanvas.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/drawing/CADViewportLink.h"
#include "support/ExceptionMessage.h"
#include "support/TestShapes.h"

using cadtest::MessageOf;

namespace {

TObject2D* AddBox(TCADCmp2D& cad, int id, TRect2D extent = MakeRect2D(0, 0, 1, 1))
{
    return cad.AddObject(id, std::make_unique<TTestBox2D>(extent));
}

class TRecordingViewport : public TCADViewportLink {
public:
    void RepaintView() override { ++Repaints; }
    void RefreshView() override { ++Refreshes; }
    void DrawObjectInView(TObject2D& object) override { Drawn.push_back(object.ID); }
    void DrawingDestroyed() override { ++Destroyed; }
    int Repaints = 0;
    int Refreshes = 0;
    int Destroyed = 0;
    std::vector<int> Drawn;
};

} // namespace

TEST(Layers, NewDrawingHas256DefaultLayers)
{
    TCADCmp2D cad;
    for (int i = 0; i < TLayers::Count; ++i) {
        const TLayer& layer = cad.Layers().GetLayer(i);
        EXPECT_EQ(layer.Name(), "Layer_" + std::to_string(i));
        EXPECT_TRUE(layer.Active && layer.Visible && layer.Streamable);
        EXPECT_FALSE(layer.Opaque || layer.Modified);
        EXPECT_EQ(layer.Pen(), TPenState{});
        EXPECT_EQ(layer.Pen().Color, clBlack);
        EXPECT_EQ(layer.Brush().Color, clWhite);
        EXPECT_EQ(layer.Brush().Style, TBrushStyle::Solid);
        EXPECT_EQ(layer.DecorativePen.PatternLength(), 0);
    }
    EXPECT_THROW(cad.Layers().GetLayer(256), ECADOutOfBound);
    EXPECT_THROW(cad.Layers().GetLayer(-1), ECADOutOfBound);
}

TEST(Layers, NamesAndTheDefaultColour)
{
    TCADCmp2D cad;
    TLayer& layer3 = cad.Layers().GetLayer(3);
    layer3.SetName("Layer_3");
    EXPECT_FALSE(layer3.Modified) << "the same name changes nothing";
    layer3.SetName(std::string(40, 'n'));
    EXPECT_EQ(layer3.Name(), std::string(31, 'n'));
    EXPECT_TRUE(layer3.Modified);

    cad.SetDefaultLayersColor(clLime);
    EXPECT_EQ(cad.DefaultLayersColor(), clLime);
    EXPECT_EQ(cad.Layers().GetLayer(255).Pen().Color, clLime);
    EXPECT_EQ(layer3.Pen().Color, clBlack) << "a renamed layer keeps its colour";
    EXPECT_FALSE(cad.Layers().GetLayer(4).Modified);

    TLayer& layer5 = cad.Layers().GetLayer(5);
    layer5.SetPenColor(clRed);
    cad.SetDefaultLayersColor(clYellow);
    EXPECT_EQ(layer5.Pen().Color, clRed);
}

TEST(Layers, ApplyToCanvasCopiesPenBrushAndPattern)
{
    TLayer layer(7);
    layer.SetPen({clRed, TPenStyle::Dash, TPenMode::Copy, 2});
    layer.SetBrush({clYellow, TBrushStyle::Clear});
    layer.Opaque = true;
    layer.DecorativePen.SetPattern("101");
    TDecorativeCanvas canvas;
    ASSERT_TRUE(layer.ApplyToCanvas(canvas));
    EXPECT_EQ(canvas.Pen, layer.Pen());
    EXPECT_EQ(canvas.Brush, layer.Brush());
    EXPECT_EQ(canvas.FontColor, clRed);
    EXPECT_TRUE(canvas.OpaqueBackground);
    EXPECT_EQ(canvas.DecorativePen.PatternLength(), 3);
    EXPECT_FALSE(canvas.DecorativePen.GetBit(1));

    layer.Visible = false;
    canvas.Pen.Color = clBlack;
    EXPECT_FALSE(layer.ApplyToCanvas(canvas));
    EXPECT_EQ(canvas.Pen.Color, clBlack) << "a hidden layer leaves the canvas alone";
}

TEST(CADCmp2D, AddObjectHandsOutIDsAndTakesTheCurrentLayer)
{
    TCADCmp2D cad;
    cad.CurrentLayer = 4;
    std::vector<int> added;
    cad.OnAddObject = [&](TCADCmp&, TGraphicObject& object) { added.push_back(object.ID); };
    EXPECT_EQ(AddBox(cad, -1)->ID, 0);
    EXPECT_EQ(AddBox(cad, -1)->ID, 1);
    TObject2D* ten = AddBox(cad, 10, MakeRect2D(2, 3, 4, 5));
    EXPECT_EQ(ten->ID, 10);
    EXPECT_EQ(ten->Layer, 4);
    EXPECT_EQ(ten->OwnerCAD, &cad);
    EXPECT_EQ(ten->Box.SecondEdge.Y, 5.0f) << "the box is computed on adding";
    EXPECT_EQ(AddBox(cad, -1)->ID, 11);
    EXPECT_EQ(AddBox(cad, 5)->ID, 5) << "a smaller explicit ID is taken as given";
    EXPECT_EQ(AddBox(cad, -1)->ID, 12);
    EXPECT_EQ(added, (std::vector<int>{0, 1, 10, 11, 5, 12}));
    EXPECT_EQ(cad.ObjectsCount(), 6);
}

TEST(CADCmp2D, FindRemoveAndDelete)
{
    TCADCmp2D cad;
    AddBox(cad, -1);
    AddBox(cad, -1);
    EXPECT_NE(cad.GetObject(1), nullptr);
    EXPECT_EQ(cad.GetObject(7), nullptr);

    std::unique_ptr<TObject2D> removed = cad.RemoveObject(0);
    EXPECT_EQ(removed->ID, 0);
    EXPECT_EQ(removed->OwnerCAD, nullptr);
    EXPECT_EQ(cad.GetObject(0), nullptr);

    cad.DeleteObject(1);
    EXPECT_EQ(cad.ObjectsCount(), 0);
    EXPECT_EQ(MessageOf<ECADListObjNotFound>([&] { cad.DeleteObject(1); }), "TCADCmp.DeleteObject: No object found");
    EXPECT_EQ(MessageOf<ECADListObjNotFound>([&] { cad.RemoveObject(1); }), "TCADCmp.RemoveObject: No object found");
}

TEST(CADCmp2D, DeleteAllObjectsResetsIDsOnlyWhenItSucceeds)
{
    TCADCmp2D cad;
    AddBox(cad, -1);
    AddBox(cad, -1);
    {
        auto iterator = cad.ObjectsIterator();
        cad.DeleteAllObjects();
        EXPECT_EQ(cad.ObjectsCount(), 2);
        EXPECT_EQ(cad.NextObjectID, 2) << "a refused clear must not let IDs repeat";
    }
    cad.DeleteAllObjects();
    EXPECT_EQ(cad.ObjectsCount(), 0);
    EXPECT_EQ(AddBox(cad, -1)->ID, 0);
}

TEST(CADCmp2D, ExtentsCoverVisibleObjectsOnVisibleLayers)
{
    TCADCmp2D cad;
    TRect2D box = MakeRect2D(7, 7, 7, 7);
    EXPECT_FALSE(cad.GetExtension(box));
    EXPECT_EQ(box.FirstEdge.X, 7.0f) << "an empty drawing leaves the box alone";

    cad.CurrentLayer = 2;
    AddBox(cad, -1, MakeRect2D(0, 0, 10, 10));
    cad.Layers().GetLayer(2).Visible = false;
    ASSERT_TRUE(cad.GetExtension(box));
    EXPECT_EQ(box.FirstEdge.X, 1e8f);
    EXPECT_EQ(box.FirstEdge.Y, 1e8f);
    EXPECT_EQ(box.SecondEdge.X, -1e8f);
    EXPECT_EQ(box.SecondEdge.Y, -1e8f);

    cad.CurrentLayer = 0;
    AddBox(cad, -1, MakeRect2D(-5, 2, 3, 4));
    AddBox(cad, -1, MakeRect2D(1, -1, 2, 8));
    TObject2D* hidden = AddBox(cad, -1, MakeRect2D(100, 100, 200, 200));
    hidden->Visible = false;
    ASSERT_TRUE(cad.GetExtension(box));
    EXPECT_EQ(box.FirstEdge.X, -5.0f);
    EXPECT_EQ(box.FirstEdge.Y, -1.0f);
    EXPECT_EQ(box.SecondEdge.X, 3.0f);
    EXPECT_EQ(box.SecondEdge.Y, 8.0f);
}

TEST(CADCmp2D, TransformObjectsBakesIntoTheModelTransform)
{
    TRecordingViewport view; // outlives the drawing, which tells it when it goes
    TCADCmp2D cad;
    cad.AddViewport(&view);
    TObject2D* a = AddBox(cad, -1);
    TObject2D* b = AddBox(cad, -1);
    const std::int32_t onlyB[] = {1, 99};
    cad.TransformObjects(onlyB, MakeTranslation2D(5, 0));
    EXPECT_FALSE(a->HasTransform());
    ASSERT_TRUE(b->ModelTransform().has_value());
    EXPECT_FALSE(b->CurrentTransform().has_value());
    EXPECT_EQ(b->GetTransform().M[2][0], 5.0f);
    EXPECT_EQ(view.Repaints, 1);

    const std::int32_t all[] = {-1};
    cad.TransformObjects(all, MakeScale2D(2, 2));
    EXPECT_EQ(b->GetTransform().M[2][0], 10.0f) << "the earlier move is applied first";
    EXPECT_EQ(a->GetTransform().M[0][0], 2.0f);

    cad.TransformObjects({}, MakeScale2D(3, 3));
    EXPECT_EQ(a->GetTransform().M[0][0], 2.0f) << "no IDs, nothing transformed";
    cad.RepaintAfterTransform = false;
    cad.TransformObjects(all, IdentityTransform2D);
    EXPECT_EQ(view.Repaints, 2);
}

TEST(CADCmp2D, ViewportsAreToldAboutDrawsAndTheEnd)
{
    TRecordingViewport view;
    {
        TCADCmp2D cad;
        cad.AddViewport(&view);
        cad.AddViewport(&view);
        AddBox(cad, -1);
        cad.DrawOnAdd = true;
        AddBox(cad, -1);
        cad.RefreshViewports();
        EXPECT_EQ(view.Drawn, std::vector<int>{1});
        EXPECT_EQ(view.Refreshes, 1) << "a view is listed once";
    }
    EXPECT_EQ(view.Destroyed, 1);
}

TEST(Object2D, TransformsComposeModelFirst)
{
    TTestBox2D box(MakeRect2D(0, 0, 1, 1));
    box.SetModelTransform(MakeTranslation2D(1, 0));
    box.SetCurrentTransform(MakeScale2D(2, 2));
    const TPoint2D p = ApplyTransform2D(MakePoint2D(1, 1), box.GetTransform());
    EXPECT_EQ(p.X, 4.0f);
    EXPECT_EQ(p.Y, 2.0f);
    EXPECT_EQ(box.Box.SecondEdge.X, 4.0f) << "setting the current transform updates the box";
    const TPoint2D back = box.WorldToObject(MakePoint2D(4, 2));
    EXPECT_FLOAT_EQ(back.X, 1.0f);

    box.SetCurrentTransform(IdentityTransform2D);
    EXPECT_FALSE(box.CurrentTransform().has_value()) << "an identity is stored as none";
    box.TranslateBy(MakePoint2D(3, 3), MakePoint2D(1, 2));
    box.BakeTransform();
    EXPECT_EQ(box.GetTransform().M[2][0], 3.0f);
    EXPECT_EQ(box.GetTransform().M[2][1], 1.0f);
    box.ResetTransform();
    EXPECT_FALSE(box.HasTransform());

    TTestBox2D copy;
    box.SetModelTransform(MakeScale2D(3, 3));
    box.Visible = false;
    copy.Assign(box);
    EXPECT_FALSE(copy.Visible);
    EXPECT_EQ(copy.GetTransform().M[0][0], 3.0f);
}

TEST(Object2D, HitTestCodes)
{
    class TCornerHandler : public TObject2DHandler {
    public:
        void DrawControlPoints(const TObject2D&, const TTransform2D&, TDecorativeCanvas&, int) const override {}
        int OnMe(const TObject2D&, TPoint2D point, float, float& distance) const override
        {
            if (point.X == 0.0f && point.Y == 0.0f) {
                distance = 0.0f;
                return 0;
            }
            return PICK_NOOBJECT;
        }
    };
    TTestBox2D box(MakeRect2D(0, 0, 10, 10));
    box.UpdateExtension();
    float distance = 0;
    EXPECT_EQ(box.HitTest(MakePoint2D(20, 20), distance, 1.0f), PICK_NOOBJECT);
    EXPECT_EQ(distance, PICK_FAR_DISTANCE);
    EXPECT_EQ(box.HitTest(MakePoint2D(10.5f, 5), distance, 1.0f), PICK_INBBOX);
    EXPECT_EQ(distance, 1.0f) << "inside the grown box the distance is the aperture";

    box.SetHandler(std::make_shared<TCornerHandler>());
    EXPECT_EQ(box.HitTest(MakePoint2D(0, 0), distance, 1.0f), 0);
    EXPECT_EQ(distance, 0.0f);
    box.Enabled = false;
    EXPECT_EQ(box.HitTest(MakePoint2D(0, 0), distance, 1.0f), PICK_NOOBJECT);
}
