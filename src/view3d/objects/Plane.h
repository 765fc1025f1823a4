#pragma once

// A rectangle of Width x Height in the object's XY plane, facing +Z, drawn
// as one quad or as a grid of tiles, with a chosen part of the texture.

#include <algorithm>
#include <cstdint>

#include "view3d/objects/ChangeProperty.h"
#include "view3d/scene/CustomSceneObject.h"
#include "view3d/utility/Silhouette.h"

enum class TPlaneStyle : std::uint8_t { psSingleQuad = 1, psTileTexture = 2 };

class TGLPlane : public TGLSceneObject {
public:
    explicit TGLPlane(TGLNotifyObject* owner = nullptr);

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    void Assign(const TGLBaseSceneObject& source) override;

    float Width() const { return WidthValue; }
    void SetWidth(float value) { ChangeProperty(*this, WidthValue, value); }
    float Height() const { return HeightValue; }
    void SetHeight(float value) { ChangeProperty(*this, HeightValue, value); }
    // Where the texture range starts, and how much of the texture it covers.
    float XOffset() const { return TextureOffsetX; }
    void SetXOffset(float value) { ChangeProperty(*this, TextureOffsetX, value); }
    float YOffset() const { return TextureOffsetY; }
    void SetYOffset(float value) { ChangeProperty(*this, TextureOffsetY, value); }
    float XScope() const { return TextureScopeX; }
    void SetXScope(float value) { ChangeProperty(*this, TextureScopeX, value); }
    float YScope() const { return TextureScopeY; }
    void SetYScope(float value) { ChangeProperty(*this, TextureScopeY, value); }
    int XTiles() const { return TilesX; }
    void SetXTiles(int value) { ChangeProperty(*this, TilesX, std::max(value, 1)); }
    int YTiles() const { return TilesY; }
    void SetYTiles(int value) { ChangeProperty(*this, TilesY, std::max(value, 1)); }
    bool HasStyle(TPlaneStyle style) const { return (Styles & std::uint8_t(style)) != 0; }
    void SetStyle(TPlaneStyle style, bool on);
    bool NoZWrite() const { return DepthWritesOff; }
    void SetNoZWrite(bool value) { ChangeProperty(*this, DepthWritesOff, value); }

    void BuildList(TRenderContextInfo& rci) override;
    Vector3f AxisAlignedDimensionsUnscaled() const override;
    // Where the ray meets the rectangle; the normal is +Z.
    bool RayCastIntersect(const Vector4f& rayStart, const Vector4f& rayVector, Vector4f* intersectPoint = nullptr,
                          Vector4f* intersectNormal = nullptr) const override;
    // Into the given silhouette, emptied first.
    void GenerateSilhouette(const TGLSilhouetteParameters& parameters, TGLSilhouette& silhouette) const override;

private:
    void DrawTiles() const;

    float WidthValue = 1.0f;
    float HeightValue = 1.0f;
    float TextureOffsetX = 0.0f;
    float TextureOffsetY = 0.0f;
    float TextureScopeX = 1.0f;
    float TextureScopeY = 1.0f;
    int TilesX = 1;
    int TilesY = 1;
    std::uint8_t Styles = std::uint8_t(TPlaneStyle::psSingleQuad) | std::uint8_t(TPlaneStyle::psTileTexture);
    bool DepthWritesOff = false;
};
