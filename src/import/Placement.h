#pragma once

// Putting the loaded picture or drawing where the machining expects it: a
// reference point (a corner, the centre, a typed or picked point) brought to
// the origin, a typed size, and turns in quarter steps. A picture moves as its
// one bitmap entity; a drawing is placed by transforms composed on every
// entity, recomputed from the imported geometry at each step. The page's
// handlers call this; the view and the picture's display are behind
// TPlacementHost so that all of it runs headless.

#include <optional>
#include <string_view>

#include "cad/geometry/CADBaseTypes.h"

class TCADCmp2D;
struct TLoadedFile;

// Whole-drawing transforms: every object except pictures gets the transform
// composed after what it already has. The imported geometry stays as it was,
// so RimuoveTuttoTrasforma brings it back.
void MuoveTutto(TCADCmp2D& cad, float dx, float dy);
// Counter-clockwise about the origin.
void RuotaTutto(TCADCmp2D& cad, float degrees);
// About the origin. Circles and arcs cannot scale unequally and stay circles,
// so under sx != sy each becomes a polyline through its profile first (for good).
void ScalaTutto(TCADCmp2D& cad, float sx, float sy);
void RimuoveTuttoTrasforma(TCADCmp2D& cad);

class TPlacementHost {
public:
    virtual ~TPlacementHost() = default;
    // Moves what the view shows by the world vector, so that the drawing
    // stays still on the screen while the axes move.
    virtual void PanView(float dx, float dy) = 0;
    // Deletes every object and shows the source picture at its rectangle,
    // zoomed to the extents.
    virtual void ShowRaster() = 0;
    virtual void Repaint() = 0;
    virtual void ZoomExtents() = 0;
};

// The reference choices of the page; 0 is the drawing's own origin.
enum TPlacementCorner {
    CORNER_DRAWING = 0,
    CORNER_BOTTOM_LEFT = 1,
    CORNER_TOP_LEFT = 2,
    CORNER_TOP_RIGHT = 3,
    CORNER_BOTTOM_RIGHT = 4,
    CORNER_CENTRE = 5,
};

// What a typed size is refused for.
enum class TSizeError { None, NotANumber, NotPositive };

class TPlacement {
public:
    TPlacement(TCADCmp2D& cad, TLoadedFile& file, TPlacementHost& host);

    bool IsRaster() const;

    // A reference choice (1 to 5) was clicked. Gives the numbers the
    // reference fields show.
    TVect ChooseCorner(int tag);
    // "Use drawing origin and orientation": no turn, the imported origin.
    TVect UseDrawingOrigin();
    // A quarter turn of a drawing, +1 counter-clockwise, -1 clockwise. Gives
    // the reference fields' numbers; shownCorner is the choice to check (0:
    // none). A picture cannot turn: nothing, and none.
    std::optional<TVect> Turn(int direction, int& shownCorner);
    // Enter in a reference field: the typed point becomes the origin. False,
    // and nothing changed, unless both texts are numbers.
    bool TypedReference(std::string_view xText, std::string_view yText);
    // A point picked in the view becomes the origin. Gives the fields' numbers.
    TVect PickedReference(TPoint2D point);

    // A size field was typed: the new width (height), and with keepRatio the
    // other size derived from it (derived is set then). A refused text changes nothing.
    TSizeError WidthTyped(std::string_view text, bool keepRatio, std::optional<float>& derived);
    TSizeError HeightTyped(std::string_view text, bool keepRatio, std::optional<float>& derived);
    // Enter in, or leaving, a size field: the drawing takes the typed size.
    void ApplySize();
    // "Keep ratio" checked: the height follows the width again, and a
    // drawing is placed anew at its own origin. Gives the derived height.
    TSizeError KeepRatioChecked(std::string_view widthText, float& height);

    // The drawing's transforms for reference k and a turn of a degrees, from
    // the imported geometry. Gives the turned reference point Q.
    TVect PosizionaDxf(int k, int degrees);

    // The typed size over the imported size; 1 on an axis the drawing has no extent on.
    float ScaleX() const;
    float ScaleY() const;

private:
    TVect RasterReference(int tag);
    void MoveRaster(float dx, float dy);
    TSizeError SizeTyped(std::string_view text, bool width, bool keepRatio, std::optional<float>& derived);

    TCADCmp2D& Cad;
    TLoadedFile& File;
    TPlacementHost& Host;
};

// A number as the page fields take it ("12.5", "-3"); none for anything else.
std::optional<float> ParseFieldNumber(std::string_view text);
