// The 2D view in the main window: the drawing shown in it, the task runner
// hooked into it, and what the window writes or switches in it.

#include <QFont>
#include <QFrame>
#include <QPainter>
#include <QToolButton>

#include "app/Language.h"
#include "app/ui/frmMain.h"
#include "app/ui/frmMainTransformPanel.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/engine/EngineHooks.h"
#include "cad/ui/CADViewport.h"
#include "edit/geometry/PolylineConverters.h"

void TfrmMain::CreateView()
{
    VistaGrafica = new TCADViewport2D(pnlVistaGrafica);
    VistaGrafica->setObjectName(QStringLiteral("VistaGrafica"));
    TCADViewport2DCore& view = VistaGrafica->Core2D();
    view.SetCADCmp2D(&LocalCad());
    view.OnMouseEnter = [this] { VistaGraficaMouseEnter(); };
    view.OnMouseLeave = [this] { VistaGraficaMouseLeave(); };
    LocalPrgValue = std::make_unique<TCADPrg2D>();
    LocalPrgValue->SetViewport2D(&view);
    // The tasks' prompts are language texts shown on the status line.
    EngineHooks().PromptText = [](int message) { return GetLangString(message).toStdString(); };
    InstallPolylineConverters();
    LocalPrgValue->OnDescriptionChanged = [this](TCADState& state) {
        Messaggio(QString::fromStdString(state.Description()));
    };
    TransformPanelValue = std::make_unique<TfrmMainTransformPanel>(*this);
}

void TfrmMain::sbtRedrawClick()
{
    LocalCad().RepaintViewports();
}

void TfrmMain::sbtAxisOnOffClick()
{
    VistaGrafica->Core().SetShowAssi(sbtAxisOnOff->isChecked());
}

void TfrmMain::TestoGrafico(const QString& text)
{
    TCADViewportCore& view = VistaGrafica->Core();
    TImageCanvas::TScope scope(view.OnScreen());
    TDecorativeCanvas& canvas = scope.Canvas();
    QPainter* painter = canvas.GetPainter();
    if (painter == nullptr)
        return;
    const QFont savedFont = painter->font();
    const TColor savedFontColor = canvas.FontColor;
    const TBrushState savedBrush = canvas.Brush;
    const bool savedOpaque = canvas.OpaqueBackground;

    QFont font = savedFont;
    font.setPixelSize(16);  // 12 points on the 96-dpi screens the layout was made for
    painter->setFont(font);
    canvas.FontColor = clYellow;
    canvas.Brush = {view.BackGroundColor(), TBrushStyle::Solid};
    canvas.OpaqueBackground = true;
    const TWindowRect clip = view.ClientRect();
    const std::string line = text.toStdString();
    const int x = (clip.Left + clip.Right) / 2 - canvas.TextWidth(line) / 2;
    canvas.TextOut(x, clip.Bottom - 25, line);

    painter->setFont(savedFont);
    canvas.FontColor = savedFontColor;
    canvas.Brush = savedBrush;
    canvas.OpaqueBackground = savedOpaque;
    VistaGrafica->update();
}
