#pragma once

// A round line along the local Z axis with cone-shaped heads: an arrow that
// points the way its object's Direction does.

#include "view3d/objects/CylinderBase.h"
#include "view3d/objects/ShapeMeshes.h"

struct TArrowLineParts {
    bool alLine = true;
    bool alTopArrow = true;
    bool alBottomArrow = false;
    bool operator==(const TArrowLineParts&) const = default;
};

class TGLArrowLine : public TGLCylinderBase {
public:
    explicit TGLArrowLine(TGLNotifyObject* owner = nullptr);

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    void Assign(const TGLBaseSceneObject& source) override;

    float TopRadius() const { return TopRadiusValue; }
    float TopArrowHeadRadius() const { return TopArrowHeadRadiusValue; }
    float TopArrowHeadHeight() const { return TopArrowHeadHeightValue; }
    float BottomArrowHeadRadius() const { return BottomArrowHeadRadiusValue; }
    float BottomArrowHeadHeight() const { return BottomArrowHeadHeightValue; }
    TArrowHeadStackingStyle HeadStackingStyle() const { return HeadStackingStyleValue; }
    TArrowLineParts Parts() const { return PartsValue; }
    void SetTopRadius(float value);
    void SetTopArrowHeadRadius(float value);
    void SetTopArrowHeadHeight(float value);
    void SetBottomArrowHeadRadius(float value);
    void SetBottomArrowHeadHeight(float value);
    void SetHeadStackingStyle(TArrowHeadStackingStyle value);
    void SetParts(TArrowLineParts value);

    void BuildList(TRenderContextInfo& rci) override;
    Vector3f AxisAlignedDimensionsUnscaled() const override;

private:
    TArrowLineLayout Layout() const;

    float TopRadiusValue = 0.1f;
    float TopArrowHeadRadiusValue = 0.2f;
    float TopArrowHeadHeightValue = 0.5f;
    float BottomArrowHeadRadiusValue = 0.2f;
    float BottomArrowHeadHeightValue = 0.5f;
    TArrowHeadStackingStyle HeadStackingStyleValue = TArrowHeadStackingStyle::ahssStacked;
    TArrowLineParts PartsValue;
};
