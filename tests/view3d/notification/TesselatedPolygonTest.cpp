// The nodes drawn as one filled polygon: the tessellator's input through the
// recorder, and its output through the real GLU tessellator, which needs no
// display.

#include <gtest/gtest.h>

#include <GL/glu.h>

#include <string>
#include <vector>

#include "support/GLCallLog.h"
#include "view3d/notification/Nodes.h"
#include "view3d/opengl/TextureCoordinateDispatch.h"

namespace {

using Calls = std::vector<std::string>;

void AddNodes(TGLNodes& nodes, std::initializer_list<Vector3f> points)
{
    for (const Vector3f& p : points) {
        TGLNode& node = nodes.AddNode();
        node.SetX(p.X);
        node.SetY(p.Y);
        node.SetZ(p.Z);
    }
}

// The recorder, with GLU's own tessellator, so that its callbacks are called.
class TRealTessellator {
public:
    TRealTessellator()
    {
        TGLFunctions table = GL();
        table.GluNewTess = gluNewTess;
        table.GluDeleteTess = gluDeleteTess;
        table.GluTessCallback = gluTessCallback;
        table.GluTessBeginPolygon = gluTessBeginPolygon;
        table.GluTessBeginContour = gluTessBeginContour;
        table.GluTessVertex = gluTessVertex;
        table.GluTessEndContour = gluTessEndContour;
        table.GluTessEndPolygon = gluTessEndPolygon;
        table.GluTessNormal = gluTessNormal;
        SetGLFunctions(table);
    }
};

TEST(TesselatedPolygon, TheOutlineGoesToTheTessellatorInOrderOrReversed)
{
    TGLCallLog log;
    TGLNodes nodes(nullptr);
    AddNodes(nodes, {{0, 0, 0}, {2, 0, 0}});
    nodes.RenderTesselatedPolygon(false, nullptr, 1, false);
    EXPECT_EQ(log.Take(), Calls{}) << "two nodes";

    AddNodes(nodes, {{2, 1, 0}});
    const Vector3f up{0, 0, 1};
    nodes.RenderTesselatedPolygon(false, &up, 1, true);
    const Calls calls = log.Take();
    const Calls expected = {"GluNewTess",
                            "GluTessCallback 0x18704",
                            "GluTessCallback 0x18705",
                            "GluTessCallback 0x18706",
                            "GluTessCallback 0x18707",
                            "GluTessCallback 0x1870f",
                            "Normal3fv 0 0 1",
                            "GluTessNormal 0 0 1",
                            "GluTessBeginPolygon",
                            "GluTessBeginContour",
                            "GluTessVertex 2 1 0",
                            "GluTessVertex 2 0 0",
                            "GluTessVertex 0 0 0",
                            "GluTessEndContour",
                            "GluTessEndPolygon",
                            "GluDeleteTess"};
    EXPECT_EQ(calls, expected);

    nodes.RenderTesselatedPolygon(false, nullptr, 2, false);
    Calls vertices;
    for (const std::string& call : log.Take())
        if (call.rfind("GluTessVertex", 0) == 0)
            vertices.push_back(call);
    // Two segments per span: the nodes and a spline point between each two.
    ASSERT_EQ(vertices.size(), 5u);
    EXPECT_EQ(vertices[2], "GluTessVertex 2 0 0");
    EXPECT_EQ(vertices[4], "GluTessVertex 2 1 0");
}

TEST(TesselatedPolygon, CrossingEdgesGetANewVertexAndTexturedVerticesTheirCoordinates)
{
    TGLCallLog log;
    TRealTessellator tessellator;
    TGLNodes nodes(nullptr);
    // A bow tie: its edges cross at (1, 1).
    AddNodes(nodes, {{0, 0, 0}, {2, 2, 0}, {2, 0, 0}, {0, 2, 0}});
    XGL().MapTexCoordToMain();
    nodes.RenderTesselatedPolygon(true, nullptr, 1, false);
    XGL().MapTexCoordToNull();

    int triangles = 0;
    int crossings = 0;
    int texturedVertices = 0;
    std::string lastTexture;
    for (const std::string& call : log.Take()) {
        if (call.rfind("Begin", 0) == 0)
            ++triangles;
        if (call.rfind("TexCoord2fv", 0) == 0)
            lastTexture = call.substr(12);
        if (call.rfind("Vertex3fv", 0) == 0) {
            const std::string position = call.substr(10);
            if (position == "1 1 0")
                ++crossings;
            EXPECT_EQ(position.substr(0, lastTexture.size()), lastTexture);
            ++texturedVertices;
        }
    }
    EXPECT_GE(triangles, 1);
    EXPECT_EQ(texturedVertices, 6);
    EXPECT_EQ(crossings, 2);
}

} // namespace
