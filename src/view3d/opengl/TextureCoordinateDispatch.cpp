#include "view3d/opengl/TextureCoordinateDispatch.h"

#include "view3d/opengl/GLFunctions.h"

namespace {

constexpr int kMaskedUnits = 8;

} // namespace

TGLTextureCoordinateDispatch& XGL()
{
    static TGLTextureCoordinateDispatch dispatch;
    return dispatch;
}

void TGLTextureCoordinateDispatch::Select(TMapTexCoordMode mode)
{
    if (UpdateDepth > 0)
        PendingMode = mode;
    else
        CurrentMode = mode;
}

void TGLTextureCoordinateDispatch::MapTexCoordToDual()
{
    Select(SecondTextureUnitForbidden ? TMapTexCoordMode::mtcmMain : TMapTexCoordMode::mtcmDual);
}

void TGLTextureCoordinateDispatch::MapTexCoordToSecond()
{
    Select(SecondTextureUnitForbidden ? TMapTexCoordMode::mtcmNull : TMapTexCoordMode::mtcmSecond);
}

void TGLTextureCoordinateDispatch::MapTexCoordToArbitrary(const std::vector<GLenum>& units)
{
    UnitList = units;
    Select(TMapTexCoordMode::mtcmArbitrary);
}

void TGLTextureCoordinateDispatch::MapTexCoordToArbitrary(std::uint32_t bitWiseUnits)
{
    std::vector<GLenum> units;
    for (int bit = 0; bit < kMaskedUnits; ++bit) {
        if ((bitWiseUnits & (1u << bit)) == 0)
            continue;
        if (bit == 1 && SecondTextureUnitForbidden)
            continue;
        units.push_back(static_cast<GLenum>(GL_TEXTURE0 + bit));
    }
    MapTexCoordToArbitrary(units);
}

void TGLTextureCoordinateDispatch::MapTexCoordToArbitraryAdd(std::uint32_t bitWiseUnits)
{
    MapTexCoordToArbitrary(GetBitWiseMapping() | bitWiseUnits);
}

std::uint32_t TGLTextureCoordinateDispatch::GetBitWiseMapping() const
{
    switch (CurrentMode) {
    case TMapTexCoordMode::mtcmMain: return 1;
    case TMapTexCoordMode::mtcmSecond: return 2;
    case TMapTexCoordMode::mtcmDual: return 3;
    case TMapTexCoordMode::mtcmArbitrary: {
        std::uint32_t mask = 0;
        for (const GLenum unit : UnitList)
            mask |= 1u << (unit & 31);
        return mask;
    }
    case TMapTexCoordMode::mtcmNull: break;
    }
    return 0;
}

void TGLTextureCoordinateDispatch::BeginUpdate()
{
    if (UpdateDepth++ == 0)
        PendingMode = CurrentMode;
}

void TGLTextureCoordinateDispatch::EndUpdate()
{
    if (UpdateDepth == 0)
        return;
    if (--UpdateDepth == 0 && PendingMode != CurrentMode)
        CurrentMode = PendingMode;
}

// Coordinates name their unit in the call itself; every other call goes to
// the active (or client-active) unit, which is switched for it and made the
// first again afterwards.
template <typename TPlain, typename TOnUnit>
void TGLTextureCoordinateDispatch::Dispatch(TUnitSwitch unitSwitch, TPlain plain, TOnUnit onUnit) const
{
    const auto toUnit = [&](GLenum unit) {
        switch (unitSwitch) {
        case TUnitSwitch::Coordinates: onUnit(unit); return;
        case TUnitSwitch::Active: GL().ActiveTexture(unit); break;
        case TUnitSwitch::ClientActive: GL().ClientActiveTexture(unit); break;
        }
        plain();
    };
    const auto backToFirst = [&] {
        if (unitSwitch == TUnitSwitch::Active)
            GL().ActiveTexture(GL_TEXTURE0);
        else if (unitSwitch == TUnitSwitch::ClientActive)
            GL().ClientActiveTexture(GL_TEXTURE0);
    };
    switch (CurrentMode) {
    case TMapTexCoordMode::mtcmNull: return;
    case TMapTexCoordMode::mtcmMain: plain(); return;
    case TMapTexCoordMode::mtcmDual: plain(); [[fallthrough]];
    case TMapTexCoordMode::mtcmSecond:
        toUnit(GL_TEXTURE1);
        backToFirst();
        return;
    case TMapTexCoordMode::mtcmArbitrary:
        if (UnitList.empty())
            return;
        for (const GLenum unit : UnitList)
            toUnit(unit);
        backToFirst();
        return;
    }
}

void TGLTextureCoordinateDispatch::TexCoord2f(GLfloat s, GLfloat t) const
{
    Dispatch(TUnitSwitch::Coordinates, [&] { GL().TexCoord2f(s, t); },
             [&](GLenum unit) { GL().MultiTexCoord2f(unit, s, t); });
}

void TGLTextureCoordinateDispatch::TexCoord2fv(const GLfloat* v) const
{
    Dispatch(TUnitSwitch::Coordinates, [&] { GL().TexCoord2fv(v); },
             [&](GLenum unit) { GL().MultiTexCoord2fv(unit, v); });
}

void TGLTextureCoordinateDispatch::TexCoord3f(GLfloat s, GLfloat t, GLfloat r) const
{
    Dispatch(TUnitSwitch::Coordinates, [&] { GL().TexCoord3f(s, t, r); },
             [&](GLenum unit) { GL().MultiTexCoord3f(unit, s, t, r); });
}

void TGLTextureCoordinateDispatch::TexCoord3fv(const GLfloat* v) const
{
    Dispatch(TUnitSwitch::Coordinates, [&] { GL().TexCoord3fv(v); },
             [&](GLenum unit) { GL().MultiTexCoord3fv(unit, v); });
}

void TGLTextureCoordinateDispatch::TexCoord4f(GLfloat s, GLfloat t, GLfloat r, GLfloat q) const
{
    Dispatch(TUnitSwitch::Coordinates, [&] { GL().TexCoord4f(s, t, r, q); },
             [&](GLenum unit) { GL().MultiTexCoord4f(unit, s, t, r, q); });
}

void TGLTextureCoordinateDispatch::TexCoord4fv(const GLfloat* v) const
{
    Dispatch(TUnitSwitch::Coordinates, [&] { GL().TexCoord4fv(v); },
             [&](GLenum unit) { GL().MultiTexCoord4fv(unit, v); });
}

void TGLTextureCoordinateDispatch::TexGenf(GLenum coordinate, GLenum name, GLfloat value) const
{
    Dispatch(TUnitSwitch::Active, [&] { GL().TexGenf(coordinate, name, value); }, [](GLenum) {});
}

void TGLTextureCoordinateDispatch::TexGenfv(GLenum coordinate, GLenum name, const GLfloat* values) const
{
    Dispatch(TUnitSwitch::Active, [&] { GL().TexGenfv(coordinate, name, values); }, [](GLenum) {});
}

void TGLTextureCoordinateDispatch::TexGeni(GLenum coordinate, GLenum name, GLint value) const
{
    Dispatch(TUnitSwitch::Active, [&] { GL().TexGeni(coordinate, name, value); }, [](GLenum) {});
}

void TGLTextureCoordinateDispatch::TexGeniv(GLenum coordinate, GLenum name, const GLint* values) const
{
    Dispatch(TUnitSwitch::Active, [&] { GL().TexGeniv(coordinate, name, values); }, [](GLenum) {});
}

void TGLTextureCoordinateDispatch::TexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* data) const
{
    Dispatch(TUnitSwitch::ClientActive, [&] { GL().TexCoordPointer(size, type, stride, data); }, [](GLenum) {});
}

void TGLTextureCoordinateDispatch::EnableClientState(GLenum array) const
{
    Dispatch(TUnitSwitch::ClientActive, [&] { GL().EnableClientState(array); }, [](GLenum) {});
}

void TGLTextureCoordinateDispatch::DisableClientState(GLenum array) const
{
    Dispatch(TUnitSwitch::ClientActive, [&] { GL().DisableClientState(array); }, [](GLenum) {});
}

void TGLTextureCoordinateDispatch::Enable(GLenum capability) const
{
    Dispatch(TUnitSwitch::Active, [&] { GL().Enable(capability); }, [](GLenum) {});
}

void TGLTextureCoordinateDispatch::Disable(GLenum capability) const
{
    Dispatch(TUnitSwitch::Active, [&] { GL().Disable(capability); }, [](GLenum) {});
}
