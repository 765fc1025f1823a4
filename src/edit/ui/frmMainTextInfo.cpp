// Engraved text, the entity information and the distance read-out of the
// main window.

#include <QFontDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLocale>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTreeWidget>

#include "app/CommandCode.h"
#include "app/Language.h"
#include "app/NumericText.h"
#include "app/ui/controls/NumericKeyFilter.h"
#include "app/ui/frmMain.h"
#include "cad/canvas/ClippedDrawing2D.h"
#include "cad/canvas/ImageCanvas.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/engine/EngineHooks.h"
#include "cad/engine/SelectObject.h"
#include "cad/engine/SelectObjectsParam.h"
#include "cad/shapes/Container2D.h"
#include "cad/shapes/ShapeDrawHooks.h"
#include "cad/ui/CADViewport.h"
#include "edit/commands/CommandStates.h"
#include "edit/commands/CommandTable.h"
#include "edit/commands/DrawingCommands.h"
#include "edit/entities/EntityCopy.h"
#include "edit/entities/EntityInfo.h"
#include "edit/geometry/TextToPolylines.h"
#include "edit/ui/DrawPageControls.h"
#include "edit/ui/FontPreview.h"

using namespace drawpages;

namespace {

constexpr int kTextPage = 3;
constexpr int kInfoPage = 8;
constexpr int kLinePage = 23;
constexpr int kDistancePage = 37;
constexpr std::int32_t kTextCommand = 54;
constexpr std::int32_t kInfoCommand = 50;
constexpr std::int32_t kShowEndPointsCommand = 999;

void AddNodes(QTreeWidgetItem* item, const TInfoNode& node)
{
    item->setText(0, QString::fromStdString(node.Text));
    for (const TInfoNode& child : node.Children)
        AddNodes(new QTreeWidgetItem(item), child);
}

} // namespace

void TfrmMain::CreateTextAndInfoPages()
{
    TTF2Vector = std::make_unique<TTTFToVectorConverter>();
    TTF2Vector->UNICODE = true;
    TTF2Vector->SetPrecision(1);
    {
        TPageColumn page(Page(kTextPage));
        txtDaInserire = page.Edit("lblDaInserire", QStringLiteral("Text:"), "txtDaInserire", QString());
        txtAltFont = page.Edit("lblAltFont", QStringLiteral("Height:"), "txtAltFont", QStringLiteral("10"));
        txtSpaFont = page.Edit("lblSpaFont", QStringLiteral("Spacing:"), "txtSpaFont", QStringLiteral("5"));
        sedApprFont = page.Row("lblApprFont", QStringLiteral("Approximation:"), Named(new QSpinBox(page.Widget()), "sedApprFont"));
        sedApprFont->setRange(1, 10);
        sedApprFont->setValue(1);
        tbrApprFont = Named(new QSlider(Qt::Horizontal, page.Widget()), "tbrApprFont");
        tbrApprFont->setRange(1, 10);
        page.Layout()->addWidget(tbrApprFont);
        sbtFont = page.Button("sbtFont", QStringLiteral("Font..."));
        pbxFont = Named(new TFontPreview(*TTF2Vector, page.Widget()), "pbxFont");
        page.Layout()->addWidget(pbxFont);
        // Closing the text page also cancels the placing of the text.
        connect(page.Button("SpeedButton7", QStringLiteral("Close")), &QToolButton::clicked, this,
                [this] { Commands().CloseTextPage(); });
    }
    InstallKeyFilter(*txtAltFont, SoloNumeriPos);
    InstallKeyFilter(*txtSpaFont, SoloNumeriEMeno);
    connect(txtDaInserire, &QLineEdit::textEdited, this, &TfrmMain::txtDaInserireChange);
    connect(txtAltFont, &QLineEdit::textEdited, this, &TfrmMain::MyTTFConvClick);
    connect(txtSpaFont, &QLineEdit::textEdited, this, &TfrmMain::MyTTFConvClick);
    connect(sedApprFont, &QSpinBox::valueChanged, this, &TfrmMain::sedApprFontChange);
    connect(tbrApprFont, &QSlider::valueChanged, this, &TfrmMain::tbrApprFontChange);
    connect(sbtFont, &QToolButton::clicked, this, &TfrmMain::sbtFontClick);

    {
        TPageColumn page(Page(kInfoPage));
        auto* group = Named(new QGroupBox(QStringLiteral("Entities info"), page.Widget()), "grpInfoEnt");
        auto* inside = new QVBoxLayout(group);
        treInfoEnt = Named(new QTreeWidget(group), "treInfoEnt");
        treInfoEnt->setHeaderHidden(true);
        inside->addWidget(treInfoEnt);
        page.Layout()->addWidget(group);
        sbtInfoSelect = page.Button("sbtInfoSelect", QStringLiteral("Select"));
        connect(sbtInfoSelect, &QToolButton::clicked, this, &TfrmMain::sbtInfoSelectClick);
    }
    {
        TPageColumn page(Page(kLinePage));
        page.Readout("nol_stxLineaDeltaX", QStringLiteral("Delta X:"));
        page.Readout("nol_stxLineaDeltaY", QStringLiteral("Delta Y:"));
        page.Readout("nol_stxLungLinea", QStringLiteral("Length:"));
        page.Readout("nol_stxAngoloLinea", QStringLiteral("Angle:"));
    }
    {
        TPageColumn page(Page(24));
        page.Readout(nol_stxArcctptsaeaRaggio, QStringLiteral("Radius:"));
        page.Readout(nol_stxArcctptsaea_sa, QStringLiteral("Start angle:"));
        page.Readout(nol_stxArcctptsaea_Ea, QStringLiteral("End angle:"));
    }
    {
        TPageColumn page(Page(25));
        page.Readout(nol_stxRettangoloW, QStringLiteral("Width:"));
        page.Readout(nol_stxRettangoloH, QStringLiteral("Height:"));
    }
    {
        TPageColumn page(Page(26));
        page.Readout(nol_stxEllisseW, QStringLiteral("Width:"));
        page.Readout(nol_stxEllisseH, QStringLiteral("Height:"));
    }
    {
        TPageColumn page(Page(kDistancePage));
        for (const char* name : {"txtDistX1", "txtDistY1", "txtDistX2", "txtDistY2", "txtDistDx", "txtDistDy",
                                 "txtDistLen", "txtDistAngle"})
            page.Edit("", QString::fromLatin1(name + 7) + QStringLiteral(":"), name, QString())->setReadOnly(true);
        // Closing the distance page also ends the object snap the measure turned on.
        connect(page.Button("SpeedButton5", QStringLiteral("Close")), &QToolButton::clicked, this,
                [this] { Commands().CloseDistancePage(); });
    }

    // The live read-outs find their labels and fields by name.
    const auto setText = [this](const char* name, const std::string& text) {
        if (auto* label = PageControl1->findChild<QLabel*>(QString::fromLatin1(name)))
            label->setText(QString::fromStdString(text));
        else if (auto* edit = PageControl1->findChild<QLineEdit*>(QString::fromLatin1(name)))
            edit->setText(QString::fromStdString(text));
    };
    ShapeDrawHooks().SetLabel = setText;
    InfoOutput().ShowLine = [setText](const std::array<std::string, 4>& texts) {
        const char* names[] = {"nol_stxLineaDeltaX", "nol_stxLineaDeltaY", "nol_stxLungLinea", "nol_stxAngoloLinea"};
        for (std::size_t i = 0; i < texts.size(); ++i)
            setText(names[i], texts[i]);
    };
    InfoOutput().ShowDistance = [setText](const std::array<std::string, 8>& texts) {
        const char* names[] = {"txtDistX1", "txtDistY1", "txtDistX2", "txtDistY2", "txtDistDx", "txtDistDy",
                               "txtDistLen", "txtDistAngle"};
        for (std::size_t i = 0; i < texts.size(); ++i)
            setText(names[i], texts[i]);
    };
    InfoOutput().ShowTree = [this](const TInfoNode& tree) { ShowInfoTree(tree); };
    CommandActions[kTextCommand] = [this] { PlaceTextFromPage(); };
    // The information command shows the drawing's summary at once.
    CommandActions[kInfoCommand] = [this] { ShowInfoTree(DrawingSummaryTree(LocalCad())); };
    CommandActions[kShowEndPointsCommand] = [this] { MyShowEndPtClick(); };
    InstallInfoReadouts();
    InstallEntityCopy(LocalCad());
}

void TfrmMain::sbtTTFConvClick()
{
    StartCommand(kTextCommand);
}

// The text command's action, once the framework has shown its page.
void TfrmMain::PlaceTextFromPage()
{
    pbxFont->SetPreviewChar('A');
    AbilitaPnl(false, true, false, false);
    MyTTFConvClick();
}

void TfrmMain::MyTTFConvClick()
{
    if (FillingControls || txtDaInserire->text().isEmpty() || !NumeroOk(txtAltFont->text()) ||
        !NumeroOk(txtSpaFont->text()))
        return;
    TTF2Vector->SetPrecision(sedApprFont->value());
    TTTFToVectorConverter& converter = *TTF2Vector;
    TTextBuild build = BuildTextContainer(
        txtDaInserire->text().toStdU32String(), QLocale::c().toDouble(txtAltFont->text()),
        QLocale::c().toDouble(txtSpaFont->text()), [&converter](std::uint32_t code) { return converter.GetCharStrokes(code); });
    if (!build.Error.empty())
        Messaggio(QString::fromStdString(build.Error));
    if (!build.Container)
        return;
    StartDrawingTask(LocalPrg(), *FindCommand(kTextCommand), std::move(build.Container));
}

void TfrmMain::txtDaInserireChange()
{
    const QString text = txtDaInserire->text();
    const int caret = txtDaInserire->cursorPosition();
    if (caret > 0 && caret <= text.size())
        pbxFont->SetPreviewChar(text.at(caret - 1).unicode());
    MyTTFConvClick();
}

void TfrmMain::sedApprFontChange()
{
    tbrApprFont->setValue(sedApprFont->value());
    TTF2Vector->SetPrecision(sedApprFont->value());
    pbxFont->update();
    MyTTFConvClick();
}

void TfrmMain::tbrApprFontChange()
{
    sedApprFont->setValue(tbrApprFont->value());
}

void TfrmMain::sbtFontClick()
{
    bool ok = false;
    QFont current(QString::fromStdString(TTF2Vector->Font().Family));
    current.setBold(TTF2Vector->Font().Bold);
    current.setItalic(TTF2Vector->Font().Italic);
    const QFont chosen = QFontDialog::getFont(&ok, current, this, QString(), QFontDialog::ScalableFonts);
    if (!ok)
        return;
    TTrueTypeFont font;
    font.Family = chosen.family().toStdString();
    font.Bold = chosen.bold();
    font.Italic = chosen.italic();
    TTF2Vector->SetFont(font);
    pbxFont->update();
    MyTTFConvClick();
}


void TfrmMain::sbtInfoSelectClick()
{
    if (LocalPrg().IsBusy())
        LocalPrg().StopOperation();
    LocalPrg().StartOperation(TCADStateClass::Of<TCAD2DSelectObject>(),
                              std::make_unique<TCAD2DSelectObjectsParam>(5, CommandStateClass("TMySelInfo")));
}

void TfrmMain::ShowInfoTree(const TInfoNode& tree)
{
    treInfoEnt->clear();
    AddNodes(new QTreeWidgetItem(treInfoEnt), tree);
    treInfoEnt->expandAll();
}

void TfrmMain::MyShowEndPtClick()
{
    // Drawn over the view's picture only: the next repaint wipes them.
    TCADViewportCore& view = VistaGrafica->Core();
    const TTransform2D toScreen = view.GetWorldToScreen();
    const TWindowRect client = view.ClientRect();
    const TRect2D clip = MakeRect2D(client.Left, client.Top, client.Right, client.Bottom);
    {
        TImageCanvas::TScope scope(view.OnScreen());
        TDecorativeCanvas& canvas = scope.Canvas();
        canvas.Pen = TPenState{view.RubberPenColor(), TPenStyle::Solid, TPenMode::Copy, 1};
        for (const TPoint2D& point : EndPointMarkers(LocalCad()))
            DrawPointMarker2D(canvas, point, clip, toScreen);
    }
    VistaGrafica->update();
}
