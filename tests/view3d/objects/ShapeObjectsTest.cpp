#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/GLCallLog.h"
#include "view3d/material/RenderContextInfo.h"
#include "view3d/objects/Annulus.h"
#include "view3d/objects/ArrowLine.h"
#include "view3d/objects/Cone.h"
#include "view3d/objects/Cylinder.h"
#include "view3d/objects/Disk.h"
#include "view3d/objects/Frustrum.h"
#include "view3d/objects/HeightField.h"
#include "view3d/objects/Polygon.h"
#include "view3d/objects/Torus.h"
#include "view3d/objects/XYZGrid.h"
#include "view3d/opengl/GLStateCache.h"

namespace {

using Calls = std::vector<std::string>;

template <typename T>
std::unique_ptr<TGLBaseSceneObject> Make(std::function<void(T&)> set = {})
{
    auto object = std::make_unique<T>();
    if (set)
        set(*object);
    return object;
}

TEST(ShapeObjects, HalfExtentsFollowTheSizes)
{
    struct Case {
        std::string Name;
        std::unique_ptr<TGLBaseSceneObject> Object;
        Vector3f Expected;
    };
    Case cases[] = {
        {"disk", Make<TGLDisk>(), {0.5f, 0.5f, 0}},
        {"cone", Make<TGLCone>([](TGLCone& c) { c.SetHeight(3); }), {0.5f, 1.5f, 0.5f}},
        {"cylinder", Make<TGLCylinder>(), {0.5f, 0.5f, 0.5f}},
        {"cylinder wider at the top, aligned on it", Make<TGLCylinder>([](TGLCylinder& c) {
             c.SetTopRadius(0.8f);
             c.SetHeight(2);
             c.SetAlignment(TCylinderAlignment::caTop);
         }),
         {0.8f, 1, 0.8f}},
        {"annulus", Make<TGLAnnulus>([](TGLAnnulus& a) { a.SetTopRadius(0.7f); }), {0.7f, 0.5f, 0.7f}},
        {"torus", Make<TGLTorus>(), {0.5f, 0.5f, 0.1f}},
        {"arrow with a stacked head", Make<TGLArrowLine>(), {0.2f, 0.2f, 1}},
        {"arrow with an included head",
         Make<TGLArrowLine>([](TGLArrowLine& a) { a.SetHeadStackingStyle(TArrowHeadStackingStyle::ahssIncluded); }),
         {0.2f, 0.2f, 0.5f}},
        {"arrow line alone", Make<TGLArrowLine>([](TGLArrowLine& a) { a.SetParts({true, false, false}); }),
         {0.1f, 0.1f, 0.5f}},
        {"frustrum", Make<TGLFrustrum>(), {0.5f, 0.25f, 0.5f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const Vector3f got = c.Object->AxisAlignedDimensionsUnscaled();
        EXPECT_FLOAT_EQ(got.X, c.Expected.X);
        EXPECT_FLOAT_EQ(got.Y, c.Expected.Y);
        EXPECT_FLOAT_EQ(got.Z, c.Expected.Z);
    }
}

void ExpectVector(const Vector4f& got, const Vector4f& expected)
{
    EXPECT_NEAR(got.X, expected.X, 1e-5);
    EXPECT_NEAR(got.Y, expected.Y, 1e-5);
    EXPECT_NEAR(got.Z, expected.Z, 1e-5);
    EXPECT_NEAR(got.W, expected.W, 1e-5);
}

TEST(ShapeObjects, RayCastsWorkInAbsoluteCoordinates)
{
    // Moved and scaled: the hit comes back where the scaled wall stands.
    TGLCylinder cylinder;
    cylinder.SetPosition({5, 0, 0, 1});
    cylinder.SetScale({2, 2, 2, 0});
    Vector4f point;
    Vector4f normal;
    ASSERT_TRUE(cylinder.RayCastIntersect({10, 0, 0, 1}, {-1, 0, 0, 0}, &point, &normal));
    ExpectVector(point, {6, 0, 0, 1});
    ExpectVector(normal, {1, 0, 0, 0});
    EXPECT_FALSE(cylinder.RayCastIntersect({10, 3, 0, 1}, {-1, 0, 0, 0}));
    // Standing on the origin, its top is at the (scaled) height.
    cylinder.SetAlignment(TCylinderAlignment::caBottom);
    ASSERT_TRUE(cylinder.RayCastIntersect({5, 9, 0, 1}, {0, -1, 0, 0}, &point, &normal));
    ExpectVector(point, {5, 2, 0, 1});
    ExpectVector(normal, {0, 1, 0, 0});

    // Stretched unevenly, a sloping wall keeps a normal at right angles to it.
    TGLCylinder cone;
    cone.SetTopRadius(0);
    cone.SetScale({1, 2, 1, 0});
    ASSERT_TRUE(cone.RayCastIntersect({1, 0, 0, 1}, {-1, 0, 0, 0}, &point, &normal));
    ExpectVector(point, {0.25f, 0, 0, 1});
    const float length = std::sqrt(4.0f + 0.25f);
    ExpectVector(normal, {2 / length, 0.5f / length, 0, 0});

    // A disk faces its object's Direction.
    TGLDisk disk;
    disk.SetDirection({1, 0, 0, 0});
    ASSERT_TRUE(disk.RayCastIntersect({3, 0.2f, 0, 1}, {-1, 0, 0, 0}, &point, &normal));
    ExpectVector(point, {0, 0.2f, 0, 1});
    ExpectVector(normal, {1, 0, 0, 0});

    TGLTorus torus;
    torus.SetPosition({0, 0, 1, 1});
    ASSERT_TRUE(torus.RayCastIntersect({0.4f, 0, 3, 1}, {0, 0, -1, 0}, &point, &normal));
    ExpectVector(point, {0.4f, 0, 1.1f, 1});
}

TEST(ShapeObjects, FrustrumKeepsItsCutBetweenBaseAndApex)
{
    TGLFrustrum frustrum;
    frustrum.SetApexHeight(0.2f);
    EXPECT_FLOAT_EQ(frustrum.Height(), 0.2f);
    frustrum.SetHeight(2);
    EXPECT_FLOAT_EQ(frustrum.ApexHeight(), 2);
    frustrum.SetHeight(-1);
    frustrum.SetBaseWidth(-1);
    EXPECT_FLOAT_EQ(frustrum.Height(), 2);
    EXPECT_FLOAT_EQ(frustrum.BaseWidth(), 1);
}

TEST(ShapeObjects, ClonesKeepTheirClassAndSettings)
{
    TGLBaseSceneObject original;
    original.AddNewChild<TGLTorus>().SetMajorRadius(0.7f);
    original.AddNewChild<TGLArrowLine>().SetHeadStackingStyle(TArrowHeadStackingStyle::ahssIncluded);
    auto& field = original.AddNewChild<TGLHeightField>();
    field.XSamplingScale().SetMax(2);
    field.SetColorMode(THeightFieldColorMode::hfcmEmission);
    auto& polygon = original.AddNewChild<TGLPolygon>();
    polygon.Nodes().AddNode().SetX(3);
    polygon.SetParts({false, true});
    original.AddNewChild<TGLXYZGrid>().ZSamplingScale().SetStep(0.25f);

    TGLBaseSceneObject copy;
    copy.Assign(original);
    ASSERT_EQ(copy.Count(), 5);
    auto* torus = dynamic_cast<TGLTorus*>(&copy.Children(0));
    auto* arrow = dynamic_cast<TGLArrowLine*>(&copy.Children(1));
    auto* fieldCopy = dynamic_cast<TGLHeightField*>(&copy.Children(2));
    auto* polygonCopy = dynamic_cast<TGLPolygon*>(&copy.Children(3));
    auto* grid = dynamic_cast<TGLXYZGrid*>(&copy.Children(4));
    ASSERT_TRUE(torus && arrow && fieldCopy && polygonCopy && grid);
    EXPECT_FLOAT_EQ(torus->MajorRadius(), 0.7f);
    EXPECT_EQ(arrow->HeadStackingStyle(), TArrowHeadStackingStyle::ahssIncluded);
    EXPECT_FLOAT_EQ(fieldCopy->XSamplingScale().Max(), 2);
    EXPECT_EQ(fieldCopy->ColorMode(), THeightFieldColorMode::hfcmEmission);
    ASSERT_EQ(polygonCopy->Nodes().Count(), 1);
    EXPECT_FLOAT_EQ(polygonCopy->Nodes()[0].X(), 3);
    EXPECT_EQ(polygonCopy->Parts(), (TPolygonParts{false, true}));
    EXPECT_FLOAT_EQ(grid->ZSamplingScale().Step(), 0.25f);
}

class ShapeDrawing : public testing::Test {
protected:
    ShapeDrawing() { Rci.GLStates = &States; }

    Calls Draw(TGLBaseSceneObject& object)
    {
        Log.Take();
        object.BuildList(Rci);
        return Log.Take();
    }

    static bool Has(const Calls& calls, const std::string& call)
    {
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }
    static long CountOf(const Calls& calls, const std::string& prefix)
    {
        return std::count_if(calls.begin(), calls.end(),
                             [&](const std::string& call) { return call.rfind(prefix, 0) == 0; });
    }

    TGLCallLog Log;
    TGLStateCache States;
    TRenderContextInfo Rci;
};

TEST_F(ShapeDrawing, AnnulusTurnsItsInnerWallInwards)
{
    TGLAnnulus annulus;
    const Calls calls = Draw(annulus);
    const auto inner = std::find(calls.begin(), calls.end(), "GluCylinder 0.3 0.3 1 16 4");
    ASSERT_NE(inner, calls.end());
    EXPECT_EQ(*(inner - 1), "GluQuadricOrientation 0x186b5");
    EXPECT_EQ(*(inner + 1), "GluQuadricOrientation 0x186b4");
    EXPECT_TRUE(Has(calls, "GluDisk 0.3 0.5 16 1"));
}

void AddNode(TGLPolygon& polygon, float x, float y)
{
    TGLNode& node = polygon.Nodes().AddNode();
    node.SetX(x);
    node.SetY(y);
}

TEST_F(ShapeDrawing, PolygonFillsBothFacesWithOppositeNormals)
{
    TGLPolygon polygon;
    AddNode(polygon, 0, 0);
    AddNode(polygon, 2, 0);
    EXPECT_TRUE(Draw(polygon).empty());
    AddNode(polygon, 2, 1);
    AddNode(polygon, 0, 1);
    const Calls both = Draw(polygon);
    EXPECT_EQ(CountOf(both, "GluTessBeginPolygon"), 2);
    EXPECT_TRUE(Has(both, "GluTessNormal 0 0 1"));
    EXPECT_TRUE(Has(both, "GluTessNormal -0 -0 -1")) << testing::PrintToString(both);
    EXPECT_EQ(CountOf(both, "GluTessVertex"), 8);
    const Vector3f extents = polygon.AxisAlignedDimensionsUnscaled();
    EXPECT_FLOAT_EQ(extents.X, 2);
    EXPECT_FLOAT_EQ(extents.Y, 1);

    // Top only, along a curve through the nodes sampled Division times per span.
    polygon.SetParts({true, false});
    polygon.SetSplineMode(TLineSplineMode::lsmCubicSpline);
    polygon.SetDivision(4);
    const Calls curved = Draw(polygon);
    EXPECT_EQ(CountOf(curved, "GluTessBeginPolygon"), 1);
    EXPECT_GT(CountOf(curved, "GluTessVertex"), 4);
}

TEST_F(ShapeDrawing, XYZGridDrawsItsStripsInsideTheLineStyle)
{
    TGLXYZGrid grid;
    grid.XSamplingScale().SetMax(1);
    grid.XSamplingScale().SetStep(0.5f);
    grid.YSamplingScale().SetMax(1);
    grid.YSamplingScale().SetStep(0.5f);
    const Calls calls = Draw(grid);
    EXPECT_EQ(CountOf(calls, "Begin 0x3"), 6);
    EXPECT_EQ(CountOf(calls, "Vertex3fv"), 18);
    EXPECT_EQ(calls.front().rfind("PushAttrib", 0), 0u);
    EXPECT_EQ(calls.back(), "PopAttrib");

    grid.GetHandle(Rci);
    EXPECT_FALSE(grid.HasChange(TGLObjectChange::ocStructure));
    grid.ZSamplingScale().SetOrigin(1);
    EXPECT_TRUE(grid.HasChange(TGLObjectChange::ocStructure));
}

} // namespace
