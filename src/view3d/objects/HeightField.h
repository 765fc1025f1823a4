#pragma once

// A surface z = f(x, y) sampled over two sampling scales and drawn as
// triangle strips; the heights come from a handler, or from a built-in
// ripple surface when none is set.

#include <functional>

#include "view3d/objects/HeightFieldSamples.h"
#include "view3d/objects/SamplingScale.h"
#include "view3d/scene/CustomSceneObject.h"

// The material colour that follows each sample's colour.
enum class THeightFieldColorMode { hfcmNone, hfcmEmission, hfcmAmbient, hfcmDiffuse, hfcmAmbientAndDiffuse };

struct THeightFieldOptions {
    bool hfoTextureCoordinates = false;
    bool hfoTwoSided = true;
    bool operator==(const THeightFieldOptions&) const = default;
};

class TGLHeightField : public TGLSceneObject {
public:
    using TGetHeightEvent = std::function<void(float x, float y, float& z, Vector4f& color, TTexPoint& texPoint)>;
    using TGetHeight2Event =
        std::function<void(TGLHeightField& sender, float x, float y, float& z, Vector4f& color, TTexPoint& texPoint)>;

    explicit TGLHeightField(TGLNotifyObject* owner = nullptr);

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    void Assign(const TGLBaseSceneObject& source) override;

    TGLSamplingScale& XSamplingScale() { return XScale; }
    TGLSamplingScale& YSamplingScale() { return YScale; }
    THeightFieldColorMode ColorMode() const { return ColorModeValue; }
    THeightFieldOptions Options() const { return OptionsValue; }
    void SetColorMode(THeightFieldColorMode value);
    void SetOptions(THeightFieldOptions value);
    // Either handler replaces the built-in surface; OnGetHeight is asked first.
    void SetOnGetHeight(TGetHeightEvent handler);
    void SetOnGetHeight2(TGetHeight2Event handler);

    // A change of a sampling scale changes what is drawn.
    void NotifyChange(TGLNotifyObject* sender) override;
    void BuildList(TRenderContextInfo& rci) override;

private:
    THeightFunction HeightFunction();
    void SetDrawingStates(TRenderContextInfo& rci);
    void DrawStrip(std::span<const THeightFieldSample> lower, std::span<const THeightFieldSample> upper) const;

    TGLSamplingScale XScale;
    TGLSamplingScale YScale;
    THeightFieldColorMode ColorModeValue = THeightFieldColorMode::hfcmNone;
    THeightFieldOptions OptionsValue;
    TGetHeightEvent OnGetHeight;
    TGetHeight2Event OnGetHeight2;
};
