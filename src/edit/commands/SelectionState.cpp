#include "edit/commands/SelectionState.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <vector>

#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/engine/SelectObjects.h"
#include "cad/engine/SelectObjectsParam.h"
#include "cad/view/CADViewport2DCore.h"
#include "edit/entities/DeletedEntities.h"

TSelectionActions SelectionActions;
std::function<void(const char* field, int repeat)> ShowTransformRepeat;

namespace {

std::optional<double> Tolerance(const std::string& text)
{
    double value = 0.0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value, std::chars_format::fixed);
    if (error != std::errc() || end != last || !std::isfinite(value) || value < 0.0)
        return std::nullopt;
    return value;
}

} // namespace

void StartSelectionCommand(int code, int mode)
{
    constexpr int CODE_EXPLODE = 48;
    constexpr int CODE_SIMPLIFY = 49;
    SelectionActions.Mode = mode;
    if (code == CODE_EXPLODE && SelectionActions.ShowExplodeReport)
        SelectionActions.ShowExplodeReport({});
    if (code == CODE_SIMPLIFY) {
        SelectionActions.Totals = {};
        if (SelectionActions.ShowSimplifyReport)
            SelectionActions.ShowSimplifyReport({});
    }
}

void StartTransformCommand(int code, int repeat)
{
    const char* field = code == 25   ? "txtTransRepeat"
                        : code == 26 ? "txtRotateRepeat"
                        : code == 28 ? "txtScaleRepeat"
                                     : nullptr;
    if (field && ShowTransformRepeat)
        ShowTransformRepeat(field, repeat);
    if (code >= 26 && code <= 28)
        SelectRefreshFlag = false;
}

bool ApplySelectionAction(TCADCmp2D& cad, std::span<TObject2D* const> objects, TSelectionActions& actions)
{
    const std::optional<double> tolerance = Tolerance(actions.ToleranceText);
    if (actions.Mode == SELECT_SIMPLIFY && !tolerance)
        return false;
    TExplodeCounts counts;
    int selected = 0;
    // By ID: exploding and simplifying replace objects, so the picked
    // pointers may not outlive the object before them.
    for (std::int32_t id : SelectedIDs(objects)) {
        TObject2D* object = cad.GetObject(id);
        if (!object)
            continue;
        switch (actions.Mode) {
        case SELECT_DELETE:
            if (TDeletedEntities* stack = actions.Deleted ? actions.Deleted : DeletedEntities.get())
                DeleteToStack(*object, *stack);
            break;
        case SELECT_EXPLODE:
            ++selected;
            EsplodeBlocco(cad, *object, counts);
            break;
        case SELECT_CHANGE_LAYER:
            object->Layer = static_cast<std::uint8_t>(actions.TargetLayer);
            break;
        case SELECT_SIMPLIFY:
            SimplifyInDrawing(cad, *object, *tolerance, actions.Totals);
            break;
        default:
            break;
        }
    }
    if (actions.Mode == SELECT_EXPLODE && actions.ShowExplodeReport)
        actions.ShowExplodeReport(ExplodeReport(selected, counts, actions.Text));
    if (actions.Mode == SELECT_SIMPLIFY && actions.ShowSimplifyReport)
        actions.ShowSimplifyReport(SimplifyReport(actions.Totals, actions.Text));
    return true;
}

TMySelezione::TMySelezione(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState)
    : TCAD2DState(engine, std::move(param), nextState)
{
    auto& selection = RequireParam<TCAD2DSelectObjectsParam>("TMySelezione: Invalid param");
    std::vector<TObject2D*> objects;
    auto iterator = selection.SelectedObjects.GetIterator();
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next())
        if (auto* object2D = dynamic_cast<TObject2D*>(object))
            objects.push_back(object2D);
    iterator.reset();
    if (TCADCmp2D* cad = View().CADCmp2D())
        ApplySelectionAction(*cad, objects, SelectionActions);
    if (SelectionActions.Mode != SELECT_EXPLODE)
        Engine().RequestFullRepaint();
    TakeParam().reset();
    nextState = Engine().DefaultState();
}
