#include "cad/engine/SelectArea.h"

#include "cad/geometry/Geometry2D.h"

namespace {

constexpr const char* InvalidAreaParam = "TCADPrgSelectArea: Invalid param";

} // namespace

TCADPrgSelectAreaParam::TCADPrgSelectAreaParam(TCADStateClass afterState, std::unique_ptr<TCADPrgParam> callerParam)
    : TCAD2DCommonParam(afterState),
      FrameValue(std::make_unique<TFrame2D>(0, MakePoint2D(0, 0), MakePoint2D(0, 0))),
      Caller(std::move(callerParam))
{
}

TRect2D TCADPrgSelectAreaParam::Area() const
{
    return NormalizeBox2D(FrameValue->Box);
}

void TCADPrgSelectAreaParam::ShowFrame(TCADViewport2DCore& view)
{
    FrameMark.Show(view, [&] { view.DrawObject2DWithRubber(*FrameValue, false); });
}

void TCADPrgSelectAreaParam::HideFrame(TCADViewport2DCore& view)
{
    FrameMark.Hide(view, [&] { view.DrawObject2DWithRubber(*FrameValue, false); });
}

TCADPrgSelectArea::TCADPrgSelectArea(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                     TCADStateClass& nextState)
    : TCAD2DState(engine, std::move(param), nextState)
{
    RequireParam<TCADPrgSelectAreaParam>(InvalidAreaParam);
    SetPrompt(470);
}

bool TCADPrgSelectArea::ProcessEvent(TCADPrgEvent kind, int button, TShiftState, int key,
                                     TCADStateClass& nextState)
{
    if (IsUser(kind, key, CADPRG_CANCEL))
        return Cancel(nextState);
    if (kind != TCADPrgEvent::MouseDown || !IsLeft(button))
        return false;
    auto& param = static_cast<TCADPrgSelectAreaParam&>(*Param());
    TPointsSet2D& corners = *param.Frame().Points();
    corners.SetPoint(0, RawPoint());
    corners.SetPoint(1, RawPoint());
    param.ShowFrame(View());
    nextState = TCADStateClass::Of<TCADPrgDragSelectArea>();
    return true;
}

TCADPrgDragSelectArea::TCADPrgDragSelectArea(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                             TCADStateClass& nextState)
    : TCAD2DState(engine, std::move(param), nextState)
{
    RequireParam<TCADPrgSelectAreaParam>(InvalidAreaParam);
    SetPrompt(471);
}

bool TCADPrgDragSelectArea::ProcessEvent(TCADPrgEvent kind, int button, TShiftState, int key,
                                         TCADStateClass& nextState)
{
    auto& param = static_cast<TCADPrgSelectAreaParam&>(*Param());
    switch (kind) {
    case TCADPrgEvent::MouseMove:
        param.HideFrame(View());
        param.Frame().Points()->SetPoint(1, RawPoint());
        param.ShowFrame(View());
        return false;
    case TCADPrgEvent::ViewRepainted:
        param.ShowFrame(View());
        return false;
    case TCADPrgEvent::MouseDown:
        if (!IsLeft(button))
            return false;
        nextState = AfterStateOrDefault();
        return true;
    case TCADPrgEvent::UserEvent:
        return key == CADPRG_CANCEL && Cancel(nextState);
    default:
        return false;
    }
}
