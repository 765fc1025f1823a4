// The textures of a material library: materials made from a picture, the
// pictures in the library's archive, and the second texture a library
// material puts on the second unit.

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include <QImage>
#include <QTemporaryDir>

#include "texture/TextureTestSupport.h"
#include "view3d/material/LibMaterial.h"
#include "view3d/material/MaterialLibrary.h"
#include "view3d/material/RenderContextInfo.h"
#include "view3d/opengl/GLStateCache.h"
#include "view3d/persistence/PersistenceErrors.h"
#include "view3d/texture/PictureImage.h"
#include "view3d/texture/TextureErrors.h"

namespace {

// Every pixel differs, some only in alpha, one fully transparent.
QImage TestPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgba(40 * x, 60 * y, 200 - 10 * x, (x + y) % 3 == 0 ? 0 : 255 - 30 * (x + y)));
    return picture;
}

QImage PictureOf(const TGLTexture* texture)
{
    const auto* image = texture ? dynamic_cast<const TGLPictureImage*>(&texture->Image()) : nullptr;
    return image ? image->Picture() : QImage();
}

void ExpectSamePixels(const QImage& actual, const QImage& expected, const char* what)
{
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            ASSERT_EQ(actual.pixel(x, y), expected.pixel(x, y)) << what << " at " << x << ", " << y;
}

TEST(MaterialLibraryTexture, TheArchiveKeepsThePicturesOfTexturesInUse)
{
    const QImage wallPicture = TestPicture(5, 3);
    const QImage detailPicture = TestPicture(2, 4).convertToFormat(QImage::Format_RGB32);
    TGLMaterialLibrary library;
    library.AddTextureMaterial("Wall", wallPicture);
    TGLLibMaterial& layers = library.Materials().Add();
    layers.SetName("Layers");
    TGLTextureExItem& detail = layers.Material().TextureEx().Add();
    detail.Texture().AssignPicture(detailPicture);
    detail.Texture().SetDisabled(false);
    detail.SetTextureIndex(1);
    detail.TextureOffset().SetVector(0.5f, 0.25f, 0.0f);
    detail.TextureScale().SetVector(2.0f, 3.0f, 1.0f);
    layers.Material().TextureEx().Add().SetTextureIndex(3);
    // Switched off, the picture is not the material's look: it is not kept.
    TGLLibMaterial& off = library.Materials().Add();
    off.SetName("Off");
    off.Material().Texture().AssignPicture(wallPicture);
    std::stringstream archive;
    library.SaveToStream(archive);

    TGLMaterialLibrary copy;
    copy.LoadFromStream(archive);
    ASSERT_EQ(copy.Materials().Count(), 3);
    const TGLTexture* wall = copy.Materials()[0].Material().ExistingTexture();
    ASSERT_NE(wall, nullptr);
    EXPECT_FALSE(wall->Disabled());
    ExpectSamePixels(PictureOf(wall), wallPicture, "texture");
    EXPECT_EQ(copy.Materials()[2].Material().ExistingTexture(), nullptr);

    TGLTextureEx* items = copy.Materials()[1].Material().ExistingTextureEx();
    ASSERT_NE(items, nullptr);
    ASSERT_EQ(items->Count(), 2);
    TGLTextureExItem& loaded = items->Item(0);
    EXPECT_FALSE(loaded.Texture().Disabled());
    ExpectSamePixels(PictureOf(&loaded.Texture()), detailPicture, "item");
    EXPECT_EQ(loaded.TextureIndex(), 1);
    EXPECT_EQ(loaded.TextureOffset().Y(), 0.25f);
    EXPECT_EQ(loaded.TextureScale().Y(), 3.0f);
    EXPECT_TRUE(items->Item(1).Texture().Disabled());
    EXPECT_EQ(items->Item(1).TextureIndex(), 3);

    // Read into a material that has a texture, an archive without one
    // switches it off; one with a picture replaces its picture.
    archive.clear();
    archive.seekg(0);
    copy.Materials()[0].Material().Texture().AssignPicture(detailPicture);
    copy.Materials()[2].Material().Texture().SetDisabled(false);
    copy.AddMaterialsFromStream(archive);
    ASSERT_EQ(copy.Materials().Count(), 3);
    ExpectSamePixels(PictureOf(copy.Materials()[0].Material().ExistingTexture()), wallPicture, "read again");
    EXPECT_TRUE(copy.Materials()[2].Material().ExistingTexture()->Disabled());
    EXPECT_EQ(copy.Materials()[1].Material().ExistingTextureEx()->Count(), 2) << "items replaced, not added";
}

// A BMP file's header: its size at 2, the picture's width and height at 18 and 22.
TEST(MaterialLibraryTexture, APictureThatCannotBeReadRefusesTheArchiveAndIsNeverWritten)
{
    TGLMaterialLibrary source;
    source.AddTextureMaterial("Wall", TestPicture(4, 4));
    std::stringstream archive;
    source.SaveToStream(archive);
    const std::string bytes = archive.str();
    const std::size_t bmp = bytes.find("BM");
    ASSERT_NE(bmp, std::string::npos);

    const struct {
        const char* What;
        std::size_t At;
        std::string Bytes;
    } cases[] = {
        {"not a BMP", bmp, "XX"},
        {"a declared size over the limit", bmp + 18, std::string("\x00\x00\x01\x00\x00\x00\x01\x00", 8)},
    };
    for (const auto& c : cases) {
        std::string damaged = bytes;
        damaged.replace(c.At, c.Bytes.size(), c.Bytes);
        TGLMaterialLibrary library;
        library.Materials().Add().SetName("Mine");
        std::stringstream input(damaged);
        EXPECT_THROW(library.LoadFromStream(input), EReadError) << c.What;
        ASSERT_EQ(library.Materials().Count(), 1) << c.What;
        EXPECT_EQ(library.Materials()[0].Name(), "Mine") << c.What;
    }

    // Nor is such an archive written: the stream is left as it was.
    TGLMaterialLibrary huge;
    huge.AddTextureMaterial("Huge", QImage(8193, 8193, QImage::Format_Mono));
    std::stringstream output;
    EXPECT_THROW(huge.SaveToStream(output), ETexture);
    EXPECT_TRUE(output.str().empty());
}

TEST(MaterialLibraryTexture, ATextureMaterialIsMadeFromAFileFoundInTheTexturePaths)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QImage picture = TestPicture(3, 3);
    ASSERT_TRUE(picture.save(folder.filePath("brick.png")));
    const std::string path = folder.path().toStdString();

    TGLMaterialLibrary library;
    library.SetTexturePaths(path + "/missing; " + path);
    TGLLibMaterial& brick = library.AddTextureMaterial("Brick", std::string("brick.png"));
    EXPECT_EQ(brick.Name(), "Brick");
    const TGLTexture& texture = *brick.Material().ExistingTexture();
    EXPECT_FALSE(texture.Disabled());
    EXPECT_EQ(texture.MinFilter(), TGLMinFilter::miLinearMipmapLinear);
    EXPECT_EQ(texture.MagFilter(), TGLMagFilter::maLinear);
    EXPECT_EQ(texture.TextureMode(), TGLTextureMode::tmModulate);
    ExpectSamePixels(PictureOf(&texture), picture, "from the texture paths");

    EXPECT_EQ(library.AddTextureMaterial("Brick", path + "/brick.png").Name(), "Brick1") << "an absolute name";
    try {
        library.AddTextureMaterial("Stone", std::string("stone.png"));
        ADD_FAILURE() << "a file that is nowhere";
    } catch (const ETexture& error) {
        EXPECT_STREQ(error.what(), "Could not open file: stone.png");
    }
    EXPECT_EQ(library.Materials().Count(), 2) << "nothing added for a file that cannot be read";
}

// The material named by Texture2Name lends its texture to the second unit
// (prepared with the user's display list), and takes it away again at the
// unapply. How it looks is shown on Mesa.
TEST(MaterialLibraryTexture, TheSecondTextureGoesOnTheSecondUnitWhereTheDriverMultitextures)
{
    const struct {
        const char* What;
        const char* Extensions;
        const char* Texture2Name;
        bool DetailEnabled;
        bool Applied;
    } cases[] = {
        {"multitexturing", "GL_ARB_multitexture", "Detail", true, true},
        {"no multitexturing", "", "Detail", true, false},
        {"no such material", "GL_ARB_multitexture", "Nothing", true, false},
        {"its texture switched off", "GL_ARB_multitexture", "Detail", false, false},
    };
    for (const auto& c : cases) {
        TTextureCallLog log(c.Extensions);
        TGLMaterialLibrary library;
        TGLLibMaterial& detail = library.AddTextureMaterial("Detail", TestPicture(4, 4));
        detail.Material().ExistingTexture()->SetDisabled(!c.DetailEnabled);
        TGLLibMaterial& wall = library.Materials().Add();
        wall.SetTexture2Name(c.Texture2Name);
        TGLMaterial user(nullptr);
        user.SetMaterialLibrary(&library);
        user.SetLibMaterialName(wall.Name());
        TGLStateCache states;
        TRenderContextInfo rci;
        rci.GLStates = &states;

        user.PrepareBuildList();
        EXPECT_EQ(CountCalls(log.Take(), "GenTextures"), c.Applied ? 1 : 0) << c.What;
        user.Apply(rci);
        auto calls = log.Take();
        EXPECT_EQ(CountCalls(calls, "ActiveTexture"), c.Applied ? 2 : 0) << c.What;
        EXPECT_EQ(CountCalls(calls, "PushMatrix"), c.Applied ? 1 : 0) << c.What;
        EXPECT_EQ(CountCalls(calls, "GenTextures"), 0) << "prepared before: " << c.What;
        user.Unapply(rci);
        calls = log.Take();
        EXPECT_EQ(CountCalls(calls, "PopMatrix"), c.Applied ? 1 : 0) << c.What;
        EXPECT_EQ(HasCall(calls, CallText("Disable %#x", GL_TEXTURE_2D)), c.Applied) << c.What;
    }
}

} // namespace
