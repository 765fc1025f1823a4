#pragma once

// A drawing holding one entity of every class the commands know, each moved
// and turned by its own transform, for the copy and information tests.

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <QImage>

#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/BSpline2D.h"
#include "cad/shapes/Bitmap2D.h"
#include "cad/shapes/Block2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Container2D.h"
#include "cad/shapes/Ellipse2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/JustifiedVectText2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/shapes/Punto2D.h"

namespace edittest {

inline TPoint2D P(float x, float y)
{
    return MakePoint2D(x, y);
}

// Quarter turn about the origin, then a move by (10, 20).
inline TTransform2D TurnAndMove()
{
    return MultiplyTransforms2D(MakeRotation2D(static_cast<float>(M_PI / 2)), MakeTranslation2D(10, 20));
}

// Adds one of each class, in a fixed order, every one transformed.
inline std::vector<TObject2D*> AddOneOfEach(TCADCmp2D& drawing)
{
    std::vector<std::unique_ptr<TObject2D>> objects;
    objects.push_back(std::make_unique<TPunto2D>(0, P(1, 2)));
    objects.push_back(std::make_unique<TLine2D>(0, P(0, 0), P(3, 4)));
    objects.push_back(std::make_unique<TFrame2D>(0, P(0, 0), P(4, 2)));
    objects.push_back(std::make_unique<TCerchio2D>(0, P(1, 1), P(3, 1)));
    objects.push_back(std::make_unique<TArco2D>(0, P(0, 0), P(2, 0), 0.0f, static_cast<float>(M_PI / 2)));
    objects.push_back(std::make_unique<TEllipse2D>(0, P(0, 0), P(4, 2)));
    objects.push_back(std::make_unique<TArc2D>(0, P(0, 0), P(4, 2), 0.0f, static_cast<float>(M_PI)));
    const TPoint2D run[] = {P(0, 0), P(2, 0), P(2, 1), P(3, 3)};
    objects.push_back(std::make_unique<TPolyline2D>(0, run));
    objects.push_back(std::make_unique<TPolygon2D>(0, run));
    objects.push_back(std::make_unique<TBSpline2D>(0, run));
    objects.push_back(std::make_unique<TJustifiedVectText2D>(0, nullptr, MakeRect2D(0, 0, 5, 1), 1.0f, "text"));
    QImage picture(4, 2, QImage::Format_RGB32);
    picture.fill(Qt::black);
    objects.push_back(std::make_unique<TBitmap2D>(0, P(0, 0), P(4, 2), picture));
    std::vector<std::unique_ptr<TObject2D>> children;
    children.push_back(std::make_unique<TPunto2D>(0, P(1, 1)));
    children.push_back(std::make_unique<TLine2D>(0, P(0, 0), P(1, 0)));
    objects.push_back(std::make_unique<TContainer2D>(0, std::move(children)));

    std::vector<std::unique_ptr<TObject2D>> blockChildren;
    blockChildren.push_back(std::make_unique<TLine2D>(0, P(0, 0), P(0, 2)));
    TSourceBlock2D* block =
        drawing.AddSourceBlock(std::make_unique<TSourceBlock2D>(0, std::move(blockChildren), BlockNameFromText("B1")));
    objects.push_back(std::make_unique<TBlock2D>(0, block));

    std::vector<TObject2D*> added;
    for (auto& object : objects) {
        object->SetModelTransform(TurnAndMove());
        added.push_back(drawing.AddObject(-1, std::move(object)));
    }
    return added;
}

inline std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The text compared with a reviewed file of golden/; KESTRO_UPDATE_GOLDEN
// writes it instead.
inline std::string GoldenPath(const std::string& name)
{
    return std::string(KESTRO_EDIT_TEST_DIR) + "/golden/" + name;
}

} // namespace edittest
