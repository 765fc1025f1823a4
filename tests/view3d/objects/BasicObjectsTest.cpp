#include <algorithm>
#include <cmath>
#include <memory>
#include <typeinfo>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/GLCallLog.h"
#include "view3d/material/RenderContextInfo.h"
#include "view3d/objects/Cube.h"
#include "view3d/objects/DummyCube.h"
#include "view3d/objects/Lines.h"
#include "view3d/objects/Plane.h"
#include "view3d/objects/Points.h"
#include "view3d/objects/Sphere.h"
#include "view3d/opengl/GLStateCache.h"
#include "view3d/opengl/TextureCoordinateDispatch.h"
#include "view3d/utility/Silhouette.h"

namespace {

long CountOf(const std::vector<std::string>& calls, const std::string& prefix)
{
    return std::count_if(calls.begin(), calls.end(), [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
}

template <class TObject>
std::vector<std::string> Build(TGLCallLog& log, TObject& object)
{
    TRenderContextInfo rci;
    log.Take();
    object.BuildList(rci);
    return log.Take();
}

TEST(GLPoints, PointsDrawnAreTheFewerOfPositionsAndColours)
{
    TGLCallLog log;
    const struct {
        int Positions;
        int Colours;
        const char* Draw;
        const char* Colour;
    } cases[] = {
        {0, 0, "DrawArrays 0 0 1", "Color4fv 1 1 1 1"},
        {3, 0, "DrawArrays 0 0 3", "Color4fv 1 1 1 1"},
        {3, 1, "DrawArrays 0 0 3", "Color4fv 0.5 0 0 1"},
        {3, 2, "DrawArrays 0 0 2", "ColorPointer 4 0x1406 0"},
        {2, 5, "DrawArrays 0 0 2", "ColorPointer 4 0x1406 0"},
    };
    for (const auto& c : cases) {
        TGLPoints points;
        for (int i = 0; i < c.Positions; ++i)
            points.Positions().Add(float(i), 0, 0);
        for (int i = 0; i < c.Colours; ++i)
            points.Colors().Add(Vector4f{0.5f, 0, 0, 1});
        const std::vector<std::string> calls = Build(log, points);
        EXPECT_EQ(CountOf(calls, c.Draw), 1) << c.Positions << " " << c.Colours;
        EXPECT_EQ(CountOf(calls, c.Colour), 1) << c.Positions << " " << c.Colours;
        EXPECT_EQ(CountOf(calls, "Disable 0xb50"), 1) << "lighting off";
        EXPECT_EQ(CountOf(calls, "PopAttrib"), 1);
    }
}

TEST(GLPoints, SizeStaysAboveZeroAndStyleSetsSmoothingAndBlending)
{
    TGLCallLog log;
    TGLPoints points;
    for (float size : {0.0f, -3.0f, std::nanf("")}) {
        points.SetSize(5);
        points.SetSize(size);
        EXPECT_EQ(points.Size(), 1.0f) << size;
    }
    points.SetSize(0.25f);
    EXPECT_EQ(points.Size(), 0.25f);
    points.SetSize(4);
    points.SetNoZWrite(true);
    std::vector<std::string> calls = Build(log, points);
    EXPECT_EQ(CountOf(calls, "PointSize 4"), 1);
    EXPECT_EQ(CountOf(calls, "DepthMask 0"), 1);
    EXPECT_EQ(CountOf(calls, "Disable 0xbe2"), 1) << "square points unblended";

    const struct {
        TGLPointStyle Style;
        std::vector<const char*> Calls;
    } styles[] = {
        {TGLPointStyle::psRound, {"Enable 0xb10", "AlphaFunc 0x204 0.5", "Disable 0xbe2"}},
        {TGLPointStyle::psSmooth, {"Enable 0xb10", "AlphaFunc 0x205 0", "BlendFunc 0x302 0x303"}},
        {TGLPointStyle::psSmoothAdditive, {"Enable 0xb10", "AlphaFunc 0x205 0", "BlendFunc 0x302 0x1"}},
        {TGLPointStyle::psSquareAdditive, {"Enable 0xbe2", "BlendFunc 0x302 0x1"}},
    };
    for (const auto& s : styles) {
        points.SetStyle(s.Style);
        calls = Build(log, points);
        for (const char* call : s.Calls)
            EXPECT_EQ(CountOf(calls, call), 1) << int(s.Style) << " " << call;
        // Undone after the draw.
        EXPECT_EQ(calls[calls.size() - 3], "AlphaFunc 0x204 0");
    }
}

TEST(GLCube, FacesOfItsPartsWithNormalsOutOrIn)
{
    TGLCallLog log;
    TGLCube cube;
    cube.SetCubeWidth(2);
    std::vector<std::string> calls = Build(log, cube);
    EXPECT_EQ(CountOf(calls, "Begin 0x7"), 1) << "one batch of quads";
    EXPECT_EQ(CountOf(calls, "Vertex3f"), 24);
    EXPECT_EQ(CountOf(calls, "Normal3f 0 0 1"), 1);
    EXPECT_EQ(CountOf(calls, "Vertex3f 1 0.5 0.5"), 3) << "the corner of three faces";

    cube.SetNormalDirection(TNormalDirection::ndInside);
    cube.SetParts({TCubePart::cpFront, TCubePart::cpTop});
    calls = Build(log, cube);
    EXPECT_EQ(calls, (std::vector<std::string>{"Begin 0x7", "Normal3f -0 -0 -1", "Vertex3f -1 -0.5 0.5",
                                               "Vertex3f 1 -0.5 0.5", "Vertex3f 1 0.5 0.5", "Vertex3f -1 0.5 0.5",
                                               "Normal3f -0 -1 -0", "Vertex3f -1 0.5 0.5", "Vertex3f 1 0.5 0.5",
                                               "Vertex3f 1 0.5 -0.5", "Vertex3f -1 0.5 -0.5", "End"}));

    // Texture coordinates go where the dispatch sends them: here, to the first unit.
    XGL().MapTexCoordToMain();
    calls = Build(log, cube);
    XGL().MapTexCoordToNull();
    EXPECT_EQ(CountOf(calls, "TexCoord2f"), 8);
    EXPECT_EQ(CountOf(calls, "TexCoord2f 1 1"), 2);

    cube.SetParts({});
    EXPECT_EQ(Build(log, cube), (std::vector<std::string>{"Begin 0x7", "End"})) << "an empty batch";
}

TEST(GLCube, RayEntersThroughTheFaceItMeetsInTheSceneItsTransformPutsItIn)
{
    TGLCube cube;
    cube.SetCubeWidth(2);
    cube.SetPosition({10, 0, 0, 1});
    Vector4f point{};
    Vector4f normal{};
    ASSERT_TRUE(cube.RayCastIntersect({10.5f, 0, 5, 1}, {0, 0, -1, 0}, &point, &normal));
    EXPECT_FLOAT_EQ(point.X, 10.5f);
    EXPECT_FLOAT_EQ(point.Z, 0.5f);
    EXPECT_FLOAT_EQ(normal.Z, 1);
    EXPECT_TRUE(cube.RayCastIntersect({5, 0, 0, 1}, {1, 0, 0, 0}, &point, &normal));
    EXPECT_FLOAT_EQ(point.X, 9);
    EXPECT_FLOAT_EQ(normal.X, -1);
    EXPECT_FALSE(cube.RayCastIntersect({0, 0, 5, 1}, {0, 0, -1, 0}));

    TGLDummyCube target;
    target.SetCubeSize(100);
    EXPECT_FALSE(target.RayCastIntersect({0, 0, 5, 1}, {0, 0, -1, 0})) << "a dummy cube is never hit";
}

TEST(GLDummyCube, DrawsItsEdgesOnlyWhenVisibleAtRunTimeButAlwaysItsChildren)
{
    TGLCallLog log;
    TGLStateCache states;
    TRenderContextInfo rci;
    rci.GLStates = &states;
    TGLDummyCube dummy;
    dummy.SetCubeSize(2);
    dummy.AddNewChild<TGLCube>();
    log.Take();
    dummy.RenderObject(rci);
    std::vector<std::string> calls = log.Take();
    EXPECT_EQ(CountOf(calls, "Begin 0x1"), 0) << "no edges at run time";
    EXPECT_EQ(CountOf(calls, "Begin 0x7"), 1) << "the child cube";

    dummy.SetVisibleAtRunTime(true);
    dummy.EdgeColor().SetColor({1, 0, 0, 1});
    dummy.RenderObject(rci);
    calls = log.Take();
    EXPECT_EQ(CountOf(calls, "Begin 0x1"), 1);
    EXPECT_EQ(CountOf(calls, "Vertex3f 1 1 1"), 3);
    EXPECT_EQ(CountOf(calls, "LineStipple 1 0xcccc"), 1);
    EXPECT_EQ(CountOf(calls, "Color4fv 1 0 0 1"), 1);
    EXPECT_EQ(CountOf(calls, "Begin 0x7"), 1);

    dummy.OnVisibilityDetermination = [](TGLDummyCube&, TRenderContextInfo&) { return false; };
    dummy.RenderObject(rci);
    calls = log.Take();
    EXPECT_EQ(CountOf(calls, "Begin"), 0) << "hidden with its children";
}

TEST(GLDummyCube, BarycentreOfItsChildrenAndExtents)
{
    TGLDummyCube dummy;
    dummy.SetPosition({1, 1, 1, 1});
    Vector4f centre = dummy.BarycenterAbsolutePosition();
    EXPECT_FLOAT_EQ(centre.X, 1);
    dummy.AddNewChild<TGLCube>().SetPosition({2, 0, 0, 1});
    TGLDummyCube& group = dummy.AddNewChild<TGLDummyCube>();
    group.AddNewChild<TGLCube>().SetPosition({0, 4, 0, 1});
    group.AddNewChild<TGLCube>().SetPosition({0, 0, 4, 1});
    // (3, 1, 1) and the inner group's (1, 3, 3): the average (2, 2, 2).
    centre = dummy.BarycenterAbsolutePosition();
    EXPECT_FLOAT_EQ(centre.X, 2);
    EXPECT_FLOAT_EQ(centre.Y, 2);
    EXPECT_FLOAT_EQ(centre.Z, 2);

    dummy.SetCubeSize(-3);
    EXPECT_FLOAT_EQ(dummy.AxisAlignedDimensionsUnscaled().Y, 1.5f);
}

} // namespace

namespace {

// A clone (a new object of the same class, assigned) draws exactly as its original.
TEST(BasicObjects, ACloneDrawsAsItsOriginal)
{
    TGLCallLog log;
    std::vector<std::unique_ptr<TGLBaseSceneObject>> originals;

    auto lines = std::make_unique<TGLLines>();
    lines->SetLineWidth(2);
    lines->SetNodeColor({1, 0, 1, 1});
    lines->SetNodesAspect(TLineNodesAspect::lnaCube);
    lines->SetOption(TLinesOption::loUseNodeColorForLines, true);
    lines->SetSplineMode(TLineSplineMode::lsmSegments);
    lines->AddNode({1, 2, 3});
    lines->AddNode({4, 5, 6}).Color().SetColor({0, 1, 0, 1});
    originals.push_back(std::move(lines));

    auto cube = std::make_unique<TGLCube>();
    cube->SetCubeDepth(3);
    cube->SetParts({TCubePart::cpLeft});
    cube->SetNormalDirection(TNormalDirection::ndInside);
    originals.push_back(std::move(cube));

    auto points = std::make_unique<TGLPoints>();
    points->Positions().Add(1, 2, 3);
    points->SetSize(7);
    points->SetStyle(TGLPointStyle::psSmooth);
    originals.push_back(std::move(points));

    auto dummy = std::make_unique<TGLDummyCube>();
    dummy->SetVisibleAtRunTime(true);
    dummy->SetCubeSize(4);
    dummy->EdgeColor().SetColor({0.5f, 0.5f, 0, 1});
    originals.push_back(std::move(dummy));

    auto sphere = std::make_unique<TGLSphere>();
    sphere->SetSlices(5);
    sphere->SetTop(45);
    sphere->SetTopCap(TCapType::ctFlat);
    originals.push_back(std::move(sphere));

    auto plane = std::make_unique<TGLPlane>();
    plane->SetStyle(TPlaneStyle::psSingleQuad, false);
    plane->SetXTiles(3);
    originals.push_back(std::move(plane));

    for (const auto& original : originals) {
        const std::unique_ptr<TGLBaseSceneObject> clone = original->CreateNew();
        clone->Assign(*original);
        const std::vector<std::string> expected = Build(log, *original);
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(Build(log, *clone), expected) << typeid(*original).name();
    }
}

} // namespace

namespace {

TEST(GLCube, SilhouetteSeenFromInFrontIsTheFrontFacesOutline)
{
    TGLCube cube;
    TGLSilhouette silhouette;
    TGLSilhouetteParameters parameters;
    parameters.SeenFrom = {0, 0, 10};
    cube.GenerateSilhouette(parameters, silhouette);
    ASSERT_EQ(silhouette.Indices.Count(), 8) << "four edges";
    for (int i = 0; i < silhouette.Indices.Count(); ++i)
        EXPECT_FLOAT_EQ(silhouette.Vertices.Get(silhouette.Indices.Get(i)).Z, 0.5f);

    // Seen from behind without its front: the back face's outline and the
    // open rim of the four sides, turned away, made afresh.
    cube.SetParts({TCubePart::cpBack, TCubePart::cpLeft, TCubePart::cpRight, TCubePart::cpTop, TCubePart::cpBottom});
    parameters.SeenFrom = {0, 0, -10};
    cube.GenerateSilhouette(parameters, silhouette);
    ASSERT_EQ(silhouette.Indices.Count(), 16);
    int rim = 0;
    for (int i = 0; i < silhouette.Indices.Count(); ++i)
        rim += silhouette.Vertices.Get(silhouette.Indices.Get(i)).Z > 0 ? 1 : 0;
    EXPECT_EQ(rim, 8);
}

TEST(GLDummyCube, AmalgamatedItIsCompiledOnceWithItsChildrenUntilItChanges)
{
    TGLCallLog log;
    TGLStateCache states;
    TRenderContextInfo rci;
    rci.GLStates = &states;
    rci.IgnoreMaterials = true;
    TGLDummyCube dummy;
    dummy.AddNewChild<TGLCube>();
    dummy.SetAmalgamate(true);

    log.Take();
    dummy.RenderObject(rci);
    std::vector<std::string> calls = log.Take();
    EXPECT_EQ(CountOf(calls, "NewList"), 1);
    EXPECT_EQ(CountOf(calls, "Begin 0x7"), 1) << "the child, into the group's list";
    EXPECT_EQ(CountOf(calls, "CallList"), 1);
    EXPECT_FALSE(rci.Amalgamating);

    dummy.RenderObject(rci);
    calls = log.Take();
    EXPECT_EQ(CountOf(calls, "NewList"), 0);
    EXPECT_EQ(CountOf(calls, "Begin"), 0);
    EXPECT_EQ(CountOf(calls, "CallList"), 1);

    dummy.SetCubeSize(3);
    dummy.RenderObject(rci);
    EXPECT_EQ(CountOf(log.Take(), "NewList"), 1) << "a change discards the group list";
}

} // namespace

namespace {

TEST(GLPoints, StaticPointsAreCompiledOnceIntoTheirList)
{
    TGLCallLog log;
    TGLStateCache states;
    TRenderContextInfo rci;
    rci.GLStates = &states;
    TGLPoints points;
    points.Positions().Add(1, 2, 3);
    points.RenderObject(rci);
    points.RenderObject(rci);
    std::vector<std::string> calls = log.Take();
    EXPECT_EQ(CountOf(calls, "NewList"), 0) << "drawn directly every frame";
    EXPECT_EQ(CountOf(calls, "DrawArrays"), 2);

    points.SetStatic(true);
    points.RenderObject(rci);
    points.RenderObject(rci);
    calls = log.Take();
    EXPECT_EQ(CountOf(calls, "NewList"), 1);
    EXPECT_EQ(CountOf(calls, "DrawArrays"), 1);
    EXPECT_EQ(CountOf(calls, "CallList"), 2);
}

TEST(GLSphere, BandsBetweenItsLatitudesAndCapsWhereItIsOpen)
{
    TGLCallLog log;
    const struct {
        int Top;
        int Bottom;
        TCapType Caps;
        TNormalSmoothing Normals;
        long Fans;
        bool WithNormals;
    } cases[] = {
        {90, -90, TCapType::ctFlat, TNormalSmoothing::nsSmooth, 0, true},
        {45, -90, TCapType::ctFlat, TNormalSmoothing::nsSmooth, 1, true},
        {45, -30, TCapType::ctCenter, TNormalSmoothing::nsNone, 2, false},
        {45, -30, TCapType::ctNone, TNormalSmoothing::nsFlat, 0, true},
    };
    for (const auto& c : cases) {
        TGLSphere sphere;
        sphere.SetStacks(3);
        sphere.SetSlices(4);
        sphere.SetTop(c.Top);
        sphere.SetBottom(c.Bottom);
        sphere.SetTopCap(c.Caps);
        sphere.SetBottomCap(c.Caps);
        sphere.SetNormals(c.Normals);
        const std::vector<std::string> calls = Build(log, sphere);
        EXPECT_EQ(CountOf(calls, "Begin 0x5"), 3) << c.Top << " " << c.Bottom;
        EXPECT_EQ(CountOf(calls, "Begin 0x6"), c.Fans) << c.Top << " " << c.Bottom;
        EXPECT_EQ(CountOf(calls, "Normal3f") > 0, c.WithNormals);
        EXPECT_EQ(CountOf(calls, "Scalef 0.5 0.5 0.5"), 1);
    }
}

} // namespace
