// The OpenGL calls a material makes around an object's drawing, through the
// recorder: blending, face culling, and the lighting and fog counters.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/GLCallLog.h"
#include "view3d/material/Material.h"
#include "view3d/material/RenderContextInfo.h"
#include "view3d/opengl/GLStateCache.h"

namespace {

using Calls = std::vector<std::string>;

class MaterialApply : public testing::Test {
protected:
    MaterialApply() { Rci.GLStates = &Cache; }

    // The calls of the kinds named, in order.
    Calls Take(std::initializer_list<const char*> kinds = {"Enable", "Disable", "BlendFunc", "AlphaFunc"})
    {
        Calls kept;
        for (std::string& call : Log.Take())
            for (const char* kind : kinds)
                if (call == kind || call.rfind(std::string(kind) + " ", 0) == 0) {
                    kept.push_back(call);
                    break;
                }
        return kept;
    }

    TGLCallLog Log;
    TGLStateCache Cache;
    TRenderContextInfo Rci;
};

TEST_F(MaterialApply, EachBlendingModeSetsItsStatesAndFunctionAndSaysWhetherItIsBlended)
{
    const struct {
        TBlendingMode Mode;
        Calls Expected;
        bool Blended;
    } cases[] = {
        {TBlendingMode::bmOpaque, {"Disable 0xbe2", "Disable 0xbc0"}, false},
        {TBlendingMode::bmTransparency, {"Enable 0xbe2", "Enable 0xbc0", "BlendFunc 0x302 0x303"}, true},
        {TBlendingMode::bmAdditive, {"Enable 0xbe2", "Enable 0xbc0", "BlendFunc 0x302 0x1"}, true},
        {TBlendingMode::bmAlphaTest50, {"Disable 0xbe2", "Enable 0xbc0", "AlphaFunc 0x206 0.5"}, false},
        {TBlendingMode::bmAlphaTest100, {"Disable 0xbe2", "Enable 0xbc0", "AlphaFunc 0x206 1"}, false},
        {TBlendingMode::bmModulate, {"Enable 0xbe2", "Enable 0xbc0", "BlendFunc 0x306 0"}, true},
    };
    Rci.BufferFaceCull = true;
    Cache.Enable(TGLState::stCullFace);
    for (const auto& c : cases) {
        // Each state starts as the mode does not want it, so that its change shows.
        if (c.Blended)
            Cache.Disable(TGLState::stBlend);
        else
            Cache.Enable(TGLState::stBlend);
        if (c.Mode == TBlendingMode::bmOpaque)
            Cache.Enable(TGLState::stAlphaTest);
        else
            Cache.Disable(TGLState::stAlphaTest);
        Log.Take();
        TGLMaterial material(nullptr);
        material.SetBlendingMode(c.Mode);
        material.Apply(Rci);
        EXPECT_EQ(Take(), c.Expected) << int(c.Mode);
        EXPECT_EQ(material.Blended(), c.Blended) << int(c.Mode);

        Rci.IgnoreBlendingRequests = true;
        material.Apply(Rci);
        EXPECT_EQ(Take(), Calls{}) << int(c.Mode);
        Rci.IgnoreBlendingRequests = false;
    }
}

TEST_F(MaterialApply, AnAlphaTestIsRelaxedAgainAtUnapply)
{
    TGLMaterial material(nullptr);
    material.SetBlendingMode(TBlendingMode::bmAlphaTest50);
    EXPECT_FALSE(material.Unapply(Rci));
    EXPECT_EQ(Take(), Calls{"AlphaFunc 0x204 0"});
    material.SetBlendingMode(TBlendingMode::bmTransparency);
    material.Unapply(Rci);
    EXPECT_EQ(Take(), Calls{});
}

TEST_F(MaterialApply, ATransparentMaterialThenAnOpaqueOneSwitchBlendingOnAndOffAgain)
{
    TGLMaterial opaque(nullptr);
    TGLMaterial transparent(nullptr);
    transparent.SetBlendingMode(TBlendingMode::bmTransparency);
    transparent.FrontProperties().Diffuse().SetAlpha(0.222f);
    Cache.Enable(TGLState::stLighting);
    Take();

    opaque.Apply(Rci);
    opaque.Unapply(Rci);
    Take();
    transparent.Apply(Rci);
    const Calls transparentCalls = Take({"Enable", "Disable", "BlendFunc", "Materialfv 0x404 0x1201"});
    transparent.Unapply(Rci);
    opaque.Apply(Rci);
    EXPECT_EQ(transparentCalls, (Calls{"Materialfv 0x404 0x1201 0.8 0.8 0.8 0.222", "Enable 0xbe2", "Enable 0xbc0",
                                       "BlendFunc 0x302 0x303"}));
    EXPECT_EQ(Take({"Enable 0xbe2", "Enable 0xbc0", "Disable 0xbe2", "Disable 0xbc0"}),
              (Calls{"Disable 0xbe2", "Disable 0xbc0"}));
}

TEST_F(MaterialApply, FaceCullingFollowsTheCacheTheBufferAndTheMaterial)
{
    // Back: the back properties are applied (their polygon mode is the sign).
    const struct {
        bool CullingOn;
        bool BufferCulls;
        TFaceCulling Culling;
        Calls Expected;
    } cases[] = {
        {true, true, TFaceCulling::fcBufferDefault, {}},
        {true, false, TFaceCulling::fcBufferDefault, {"Disable 0xb44", "PolygonMode 0x405 0x1b02"}},
        {true, true, TFaceCulling::fcCull, {}},
        {true, false, TFaceCulling::fcCull, {}},
        {true, true, TFaceCulling::fcNoCull, {"Disable 0xb44", "PolygonMode 0x405 0x1b02"}},
        {false, true, TFaceCulling::fcBufferDefault, {"Enable 0xb44"}},
        {false, false, TFaceCulling::fcBufferDefault, {"PolygonMode 0x405 0x1b02"}},
        {false, false, TFaceCulling::fcCull, {"Enable 0xb44"}},
        {false, true, TFaceCulling::fcNoCull, {"PolygonMode 0x405 0x1b02"}},
    };
    for (const auto& c : cases) {
        TGLStateCache cache;
        Rci.GLStates = &cache;
        Rci.BufferFaceCull = c.BufferCulls;
        if (c.CullingOn)
            cache.Enable(TGLState::stCullFace);
        Log.Take();
        TGLMaterial material(nullptr);
        material.SetFaceCulling(c.Culling);
        material.Apply(Rci);
        EXPECT_EQ(Take({"Enable 0xb44", "Disable 0xb44", "PolygonMode 0x405"}), c.Expected)
            << "culling " << c.CullingOn << ", buffer " << c.BufferCulls << ", mode " << int(c.Culling);
        EXPECT_EQ(material.ExistingBackProperties() != nullptr, !c.Expected.empty() && c.Expected.back()[0] == 'P');
    }
}

TEST_F(MaterialApply, NestedMaterialsWithoutLightingOrFogSwitchThemOnOnlyAtTheOuterUnapply)
{
    const struct {
        TMaterialOption Option;
        TGLState State;
        int TRenderContextInfo::*Counter;
    } cases[] = {
        {moNoLighting, TGLState::stLighting, &TRenderContextInfo::LightingDisabledCounter},
        {moIgnoreFog, TGLState::stFog, &TRenderContextInfo::FogDisabledCounter},
    };
    for (const auto& c : cases) {
        TGLStateCache cache;
        Rci.GLStates = &cache;
        cache.Enable(c.State);
        TGLMaterial outer(nullptr);
        TGLMaterial inner(nullptr);
        outer.SetMaterialOptions(c.Option);
        inner.SetMaterialOptions(c.Option);

        outer.Apply(Rci);
        inner.Apply(Rci);
        inner.Unapply(Rci);
        EXPECT_FALSE(cache.Enabled(c.State)) << c.Option;
        outer.Unapply(Rci);
        EXPECT_TRUE(cache.Enabled(c.State)) << c.Option;
        EXPECT_EQ(Rci.*c.Counter, 0) << c.Option;

        // A state the buffer keeps off stays off.
        cache.Disable(c.State);
        outer.Apply(Rci);
        outer.Unapply(Rci);
        EXPECT_FALSE(cache.Enabled(c.State)) << c.Option;
    }
}

TEST_F(MaterialApply, WithoutLightingTheFrontShowsItsDiffuseColour)
{
    Rci.BufferFaceCull = true;
    TGLMaterial material(nullptr);
    material.FrontProperties().Diffuse().SetColor({0.1f, 0.2f, 0.3f, 0.4f});
    material.FrontProperties().SetPolygonMode(TPolygonMode::pmLines);
    material.Apply(Rci);
    EXPECT_EQ(Take({"Color4fv", "Materialfv", "PolygonMode 0x404"}),
              (Calls{"Color4fv 0.1 0.2 0.3 0.4", "PolygonMode 0x404 0x1b01"}));

    Cache.Enable(TGLState::stLighting);
    material.FrontProperties().SetShininess(200);
    material.Apply(Rci);
    EXPECT_EQ(Take({"Color4fv", "Materiali", "Materialfv 0x404 0x1201"}),
              (Calls{"Materiali 0x404 0x1601 128", "Materialfv 0x404 0x1201 0.1 0.2 0.3 0.4"}));
}

} // namespace
