#include "edit/commands/OffsetCommand.h"

#include <cmath>

#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/SelectObjectsParam.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/model/GraphicObjList.h"
#include "cad/model/GraphicObject.h"
#include "edit/geometry/Offset.h"

namespace {

constexpr int kOffsetPrompt = 428;

TPoint2D ToPoint(TVect v)
{
    return MakePoint2D(static_cast<float>(v.X), static_cast<float>(v.Y));
}

} // namespace

TOffsetCommand& OffsetCommand()
{
    static TOffsetCommand command;
    return command;
}

bool TOffsetCommand::BuildPreview(TCADCmp2D& drawing, TCADViewport2DCore& view, std::int32_t sourceID)
{
    Clear();
    TObject2D* source = drawing.GetObject(sourceID);
    if (source == nullptr)
        return false;
    std::unique_ptr<TObject2D> copy = OffsetObject(*source, Distance);
    if (!copy)
        return false;
    copy->UpdateExtension();
    const TRect2D visible = view.VisualRect();
    const double width = std::fabs(visible.SecondEdge.X - visible.FirstEdge.X);
    Arrow = OffsetArrow(OffsetAnchor(*source), OffsetAnchor(*copy), width);
    Drawing = &drawing;
    View = &view;
    SourceID = sourceID;
    Preview = std::move(copy);
    ShowPreview();
    return true;
}

void TOffsetCommand::DrawPreview()
{
    if (View == nullptr || Preview == nullptr)
        return;
    View->DrawObject2DWithRubber(*Preview, false);
    for (std::size_t i = 1; i < Arrow.size(); ++i)
        DrawRubberLine(*View, ToPoint(Arrow[i - 1]), ToPoint(Arrow[i]));
}

void TOffsetCommand::ShowPreview()
{
    if (View != nullptr && Preview != nullptr)
        Mark.Show(*View, [this] { DrawPreview(); });
}

void TOffsetCommand::Clear()
{
    if (View != nullptr)
        Mark.Hide(*View, [this] { DrawPreview(); });
    Preview.reset();
    Arrow.clear();
    // Nothing is kept of a drawing or view that may go before the next pick.
    Drawing = nullptr;
    View = nullptr;
    SourceID = -1;
}

bool TOffsetCommand::Accept(bool move)
{
    if (!Pending() || Drawing == nullptr)
        return false;
    if (View != nullptr)
        Mark.Hide(*View, [this] { DrawPreview(); });
    Drawing->AddObject(-1, std::move(Preview));
    Arrow.clear();
    // The source may have gone while the copy waited.
    if (move && Drawing->GetObject(SourceID) != nullptr)
        Drawing->DeleteObject(SourceID);
    TCADViewport2DCore* view = View;
    Drawing = nullptr;
    View = nullptr;
    SourceID = -1;
    if (view != nullptr)
        view->Repaint();
    return true;
}

bool TOffsetCommand::Flip()
{
    if (!Pending() || Drawing == nullptr || View == nullptr)
        return false;
    Distance = -Distance;
    TCADCmp2D& drawing = *Drawing;
    TCADViewport2DCore& view = *View;
    if (!BuildPreview(drawing, view, SourceID))
        return false;
    // The repaint wipes the window; the copy is drawn once more on the fresh picture.
    view.Repaint();
    ShowPreview();
    return true;
}

TMySelOffset::TMySelOffset(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState)
    : TCAD2DState(engine, std::move(param), nextState)
{
    auto& selection = RequireParam<TCAD2DSelectObjectsParam>("TMySelOffset: Invalid param");
    TOffsetCommand& command = OffsetCommand();
    command.Clear();
    std::unique_ptr<TGraphicObjIterator> iterator = selection.SelectedObjects.GetIterator();
    TGraphicObject* picked = iterator->First();
    iterator.reset();
    auto* drawing = dynamic_cast<TCADCmp2D*>(picked != nullptr ? picked->OwnerCAD : nullptr);
    const std::optional<float> distance = command.ReadDistance ? command.ReadDistance() : command.Distance;
    // Nothing picked, or a distance that is no number: the operation ends.
    if (drawing == nullptr || !distance) {
        TakeParam().reset();
        nextState = Engine().DefaultState();
        return;
    }
    command.Distance = *distance;
    // The state stays while the copy waits, but it holds nothing to free.
    TakeParam().reset();
    if (!command.BuildPreview(*drawing, View(), picked->ID)) {
        nextState = Engine().DefaultState();
        return;
    }
    Engine().SetCurrentOperation(TCADStateClass::Of<TMySelOffset>());
    SetPrompt(kOffsetPrompt);
}

bool TMySelOffset::ProcessEvent(TCADPrgEvent kind, int /*button*/, TShiftState /*shift*/, int key,
                                TCADStateClass& nextState)
{
    if (kind == TCADPrgEvent::ViewRepainted) {
        OffsetCommand().ShowPreview();
        return false;
    }
    if (IsUser(kind, key, CADPRG_CANCEL))
        return Cancel(nextState);
    return false;
}

void TMySelOffset::CancelState()
{
    OffsetCommand().Clear();
    TCAD2DState::CancelState();
}
