#include "view3d/texture/Texture.h"

#include <array>
#include <cmath>

#include <GL/glext.h>
#include <QImage>

#include "view3d/maths/MatrixGeometry.h"
#include "view3d/maths/VectorGeometry.h"
#include "view3d/opengl/GLCapabilities.h"
#include "view3d/opengl/GLFunctions.h"
#include "view3d/opengl/GLStateCache.h"
#include "view3d/texture/CubeMapImage.h"
#include "view3d/texture/PictureImage.h"
#include "view3d/texture/TextureImageClasses.h"
#include "view3d/texture/TexturePixelConversion.h"
#include "view3d/texture/TextureUpload.h"

namespace {

GLint TextureModeEnum(TGLTextureMode mode)
{
    switch (mode) {
    case TGLTextureMode::tmDecal: return GL_DECAL;
    case TGLTextureMode::tmModulate: return GL_MODULATE;
    case TGLTextureMode::tmBlend: return GL_BLEND;
    case TGLTextureMode::tmReplace: return GL_REPLACE;
    }
    return GL_DECAL;
}

bool IsCubeMapMapping(TGLTextureMappingMode mode)
{
    return mode == TGLTextureMappingMode::tmmCubeMapReflection || mode == TGLTextureMappingMode::tmmCubeMapNormal ||
           mode == TGLTextureMappingMode::tmmCubeMapLight0 || mode == TGLTextureMappingMode::tmmCubeMapCamera;
}

// Unit 0's targets go through the state cache; the cache does not follow
// the other units, which are switched directly.
void SetTargetEnabled(TGLStateCache& states, int unit, TGLState state, bool enabled)
{
    if (unit == 0)
        enabled ? states.Enable(state) : states.Disable(state);
    else
        enabled ? GL().Enable(GLStateCapability(state)) : GL().Disable(GLStateCapability(state));
}

// The rotation part alone, rows normalised, transposed: for an orthonormal
// rotation the transpose is the inverse.
Matrix4f InverseRotation(Matrix4f m)
{
    for (int row = 0; row < 3; ++row) {
        const Vector3f axis = Vector3Normalize({m.M[row][0], m.M[row][1], m.M[row][2]});
        m.M[row][0] = axis.X;
        m.M[row][1] = axis.Y;
        m.M[row][2] = axis.Z;
        m.M[row][3] = 0.0f;
    }
    m.M[3][0] = m.M[3][1] = m.M[3][2] = 0.0f;
    m.M[3][3] = 1.0f;
    TransposeUpper3x3(m);
    return m;
}

class TReleaseBitmapAfterUpload {
public:
    explicit TReleaseBitmapAfterUpload(TGLTextureImage& image) : Image(image) {}
    ~TReleaseBitmapAfterUpload() { Image.ReleaseBitmap32(); }
    TReleaseBitmapAfterUpload(const TReleaseBitmapAfterUpload&) = delete;
    TReleaseBitmapAfterUpload& operator=(const TReleaseBitmapAfterUpload&) = delete;

private:
    TGLTextureImage& Image;
};

} // namespace

TGLTexture::TGLTexture(TGLNotifyObject* owner)
    : TGLUpdateAbleObject(owner), ImageObject(std::make_unique<TGLPersistentImage>(this)),
      Env(this, Vector4f{0, 0, 0, 0})
{
}

TGLTexture::~TGLTexture() = default;

void TGLTexture::NotifyChange(TGLNotifyObject* sender)
{
    if (sender == ImageObject.get())
        ChangeFlags |= tcImage;
    else if (sender == &Env)
        ChangeFlags |= tcParams;
    TGLUpdateAbleObject::NotifyChange(this);
}

void TGLTexture::SetChanged(unsigned changes)
{
    ChangeFlags |= changes;
    TGLUpdateAbleObject::NotifyChange(this);
}

void TGLTexture::Assign(const TGLTexture& source)
{
    if (&source == this)
        return;
    SetImage(*source.ImageObject);
    Alpha = source.Alpha;
    Brightness = source.Brightness;
    Gamma = source.Gamma;
    Mag = source.Mag;
    Min = source.Min;
    Mode = source.Mode;
    Wrap = source.Wrap;
    Format = source.Format;
    CompressionValue = source.CompressionValue;
    Quality = source.Quality;
    Mapping = source.Mapping;
    if (source.MapS)
        MappingSCoordinates().Assign(*source.MapS);
    if (source.MapT)
        MappingTCoordinates().Assign(*source.MapT);
    Env.Initialize(source.Env.Color());
    NormalScale = source.NormalScale;
    SetDisabled(source.DisabledValue);
    SetChanged(tcImage | tcParams);
}

void TGLTexture::AssignPicture(const QImage& picture)
{
    if (auto* pictureImage = dynamic_cast<TGLPictureImage*>(ImageObject.get())) {
        pictureImage->SetPicture(picture);
        return;
    }
    TGLPersistentImage persistent(nullptr);
    persistent.SetPicture(picture);
    SetImage(persistent);
}

void TGLTexture::SetImage(const TGLTextureImage& image)
{
    if (image.ClassName() == ImageObject->ClassName()) {
        ImageObject->Assign(image);
        return;
    }
    std::unique_ptr<TGLTextureImage> replacement = CreateTextureImage(image.ClassName(), this);
    if (!replacement)
        return;
    replacement->Assign(image);
    ImageObject = std::move(replacement);
    SetChanged(tcImage);
}

void TGLTexture::SetImageClassName(const std::string& className)
{
    if (className == ImageObject->ClassName())
        return;
    std::unique_ptr<TGLTextureImage> replacement = CreateTextureImage(className, this);
    if (!replacement)
        return;
    ImageObject = std::move(replacement);
    SetChanged(tcImage);
}

template <class T>
void TGLTexture::SetSetting(T& field, T value, unsigned changes)
{
    if (value == field)
        return;
    field = value;
    SetChanged(changes);
}

void TGLTexture::SetImageAlpha(TGLTextureImageAlpha value)
{
    SetSetting(Alpha, value, tcImage);
}

void TGLTexture::SetImageBrightness(float value)
{
    SetSetting(Brightness, value, tcImage);
}

void TGLTexture::SetImageGamma(float value)
{
    SetSetting(Gamma, value, tcImage);
}

void TGLTexture::SetMagFilter(TGLMagFilter value)
{
    SetSetting(Mag, value, tcParams);
}

void TGLTexture::SetMinFilter(TGLMinFilter value)
{
    SetSetting(Min, value, tcParams);
}

void TGLTexture::SetTextureMode(TGLTextureMode value)
{
    SetSetting(Mode, value, tcParams);
}

void TGLTexture::SetTextureWrap(TGLTextureWrap value)
{
    SetSetting(Wrap, value, tcParams);
}

void TGLTexture::SetTextureFormat(TGLTextureFormat value)
{
    SetSetting(Format, value, tcParams);
}

void TGLTexture::SetCompression(TGLTextureCompression value)
{
    SetSetting(CompressionValue, value, tcParams);
}

void TGLTexture::SetFilteringQuality(TGLTextureFilteringQuality value)
{
    SetSetting(Quality, value, tcParams);
}

void TGLTexture::SetMappingMode(TGLTextureMappingMode value)
{
    SetSetting(Mapping, value, 0);
}

void TGLTexture::SetNormalMapScale(float value)
{
    if (value == NormalScale)
        return;
    NormalScale = value;
    if (Format == TGLTextureFormat::tfNormalMap)
        SetChanged(tcImage);
}

TGLCoordinates4& TGLTexture::MappingSCoordinates()
{
    if (!MapS)
        MapS = std::make_unique<TGLCoordinates4>(this, TGLCoordinatesStyle::csVector, Vector4f{1, 0, 0, 0});
    return *MapS;
}

TGLCoordinates4& TGLTexture::MappingTCoordinates()
{
    if (!MapT)
        MapT = std::make_unique<TGLCoordinates4>(this, TGLCoordinatesStyle::csVector, Vector4f{0, 1, 0, 0});
    return *MapT;
}

void TGLTexture::SetDisabled(bool value)
{
    if (value == DisabledValue)
        return;
    DisabledValue = value;
    if (auto* material = dynamic_cast<TGLTextureMappingOwner*>(GetOwner()))
        material->NotifyTexMapChange(this);
    else
        TGLUpdateAbleObject::NotifyChange(this);
}

bool TGLTexture::CubeMapsAvailable() const
{
    return GLCapabilities().Has(kARB_texture_cube_map);
}

template <class TBind>
void TGLTexture::PrepareHandle(TBind bind)
{
    const GLenum target = ImageObject->NativeTextureTarget();
    if (TextureHandle.Handle() == 0) {
        TextureHandle.AllocateHandle();
        ChangeFlags = tcImage | tcParams;
    }
    if (ChangeFlags == 0)
        return;
    bind(target, TextureHandle.Handle());
    TGLTextureParameters parameters;
    parameters.Format = ResolvedTextureFormat(Format);
    parameters.MinFilter = Min;
    parameters.MagFilter = Mag;
    parameters.Wrap = Wrap;
    parameters.FilteringQuality = Quality;
    SetTextureParameters(target, parameters, GLCapabilities());
    if (ChangeFlags & tcImage)
        UploadImage();
    ChangeFlags = 0;
}

GLuint TGLTexture::Handle(TGLStateCache& states, int unit)
{
    PrepareHandle([&](GLenum target, GLuint handle) { states.SetCurrentTexture(unit, target, std::int32_t(handle)); });
    return TextureHandle.Handle();
}

void TGLTexture::UploadImage()
{
    TGLTextureParameters parameters;
    parameters.Format = ResolvedTextureFormat(Format);
    parameters.MinFilter = Min;
    parameters.Wrap = Wrap;
    TGLPixelConversion conversion;
    conversion.ImageAlpha = Alpha;
    conversion.Brightness = Brightness;
    conversion.Gamma = Gamma;
    conversion.NormalMap = parameters.Format == TGLTextureFormat::tfNormalMap;
    conversion.NormalMapScale = NormalScale;
    conversion.Wrap = Wrap;
    const GLint internalFormat = OpenGLInternalFormat(Format, CompressionValue, GLCapabilities());

    std::array<GLenum, 6> targets{ImageObject->NativeTextureTarget()};
    std::size_t count = 1;
    if (targets[0] == GL_TEXTURE_CUBE_MAP_ARB) {
        const auto* cube = dynamic_cast<const TGLCubeMapImage*>(ImageObject.get());
        if (cube == nullptr || !cube->FacesAreUploadable())
            return;
        for (std::size_t face = 0; face < 6; ++face)
            targets[face] = GLenum(GL_TEXTURE_CUBE_MAP_POSITIVE_X_ARB + face);
        count = 6;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const TReleaseBitmapAfterUpload release(*ImageObject);
        TGLBitmap32* bitmap = ImageObject->GetBitmap32(targets[i]);
        if (bitmap == nullptr || bitmap->Width() == 0 || bitmap->Height() == 0)
            continue;
        ConvertTexturePixels(*bitmap, conversion);
        RequiredMemory = RegisterAsOpenGLTexture(*bitmap, targets[i], internalFormat, parameters, GLCapabilities());
    }
}

void TGLTexture::DestroyHandles()
{
    TextureHandle.DestroyHandle();
    ChangeFlags = tcImage | tcParams;
    RequiredMemory = -1;
}

void TGLTexture::PrepareBuildList()
{
    GLint previous = 0;
    GLenum boundTarget = 0;
    PrepareHandle([&](GLenum target, GLuint handle) {
        const GLenum binding = target == GL_TEXTURE_CUBE_MAP_ARB       ? GL_TEXTURE_BINDING_CUBE_MAP_ARB
                               : target == GL_TEXTURE_RECTANGLE_NV ? GL_TEXTURE_BINDING_RECTANGLE_NV
                                                                   : GL_TEXTURE_BINDING_2D;
        GL().GetIntegerv(binding, &previous);
        GL().BindTexture(target, handle);
        boundTarget = target;
    });
    if (boundTarget != 0)
        GL().BindTexture(boundTarget, GLuint(previous));
}

void TGLTexture::Apply(const TGLTextureApplyInfo& info, int unit)
{
    TGLStateCache& states = *info.States;
    if (DisabledValue) {
        if (unit == 0) {
            states.Disable(TGLState::stTexture2D);
            states.Disable(TGLState::stTextureRect);
        }
        return;
    }
    const GLenum target = ImageObject->NativeTextureTarget();
    if (target == GL_TEXTURE_2D || target == GL_TEXTURE_RECTANGLE_NV) {
        SetTargetEnabled(states, unit, target == GL_TEXTURE_2D ? TGLState::stTexture2D : TGLState::stTextureRect, true);
        states.SetCurrentTexture(unit, target, std::int32_t(Handle(states, unit)));
    } else if (target == GL_TEXTURE_CUBE_MAP_ARB && CubeMapsAvailable()) {
        SetTargetEnabled(states, unit, TGLState::stTextureCubeMap, true);
        states.SetCurrentTexture(unit, target, std::int32_t(Handle(states, unit)));
        if (unit == 0 && IsCubeMapMapping(Mapping))
            ApplyCubeMapMatrix(info);
    }
    GL().TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, TextureModeEnum(Mode));
    GL().TexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, Env.AsAddress());
    ApplyMappingMode();
}

void TGLTexture::UnApply(const TGLTextureApplyInfo& info, int unit)
{
    if (DisabledValue)
        return;
    TGLStateCache& states = *info.States;
    const GLenum target = ImageObject->NativeTextureTarget();
    if (target == GL_TEXTURE_CUBE_MAP_ARB && CubeMapsAvailable()) {
        SetTargetEnabled(states, unit, TGLState::stTextureCubeMap, false);
        if (unit == 0)
            states.ResetTextureMatrix();
    } else {
        SetTargetEnabled(states, unit, target == GL_TEXTURE_RECTANGLE_NV ? TGLState::stTextureRect : TGLState::stTexture2D,
                         false);
    }
    UnApplyMappingMode();
}

// The reflection and normal mappings look the cube up in world directions:
// the eye-space directions the coordinate generation gives are turned back
// by the view's rotation. The first light's mapping turns eye-space normals
// into the light's frame (its direction along Z), the camera's mapping into
// the camera's.
void TGLTexture::ApplyCubeMapMatrix(const TGLTextureApplyInfo& info)
{
    Matrix4f matrix;
    if (Mapping == TGLTextureMappingMode::tmmCubeMapLight0) {
        GLfloat position[4] = {0, 0, 1, 0};
        GL().GetLightfv(GL_LIGHT0, GL_POSITION, position);
        const Vector3f direction{position[0], position[1], position[2]};
        const bool alongY = std::fabs(direction.Y) > 0.99f * Vector3Length(direction);
        matrix = InverseRotation(CreateOrthonormalBasis(direction, alongY ? Vector3f{0, 0, 1} : Vector3f{0, 1, 0}));
    } else {
        Matrix4f modelView;
        GL().GetFloatv(GL_MODELVIEW_MATRIX, &modelView.M[0][0]);
        matrix = InverseRotation(modelView);
        if (Mapping == TGLTextureMappingMode::tmmCubeMapCamera) {
            const Matrix4f camera =
                CreateOrthonormalBasis({info.CameraDirection.X, info.CameraDirection.Y, info.CameraDirection.Z},
                                       {info.CameraUp.X, info.CameraUp.Y, info.CameraUp.Z});
            matrix = MatrixMultiply(matrix, InverseRotation(camera));
        }
    }
    // Loaded through the cache in OpenGL's order, so that the cache knows the
    // texture matrix is no longer the identity and the unapply resets it.
    info.States->SetTextureMatrix(matrix);
}

void TGLTexture::ApplyMappingMode()
{
    const auto generate = [](GLenum coordinate, GLint mode) {
        GL().TexGeni(coordinate, GL_TEXTURE_GEN_MODE, mode);
    };
    switch (Mapping) {
    case TGLTextureMappingMode::tmmUser:
        return;
    case TGLTextureMappingMode::tmmObjectLinear:
    case TGLTextureMappingMode::tmmEyeLinear: {
        const bool object = Mapping == TGLTextureMappingMode::tmmObjectLinear;
        const GLenum plane = object ? GL_OBJECT_PLANE : GL_EYE_PLANE;
        generate(GL_S, object ? GL_OBJECT_LINEAR : GL_EYE_LINEAR);
        generate(GL_T, object ? GL_OBJECT_LINEAR : GL_EYE_LINEAR);
        GL().TexGenfv(GL_S, plane, MappingSCoordinates().AsAddress());
        GL().TexGenfv(GL_T, plane, MappingTCoordinates().AsAddress());
        break;
    }
    case TGLTextureMappingMode::tmmSphere:
        generate(GL_S, GL_SPHERE_MAP);
        generate(GL_T, GL_SPHERE_MAP);
        break;
    case TGLTextureMappingMode::tmmCubeMapReflection:
    case TGLTextureMappingMode::tmmCubeMapCamera:
    case TGLTextureMappingMode::tmmCubeMapNormal:
    case TGLTextureMappingMode::tmmCubeMapLight0: {
        if (!CubeMapsAvailable())
            return;
        const bool reflection = Mapping == TGLTextureMappingMode::tmmCubeMapReflection ||
                                Mapping == TGLTextureMappingMode::tmmCubeMapCamera;
        const GLint mode = reflection ? GL_REFLECTION_MAP_ARB : GL_NORMAL_MAP_ARB;
        generate(GL_S, mode);
        generate(GL_T, mode);
        generate(GL_R, mode);
        GL().Enable(GL_TEXTURE_GEN_R);
        break;
    }
    }
    GL().Enable(GL_TEXTURE_GEN_S);
    GL().Enable(GL_TEXTURE_GEN_T);
}

void TGLTexture::UnApplyMappingMode()
{
    if (Mapping == TGLTextureMappingMode::tmmUser)
        return;
    if (IsCubeMapMapping(Mapping)) {
        if (!CubeMapsAvailable())
            return;
        GL().Disable(GL_TEXTURE_GEN_R);
    }
    GL().Disable(GL_TEXTURE_GEN_S);
    GL().Disable(GL_TEXTURE_GEN_T);
}
