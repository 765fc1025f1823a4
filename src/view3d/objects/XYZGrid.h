#pragma once

// A grid of lines over up to three sampling scales: lines parallel to each
// chosen axis through every step of the other two.

#include "view3d/objects/LineBase.h"
#include "view3d/objects/SamplingScale.h"
#include "view3d/objects/XYZGridLines.h"

class TGLXYZGrid : public TGLLineBase {
public:
    explicit TGLXYZGrid(TGLNotifyObject* owner = nullptr);

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    void Assign(const TGLBaseSceneObject& source) override;

    TGLSamplingScale& XSamplingScale() { return XScale; }
    TGLSamplingScale& YSamplingScale() { return YScale; }
    TGLSamplingScale& ZSamplingScale() { return ZScale; }
    TXYZGridParts Parts() const { return PartsValue; }
    TXYZGridLinesStyle LinesStyle() const { return LinesStyleValue; }
    void SetParts(TXYZGridParts value);
    void SetLinesStyle(TXYZGridLinesStyle value);

    // A change of a sampling scale changes what is drawn.
    void NotifyChange(TGLNotifyObject* sender) override;
    void BuildList(TRenderContextInfo& rci) override;

private:
    TGLSamplingScale XScale;
    TGLSamplingScale YScale;
    TGLSamplingScale ZScale;
    TXYZGridParts PartsValue;
    TXYZGridLinesStyle LinesStyleValue = TXYZGridLinesStyle::glsSegments;
};
