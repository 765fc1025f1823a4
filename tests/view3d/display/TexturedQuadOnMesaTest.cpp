#include <filesystem>

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>

#include "view3d/context/GLFrameRenderer.h"
#include "view3d/context/GLQtContext.h"
#include "view3d/context/MemoryRender.h"
#include "view3d/opengl/GLFunctions.h"
#include "view3d/opengl/GLStateCache.h"
#include "view3d/texture/Texture.h"

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
class TTexturedQuadFrame : public TGLFrameRenderer {
public:
    explicit TTexturedQuadFrame(TGLTexture& texture) : Texture(texture) {}

    void Resize(int width, int height) override
    {
        Width = width;
        Height = height;
    }

    void RenderFrame() override
    {
        GL().Viewport(0, 0, Width, Height);
        GL().ClearColor(0.2f, 0.2f, 0.2f, 1.0f);
        GL().Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        GL().MatrixMode(GL_PROJECTION);
        GL().LoadIdentity();
        GL().MatrixMode(GL_MODELVIEW);
        GL().LoadIdentity();
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
    int Width = 1;
    int Height = 1;
};

bool Near(const QColor& got, const QColor& want)
{
    return std::abs(got.red() - want.red()) <= 8 && std::abs(got.green() - want.green()) <= 8 &&
           std::abs(got.blue() - want.blue()) <= 8;
}

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
    const auto dir = std::filesystem::path(KESTRO_TEST_OUTPUT_DIR);
    std::filesystem::create_directories(dir);
    image.save(QString::fromStdString((dir / "textured-quad.png").string()));

    // The quad spans x 40..120 and y 30..90; each quarter is sampled at its middle.
    const struct {
        int X, Y;
        QColor Colour;
    } samples[] = {
        {60, 45, QColor(255, 0, 0)},   {100, 45, QColor(0, 255, 0)},   {60, 75, QColor(0, 0, 255)},
        {100, 75, QColor(255, 255, 255)}, {117, 45, QColor(0, 255, 0)}, {10, 10, QColor(51, 51, 51)},
        {150, 110, QColor(51, 51, 51)},
    };
    for (const auto& s : samples) {
        const QColor got = image.pixelColor(s.X, s.Y);
        EXPECT_TRUE(Near(got, s.Colour)) << s.X << "," << s.Y << ": " << got.name().toStdString() << " for "
                                         << s.Colour.name().toStdString();
    }
    EXPECT_FALSE(frame.EnabledAfterUnapply);
    EXPECT_EQ(texture.Changes(), unsigned(tcImage | tcParams)) << "freed, so made again on the next bind";
}

} // namespace
