#pragma once

// A minimal concrete drawing object for tests of the drawing model.

#include <string>

#include "cad/geometry/Geometry2D.h"
#include "cad/model/GraphicObject.h"

class TTestBox2D : public TObject2D {
public:
    explicit TTestBox2D(TRect2D extent = MakeRect2D(0, 0, 1, 1)) : Extent(extent) {}

    std::string ClassName() const override { return "TTestBox2D"; }
    void ComputeExtension() override { SetBox(TransformBox2D(Extent, GetTransform())); }
    void Draw(const TTransform2D&, TDecorativeCanvas&, const TRect2D&, int) override { ++DrawCount; }

    TRect2D Extent;
    int DrawCount = 0;
};
