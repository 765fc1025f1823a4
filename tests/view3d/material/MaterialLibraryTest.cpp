// Materials that stand for a named material of a library, and the library's
// archive.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "view3d/material/LibMaterial.h"
#include "view3d/material/MaterialLibrary.h"
#include "view3d/material/RenderContextInfo.h"
#include "view3d/opengl/GLStateCache.h"
#include "view3d/persistence/BinaryWriter.h"
#include "view3d/persistence/PersistenceErrors.h"
#include "support/GLCallLog.h"

namespace {

class TSceneObjectStandIn : public TGLUpdateAbleComponent {
public:
    void NotifyChange(TGLNotifyObject*) override { ++Changes; }
    void StructureChanged() override { ++StructureChanges; }

    int Changes = 0;
    int StructureChanges = 0;
};

TEST(MaterialLibrary, NamesAreUniqueAndFoundExactly)
{
    EXPECT_EQ(LibMaterialNameHash(""), 0u);
    EXPECT_EQ(LibMaterialNameHash("ab"), (2u * (2u * 2u + 'a') + 'b'));

    TGLMaterialLibrary library;
    TGLLibMaterials& materials = library.Materials();
    EXPECT_EQ(materials.Add().Name(), "LibMaterial");
    EXPECT_EQ(materials.Add().Name(), "LibMaterial1");
    materials[1].SetName("Steel");
    EXPECT_EQ(materials.Add().Name(), "LibMaterial1");
    materials[2].SetName("Steel");
    EXPECT_EQ(materials[2].Name(), "Steel1");
    materials[2].SetName("Steel1");
    EXPECT_EQ(materials[2].Name(), "Steel1");

    EXPECT_EQ(materials.GetLibMaterialByName("Steel"), &materials[1]);
    EXPECT_EQ(materials.GetLibMaterialByName("steel"), nullptr);
    EXPECT_EQ(materials.GetLibMaterialByName("Steel2"), nullptr);
}

TEST(MaterialLibrary, ALinkedMaterialAppliesAndAnswersForItsLibraryMaterialAndHearsItsChanges)
{
    TGLCallLog log;
    TGLMaterialLibrary library;
    TGLLibMaterial& glass = library.Materials().Add();
    glass.SetName("Glass");
    glass.Material().SetBlendingMode(TBlendingMode::bmTransparency);

    TSceneObjectStandIn object;
    TGLMaterial material(&object);
    material.SetMaterialLibrary(&library);
    EXPECT_EQ(material.LibMaterial(), nullptr);
    material.SetLibMaterialName("Glass");
    ASSERT_EQ(material.LibMaterial(), &glass);
    EXPECT_EQ(object.StructureChanges, 1);
    EXPECT_TRUE(material.Blended());

    TGLStateCache cache;
    TRenderContextInfo rci;
    rci.GLStates = &cache;
    rci.BufferFaceCull = true;
    log.Take();
    material.Apply(rci);
    EXPECT_TRUE(cache.Enabled(TGLState::stBlend));

    object.Changes = 0;
    glass.Material().FrontProperties().Diffuse().SetRed(0.5f);
    EXPECT_EQ(object.Changes, 1);
    material.Unapply(rci);
    log.Take();
    glass.TextureOffset().SetX(0.5f);
    EXPECT_EQ(object.StructureChanges, 2);
    material.Apply(rci);
    glass.TextureOffset().SetX(0.0f);
    material.Unapply(rci);
    const auto textureMatrix = [&log] {
        std::vector<std::string> calls;
        for (std::string& call : log.Take())
            if (call.rfind("Load", 0) == 0)
                calls.push_back(call);
        return calls;
    };
    EXPECT_EQ(textureMatrix(), (std::vector<std::string>{"LoadMatrixf 0.5", "LoadIdentity"}));

    // A library material that names the user's own material is not followed round.
    TGLLibMaterial& loop = library.Materials().Add();
    loop.Material().SetMaterialLibrary(&library);
    loop.Material().SetLibMaterialName(loop.Name());
    EXPECT_EQ(loop.Material().LibMaterial(), nullptr);

    library.Materials().Delete(0);
    EXPECT_EQ(material.LibMaterial(), nullptr);
    EXPECT_FALSE(material.Blended());
}

TEST(MaterialLibrary, AMaterialOutlivingItsLibraryLosesTheLink)
{
    TGLMaterial material(nullptr);
    {
        TGLMaterialLibrary library;
        library.Materials().Add();
        material.SetMaterialLibrary(&library);
        material.SetLibMaterialName("LibMaterial");
        ASSERT_NE(material.LibMaterial(), nullptr);
    }
    EXPECT_EQ(material.MaterialLibrary(), nullptr);
    EXPECT_EQ(material.LibMaterial(), nullptr);
}

TEST(MaterialLibrary, TheArchiveKeepsEveryStoredSettingAndRelinksItsUsers)
{
    TGLMaterialLibrary library;
    TGLLibMaterial& first = library.Materials().Add();
    first.SetName("Red");
    TGLMaterial& red = first.Material();
    red.FrontProperties().Diffuse().SetColor({1.0f, 0.0f, 0.0f, 0.5f});
    red.FrontProperties().Ambient().SetColor({0.1f, 0.2f, 0.3f, 1.0f});
    red.FrontProperties().Specular().SetColor({0.4f, 0.5f, 0.6f, 1.0f});
    red.FrontProperties().SetShininess(64);
    red.BackProperties().Emission().SetColor({0.7f, 0.8f, 0.9f, 1.0f});
    red.BackProperties().SetPolygonMode(TPolygonMode::pmPoints);
    red.SetBlendingMode(TBlendingMode::bmAlphaTest100);
    red.SetMaterialOptions(moNoLighting | moIgnoreFog);
    first.TextureOffset().SetVector(1.0f, 2.0f, 3.0f);
    first.TextureScale().SetVector(4.0f, 5.0f, 6.0f);
    first.SetTexture2Name("Detail");
    library.Materials().Add().SetName("Plain");
    std::stringstream archive;
    library.SaveToStream(archive);

    TGLMaterialLibrary copy;
    copy.Materials().Add().SetName("Red");
    TGLMaterial user(nullptr);
    user.SetMaterialLibrary(&copy);
    user.SetLibMaterialName("Red");
    copy.LoadFromStream(archive);

    ASSERT_EQ(copy.Materials().Count(), 2);
    const TGLLibMaterial& loaded = copy.Materials()[0];
    EXPECT_EQ(user.LibMaterial(), &loaded);
    EXPECT_EQ(loaded.Name(), "Red");
    EXPECT_EQ(copy.Materials()[1].Name(), "Plain");
    const TGLMaterial& m = loaded.Material();
    const auto same = [](const TGLColor& a, const TGLColor& b) {
        return a.Red() == b.Red() && a.Green() == b.Green() && a.Blue() == b.Blue() && a.Alpha() == b.Alpha();
    };
    EXPECT_TRUE(same(m.FrontProperties().Diffuse(), red.FrontProperties().Diffuse()));
    EXPECT_TRUE(same(m.FrontProperties().Ambient(), red.FrontProperties().Ambient()));
    EXPECT_TRUE(same(m.FrontProperties().Specular(), red.FrontProperties().Specular()));
    EXPECT_EQ(m.FrontProperties().Shininess(), 64);
    ASSERT_NE(m.ExistingBackProperties(), nullptr);
    EXPECT_TRUE(same(m.ExistingBackProperties()->Emission(), red.BackProperties().Emission()));
    EXPECT_EQ(m.ExistingBackProperties()->PolygonMode(), TPolygonMode::pmPoints);
    EXPECT_EQ(m.BlendingMode(), TBlendingMode::bmAlphaTest100);
    EXPECT_EQ(m.MaterialOptions(), moNoLighting | moIgnoreFog);
    EXPECT_EQ(loaded.TextureOffset().Z(), 3.0f);
    EXPECT_EQ(loaded.TextureScale().X(), 4.0f);
    EXPECT_EQ(loaded.Texture2Name(), "Detail");

    // Adding keeps what is there and reads into the material of the same name.
    archive.clear();
    archive.seekg(0);
    copy.Materials()[1].SetName("Kept");
    copy.AddMaterialsFromStream(archive);
    ASSERT_EQ(copy.Materials().Count(), 3);
    EXPECT_EQ(&copy.Materials()[0], &loaded);
    EXPECT_EQ(copy.Materials()[2].Name(), "Plain");
}

TEST(MaterialLibrary, AnArchiveItCannotReadLeavesTheLibraryAsItWas)
{
    TGLMaterialLibrary source;
    source.Materials().Add();
    std::stringstream archive;
    source.SaveToStream(archive);
    std::string bytes = archive.str();

    std::string newer;
    TBinaryWriter writer(newer);
    writer.WriteInteger(3);
    writer.WriteInteger(0);
    const struct {
        const char* What;
        std::string Bytes;
        const char* Message;
    } cases[] = {
        {"cut short", bytes.substr(0, bytes.size() - 3), nullptr},
        {"a newer version", newer, "TGLMaterialLibrary : unknown archive version 3"},
    };
    for (const auto& c : cases) {
        TGLMaterialLibrary library;
        library.Materials().Add().SetName("Mine");
        std::stringstream input(c.Bytes);
        try {
            library.LoadFromStream(input);
            ADD_FAILURE() << c.What;
        } catch (const EFilerError& error) {
            if (c.Message) {
                EXPECT_STREQ(error.what(), c.Message);
            }
        }
        ASSERT_EQ(library.Materials().Count(), 1) << c.What;
        EXPECT_EQ(library.Materials()[0].Name(), "Mine") << c.What;
    }
}

TEST(MaterialLibrary, TexturePathsAreTrimmedAndEndInASeparator)
{
    TGLMaterialLibrary library;
    library.SetTexturePaths(" textures ;; /usr/share/maps/ ;  ");
    EXPECT_EQ(library.TexturePathList(), (std::vector<std::string>{"textures/", "/usr/share/maps/"}));
    EXPECT_EQ(library.TexturePaths(), " textures ;; /usr/share/maps/ ;  ");
}

} // namespace
