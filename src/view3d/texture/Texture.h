#pragma once

// A material's texture: which picture, how its pixels are converted, how it
// is uploaded and filtered, and how texture coordinates are made while the
// material is applied. The texture object is made and filled on first bind,
// and again after any change that needs it.

#include <memory>
#include <string>

#include <GL/gl.h>

#include "view3d/maths/VectorTypes.h"
#include "view3d/notification/Color.h"
#include "view3d/notification/Coordinates.h"
#include "view3d/opengl/GLContextHandle.h"
#include "view3d/texture/TextureImage.h"
#include "view3d/texture/TextureTypes.h"

class QImage;
class TGLStateCache;

// An owner (the material) that hears when the texture is switched on or off:
// what it draws must be built again, not merely redrawn.
class TGLTextureMappingOwner {
public:
    virtual ~TGLTextureMappingOwner() = default;
    virtual void NotifyTexMapChange(TGLNotifyObject* sender) = 0;
};

// What applying a texture needs of the frame being drawn.
struct TGLTextureApplyInfo {
    TGLStateCache* States = nullptr;
    // Normalised, for the camera's cube-map mapping.
    Vector4f CameraDirection{0, 0, -1, 0};
    Vector4f CameraUp{0, 1, 0, 0};
};

class TGLTexture : public TGLUpdateAbleObject {
public:
    explicit TGLTexture(TGLNotifyObject* owner);
    ~TGLTexture() override;

    void NotifyChange(TGLNotifyObject* sender) override;

    // Every setting, the mapping planes, Disabled and the image.
    void Assign(const TGLTexture& source);
    // Into the image (a persistent image takes the picture).
    void AssignPicture(const QImage& picture);

    TGLTextureImage& Image() const { return *ImageObject; }
    // Copies the image's own settings; an image of another kind replaces this one's.
    void SetImage(const TGLTextureImage& image);
    std::string ImageClassName() const { return ImageObject->ClassName(); }
    // An unknown name changes nothing.
    void SetImageClassName(const std::string& className);

    TGLTextureImageAlpha ImageAlpha() const { return Alpha; }
    void SetImageAlpha(TGLTextureImageAlpha value);
    float ImageBrightness() const { return Brightness; }
    void SetImageBrightness(float value);
    float ImageGamma() const { return Gamma; }
    void SetImageGamma(float value);
    TGLMagFilter MagFilter() const { return Mag; }
    void SetMagFilter(TGLMagFilter value);
    TGLMinFilter MinFilter() const { return Min; }
    void SetMinFilter(TGLMinFilter value);
    TGLTextureMode TextureMode() const { return Mode; }
    void SetTextureMode(TGLTextureMode value);
    TGLTextureWrap TextureWrap() const { return Wrap; }
    void SetTextureWrap(TGLTextureWrap value);
    TGLTextureFormat TextureFormat() const { return Format; }
    void SetTextureFormat(TGLTextureFormat value);
    TGLTextureCompression Compression() const { return CompressionValue; }
    void SetCompression(TGLTextureCompression value);
    TGLTextureFilteringQuality FilteringQuality() const { return Quality; }
    void SetFilteringQuality(TGLTextureFilteringQuality value);
    TGLTextureMappingMode MappingMode() const { return Mapping; }
    void SetMappingMode(TGLTextureMappingMode value);
    // Made on first use: the X and the Y vector.
    TGLCoordinates4& MappingSCoordinates();
    TGLCoordinates4& MappingTCoordinates();
    TGLColor& EnvColor() { return Env; }
    bool Disabled() const { return DisabledValue; }
    // Reported to an owning material as a change of texture mapping.
    void SetDisabled(bool value);
    void SetEnabled(bool value) { SetDisabled(!value); }
    float NormalMapScale() const { return NormalScale; }
    void SetNormalMapScale(float value);

    // The pending tcImage / tcParams flags.
    unsigned Changes() const { return ChangeFlags; }
    // The memory the driver said the texture takes; -1 until it said.
    int RequiredMemorySize() const { return RequiredMemory; }

    // Binds the texture on the unit (0 through the state cache), uploading it
    // first when needed, and sets the environment and coordinate generation.
    void Apply(const TGLTextureApplyInfo& info, int unit = 0);
    void UnApply(const TGLTextureApplyInfo& info, int unit = 0);

    // The texture object, made and filled when needed (bound on the unit then).
    GLuint Handle(TGLStateCache& states, int unit = 0);
    void DestroyHandles();
    // Before a display list is compiled: a texture made inside a list would
    // be made again on each call. Uploads now when needed, and leaves the
    // target bound to what it was, so that the state cache stays true.
    void PrepareBuildList();

private:
    void SetChanged(unsigned changes);
    // Makes and fills the texture object when needed, bound by the caller's means.
    template <class TBind>
    void PrepareHandle(TBind bind);
    template <class T>
    void SetSetting(T& field, T value, unsigned changes);
    bool CubeMapsAvailable() const;
    void UploadImage();
    void ApplyCubeMapMatrix(const TGLTextureApplyInfo& info);
    void ApplyMappingMode();
    void UnApplyMappingMode();

    std::unique_ptr<TGLTextureImage> ImageObject;
    TGLTextureImageAlpha Alpha = TGLTextureImageAlpha::tiaDefault;
    float Brightness = 1.0f;
    float Gamma = 1.0f;
    TGLMagFilter Mag = TGLMagFilter::maLinear;
    TGLMinFilter Min = TGLMinFilter::miLinearMipmapLinear;
    TGLTextureMode Mode = TGLTextureMode::tmDecal;
    TGLTextureWrap Wrap = TGLTextureWrap::twBoth;
    TGLTextureFormat Format = TGLTextureFormat::tfDefault;
    TGLTextureCompression CompressionValue = TGLTextureCompression::tcDefault;
    TGLTextureFilteringQuality Quality = TGLTextureFilteringQuality::tfIsotropic;
    TGLTextureMappingMode Mapping = TGLTextureMappingMode::tmmUser;
    std::unique_ptr<TGLCoordinates4> MapS;
    std::unique_ptr<TGLCoordinates4> MapT;
    TGLColor Env;
    bool DisabledValue = true;
    float NormalScale = 0.125f;

    TGLTextureHandle TextureHandle;
    unsigned ChangeFlags = tcImage | tcParams;
    int RequiredMemory = -1;
};
