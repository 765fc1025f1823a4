// How a change inside a material reaches the scene object that owns it.

#include <gtest/gtest.h>

#include <functional>

#include "view3d/material/Material.h"

namespace {

class TSceneObjectStandIn : public TGLUpdateAbleComponent {
public:
    void NotifyChange(TGLNotifyObject* sender) override
    {
        ++Changes;
        LastSender = sender;
    }
    void StructureChanged() override { ++StructureChanges; }

    int Changes = 0;
    int StructureChanges = 0;
    TGLNotifyObject* LastSender = nullptr;
};

TEST(MaterialNotification, EachChangeReachesTheOwningObjectOnceAndAnUnchangedValueNotAtAll)
{
    TSceneObjectStandIn object;
    TGLMaterial material(&object);
    TGLMaterial other(nullptr);
    other.SetBlendingMode(TBlendingMode::bmAdditive);
    other.BackProperties().SetShininess(5);
    other.FrontProperties().SetShininess(33);
    TGLFaceProperties face(nullptr);
    face.SetShininess(12);
    int materialHeard = 0;
    material.OnNotifyChange = [&](TGLNotifyObject&) { ++materialHeard; };

    const struct {
        const char* What;
        std::function<void()> Change;
        int Expected;
    } cases[] = {
        {"the same red", [&] { material.FrontProperties().Diffuse().SetRed(0.8f); }, 0},
        {"another red", [&] { material.FrontProperties().Diffuse().SetRed(0.3f); }, 1},
        {"a back colour", [&] { material.BackProperties().Ambient().SetColor({1, 1, 1, 1}); }, 1},
        {"the same shininess", [&] { material.FrontProperties().SetShininess(0); }, 0},
        {"a shininess beyond the range, kept at 128", [&] { material.FrontProperties().SetShininess(500); }, 1},
        {"it again", [&] { material.FrontProperties().SetShininess(128); }, 0},
        {"a polygon mode", [&] { material.FrontProperties().SetPolygonMode(TPolygonMode::pmLines); }, 1},
        {"a whole face", [&] { material.SetFrontProperties(face); }, 1},
        {"the same blending", [&] { material.SetBlendingMode(TBlendingMode::bmOpaque); }, 0},
        {"another blending", [&] { material.SetBlendingMode(TBlendingMode::bmModulate); }, 1},
        {"options", [&] { material.SetMaterialOptions(moNoLighting); }, 1},
        {"culling", [&] { material.SetFaceCulling(TFaceCulling::fcNoCull); }, 1},
        {"a whole material", [&] { material.Assign(other); }, 1},
    };
    for (const auto& c : cases) {
        object.Changes = 0;
        materialHeard = 0;
        c.Change();
        EXPECT_EQ(object.Changes, c.Expected) << c.What;
        EXPECT_EQ(materialHeard, c.Expected) << c.What;
    }
    EXPECT_EQ(object.LastSender, &material);
    EXPECT_EQ(object.StructureChanges, 0);

    EXPECT_EQ(material.FrontProperties().Shininess(), 33);
    EXPECT_EQ(material.BlendingMode(), TBlendingMode::bmAdditive);
    EXPECT_EQ(material.BackProperties().Shininess(), 5);
    EXPECT_EQ(material.FaceCulling(), TFaceCulling::fcBufferDefault);
    material.Assign(TGLMaterial(nullptr));
    EXPECT_EQ(material.ExistingBackProperties(), nullptr);
}

TEST(MaterialNotification, FacePropertiesStartWithTheLightingDefaults)
{
    const TGLFaceProperties face(nullptr);
    EXPECT_EQ(face.Ambient().Red(), 0.2f);
    EXPECT_EQ(face.Diffuse().Green(), 0.8f);
    EXPECT_EQ(face.Emission().Blue(), 0.0f);
    EXPECT_EQ(face.Specular().Alpha(), 1.0f);
    EXPECT_EQ(face.Shininess(), 0);
    EXPECT_EQ(face.PolygonMode(), TPolygonMode::pmFill);
}

} // namespace
