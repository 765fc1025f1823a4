// The chain page: picking chains and drill points, removing and reversing
// them, moving a chain's start, sorting drill points, and showing them all
// over the drawing.

#include <algorithm>
#include <cmath>

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/Language.h"
#include "app/ui/ApplicationMessageBox.h"
#include "app/ui/frmMain.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/engine/SelectObject.h"
#include "cad/engine/SelectObjects.h"
#include "cad/engine/SelectObjectsInArea.h"
#include "cad/shapes/Primitive2D.h"
#include "cad/ui/CADViewport.h"
#include "cam/chains/ChainDrawing.h"
#include "cam/chains/ChainPick.h"
#include "cam/chains/Chains.h"
#include "cam/toolpath/Toolpaths.h"
#include "cam/ui/PageControls.h"

namespace {

constexpr int kPageChain = 42;
constexpr int kPickAperture = 5;

QComboBox* MakeCombo(QWidget* parent, const char* name, const QStringList& items)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->addItems(items);
    return combo;
}

QLineEdit* MakeField(QWidget* parent, const char* name, const char* text)
{
    auto* field = new QLineEdit(QString::fromLatin1(text), parent);
    field->setObjectName(QString::fromLatin1(name));
    return field;
}

} // namespace

void TfrmMain::CreateChainPage()
{
    QWidget* page = Page(kPageChain);
    auto* layout = new QVBoxLayout(page);
    // Narrow margins leave the two columns of buttons room for longer captions.
    layout->setContentsMargins(4, 4, 4, 4);

    grpChain = new QGroupBox(page);
    grpChain->setObjectName(QStringLiteral("grpChain"));
    auto* chainLayout = new QGridLayout(grpChain);
    sbtChain = MakeButton(grpChain, "sbtChain", "Chain");
    sbtDelLastChain = MakeButton(grpChain, "sbtDelLastChain", "Unselect");
    sbtDelAllChains = MakeButton(grpChain, "sbtDelAllChains", "Unselect all");
    sbtChainRev = MakeButton(grpChain, "sbtChainRev", "Reverse");
    ScrollBar1 = new QScrollBar(Qt::Horizontal, grpChain);
    ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));
    ScrollBar1->setEnabled(false);
    lblChainInfo = new QLabel(grpChain);
    lblChainInfo->setObjectName(QStringLiteral("lblChainInfo"));
    chainLayout->addWidget(sbtChain, 0, 0);
    chainLayout->addWidget(sbtChainRev, 0, 1);
    chainLayout->addWidget(sbtDelLastChain, 1, 0);
    chainLayout->addWidget(sbtDelAllChains, 1, 1);
    chainLayout->addWidget(ScrollBar1, 2, 0, 1, 2);
    chainLayout->addWidget(lblChainInfo, 3, 0, 1, 2);
    layout->addWidget(grpChain);

    grpCutterComp = new QGroupBox(QStringLiteral("Cutter Compensation:"), page);
    grpCutterComp->setObjectName(QStringLiteral("grpCutterComp"));
    auto* compLayout = new QGridLayout(grpCutterComp);
    const QStringList sides{QStringLiteral("Off"), QStringLiteral("Left"), QStringLiteral("Right")};
    const QStringList leads{QStringLiteral("Off"), QStringLiteral("Line"), QStringLiteral("Arc")};
    cboCCDir = MakeCombo(grpCutterComp, "cboCCDir", sides);
    cboLeadIn = MakeCombo(grpCutterComp, "cboLeadIn", leads);
    cboLeadOut = MakeCombo(grpCutterComp, "cboLeadOut", leads);
    txtLInSize = MakeField(grpCutterComp, "txtLInSize", "5");
    txtLoutSize = MakeField(grpCutterComp, "txtLoutSize", "5");
    txtCCoffset = MakeField(grpCutterComp, "txtCCoffset", "0");
    txtCCoffset->setEnabled(false);
    lblInLead = new QLabel(QStringLiteral("Size:"), grpCutterComp);
    lblInLead->setObjectName(QStringLiteral("lblInLead"));
    lblOutLead = new QLabel(QStringLiteral("Size:"), grpCutterComp);
    lblOutLead->setObjectName(QStringLiteral("lblOutLead"));
    lblInLead->setBuddy(txtLInSize);
    lblOutLead->setBuddy(txtLoutSize);
    compLayout->addWidget(cboCCDir, 0, 0);
    compLayout->addWidget(txtCCoffset, 0, 2);
    compLayout->addWidget(cboLeadIn, 1, 0);
    compLayout->addWidget(lblInLead, 1, 1);
    compLayout->addWidget(txtLInSize, 1, 2);
    compLayout->addWidget(cboLeadOut, 2, 0);
    compLayout->addWidget(lblOutLead, 2, 1);
    compLayout->addWidget(txtLoutSize, 2, 2);
    layout->addWidget(grpCutterComp);

    grpDrillPoints = new QGroupBox(QStringLiteral("(3) Drill point select:"), page);
    grpDrillPoints->setObjectName(QStringLiteral("grpDrillPoints"));
    auto* drillLayout = new QGridLayout(grpDrillPoints);
    sbtChainPt = MakeButton(grpDrillPoints, "sbtChainPt", "Select point");
    sbtChainSel = MakeButton(grpDrillPoints, "sbtChainSel", "Select");
    sbtChainDelPt = MakeButton(grpDrillPoints, "sbtChainDelPt", "Unselect");
    // The three commands two columns wide each, above the four sort arrows.
    drillLayout->addWidget(sbtChainPt, 0, 0, 1, 2);
    drillLayout->addWidget(sbtChainSel, 0, 2, 1, 2);
    drillLayout->addWidget(sbtChainDelPt, 1, 0, 1, 2);
    const char* sortNames[] = {"sbtDrilSort1", "sbtDrilSort2", "sbtDrilSort3", "sbtDrilSort4"};
    const char* sortTexts[] = {"\u2196", "\u2199", "\u2197", "\u2198"};
    for (int k = 0; k < 4; ++k) {
        QToolButton* sort = MakeButton(grpDrillPoints, sortNames[k], sortTexts[k]);
        sort->setCheckable(true);
        sbtDrilSort[k] = sort;
        drillLayout->addWidget(sort, 2, k);
        connect(sort, &QToolButton::toggled, this, [this, k] { sbtDrilSortClick(k + 1); });
    }
    grpDrillPoints->hide();
    layout->addWidget(grpDrillPoints);

    sbtPrevB3 = MakeButton(page, "sbtPrevB3", "Prev Pg (2)");
    sbtNextB3 = MakeButton(page, "sbtNextB3", "Next Pg (4)");
    sbtNextB3->setEnabled(false);
    auto* pageButtons = new QHBoxLayout;
    pageButtons->addWidget(sbtPrevB3);
    pageButtons->addStretch();
    pageButtons->addWidget(sbtNextB3);
    layout->addLayout(pageButtons);
    layout->addStretch();

    connect(sbtChain, &QToolButton::clicked, this, [this] { sbtChainClick(); });
    connect(sbtDelLastChain, &QToolButton::clicked, this, [this] { sbtDelLastChainClick(); });
    connect(sbtDelAllChains, &QToolButton::clicked, this, [this] { sbtDelAllChainsClick(); });
    connect(sbtChainRev, &QToolButton::clicked, this, [this] { sbtChainRevClick(); });
    connect(ScrollBar1, &QScrollBar::valueChanged, this, [this](int position) { ScrollBar1Change(position); });
    connect(sbtChainPt, &QToolButton::clicked, this, [this] { sbtChainPtClick(); });
    connect(sbtChainSel, &QToolButton::clicked, this, [this] { sbtChainSelClick(); });
    connect(sbtChainDelPt, &QToolButton::clicked, this, [this] { sbtChainDelPtClick(); });

    ChainPickHooks.ChainAdded = [this] {
        SetScrollCatena(ChainList.Chains.back());
        RedrawChains();
        ShowOpenChainWarning(ChainList.Chains.back());
        sbtNextB3->setEnabled(true);
    };
    ChainPickHooks.CannotChain = [] {
        ApplicationMessageBox(GetLangString(463), GetLangString(450), kMbOk + kMbIconWarning);
    };
    ChainPickHooks.DrillPointsAdded = [this] {
        RedrawChains();
        sbtNextB3->setEnabled(true);
    };
}

void TfrmMain::sbtChainClick()
{
    LocalPrg().StartOperation(TCADStateClass::Of<TCAD2DSelectObject>(),
                              std::make_unique<TCAD2DSelectObjectsParam>(kPickAperture,
                                                                         TCADStateClass::Of<TMyCatena>()));
}

void TfrmMain::sbtChainPtClick()
{
    LocalPrg().StartOperation(TCADStateClass::Of<TCAD2DSelectObject>(),
                              std::make_unique<TCAD2DSelectObjectsParam>(kPickAperture,
                                                                         TCADStateClass::Of<TMyDrillPoints>()));
}

void TfrmMain::sbtChainSelClick()
{
    if (sbtWinSel && sbtWinSel->isChecked())
        LocalPrg().StartOperation(TCADStateClass::Of<TCAD2DSelectObjectsInArea>(),
                                  std::make_unique<TCAD2DSelectObjectsInAreaParam>(
                                      0, TCADStateClass::Of<TMyDrillPoints>()));
    else
        LocalPrg().StartOperation(TCADStateClass::Of<TCAD2DSelectObjects>(),
                                  std::make_unique<TCAD2DSelectObjectsParam>(kPickAperture,
                                                                             TCADStateClass::Of<TMyDrillPoints>()));
}

void TfrmMain::SetScrollCatena(const TChain& chain)
{
    ChainScrollGuard = true;
    ScrollBar1->setMaximum(std::max(static_cast<int>(chain.size()) - 1, 0));
    ScrollBar1->setValue(0);
    ChainList.LastScrollPosition = 0;
    ScrollBar1->setEnabled(IsChainClosed(chain));
    ChainScrollGuard = false;
}

void TfrmMain::AfterChainRemoval()
{
    if (ChainList.Chains.empty()) {
        sbtNextB3->setEnabled(false);
        SetScrollCatena({});
    } else {
        SetScrollCatena(ChainList.Chains.back());
    }
    RedrawChains();
}

void TfrmMain::sbtDelLastChainClick()
{
    if (!ChainList.Chains.empty())
        ChainList.Chains.pop_back();
    AfterChainRemoval();
}

void TfrmMain::sbtDelAllChainsClick()
{
    ChainList.Chains.clear();
    AfterChainRemoval();
}

void TfrmMain::sbtChainRevClick()
{
    ChainList.Reverse = !ChainList.Reverse;
    RedrawChains();
}

void TfrmMain::ScrollBar1Change(int position)
{
    if (ChainScrollGuard || ChainList.Chains.empty())
        return;
    const int n = position - ChainList.LastScrollPosition;
    if (n == 0)
        return;
    ChainList.LastScrollPosition = position;
    RotateChainStart(ChainList.Chains.back(), n);
    RedrawChains();
}

void TfrmMain::sbtChainDelPtClick()
{
    ClearDrillPoints();
}

void TfrmMain::sbtDrilSortClick(int button)
{
    SortDrillPoints(ChainList, button, sbtDrilSort[button - 1]->isChecked());
    RedrawChains();
}

int TfrmMain::CompensationSide() const
{
    const int index = cboCCDir ? cboCCDir->currentIndex() : 0;
    return index == 1 ? -1 : index == 2 ? 1 : 0;
}

void TfrmMain::RedrawChains()
{
    TCADViewport2DCore& view = VistaGrafica->Core2D();
    view.Repaint();
    TCADCmp2D& drawing = LocalCad();
    TLayer& layer = drawing.Layers().GetLayer(drawing.CurrentLayer);
    const TPenState pen = layer.Pen();
    const bool modified = layer.Modified;
    const double arrow = std::abs(view.VisualRect().SecondEdge.X - view.VisualRect().FirstEdge.X) / 10.0;
    const auto draw = [&](std::vector<TChainShape> shapes) {
        for (TChainShape& shape : shapes) {
            TPenState shapePen = pen;
            shapePen.Color = shape.Color;
            shapePen.Width = shape.PenWidth;
            layer.SetPen(shapePen);
            shape.Shape->Layer = drawing.CurrentLayer;
            view.DrawObject2D(*shape.Shape, false);
        }
    };
    int closed = 0;
    int open = 0;
    if (MachiningType == TMachiningType::Drill) {
        draw(DrillPointShapes(ChainList.DrillPoints, OffsetRadius, arrow));
    } else {
        for (TChain chain : ChainList.Chains) {
            if (ChainList.Reverse)
                ReverseChain(chain);
            const bool isClosed = IsChainClosed(chain);
            (isClosed ? closed : open) += 1;
            draw(ChainShapes(chain, !isClosed && MachiningType == TMachiningType::Pocket, arrow, CompensationSide(),
                             ChainList.Reverse));
        }
    }
    layer.SetPen(pen);
    layer.Modified = modified;
    QString info;
    if (closed != 0)
        info += QString::number(closed) + QLatin1Char(' ') + GetLangString(718);
    if (open != 0)
        info += QString::number(open) + QLatin1Char(' ') + GetLangString(719);
    lblChainInfo->setText(info);
}

void TfrmMain::ShowOpenChainWarning(const TChain& chain)
{
    // Said once, when the chain is picked, never from a repaint.
    if (MachiningType == TMachiningType::Pocket && !IsChainClosed(chain))
        ApplicationMessageBox(GetLangString(464), GetLangString(450), kMbOk + kMbIconError);
}

void TfrmMain::ClearChains()
{
    ChainList.Chains.clear();
    lblChainInfo->clear();
    ScrollBar1->setEnabled(false);
    VistaGrafica->Core2D().Repaint();
}

void TfrmMain::ClearDrillPoints()
{
    ChainList.DrillPoints.clear();
    ChainList.SavedDrillPoints.reset();
    VistaGrafica->Core2D().Repaint();
}

void TfrmMain::ClearChainsOrDrillPoints()
{
    if (MachiningType == TMachiningType::Drill)
        ClearDrillPoints();
    else
        ClearChains();
}
