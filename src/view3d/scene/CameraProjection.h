#pragma once

// The camera's numbers, apart from OpenGL: the six bounds of the projection
// for a viewport, the field of view, and a screen drag as a world vector.
// The camera sends the results to OpenGL; tests read them directly.

#include <cstdint>

#include "view3d/maths/VectorTypes.h"

enum class TGLCameraStyle : std::uint8_t { csPerspective, csOrthogonal, csOrtho2D, csCustom, csInfinitePerspective };

// The part of the window drawn into, in pixels.
struct TGLViewPort {
    int Left = 0;
    int Top = 0;
    int Width = 1;
    int Height = 1;
};

// What the projection depends on besides the viewport.
struct TGLCameraLens {
    TGLCameraStyle Style = TGLCameraStyle::csPerspective;
    float FocalLength = 50.0f;
    float SceneScale = 1.0f;
    float NearPlaneBias = 1.0f;
    float DepthOfView = 100.0f;
};

struct TGLProjectionBounds {
    float Left = 0.0f;
    float Right = 0.0f;
    float Bottom = 0.0f;
    float Top = 0.0f;
    float Near = 0.0f;
    float Far = 0.0f;
};

// For the perspective, orthogonal and infinite styles: the frustum or box of a
// window of width x height whose part `viewPort` is drawn. In the orthogonal
// style with focal length 1 the larger window side spans 100 / SceneScale.
TGLProjectionBounds ProjectionBounds(const TGLCameraLens& lens, const TGLViewPort& viewPort, int width, int height,
                                     float dpi);

// The projection with the far plane at infinity, in OpenGL's column order.
Matrix4f InfinitePerspectiveMatrix(const TGLProjectionBounds& bounds);

// How far the frustum reaches sideways at unit distance: the radius the
// camera-facing objects size themselves by.
float ViewPortRadius(const TGLProjectionBounds& bounds);

// In degrees; 0 when the focal length is 0.
float FieldOfViewOf(float focalLength, float viewportDimension);
float FocalLengthFor(float fieldOfView, float viewportDimension);

// A drag of (dx, dy) pixels as a vector in the world's XY plane: dx along the
// view's horizontal right-hand side, dy along the horizontal viewing
// direction. `viewVector` points from the eye towards what it looks at.
Vector4f ScreenDeltaToWorldVector(const Vector4f& viewVector, int dx, int dy, float ratio);
