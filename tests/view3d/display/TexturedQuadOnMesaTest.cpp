#include <QColor>
#include <QImage>
#include <gtest/gtest.h>

#include "view3d/context/GLQtContext.h"
#include "view3d/context/MemoryRender.h"
#include "view3d/opengl/GLFunctions.h"
#include "view3d/opengl/GLStateCache.h"
#include "view3d/texture/Texture.h"

#include "support/PicturesOnMesa.h"

namespace {

// A picture of four coloured quarters, of a size that is no power of two,
// so that the upload rescales it (its width a multiple of 4, which the
// bitmap takes without padding).
QImage Quarters()
{
    QImage picture(36, 20, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const bool left = x < 18;
            const bool top = y < 10;
            picture.setPixel(x, y, top ? (left ? qRgb(255, 0, 0) : qRgb(0, 255, 0))
                                       : (left ? qRgb(0, 0, 255) : qRgb(255, 255, 255)));
        }
    return picture;
}

// One quad over the middle of the frame, its texture coordinates given by hand.
class TTexturedQuadFrame : public TClearedFrame {
public:
    explicit TTexturedQuadFrame(TGLTexture& texture) : Texture(texture) {}

    void RenderFrame() override
    {
        BeginFrame();
        TGLStateCache states;
        states.ResetAll();
        const TGLTextureApplyInfo info{&states};
        Texture.Apply(info);
        GL().Begin(GL_QUADS);
        GL().TexCoord2f(0, 0);
        GL().Vertex2f(-0.5f, -0.5f);
        GL().TexCoord2f(1, 0);
        GL().Vertex2f(0.5f, -0.5f);
        GL().TexCoord2f(1, 1);
        GL().Vertex2f(0.5f, 0.5f);
        GL().TexCoord2f(0, 1);
        GL().Vertex2f(-0.5f, 0.5f);
        GL().End();
        Texture.UnApply(info);
        EnabledAfterUnapply = GL().IsEnabled(GL_TEXTURE_2D) == GL_TRUE;
        Texture.DestroyHandles();
    }

    bool EnabledAfterUnapply = true;

private:
    TGLTexture& Texture;
};

TEST(TexturedQuadOnMesa, APictureOfNoPowerOfTwoIsDrawnUprightOnTheQuad)
{
    TGLTexture texture(nullptr);
    texture.AssignPicture(Quarters());
    texture.SetTextureMode(TGLTextureMode::tmReplace);
    texture.SetMagFilter(TGLMagFilter::maNearest);
    texture.SetDisabled(false);
    TTexturedQuadFrame frame(texture);
    TGLQtContext context;
    context.SetDepthBits(24);
    const QImage image = RenderToImage(context, frame, 160, 120);
    ASSERT_EQ(image.size(), QSize(160, 120));
    SavePicture(image, "textured-quad.png");

    // The quad spans x 40..120 and y 30..90; each quarter is sampled at its middle.
    ExpectSamples(image,
                  {
        {60, 45, QColor(255, 0, 0)},   {100, 45, QColor(0, 255, 0)},   {60, 75, QColor(0, 0, 255)},
        {100, 75, QColor(255, 255, 255)}, {117, 45, QColor(0, 255, 0)}, {10, 10, QColor(51, 51, 51)},
        {150, 110, QColor(51, 51, 51)},
                  },
                  8);
    EXPECT_FALSE(frame.EnabledAfterUnapply);
    EXPECT_EQ(texture.Changes(), unsigned(tcImage | tcParams)) << "freed, so made again on the next bind";
}

} // namespace
