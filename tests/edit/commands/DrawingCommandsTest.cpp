#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "cad/drawing/CADClassRegistration.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/model/ClassRegistry.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/BSpline2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Container2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Punto2D.h"
#include "edit/commands/CommandTable.h"
#include "edit/commands/DrawingCommands.h"

namespace {

std::vector<TPoint2D> ChildPoints(const TContainer2D& container)
{
    std::vector<TPoint2D> points;
    auto iterator = const_cast<TContainer2D&>(container).Objects().GetIterator();
    for (TGraphicObject* child = iterator->First(); child; child = iterator->Next())
        points.push_back((*static_cast<TPrimitive2D*>(child)->Points())[0]);
    return points;
}

void ExpectSamePoints(const std::vector<TPoint2D>& a, const std::vector<TPoint2D>& b)
{
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_NEAR(a[i].X, b[i].X, 1e-4) << i;
        EXPECT_NEAR(a[i].Y, b[i].Y, 1e-4) << i;
    }
}

} // namespace

// Every drawing command of the table gets a primitive of the class its row
// names, built around the origin.
TEST(DrawingCommands, EveryDrawingStarterBuildsTheClassItsRowNames)
{
    int starters = 0;
    for (const TCommandRow& row : CommandTable()) {
        const bool drawing = row.Code <= 11 || row.Code == 30;
        const std::unique_ptr<TObject2D> object = StarterPrimitive(row.Code, {});
        if (!drawing) {
            EXPECT_EQ(object, nullptr) << row.Code;
            continue;
        }
        ASSERT_NE(object, nullptr) << row.Code;
        EXPECT_EQ(object->ClassName(), row.Shape);
        ++starters;
    }
    EXPECT_EQ(starters, 12);

    const auto spline = StarterPrimitive(11, {});
    EXPECT_EQ(static_cast<TBSpline2D&>(*spline).SavingType, 0);

    // A polar line runs from its far end to the origin.
    TDrawingParameters p;
    p.PolarLineLength = 2;
    p.PolarLineAngle = 90;
    const auto line = StarterPrimitive(30, p);
    const auto& points = *static_cast<TLine2D&>(*line).Points();
    EXPECT_NEAR(points[0].X, 0, 1e-6);
    EXPECT_NEAR(points[0].Y, 2, 1e-6);
    EXPECT_EQ(points[1].X, 0);

    // A polar arc whose start equals its end goes all the way round.
    p.PolarArcDiameter = 4;
    p.PolarArcStart = p.PolarArcEnd = 45;
    const auto arc = StarterPrimitive(7, p);
    EXPECT_NEAR(arc->Box.SecondEdge.X - arc->Box.FirstEdge.X, 4, 1e-3);
    EXPECT_NEAR(arc->Box.SecondEdge.Y - arc->Box.FirstEdge.Y, 4, 1e-3);
}

TEST(DrawingCommands, PointGridRowsColumnsReferenceAndLimits)
{
    std::string error;
    // 3 x 2 at 30 degrees: rows outer, columns inner.
    const auto grid = PointGrid({2, 1, 3, 2, 30}, error);
    ASSERT_NE(grid, nullptr);
    const double c = std::cos(M_PI / 6), s = std::sin(M_PI / 6);
    std::vector<TPoint2D> expected;
    for (int r = 0; r < 2; ++r)
        for (int col = 0; col < 3; ++col)
            expected.push_back(MakePoint2D(static_cast<float>(col * 2 * c - r * s), static_cast<float>(col * 2 * s + r * c)));
    ExpectSamePoints(ChildPoints(*grid), expected);
    EXPECT_NEAR(grid->ReferencePoint().X, -s, 1e-5);
    EXPECT_NEAR(grid->ReferencePoint().Y, 0, 1e-5);

    // The reference is the lower-left corner of the rotated grid in every quadrant.
    for (double angle : {0.0, 60.0, 150.0, 200.0, 300.0, 450.0, -45.0}) {
        const auto rotated = PointGrid({3, 2, 4, 3, angle}, error);
        float left = 1e9f, bottom = 1e9f;
        for (TPoint2D p : ChildPoints(*rotated)) {
            left = std::min(left, p.X);
            bottom = std::min(bottom, p.Y);
        }
        EXPECT_NEAR(rotated->ReferencePoint().X, left, 1e-4) << angle;
        EXPECT_NEAR(rotated->ReferencePoint().Y, bottom, 1e-4) << angle;
    }

    // -90 is 270; 450 is 90.
    ExpectSamePoints(ChildPoints(*PointGrid({2, 3, 3, 3, -90}, error)), ChildPoints(*PointGrid({2, 3, 3, 3, 270}, error)));
    ExpectSamePoints(ChildPoints(*PointGrid({2, 3, 3, 3, 450}, error)), ChildPoints(*PointGrid({2, 3, 3, 3, 90}, error)));

    // 1 x 1 is one point, at the reference corner.
    const auto single = PointGrid({2, 2, 1, 1, 75}, error);
    ASSERT_EQ(ChildPoints(*single).size(), 1u);
    EXPECT_EQ(ChildPoints(*single)[0].X, single->ReferencePoint().X);
    EXPECT_EQ(ChildPoints(*single)[0].Y, single->ReferencePoint().Y);

    // The cap: 100,000 points are made, one more row is refused with a reason.
    EXPECT_NE(PointGrid({1, 1, 1000, 100, 0}, error), nullptr);
    EXPECT_TRUE(error.empty());
    EXPECT_EQ(PointGrid({1, 1, 1000, 101, 0}, error), nullptr);
    EXPECT_NE(error.find("101000"), std::string::npos);
}

TEST(DrawingCommands, BoltCirclePointsHolesAndNegativeStep)
{
    std::string error;
    TBoltCircleParameters bolt;
    bolt.Radius = 10;
    bolt.StartAngle = 90;
    bolt.AngleBetween = -45;
    bolt.Count = 3;
    bolt.CreateHoles = true;
    bolt.HoleDiameter = 2;
    const auto circle = BoltCircle(bolt, error);
    ASSERT_NE(circle, nullptr);
    ASSERT_EQ(circle->Objects().Count(), 6);
    // A step of -45 turns clockwise: 90, 45, 0 degrees.
    auto iterator = circle->Objects().GetIterator();
    std::vector<TPoint2D> points;
    for (TGraphicObject* child = iterator->First(); child; child = iterator->Next()) {
        if (auto* hole = dynamic_cast<TCerchio2D*>(child)) {
            EXPECT_NEAR((*hole->Points())[1].X - (*hole->Points())[0].X, 1, 1e-5);
            continue;
        }
        ASSERT_NE(dynamic_cast<TPunto2D*>(child), nullptr);
        points.push_back((*static_cast<TPunto2D*>(child)->Points())[0]);
    }
    iterator.reset();
    const float r = static_cast<float>(10 * std::sqrt(0.5));
    ExpectSamePoints(points, {MakePoint2D(0, 10), MakePoint2D(r, r), MakePoint2D(10, 0)});
    EXPECT_EQ(circle->ReferencePoint().X, circle->Box.FirstEdge.X);
    EXPECT_EQ(circle->ReferencePoint().Y, circle->Box.FirstEdge.Y);

    bolt.CreatePoints = bolt.CreateHoles = false;
    const auto empty = BoltCircle(bolt, error);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->Objects().Count(), 0);
}
