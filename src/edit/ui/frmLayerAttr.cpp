#include "edit/ui/frmLayerAttr.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Language.h"
#include "app/TranslateForms.h"
#include "app/ui/DialogControls.h"
#include "app/ui/controls/ColorBox.h"
#include "app/ui/frmMain.h"
#include "cad/drawing/CADCmp2D.h"
#include "edit/ui/PenWidthCombo.h"
#include "edit/ui/frmLayer.h"

TfrmLayerAttr* frmLayerAttr = nullptr;

TfrmLayerAttr::TfrmLayerAttr(TfrmLayer& table, TfrmMain& main, QWidget* parent)
    : QDialog(parent), Table(table), Main(main)
{
    setObjectName(QStringLiteral("frmLayerAttr"));
    setWindowTitle(QStringLiteral("Layer attributes"));

    GroupBox1 = Named(new QGroupBox(this), "GroupBox1");
    ColorBox1 = Named(new TColorBox(GroupBox1), "ColorBox1");
    penwidthcombo1 = Named(new Tpenwidthcombo(GroupBox1), "penwidthcombo1");
    auto* fields = new QGridLayout(GroupBox1);
    fields->addWidget(new QLabel(Table.lblLayerCol->text(), GroupBox1), 0, 0);
    fields->addWidget(ColorBox1, 0, 1);
    fields->addWidget(new QLabel(Table.lblLayerPenW->text(), GroupBox1), 1, 0);
    fields->addWidget(penwidthcombo1, 1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addLayout(OkCancelRow(this, btnOk, btnCancel));

    connect(ColorBox1, &QComboBox::activated, this, &TfrmLayerAttr::ColorBox1Change);
    connect(penwidthcombo1, &QComboBox::activated, this, &TfrmLayerAttr::penwidthcombo1Change);
    connect(btnOk, &QPushButton::clicked, this, &TfrmLayerAttr::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmLayerAttr::btnCancelClick);
}

void TfrmLayerAttr::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TfrmLayerAttr::FormShow()
{
    TranslateForms({this}, LanguageFile.get());
    setWindowTitle(Table.windowTitle());
    LayerAttrCancelled = true;
    const std::optional<int> layer = Table.SelectedLayer();
    Layer = layer.value_or(-1);
    // Both pending values start from the layer, so that OK after changing
    // only one of them keeps the other as it was.
    const TPenState pen = layer ? Main.LocalCad().Layers().GetLayer(*layer).Pen() : TPenState{};
    GroupBox1->setTitle(layer ? QString::fromStdString(Main.LocalCad().Layers().GetLayer(*layer).Name()) : QString());
    PendingColor = pen.Color;
    PendingWidth = pen.Width;
    ColorBox1->SetSelected(pen.Color);
    penwidthcombo1->SetPenWidth(pen.Width);
    btnOk->setEnabled(layer.has_value());
}

void TfrmLayerAttr::ColorBox1Change()
{
    PendingColor = ColorBox1->Selected();
}

void TfrmLayerAttr::penwidthcombo1Change()
{
    if (penwidthcombo1->currentIndex() >= 0)
        PendingWidth = penwidthcombo1->currentIndex() + 1;
}

void TfrmLayerAttr::btnOkClick()
{
    LayerAttrCancelled = false;
    accept();
}

void TfrmLayerAttr::btnCancelClick()
{
    reject();
}

void TfrmLayerAttr::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TfrmLayerAttr::FormClose()
{
    if (!LayerAttrCancelled && Layer >= 0) {
        TLayer& layer = Main.LocalCad().Layers().GetLayer(Layer);
        TPenState pen = layer.Pen();
        pen.Color = PendingColor;
        pen.Width = PendingWidth;
        layer.SetPen(pen);
        Main.LocalCad().RepaintViewports();
    }
    LayerAttrCancelled = false;
}
