#pragma once

// The fog a scene buffer draws with when its FogEnable is set.

#include <cstdint>
#include <memory>

#include <GL/gl.h>

#include "view3d/notification/Color.h"

enum class TFogMode : std::uint8_t { fmLinear, fmExp, fmExp2 };
enum class TFogDistance : std::uint8_t { fdDefault, fdEyeRadial, fdEyePlane };

class TGLFogEnvironment : public TGLUpdateAbleObject {
public:
    explicit TGLFogEnvironment(TGLNotifyObject* owner);
    ~TGLFogEnvironment() override;

    // Its alpha is the density of the exponential modes.
    TGLColor& FogColor() { return *Color; }
    float FogStart() const { return Start; }
    float FogEnd() const { return End; }
    TFogMode FogMode() const { return Mode; }
    TFogDistance FogDistance() const { return Distance; }
    // Each notifies when the value differs.
    void SetFogStart(float value);
    void SetFogEnd(float value);
    void SetFogMode(TFogMode value);
    void SetFogDistance(TFogDistance value);

    // Sends the fog state; the fog distance only where the driver has the
    // extension, whose own mode fdDefault keeps.
    void ApplyFog();

private:
    template <typename T>
    void Change(T& field, T value);

    std::unique_ptr<TGLColor> Color;
    float Start = 10.0f;
    float End = 1000.0f;
    TFogMode Mode = TFogMode::fmLinear;
    TFogDistance Distance = TFogDistance::fdDefault;
    // The driver's own distance mode, read the first time it is kept.
    GLint DriverDistanceMode = 0;
};
