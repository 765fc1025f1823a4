#include <QColor>
#include <QImage>
#include <gtest/gtest.h>

#include "view3d/context/GLQtContext.h"
#include "view3d/context/MemoryRender.h"
#include "view3d/material/LibMaterial.h"
#include "view3d/material/MaterialLibrary.h"
#include "view3d/material/RenderContextInfo.h"
#include "view3d/opengl/GLFunctions.h"
#include "view3d/opengl/GLStateCache.h"
#include "view3d/opengl/TextureCoordinateDispatch.h"

#include "support/PicturesOnMesa.h"

namespace {

// A picture in two halves, split across or down.
QImage Halves(bool leftRight, QRgb first, QRgb second)
{
    QImage picture(32, 32, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, (leftRight ? x : y) < 16 ? first : second);
    return picture;
}

// One unlit quad over the middle of the frame in the material, its texture
// coordinates sent to both units.
class TMaterialQuadFrame : public TClearedFrame {
public:
    explicit TMaterialQuadFrame(TGLMaterial& material) : Material(material) {}

    void RenderFrame() override
    {
        BeginFrame();
        TGLStateCache states;
        states.ResetAll();
        TRenderContextInfo rci;
        rci.GLStates = &states;
        Material.PrepareBuildList();
        Material.Apply(rci);
        XGL().MapTexCoordToDual();
        GL().Begin(GL_QUADS);
        const float corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        for (const auto& corner : corners) {
            XGL().TexCoord2f(corner[0], corner[1]);
            GL().Vertex2f(corner[0] - 0.5f, corner[1] - 0.5f);
        }
        GL().End();
        XGL().MapTexCoordToNull();
        Material.Unapply(rci);
        GL().ActiveTexture(GL_TEXTURE1);
        SecondUnitEnabledAfterUnapply = GL().IsEnabled(GL_TEXTURE_2D) == GL_TRUE;
        GL().ActiveTexture(GL_TEXTURE0);
    }

    bool SecondUnitEnabledAfterUnapply = true;

private:
    TGLMaterial& Material;
};

// The wall is white on the left and red on the right; its second texture,
// white above grey, is moved half a picture up by its material's offset, so
// the quad shows grey above white, times the wall.
TEST(SecondTextureOnMesa, TheSecondTextureModulatesTheFirstWhereItsOffsetPlacesIt)
{
    TGLMaterialLibrary library;
    TGLLibMaterial& wall = library.AddTextureMaterial("Wall", Halves(true, qRgb(255, 255, 255), qRgb(255, 0, 0)));
    wall.Material().SetMaterialOptions(moNoLighting);
    wall.Material().FrontProperties().Diffuse().SetColor({1.0f, 1.0f, 1.0f, 1.0f});
    wall.Material().ExistingTexture()->SetMinFilter(TGLMinFilter::miNearest);
    TGLLibMaterial& dirt = library.AddTextureMaterial("Dirt", Halves(false, qRgb(255, 255, 255), qRgb(128, 128, 128)));
    dirt.Material().ExistingTexture()->SetMinFilter(TGLMinFilter::miNearest);
    dirt.TextureOffset().SetY(0.5f);
    wall.SetTexture2Name("Dirt");
    TGLMaterial material(nullptr);
    material.SetMaterialLibrary(&library);
    material.SetLibMaterialName("Wall");

    TMaterialQuadFrame frame(material);
    TGLQtContext context;
    context.SetDepthBits(24);
    const QImage image = RenderToImage(context, frame, 160, 120);
    ASSERT_EQ(image.size(), QSize(160, 120));
    SavePicture(image, "second-texture-quad.png");

    // The quad spans x 40..120 and y 30..90.
    ExpectSamples(image,
                  {
        {60, 45, QColor(128, 128, 128)}, {100, 45, QColor(128, 0, 0)}, {60, 75, QColor(255, 255, 255)},
        {100, 75, QColor(255, 0, 0)},    {10, 10, QColor(51, 51, 51)},
                  },
                  8);
    EXPECT_FALSE(frame.SecondUnitEnabledAfterUnapply);
}

} // namespace
