#include "edit/commands/CommandTable.h"

#include <algorithm>
#include <array>

namespace {

using enum TCommandTask;

constexpr int U = PAGE_UNCHANGED;
constexpr int N = PAGE_NONE;
constexpr int S = SNAP_UNCHANGED;

// clang-format off
constexpr std::array<TCommandRow, 43> Rows{{
    {1, "MyPuntoClick", "lsbPointClick", "lsbPoint", 28, 24, 242, nullptr, 1, DrawSized, "TPunto2D", 0, "lsbPointClick"},
    {2, "MyLineEndPtClick", "lsbLineClick", "lsbLine", 23, 25, 241, nullptr, 1, DrawSized, "TLine2D", 0, "lsbLineClick"},
    {3, "sbtRectangleClick", nullptr, nullptr, 25, 34, 0, "sbtRectangle", 1, DrawSized, "TFrame2D", 0, "sbtRectangleClick"},
    {4, "MyCircleCtPtClick", "mnuCircleCtPtClick", "lsbArc", 21, 33, 200, nullptr, 1, DrawSized, "TCerchio2D", 0, "mnuCircleCtPtClick"},
    {5, "MyCircleCtDiaClick", "mnuCircleCtDiaClick", "lsbArc", 4, 1, 201, nullptr, 1, Position, "TCerchio2D", 0, "mnuCircleCtDiaClick"},
    {6, "MyArcCtPtSaEaClick", "mnuArcCtPtSaEaClick", "lsbArc", 24, 2, 202, nullptr, 1, DrawArco, "TArco2D", 0, "MyArcCtPtSaEaClick"},
    {7, "MyArcPolarClick", "mnuArcPolarClick", "lsbArc", 19, 3, 203, nullptr, 1, Position, "TArco2D", 0, "MyArcPolarClick"},
    {8, "mnuEllipseCloseClick", "mnuEllipseCloseClick", "lsbArc", 26, 4, 204, nullptr, 1, DrawSized, "TEllipse2D", 0, "mnuEllipseCloseClick"},
    {9, "mnuEllipseOpenClick", "mnuEllipseOpenClick", "lsbArc", 26, 5, 205, nullptr, 1, DrawArcP, "TArc2D", 0, "mnuEllipseOpenClick"},
    {10, "sbtPolyClick", nullptr, nullptr, 20, 35, 0, "sbtPoly", 1, DrawUnsized, "TPolyline2D", 0, "sbtPolyClick"},
    {11, "sbtSplineClick", nullptr, nullptr, 27, 36, 0, "sbtSpline", 1, DrawUnsized, "TBSpline2D", 0, "sbtSplineClick"},
    {13, "MyFilletClick", "mnuFilletClick", "lsbModify", 16, 6, 206, nullptr, 0, SelectTwo, "TMyRaccordo", 0, "mnuFilletClick"},
    {14, "MyDivideClick", "mnuDivideClick", "lsbModify", N, 41, 224, nullptr, 0, SelectOne, "TMyDivide", 0, nullptr},
    {15, "MyTrimClick", "mnuTrimClick", "lsbModify", N, 7, 207, nullptr, 0, SelectTwo, "TMyRaccordo", 0, "mnuTrimClick"},
    {16, "MyBreakClick", "mnuBreakClick", "lsbModify", N, 12, 208, nullptr, 0, SelectTwo, "TMyBreak", 0, "mnuBreakClick"},
    {17, "MyExtendClick", "mnuExtendClick", "lsbModify", 18, 8, 209, nullptr, 0, SelectOne, "TMyExtend", 0, "mnuExtendClick"},
    {18, "MyMoveNodeClick", "mnuMoveNodeClick", "lsbModify", N, 11, 212, nullptr, 0, SelectOne, "TCAD2DEditSelectedPrimitive", 0, "mnuMoveNodeClick"},
    {19, "MyChangeLayerClick", "mnuChangeLayerClick", "lsbModify", 14, 9, 210, nullptr, 0, MultiSelect, "TMySelezione", 6, "mnuChangeLayerClick"},
    {20, "MyJoinClick", "mnuJoinClick", "lsbModify", N, 42, 225, nullptr, 0, SelectTwo, "TMyJoin", 0, nullptr},
    {21, "MyDeleteClick", "mnuDeleteClick", "lsbDelete", U, 19, 0, "lsbDelete", 0, MultiSelect, "TMySelezione", 1, "mnuDeleteClick"},
    {23, "MyDeleteSmallClick", "mnuDeleteSmallClick", "lsbDelete", 22, 26, 222, nullptr, 0, None, nullptr, 0, "mnuDeleteSmallClick"},
    {24, "MyUndeleteClick", "mnuUndeleteClick", "lsbDelete", U, 21, 223, nullptr, 0, None, nullptr, 0, "mnuUndeleteClick"},
    {25, "MyTraslaClick", "mnuTranslateClick", "lsbXform", 34, 13, 213, nullptr, 0, MultiSelect, "TSCTraslaSelectedObjects", 0, "MyTraslaClick"},
    {26, "MyRuotaClick", "mnuRotateClick", "lsbXform", 33, 14, 214, nullptr, 0, MultiSelect, "TSCRuotaSelectedObjects", 0, "mnuRotateClick"},
    {27, "MySpecchiaClick", "mnuMirrorClick", "lsbXform", 9, 15, 215, nullptr, 0, MultiSelect, "TSCSpecchiaSelectedObjects", 0, "mnuMirrorClick"},
    {28, "MyScalaClick", "mnuScaleClick", "lsbXform", 10, 16, 216, nullptr, 0, MultiSelect, "TSCScalaSelectedObjects", 0, "mnuScaleClick"},
    {29, "MyOffsetClick", "mnuOffsetClick", "lsbModify", 15, 17, 217, nullptr, 0, SelectOne, "TMySelOffset", 0, "mnuOffsetClick"},
    {30, "MyLinePolarClick", "mnuLinePolarClick", "lsbLine", 30, 28, 243, nullptr, 1, Position, "TLine2D", 0, "mnuLinePolarClick"},
    {31, "MyLineTangent2ArcClick", "mnuLineTangent2ArcClick", "lsbLine", N, 29, 244, nullptr, 0, SelectTwo, "TMyLineaTan2A", 0, "mnuLineTangent2ArcClick"},
    {32, "MyLineTangentAngleClick", "mnuLineTangentAngleClick", "lsbLine", 31, 30, 245, nullptr, 0, SelectOne, "TMyLineaTanAngle", 0, "mnuLineTangentAngleClick"},
    {33, "MyLinePerpClick", "mnuLinePerpClick", "lsbLine", N, 31, 246, nullptr, S, SelectOne, "TMyLineaPer", 0, "mnuLinePerpClick"},
    {34, "MyArcTangentClick", "mnuArcTangentClick", "lsbArc", 32, 32, 247, nullptr, 1, TangentArc, "TMyArcoTan1", 0, nullptr},
    {48, "MyExplode1Click", "mnuExplodeClick", "lsbModify", 29, 27, 240, nullptr, 0, MultiSelect, "TMySelezione", 4, "mnuExplodeClick"},
    {49, "MySemplificaPolyClick", "mnuPolySemplifyClick", "lsbModify", 17, 10, 211, nullptr, 0, MultiSelect, "TMySelezione", 7, "mnuPolySemplifyClick"},
    {50, "MyInfoClick", "mnuInfoEntitiesClick", "lsbAnalyze", 8, 22, 230, nullptr, S, None, "TMySelInfo", 0, "sbtInfoSelectClick"},
    {51, "sbtPanClick", nullptr, nullptr, U, -1, 0, nullptr, S, SuspendPan, "TCADPrgRealTimePan", 0, nullptr},
    {52, "sbtZoomWinClick", nullptr, nullptr, U, -1, 0, nullptr, S, SuspendZoom, "TCADPrgZoomArea", 0, nullptr},
    {53, "mnuWindowDeleteClick", "mnuWindowDeleteClick", "lsbDelete", U, 20, 221, nullptr, 0, WindowSelect, "TMySelezione", 1, "mnuWindowDeleteClick"},
    {54, "sbtTTFConvClick", nullptr, nullptr, 3, 37, 0, "sbtTTFConv", 1, Position, "TContainer2D", 0, "sbtTTFConvClick"},
    {55, "MyPointGridClick", "mnuPointGridClick", "lsbPoint", 35, 38, 248, nullptr, 1, Position, "TContainer2D", 0, nullptr},
    {56, "MyBoltPointClick", "mnuBoltPointClick", "lsbPoint", 36, 39, 249, nullptr, 1, Position, "TContainer2D", 0, nullptr},
    {57, "MyDistanceClick", "mnuDistanceClick", "lsbAnalyze", 37, 40, 250, nullptr, 1, SelectPoints, "TSCSel2Punti", 0, nullptr},
    {999, "MyShowEndPtClick", "mnuShowEndpointsClick", "lsbAnalyze", N, 23, 231, nullptr, S, None, nullptr, 0, nullptr},
}};
// clang-format on

} // namespace

std::span<const TCommandRow> CommandTable()
{
    return Rows;
}

const TCommandRow* FindCommand(std::int32_t code)
{
    const auto* row = std::find_if(Rows.begin(), Rows.end(), [code](const TCommandRow& r) { return r.Code == code; });
    return row == Rows.end() ? nullptr : &*row;
}
