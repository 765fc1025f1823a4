#include "app/ui/frmGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>

#include "app/Language.h"
#include "app/NumericText.h"
#include "app/TranslateForms.h"
#include "app/ui/DialogControls.h"
#include "app/ui/frmMain.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/ui/CADViewport.h"
#include "platform/IniFile.h"

TfrmGrid* frmGrid = nullptr;

namespace {

const QStringList kStepItems = {"0.001", "0.0025", "0.005", "0.01", "0.025", "0.05", "0.1", "0.25",
                                "0.5",   "1",      "2.5",   "5",    "10",    "25",   "50"};
const QStringList kSubItems = {"0", "2", "3", "4", "5", "10"};

} // namespace

TfrmGrid::TfrmGrid(TfrmMain& main, QWidget* parent)
    : QDialog(parent)
    , Main(main)
{
    setObjectName(QStringLiteral("frmGrid"));
    setWindowTitle(QStringLiteral("Grid and snap"));
    setFixedSize(526, 292);

    auto* grid = new QGridLayout(this);
    int row = 0;
    const auto addPair = [this, grid, &row](const char* xLabel, const char* xName, const char* yLabel,
                                            const char* yName, const char* linkName, const QString& xCaption,
                                            const QString& yCaption, const QStringList& items, QLabel*& lx,
                                            QComboBox*& x, QLabel*& ly, QComboBox*& y, QCheckBox*& link) {
        lx = Named(new QLabel(xCaption, this), xLabel);
        ly = Named(new QLabel(yCaption, this), yLabel);
        x = Named(new QComboBox(this), xName);
        y = Named(new QComboBox(this), yName);
        for (QComboBox* combo : {x, y}) {
            combo->setEditable(true);
            combo->addItems(items);
            combo->setInsertPolicy(QComboBox::NoInsert);
        }
        link = Named(new QCheckBox(QStringLiteral("Same X and Y"), this), linkName);
        link->setChecked(true);
        grid->addWidget(lx, row, 0);
        grid->addWidget(x, row, 1);
        grid->addWidget(ly, row, 2);
        grid->addWidget(y, row, 3);
        grid->addWidget(link, row, 4);
        ++row;
    };
    addPair("lblGridX", "nol_cboGridX", "lblGridY", "nol_cboGridY", "chkUnisceGrid", QStringLiteral("Grid step X:"),
            QStringLiteral("Grid step Y:"), kStepItems, lblGridX, nol_cboGridX, lblGridY, nol_cboGridY, chkUnisceGrid);
    addPair("lblGridSubX", "nol_cboGridSubX", "lblGridSubY", "nol_cboGridSubY", "chkUnisceSubGrid",
            QStringLiteral("Subdivisions X:"), QStringLiteral("Subdivisions Y:"), kSubItems, lblGridSubX,
            nol_cboGridSubX, lblGridSubY, nol_cboGridSubY, chkUnisceSubGrid);
    addPair("lblSnapX", "nol_cboXSnap", "lblSnapY", "nol_cboYSnap", "chkUnisceSnap", QStringLiteral("Snap step X:"),
            QStringLiteral("Snap step Y:"), kStepItems, lblSnapX, nol_cboXSnap, lblSnapY, nol_cboYSnap, chkUnisceSnap);

    chkShowGrid = Named(new QCheckBox(QStringLiteral("Show grid"), this), "chkShowGrid");
    chkSnap2Grid = Named(new QCheckBox(QStringLiteral("Snap to grid"), this), "chkSnap2Grid");
    grid->addWidget(chkShowGrid, row++, 0, 1, 2);
    grid->addWidget(chkSnap2Grid, row++, 0, 1, 2);
    grid->setRowStretch(row++, 1);

    grid->addLayout(OkCancelRow(this, btnOk, btnCancel), row, 0, 1, 5);

    const std::pair<QComboBox*, void (TfrmGrid::*)()> changes[] = {
        {nol_cboGridX, &TfrmGrid::nol_cboGridXChange},       {nol_cboGridY, &TfrmGrid::nol_cboGridYChange},
        {nol_cboGridSubX, &TfrmGrid::nol_cboGridSubXChange}, {nol_cboGridSubY, &TfrmGrid::nol_cboGridSubYChange},
        {nol_cboXSnap, &TfrmGrid::nol_cboXSnapChange},       {nol_cboYSnap, &TfrmGrid::nol_cboYSnapChange},
    };
    for (const auto& [combo, handler] : changes)
        connect(combo, &QComboBox::currentTextChanged, this, handler);
    connect(chkShowGrid, &QCheckBox::clicked, this, &TfrmGrid::chkShowGridClick);
    connect(chkSnap2Grid, &QCheckBox::clicked, this, &TfrmGrid::chkSnap2GridClick);
    connect(btnOk, &QPushButton::clicked, this, &TfrmGrid::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmGrid::btnCancelClick);
}

void TfrmGrid::FillFromMain()
{
    const TCADViewportCore& view = Main.VistaGrafica->Core();
    const std::pair<QComboBox*, QString> texts[] = {
        {nol_cboGridX, FormatFixed(view.GridDeltaX(), 3, 6)},     {nol_cboGridY, FormatFixed(view.GridDeltaY(), 3, 6)},
        {nol_cboGridSubX, FormatFixed(view.GridSubX(), 3, 6)},    {nol_cboGridSubY, FormatFixed(view.GridSubY(), 3, 6)},
        {nol_cboXSnap, formatta(Main.LocalPrg().XSnap)},          {nol_cboYSnap, formatta(Main.LocalPrg().YSnap)},
    };
    for (const auto& [combo, text] : texts) {
        const QSignalBlocker quiet(combo);
        combo->setCurrentIndex(-1);
        combo->setEditText(text);
    }
}

void TfrmGrid::showEvent(QShowEvent* event)
{
    TranslateForms({this}, LanguageFile.get());
    const TCADViewportCore& view = Main.VistaGrafica->Core();
    const TCADPrg2D& engine = Main.LocalPrg();
    chkShowGrid->setChecked(view.ShowGrid());
    chkSnap2Grid->setChecked(engine.UseSnap);
    Saved = {engine.XSnap, engine.YSnap, view.GridDeltaX(), view.GridDeltaY(), view.GridSubX(), view.GridSubY(),
             engine.UseSnap, view.ShowGrid()};
    RestoreOnClose = true;
    QDialog::showEvent(event);
}

void TfrmGrid::Apply(TValue value, const QComboBox& combo)
{
    const std::optional<double> number = ParseIniFloat(combo.currentText().trimmed().toStdString());
    if (!number)
        return;
    const auto v = static_cast<float>(*number);
    TCADViewportCore& view = Main.VistaGrafica->Core();
    switch (value) {
    case TValue::GridDeltaX: view.SetGridDeltaX(v); break;
    case TValue::GridDeltaY: view.SetGridDeltaY(v); break;
    case TValue::GridSubX: view.SetGridSubX(v); break;
    case TValue::GridSubY: view.SetGridSubY(v); break;
    case TValue::XSnap: Main.LocalPrg().XSnap = v; break;
    case TValue::YSnap: Main.LocalPrg().YSnap = v; break;
    }
}

void TfrmGrid::PairChange(QComboBox* changed, TValue value, QComboBox* twin, TValue twinValue, const QCheckBox* link)
{
    Apply(value, *changed);
    if (CopyingToTwin || !link->isChecked())
        return;
    CopyingToTwin = true;
    {
        const QSignalBlocker quiet(twin);
        twin->setEditText(changed->currentText());
    }
    Apply(twinValue, *twin);
    CopyingToTwin = false;
}

void TfrmGrid::nol_cboGridXChange()
{
    PairChange(nol_cboGridX, TValue::GridDeltaX, nol_cboGridY, TValue::GridDeltaY, chkUnisceGrid);
}

void TfrmGrid::nol_cboGridYChange()
{
    PairChange(nol_cboGridY, TValue::GridDeltaY, nol_cboGridX, TValue::GridDeltaX, chkUnisceGrid);
}

void TfrmGrid::nol_cboGridSubXChange()
{
    PairChange(nol_cboGridSubX, TValue::GridSubX, nol_cboGridSubY, TValue::GridSubY, chkUnisceSubGrid);
}

void TfrmGrid::nol_cboGridSubYChange()
{
    PairChange(nol_cboGridSubY, TValue::GridSubY, nol_cboGridSubX, TValue::GridSubX, chkUnisceSubGrid);
}

void TfrmGrid::nol_cboXSnapChange()
{
    PairChange(nol_cboXSnap, TValue::XSnap, nol_cboYSnap, TValue::YSnap, chkUnisceSnap);
}

void TfrmGrid::nol_cboYSnapChange()
{
    PairChange(nol_cboYSnap, TValue::YSnap, nol_cboXSnap, TValue::XSnap, chkUnisceSnap);
}

void TfrmGrid::chkShowGridClick()
{
    Main.sbtGridOnOff->setChecked(chkShowGrid->isChecked());
    Main.VistaGrafica->Core().SetShowGrid(Main.sbtGridOnOff->isChecked());
}

void TfrmGrid::chkSnap2GridClick()
{
    Main.LocalPrg().UseSnap = chkSnap2Grid->isChecked();
    Main.mnuSnap2Grid2->setChecked(chkSnap2Grid->isChecked());
    Main.ImpostaGlyph();
}

void TfrmGrid::btnOkClick()
{
    RestoreOnClose = false;
    accept();
}

void TfrmGrid::btnCancelClick()
{
    reject();
}

void TfrmGrid::done(int result)
{
    if (RestoreOnClose)
        RestoreSaved();
    RestoreOnClose = false;
    QDialog::done(result);
}

void TfrmGrid::RestoreSaved()
{
    TCADViewportCore& view = Main.VistaGrafica->Core();
    Main.LocalPrg().XSnap = static_cast<float>(Saved.XSnap);
    Main.LocalPrg().YSnap = static_cast<float>(Saved.YSnap);
    view.SetGridDeltaX(static_cast<float>(Saved.GridDeltaX));
    view.SetGridDeltaY(static_cast<float>(Saved.GridDeltaY));
    view.SetGridSubX(static_cast<float>(Saved.GridSubX));
    view.SetGridSubY(static_cast<float>(Saved.GridSubY));
    // Setting the boxes runs their handlers, which put back the engine, the
    // snap menu item and glyph, the grid button and the view.
    chkSnap2Grid->setChecked(Saved.SnapToGrid);
    chkSnap2GridClick();
    chkShowGrid->setChecked(Saved.ShowGrid);
    chkShowGridClick();
}
