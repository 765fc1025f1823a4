#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/GLCallLog.h"
#include "support/SceneLinkSpy.h"
#include "view3d/material/RenderContextInfo.h"
#include "view3d/opengl/GLStateCache.h"
#include "view3d/persistence/PersistenceErrors.h"
#include "view3d/scene/BehavioursAndEffects.h"
#include "view3d/scene/CameraInvariantObject.h"
#include "view3d/scene/CustomSceneObject.h"
#include "view3d/scene/DirectOpenGL.h"
#include "view3d/scene/ProxyObject.h"
#include "view3d/scene/SceneRootObject.h"

namespace {

using Calls = std::vector<std::string>;

template <class Base>
class TMarked : public Base {
public:
    explicit TMarked(int tag)
    {
        this->Tag = tag;
        this->SetObjectStyle(TGLObjectStyle::osDirectDraw, true);
    }
    void BuildList(TRenderContextInfo&) override { GL().Vertex3f(float(this->Tag), 0, 0); }
};

std::ptrdiff_t Position(const Calls& calls, const std::string& call)
{
    return std::find(calls.begin(), calls.end(), call) - calls.begin();
}

class SceneObjectKindsTest : public testing::Test {
protected:
    SceneObjectKindsTest()
    {
        Rci.GLStates = &States;
        Rci.ObjectsSorting = TGLObjectsSorting::osRenderBlendedLast;
        Rci.VisibilityCulling = TGLVisibilityCulling::vcNone;
    }

    TGLCallLog Log;
    TGLStateCache States;
    TRenderContextInfo Rci;
    TSceneLinkSpy Scene;
    TGLSceneRootObject Root{Scene};
};

TEST_F(SceneObjectKindsTest, TheMaterialIsAppliedAroundTheDrawingAndDecidesBlending)
{
    auto& glass = Root.AddNewChild<TMarked<TGLSceneObject>>(1);
    auto& plain = Root.AddNewChild<TMarked<TGLSceneObject>>(2);
    glass.Material().SetBlendingMode(TBlendingMode::bmTransparency);
    EXPECT_TRUE(glass.Blended());
    EXPECT_FALSE(plain.Blended());
    Root.RenderObject(Rci);
    const Calls calls = Log.Take();
    // The opaque one first; blending is switched on before the glass draws.
    EXPECT_LT(Position(calls, "Vertex3f 2 0 0"), Position(calls, "Enable 0xbe2"));
    EXPECT_LT(Position(calls, "Enable 0xbe2"), Position(calls, "Vertex3f 1 0 0"));
    EXPECT_LT(Position(calls, "Vertex3f 1 0 0"), std::ptrdiff_t(calls.size()));

    // Ignoring materials draws the object alone.
    Rci.IgnoreMaterials = true;
    glass.RenderObject(Rci);
    EXPECT_EQ(Log.Take(), (Calls{"PushMatrix", "MultMatrixf 0 0 0", "Vertex3f 1 0 0", "PopMatrix"}));
}

TEST_F(SceneObjectKindsTest, AMaterialChangeReachesTheScene)
{
    auto& object = Root.AddNewChild<TMarked<TGLSceneObject>>(1);
    Scene.Notifications = 0;
    object.Material().FrontProperties().Diffuse().SetComponent(0, 0.25f);
    EXPECT_GE(Scene.Notifications, 1);
    const int before = Scene.Notifications;
    object.Material().FrontProperties().Diffuse().SetComponent(0, 0.25f);
    EXPECT_EQ(Scene.Notifications, before);
}

TEST_F(SceneObjectKindsTest, ImmaterialAndUnmovedCameraInvariantObjectsDrawWithoutTheMaterial)
{
    auto& immaterial = Root.AddNewChild<TMarked<TGLImmaterialSceneObject>>(1);
    auto& invariant = Root.AddNewChild<TMarked<TGLCameraInvariantObject>>(2);
    immaterial.Material().SetBlendingMode(TBlendingMode::bmTransparency);
    invariant.Material().SetBlendingMode(TBlendingMode::bmTransparency);
    immaterial.RenderObject(Rci);
    EXPECT_EQ(Log.Take(), (Calls{"PushMatrix", "MultMatrixf 0 0 0", "Vertex3f 1 0 0", "PopMatrix"}));
    invariant.RenderObject(Rci);
    EXPECT_EQ(Log.Take(), (Calls{"PushMatrix", "MultMatrixf 0 0 0", "Vertex3f 2 0 0", "PopMatrix"}));

    invariant.SetPosition({1, 2, 3, 1});
    invariant.SetCamInvarianceMode(TGLCameraInvarianceMode::cimOrientation);
    invariant.RenderObject(Rci);
    EXPECT_EQ(Log.Take(), (Calls{"PushMatrix", "MultMatrixf 1 2 3", "PushMatrix", "LoadIdentity", "Scalef 1 -1 -1",
                                 "MultMatrixf 1 2 3", "Vertex3f 2 0 0", "PopMatrix", "PopMatrix"}));
    invariant.SetCamInvarianceMode(TGLCameraInvarianceMode::cimPosition);
    Rci.CameraPosition = {4, 5, 6, 1};
    Scene.BaseView.M[3][0] = 9;
    invariant.RenderObject(Rci);
    EXPECT_EQ(Log.Take(), (Calls{"PushMatrix", "MultMatrixf 1 2 3", "PushMatrix", "LoadMatrixf 9", "Translatef 4 5 6",
                                 "MultMatrixf 1 2 3", "Vertex3f 2 0 0", "PopMatrix", "PopMatrix"}));
}

TEST_F(SceneObjectKindsTest, AProxyDrawsItsMasterOnceAndForgetsItWhenItIsFreed)
{
    auto master = std::make_unique<TMarked<TGLBaseSceneObject>>(5);
    master->SetPosition({1, 0, 0, 1});
    auto& proxy = Root.AddNewChild<TGLProxyObject>();
    proxy.SetMasterObject(master.get());
    proxy.AddNewChild<TMarked<TGLBaseSceneObject>>(6);
    proxy.RenderObject(Rci);
    EXPECT_EQ(Log.Take(), (Calls{"PushMatrix", "MultMatrixf 0 0 0", "PushMatrix", "MultMatrixf 1 0 0",
                                 "Vertex3f 5 0 0", "PopMatrix", "PushMatrix", "MultMatrixf 0 0 0", "Vertex3f 6 0 0",
                                 "PopMatrix", "PopMatrix"}));

    // A proxy that is its own master's child would draw itself forever.
    auto& inner = master->AddNewChild<TGLProxyObject>();
    inner.SetMasterObject(master.get());
    proxy.RenderObject(Rci);
    const Calls calls = Log.Take();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "Vertex3f 5 0 0"), 2);

    master.reset();
    EXPECT_EQ(proxy.MasterObject(), nullptr);
    proxy.RenderObject(Rci);
    EXPECT_EQ(Log.Take(), (Calls{"PushMatrix", "MultMatrixf 0 0 0", "PushMatrix", "MultMatrixf 0 0 0",
                                 "Vertex3f 6 0 0", "PopMatrix", "PopMatrix"}));
}

TEST_F(SceneObjectKindsTest, DirectOpenGLAndRenderPointCallTheirCode)
{
    auto& direct = Root.AddNewChild<TGLDirectOpenGL>();
    int drawn = 0;
    direct.OnRender = [&drawn](TGLDirectOpenGL&, TRenderContextInfo&) { ++drawn; };
    direct.RenderObject(Rci);
    direct.RenderObject(Rci);
    EXPECT_EQ(drawn, 2);
    direct.SetUseBuildList(true);
    direct.RenderObject(Rci);
    direct.RenderObject(Rci);
    EXPECT_EQ(drawn, 3) << "compiled once";

    int freed = 0;
    {
        TGLRenderPoint point;
        const int first = point.RegisterCallBack([&drawn](TGLRenderPoint&, TRenderContextInfo&) { drawn += 10; },
                                                 [&freed](TGLRenderPoint&) { ++freed; });
        point.RegisterCallBack([&drawn](TGLRenderPoint&, TRenderContextInfo&) { drawn += 100; },
                               [&freed](TGLRenderPoint&) { ++freed; });
        point.RenderObject(Rci);
        EXPECT_EQ(drawn, 113);
        point.UnRegisterCallBack(first);
        point.RenderObject(Rci);
        EXPECT_EQ(drawn, 213);
    }
    EXPECT_EQ(freed, 1);
}

class TCountingBehaviour : public TGLBehaviour {
public:
    using TGLBehaviour::TGLBehaviour;
    void DoProgress(const TProgressTimes& times) override { Total += times.DeltaTime; }
    static inline double Total = 0.0;
};

class TCountingEffect : public TGLObjectEffect {
public:
    using TGLObjectEffect::TGLObjectEffect;
    void PreRender(TRenderContextInfo&) override { GL().Vertex3f(-1, 0, 0); }
    void Render(TRenderContextInfo&) override { GL().Vertex3f(-2, 0, 0); }
};

const TXCollectionItemClass& CountingBehaviourClass()
{
    static const TXCollectionItemClass itemClass{"TCountingBehaviour", "Counting", false, &GLBehaviourClass(),
                                                 [](TXCollection& owner) -> std::unique_ptr<TXCollectionItem> {
                                                     return std::make_unique<TCountingBehaviour>(
                                                         owner, CountingBehaviourClass());
                                                 }};
    // Cloning goes through the archive, which finds classes by name.
    static const bool registered = (RegisterXCollectionItemClass(itemClass), true);
    (void)registered;
    return itemClass;
}

const TXCollectionItemClass& CountingEffectClass()
{
    static const TXCollectionItemClass itemClass{"TCountingEffect", "Counting effect", false, &GLObjectEffectClass(),
                                                 [](TXCollection& owner) -> std::unique_ptr<TXCollectionItem> {
                                                     return std::make_unique<TCountingEffect>(owner,
                                                                                              CountingEffectClass());
                                                 }};
    static const bool registered = (RegisterXCollectionItemClass(itemClass), true);
    (void)registered;
    return itemClass;
}

TEST_F(SceneObjectKindsTest, BehavioursTakeNoEffectsAndEffectsWrapTheDrawing)
{
    auto& object = Root.AddNewChild<TMarked<TGLBaseSceneObject>>(3);
    object.Name = "Cube1";
    EXPECT_FALSE(object.HasBehaviours());
    EXPECT_EQ(object.Behaviours().NamePath(), "Cube1.Behaviours");
    EXPECT_THROW(object.Behaviours().Add(CountingEffectClass()), EListError);
    EXPECT_THROW(object.Effects().Add(CountingBehaviourClass()), EListError);
    object.Behaviours().Add(CountingBehaviourClass());
    object.Effects().Add(CountingEffectClass());

    TCountingBehaviour::Total = 0;
    Root.DoProgress({0.5, 1.0});
    EXPECT_DOUBLE_EQ(TCountingBehaviour::Total, 0.5);

    object.RenderObject(Rci);
    EXPECT_EQ(Log.Take(), (Calls{"PushMatrix", "MultMatrixf 0 0 0", "Vertex3f -1 0 0", "Vertex3f 3 0 0",
                                 "Vertex3f -2 0 0", "PopMatrix"}));

    TMarked<TGLBaseSceneObject> copy(0);
    copy.Assign(object);
    ASSERT_TRUE(copy.HasEffects());
    EXPECT_EQ(copy.Effects().Count(), 1);
}

TEST_F(SceneObjectKindsTest, AssignKeepsTheKindOfEveryChild)
{
    TGLSceneObject source;
    source.Hint = "a hint";
    source.Material().SetBlendingMode(TBlendingMode::bmAdditive);
    source.AddNewChild<TGLCameraInvariantObject>().SetCamInvarianceMode(TGLCameraInvarianceMode::cimPosition);
    source.AddNewChild<TGLDirectOpenGL>().SetBlend(true);
    TGLSceneObject copy;
    copy.Assign(source);
    EXPECT_EQ(copy.Hint, "a hint");
    EXPECT_EQ(copy.Material().BlendingMode(), TBlendingMode::bmAdditive);
    ASSERT_EQ(copy.Count(), 2);
    const auto* invariant = dynamic_cast<TGLCameraInvariantObject*>(&copy.Children(0));
    ASSERT_NE(invariant, nullptr);
    EXPECT_EQ(invariant->CamInvarianceMode(), TGLCameraInvarianceMode::cimPosition);
    EXPECT_TRUE(copy.Children(1).Blended());
}

} // namespace
