#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "cad/drawing/CADClassRegistration.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/EngineHooks.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/model/ClassRegistry.h"
#include "cad/shapes/Bitmap2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Curve2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/view/CADViewport2DCore.h"
#include "import/LoadedFile.h"
#include "import/Placement.h"
#include "support/ImageTestSupport.h"
#include "support/ViewportTestSupport.h"

namespace {

class TRecordingHost : public TPlacementHost {
public:
    void PanView(float dx, float dy) override { Pans.push_back({dx, dy}); }
    void ShowRaster() override { ++RasterShown; }
    void Repaint() override {}
    void ZoomExtents() override {}

    std::vector<TVect> Pans;
    int RasterShown = 0;
};

class Placement : public testing::Test {
protected:
    void SetUp() override
    {
        RegisterCADClasses();
        File = TLoadedFile();
        EngineHooks() = {};
        EngineHooks().CurveToPolyline = [](TCurve2D& curve) {
            std::vector<TPoint2D> points;
            TProfileUse use(curve);
            const TTransform2D t = curve.GetTransform();
            for (int i = 0; i < curve.ProfilePointCount(); ++i)
                points.push_back(ApplyTransform2D(curve.ProfilePoints()[i], t));
            return std::make_unique<TPolyline2D>(0, points);
        };
    }
    void TearDown() override
    {
        EngineHooks() = {};
        CADCoreClearRegistry();
    }

    // A picture of 100 x 50 units at the origin, as Open leaves it.
    void LoadRaster(float originX, float originY)
    {
        File.IsBmpLoaded = true;
        File.RasterPixelWidth = 200;
        File.RasterPixelHeight = 100;
        File.RasterWorldWidth = 100;
        File.RasterWorldHeight = 50;
        File.RasterOriginX = originX;
        File.RasterOriginY = originY;
        QImage picture(200, 100, QImage::Format_RGB32);
        picture.fill(Qt::white);
        Cad.AddObject(0, std::make_unique<TBitmap2D>(0, MakePoint2D(originX, originY),
                                                     MakePoint2D(originX + 100, originY + 50), picture));
    }

    // An imported drawing whose extent is (10, 20)-(110, 70): an outline, an
    // arrow pointing up-right from its lower-left corner, and a circle.
    void LoadDrawing()
    {
        File.IsDxfLoaded = true;
        const TPoint2D outline[] = {MakePoint2D(10, 20), MakePoint2D(110, 20), MakePoint2D(110, 70),
                                    MakePoint2D(10, 70), MakePoint2D(10, 20)};
        Cad.AddObject(-1, std::make_unique<TPolyline2D>(-1, outline));
        Cad.AddObject(-1, std::make_unique<TLine2D>(-1, MakePoint2D(10, 20), MakePoint2D(40, 40)));
        Cad.AddObject(-1, std::make_unique<TCerchio2D>(-1, MakePoint2D(80, 45), MakePoint2D(95, 45)));
        TRect2D box;
        Cad.GetExtension(box);
        File.DrawingOrigWidth = File.RasterWorldWidth = box.SecondEdge.X - box.FirstEdge.X;
        File.DrawingOrigHeight = File.RasterWorldHeight = box.SecondEdge.Y - box.FirstEdge.Y;
        File.DrawingOrigMinX = File.RasterOriginX = box.FirstEdge.X;
        File.DrawingOrigMinY = File.RasterOriginY = box.FirstEdge.Y;
    }

    TRect2D Extent()
    {
        TRect2D box;
        Cad.GetExtension(box);
        return box;
    }

    TPoint2D RasterCorner()
    {
        return CartesianPoint2D(ApplyTransform2D((*Bitmap().Points())[0], Bitmap().GetTransform()));
    }
    TBitmap2D& Bitmap() { return dynamic_cast<TBitmap2D&>(*Cad.GetObject(0)); }

    std::vector<std::string> Classes()
    {
        std::vector<std::string> names;
        auto iterator = Cad.ObjectsIterator();
        for (TGraphicObject* object = iterator->First(); object; object = iterator->Next())
            names.push_back(object->ClassName());
        return names;
    }

    QImage Picture(const TRect2D& world)
    {
        auto view = viewtest::MakeView(300, 300, world);
        view->SetBackGroundColor(clWhite);
        view->SetShowAssi(true);
        view->SetCADCmp2D(&Cad);
        view->Repaint();
        QImage image = view->WindowImage().copy();
        view->SetCADCmp2D(nullptr);
        return image;
    }

    TLoadedFile File;
    TCADCmp2D Cad;
    TRecordingHost Host;
};

void ExpectNear(TVect actual, double x, double y, const std::string& label)
{
    EXPECT_NEAR(actual.X, x, 1e-3) << label;
    EXPECT_NEAR(actual.Y, y, 1e-3) << label;
}

} // namespace

TEST_F(Placement, RasterChoicesBringTheirCornerToTheOriginAndPanBySameMove)
{
    struct TStep {
        int Tag;
        float OriginX, OriginY;  // the origin expected afterwards
        float MoveX, MoveY;      // the bitmap's move, which the view follows
    };
    struct TCase {
        const char* Name;
        float StartX, StartY;
        std::vector<TStep> Steps;
    };
    const TCase cases[] = {
        {"top right, then top left", 0, 0, {{3, -100, -50, -100, -50}, {2, 0, -50, 100, 0}}},
        {"typed origin, then top left", 0, -80, {{2, 0, -50, 0, 30}}},
        {"centre, then bottom right, then bottom left", 0, 0,
         {{5, -50, -25, -50, -25}, {4, -100, 0, -50, 25}, {1, 0, 0, 100, 0}}},
    };
    for (const TCase& c : cases) {
        Cad.DeleteAllObjects();
        File = TLoadedFile();
        Host = TRecordingHost();
        LoadRaster(c.StartX, c.StartY);
        TPlacement placement(Cad, File, Host);
        for (const TStep& step : c.Steps) {
            const std::string label = std::string(c.Name) + ", choice " + std::to_string(step.Tag);
            const TPoint2D before = RasterCorner();
            const TVect shown = placement.ChooseCorner(step.Tag);
            ExpectNear(shown, -step.OriginX, -step.OriginY, label + ": fields");
            EXPECT_FLOAT_EQ(File.RasterOriginX, step.OriginX) << label;
            EXPECT_FLOAT_EQ(File.RasterOriginY, step.OriginY) << label;
            const TPoint2D after = RasterCorner();
            ExpectNear({after.X - before.X, after.Y - before.Y}, step.MoveX, step.MoveY, label + ": bitmap");
            ASSERT_FALSE(Host.Pans.empty());
            ExpectNear(Host.Pans.back(), step.MoveX, step.MoveY, label + ": pan");
            EXPECT_EQ(File.PlacementCorner, step.Tag);
        }
    }
}

TEST_F(Placement, QuarterTurnsTurnTheDrawingAboutTheChosenCornerAndStepTheShownCorner)
{
    LoadDrawing();
    TPlacement placement(Cad, File, Host);

    const TVect q = placement.ChooseCorner(1);
    ExpectNear(q, 10, 20, "choice 1");
    ExpectNear({Extent().FirstEdge.X, Extent().FirstEdge.Y}, 0, 0, "choice 1 puts the corner on the origin");

    // Each row: the turn, the rotation after it, Q, the shown corner.
    struct TTurn {
        int Direction;
        int Rotation;
        double QX, QY;
        int Shown;
    };
    const TTurn turns[] = {
        {+1, 90, -20, 10, 4}, {+1, 180, -10, -20, 3}, {+1, 270, 20, -10, 2}, {+1, 0, 10, 20, 1},
        {-1, 270, 20, -10, 2}, {-1, 180, -10, -20, 3}, {-1, 90, -20, 10, 4}, {-1, 0, 10, 20, 1},
    };
    for (const TTurn& turn : turns) {
        const std::string label = "to " + std::to_string(turn.Rotation);
        int shown = -1;
        const std::optional<TVect> turned = placement.Turn(turn.Direction, shown);
        ASSERT_TRUE(turned) << label;
        EXPECT_EQ(File.PlacementRotation, turn.Rotation) << label;
        ExpectNear(*turned, turn.QX, turn.QY, label + ": Q");
        EXPECT_EQ(shown, turn.Shown) << label;
        // The chosen corner of the imported drawing sits on the origin after every turn.
        const TRect2D box = Extent();
        const double dx = std::min(std::fabs(box.FirstEdge.X), std::fabs(box.SecondEdge.X));
        const double dy = std::min(std::fabs(box.FirstEdge.Y), std::fabs(box.SecondEdge.Y));
        EXPECT_NEAR(dx, 0.0, 1e-3) << label;
        EXPECT_NEAR(dy, 0.0, 1e-3) << label;
        // The view follows every move, so the drawing stays still on the screen.
        EXPECT_NEAR(File.PlacementViewShiftX, -turn.QX, 1e-3) << label;
    }

    // Turned a quarter to the left about its lower-left corner: a picture to look at.
    int shown = 0;
    placement.Turn(+1, shown);
    EXPECT_TRUE(imagetest::SaveTestImage(Picture(MakeRect2D(-80, -40, 40, 120)), "import/placed-turned.png"));
    ExpectNear({Extent().FirstEdge.X, Extent().FirstEdge.Y}, -50, 0, "turned extent");
    ExpectNear({Extent().SecondEdge.X, Extent().SecondEdge.Y}, 0, 100, "turned extent");

    // The drawing's own origin: no turn, no move.
    placement.UseDrawingOrigin();
    EXPECT_EQ(File.PlacementRotation, 0);
    ExpectNear({Extent().FirstEdge.X, Extent().FirstEdge.Y}, 10, 20, "drawing origin");
}

TEST_F(Placement, TypedAndPickedReferencesMoveFromWhereTheDrawingIs)
{
    LoadDrawing();
    TPlacement placement(Cad, File, Host);
    placement.ChooseCorner(1);
    // The lower-left corner is at the origin now: typing 5, 5 moves it to (-5, -5).
    EXPECT_FALSE(placement.TypedReference("-", "5"));
    EXPECT_FALSE(placement.TypedReference("", "5"));
    ASSERT_TRUE(placement.TypedReference("5", "5"));
    ExpectNear({Extent().FirstEdge.X, Extent().FirstEdge.Y}, -5, -5, "typed");
    ExpectNear(Host.Pans.back(), -5, -5, "typed pan");
    const TVect shown = placement.PickedReference(MakePoint2D(45, 20));
    ExpectNear({Extent().FirstEdge.X, Extent().FirstEdge.Y}, -50, -25, "picked");
    ExpectNear(shown, 50, 25, "picked fields");
}

TEST_F(Placement, SizesScaleFromTheImportedGeometryAndRefuseWhatIsNoSize)
{
    LoadDrawing();
    TPlacement placement(Cad, File, Host);
    std::optional<float> derived;

    // Refused texts leave the size alone.
    for (const char* text : {"0", "-20", "abc", "", "1e5x"}) {
        const TSizeError error = placement.WidthTyped(text, true, derived);
        EXPECT_NE(error, TSizeError::None) << text;
        EXPECT_FLOAT_EQ(File.RasterWorldWidth, 100) << text;
        EXPECT_FALSE(derived) << text;
    }

    // Keep ratio: the height follows.
    ASSERT_EQ(placement.WidthTyped("200", true, derived), TSizeError::None);
    ASSERT_TRUE(derived);
    EXPECT_FLOAT_EQ(*derived, 100);
    placement.ApplySize();
    ExpectNear({Extent().FirstEdge.X, Extent().FirstEdge.Y}, 20, 40, "doubled");
    ExpectNear({Extent().SecondEdge.X, Extent().SecondEdge.Y}, 220, 140, "doubled");
    EXPECT_EQ(Classes(), (std::vector<std::string>{"TPolyline2D", "TLine2D", "TCerchio2D"}));

    // Unequal: the circle becomes a polyline, and stays one when the sizes agree again.
    ASSERT_EQ(placement.HeightTyped("50", false, derived), TSizeError::None);
    placement.ApplySize();
    EXPECT_EQ(Classes(), (std::vector<std::string>{"TPolyline2D", "TLine2D", "TPolyline2D"}));
    ExpectNear({Extent().SecondEdge.X, Extent().SecondEdge.Y}, 220, 70, "stretched");
    ASSERT_EQ(placement.WidthTyped("100", true, derived), TSizeError::None);
    placement.ApplySize();
    EXPECT_EQ(Classes(), (std::vector<std::string>{"TPolyline2D", "TLine2D", "TPolyline2D"}));
    ExpectNear({Extent().SecondEdge.X, Extent().SecondEdge.Y}, 110, 70, "back to size");
    // The polyline made of the circle keeps the circle's place through every later step.
    placement.ChooseCorner(1);
    ExpectNear({Extent().FirstEdge.X, Extent().FirstEdge.Y}, 0, 0, "placed after the change");
}

TEST_F(Placement, ADrawingWithoutWidthScalesByOneAcrossIt)
{
    File.IsDxfLoaded = true;
    Cad.AddObject(-1, std::make_unique<TLine2D>(-1, MakePoint2D(30, 10), MakePoint2D(30, 60)));
    File.DrawingOrigWidth = File.RasterWorldWidth = 0;
    File.DrawingOrigHeight = File.RasterWorldHeight = 50;
    File.DrawingOrigMinX = File.RasterOriginX = 30;
    File.DrawingOrigMinY = File.RasterOriginY = 10;
    TPlacement placement(Cad, File, Host);
    std::optional<float> derived;
    ASSERT_EQ(placement.HeightTyped("100", true, derived), TSizeError::None);
    ASSERT_TRUE(derived);
    EXPECT_FLOAT_EQ(*derived, 0);
    placement.ChooseCorner(3);
    const TRect2D box = Extent();
    for (float v : {box.FirstEdge.X, box.FirstEdge.Y, box.SecondEdge.X, box.SecondEdge.Y})
        EXPECT_TRUE(std::isfinite(v));
    ExpectNear({box.FirstEdge.X, box.FirstEdge.Y}, 0, -100, "top right of a vertical line");
    ExpectNear({box.SecondEdge.X, box.SecondEdge.Y}, 0, 0, "top right of a vertical line");
}
