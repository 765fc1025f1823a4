#include <cmath>

#include <gtest/gtest.h>

#include "view3d/maths/MatrixGeometry.h"
#include "view3d/scene/CameraProjection.h"

namespace {

TGLCameraLens Orthogonal(float focalLength, float sceneScale)
{
    return {.Style = TGLCameraStyle::csOrthogonal, .FocalLength = focalLength, .SceneScale = sceneScale};
}

// The zoom commands rely on it: with focal length 1 the larger side of the
// window spans 100 / SceneScale world units, and the other keeps the aspect.
TEST(CameraProjection, OrthogonalLargerSideSpansHundredOverSceneScale)
{
    struct Case {
        int Width, Height;
        float SceneScale;
        float SpanX, SpanY;
    };
    const Case cases[] = {
        {1024, 768, 1.0f, 100.0f, 75.0f},
        {1024, 768, 2.0f, 50.0f, 37.5f},
        {300, 600, 1.0f, 50.0f, 100.0f},
        {500, 500, 0.25f, 400.0f, 400.0f},
    };
    for (const Case& c : cases) {
        const TGLProjectionBounds b =
            ProjectionBounds(Orthogonal(1.0f, c.SceneScale), {0, 0, c.Width, c.Height}, c.Width, c.Height, 96.0f);
        EXPECT_FLOAT_EQ(b.Right - b.Left, c.SpanX) << c.Width << "x" << c.Height << " scale " << c.SceneScale;
        EXPECT_FLOAT_EQ(b.Top - b.Bottom, c.SpanY) << c.Width << "x" << c.Height << " scale " << c.SceneScale;
        EXPECT_FLOAT_EQ(b.Right, -b.Left);
        EXPECT_FLOAT_EQ(b.Top, -b.Bottom);
    }
}

TEST(CameraProjection, NearPlaneFollowsFocalLengthAndDpiAndFarAddsTheDepthOfView)
{
    const TGLCameraLens lens{.FocalLength = 50.0f, .NearPlaneBias = 2.0f, .DepthOfView = 300.0f};
    const TGLProjectionBounds b = ProjectionBounds(lens, {0, 0, 400, 800}, 400, 800, 96.0f);
    const float near = 50.0f * 2.0f * 96.0f / (800.0f * 25.4f) * 2.0f;
    EXPECT_FLOAT_EQ(b.Near, near);
    EXPECT_FLOAT_EQ(b.Far, near + 300.0f);
    // Perspective: half the window's share of the larger side, at the near-plane bias.
    EXPECT_FLOAT_EQ(b.Right, 400.0f * 2.0f / (2.0f * 800.0f));
    EXPECT_FLOAT_EQ(b.Top, 800.0f * 2.0f / (2.0f * 800.0f));
}

// A part of the window sees the matching slice of the whole window's view,
// for every style that has bounds.
TEST(CameraProjection, AViewPortSeesItsSliceOfTheWindow)
{
    const int width = 640;
    const int height = 480;
    const TGLViewPort part{100, 60, 200, 120};
    for (const TGLCameraLens& lens : {Orthogonal(1.0f, 1.0f), Orthogonal(3.0f, 0.5f), TGLCameraLens{},
                                      TGLCameraLens{.Style = TGLCameraStyle::csInfinitePerspective, .SceneScale = 4.0f}}) {
        const TGLProjectionBounds all = ProjectionBounds(lens, {0, 0, width, height}, width, height, 96.0f);
        const TGLProjectionBounds slice = ProjectionBounds(lens, part, width, height, 96.0f);
        const float perPixelX = (all.Right - all.Left) / width;
        const float perPixelY = (all.Top - all.Bottom) / height;
        EXPECT_NEAR(slice.Left, all.Left + perPixelX * part.Left, 1e-5f);
        EXPECT_NEAR(slice.Right, all.Left + perPixelX * (part.Left + part.Width), 1e-5f);
        EXPECT_NEAR(slice.Bottom, all.Bottom + perPixelY * part.Top, 1e-5f);
        EXPECT_NEAR(slice.Top, all.Bottom + perPixelY * (part.Top + part.Height), 1e-5f);
        EXPECT_FLOAT_EQ(slice.Near, all.Near);
    }
}

// The near plane maps to depth -1, and the farthest point stays just inside 1.
TEST(CameraProjection, InfinitePerspectiveKeepsEveryDistanceInsideTheDepthRange)
{
    const TGLProjectionBounds b{.Left = -2.0f, .Right = 1.0f, .Bottom = -1.0f, .Top = 3.0f, .Near = 0.5f, .Far = 9.0f};
    const Matrix4f m = InfinitePerspectiveMatrix(b);
    const auto depth = [&](float z) {
        const Vector4f clip = VectorTransform(Vector4f{0.0f, 0.0f, z, 1.0f}, m);
        return clip.Z / clip.W;
    };
    EXPECT_NEAR(depth(-0.5f), -1.0f, 1e-5f);
    EXPECT_LT(depth(-1e6f), 1.0f);
    EXPECT_GT(depth(-1e6f), 0.999f);
    // The near rectangle's corners land on the corners of the screen.
    const Vector4f corner = VectorTransform(Vector4f{b.Right, b.Top, -b.Near, 1.0f}, m);
    EXPECT_NEAR(corner.X / corner.W, 1.0f, 1e-5f);
    EXPECT_NEAR(corner.Y / corner.W, 1.0f, 1e-5f);
    EXPECT_FLOAT_EQ(ViewPortRadius(b), std::hypot(3.0f, 1.0f) / 0.5f);
}

TEST(CameraProjection, FieldOfViewAndFocalLengthAreInverse)
{
    EXPECT_FLOAT_EQ(FieldOfViewOf(50.0f, 100.0f), 90.0f);
    EXPECT_FLOAT_EQ(FieldOfViewOf(0.0f, 100.0f), 0.0f);
    EXPECT_FLOAT_EQ(FocalLengthFor(90.0f, 100.0f), 50.0f);
    for (const float fov : {10.0f, 45.0f, 120.0f})
        EXPECT_NEAR(FieldOfViewOf(FocalLengthFor(fov, 768.0f), 768.0f), fov, 1e-3f) << fov;
}

TEST(CameraProjection, ScreenDragMovesAcrossAndAlongTheHorizontalView)
{
    struct Case {
        Vector4f View;
        int Dx, Dy;
        float Ratio;
        Vector4f Expected;
    };
    const Case cases[] = {
        // Looking along +Y: right is +X, forward is +Y; the length of the view does not matter.
        {{0, 10, -5, 0}, 1, 0, 0.5f, {0.5f, 0, 0, 0}},
        {{0, 10, -5, 0}, 0, 2, 0.5f, {0, 1.0f, 0, 0}},
        // Looking along -X: right is +Y.
        {{-4, 0, 0, 0}, 3, 0, 1.0f, {0, 3.0f, 0, 0}},
        // Straight down there is no horizontal direction to follow.
        {{0, 0, -7, 0}, 3, 4, 1.0f, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const Vector4f v = ScreenDeltaToWorldVector(c.View, c.Dx, c.Dy, c.Ratio);
        EXPECT_NEAR(v.X, c.Expected.X, 1e-6f) << c.Dx << "," << c.Dy;
        EXPECT_NEAR(v.Y, c.Expected.Y, 1e-6f) << c.Dx << "," << c.Dy;
        EXPECT_EQ(v.Z, 0.0f);
        EXPECT_EQ(v.W, 0.0f);
    }
}

} // namespace
