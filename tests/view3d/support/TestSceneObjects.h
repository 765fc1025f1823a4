#pragma once

// Small scene objects for tests of the scene, the buffer and picking: they
// draw one flat shape in one colour with plain OpenGL calls.

#include "view3d/opengl/GLFunctions.h"
#include "view3d/scene/BaseSceneObject.h"

// A line segment.
class TTestLine : public TGLBaseSceneObject {
public:
    TTestLine(const Vector3f& from, const Vector3f& to, const Vector4f& colour) : From(from), To(to), Colour(colour) {}

    void BuildList(TRenderContextInfo&) override
    {
        GL().Color4fv(&Colour.X);
        GL().Begin(GL_LINES);
        GL().Vertex3f(From.X, From.Y, From.Z);
        GL().Vertex3f(To.X, To.Y, To.Z);
        GL().End();
    }

private:
    Vector3f From;
    Vector3f To;
    Vector4f Colour;
};

// A square in the XY plane round the origin, facing +Z.
class TTestSquare : public TGLBaseSceneObject {
public:
    TTestSquare(float halfSide, const Vector4f& colour) : Half(halfSide), Colour(colour) {}

    void BuildList(TRenderContextInfo&) override
    {
        GL().Color4fv(&Colour.X);
        GL().Normal3f(0.0f, 0.0f, 1.0f);
        GL().Begin(GL_QUADS);
        GL().Vertex3f(-Half, -Half, 0.0f);
        GL().Vertex3f(Half, -Half, 0.0f);
        GL().Vertex3f(Half, Half, 0.0f);
        GL().Vertex3f(-Half, Half, 0.0f);
        GL().End();
    }

private:
    float Half;
    Vector4f Colour;
};
