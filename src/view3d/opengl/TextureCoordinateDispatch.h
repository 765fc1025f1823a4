#pragma once

// The texture-coordinate calls the scene's objects make, sent to no texture
// unit, to the first, to the second, to both, or to a list of units, as the
// mapping mode says. Objects draw their texture coordinates once; what a
// material has bound decides where they go.

#include <cstdint>
#include <vector>

#include <GL/gl.h>

enum class TMapTexCoordMode {
    mtcmNull,
    mtcmMain,
    mtcmDual,
    mtcmSecond,
    mtcmArbitrary,
};

class TGLTextureCoordinateDispatch {
public:
    // Starts sending nothing.
    TGLTextureCoordinateDispatch() = default;

    // Inside an update bracket each of these only says what to switch to at its end.
    void MapTexCoordToNull() { Select(TMapTexCoordMode::mtcmNull); }
    void MapTexCoordToMain() { Select(TMapTexCoordMode::mtcmMain); }
    // Main only while the second unit is forbidden.
    void MapTexCoordToDual();
    // Null while the second unit is forbidden.
    void MapTexCoordToSecond();
    // Units in the order given (GL_TEXTURE0 + n).
    void MapTexCoordToArbitrary(const std::vector<GLenum>& units);
    // Bit n of the mask is GL_TEXTURE0 + n, for n from 0 to 7; a forbidden second unit is left out.
    void MapTexCoordToArbitrary(std::uint32_t bitWiseUnits);
    // The units of the mask as well as the present ones.
    void MapTexCoordToArbitraryAdd(std::uint32_t bitWiseUnits);
    // Bit n for each unit the calls go to.
    std::uint32_t GetBitWiseMapping() const;

    // The mode selected inside a bracket is switched to once, when the outermost one ends.
    void BeginUpdate();
    void EndUpdate();

    TMapTexCoordMode Mode() const { return CurrentMode; }
    const std::vector<GLenum>& Units() const { return UnitList; }

    // For drivers whose second unit must not be used.
    bool SecondTextureUnitForbidden = false;

    // The dispatched calls.
    void TexCoord2f(GLfloat s, GLfloat t) const;
    void TexCoord2fv(const GLfloat* v) const;
    void TexCoord3f(GLfloat s, GLfloat t, GLfloat r) const;
    void TexCoord3fv(const GLfloat* v) const;
    void TexCoord4f(GLfloat s, GLfloat t, GLfloat r, GLfloat q) const;
    void TexCoord4fv(const GLfloat* v) const;
    void TexGenf(GLenum coordinate, GLenum name, GLfloat value) const;
    void TexGenfv(GLenum coordinate, GLenum name, const GLfloat* values) const;
    void TexGeni(GLenum coordinate, GLenum name, GLint value) const;
    void TexGeniv(GLenum coordinate, GLenum name, const GLint* values) const;
    void TexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* data) const;
    void EnableClientState(GLenum array) const;
    void DisableClientState(GLenum array) const;
    void Enable(GLenum capability) const;
    void Disable(GLenum capability) const;

private:
    // How a call reaches a unit other than the first.
    enum class TUnitSwitch { Coordinates, Active, ClientActive };

    void Select(TMapTexCoordMode mode);
    template <typename TPlain, typename TOnUnit>
    void Dispatch(TUnitSwitch unitSwitch, TPlain plain, TOnUnit onUnit) const;

    TMapTexCoordMode CurrentMode = TMapTexCoordMode::mtcmNull;
    TMapTexCoordMode PendingMode = TMapTexCoordMode::mtcmNull;
    int UpdateDepth = 0;
    std::vector<GLenum> UnitList;
};

// The process's dispatch, which every object's drawing goes through.
TGLTextureCoordinateDispatch& XGL();
