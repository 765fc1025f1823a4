#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/GLCallLog.h"
#include "support/SceneLinkSpy.h"
#include "view3d/material/RenderContextInfo.h"
#include "view3d/objects/Lines.h"
#include "view3d/opengl/GLStateCache.h"
#include "view3d/scene/SceneRootObject.h"

namespace {

// The calls that draw: primitives, vertices, colours, and the matrix moves of the markers.
std::vector<std::string> Drawing(const std::vector<std::string>& calls)
{
    std::vector<std::string> drawing;
    for (const std::string& call : calls)
        for (const char* prefix : {"Begin", "End", "Vertex", "Color", "Translatef", "Map1f", "EvalCoord1f",
                                   "GluNurbsCurve"})
            if (call.rfind(prefix, 0) == 0) {
                drawing.push_back(call);
                break;
            }
    return drawing;
}

long CountOf(const std::vector<std::string>& calls, const std::string& prefix)
{
    return std::count_if(calls.begin(), calls.end(), [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
}

struct TLineFixture {
    explicit TLineFixture(int nodes)
    {
        Lines.SetNodesAspect(TLineNodesAspect::lnaInvisible);
        for (int i = 0; i < nodes; ++i)
            Lines.AddNode({float(i), float(i * i), 0});
    }
    std::vector<std::string> Build()
    {
        Log.Take();
        Lines.BuildList(Rci);
        return Log.Take();
    }
    TGLCallLog Log;
    TRenderContextInfo Rci;
    TGLLines Lines;
};

TEST(GLLines, StripOrSegmentsThroughTheNodesWithTheirColoursOnRequest)
{
    TLineFixture one(1);
    EXPECT_TRUE(one.Build().empty()) << "one node draws nothing";

    TLineFixture two(2);
    EXPECT_EQ(Drawing(two.Build()),
              (std::vector<std::string>{"Color3fv 1 1 1", "Begin 0x3", "Vertex3fv 0 0 0", "Vertex3fv 1 1 0", "End"}));

    TLineFixture three(3);
    three.Lines.Node(1).Color().SetColor({1, 0, 0, 1});
    three.Lines.SetOption(TLinesOption::loUseNodeColorForLines, true);
    three.Lines.SetSplineMode(TLineSplineMode::lsmSegments);
    EXPECT_EQ(Drawing(three.Build()),
              (std::vector<std::string>{"Color3fv 1 1 1", "Begin 0x1", "Color4fv 0 0 1 1", "Vertex3fv 0 0 0",
                                        "Color4fv 1 0 0 1", "Vertex3fv 1 1 0", "Color4fv 0 0 1 1",
                                        "Vertex3fv 2 4 0", "End"}));
}

TEST(GLLines, LineAttributesAreSetUpAndPutBack)
{
    TLineFixture plain(2);
    std::vector<std::string> calls = plain.Build();
    ASSERT_FALSE(calls.empty());
    static_assert((GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_LINE_BIT | GL_CURRENT_BIT) == 0x6005);
    EXPECT_EQ(calls.front(), "PushAttrib 0x6005");
    EXPECT_EQ(calls.back(), "PopAttrib");
    EXPECT_EQ(CountOf(calls, "Disable 0xb50"), 1) << "lighting off";
    EXPECT_EQ(CountOf(calls, "Disable 0xb20"), 1) << "no smoothing";
    EXPECT_EQ(CountOf(calls, "Enable 0xbe2"), 0) << "no blending for a solid opaque line";
    EXPECT_EQ(CountOf(calls, "LineWidth 1"), 1);

    TLineFixture styled(2);
    styled.Lines.SetLinePattern(0x00FF);
    styled.Lines.SetAntiAliased(true);
    styled.Lines.SetLineWidth(3);
    styled.Lines.SetLineColor({1, 0.5f, 0, 0.25f});
    calls = styled.Build();
    for (const char* call : {"Enable 0xb24", "LineStipple 1 0xff", "Enable 0xb20", "LineWidth 3", "Enable 0xbe2",
                             "BlendFunc 0x302 0x303", "Color4fv 1 0.5 0 0.25"})
        EXPECT_EQ(CountOf(calls, call), 1) << call;
    EXPECT_EQ(CountOf(calls, "Color3fv"), 0);
    EXPECT_EQ(calls.back(), "PopAttrib");
}

TEST(GLLines, CurveModesSampleTheNodes)
{
    TLineFixture cubic(3);
    cubic.Lines.SetSplineMode(TLineSplineMode::lsmCubicSpline);
    cubic.Lines.SetDivision(4);
    std::vector<std::string> calls = Drawing(cubic.Build());
    EXPECT_EQ(CountOf(calls, "Vertex3f "), 9) << "(3 - 1) x 4 + 1 points";
    EXPECT_EQ(calls[2], "Vertex3f 0 0 0");
    EXPECT_EQ(calls[10], "Vertex3f 2 4 0");

    // Division 1 leaves the spline mode nothing to add: the nodes joined straight.
    cubic.Lines.SetDivision(0);
    EXPECT_EQ(cubic.Lines.Division(), 1);
    EXPECT_EQ(CountOf(cubic.Build(), "Vertex3fv"), 3);

    TLineFixture bezier(4);
    bezier.Log.Answers[GL_MAX_EVAL_ORDER] = {4};
    bezier.Lines.SetSplineMode(TLineSplineMode::lsmBezierSpline);
    bezier.Lines.SetDivision(5);
    bezier.Lines.SetOption(TLinesOption::loUseNodeColorForLines, true);
    calls = bezier.Build();
    EXPECT_EQ(CountOf(calls, "Map1f 0xd97 0 1 3 4"), 1) << "positions";
    EXPECT_EQ(CountOf(calls, "Map1f 0xd90 0 1 4 4"), 1) << "colours";
    EXPECT_EQ(CountOf(calls, "EvalCoord1f"), 6);
    EXPECT_EQ(CountOf(calls, "EvalCoord1f 1"), 1);
    // More nodes than the evaluator takes: the straight strip, and no error.
    bezier.Log.Answers[GL_MAX_EVAL_ORDER] = {3};
    calls = bezier.Build();
    EXPECT_EQ(CountOf(calls, "Map1f"), 0);
    EXPECT_EQ(CountOf(calls, "Vertex3fv"), 4);

    TLineFixture nurbs(4);
    nurbs.Lines.SetSplineMode(TLineSplineMode::lsmNURBSCurve);
    EXPECT_EQ(CountOf(nurbs.Build(), "GluNurbsCurve"), 0) << "no knots, no order: a plain strip";
    for (float knot : {0.f, 0.f, 0.f, 0.f, 1.f, 1.f, 1.f, 1.f})
        nurbs.Lines.NURBSKnots().Add(knot);
    nurbs.Lines.SetNURBSOrder(4);
    calls = nurbs.Build();
    EXPECT_EQ(CountOf(calls, "GluNurbsCurve 8 3 4 0xd97"), 1);
    EXPECT_EQ(CountOf(calls, "GluNurbsProperty"), 1);
}

TEST(GLLines, MarkersAtEveryNode)
{
    TLineFixture lines(2);
    lines.Lines.Node(1).Color().SetColor({0, 1, 0, 1});
    lines.Lines.SetNodeSize(2);

    lines.Lines.SetNodesAspect(TLineNodesAspect::lnaCube);
    std::vector<std::string> calls = lines.Build();
    EXPECT_EQ(CountOf(calls, "Translatef 1 1 0"), 1);
    EXPECT_EQ(CountOf(calls, "Color4fv 0 1 0 1"), 1) << "the wire cube in the node's colour";
    EXPECT_EQ(CountOf(calls, "Vertex3f 1 1 1"), 6) << "three edges meet at each of two nodes' corner";
    EXPECT_EQ(CountOf(calls, "Enable 0xbe2"), 1) << "blending for the markers";

    lines.Rci.IgnoreBlendingRequests = true;
    lines.Lines.SetNodesAspect(TLineNodesAspect::lnaAxes);
    calls = lines.Build();
    EXPECT_EQ(CountOf(calls, "Enable 0xbe2"), 0);
    EXPECT_EQ(CountOf(calls, "LineStipple 1 0xcccc"), 1);
    EXPECT_EQ(CountOf(calls, "Vertex3fv 1 0 0"), 2) << "half the node size on +X, at each node";

    lines.Lines.SetNodesAspect(TLineNodesAspect::lnaDodecahedron);
    calls = lines.Build();
    EXPECT_EQ(CountOf(calls, "Begin 0x9"), 24) << "12 pentagons at each node";
    EXPECT_EQ(CountOf(calls, "Materialfv 0x404 0x1201 0 1 0 1"), 1);
}

TEST(GLLines, NewNodeColourPassesToTheNodesThatStillCarryTheOldOne)
{
    TGLLines lines;
    lines.AddNode({0, 0, 0});
    lines.AddNode({1, 0, 0}).Color().SetColor({1, 0, 0, 1});
    lines.SetNodeColor({0, 1, 0, 1});
    const TGLLinesNode& added = lines.AddNode({2, 0, 0});
    lines.SetNodeColor({1, 1, 0, 1});

    const Vector4f expected[] = {{1, 1, 0, 1}, {1, 0, 0, 1}, {1, 1, 0, 1}};
    for (int i = 0; i < 3; ++i) {
        const Vector4f& c = lines.Node(i).Color().Color();
        EXPECT_TRUE(c.X == expected[i].X && c.Y == expected[i].Y && c.Z == expected[i].Z && c.W == expected[i].W)
            << i;
    }
    EXPECT_EQ(&added, &lines.Node(2));

    // Extents: the largest absolute coordinate on each axis.
    lines.AddNode({-5, 3, -1});
    const Vector3f extent = lines.AxisAlignedDimensionsUnscaled();
    EXPECT_EQ(extent.X, 5);
    EXPECT_EQ(extent.Y, 3);
    EXPECT_EQ(extent.Z, 1);
}

TEST(GLLines, NodesAddedInABracketNotifyOnceAndTheListIsCompiledOnlyAfterAChange)
{
    TGLCallLog log;
    TSceneLinkSpy scene;
    TGLSceneRootObject root(scene);
    TGLLines& lines = root.AddNewChild<TGLLines>();
    lines.SetNodesAspect(TLineNodesAspect::lnaInvisible);
    TGLStateCache states;
    TRenderContextInfo rci;
    rci.GLStates = &states;
    lines.RenderObject(rci);

    scene.Notifications = 0;
    lines.Nodes().BeginUpdate();
    for (int i = 0; i < 1000; ++i)
        lines.AddNode({float(i), 0, 0});
    lines.Nodes().EndUpdate();
    EXPECT_EQ(scene.Notifications, 1);

    log.Take();
    lines.RenderObject(rci);
    std::vector<std::string> calls = log.Take();
    EXPECT_EQ(CountOf(calls, "NewList"), 1);
    EXPECT_EQ(CountOf(calls, "Vertex3fv"), 1000);
    // A camera move redraws the same list.
    lines.RenderObject(rci);
    calls = log.Take();
    EXPECT_EQ(CountOf(calls, "NewList"), 0);
    EXPECT_EQ(CountOf(calls, "CallList"), 1);
    EXPECT_EQ(CountOf(calls, "Vertex3fv"), 0);

    // A node's colour is part of the drawing.
    lines.Node(5).Color().SetRed(0.5f);
    EXPECT_EQ(scene.Notifications, 2);
    lines.RenderObject(rci);
    EXPECT_EQ(CountOf(log.Take(), "NewList"), 1);
}

} // namespace
