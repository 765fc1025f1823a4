#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/GLCallLog.h"
#include "support/SceneLinkSpy.h"
#include "view3d/material/RenderContextInfo.h"
#include "view3d/opengl/GLStateCache.h"
#include "view3d/scene/BaseSceneObject.h"
#include "view3d/scene/RenderOrder.h"
#include "view3d/scene/SceneRootObject.h"

namespace {

using Calls = std::vector<std::string>;

// Draws one vertex whose X is its tag, so that the log shows who drew when.
class TMarker : public TGLBaseSceneObject {
public:
    explicit TMarker(int tag, bool direct = false, bool blended = false) : IsBlended(blended)
    {
        Tag = tag;
        SetObjectStyle(TGLObjectStyle::osDirectDraw, direct);
    }
    void BuildList(TRenderContextInfo&) override { GL().Vertex3f(float(Tag), 0, 0); }
    bool Blended() const override { return IsBlended; }

private:
    bool IsBlended;
};

// Only the vertices of a log: the order in which the markers drew.
std::vector<int> DrawnTags(const Calls& calls)
{
    std::vector<int> tags;
    for (const std::string& call : calls) {
        int tag = 0;
        if (std::sscanf(call.c_str(), "Vertex3f %d", &tag) == 1)
            tags.push_back(tag);
    }
    return tags;
}

class RenderPassTest : public testing::Test {
protected:
    RenderPassTest()
    {
        Rci.GLStates = &States;
        Rci.ObjectsSorting = TGLObjectsSorting::osNone;
        Rci.VisibilityCulling = TGLVisibilityCulling::vcNone;
        Rci.CameraPosition = {0, 0, 0, 1};
    }

    TGLCallLog Log;
    TGLStateCache States;
    TRenderContextInfo Rci;
    TSceneLinkSpy Scene;
    TGLSceneRootObject Root{Scene};
};

TEST_F(RenderPassTest, AListIsCompiledOnceAndAgainOnlyAfterAStructureChange)
{
    auto& marker = Root.AddNewChild<TMarker>(7);
    marker.SetPosition({1, 2, 3, 1});
    Root.RenderObject(Rci);
    EXPECT_EQ(Log.Take(), (Calls{"PushMatrix", "MultMatrixf 0 0 0", "PushMatrix", "MultMatrixf 1 2 3", "GenLists 1",
                                 "NewList 1 0x1300", "Vertex3f 7 0 0", "EndList", "CallList 1", "PopMatrix",
                                 "PopMatrix"}));
    Root.RenderObject(Rci);
    EXPECT_EQ(Log.Take(), (Calls{"PushMatrix", "MultMatrixf 0 0 0", "PushMatrix", "MultMatrixf 1 2 3", "CallList 1",
                                 "PopMatrix", "PopMatrix"}));

    Scene.Notifications = 0;
    marker.StructureChanged();
    marker.StructureChanged();
    EXPECT_EQ(Scene.Notifications, 1);
    marker.RenderObject(Rci);
    EXPECT_EQ(Log.Take(), (Calls{"PushMatrix", "MultMatrixf 1 2 3", "NewList 1 0x1300", "Vertex3f 7 0 0", "EndList",
                                 "CallList 1", "PopMatrix"}));

    // Leaving the scene frees the list.
    (void)Root.Remove(marker, false);
    EXPECT_EQ(Log.Take(), (Calls{"GetError", "DeleteLists 1 1", "GetError"}));
}

TEST_F(RenderPassTest, DirectObjectsAndAmalgamatingSkipTheList)
{
    Root.AddNewChild<TMarker>(1, true);
    auto& listed = Root.AddNewChild<TMarker>(2);
    Rci.Amalgamating = true;
    Root.RenderObject(Rci);
    const Calls calls = Log.Take();
    EXPECT_EQ(DrawnTags(calls), (std::vector<int>{1, 2}));
    for (const std::string& call : calls)
        EXPECT_EQ(call.find("List"), std::string::npos) << call;
    EXPECT_TRUE(listed.HasChange(TGLObjectChange::ocStructure));
}

TEST_F(RenderPassTest, PickingNamesEveryObject)
{
    auto& marker = Root.AddNewChild<TMarker>(3, true);
    Rci.DrawState = TDrawState::dsPicking;
    Root.RenderObject(Rci);
    const std::string rootName = "LoadName " + std::to_string(Root.PickName());
    const std::string markerName = "LoadName " + std::to_string(marker.PickName());
    EXPECT_EQ(Log.Take(), (Calls{"PushMatrix", "MultMatrixf 0 0 0", rootName, "PushMatrix", "MultMatrixf 0 0 0",
                                 markerName, "Vertex3f 3 0 0", "PopMatrix", "PopMatrix"}));
    // Inside a proxy the name is pushed, and popped again.
    Rci.ProxySubObject = true;
    marker.RenderObject(Rci);
    EXPECT_EQ(Log.Take(), (Calls{"PushMatrix", "MultMatrixf 0 0 0", "PushName " + std::to_string(marker.PickName()),
                                 "Vertex3f 3 0 0", "PopName", "PopMatrix"}));
    EXPECT_NE(Root.PickName(), marker.PickName());
}

TEST_F(RenderPassTest, AnInvisibleParentHidesItsVisibleChildren)
{
    auto& hidden = Root.AddNewChild<TMarker>(1, true);
    hidden.AddNewChild<TMarker>(2, true);
    auto& shown = Root.AddNewChild<TMarker>(3, true);
    shown.AddNewChild<TMarker>(4, true).SetVisible(false);
    shown.AddNewChild<TMarker>(5, true);
    hidden.SetVisible(false);
    Root.RenderObject(Rci);
    EXPECT_EQ(DrawnTags(Log.Take()), (std::vector<int>{3, 5}));
}

TEST_F(RenderPassTest, ChildrenAreOrderedByTheSortingMode)
{
    // Tag, blended, distance from the camera at the origin.
    struct Child {
        int tag;
        bool blended;
        float z;
    };
    const Child children[] = {{1, true, 5}, {2, false, 9}, {3, true, 20}, {4, false, 1}, {5, true, 10}};
    struct Case {
        TGLObjectsSorting sorting;
        std::vector<int> order;
    };
    const Case cases[] = {
        {TGLObjectsSorting::osNone, {1, 2, 3, 4, 5}},
        {TGLObjectsSorting::osRenderBlendedLast, {2, 4, 3, 5, 1}},
        {TGLObjectsSorting::osRenderFarthestFirst, {3, 5, 2, 1, 4}},
        {TGLObjectsSorting::osRenderNearestFirst, {4, 1, 2, 5, 3}},
    };
    for (const Child& c : children)
        Root.AddNewChild<TMarker>(c.tag, true, c.blended).SetPosition({0, 0, c.z, 1});
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.sorting));
        Root.SetObjectsSorting(c.sorting);
        Root.RenderObject(Rci);
        EXPECT_EQ(DrawnTags(Log.Take()), c.order);
        // The subtree's mode does not leak to what is drawn after it.
        EXPECT_EQ(Rci.ObjectsSorting, TGLObjectsSorting::osNone);
    }
}

TEST_F(RenderPassTest, EqualDistancesKeepAStableOrder)
{
    const TRenderCandidate candidates[] = {{0, true, 4}, {1, true, 4}, {2, false, 0}, {3, true, 4}};
    EXPECT_EQ(ChildRenderOrder(TGLObjectsSorting::osRenderBlendedLast, candidates), (std::vector<int>{2, 3, 1, 0}));
    EXPECT_EQ(ChildRenderOrder(TGLObjectsSorting::osInherited, candidates), (std::vector<int>{0, 1, 2, 3}));
}

TEST_F(RenderPassTest, CulledObjectsDrawOnlyTheirChildren)
{
    // A frustum that keeps x > 0: one plane is enough for the test.
    const Vector4f keepAll{0, 0, 0, 1e6f};
    Rci.ViewFrustum = {{1, 0, 0, 0}, keepAll, keepAll, keepAll, keepAll, keepAll};
    auto& outside = Root.AddNewChild<TMarker>(1, true);
    outside.SetPosition({-10, 0, 0, 1});
    outside.AddNewChild<TMarker>(2, true).SetPosition({20, 0, 0, 1});
    auto& alone = Root.AddNewChild<TMarker>(3, true);
    alone.SetPosition({-10, 0, 0, 1});
    Root.AddNewChild<TMarker>(4, true).SetPosition({10, 0, 0, 1});
    struct Case {
        TGLVisibilityCulling culling;
        std::vector<int> drawn;
    };
    // The hierarchical box of the first object holds its child, which is in view.
    const Case cases[] = {{TGLVisibilityCulling::vcObjectBased, {2, 4}}, {TGLVisibilityCulling::vcHierarchical, {1, 2, 4}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.culling));
        Root.SetVisibilityCulling(c.culling);
        Root.RenderObject(Rci);
        const Calls calls = Log.Take();
        EXPECT_EQ(DrawnTags(calls), c.drawn);
        // The culled object without children is left out, transform and all.
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "PushMatrix"), 4);
    }
    Root.SetVisibilityCulling(TGLVisibilityCulling::vcNone);
    Root.RenderObject(Rci);
    EXPECT_EQ(DrawnTags(Log.Take()), (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(RenderPassTest, AxesAreStippledLinesOfTheCamerasDepth)
{
    auto& marker = Root.AddNewChild<TMarker>(9, true);
    marker.SetShowAxes(true);
    Scene.DepthOfView = 50;
    marker.RenderObject(Rci);
    EXPECT_EQ(Log.Take(),
              (Calls{"PushMatrix", "MultMatrixf 0 0 0", "PushAttrib 0x6045", "Disable 0xb50", "Enable 0xbe2",
                     "BlendFunc 0x302 0x303", "Enable 0xb24", "LineWidth 1", "LineStipple 1 0xcccc", "Begin 0x1",
                     "Color3f 0.5 0 0", "Vertex3f 0 0 0", "Vertex3f -50 0 0", "Color3f 1 0 0", "Vertex3f 0 0 0",
                     "Vertex3f 50 0 0", "Color3f 0 0.5 0", "Vertex3f 0 0 0", "Vertex3f 0 -50 0", "Color3f 0 1 0",
                     "Vertex3f 0 0 0", "Vertex3f 0 50 0", "Color3f 0 0 0.5", "Vertex3f 0 0 0", "Vertex3f 0 0 -50",
                     "Color3f 0 0 1", "Vertex3f 0 0 0", "Vertex3f 0 0 50", "End", "PopAttrib", "Vertex3f 9 0 0",
                     "PopMatrix"}));
    Rci.IgnoreBlendingRequests = true;
    marker.RenderObject(Rci);
    const Calls calls = Log.Take();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "BlendFunc 0x302 0x303"), 0);
}

TEST_F(RenderPassTest, AnObjectIgnoringTheDepthBufferSwitchesTheTestOffAroundItself)
{
    class TOnTop : public TMarker {
    public:
        TOnTop() : TMarker(5, true) { SetObjectStyle(TGLObjectStyle::osIgnoreDepthBuffer, true); }
    };
    auto& onTop = Root.AddNewChild<TOnTop>();
    States.Enable(TGLState::stDepthTest);
    (void)Log.Take();
    Rci.BufferDepthTest = true;
    onTop.RenderObject(Rci);
    EXPECT_EQ(Log.Take(), (Calls{"PushMatrix", "MultMatrixf 0 0 0", "Disable 0xb71", "Vertex3f 5 0 0", "Enable 0xb71",
                                 "PopMatrix"}));
}

} // namespace
