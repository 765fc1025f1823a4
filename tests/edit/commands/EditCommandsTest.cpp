#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <locale>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "cad/engine/SelectObject.h"
#include "cad/engine/SelectTwoObjects.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/shapes/Punto2D.h"
#include "edit/commands/CommandStates.h"
#include "edit/commands/EditSettings.h"
#include "edit/commands/EditStates.h"
#include "support/GoldenFile.h"
#include "support/StateTestSupport.h"

namespace {

// Each scenario starts on an empty drawing, adds its entities on layers of
// their own, runs one command through the engine's selection states as the
// user would pick, and writes what the drawing then holds (IDs, classes,
// layers and world geometry) and which boxes were shown.
class EditCommands : public statetest::StateTest {
protected:
    void SetUp() override
    {
        StateTest::SetUp();
        Saved = EditSettings();
        Out.imbue(std::locale::classic());
        EditSettings().ShowBox = [this](const TEditBox& box) {
            Out << "  box";
            for (int message : box.Messages)
                Out << " " << message;
            Out << " caption " << box.Caption << (box.Warning ? " warning" : "") << "\n";
        };
    }

    void TearDown() override
    {
        EditSettings() = Saved;
        StateTest::TearDown();
    }

    void Scenario(const std::string& name)
    {
        Drawing.DeleteAllObjects();
        Drawing.NextObjectID = 0;
        Out << "== " << name << "\n";
    }

    TObject2D& On(std::uint8_t layer, std::unique_ptr<TObject2D> object)
    {
        TObject2D& added = Add(std::move(object));
        added.Layer = layer;
        return added;
    }
    TObject2D& Line(std::uint8_t layer, float x1, float y1, float x2, float y2)
    {
        return On(layer, std::make_unique<TLine2D>(-1, MakePoint2D(x1, y1), MakePoint2D(x2, y2)));
    }
    TObject2D& Circle(std::uint8_t layer, float cx, float cy, float r)
    {
        return On(layer, std::make_unique<TCerchio2D>(-1, MakePoint2D(cx, cy), MakePoint2D(cx + r, cy)));
    }
    TObject2D& Arc(std::uint8_t layer, float cx, float cy, float r, float fromDegrees, float toDegrees)
    {
        const auto rad = [](float d) { return static_cast<float>(d * std::numbers::pi / 180.0); };
        return On(layer, std::make_unique<TArco2D>(-1, MakePoint2D(cx, cy), MakePoint2D(cx + r, cy), rad(fromDegrees),
                                                   rad(toDegrees)));
    }
    TObject2D& Polyline(std::uint8_t layer, const std::vector<TPoint2D>& points)
    {
        return On(layer, std::make_unique<TPolyline2D>(-1, points));
    }

    // Two picks, then the state; a single pick; a pick and then a point.
    void Pick2(const char* state, TPoint2D first, TPoint2D second)
    {
        Start(state, TCADStateClass::Of<TCAD2DSeleziona2Ogg>());
        Click(first.X, first.Y);
        Click(second.X, second.Y);
        Finish();
    }
    void Pick1(const char* state, TPoint2D at)
    {
        Start(state, TCADStateClass::Of<TCAD2DSelectObject>());
        Click(at.X, at.Y);
        Finish();
    }
    void PickThenPoint(const char* state, TPoint2D at, TPoint2D point)
    {
        Start(state, TCADStateClass::Of<TCAD2DSelectObject>());
        Click(at.X, at.Y);
        EXPECT_TRUE(In<TCAD2DSelectPoint>()) << state;
        Click(point.X, point.Y);
        Finish();
    }

    std::ostringstream Out;

private:
    void Start(const char* state, TCADStateClass selection)
    {
        const TCADStateClass after = CommandStateClass(state);
        ASSERT_TRUE(after) << state;
        ASSERT_TRUE(Engine->StartOperation(selection, std::make_unique<TCAD2DSelectObjectsParam>(5, after)));
    }

    void Finish()
    {
        EXPECT_TRUE(Idle());
        for (TObject2D* object : Objects())
            Describe(*object);
    }

    static double Round(double v) { return std::abs(v) < 0.005 ? 0.0 : v; }

    void Describe(TObject2D& object)
    {
        Out << "  #" << object.ID << " " << object.ClassName() << " L" << int(object.Layer) << std::fixed
            << std::setprecision(2);
        if (auto* arc = dynamic_cast<TArco2D*>(&object)) {
            const std::vector<TPoint2D> p = WorldPoints(object);
            const auto deg = [](float a) {
                double d = a * 180.0 / std::numbers::pi;
                return Round(d < 0 ? d + 360.0 : d);
            };
            Out << " c(" << Round(p[0].X) << " " << Round(p[0].Y) << ") r " << Round(std::hypot(p[1].X - p[0].X, p[1].Y - p[0].Y))
                << " " << deg(arc->StartAngle()) << ".." << deg(arc->EndAngle());
        } else {
            for (TPoint2D p : WorldPoints(object))
                Out << " (" << Round(p.X) << " " << Round(p.Y) << ")";
        }
        Out << "\n";
    }

    TEditSettings Saved;
};

} // namespace

TEST_F(EditCommands, FilletTrimAndTangentsReplaceExactlyTheirObjects)
{
    EditSettings().FilletRadius = 10.0;
    EditSettings().FilletMode = true;
    Scenario("fillet of two crossing lines keeps the picked sides");
    Line(1, 10, 20, 90, 20);
    Line(2, 20, 10, 20, 90);
    Pick2("TMyRaccordo", MakePoint2D(70, 20), MakePoint2D(20, 70));

    Scenario("fillet larger than the lines still moves the ends");
    EditSettings().FilletRadius = 40.0;
    Line(1, 10, 20, 30, 20);
    Line(2, 20, 10, 20, 30);
    Pick2("TMyRaccordo", MakePoint2D(28, 20), MakePoint2D(20, 28));
    EditSettings().FilletRadius = 10.0;

    Scenario("fillet of a line and a circle splits the circle's arc");
    Line(1, 10, 20, 90, 20);
    Circle(2, 50, 50, 15);
    Pick2("TMyRaccordo", MakePoint2D(80, 20), MakePoint2D(65, 50));

    Scenario("fillet of two arcs picked outside both");
    Arc(1, 30, 50, 15, 0, 180);
    Arc(2, 70, 50, 15, 0, 180);
    Pick2("TMyRaccordo", MakePoint2D(30, 65), MakePoint2D(70, 65));

    Scenario("parallel lines change nothing");
    Line(1, 10, 20, 90, 20);
    Line(2, 10, 40, 90, 40);
    Pick2("TMyRaccordo", MakePoint2D(50, 20), MakePoint2D(50, 40));

    Scenario("a polyline is no fillet entity");
    Line(1, 10, 20, 90, 20);
    Polyline(2, {MakePoint2D(20, 10), MakePoint2D(20, 90), MakePoint2D(60, 90)});
    Pick2("TMyRaccordo", MakePoint2D(50, 20), MakePoint2D(20, 50));

    EditSettings().FilletMode = false;
    Scenario("trim of an X keeps the picked sides");
    Line(1, 10, 10, 90, 90);
    Line(2, 10, 90, 90, 10);
    Pick2("TMyRaccordo", MakePoint2D(80, 80), MakePoint2D(20, 80));

    Scenario("trim of a line against an arc cuts both at the crossing");
    Line(1, 10, 50, 90, 50);
    Arc(2, 50, 50, 20, 90, 0);
    Pick2("TMyRaccordo", MakePoint2D(15, 50), MakePoint2D(35.86f, 64.14f));

    Scenario("trim of two arcs breaks both where they cross");
    Arc(1, 35, 50, 20, 270, 90);
    Arc(2, 65, 50, 20, 90, 270);
    Pick2("TMyRaccordo", MakePoint2D(55, 50), MakePoint2D(45, 50));

    Scenario("tangent arc to two lines without trimming adds only a full circle");
    EditSettings().ArcTanRadius = 5.0;
    EditSettings().ArcTanTrim = false;
    Line(1, 10, 20, 90, 20);
    Line(2, 20, 10, 20, 90);
    Pick2("TMyArcoTan2", MakePoint2D(70, 20), MakePoint2D(20, 70));

    Scenario("tangent arc to two two-point polylines uses the fillet radius");
    Polyline(1, {MakePoint2D(10, 20), MakePoint2D(90, 20)});
    Polyline(2, {MakePoint2D(20, 10), MakePoint2D(20, 90)});
    Pick2("TMyArcoTan2", MakePoint2D(70, 20), MakePoint2D(20, 70));

    Scenario("tangent circle centred on a point");
    Line(1, 10, 20, 90, 20);
    PickThenPoint("TMyArcoTan1", MakePoint2D(50, 20), MakePoint2D(40, 60));

    Scenario("line tangent to two circles nearest the picks");
    Circle(1, 30, 50, 10);
    Circle(2, 70, 50, 10);
    Pick2("TMyLineaTan2A", MakePoint2D(30, 60), MakePoint2D(70, 60));

    Scenario("concentric circles have no common tangent");
    Circle(1, 50, 50, 10);
    Circle(2, 50, 50, 30);
    Pick2("TMyLineaTan2A", MakePoint2D(60, 50), MakePoint2D(80, 50));

    Scenario("tangent at 90 degrees on the side of the pick");
    EditSettings().TanLineAngle = 90.0;
    EditSettings().TanLineLength = 20.0;
    Circle(1, 50, 50, 10);
    Pick1("TMyLineaTanAngle", MakePoint2D(40, 50));

    Scenario("perpendicular from a point, and from a point on the line");
    Line(1, 10, 20, 90, 20);
    PickThenPoint("TMyLineaPer", MakePoint2D(50, 20), MakePoint2D(30, 60));
    PickThenPoint("TMyLineaPer", MakePoint2D(50, 20), MakePoint2D(70, 20));

    edittest::ExpectGolden("fillet-trim-tangents.txt", Out.str());
}

TEST_F(EditCommands, ExtendDivideBreakAndJoinReplaceExactlyTheirObjects)
{
    EditSettings().ExtendLength = 10.0;
    Scenario("extend a line picked at its middle moves the start");
    Line(3, 20, 50, 60, 50);
    Pick1("TMyExtend", MakePoint2D(40, 50));

    Scenario("extend an arc past its missing sweep closes it and no further");
    EditSettings().ExtendLength = 100.0;
    Arc(3, 50, 50, 10, 0, 270);
    Pick1("TMyExtend", MakePoint2D(50, 40));

    Scenario("shorten an arc by more than its sweep leaves it alone");
    EditSettings().ExtendLength = -100.0;
    Arc(3, 50, 50, 10, 0, 90);
    Pick1("TMyExtend", MakePoint2D(57.07f, 57.07f));

    Scenario("extend a polyline at its last end reverses it");
    EditSettings().ExtendLength = 10.0;
    Polyline(3, {MakePoint2D(10, 10), MakePoint2D(50, 10), MakePoint2D(50, 50)});
    Pick1("TMyExtend", MakePoint2D(50, 45));

    Scenario("split a line, an arc through 0 and a circle");
    Line(4, 10, 10, 50, 10);
    Pick1("TMyDivide", MakePoint2D(30, 10));
    Arc(4, 50, 50, 20, 300, 60);
    Pick1("TMyDivide", MakePoint2D(70, 50));
    Circle(4, 50, 50, 10);
    Pick1("TMyDivide", MakePoint2D(50, 60));

    Scenario("split a polyline is refused");
    Polyline(4, {MakePoint2D(10, 10), MakePoint2D(50, 10), MakePoint2D(50, 50)});
    Pick1("TMyDivide", MakePoint2D(30, 10));

    Scenario("break two lines crossing at the end of one gives three");
    Line(1, 10, 50, 90, 50);
    Line(2, 50, 50, 50, 90);
    Pick2("TMyBreak", MakePoint2D(20, 50), MakePoint2D(50, 80));

    Scenario("break a line through a circle");
    Line(1, 10, 50, 90, 50);
    Circle(2, 50, 50, 20);
    Pick2("TMyBreak", MakePoint2D(15, 50), MakePoint2D(50, 70));

    Scenario("break a line wholly inside a circle changes only the circle into an arc");
    Line(1, 45, 50, 55, 50);
    Circle(2, 50, 50, 20);
    Pick2("TMyBreak", MakePoint2D(50, 50), MakePoint2D(50, 70));

    Scenario("break a polyline with a line");
    Polyline(1, {MakePoint2D(10, 10), MakePoint2D(50, 80), MakePoint2D(90, 10)});
    Line(2, 10, 40, 90, 40);
    Pick2("TMyBreak", MakePoint2D(40, 62.5f), MakePoint2D(50, 40));

    Scenario("break a line and a point does nothing");
    Line(1, 10, 40, 90, 40);
    On(2, std::make_unique<TPunto2D>(-1, MakePoint2D(50, 60)));
    Pick2("TMyBreak", MakePoint2D(50, 40), MakePoint2D(50, 60));

    Scenario("join collinear lines across a gap");
    Line(1, 10, 50, 40, 50);
    Line(2, 60, 50, 90, 50);
    Pick2("TMyJoin", MakePoint2D(20, 50), MakePoint2D(80, 50));

    Scenario("join lines that are not collinear");
    Line(1, 10, 50, 40, 50);
    Line(2, 60, 60, 90, 60);
    Pick2("TMyJoin", MakePoint2D(20, 50), MakePoint2D(80, 60));

    Scenario("join arcs of one circle in either pick order");
    Arc(1, 50, 50, 20, 0, 90);
    Arc(2, 50, 50, 20, 90, 180);
    Pick2("TMyJoin", MakePoint2D(35.86f, 64.14f), MakePoint2D(64.14f, 64.14f));

    Scenario("join arcs of different circles");
    Arc(1, 50, 50, 20, 0, 90);
    Arc(2, 50, 50, 25, 90, 180);
    Pick2("TMyJoin", MakePoint2D(64.14f, 64.14f), MakePoint2D(32.32f, 67.68f));

    edittest::ExpectGolden("extend-divide-break-join.txt", Out.str());
}

// An outline as tracing leaves it, every side overshooting its corners: two
// corners filleted and two trimmed must give a closed outline. The picture
// is kept for looking at.
TEST_F(EditCommands, FilletsAndTrimsCloseAnOvershootingOutline)
{
    Line(1, 8, 20, 85, 20);
    Line(1, 80, 15, 80, 75);
    Line(1, 85, 70, 15, 70);
    Line(1, 20, 75, 20, 12);
    EditSettings().FilletRadius = 8.0;
    EditSettings().FilletMode = true;
    Pick2("TMyRaccordo", MakePoint2D(60, 20), MakePoint2D(80, 40));
    Pick2("TMyRaccordo", MakePoint2D(40, 70), MakePoint2D(20, 50));
    EditSettings().FilletMode = false;
    Pick2("TMyRaccordo", MakePoint2D(60, 70), MakePoint2D(80, 50));
    Pick2("TMyRaccordo", MakePoint2D(40, 20), MakePoint2D(20, 40));

    std::vector<TVect> ends;
    for (TObject2D* object : Objects()) {
        EXPECT_EQ(object->Layer, dynamic_cast<TLine2D*>(object) ? 1 : 0) << object->ID;
        if (auto* arc = dynamic_cast<TArco2D*>(object)) {
            const std::vector<TPoint2D> p = WorldPoints(*arc);
            ends.push_back({p[2].X, p[2].Y});
            ends.push_back({p[3].X, p[3].Y});
        } else {
            for (TPoint2D p : WorldPoints(*object))
                ends.push_back({p.X, p.Y});
        }
    }
    EXPECT_EQ(ends.size(), 12u) << "four lines and two fillet arcs";
    for (std::size_t i = 0; i < ends.size(); ++i) {
        int partners = 0;
        for (std::size_t j = 0; j < ends.size(); ++j)
            if (i != j && std::hypot(ends[i].X - ends[j].X, ends[i].Y - ends[j].Y) < 1e-3)
                ++partners;
        EXPECT_EQ(partners, 1) << "end " << ends[i].X << " " << ends[i].Y;
    }

    std::unique_ptr<TCADViewport2DCore> large = viewtest::MakeView(400, 400, MakeRect2D(0, 0, 100, 100));
    large->SetBackGroundColor(clWhite);
    large->SetCADCmp2D(&Drawing);
    large->Repaint();
    EXPECT_TRUE(imagetest::SaveTestImage(large->WindowImage(), "edit/fillet-trim-outline.png"));
}
