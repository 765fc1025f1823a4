#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/SceneLinkSpy.h"
#include "view3d/maths/MatrixGeometry.h"
#include "view3d/maths/VectorGeometry.h"
#include "view3d/scene/BaseSceneObject.h"
#include "view3d/scene/SceneRootObject.h"

namespace {

constexpr float kTolerance = 1e-5f;

void ExpectNear(const Vector4f& actual, const Vector4f& expected, float tolerance = kTolerance)
{
    EXPECT_NEAR(actual.X, expected.X, tolerance);
    EXPECT_NEAR(actual.Y, expected.Y, tolerance);
    EXPECT_NEAR(actual.Z, expected.Z, tolerance);
    EXPECT_NEAR(actual.W, expected.W, tolerance);
}

void ExpectNear(const Matrix4f& actual, const Matrix4f& expected, float tolerance = kTolerance)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(actual.M[r][c], expected.M[r][c], tolerance) << "row " << r << " column " << c;
}

Vector4f Row(const Matrix4f& m, int r)
{
    return {m.M[r][0], m.M[r][1], m.M[r][2], m.M[r][3]};
}

class SceneObjectTest : public testing::Test {
protected:
    TSceneLinkSpy Scene;
    TGLSceneRootObject Root{Scene};
};

TEST_F(SceneObjectTest, LocalMatrixRowsComeFromUpDirectionScaleAndPosition)
{
    TGLBaseSceneObject object;
    object.SetDirection({1, 0, 0, 0});
    object.SetUp({0, 0, 1, 0});
    object.SetScale({2, 3, 4, 0});
    object.SetPosition({5, 6, 7, 1});
    const Matrix4f& m = object.LocalMatrix();
    // Row 0 is (Up x Direction) scaled by X: the object's own X axis.
    ExpectNear(Row(m, 0), {0, 2, 0, 0});
    ExpectNear(Row(m, 1), {0, 0, 3, 0});
    ExpectNear(Row(m, 2), {4, 0, 0, 0});
    ExpectNear(Row(m, 3), {5, 6, 7, 1});

    // Taking the matrix apart gives the same coordinates back.
    TGLBaseSceneObject copy;
    copy.SetLocalMatrix(m);
    ExpectNear(copy.Direction().AsVector(), {1, 0, 0, 0});
    ExpectNear(copy.Up().AsVector(), {0, 0, 1, 0});
    ExpectNear(copy.Scale().AsVector(), {2, 3, 4, 0});
    ExpectNear(copy.LocalMatrix(), m);
}

TEST_F(SceneObjectTest, AbsoluteMatricesFollowTheParentsAndStopAtTheRoot)
{
    auto& parent = Root.AddNewChild<TGLBaseSceneObject>();
    auto& child = parent.AddNewChild<TGLBaseSceneObject>();
    auto& grandchild = child.AddNewChild<TGLBaseSceneObject>();
    parent.SetPosition({10, 0, 0, 1});
    parent.SetScale({2, 2, 2, 0});
    child.SetPosition({1, 1, 1, 1});
    grandchild.SetPosition({0, 0, 1, 1});
    ExpectNear(grandchild.AbsolutePosition(), {12, 2, 4, 1});

    // A move of the parent reaches matrices computed before it.
    parent.SetPosition({0, 0, 0, 1});
    ExpectNear(child.AbsolutePosition(), {2, 2, 2, 1});
    ExpectNear(grandchild.AbsolutePosition(), {2, 2, 4, 1});
    parent.SetTurnAngle(90);
    ExpectNear(grandchild.AbsolutePosition(), {4, 2, -2, 1});

    // The scene's root does not take part, wherever it is put.
    Root.SetPosition({100, 100, 100, 1});
    ExpectNear(child.AbsoluteMatrix(), MatrixMultiply(child.LocalMatrix(), parent.LocalMatrix()));
}

TEST_F(SceneObjectTest, TheRigidInverseEqualsTheGeneralInverse)
{
    const Vector4f scales[] = {{1, 1, 1, 0}, {2, 0.5f, 3, 0}};
    for (const Vector4f& scale : scales) {
        SCOPED_TRACE(scale.X);
        TGLBaseSceneObject parent;
        auto& child = parent.AddNewChild<TGLBaseSceneObject>();
        parent.SetPosition({3, -2, 5, 1});
        parent.SetPitchAngle(25);
        child.SetPosition({1, 2, -4, 1});
        child.SetTurnAngle(40);
        child.SetRollAngle(-15);
        child.SetScale(scale);
        const Matrix4f inverse = child.InvAbsoluteMatrix();
        ExpectNear(inverse, InvertMatrix(child.AbsoluteMatrix()), 1e-4f);
        ExpectNear(MatrixMultiply(child.AbsoluteMatrix(), inverse), IdentityMatrix4f, 1e-4f);
        ExpectNear(child.AbsoluteToLocal(child.LocalToAbsolute({1, 2, 3, 1})), {1, 2, 3, 1}, 1e-4f);
    }
}

TEST_F(SceneObjectTest, DirectionAndUpStayOrthonormal)
{
    struct Case {
        const char* what;
        Vector4f direction;
        Vector4f expectedDirection;
        Vector4f expectedUp;
    };
    const Case cases[] = {
        {"plain", {0, 0, 5, 0}, {0, 0, 1, 0}, {0, 1, 0, 0}},
        {"slanted up is made square", {0, 1, 1, 0}, {0, 0.70710677f, 0.70710677f, 0}, {0, 0.70710677f, -0.70710677f, 0}},
        // Along Up: the right axis falls back to Z x Up.
        {"parallel to up", {0, 3, 0, 0}, {0, 1, 0, 0}, {0, 0, -1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TGLBaseSceneObject object;
        object.SetDirection(c.direction);
        ExpectNear(object.Direction().AsVector(), c.expectedDirection);
        ExpectNear(object.Up().AsVector(), c.expectedUp);
    }

    TGLBaseSceneObject object;
    object.SetDirection({0, 0, 0, 0});
    ExpectNear(object.Direction().AsVector(), {0, 0, 1, 0});
    // Up along the Z axis on a Z direction: both fallbacks are needed.
    object.SetUp({0, 0, 2, 0});
    ExpectNear(object.Up().AsVector(), {0, 0, 1, 0});
    ExpectNear(object.Direction().AsVector(), {1, 0, 0, 0});
    object.Up().SetAsVector({0, 0, 0, 0});
    ExpectNear(object.Up().AsVector(), {0, 1, 0, 0});
    // Set as coordinates, a null direction becomes its default.
    object.Direction().SetAsVector({0, 0, 0, 0});
    ExpectNear(object.Direction().AsVector(), {0, 0, 1, 0});
    ExpectNear(object.Up().AsVector(), {0, 1, 0, 0});
}

TEST_F(SceneObjectTest, AnglesTurnDirectionAndUpWithTheRowConvention)
{
    TGLBaseSceneObject object;
    // Turning by +90 about Up takes the direction from Z to +X: the turn is
    // by old minus new, and +90 about an axis takes X to -Y under the row
    // convention.
    object.SetTurnAngle(90);
    ExpectNear(object.Direction().AsVector(), {1, 0, 0, 0});
    ExpectNear(object.Up().AsVector(), {0, 1, 0, 0});
    object.SetTurnAngle(270);
    EXPECT_FLOAT_EQ(object.TurnAngle(), -90);
    ExpectNear(object.Direction().AsVector(), {-1, 0, 0, 0});

    // Rotation as coordinates turns as the setters do.
    TGLBaseSceneObject bySetters;
    bySetters.SetPitchAngle(30);
    bySetters.SetTurnAngle(-50);
    bySetters.SetRollAngle(10);
    TGLBaseSceneObject byRotation;
    byRotation.Rotation().SetAsVector({30, -50, 10, 0});
    ExpectNear(byRotation.Direction().AsVector(), bySetters.Direction().AsVector());
    ExpectNear(byRotation.Up().AsVector(), bySetters.Up().AsVector());
    ExpectNear(byRotation.Rotation().AsVector(), {30, -50, 10, 0});

    byRotation.ResetRotations();
    ExpectNear(byRotation.Direction().AsVector(), {0, 0, 1, 0});
    ExpectNear(byRotation.Rotation().AsVector(), {0, 0, 0, 0});
}

TEST_F(SceneObjectTest, ChangesNotifyTheSceneOnceUntilTheMatrixIsRebuilt)
{
    auto& object = Root.AddNewChild<TGLBaseSceneObject>();
    (void)object.AbsoluteMatrix();
    Scene.Notifications = 0;

    object.SetPosition({1, 0, 0, 1});
    object.SetScale({2, 2, 2, 0});
    EXPECT_EQ(Scene.Notifications, 1) << "marked twice";
    (void)object.LocalMatrix();
    object.MarkTransformChanged();
    EXPECT_EQ(Scene.Notifications, 2);

    (void)object.LocalMatrix();
    object.BeginUpdate();
    object.SetPosition({2, 0, 0, 1});
    object.SetVisible(false);
    object.SetShowAxes(true);
    object.Rotation().SetX(10);
    EXPECT_EQ(Scene.Notifications, 2) << "inside the bracket";
    object.EndUpdate();
    EXPECT_EQ(Scene.Notifications, 3);
    object.EndUpdate();
    EXPECT_EQ(object.UpdateCount(), 0);
    EXPECT_EQ(Scene.Notifications, 3);

    // Equal values are no change; a rotation set as coordinates asks once.
    object.SetVisible(false);
    EXPECT_EQ(Scene.Notifications, 3);
    (void)object.LocalMatrix();
    object.Rotation().SetAsVector({10, 20, 30, 0});
    EXPECT_EQ(Scene.Notifications, 4);

    // A second structure change asks again only for an object drawn
    // directly; one never compiled has its list pending already.
    Root.StructureChanged();
    Root.StructureChanged();
    object.StructureChanged();
    EXPECT_EQ(Scene.Notifications, 6);
}

TEST_F(SceneObjectTest, TheTreeKeepsParentsScenesAndLightsInStep)
{
    auto& a = Root.AddNewChild<TGLBaseSceneObject>();
    auto& b = a.AddNewChild<TGLBaseSceneObject>();
    auto& c = b.AddNewChild<TGLBaseSceneObject>();
    auto& d = b.AddNewChild<TGLBaseSceneObject>();
    EXPECT_EQ(c.Scene(), &Scene);
    EXPECT_EQ(Scene.Entered.size(), 4u);

    // Removing b with its children kept moves them up in their order.
    std::unique_ptr<TGLBaseSceneObject> removed = a.Remove(b, true);
    ASSERT_EQ(removed.get(), &b);
    EXPECT_EQ(b.Parent(), nullptr);
    EXPECT_EQ(b.Scene(), nullptr);
    ASSERT_EQ(a.Count(), 2);
    EXPECT_EQ(&a.Children(0), &c);
    EXPECT_EQ(&a.Children(1), &d);
    EXPECT_EQ(c.Scene(), &Scene);

    // Indices are clamped; moving into one's own subtree is refused.
    c.SetIndex(99);
    EXPECT_EQ(c.Index(), 1);
    c.SetIndex(-5);
    EXPECT_EQ(c.Index(), 0);
    a.MoveTo(c);
    EXPECT_EQ(a.Parent(), &Root);
    d.MoveTo(c);
    EXPECT_EQ(d.Parent(), &c);
    EXPECT_EQ(a.Count(), 1);

    // Removal leaves the scene: its lights are handed back.
    Scene.Left.clear();
    std::unique_ptr<TGLBaseSceneObject> gone = Root.Remove(a, false);
    EXPECT_EQ(Scene.Left, (std::vector<TGLBaseSceneObject*>{&a, &c, &d}));
    EXPECT_EQ(d.Scene(), nullptr);
}

class TDestructionLog : public TGLBaseSceneObject {
public:
    TDestructionLog(std::vector<std::string>& log, std::string name, bool camera)
        : Log(log), Label(std::move(name)), Camera(camera)
    {
    }
    ~TDestructionLog() override { Log.push_back(Label); }
    bool IsCamera() const override { return Camera; }

private:
    std::vector<std::string>& Log;
    std::string Label;
    bool Camera;
};

TEST_F(SceneObjectTest, DeleteChildrenFreesCamerasFirstAndKeepsTheirChildrenUntilLast)
{
    std::vector<std::string> log;
    auto& holder = Root.AddNewChild<TGLBaseSceneObject>();
    auto& first = holder.AddNewChild<TDestructionLog>(log, "first", false);
    auto& camera = first.AddNewChild<TDestructionLog>(log, "camera", true);
    camera.AddNewChild<TDestructionLog>(log, "light under the camera", false);
    holder.AddNewChild<TDestructionLog>(log, "last", false);
    Scene.Left.clear();
    holder.DeleteChildren();
    EXPECT_EQ(log, (std::vector<std::string>{"camera", "last", "first", "light under the camera"}));
    EXPECT_EQ(holder.Count(), 0);
    EXPECT_FALSE(Scene.Left.empty());
}

TEST_F(SceneObjectTest, BoundsPointInsideAndRayCast)
{
    auto& object = Root.AddNewChild<TGLBaseSceneObject>();
    object.SetScale({2, 4, 6, 0});
    object.SetPosition({10, 0, 0, 1});
    auto& child = object.AddNewChild<TGLBaseSceneObject>();
    child.SetPosition({2, 0, 0, 1});
    const TAABB box = object.AxisAlignedBoundingBox();
    EXPECT_FLOAT_EQ(box.Min.X, -1);
    EXPECT_FLOAT_EQ(box.Max.X, 5);
    EXPECT_FLOAT_EQ(box.Max.Y, 2);
    EXPECT_FLOAT_EQ(object.BoundingSphereRadius(), std::sqrt(1.0f + 4.0f + 9.0f));

    EXPECT_TRUE(object.PointInObject({10.9f, 1.9f, -2.9f}));
    EXPECT_FALSE(object.PointInObject({11.1f, 0, 0}));

    Vector4f hit;
    Vector4f normal;
    ASSERT_TRUE(object.RayCastIntersect({0, 0, 0, 1}, {1, 0, 0, 0}, &hit, &normal));
    ExpectNear(hit, {10 - object.BoundingSphereRadius(), 0, 0, 1});
    ExpectNear(normal, {-1, 0, 0, 0});
    EXPECT_FALSE(object.RayCastIntersect({0, 0, 0, 1}, {-1, 0, 0, 0}));

    // The outline of the unscaled bounding sphere, square to the view.
    const float radius = std::sqrt(0.75f);
    for (const bool capped : {false, true}) {
        TGLSilhouette silhouette;
        object.GenerateSilhouette({{0, 0, 5}, TSilhouetteStyle::Parallel, capped}, silhouette);
        ASSERT_EQ(silhouette.Vertices.Count(), capped ? 22 : 21);
        EXPECT_EQ(silhouette.Indices.Count(), 42);
        EXPECT_EQ(silhouette.CapIndices.Count(), capped ? 63 : 0);
        for (int i = 0; i < 21; ++i) {
            const Vector4f v = silhouette.Vertices.Items()[static_cast<std::size_t>(i)];
            EXPECT_NEAR(v.Z, 0.0f, kTolerance);
            EXPECT_NEAR(Vector4Length3(v), 0.98f * radius, kTolerance);
        }
    }
    // Seen from inside the sphere the outline is the sphere's own.
    TGLSilhouette inside;
    object.GenerateSilhouette({{0, 0, 0.1f}, TSilhouetteStyle::Omnidirectional, false}, inside);
    EXPECT_NEAR(Vector4Length3(inside.Vertices.Items()[0]), 0.98f * radius, kTolerance);
}

TEST_F(SceneObjectTest, OrbitClampsThePitchAtBothPolesAndKeepsTheTurn)
{
    struct Case {
        const char* what;
        Vector4f start;
        float pitchDelta;
        float turnDelta;
        Vector4f expected;
    };
    const float near = 0.025f;
    const float far = 3.1165927f;
    const Case cases[] = {
        {"past the top", {10, 0, 0, 1}, -100, 0, {10 * std::sin(near), 0, 10 * std::cos(near), 1}},
        {"past the bottom", {10, 0, 0, 1}, 100, 0, {10 * std::sin(far), 0, 10 * std::cos(far), 1}},
        {"past the top, turned", {10, 0, 0, 1}, -100, 90, {0, 10 * std::sin(near), 10 * std::cos(near), 1}},
        {"a quarter turn", {10, 0, 0, 1}, 0, 90, {0, 10, 0, 1}},
        // On the up line the pitch axis is X.
        {"on the up line", {0, 0, 10, 1}, 30, 0, {0, -5, 8.660254f, 1}},
        {"on the target", {0, 0, 0, 1}, 30, 45, {0, 0, 0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto& target = Root.AddNewChild<TGLBaseSceneObject>();
        auto& camera = Root.AddNewChild<TGLBaseSceneObject>();
        camera.SetUp({0, 0, 1, 0});
        camera.SetPosition(c.start);
        camera.OrbitAround(&target, c.pitchDelta, c.turnDelta);
        ExpectNear(camera.Position().AsVector(), c.expected, 1e-4f);
        (void)Root.Remove(camera, false);
        (void)Root.Remove(target, false);
    }
}

TEST_F(SceneObjectTest, OrbitWorksInTheParentsCoordinates)
{
    auto& parent = Root.AddNewChild<TGLBaseSceneObject>();
    parent.SetPosition({100, 0, 0, 1});
    auto& camera = parent.AddNewChild<TGLBaseSceneObject>();
    auto& target = Root.AddNewChild<TGLBaseSceneObject>();
    target.SetPosition({100, 0, 0, 1});
    camera.SetUp({0, 0, 1, 0});
    camera.SetPosition({10, 0, 0, 1});
    camera.OrbitAround(&target, 0, 90);
    ExpectNear(camera.Position().AsVector(), {0, 10, 0, 1}, 1e-4f);
    ExpectNear(camera.AbsolutePosition(), {100, 10, 0, 1}, 1e-4f);
    camera.OrbitAround(nullptr, 10, 10);
    ExpectNear(camera.Position().AsVector(), {0, 10, 0, 1}, 1e-4f);
}

TEST_F(SceneObjectTest, AssignClonesTheSubtree)
{
    TGLBaseSceneObject source;
    source.SetPosition({1, 2, 3, 1});
    source.SetTurnAngle(30);
    source.SetShowAxes(true);
    source.Tag = 7;
    source.AddNewChild<TGLBaseSceneObject>().SetPosition({4, 5, 6, 1});
    auto& copy = Root.AddNewChild<TGLBaseSceneObject>();
    copy.AddNewChild<TGLBaseSceneObject>();
    copy.AddNewChild<TGLBaseSceneObject>();
    copy.Assign(source);
    ExpectNear(copy.LocalMatrix(), source.LocalMatrix());
    EXPECT_FLOAT_EQ(copy.TurnAngle(), 30);
    EXPECT_TRUE(copy.ShowAxes());
    EXPECT_EQ(copy.Tag, 7);
    ASSERT_EQ(copy.Count(), 1);
    ExpectNear(copy.Children(0).Position().AsVector(), {4, 5, 6, 1});
    EXPECT_EQ(copy.Children(0).Scene(), &Scene);
}

} // namespace
