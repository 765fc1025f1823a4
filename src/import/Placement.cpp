#include "import/Placement.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/EngineHooks.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/Bitmap2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Polyline2D.h"
#include "import/LoadedFile.h"

namespace {

// The ID the picture is shown under.
constexpr std::int32_t RASTER_ID = 0;

template <class F>
void ForEachPlaced(TCADCmp2D& cad, F&& f)
{
    auto iterator = cad.ObjectsIterator();
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next()) {
        auto* object2D = dynamic_cast<TObject2D*>(object);
        if (object2D && !dynamic_cast<TBitmap2D*>(object2D))
            f(*object2D);
    }
}

void ComposeOnAll(TCADCmp2D& cad, const TTransform2D& t)
{
    ForEachPlaced(cad, [&t](TObject2D& object) {
        object.ComposeTransform(t);
        object.UpdateExtension();
    });
}

bool IsRound(const TObject2D& object)
{
    // Filled circles draw as circles too; elliptic arcs already scale as ellipses.
    return dynamic_cast<const TCerchio2D*>(&object) || dynamic_cast<const TArco2D*>(&object);
}

} // namespace

void MuoveTutto(TCADCmp2D& cad, float dx, float dy)
{
    ComposeOnAll(cad, MakeTranslation2D(dx, dy));
}

void RuotaTutto(TCADCmp2D& cad, float degrees)
{
    ComposeOnAll(cad, MakeRotation2D(DegToRad2D(degrees)));
}

void ScalaTutto(TCADCmp2D& cad, float sx, float sy)
{
    const TTransform2D scale = MakeScale2D(sx, sy);
    if (sx != sy && EngineHooks().CurveToPolyline) {
        std::vector<std::int32_t> round;
        ForEachPlaced(cad, [&round](TObject2D& object) {
            if (IsRound(object))
                round.push_back(object.ID);
        });
        std::vector<std::unique_ptr<TPolyline2D>> made;
        for (std::int32_t id : round) {
            auto* curve = dynamic_cast<TCurve2D*>(cad.GetObject(id));
            std::unique_ptr<TPolyline2D> polyline = EngineHooks().CurveToPolyline(*curve);
            polyline->Layer = curve->Layer;
            polyline->Visible = curve->Visible;
            polyline->ToBeSaved = curve->ToBeSaved;
            cad.DeleteObject(id);
            made.push_back(std::move(polyline));
        }
        ComposeOnAll(cad, scale);
        for (auto& polyline : made) {
            polyline->ComposeTransform(scale);
            const std::uint8_t layer = polyline->Layer;
            TObject2D* added = cad.AddObject(-1, std::move(polyline));
            added->Layer = layer;
        }
        return;
    }
    ComposeOnAll(cad, scale);
}

void RimuoveTuttoTrasforma(TCADCmp2D& cad)
{
    // Only the placement's part goes: what the importer baked in (the place
    // of a block reference, say) is the imported geometry.
    ForEachPlaced(cad, [](TObject2D& object) {
        object.SetCurrentTransform(IdentityTransform2D);
        object.UpdateExtension();
    });
    cad.RepaintViewports();
}

std::optional<float> ParseFieldNumber(std::string_view text)
{
    const char* first = text.data();
    const char* last = first + text.size();
    float value = 0.0f;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (error != std::errc() || end != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

TPlacement::TPlacement(TCADCmp2D& cad, TLoadedFile& file, TPlacementHost& host) : Cad(cad), File(file), Host(host)
{
}

bool TPlacement::IsRaster() const
{
    return File.IsRasterLoaded();
}

float TPlacement::ScaleX() const
{
    return File.DrawingOrigWidth != 0.0f ? File.RasterWorldWidth / File.DrawingOrigWidth : 1.0f;
}

float TPlacement::ScaleY() const
{
    return File.DrawingOrigHeight != 0.0f ? File.RasterWorldHeight / File.DrawingOrigHeight : 1.0f;
}

void TPlacement::MoveRaster(float dx, float dy)
{
    const std::int32_t ids[] = {RASTER_ID};
    Cad.TransformObjects(ids, MakeTranslation2D(dx, dy));
}

TVect TPlacement::RasterReference(int tag)
{
    const float w = File.RasterWorldWidth;
    const float h = File.RasterWorldHeight;
    float x = 0.0f;
    float y = 0.0f;
    switch (tag) {
    case CORNER_TOP_LEFT: y = -h; break;
    case CORNER_TOP_RIGHT: x = -w; y = -h; break;
    case CORNER_BOTTOM_RIGHT: x = -w; break;
    case CORNER_CENTRE: x = -w / 2; y = -h / 2; break;
    default: break;
    }
    const float dx = x - File.RasterOriginX;
    const float dy = y - File.RasterOriginY;
    File.RasterOriginX = x;
    File.RasterOriginY = y;
    MoveRaster(dx, dy);
    Host.PanView(dx, dy);
    return {-static_cast<double>(x), -static_cast<double>(y)};
}

TVect TPlacement::ChooseCorner(int tag)
{
    File.PlacementShownCorner = tag;
    File.PlacementCorner = tag;
    if (IsRaster())
        return RasterReference(tag);
    return PosizionaDxf(tag, File.PlacementRotation);
}

TVect TPlacement::UseDrawingOrigin()
{
    File.PlacementRotation = 0;
    const TVect q = PosizionaDxf(CORNER_DRAWING, 0);
    File.PlacementShownCorner = File.PlacementCorner = CORNER_DRAWING;
    return q;
}

std::optional<TVect> TPlacement::Turn(int direction, int& shownCorner)
{
    shownCorner = 0;
    if (IsRaster())
        return std::nullopt;
    File.PlacementRotation = ((File.PlacementRotation + (direction > 0 ? 90 : 270)) % 360 + 360) % 360;
    const TVect q = PosizionaDxf(File.PlacementCorner, File.PlacementRotation);
    // The corner that was chosen is now a quarter turn further round.
    int& shown = File.PlacementShownCorner;
    if (shown >= CORNER_BOTTOM_LEFT && shown <= CORNER_BOTTOM_RIGHT) {
        shown = direction > 0 ? (shown + 2) % 4 + 1 : shown % 4 + 1;
        shownCorner = shown;
    }
    return q;
}

bool TPlacement::TypedReference(std::string_view xText, std::string_view yText)
{
    const std::optional<float> x = ParseFieldNumber(xText);
    const std::optional<float> y = ParseFieldNumber(yText);
    if (!x || !y)
        return false;
    const float dx = -*x - File.RasterOriginX;
    const float dy = -*y - File.RasterOriginY;
    File.RasterOriginX = -*x;
    File.RasterOriginY = -*y;
    if (IsRaster()) {
        Host.ShowRaster();
    } else {
        MuoveTutto(Cad, dx, dy);
        Host.PanView(dx, dy);
    }
    return true;
}

TVect TPlacement::PickedReference(TPoint2D point)
{
    File.RasterOriginX -= point.X;
    File.RasterOriginY -= point.Y;
    if (IsRaster())
        MoveRaster(-point.X, -point.Y);
    else
        MuoveTutto(Cad, -point.X, -point.Y);
    Host.PanView(-point.X, -point.Y);
    return {-static_cast<double>(File.RasterOriginX), -static_cast<double>(File.RasterOriginY)};
}

TSizeError TPlacement::SizeTyped(std::string_view text, bool width, bool keepRatio, std::optional<float>& derived)
{
    derived.reset();
    const std::optional<float> value = ParseFieldNumber(text);
    if (!value)
        return TSizeError::NotANumber;
    if (*value <= 0.0f)
        return TSizeError::NotPositive;
    (width ? File.RasterWorldWidth : File.RasterWorldHeight) = *value;
    if (!keepRatio)
        return TSizeError::None;
    const float typedBase = IsRaster() ? static_cast<float>(width ? File.RasterPixelWidth : File.RasterPixelHeight)
                                       : (width ? File.DrawingOrigWidth : File.DrawingOrigHeight);
    const float otherBase = IsRaster() ? static_cast<float>(width ? File.RasterPixelHeight : File.RasterPixelWidth)
                                       : (width ? File.DrawingOrigHeight : File.DrawingOrigWidth);
    // A drawing with no extent along the typed axis says nothing about the other.
    if (typedBase == 0.0f)
        return TSizeError::None;
    const float other = *value / typedBase * otherBase;
    (width ? File.RasterWorldHeight : File.RasterWorldWidth) = other;
    derived = other;
    return TSizeError::None;
}

TSizeError TPlacement::WidthTyped(std::string_view text, bool keepRatio, std::optional<float>& derived)
{
    return SizeTyped(text, true, keepRatio, derived);
}

TSizeError TPlacement::HeightTyped(std::string_view text, bool keepRatio, std::optional<float>& derived)
{
    return SizeTyped(text, false, keepRatio, derived);
}

void TPlacement::ApplySize()
{
    if (IsRaster()) {
        Host.ShowRaster();
        return;
    }
    const float sx = ScaleX();
    const float sy = ScaleY();
    File.RasterOriginX = File.DrawingOrigMinX * sx;
    File.RasterOriginY = File.DrawingOrigMinY * sy;
    RimuoveTuttoTrasforma(Cad);
    ScalaTutto(Cad, sx, sy);
    Host.Repaint();
}

TSizeError TPlacement::KeepRatioChecked(std::string_view widthText, float& height)
{
    std::optional<float> derived;
    const TSizeError error = WidthTyped(widthText, true, derived);
    height = File.RasterWorldHeight;
    if (error != TSizeError::None)
        return error;
    if (IsRaster()) {
        Host.ShowRaster();
        return TSizeError::None;
    }
    UseDrawingOrigin();
    File.RasterOriginX = File.DrawingOrigMinX * ScaleX();
    File.RasterOriginY = File.DrawingOrigMinY * ScaleY();
    Host.ZoomExtents();
    return TSizeError::None;
}

TVect TPlacement::PosizionaDxf(int k, int degrees)
{
    const double sx = ScaleX();
    const double sy = ScaleY();
    const double w = File.RasterWorldWidth;
    const double h = File.RasterWorldHeight;
    const double mx = File.DrawingOrigMinX * sx;
    const double my = File.DrawingOrigMinY * sy;
    TVect p;
    switch (k) {
    case CORNER_BOTTOM_LEFT: p = {mx, my}; break;
    case CORNER_TOP_LEFT: p = {mx, my + h}; break;
    case CORNER_TOP_RIGHT: p = {mx + w, my + h}; break;
    case CORNER_BOTTOM_RIGHT: p = {mx + w, my}; break;
    case CORNER_CENTRE: p = {mx + w / 2, my + h / 2}; break;
    default: break;
    }
    const double a = degrees * std::numbers::pi / 180.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    const TVect q{p.X * c - p.Y * s, p.X * s + p.Y * c};

    RimuoveTuttoTrasforma(Cad);
    ScalaTutto(Cad, static_cast<float>(sx), static_cast<float>(sy));
    if (degrees > 0)
        RuotaTutto(Cad, static_cast<float>(degrees));
    MuoveTutto(Cad, static_cast<float>(-q.X), static_cast<float>(-q.Y));

    // The lower-left corner of the placed drawing, so that a typed or picked
    // reference afterwards moves from where the drawing now is.
    double minX = 0.0;
    double minY = 0.0;
    for (int i = 0; i < 4; ++i) {
        const double x = mx + ((i == 1 || i == 2) ? w : 0.0);
        const double y = my + (i >= 2 ? h : 0.0);
        const double tx = x * c - y * s - q.X;
        const double ty = x * s + y * c - q.Y;
        minX = i == 0 ? tx : std::min(minX, tx);
        minY = i == 0 ? ty : std::min(minY, ty);
    }
    File.RasterOriginX = static_cast<float>(minX);
    File.RasterOriginY = static_cast<float>(minY);

    Host.PanView(static_cast<float>(-q.X - File.PlacementViewShiftX),
                 static_cast<float>(-q.Y - File.PlacementViewShiftY));
    File.PlacementViewShiftX = static_cast<float>(-q.X);
    File.PlacementViewShiftY = static_cast<float>(-q.Y);
    return q;
}
