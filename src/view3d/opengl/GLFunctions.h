#pragma once

// The OpenGL and GLU calls of the 3D view, as one table of function
// pointers. The program fills it with the platform's functions; a test may
// install its own, which record each call, and so needs no display.

#include <GL/gl.h>
#include <GL/glu.h>

struct TGLFunctions {
    void (*Enable)(GLenum capability);
    void (*Disable)(GLenum capability);
    void (*PolygonMode)(GLenum face, GLenum mode);
    void (*Materiali)(GLenum face, GLenum name, GLint value);
    void (*Materialfv)(GLenum face, GLenum name, const GLfloat* values);
    void (*BindTexture)(GLenum target, GLuint texture);
    void (*MatrixMode)(GLenum mode);
    void (*LoadMatrixf)(const GLfloat* matrix);
    void (*LoadIdentity)();
    void (*FrontFace)(GLenum mode);
    void (*Hint)(GLenum target, GLenum mode);
    GLenum (*GetError)();
    GLuint (*GenLists)(GLsizei range);
    void (*DeleteLists)(GLuint list, GLsizei range);
    void (*GenTextures)(GLsizei count, GLuint* textures);
    void (*DeleteTextures)(GLsizei count, const GLuint* textures);
    GLboolean (*IsTexture)(GLuint texture);
    const GLubyte* (*GetString)(GLenum name);
    void (*Viewport)(GLint x, GLint y, GLsizei width, GLsizei height);
    void (*ClearColor)(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha);
    void (*Clear)(GLbitfield mask);
    const GLubyte* (*GluGetString)(GLenum name);
    const GLubyte* (*GluErrorString)(GLenum error);

    // Primitives
    void (*Begin)(GLenum);
    void (*End)();
    void (*Vertex2f)(GLfloat, GLfloat);
    void (*Vertex3f)(GLfloat, GLfloat, GLfloat);
    void (*Vertex3fv)(const GLfloat*);
    void (*Vertex4fv)(const GLfloat*);
    void (*Vertex3dv)(const GLdouble*);
    void (*Normal3f)(GLfloat, GLfloat, GLfloat);
    void (*Normal3fv)(const GLfloat*);
    void (*Color3f)(GLfloat, GLfloat, GLfloat);
    void (*Color3fv)(const GLfloat*);
    void (*Color4f)(GLfloat, GLfloat, GLfloat, GLfloat);
    void (*Color4fv)(const GLfloat*);
    void (*Color4ub)(GLubyte, GLubyte, GLubyte, GLubyte);
    void (*TexCoord2f)(GLfloat, GLfloat);
    void (*TexCoord2fv)(const GLfloat*);
    void (*TexCoord3f)(GLfloat, GLfloat, GLfloat);
    void (*TexCoord3fv)(const GLfloat*);
    void (*TexCoord4f)(GLfloat, GLfloat, GLfloat, GLfloat);
    void (*TexCoord4fv)(const GLfloat*);
    void (*MultiTexCoord2f)(GLenum, GLfloat, GLfloat);
    void (*MultiTexCoord2fv)(GLenum, const GLfloat*);
    void (*MultiTexCoord3f)(GLenum, GLfloat, GLfloat, GLfloat);
    void (*MultiTexCoord3fv)(GLenum, const GLfloat*);
    void (*MultiTexCoord4f)(GLenum, GLfloat, GLfloat, GLfloat, GLfloat);
    void (*MultiTexCoord4fv)(GLenum, const GLfloat*);
    void (*RasterPos2f)(GLfloat, GLfloat);
    void (*DrawPixels)(GLsizei, GLsizei, GLenum, GLenum, const void*);
    void (*ReadPixels)(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*);
    void (*PointSize)(GLfloat);
    void (*LineWidth)(GLfloat);
    void (*LineStipple)(GLint, GLushort);
    void (*Flush)();
    void (*Finish)();

    // Client arrays
    void (*EnableClientState)(GLenum);
    void (*DisableClientState)(GLenum);
    void (*VertexPointer)(GLint, GLenum, GLsizei, const void*);
    void (*ColorPointer)(GLint, GLenum, GLsizei, const void*);
    void (*NormalPointer)(GLenum, GLsizei, const void*);
    void (*TexCoordPointer)(GLint, GLenum, GLsizei, const void*);
    void (*DrawArrays)(GLenum, GLint, GLsizei);
    void (*DrawElements)(GLenum, GLsizei, GLenum, const void*);

    // Matrices
    void (*PushMatrix)();
    void (*PopMatrix)();
    void (*MultMatrixf)(const GLfloat*);
    void (*LoadTransposeMatrixf)(const GLfloat*);
    void (*Translatef)(GLfloat, GLfloat, GLfloat);
    void (*Scalef)(GLfloat, GLfloat, GLfloat);
    void (*Rotatef)(GLfloat, GLfloat, GLfloat, GLfloat);
    void (*Frustum)(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble);
    void (*Ortho)(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble);

    // Queries
    void (*GetFloatv)(GLenum, GLfloat*);
    void (*GetIntegerv)(GLenum, GLint*);
    void (*GetDoublev)(GLenum, GLdouble*);
    GLboolean (*IsEnabled)(GLenum);
    void (*GetTexLevelParameteriv)(GLenum, GLint, GLenum, GLint*);

    // Display lists
    void (*NewList)(GLuint, GLenum);
    void (*EndList)();
    void (*CallList)(GLuint);

    // Lights and material
    void (*Lightfv)(GLenum, GLenum, const GLfloat*);
    void (*GetLightfv)(GLenum, GLenum, GLfloat*);
    void (*Lightf)(GLenum, GLenum, GLfloat);
    void (*LightModelfv)(GLenum, const GLfloat*);
    void (*LightModeli)(GLenum, GLint);
    void (*Materialf)(GLenum, GLenum, GLfloat);
    void (*ColorMaterial)(GLenum, GLenum);
    void (*ShadeModel)(GLenum);

    // Fog
    void (*Fogi)(GLenum, GLint);
    void (*Fogf)(GLenum, GLfloat);
    void (*Fogfv)(GLenum, const GLfloat*);

    // Fragments and buffers
    void (*BlendFunc)(GLenum, GLenum);
    void (*AlphaFunc)(GLenum, GLclampf);
    void (*DepthFunc)(GLenum);
    void (*DepthMask)(GLboolean);
    void (*ColorMask)(GLboolean, GLboolean, GLboolean, GLboolean);
    void (*CullFace)(GLenum);
    void (*PushAttrib)(GLbitfield);
    void (*PopAttrib)();

    // Textures
    void (*TexEnvi)(GLenum, GLenum, GLint);
    void (*TexEnvfv)(GLenum, GLenum, const GLfloat*);
    void (*TexGeni)(GLenum, GLenum, GLint);
    void (*TexGenfv)(GLenum, GLenum, const GLfloat*);
    void (*TexGenf)(GLenum, GLenum, GLfloat);
    void (*TexGeniv)(GLenum, GLenum, const GLint*);
    void (*TexParameteri)(GLenum, GLenum, GLint);
    void (*TexParameterf)(GLenum, GLenum, GLfloat);
    void (*TexImage2D)(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*);
    void (*CopyTexSubImage2D)(GLenum, GLint, GLint, GLint, GLint, GLint, GLsizei, GLsizei);
    void (*PixelStorei)(GLenum, GLint);
    void (*ActiveTexture)(GLenum);
    void (*ClientActiveTexture)(GLenum);

    // Evaluators
    void (*Map1f)(GLenum, GLfloat, GLfloat, GLint, GLint, const GLfloat*);
    void (*EvalCoord1f)(GLfloat);

    // Selection
    void (*SelectBuffer)(GLsizei, GLuint*);
    GLint (*RenderMode)(GLenum);
    void (*InitNames)();
    void (*LoadName)(GLuint);
    void (*PushName)(GLuint);
    void (*PopName)();

    // GLU
    void (*GluLookAt)(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble);
    void (*GluOrtho2D)(GLdouble, GLdouble, GLdouble, GLdouble);
    void (*GluPickMatrix)(GLdouble, GLdouble, GLdouble, GLdouble, GLint*);
    GLint (*GluBuild2DMipmaps)(GLenum, GLint, GLsizei, GLsizei, GLenum, GLenum, const void*);
    GLint (*GluScaleImage)(GLenum, GLsizei, GLsizei, GLenum, const void*, GLsizei, GLsizei, GLenum, GLvoid*);
    GLUquadric* (*GluNewQuadric)();
    void (*GluDeleteQuadric)(GLUquadric*);
    void (*GluQuadricNormals)(GLUquadric*, GLenum);
    void (*GluQuadricOrientation)(GLUquadric*, GLenum);
    void (*GluQuadricTexture)(GLUquadric*, GLboolean);
    void (*GluQuadricDrawStyle)(GLUquadric*, GLenum);
    void (*GluCylinder)(GLUquadric*, GLdouble, GLdouble, GLdouble, GLint, GLint);
    void (*GluDisk)(GLUquadric*, GLdouble, GLdouble, GLint, GLint);
    void (*GluPartialDisk)(GLUquadric*, GLdouble, GLdouble, GLint, GLint, GLdouble, GLdouble);
    void (*GluSphere)(GLUquadric*, GLdouble, GLint, GLint);
    GLUtesselator* (*GluNewTess)();
    void (*GluDeleteTess)(GLUtesselator*);
    void (*GluTessCallback)(GLUtesselator*, GLenum, _GLUfuncptr);
    void (*GluTessBeginPolygon)(GLUtesselator*, GLvoid*);
    void (*GluTessBeginContour)(GLUtesselator*);
    void (*GluTessVertex)(GLUtesselator*, GLdouble*, GLvoid*);
    void (*GluTessEndContour)(GLUtesselator*);
    void (*GluTessEndPolygon)(GLUtesselator*);
    void (*GluTessNormal)(GLUtesselator*, GLdouble, GLdouble, GLdouble);
    void (*GluTessProperty)(GLUtesselator*, GLenum, GLdouble);
    GLUnurbs* (*GluNewNurbsRenderer)();
    void (*GluDeleteNurbsRenderer)(GLUnurbs*);
    void (*GluNurbsProperty)(GLUnurbs*, GLenum, GLfloat);
    void (*GluBeginCurve)(GLUnurbs*);
    void (*GluNurbsCurve)(GLUnurbs*, GLint, GLfloat*, GLint, GLfloat*, GLint, GLenum);
    void (*GluEndCurve)(GLUnurbs*);
};

// The table every call of the 3D view goes through.
const TGLFunctions& GL();
// The platform's OpenGL and GLU.
const TGLFunctions& PlatformGLFunctions();
// Replaces the table (tests); PlatformGLFunctions() puts the real one back.
void SetGLFunctions(const TGLFunctions& functions);
