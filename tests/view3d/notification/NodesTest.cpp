// The nodes of line and polygon objects: how many notifications their owner
// hears, and where the arc operation puts its nodes.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "view3d/lists/CubicSpline.h"
#include "view3d/notification/Nodes.h"

namespace {

class TCountingComponent : public TGLUpdateAbleComponent {
public:
    void NotifyChange(TGLNotifyObject* sender) override
    {
        ++Changes;
        LastSender = sender;
    }

    int Changes = 0;
    TGLNotifyObject* LastSender = nullptr;
};

constexpr float kPi = std::numbers::pi_v<float>;

TEST(Nodes, EveryChangeOutsideABracketNotifiesOnceAndABracketNotifiesOnceAtItsOuterEnd)
{
    TCountingComponent owner;
    TGLNodes nodes(&owner);
    const struct {
        const char* What;
        std::function<void()> Change;
        int Expected;
    } cases[] = {
        {"a new node", [&] { nodes.AddNode(); }, 1},
        {"a coordinate", [&] { nodes[0].SetY(2.0f); }, 1},
        {"an index that is no coordinate", [&] { nodes[0].SetCoordinate(3, 2.0f); }, 0},
        {"a copy of another node", [&] { nodes[0].Assign(nodes[0]); }, 0},
        {"nested brackets",
         [&] {
             nodes.BeginUpdate();
             nodes.AddNode().SetX(1.0f);
             nodes.BeginUpdate();
             nodes.AddNode();
             nodes.EndUpdate();
             nodes[0].SetZ(4.0f);
             nodes.EndUpdate();
         },
         1},
        {"an end without a begin", [&] { nodes.EndUpdate(); }, 0},
        {"an arc", [&] { nodes.AddArcNodes(false, 8, 1.0f, 1.0f, 0.0f, kPi, {}); }, 1},
        {"clearing", [&] { nodes.Clear(); }, 1},
        {"clearing nothing", [&] { nodes.Clear(); }, 0},
    };
    for (const auto& c : cases) {
        owner.Changes = 0;
        c.Change();
        EXPECT_EQ(owner.Changes, c.Expected) << c.What;
        EXPECT_EQ(nodes.UpdateCount(), 0) << c.What;
    }
    EXPECT_EQ(owner.LastSender, &nodes);
}

TEST(Nodes, AnOwnerlessCollectionChangesSilently)
{
    TGLNodes nodes(nullptr);
    nodes.AddNode().SetX(3.0f);
    EXPECT_EQ(nodes[0].X(), 3.0f);
}

TEST(Nodes, ArcNodesFollowTheEllipseCounterClockwiseFromStartToStop)
{
    struct TPoint {
        float X, Y;
    };
    const struct {
        const char* What;
        bool Reverse;
        int Segments;
        float Start, Stop;
        std::vector<TPoint> Expected;
    } cases[] = {
        {"equal angles make a full turn", false, 4, 0.0f, 0.0f, {{3, 0}, {0, 2}, {-3, 0}, {0, -2}, {3, 0}}},
        {"a stop below the start sweeps through 0", false, 2, 1.5f * kPi, 0.5f * kPi, {{0, -2}, {3, 0}, {0, 2}}},
        {"reverse begins at the stop end", true, 2, 0.0f, kPi, {{-3, 0}, {0, 2}, {3, 0}}},
        {"no segments count as one", false, 0, 0.0f, 0.5f * kPi, {{3, 0}, {0, 2}}},
        {"a negative count as one", false, -5, 0.0f, kPi, {{3, 0}, {-3, 0}}},
    };
    const Vector3f centre{10.0f, 20.0f, 5.0f};
    for (const auto& c : cases) {
        TGLNodes nodes(nullptr);
        nodes.AddArcNodes(c.Reverse, c.Segments, 3.0f, 2.0f, c.Start, c.Stop, centre);
        ASSERT_EQ(nodes.Count(), int(c.Expected.size())) << c.What;
        for (int i = 0; i < nodes.Count(); ++i) {
            EXPECT_NEAR(nodes[i].X(), centre.X + c.Expected[i].X, 1e-4) << c.What << " node " << i;
            EXPECT_NEAR(nodes[i].Y(), centre.Y + c.Expected[i].Y, 1e-4) << c.What << " node " << i;
            EXPECT_EQ(nodes[i].Z(), centre.Z) << c.What;
            EXPECT_EQ(nodes[i].W(), 1.0f) << c.What;
        }
    }
}

TEST(Nodes, NormalAndSplineComeFromTheNodes)
{
    TGLNodes nodes(nullptr);
    nodes.AddNode().SetX(1.0f);
    nodes.AddNode().SetY(1.0f);
    EXPECT_EQ(nodes.Normal().Z, 0.0f);
    nodes.AddNode().SetX(-1.0f);
    const Vector3f normal = nodes.Normal();
    EXPECT_EQ(normal.X, 0.0f);
    EXPECT_EQ(normal.Y, 0.0f);
    EXPECT_FLOAT_EQ(normal.Z, 1.0f);

    const auto spline = nodes.CreateNewCubicSpline();
    const Vector3f middle = spline->SplineVector(1.0f);
    EXPECT_NEAR(middle.X, 0.0f, 1e-6);
    EXPECT_NEAR(middle.Y, 1.0f, 1e-6);
}

TEST(Nodes, TheItemClassMakesTheNodes)
{
    struct TColouredNode : TGLNode {
        using TGLNode::TGLNode;
        int Colour = 7;
    };
    TGLNodes nodes(nullptr, [](TGLNodes& collection) { return std::make_unique<TColouredNode>(collection); });
    nodes.AddArcNodes(false, 1, 1.0f, 1.0f, 0.0f, 1.0f, {});
    ASSERT_EQ(nodes.Count(), 2);
    EXPECT_EQ(dynamic_cast<TColouredNode&>(nodes[1]).Colour, 7);
    EXPECT_EQ(&nodes[1].Collection(), &nodes);
}

} // namespace
