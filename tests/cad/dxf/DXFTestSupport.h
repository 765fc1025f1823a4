#pragma once

// Imports for the DXF tests: a drawing made from text written in the test or
// from a file on disk, and the objects, points and layers it ended with.

#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cad/drawing/CADCmp2D.h"
#include "cad/dxf/DXF2DImport.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Primitive2D.h"

namespace dxftest {

struct TImported {
    std::unique_ptr<TCADCmp2D> Drawing = std::make_unique<TCADCmp2D>();
    TDXFImportResult Result;
    int AngleDirection = 1;
    TRect2D Extents{};
};

struct TImportOptions {
    TVectFont* Font = nullptr;
    bool ShowMessages = false;
    float ScaleX = 1.0f;
    float ScaleY = 1.0f;
    float OffsetX = 0.0f;
    float OffsetY = 0.0f;
};

inline TImported Run(TDXF2DImport& import, TImported imported, const TImportOptions& options)
{
    import.SetVectFont(options.Font);
    import.ShowMessages = options.ShowMessages;
    import.ScaleX = options.ScaleX;
    import.ScaleY = options.ScaleY;
    import.OffsetX = options.OffsetX;
    import.OffsetY = options.OffsetY;
    imported.Result = import.Import();
    imported.AngleDirection = import.AngleDirection;
    imported.Extents = import.Extents;
    return imported;
}

inline TImported ImportText(const std::string& text, const TImportOptions& options = {})
{
    TImported imported;
    TDXF2DImport import(TDXFRead::FromBytes(text), imported.Drawing.get());
    return Run(import, std::move(imported), options);
}

inline TImported ImportFile(const std::filesystem::path& file, const TImportOptions& options = {})
{
    TImported imported;
    TDXF2DImport import(file, imported.Drawing.get());
    return Run(import, std::move(imported), options);
}

// Pairs written one to a line, as "code", "value", "code", ...
inline std::string Dxf(std::initializer_list<std::string> lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

// A header with the version (none when empty), the tables given and an
// ENTITIES section holding the given pairs.
inline std::string EntitiesFile(const std::string& acadver, const std::string& entities,
                                const std::string& layers = "")
{
    std::string text = "0\nSECTION\n2\nHEADER\n";
    if (!acadver.empty())
        text += "9\n$ACADVER\n1\n" + acadver + "\n";
    text += "0\nENDSEC\n";
    if (!layers.empty())
        text += "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n" + layers + "0\nENDTAB\n0\nENDSEC\n";
    return text + "0\nSECTION\n2\nENTITIES\n" + entities + "0\nENDSEC\n0\nEOF\n";
}

inline std::vector<TObject2D*> Objects(TCADCmp2D& drawing)
{
    std::vector<TObject2D*> objects;
    auto iterator = drawing.ObjectsIterator();
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next())
        objects.push_back(dynamic_cast<TObject2D*>(object));
    return objects;
}

inline std::map<std::string, int> ClassCounts(TCADCmp2D& drawing)
{
    std::map<std::string, int> counts;
    for (TObject2D* object : Objects(drawing))
        ++counts[object->ClassName()];
    return counts;
}

// The control points in world coordinates.
inline std::vector<TPoint2D> WorldPoints(const TObject2D& object)
{
    std::vector<TPoint2D> points;
    if (const auto* primitive = dynamic_cast<const TPrimitive2D*>(&object))
        for (int i = 0; i < primitive->PointCount(); ++i)
            points.push_back(CartesianPoint2D(ApplyTransform2D((*primitive->Points())[i], object.GetTransform())));
    return points;
}

inline bool Finite(TPoint2D p)
{
    return std::isfinite(p.X) && std::isfinite(p.Y);
}

} // namespace dxftest
