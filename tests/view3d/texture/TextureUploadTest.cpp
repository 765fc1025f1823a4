#include <GL/gl.h>
#include <GL/glext.h>
#include <QImage>
#include <gtest/gtest.h>

#include "texture/TextureTestSupport.h"
#include "view3d/opengl/GLStateCache.h"
#include "view3d/texture/CubeMapImage.h"
#include "view3d/texture/SizedImage.h"
#include "view3d/texture/Texture.h"
#include "view3d/texture/TextureUpload.h"

namespace {

TGLBitmap32 Bitmap(int width, int height)
{
    TGLBitmap32 bitmap;
    bitmap.SetWidth(width);
    bitmap.SetHeight(height);
    return bitmap;
}

TEST(TextureUpload, SizesAreRoundedUpToPowersOfTwoWithinTheDriversLimit)
{
    const struct {
        int Width, Height, MaxSize;
        int UploadWidth, UploadHeight;
    } cases[] = {
        {200, 100, 1024, 256, 128}, {256, 256, 1024, 256, 256}, {3000, 10, 1024, 1024, 16},
        {1, 1, 1024, 1, 1},         {257, 64, 256, 256, 64},
    };
    for (const auto& c : cases) {
        TTextureCallLog log;
        log.Answers[GL_MAX_TEXTURE_SIZE] = {double(c.MaxSize)};
        TGLTextureParameters parameters;
        parameters.MinFilter = TGLMinFilter::miLinear;
        RegisterAsOpenGLTexture(Bitmap(c.Width, c.Height), GL_TEXTURE_2D, GL_RGBA8, parameters, GLCapabilities());
        const auto calls = log.Take();
        const bool rescaled = c.Width != c.UploadWidth || c.Height != c.UploadHeight;
        EXPECT_EQ(HasCall(calls, CallText("GluScaleImage %#x %d %d %#x %d %d %#x", GL_RGBA, c.Width, c.Height,
                                          GL_UNSIGNED_BYTE, c.UploadWidth, c.UploadHeight, GL_UNSIGNED_BYTE)),
                  rescaled)
            << c.Width << "x" << c.Height;
        EXPECT_EQ(CountCalls(calls, "GluScaleImage"), rescaled ? 1 : 0);
        EXPECT_TRUE(HasCall(calls, CallText("TexImage2D %#x 0 %d %d %d 0 %#x %#x", GL_TEXTURE_2D, GL_RGBA8,
                                            c.UploadWidth, c.UploadHeight, GL_RGBA, GL_UNSIGNED_BYTE)))
            << c.Width << "x" << c.Height;
    }
}

TEST(TextureUpload, FilterAndFormatChooseTheUploadPath)
{
    const struct {
        TGLMinFilter Filter;
        TGLTextureFormat Format;
        GLenum Target;
        const char* Extensions;
        int TexImages, Mipmaps, GenerateMipmap;
        GLenum PixelType;
    } cases[] = {
        {TGLMinFilter::miNearest, TGLTextureFormat::tfRGBA, GL_TEXTURE_2D, "", 1, 0, 0, GL_UNSIGNED_BYTE},
        {TGLMinFilter::miLinear, TGLTextureFormat::tfRGBA, GL_TEXTURE_2D, "GL_SGIS_generate_mipmap", 1, 0, 0,
         GL_UNSIGNED_BYTE},
        {TGLMinFilter::miLinearMipmapLinear, TGLTextureFormat::tfRGBA, GL_TEXTURE_2D, "GL_SGIS_generate_mipmap", 1, 0,
         1, GL_UNSIGNED_BYTE},
        {TGLMinFilter::miNearestMipmapNearest, TGLTextureFormat::tfRGBA, GL_TEXTURE_2D, "", 0, 1, 0, GL_UNSIGNED_BYTE},
        // The generated mipmaps serve plain 2D textures only.
        {TGLMinFilter::miLinearMipmapNearest, TGLTextureFormat::tfRGBA, GL_TEXTURE_CUBE_MAP_POSITIVE_X,
         "GL_SGIS_generate_mipmap", 0, 1, 0, GL_UNSIGNED_BYTE},
        {TGLMinFilter::miLinearMipmapLinear, TGLTextureFormat::tfRGBAFloat32, GL_TEXTURE_2D, "", 1, 0, 0, GL_FLOAT},
    };
    for (const auto& c : cases) {
        TTextureCallLog log(c.Extensions);
        log.Answers[GL_MAX_TEXTURE_SIZE] = {1024};
        TGLTextureParameters parameters;
        parameters.MinFilter = c.Filter;
        parameters.Format = c.Format;
        const int memory = RegisterAsOpenGLTexture(Bitmap(64, 32), c.Target, GL_RGBA8, parameters, GLCapabilities());
        const auto calls = log.Take();
        const int row = int(&c - cases);
        EXPECT_EQ(CountCalls(calls, CallText("TexImage2D %#x 0 %d 64 32 0 %#x %#x", c.Target, GL_RGBA8, GL_RGBA,
                                             c.PixelType)),
                  c.TexImages)
            << row;
        EXPECT_EQ(CountCalls(calls, "GluBuild2DMipmaps"), c.Mipmaps) << row;
        EXPECT_EQ(CountCalls(calls, CallText("TexParameteri %#x %#x 1", c.Target, GL_GENERATE_MIPMAP_SGIS)),
                  c.GenerateMipmap)
            << row;
        EXPECT_EQ(memory, -1) << "the recorder tells no compressed size";
    }
}

TEST(TextureUpload, ParametersFollowWrapFilterAndDriver)
{
    const struct {
        TGLTextureWrap Wrap;
        const char* Extensions;
        bool OpenGL12;
        GLint WrapS, WrapT;
    } cases[] = {
        {TGLTextureWrap::twBoth, "", true, GL_REPEAT, GL_REPEAT},
        {TGLTextureWrap::twNone, "", true, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE},
        {TGLTextureWrap::twVertical, "", true, GL_CLAMP_TO_EDGE, GL_REPEAT},
        {TGLTextureWrap::twHorizontal, "", true, GL_REPEAT, GL_CLAMP_TO_EDGE},
        {TGLTextureWrap::twNone, "", false, GL_CLAMP, GL_CLAMP},
        {TGLTextureWrap::twNone, "GL_EXT_texture_edge_clamp", false, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE},
    };
    for (const auto& c : cases) {
        TTextureCallLog log(c.Extensions);
        TGLCapabilities capabilities = GLCapabilities();
        capabilities.OpenGL12 = c.OpenGL12;
        TGLTextureParameters parameters;
        parameters.Wrap = c.Wrap;
        parameters.MinFilter = TGLMinFilter::miNearestMipmapLinear;
        parameters.MagFilter = TGLMagFilter::maNearest;
        SetTextureParameters(GL_TEXTURE_2D, parameters, capabilities);
        const auto calls = log.Take();
        const int row = int(&c - cases);
        EXPECT_TRUE(HasCall(calls, CallText("TexParameteri %#x %#x %d", GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, c.WrapS)))
            << row;
        EXPECT_TRUE(HasCall(calls, CallText("TexParameteri %#x %#x %d", GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, c.WrapT)))
            << row;
        EXPECT_TRUE(HasCall(calls, CallText("TexParameteri %#x %#x %d", GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                                            GL_NEAREST_MIPMAP_LINEAR)));
        EXPECT_TRUE(
            HasCall(calls, CallText("TexParameteri %#x %#x %d", GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST)));
        EXPECT_TRUE(HasCall(calls, CallText("PixelStorei %#x 4", GL_UNPACK_ALIGNMENT)));
        EXPECT_EQ(CountCalls(calls, "TexParameterf"), 0) << "no anisotropy without the extension";
    }
}

TEST(TextureUpload, AnisotropyAndFloatFiltering)
{
    TTextureCallLog log("GL_EXT_texture_filter_anisotropic");
    log.Answers[GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT] = {16};
    TGLTextureParameters parameters;
    parameters.FilteringQuality = TGLTextureFilteringQuality::tfAnisotropic;
    SetTextureParameters(GL_TEXTURE_2D, parameters, GLCapabilities());
    EXPECT_TRUE(HasCall(log.Take(), CallText("TexParameterf %#x %#x 16", GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT)));
    parameters.FilteringQuality = TGLTextureFilteringQuality::tfIsotropic;
    SetTextureParameters(GL_TEXTURE_2D, parameters, GLCapabilities());
    EXPECT_TRUE(HasCall(log.Take(), CallText("TexParameterf %#x %#x 1", GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT)));

    // Float textures clamp and take the nearest texel whatever was chosen.
    parameters.Format = TGLTextureFormat::tfRGBAFloat16;
    SetTextureParameters(GL_TEXTURE_2D, parameters, GLCapabilities());
    const auto calls = log.Take();
    EXPECT_TRUE(HasCall(calls, CallText("TexParameteri %#x %#x %d", GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST)));
    EXPECT_TRUE(
        HasCall(calls, CallText("TexParameteri %#x %#x %d", GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE)));
}

TEST(TextureUpload, InternalFormatAndCompression)
{
    const struct {
        TGLTextureFormat Format;
        TGLTextureCompression Compression;
        const char* Extensions;
        GLint Internal;
        GLenum Hint;
    } cases[] = {
        {TGLTextureFormat::tfDefault, TGLTextureCompression::tcDefault, "", GL_RGBA8, 0},
        {TGLTextureFormat::tfRGB, TGLTextureCompression::tcStandard, "", GL_RGB8, 0},
        {TGLTextureFormat::tfRGB, TGLTextureCompression::tcStandard, "GL_ARB_texture_compression",
         GL_COMPRESSED_RGB_ARB, GL_DONT_CARE},
        {TGLTextureFormat::tfRGBA, TGLTextureCompression::tcHighQuality, "GL_ARB_texture_compression",
         GL_COMPRESSED_RGBA_ARB, GL_NICEST},
        {TGLTextureFormat::tfLuminance, TGLTextureCompression::tcHighSpeed, "GL_ARB_texture_compression",
         GL_COMPRESSED_LUMINANCE_ARB, GL_FASTEST},
        {TGLTextureFormat::tfAlpha, TGLTextureCompression::tcNone, "GL_ARB_texture_compression", GL_ALPHA8, 0},
        {TGLTextureFormat::tfRGBAFloat32, TGLTextureCompression::tcStandard, "GL_ARB_texture_compression",
         GL_RGBA_FLOAT32_ATI, 0},
        {TGLTextureFormat::tfNormalMap, TGLTextureCompression::tcDefault, "GL_ARB_texture_compression", GL_RGB8, 0},
    };
    for (const auto& c : cases) {
        TTextureCallLog log(c.Extensions);
        EXPECT_EQ(OpenGLInternalFormat(c.Format, c.Compression, GLCapabilities()), c.Internal) << int(&c - cases);
        const auto calls = log.Take();
        EXPECT_EQ(HasCall(calls, CallText("Hint %#x %#x", GL_TEXTURE_COMPRESSION_HINT_ARB, c.Hint)), c.Hint != 0);
    }
}

// A texture is made and filled on its first bind, and afterwards sent again
// only as far as a change needs: parameters alone, or the picture too.
TEST(Texture, UploadsOnFirstBindAndAgainOnlyForChanges)
{
    TTextureCallLog log;
    log.Answers[GL_MAX_TEXTURE_SIZE] = {1024};
    TGLStateCache states;
    TGLTexture texture(nullptr);
    texture.SetImageClassName("TGLBlankImage");
    auto& blank = dynamic_cast<TGLBlankImage&>(texture.Image());
    blank.SetWidth(200);
    blank.SetHeight(100);
    texture.SetDisabled(false);
    const TGLTextureApplyInfo info{&states};

    texture.Apply(info);
    auto calls = log.Take();
    EXPECT_EQ(CountCalls(calls, "GenTextures"), 1);
    EXPECT_TRUE(HasCall(calls, CallText("Enable %#x", GL_TEXTURE_2D)));
    EXPECT_TRUE(HasCall(calls, CallText("BindTexture %#x 1", GL_TEXTURE_2D)));
    EXPECT_EQ(CountCalls(calls, "GluBuild2DMipmaps"), 1) << "the default filter uses mipmaps";
    EXPECT_TRUE(HasCall(calls, CallText("GluBuild2DMipmaps %#x %d 256 128 %#x %#x", GL_TEXTURE_2D, GL_RGBA8, GL_RGBA,
                                        GL_UNSIGNED_BYTE)));
    EXPECT_TRUE(HasCall(calls, CallText("TexEnvi %#x %#x %d", GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL)));
    EXPECT_EQ(texture.Changes(), 0u);

    texture.UnApply(info);
    texture.Apply(info);
    calls = log.Take();
    EXPECT_EQ(CountCalls(calls, "GenTextures") + CountCalls(calls, "TexParameteri") + CountCalls(calls, "Glu"), 0);

    texture.SetMinFilter(TGLMinFilter::miLinear);
    EXPECT_EQ(texture.Changes(), unsigned(tcParams));
    texture.Apply(info);
    calls = log.Take();
    EXPECT_EQ(CountCalls(calls, "TexParameteri"), 4);
    EXPECT_EQ(CountCalls(calls, "TexImage2D") + CountCalls(calls, "Glu"), 0) << "the picture is not sent again";

    texture.SetImageAlpha(TGLTextureImageAlpha::tiaOpaque);
    texture.Apply(info);
    calls = log.Take();
    EXPECT_EQ(CountCalls(calls, "TexImage2D"), 1);

    texture.DestroyHandles();
    EXPECT_EQ(texture.Changes(), unsigned(tcImage | tcParams));
    EXPECT_EQ(CountCalls(log.Take(), "DeleteTextures"), 1);
}

TEST(Texture, DisabledBindsNothingAndUnappliesNothing)
{
    TTextureCallLog log;
    TGLStateCache states;
    states.Enable(TGLState::stTexture2D);
    states.Enable(TGLState::stTextureRect);
    log.Take();
    TGLTexture texture(nullptr);
    ASSERT_TRUE(texture.Disabled());
    const TGLTextureApplyInfo info{&states};
    texture.Apply(info);
    texture.UnApply(info);
    EXPECT_EQ(log.Take(), (std::vector<std::string>{CallText("Disable %#x", GL_TEXTURE_2D),
                                                    CallText("Disable %#x", GL_TEXTURE_RECTANGLE_NV)}));
}

TEST(Texture, MappingModesGenerateCoordinates)
{
    const struct {
        TGLTextureMappingMode Mode;
        const char* Extensions;
        GLint Generated;
        bool R;
    } cases[] = {
        {TGLTextureMappingMode::tmmUser, "", 0, false},
        {TGLTextureMappingMode::tmmObjectLinear, "", GL_OBJECT_LINEAR, false},
        {TGLTextureMappingMode::tmmEyeLinear, "", GL_EYE_LINEAR, false},
        {TGLTextureMappingMode::tmmSphere, "", GL_SPHERE_MAP, false},
        {TGLTextureMappingMode::tmmCubeMapReflection, "GL_ARB_texture_cube_map", GL_REFLECTION_MAP_ARB, true},
        {TGLTextureMappingMode::tmmCubeMapNormal, "GL_ARB_texture_cube_map", GL_NORMAL_MAP_ARB, true},
        {TGLTextureMappingMode::tmmCubeMapNormal, "", 0, false},
    };
    for (const auto& c : cases) {
        TTextureCallLog log(c.Extensions);
        TGLStateCache states;
        TGLTexture texture(nullptr);
        texture.SetImageClassName("TGLBlankImage");
        texture.SetMappingMode(c.Mode);
        texture.SetDisabled(false);
        const TGLTextureApplyInfo info{&states};
        texture.Apply(info);
        auto calls = log.Take();
        const int row = int(&c - cases);
        EXPECT_EQ(CountCalls(calls, CallText("TexGeni %#x %#x %d", GL_S, GL_TEXTURE_GEN_MODE, c.Generated)),
                  c.Generated != 0 ? 1 : 0)
            << row;
        EXPECT_EQ(HasCall(calls, CallText("Enable %#x", GL_TEXTURE_GEN_T)), c.Generated != 0) << row;
        EXPECT_EQ(HasCall(calls, CallText("Enable %#x", GL_TEXTURE_GEN_R)), c.R) << row;
        const bool planes = c.Mode == TGLTextureMappingMode::tmmObjectLinear;
        EXPECT_EQ(HasCall(calls, CallText("TexGenfv %#x %#x 1 0 0 0", GL_S, GL_OBJECT_PLANE)), planes) << row;
        texture.UnApply(info);
        calls = log.Take();
        EXPECT_EQ(HasCall(calls, CallText("Disable %#x", GL_TEXTURE_GEN_S)), c.Generated != 0) << row;
    }
}

// A cube is uploaded face by face, and only when its six faces are squares
// of one size.
TEST(Texture, CubeMapsUploadSixSquareFacesOrNothing)
{
    for (const bool square : {true, false}) {
        TTextureCallLog log("GL_ARB_texture_cube_map");
        log.Answers[GL_MAX_TEXTURE_SIZE] = {1024};
        TGLStateCache states;
        TGLTexture texture(nullptr);
        texture.SetImageClassName("TGLCubeMapImage");
        texture.SetMinFilter(TGLMinFilter::miLinear);
        auto& cube = dynamic_cast<TGLCubeMapImage&>(texture.Image());
        QImage face(8, 8, QImage::Format_RGB32);
        face.fill(Qt::red);
        for (int i = 0; i < 6; ++i)
            cube.SetPicture(TGLCubeMapTarget(i), face);
        if (!square)
            cube.SetPicture(TGLCubeMapTarget::cmtNZ, QImage(8, 4, QImage::Format_RGB32));
        texture.SetDisabled(false);
        texture.Apply({&states});
        const auto calls = log.Take();
        EXPECT_TRUE(HasCall(calls, CallText("Enable %#x", GL_TEXTURE_CUBE_MAP_ARB)));
        EXPECT_EQ(CountCalls(calls, "TexImage2D"), square ? 6 : 0);
        for (GLenum target = GL_TEXTURE_CUBE_MAP_POSITIVE_X_ARB; target <= GL_TEXTURE_CUBE_MAP_NEGATIVE_Z_ARB; ++target)
            EXPECT_EQ(HasCall(calls, CallText("TexImage2D %#x 0 %d 8 8 0 %#x %#x", target, GL_RGBA8, GL_RGBA,
                                              GL_UNSIGNED_BYTE)),
                      square);
    }
}

// The cube-map mappings load a texture matrix while applied, from the view
// (or from the first light), and the unapply puts the identity back.
TEST(Texture, CubeMapMappingsLoadTheirTextureMatrixAndResetIt)
{
    const TGLTextureMappingMode modes[] = {
        TGLTextureMappingMode::tmmCubeMapReflection, TGLTextureMappingMode::tmmCubeMapNormal,
        TGLTextureMappingMode::tmmCubeMapLight0, TGLTextureMappingMode::tmmCubeMapCamera,
        TGLTextureMappingMode::tmmSphere};
    for (const TGLTextureMappingMode mode : modes) {
        TTextureCallLog log("GL_ARB_texture_cube_map");
        TGLStateCache states;
        TGLTexture texture(nullptr);
        texture.SetImageClassName("TGLCubeMapImage");
        texture.SetMappingMode(mode);
        texture.SetDisabled(false);
        texture.Apply({&states});
        auto calls = log.Take();
        const bool cubeMode = mode != TGLTextureMappingMode::tmmSphere;
        const bool light = mode == TGLTextureMappingMode::tmmCubeMapLight0;
        EXPECT_EQ(CountCalls(calls, "LoadMatrixf"), cubeMode ? 1 : 0) << int(mode);
        EXPECT_EQ(HasCall(calls, CallText("GetLightfv %#x %#x", GL_LIGHT0, GL_POSITION)), light) << int(mode);
        EXPECT_EQ(HasCall(calls, CallText("GetFloatv %#x", GL_MODELVIEW_MATRIX)), cubeMode && !light) << int(mode);
        texture.UnApply({&states});
        calls = log.Take();
        EXPECT_TRUE(HasCall(calls, CallText("Disable %#x", GL_TEXTURE_CUBE_MAP_ARB))) << int(mode);
        EXPECT_EQ(CountCalls(calls, "LoadIdentity"), cubeMode ? 1 : 0) << int(mode);
    }
}

class TMaterialStandIn : public TGLNotifyObject, public TGLTextureMappingOwner {
public:
    void NotifyTexMapChange(TGLNotifyObject*) override { ++TexMapChanges; }
    int TexMapChanges = 0;
};

TEST(Texture, ChangesReachTheOwnerAndSetTheRightFlag)
{
    TTextureCallLog log;
    TMaterialStandIn material;
    TGLTexture texture(&material);
    int changes = 0;
    texture.OnNotifyChange = [&](TGLNotifyObject&) { ++changes; };
    texture.SetDisabled(false);
    texture.SetDisabled(false);
    EXPECT_EQ(material.TexMapChanges, 1) << "switching on is a change of texture mapping";

    const struct {
        std::function<void()> Change;
        unsigned Flags;
    } cases[] = {
        {[&] { texture.SetImageGamma(2); }, tcImage},
        {[&] { texture.SetImageBrightness(0.5f); }, tcImage},
        {[&] { texture.SetImageClassName("TGLCubeMapImage"); }, tcImage},
        {[&] { texture.SetTextureWrap(TGLTextureWrap::twNone); }, tcParams},
        {[&] { texture.SetCompression(TGLTextureCompression::tcHighSpeed); }, tcParams},
        {[&] { texture.EnvColor().SetRed(1); }, tcParams},
        // Only a normal map is made with the scale.
        {[&] { texture.SetNormalMapScale(0.5f); }, 0},
        {[&] { texture.SetTextureFormat(TGLTextureFormat::tfNormalMap); }, tcParams},
        {[&] { texture.SetNormalMapScale(0.25f); }, tcImage},
        {[&] { texture.SetImageClassName("TGLNoSuchImage"); }, 0},
    };
    for (const auto& c : cases) {
        texture.DestroyHandles();
        // The flags of a texture without its object are all set: start from none.
        TGLStateCache states;
        texture.Handle(states);
        ASSERT_EQ(texture.Changes(), 0u);
        c.Change();
        EXPECT_EQ(texture.Changes(), c.Flags) << int(&c - cases);
    }
    EXPECT_EQ(texture.ImageClassName(), "TGLCubeMapImage");
    EXPECT_GT(changes, 0);
}

} // namespace
