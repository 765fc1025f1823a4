#pragma once

// A cloud of points, each of one size, in one colour or a colour each,
// square or round, blended or not. Drawn every frame from its lists, or
// from a display list when Static.

#include "view3d/lists/VectorLists.h"
#include "view3d/objects/PointParameters.h"
#include "view3d/scene/CustomSceneObject.h"

enum class TGLPointStyle { psSquare, psRound, psSmooth, psSmoothAdditive, psSquareAdditive };

class TGLPoints : public TGLImmaterialSceneObject {
public:
    static constexpr float kDefaultSize = 1.0f;

    explicit TGLPoints(TGLNotifyObject* owner = nullptr);

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    void Assign(const TGLBaseSceneObject& source) override;

    // After editing a list in place, call StructureChanged.
    TAffineVectorList& Positions() { return PositionList; }
    TVectorList& Colors() { return ColorList; }
    const TAffineVectorList& Positions() const { return PositionList; }
    const TVectorList& Colors() const { return ColorList; }
    void SetPositions(const TAffineVectorList& value);
    void SetColors(const TVectorList& value);

    float Size() const { return PointSize; }
    // A size not above 0 (OpenGL would refuse it with an error every
    // frame) is taken as the default size.
    void SetSize(float value);
    TGLPointStyle Style() const { return PointStyle; }
    void SetStyle(TGLPointStyle value);
    bool NoZWrite() const { return DepthWritesOff; }
    void SetNoZWrite(bool value);
    bool Static() const { return IsStatic; }
    void SetStatic(bool value);
    TGLPointParameters& PointParameters() { return Parameters; }

    void NotifyChange(TGLNotifyObject* sender) override;
    void BuildList(TRenderContextInfo& rci) override;

private:
    TAffineVectorList PositionList;
    TVectorList ColorList;
    float PointSize = kDefaultSize;
    TGLPointStyle PointStyle = TGLPointStyle::psSquare;
    bool DepthWritesOff = false;
    bool IsStatic = false;
    TGLPointParameters Parameters;
};
