// The current layer: the layer table from the current-layer button, and the
// setter other parts of the program use.

#include <QToolButton>

#include "app/Language.h"
#include "app/ui/frmMain.h"
#include "cad/drawing/CADCmp2D.h"
#include "edit/ui/frmLayer.h"

namespace {

constexpr int kMsgLayerTable = 418;

} // namespace

void TfrmMain::sbtLayerClick()
{
    Messaggio(GetLangString(kMsgLayerTable));
    if (frmLayer != nullptr)
        frmLayer->exec();
}

void TfrmMain::SetCurrentLayer(int layer)
{
    if (layer < 0 || layer >= TLayers::Count)
        return;
    LocalCad().CurrentLayer = static_cast<std::uint8_t>(layer);
    CurrLayerInfo();
}
