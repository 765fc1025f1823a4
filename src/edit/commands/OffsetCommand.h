#pragma once

// The offset command: a pick shows a parallel copy of the entity with an
// arrow towards it; the copy waits until Done adds it to the drawing or Flip
// rebuilds it on the other side. The waiting copy lives here, outside the
// task runner, because the page's buttons act on it after the pick.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "cad/engine/CAD2DState.h"
#include "cad/engine/RubberDrawing.h"
#include "cad/geometry/CADBaseTypes.h"

class TCADCmp2D;
class TObject2D;

struct TOffsetCommand {
    // The signed distance; the page writes it on every change of its field.
    float Distance = 1.0f;
    // Reads the page's distance field; none when its text is no number.
    std::function<std::optional<float>()> ReadDistance;

    // The picked entity, by ID: it may be deleted while the copy waits.
    std::int32_t SourceID = -1;
    TCADCmp2D* Drawing = nullptr;
    TCADViewport2DCore* View = nullptr;
    std::unique_ptr<TObject2D> Preview;
    std::vector<TVect> Arrow;
    bool Pending() const { return Preview != nullptr; }

    // Builds the copy of the source at Distance and shows it; false, and
    // nothing waiting, when the source has no copy at that distance.
    bool BuildPreview(TCADCmp2D& drawing, TCADViewport2DCore& view, std::int32_t sourceID);
    // Draws the copy and its arrow on the view's window unless they are on it.
    void ShowPreview();
    // Wipes the copy from the window and forgets it.
    void Clear();
    // The copy joins the drawing; with move the source goes, if it is still
    // there. False when no copy waits.
    bool Accept(bool move);
    // The copy on the other side at the same distance. False when no copy waits.
    bool Flip();

private:
    void DrawPreview();
    TXorMark Mark;
};

TOffsetCommand& OffsetCommand();

// The after-state of the offset's pick. It stays the running state while
// the copy waits, holding no parameter; a cancel or a stop drops the copy.
class TMySelOffset : public TCAD2DState {
public:
    static constexpr const char* ClassName = "TMySelOffset";
    TMySelOffset(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);

    bool ProcessEvent(TCADPrgEvent kind, int button, TShiftState shift, int key, TCADStateClass& nextState) override;
    void CancelState() override;
};
