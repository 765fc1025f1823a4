#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/GLCallLog.h"
#include "view3d/maths/VectorGeometry.h"
#include "view3d/scene/GLCamera.h"
#include "view3d/scene/GLLightSource.h"
#include "view3d/scene/GLScene.h"

namespace {

using Calls = std::vector<std::string>;

TEST(Camera, SettersReplaceDegenerateValues)
{
    struct Case {
        const char* Setting;
        void (TGLCamera::*Set)(float);
        float (TGLCamera::*Get)() const;
        float Given;
        float Stored;
    };
    const Case cases[] = {
        {"focal length 0", &TGLCamera::SetFocalLength, &TGLCamera::FocalLength, 0.0f, 1.0f},
        {"focal length -5", &TGLCamera::SetFocalLength, &TGLCamera::FocalLength, -5.0f, 1.0f},
        {"focal length 7", &TGLCamera::SetFocalLength, &TGLCamera::FocalLength, 7.0f, 7.0f},
        {"scene scale 0", &TGLCamera::SetSceneScale, &TGLCamera::SceneScale, 0.0f, 1.0f},
        {"scene scale -2", &TGLCamera::SetSceneScale, &TGLCamera::SceneScale, -2.0f, -2.0f},
        {"near-plane bias 0", &TGLCamera::SetNearPlaneBias, &TGLCamera::NearPlaneBias, 0.0f, 1.0f},
        {"near-plane bias 3", &TGLCamera::SetNearPlaneBias, &TGLCamera::NearPlaneBias, 3.0f, 3.0f},
        {"depth of view 0", &TGLCamera::SetDepthOfView, &TGLCamera::DepthOfView, 0.0f, 0.0f},
    };
    for (const Case& c : cases) {
        TGLCamera camera;
        (camera.*c.Set)(c.Given);
        EXPECT_EQ((camera.*c.Get)(), c.Stored) << c.Setting;
    }
    TGLCamera camera;
    EXPECT_FLOAT_EQ(camera.GetFieldOfView(100.0f), 90.0f);
    camera.SetFieldOfView(60.0f, 300.0f);
    EXPECT_NEAR(camera.FocalLength(), 150.0f / std::tan(3.14159265f / 6.0f), 1e-3f);
    EXPECT_EQ(camera.Direction().AsVector().Z, -1.0f) << "a camera looks down -Z at first";
}

TEST(Camera, AppliesTheProjectionOfItsStyle)
{
    TGLCallLog log;
    TGLCamera camera;
    const TGLViewPort window{0, 0, 200, 100};
    camera.SetCameraStyle(TGLCameraStyle::csOrthogonal);
    camera.SetFocalLength(1.0f);
    camera.ApplyProjection(window, 200, 100, 96.0f);
    const float near = 2.0f * 96.0f / (200.0f * 25.4f);
    char ortho[120];
    std::snprintf(ortho, sizeof ortho, "Ortho -50 50 -25 25 %g %g", double(near), double(near + 100.0f));
    EXPECT_EQ(log.Take(), Calls{ortho});
    EXPECT_FLOAT_EQ(camera.NearPlane(), near);
    EXPECT_FLOAT_EQ(camera.ViewPortRadius(), std::hypot(25.0f, 50.0f) / near);

    camera.SetCameraStyle(TGLCameraStyle::csPerspective);
    camera.ApplyProjection(window, 200, 100, 96.0f);
    const Calls perspective = log.Take();
    ASSERT_EQ(perspective.size(), 1u);
    EXPECT_EQ(perspective[0].rfind("Frustum -0.5 0.5 -0.25 0.25", 0), 0u) << perspective[0];

    camera.SetCameraStyle(TGLCameraStyle::csOrtho2D);
    camera.ApplyProjection(window, 200, 100, 96.0f);
    EXPECT_EQ(log.Take(), Calls{"GluOrtho2D 0 200 0 100"});
    EXPECT_EQ(camera.NearPlane(), -1.0f);

    // Nothing below one pixel.
    camera.ApplyProjection(window, 0, 100, 96.0f);
    EXPECT_TRUE(log.Take().empty());
}

// Towards the target with Up as stored; without one along the Direction
// that the parent turns.
TEST(Camera, LooksAtItsTargetOrAlongItsTurnedDirection)
{
    TGLCallLog log;
    TGLScene scene;
    auto& target = scene.Objects().AddNewChild<TGLBaseSceneObject>();
    target.SetPosition({3.0f, 4.0f, 0.0f, 1.0f});
    auto& camera = scene.Cameras().AddNewChild<TGLCamera>();
    camera.SetPosition({3.0f, 4.0f, 10.0f, 1.0f});
    camera.SetTargetObject(&target);
    log.Take();
    camera.ApplyLookAt();
    EXPECT_EQ(log.Take(), Calls{"GluLookAt 3 4 10 3 4 0 0 1 0"});
    EXPECT_FLOAT_EQ(camera.LastDirection().Z, -1.0f);

    // A holder turned a quarter round Z: the camera's -Z stays, its up Y becomes -X.
    auto& holder = scene.Cameras().AddNewChild<TGLBaseSceneObject>();
    holder.SetUp({-1.0f, 0.0f, 0.0f, 0.0f});
    auto& carried = holder.AddNewChild<TGLCamera>();
    carried.SetDirection({1.0f, 0.0f, 0.0f, 0.0f});
    carried.SetUp({0.0f, 0.0f, 1.0f, 0.0f});
    log.Take();
    carried.ApplyLookAt();
    EXPECT_EQ(log.Take(), Calls{"GluLookAt 0 0 0 0 1 0 0 0 1"});
    EXPECT_NEAR(carried.LastDirection().Y, 1.0f, 1e-6f);

    // A target taken out of the scene is still looked at; freed, it is dropped.
    std::unique_ptr<TGLBaseSceneObject> taken = scene.Objects().Remove(target, false);
    EXPECT_EQ(camera.TargetObject(), &target);
    taken.reset();
    EXPECT_EQ(camera.TargetObject(), nullptr);
}

TEST(Camera, OrbitsItsTargetAndDragsInTheGroundPlane)
{
    TGLScene scene;
    auto& target = scene.Objects().AddNewChild<TGLBaseSceneObject>();
    auto& camera = scene.Cameras().AddNewChild<TGLCamera>();
    camera.SetUp({0.0f, 0.0f, 1.0f, 0.0f});
    camera.SetDirection({0.0f, 1.0f, 0.0f, 0.0f});
    camera.SetPosition({0.0f, -10.0f, 0.0f, 1.0f});
    camera.SetTargetObject(&target);

    // Looking along +Y: a drag to the right moves along +X, a drag up along +Y.
    const Vector4f right = camera.ScreenDeltaToWorld(5, 0, 0.1f);
    EXPECT_NEAR(right.X, 0.5f, 1e-6f);
    EXPECT_NEAR(right.Y, 0.0f, 1e-6f);
    const Vector4f ahead = camera.ScreenDeltaToWorld(0, 5, 0.1f);
    EXPECT_NEAR(ahead.Y, 0.5f, 1e-6f);

    // Orbiting keeps the distance; far past the top it stops short of the up axis.
    camera.OrbitTarget(-1000.0f, 0.0f);
    const Vector4f top = camera.AbsolutePosition();
    EXPECT_NEAR(Vector3Length(AffineOf(top)), 10.0f, 1e-4f);
    EXPECT_NEAR(std::acos(top.Z / 10.0f), 0.025f, 1e-4f);

    // A camera on its target stays where it is, with no NaN.
    camera.SetPosition({0.0f, 0.0f, 0.0f, 1.0f});
    camera.OrbitTarget(10.0f, 10.0f);
    const Vector4f still = camera.AbsolutePosition();
    EXPECT_EQ(still.X, 0.0f);
    EXPECT_EQ(still.Y, 0.0f);
    EXPECT_EQ(still.Z, 0.0f);
}

TEST(LightSource, RefusesASpotCutOffOutsideItsRanges)
{
    TGLLightSource light;
    for (const auto& [given, kept] : std::vector<std::pair<float, float>>{
             {45.0f, 45.0f}, {120.0f, 45.0f}, {-1.0f, 45.0f}, {180.0f, 180.0f}, {0.0f, 0.0f}, {90.0f, 90.0f}}) {
        light.SetSpotCutOff(given);
        EXPECT_EQ(light.SpotCutOff(), kept) << given;
    }
    light.SpotDirection().SetVector(1.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(light.SpotDirection().W(), 0.0f);
}

// Slot by slot inside one matrix push: an empty slot and a dark light are
// switched off; a shining one is placed from the camera's view and loaded.
TEST(LightSource, SetupLightsLoadsEachSlotInItsOrder)
{
    TGLCallLog log;
    TGLScene scene;
    auto& spot = scene.Objects().AddNewChild<TGLLightSource>();
    spot.SetPosition({1.0f, 2.0f, 3.0f, 1.0f});
    spot.SetSpotCutOff(45.0f);
    spot.SetSpotExponent(2.0f);
    auto& gone = scene.Objects().AddNewChild<TGLLightSource>();
    auto& dark = scene.Objects().AddNewChild<TGLLightSource>();
    dark.SetShining(false);
    auto& omni = scene.Objects().AddNewChild<TGLLightSource>();
    omni.SetLightStyle(TLightStyle::lsOmni);
    scene.Objects().Remove(gone, false);
    EXPECT_EQ(dark.LightID(), GLenum(GL_LIGHT2));
    EXPECT_EQ(omni.LightID(), GLenum(GL_LIGHT3));

    log.Take();
    scene.SetupLights(3);
    const Calls expected = {
        "PushMatrix",
        "Enable 0x4000",
        "PopMatrix",
        "PushMatrix",
        "MultMatrixf 0 0 0",
        "Lightfv 0x4000 0x1203 1 2 3 1",
        "Lightfv 0x4000 0x1200 0 0 0 1",
        "Lightfv 0x4000 0x1201 1 1 1 1",
        "Lightfv 0x4000 0x1202 0 0 0 1",
        "Lightfv 0x4000 0x1204 0 0 -1 0",
        "Lightf 0x4000 0x1205 2",
        "Lightf 0x4000 0x1206 45",
        "Lightf 0x4000 0x1207 1",
        "Lightf 0x4000 0x1208 0",
        "Lightf 0x4000 0x1209 0",
        "Disable 0x4001",
        "Disable 0x4002",
        "PopMatrix",
    };
    EXPECT_EQ(log.Take(), expected) << "the omni light in slot 3 is beyond the maximum";

    scene.SetupLights(8);
    const Calls all = log.Take();
    const auto omniAt = std::find(all.begin(), all.end(), "Enable 0x4003");
    ASSERT_NE(omniAt, all.end());
    EXPECT_EQ(std::find(omniAt, all.end(), "Lightf 0x4003 0x1206 180") - omniAt, 8) << "no cone, and no direction";
    EXPECT_NE(std::find(all.begin(), all.end(), "Disable 0x4007"), all.end());
}

TEST(LightSource, ANinthLightGetsNoSlotAndIsNeverLit)
{
    TGLCallLog log;
    TGLScene scene;
    std::vector<TGLLightSource*> lights;
    for (int i = 0; i < 9; ++i)
        lights.push_back(&scene.Objects().AddNewChild<TGLLightSource>());
    EXPECT_EQ(lights[7]->LightID(), GLenum(GL_LIGHT7));
    EXPECT_EQ(lights[8]->LightID(), 0u);
    log.Take();
    scene.SetupLights(8);
    const Calls calls = log.Take();
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(), [](const std::string& s) { return s.rfind("Enable", 0) == 0; }),
              8);
    EXPECT_EQ(std::find(calls.begin(), calls.end(), "Enable 0"), calls.end());

    // A freed slot is not handed to it afterwards either.
    scene.Objects().Remove(*lights[2], false);
    EXPECT_EQ(lights[8]->LightID(), 0u);
    EXPECT_EQ(scene.Light(2), nullptr);
}

TEST(Scene, RayCastFindsTheNearestVisibleObject)
{
    TGLScene scene;
    auto& near = scene.Objects().AddNewChild<TGLBaseSceneObject>();
    near.SetPosition({0.0f, 0.0f, 5.0f, 1.0f});
    auto& far = scene.Objects().AddNewChild<TGLBaseSceneObject>();
    far.SetPosition({0.0f, 0.0f, -5.0f, 1.0f});
    auto& hidden = scene.Objects().AddNewChild<TGLBaseSceneObject>();
    hidden.SetPosition({0.0f, 0.0f, 8.0f, 1.0f});
    hidden.SetVisible(false);
    Vector4f point;
    EXPECT_EQ(scene.RayCastIntersect({0, 0, 20, 1}, {0, 0, -1, 0}, &point), &near);
    EXPECT_NEAR(point.Z, 5.0f + near.BoundingSphereRadius(), 1e-5f);
    EXPECT_EQ(scene.RayCastIntersect({0, 0, -20, 1}, {0, 0, 1, 0}), &far);
    EXPECT_EQ(scene.RayCastIntersect({9, 0, 20, 1}, {0, 0, -1, 0}), nullptr);
}

} // namespace
