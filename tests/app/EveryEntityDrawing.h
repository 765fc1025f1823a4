#pragma once

// A drawing holding one entity of every kind the program draws, laid out in
// the world square (0, 0)-(100, 100), some of them moved and turned by their
// own transforms, as imported drawings come.

#include <memory>
#include <numbers>
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

inline void AddEveryEntity(TCADCmp2D& drawing)
{
    const auto p = [](float x, float y) { return MakePoint2D(x, y); };
    constexpr float pi = std::numbers::pi_v<float>;
    std::vector<std::unique_ptr<TObject2D>> objects;
    objects.push_back(std::make_unique<TPunto2D>(-1, p(5, 5)));
    objects.push_back(std::make_unique<TLine2D>(-1, p(10, 10), p(40, 10)));
    objects.push_back(std::make_unique<TLine2D>(-1, p(40, 10), p(40, 35)));
    objects.push_back(std::make_unique<TFrame2D>(-1, p(50, 5), p(90, 30)));
    objects.push_back(std::make_unique<TCerchio2D>(-1, p(20, 50), p(30, 50)));
    objects.push_back(std::make_unique<TArco2D>(-1, p(60, 50), p(75, 50), 0.0f, pi / 2));
    objects.push_back(std::make_unique<TArco2D>(-1, p(60, 50), p(75, 50), pi / 3, pi));
    objects.push_back(std::make_unique<TEllipse2D>(-1, p(5, 70), p(35, 85)));
    objects.push_back(std::make_unique<TArc2D>(-1, p(40, 70), p(60, 85), 0.0f, pi));
    const TPoint2D run[] = {p(65, 65), p(80, 65), p(85, 75), p(95, 95)};
    objects.push_back(std::make_unique<TPolyline2D>(-1, run));
    const TPoint2D closed[] = {p(10, 88), p(30, 88), p(30, 98), p(10, 98)};
    objects.push_back(std::make_unique<TPolygon2D>(-1, closed));
    const TPoint2D knots[] = {p(40, 90), p(50, 99), p(60, 90), p(70, 99)};
    objects.push_back(std::make_unique<TBSpline2D>(-1, knots));
    objects.push_back(std::make_unique<TJustifiedVectText2D>(-1, nullptr, MakeRect2D(45, 40, 60, 45), 3.0f, "text"));
    QImage picture(8, 4, QImage::Format_RGB32);
    picture.fill(Qt::black);
    objects.push_back(std::make_unique<TBitmap2D>(-1, p(80, 40), p(96, 48), picture));
    std::vector<std::unique_ptr<TObject2D>> children;
    children.push_back(std::make_unique<TPunto2D>(-1, p(1, 1)));
    children.push_back(std::make_unique<TLine2D>(-1, p(0, 0), p(5, 0)));
    auto container = std::make_unique<TContainer2D>(-1, std::move(children));
    container->SetModelTransform(MultiplyTransforms2D(MakeRotation2D(pi / 2), MakeTranslation2D(20, 60)));
    objects.push_back(std::move(container));
    std::vector<std::unique_ptr<TObject2D>> blockChildren;
    blockChildren.push_back(std::make_unique<TLine2D>(-1, p(0, 0), p(0, 5)));
    TSourceBlock2D* block = drawing.AddSourceBlock(
        std::make_unique<TSourceBlock2D>(-1, std::move(blockChildren), BlockNameFromText("B1")));
    auto insert = std::make_unique<TBlock2D>(-1, block);
    insert->SetModelTransform(MakeTranslation2D(45, 60));
    objects.push_back(std::move(insert));
    for (auto& object : objects)
        drawing.AddObject(-1, std::move(object));
}
