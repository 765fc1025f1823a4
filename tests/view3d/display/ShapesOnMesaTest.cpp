#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>

#include "support/PicturesOnMesa.h"
#include "view3d/context/GLFrameRenderer.h"
#include "view3d/context/GLQtContext.h"
#include "view3d/context/MemoryRender.h"
#include "view3d/material/RenderContextInfo.h"
#include "view3d/objects/Annulus.h"
#include "view3d/objects/ArrowLine.h"
#include "view3d/objects/Cone.h"
#include "view3d/objects/Cylinder.h"
#include "view3d/objects/Disk.h"
#include "view3d/objects/Frustrum.h"
#include "view3d/objects/HeightField.h"
#include "view3d/objects/Polygon.h"
#include "view3d/objects/Torus.h"
#include "view3d/objects/XYZGrid.h"
#include "view3d/opengl/GLFunctions.h"
#include "view3d/opengl/GLStateCache.h"
#include "view3d/texture/Texture.h"

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 360;
// The view shows x in [-2.4, 2.4] and y in [-1.8, 1.8]: three rows of three
// cells, 1.5 apart.
constexpr float kHalfHeight = 2.25f;
constexpr Vector4f kBackground{0.1f, 0.1f, 0.2f, 1};

// Every shape in a cell of its own, seen from +Z in parallel projection
// with one white light over the viewer's shoulder. The textured object is
// drawn with the texture bound around it.
class TShapesFrame : public TGLFrameRenderer {
public:
    std::vector<std::unique_ptr<TGLBaseSceneObject>> Objects;
    TGLBaseSceneObject* Textured = nullptr;
    TGLTexture* Texture = nullptr;

    void Resize(int width, int height) override
    {
        Width = width;
        Height = height;
    }

    void RenderFrame() override
    {
        const float aspect = float(Width) / float(Height);
        GL().Viewport(0, 0, Width, Height);
        GL().ClearColor(kBackground.X, kBackground.Y, kBackground.Z, kBackground.W);
        GL().Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        GL().MatrixMode(GL_PROJECTION);
        GL().LoadIdentity();
        GL().Ortho(-kHalfHeight * aspect, kHalfHeight * aspect, -kHalfHeight, kHalfHeight, -10, 10);
        GL().MatrixMode(GL_MODELVIEW);
        GL().LoadIdentity();
        const float lightDirection[4] = {0.3f, 0.5f, 1.0f, 0.0f};
        const float white[4] = {1, 1, 1, 1};
        GL().Lightfv(GL_LIGHT0, GL_POSITION, lightDirection);
        GL().Lightfv(GL_LIGHT0, GL_DIFFUSE, white);
        GL().Enable(GL_LIGHT0);
        GL().Enable(GL_NORMALIZE);
        States.ResetAll();
        States.Enable(TGLState::stDepthTest);
        States.Enable(TGLState::stLighting);
        TRenderContextInfo rci;
        rci.GLStates = &States;
        rci.ObjectsSorting = TGLObjectsSorting::osNone;
        rci.BufferDepthTest = true;
        const TGLTextureApplyInfo textureInfo{&States};
        for (const auto& object : Objects) {
            const bool textured = object.get() == Textured && Texture != nullptr;
            if (textured)
                Texture->Apply(textureInfo);
            object->RenderObject(rci);
            if (textured)
                Texture->UnApply(textureInfo);
        }
        if (Texture != nullptr)
            Texture->DestroyHandles();
    }

private:
    TGLStateCache States;
    int Width = 1;
    int Height = 1;
};

template <typename T>
T& AddShape(TShapesFrame& frame, int column, int row, const Vector4f& color)
{
    auto shape = std::make_unique<T>();
    T& result = *shape;
    result.SetPosition({(column - 1) * 1.5f, (1 - row) * 1.5f, 0, 1});
    result.Material().FrontProperties().Diffuse().SetColor(color);
    result.Material().FrontProperties().Ambient().SetColor({color.X * 0.3f, color.Y * 0.3f, color.Z * 0.3f, 1});
    frame.Objects.push_back(std::move(shape));
    return result;
}

void AddNode(TGLPolygon& polygon, float x, float y)
{
    TGLNode& node = polygon.Nodes().AddNode();
    node.SetX(x);
    node.SetY(y);
}

// Where a point of the scene lands in the picture.
QPoint Pixel(float x, float y)
{
    const float scale = kHeight / (2 * kHalfHeight);
    return {int(kWidth / 2 + x * scale), int(kHeight / 2 - y * scale)};
}

QPoint CellPixel(int column, int row, float dx = 0, float dy = 0)
{
    return Pixel((column - 1) * 1.5f + dx, (1 - row) * 1.5f + dy);
}

// What a sample should show: the background exactly, black, or a lit
// colour whose channels at 1 stand clearly above those at 0 (a channel in
// between is not checked).
const Vector4f kBlack{0, 0, 0, 1};

bool LooksLike(const QColor& c, const Vector4f& want)
{
    const int channels[3] = {c.red(), c.green(), c.blue()};
    const float wanted[3] = {want.X, want.Y, want.Z};
    const bool background = want.X == kBackground.X && want.Y == kBackground.Y && want.Z == kBackground.Z;
    const bool black = want.X + want.Y + want.Z == 0;
    const int brightest = std::max({channels[0], channels[1], channels[2]});
    bool same = true;
    for (int i = 0; i < 3; ++i) {
        if (background)
            same = same && std::abs(channels[i] - int(wanted[i] * 255 + 0.5f)) <= 2;
        else if (black)
            same = same && channels[i] < 30;
        else if (wanted[i] == 1)
            same = same && channels[i] > 60;
        else if (wanted[i] == 0)
            same = same && channels[i] < brightest / 2;
    }
    return same;
}

TEST(ShapesOnMesa, EveryShapeAndAHeightFieldShowInTheirCells)
{
    TShapesFrame frame;
    auto& disk = AddShape<TGLDisk>(frame, 0, 0, {1, 0, 0, 1});
    disk.SetSweepAngle(270); // the quarter from -X to +Y is left open
    auto& cone = AddShape<TGLCone>(frame, 1, 0, {0, 1, 0, 1});
    cone.SetPitchAngle(-20);
    auto& cylinder = AddShape<TGLCylinder>(frame, 2, 0, {0, 0, 1, 1});
    cylinder.SetTopRadius(0.3f);
    cylinder.SetPitchAngle(-30);
    auto& annulus = AddShape<TGLAnnulus>(frame, 0, 1, {1, 1, 0, 1});
    annulus.SetHeight(0.4f);
    annulus.SetPitchAngle(-70);
    auto& torus = AddShape<TGLTorus>(frame, 1, 1, {0, 1, 1, 1});
    torus.SetMajorRadius(0.45f);
    torus.SetMinorRadius(0.15f);
    auto& arrow = AddShape<TGLArrowLine>(frame, 2, 1, {1, 0, 1, 1});
    arrow.SetParts({true, true, true});
    arrow.SetDirection({1, 0, 0, 0}); // pointing right
    arrow.SetHeight(0.6f);
    arrow.SetTopArrowHeadHeight(0.3f);
    arrow.SetBottomArrowHeadHeight(0.3f);
    auto& frustrum = AddShape<TGLFrustrum>(frame, 0, 2, {1, 0.5f, 0, 1});
    frustrum.SetPitchAngle(-25);
    frustrum.SetTurnAngle(30);
    auto& polygon = AddShape<TGLPolygon>(frame, 1, 2, {0.8f, 0.8f, 0.8f, 1});
    // An L: the tessellator must cope with the concave corner.
    for (const auto& [x, y] : std::vector<std::pair<float, float>>{
             {-0.5f, -0.5f}, {0.5f, -0.5f}, {0.5f, -0.1f}, {-0.1f, -0.1f}, {-0.1f, 0.5f}, {-0.5f, 0.5f}})
        AddNode(polygon, x, y);
    auto& field = AddShape<TGLHeightField>(frame, 2, 2, {1, 1, 1, 1});
    field.XSamplingScale().SetMin(-0.6f);
    field.XSamplingScale().SetMax(0.6f);
    field.XSamplingScale().SetStep(0.05f);
    field.YSamplingScale().SetMin(-0.6f);
    field.YSamplingScale().SetMax(0.6f);
    field.YSamplingScale().SetStep(0.05f);
    field.SetPitchAngle(50);
    field.SetColorMode(THeightFieldColorMode::hfcmAmbientAndDiffuse);
    field.SetOptions({true, true});
    // Coloured by height: low blue, high red.
    field.SetOnGetHeight([](float x, float y, float& z, Vector4f& color, TTexPoint& texPoint) {
        BuiltInHeight(x, y, z, color, texPoint);
        const float t = std::clamp(z + 0.5f, 0.0f, 1.0f);
        color = {t, 0.2f, 1 - t, 1};
    });

    // A texture white on the left half, black on the right: it darkens the
    // right half of the field, if the texture points arrive.
    QImage halves(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            halves.setPixel(x, y, x < 4 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    TGLTexture texture(nullptr);
    texture.AssignPicture(halves);
    texture.SetTextureMode(TGLTextureMode::tmModulate);
    texture.SetMagFilter(TGLMagFilter::maNearest);
    texture.SetDisabled(false);
    frame.Textured = &field;
    frame.Texture = &texture;

    // A grid behind the polygon, seen through its notch.
    auto grid = std::make_unique<TGLXYZGrid>();
    grid->SetPosition({0, -1.5f, -1, 1});
    for (TGLSamplingScale* scale : {&grid->XSamplingScale(), &grid->YSamplingScale()}) {
        scale->SetMin(-0.7f);
        scale->SetMax(0.7f);
        scale->SetStep(0.35f);
    }
    grid->SetLineWidth(3);
    frame.Objects.push_back(std::move(grid));

    TGLQtContext context;
    context.SetDepthBits(24);
    const QImage image = RenderToImage(context, frame, kWidth, kHeight);
    ASSERT_EQ(image.size(), QSize(kWidth, kHeight));
    EXPECT_TRUE(SavePicture(image, "shapes.png"));

    struct Sample {
        std::string What;
        QPoint Where;
        Vector4f Expected;
    };
    const Sample samples[] = {
        {"corner", {2, 2}, kBackground},
        {"disk", CellPixel(0, 0, 0.25f, -0.25f), {1, 0, 0, 1}},
        {"disk's open quarter", CellPixel(0, 0, -0.25f, 0.25f), kBackground},
        {"cone", CellPixel(1, 0, 0, -0.2f), {0, 1, 0, 1}},
        {"above the cone's point", CellPixel(1, 0, 0, 0.65f), kBackground},
        {"cylinder", CellPixel(2, 0), {0, 0, 1, 1}},
        {"annulus wall", CellPixel(0, 1, 0.4f, 0), {1, 1, 0, 1}},
        {"torus ring", CellPixel(1, 1, 0.45f, 0), {0, 1, 1, 1}},
        {"torus hole", CellPixel(1, 1), kBackground},
        {"arrow line", CellPixel(2, 1), {1, 0, 1, 1}},
        {"arrow's right head", CellPixel(2, 1, 0.45f, 0), {1, 0, 1, 1}},
        {"beyond the arrow's tip", CellPixel(2, 1, 0.7f, 0), kBackground},
        {"frustrum", CellPixel(0, 2), {1, 0.5f, 0, 1}},
        {"polygon", CellPixel(1, 2, -0.3f, 0.3f), {1, 1, 1, 1}},
        {"polygon's notch", CellPixel(1, 2, 0.2f, 0.2f), kBackground},
        {"grid crossing in the notch", CellPixel(1, 2, 0.35f, 0.35f), {1, 1, 1, 1}},
        {"height field's peak", CellPixel(2, 2, -0.1f, 0.2f), {1, 0, 0, 1}},
        {"height field under the black half", CellPixel(2, 2, 0.3f, 0.2f), kBlack},
    };
    for (const Sample& s : samples) {
        const QColor c = image.pixelColor(s.Where);
        EXPECT_TRUE(LooksLike(c, s.Expected)) << s.What << " at " << s.Where.x() << "," << s.Where.y() << " is "
                                              << c.name().toStdString();
    }
}

} // namespace
