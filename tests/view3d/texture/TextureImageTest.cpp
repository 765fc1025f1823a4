#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

#include "view3d/texture/CubeMapImage.h"
#include "view3d/texture/PictureFileReader.h"
#include "view3d/texture/PictureImage.h"
#include "view3d/texture/SizedImage.h"
#include "view3d/texture/TextureErrors.h"
#include "view3d/texture/TextureImageClasses.h"

namespace {

std::filesystem::path TestDir()
{
    const auto dir = std::filesystem::path(KESTRO_TEST_OUTPUT_DIR) / "texture-images";
    std::filesystem::create_directories(dir);
    return dir;
}

std::string WriteBytes(const std::string& name, const QByteArray& bytes)
{
    const std::string path = (TestDir() / name).string();
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.constData(), bytes.size());
    return path;
}

QImage Checker(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, (x + y) % 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    return image;
}

QByteArray Encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A BMP header that declares a picture of the size and holds no pixels.
QByteArray BmpHeaderDeclaring(std::int32_t width, std::int32_t height)
{
    QByteArray bytes = Encoded(Checker(4, 4), "BMP").left(54);
    std::memcpy(bytes.data() + 18, &width, 4);
    std::memcpy(bytes.data() + 22, &height, 4);
    return bytes;
}

TEST(PictureFileReader, ReadsGoodFilesAndRefusesBadOnes)
{
    const QByteArray png = Encoded(Checker(6, 3), "PNG");
    const struct {
        std::string Name;
        QByteArray Bytes;
        bool Read;
        const char* Reason;
    } cases[] = {
        {"good.png", png, true, ""},
        {"good.BMP", Encoded(Checker(5, 2), "BMP"), true, ""},
        {"truncated.png", png.left(png.size() / 2), false, ""},
        {"empty.png", QByteArray(), false, ""},
        // Refused by the image library's own header check.
        {"huge.bmp", BmpHeaderDeclaring(40000, 30000), false, ""},
        // Refused here, from the declared size, before any pixel is read.
        {"huge-by-area.bmp", BmpHeaderDeclaring(16384, 8193), false, "over the limit"},
        {"over-limit.bmp", BmpHeaderDeclaring(12000, 6000), false, "over the limit"},
        {"unknown.xyz", png, false, "no picture format"},
    };
    for (const auto& c : cases) {
        const std::string path = WriteBytes(c.Name, c.Bytes);
        const TPictureReadResult read = ReadPictureFile(path);
        EXPECT_EQ(!read.Picture.isNull(), c.Read) << c.Name;
        EXPECT_EQ(read.Error, c.Read ? "" : "Could not open file: " + path) << c.Name;
        EXPECT_NE(read.Reason.find(c.Reason), std::string::npos) << c.Name << ": " << read.Reason;
    }
    const TPictureReadResult missing = ReadPictureFile((TestDir() / "missing.png").string());
    EXPECT_TRUE(missing.Picture.isNull());
    EXPECT_FALSE(missing.Error.empty());
}

TEST(PictureFileReader, TheTexturesOwnRegistryComesFirst)
{
    const std::string path = WriteBytes("picture.tex", Encoded(Checker(2, 2), "PNG"));
    EXPECT_TRUE(ReadPictureFile(path).Picture.isNull());
    RegisterPictureExtension(".TEX", "png");
    EXPECT_EQ(PictureFormatForFile("a.tex"), "png");
    EXPECT_EQ(ReadPictureFile(path).Picture.size(), QSize(2, 2));
    EXPECT_EQ(PictureFormatForFile("a.Bmp"), "bmp");
}

TEST(TextureImages, PictureFilesGiveAnEmptyImageAndTheMessageWhenUnreadable)
{
    const std::string good = WriteBytes("pic.png", Encoded(Checker(8, 4), "PNG"));
    const std::string bad = WriteBytes("pic-bad.png", QByteArray("not a picture"));
    TGLPicFileImage picFile(nullptr);
    picFile.SetPictureFileName(bad);
    EXPECT_EQ(picFile.Width(), 0);
    EXPECT_EQ(picFile.GetBitmap32(GL_TEXTURE_2D), nullptr);
    EXPECT_EQ(picFile.LoadError(), "Could not open file: " + bad);
    picFile.SetPictureFileName(good);
    ASSERT_NE(picFile.GetBitmap32(GL_TEXTURE_2D), nullptr);
    EXPECT_EQ(picFile.GetBitmap32(GL_TEXTURE_2D)->Width(), 8);
    EXPECT_TRUE(picFile.LoadError().empty());

    // Its own data is the file name; a small file holds a name, a large one is the picture.
    const std::string nameFile = (TestDir() / "pic-name.txt").string();
    picFile.SaveToFile(nameFile);
    TGLPicFileImage fromName(nullptr);
    fromName.LoadFromFile(nameFile);
    EXPECT_EQ(fromName.PictureFileName(), good);
    const std::string large = WriteBytes("large.bmp", Encoded(Checker(64, 64), "BMP"));
    fromName.LoadFromFile(large);
    EXPECT_EQ(fromName.PictureFileName(), large);
    EXPECT_EQ(fromName.Width(), 64);

    TGLPersistentImage persistent(nullptr);
    persistent.SetPicture(Checker(2, 2));
    try {
        persistent.LoadFromFile(bad);
        ADD_FAILURE() << "no ETexture";
    } catch (const ETexture& e) {
        EXPECT_EQ(std::string(e.what()), "Could not open file: " + bad);
    }
    EXPECT_TRUE(persistent.Picture().isNull()) << "the picture is emptied";
}

TEST(TextureImages, KindsByNameWithTheirTexts)
{
    const struct {
        const char* ClassName;
        const char* FriendlyName;
        const char* DescriptionStart;
    } cases[] = {
        {"TGLBlankImage", "Blank Image", "Blank Image (256 x 256)"},
        {"TGLPersistentImage", "Persistent Image", "Image data is stored in its original format"},
        {"TGLPicFileImage", "PicFile Image", "Image data is retrieved from a file."},
        {"TGLCubeMapImage", "CubeMap Image", ""},
        {"TGLFloatDataImage", "FloatData Image", "Image to be dynamically generated by OpenGL"},
    };
    for (const auto& c : cases) {
        const auto image = CreateTextureImage(c.ClassName, nullptr);
        ASSERT_NE(image, nullptr) << c.ClassName;
        EXPECT_EQ(image->ClassName(), c.ClassName);
        EXPECT_EQ(image->FriendlyName(), c.FriendlyName);
        EXPECT_EQ(image->FriendlyDescription().rfind(c.DescriptionStart, 0), 0u) << image->FriendlyDescription();
    }
    EXPECT_EQ(CreateTextureImage("TGLPictureImage", nullptr), nullptr) << "the abstract base is not a kind";

    TGLBlankImage blank(nullptr);
    blank.SetWidth(0);
    blank.SetHeight(-5);
    EXPECT_EQ(blank.SaveToText(), "[BlankImage]\r\nWidth=1\r\nHeight=1");
    blank.LoadFromText("[BlankImage]\r\nWidth=64\r\nHeight=x");
    EXPECT_EQ(blank.Width(), 64);
    EXPECT_EQ(blank.Height(), 1) << "a height that is not a number is kept";
    TGLFloatDataImage floatData(nullptr);
    floatData.SetHeight(32);
    EXPECT_EQ(floatData.SaveToText(), "[FloatDataImage]\r\nWidth=256\r\nHeight=32");
    ASSERT_NE(floatData.GetBitmap32(GL_TEXTURE_2D), nullptr);
    EXPECT_EQ(floatData.GetBitmap32(GL_TEXTURE_2D)->Height(), 32);
}

TEST(TextureImages, CubeMapFacesRoundTripAndComeTopDown)
{
    TGLCubeMapImage cube(nullptr);
    QImage face = Checker(4, 4);
    face.setPixel(0, 0, qRgb(0, 255, 0));
    for (int i = 0; i < 6; ++i)
        cube.SetPicture(TGLCubeMapTarget(i), face);
    EXPECT_TRUE(cube.FacesAreUploadable());
    const std::string path = (TestDir() / "cube.dat").string();
    cube.SaveToFile(path);
    TGLCubeMapImage loaded(nullptr);
    loaded.LoadFromFile(path);
    TGLBitmap32* nz = loaded.GetBitmap32(GL_TEXTURE_CUBE_MAP_NEGATIVE_Z_ARB);
    ASSERT_NE(nz, nullptr);
    // Row 0 of a face is the picture's top row, not its bottom one.
    EXPECT_EQ(int(nz->ScanLine(0)[0].G), 255);

    loaded.SetPicture(TGLCubeMapTarget::cmtPY, Checker(4, 2));
    EXPECT_FALSE(loaded.FacesAreUploadable()) << "a face that is not square";
    const std::string cut = WriteBytes("cube-cut.dat", QByteArray::fromStdString(std::string(2, '\0')));
    EXPECT_THROW(loaded.LoadFromFile(cut), ETexture);
    EXPECT_TRUE(loaded.Picture(TGLCubeMapTarget::cmtPX).isNull());
}

} // namespace
