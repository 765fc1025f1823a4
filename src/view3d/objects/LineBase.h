#pragma once

// What every line-drawing object shares: the colour, stipple pattern, width
// and smoothing of its lines, set up around its drawing and put back after.

#include <cstdint>

#include "view3d/notification/Color.h"
#include "view3d/scene/CustomSceneObject.h"

class TGLLineBase : public TGLImmaterialSceneObject {
public:
    static constexpr std::uint16_t kSolidLine = 0xFFFF;

    explicit TGLLineBase(TGLNotifyObject* owner = nullptr);

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    void Assign(const TGLBaseSceneObject& source) override;

    TGLColor& LineColor() { return LineColorValue; }
    const TGLColor& LineColor() const { return LineColorValue; }
    void SetLineColor(const Vector4f& value) { LineColorValue.SetColor(value); }
    std::uint16_t LinePattern() const { return Pattern; }
    void SetLinePattern(std::uint16_t value);
    float LineWidth() const { return Width; }
    void SetLineWidth(float value);
    bool AntiAliased() const { return Smooth; }
    void SetAntiAliased(bool value);

protected:
    // Saves the enable, colour-buffer, line and current attribute groups,
    // then sets the line style; RestoreLineStyle puts them back. Both go to
    // OpenGL directly: the saved groups keep the state cache true.
    void SetupLineStyle() const;
    static void RestoreLineStyle();

private:
    TGLColor LineColorValue;
    std::uint16_t Pattern = kSolidLine;
    float Width = 1.0f;
    bool Smooth = false;
};
