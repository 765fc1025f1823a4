#pragma once

// A group of drawing objects that is drawn, picked and transformed as one.
// The container owns its children; its transform applies to all of them.

#include <memory>
#include <vector>

#include "cad/model/GraphicObjList.h"
#include "cad/model/GraphicObject.h"

class TContainer2D : public TObject2D {
public:
    // An empty container, as the stream reader fills it.
    TContainer2D();
    // Takes every given object that is not empty, then UpdateExtension.
    TContainer2D(std::int32_t id, std::vector<std::unique_ptr<TObject2D>> objects);
    // Children that are source blocks still referenced are never freed (they
    // are left alone and reported); the others are freed in passes, so that a
    // block goes only after the references inside its siblings have gone.
    ~TContainer2D() override;

    std::string ClassName() const override { return "TContainer2D"; }
    // The union of the children's boxes through GetTransform; (0, 0)-(0, 0) without children.
    void ComputeExtension() override;
    // From a container: a copy of every child, made by the class registry.
    void Assign(const TGraphicObject& other) override;
    // Each child starts from the pen and brush the container was given.
    void Draw(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox,
              int drawMode) override;
    void PaintControlPoints(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, int markerSize,
                            const TRect2D& clipBox) override;
    // Inside the grown box, the ID of the nearest child hit; the distance
    // starts at twice the aperture.
    int HitTest(TPoint2D point, float& distance, float aperture) const override;
    // Child count (Int32), then per child its class code and record. Children
    // are read with their extension updated, except block references, which
    // are resolved later (UpdateBlockReferences) and update themselves then.
    void LoadFromStream(TCADStreamReader& stream, std::string_view version) override;
    void SaveToStream(TCADStreamWriter& stream) override;

    TGraphicObjList& Objects() { return *Children; }
    const TGraphicObjList& Objects() const { return *Children; }

    // Not stored in the stream; keeps X and Y, W becomes 1.
    void SetReferencePoint(TPoint2D point) { ReferencePointValue = TPoint2D{point.X, point.Y, 1.0f}; }
    TPoint2D ReferencePoint() const { return ReferencePointValue; }

private:
    void FreeChildren();

    std::unique_ptr<TGraphicObjList> Children;
    TPoint2D ReferencePointValue;
};
