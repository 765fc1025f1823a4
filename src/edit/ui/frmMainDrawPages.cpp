// The drawing commands of the main window: their starters, the pages whose
// fields size the new entity, and the restarts when a field changes.

#include <QCheckBox>
#include <QLocale>
#include <QPointer>

#include "app/CommandCode.h"
#include "app/Language.h"
#include "app/NumericText.h"
#include "app/ui/controls/NumericKeyFilter.h"
#include "app/ui/controls/RealSpinEdit.h"
#include "app/ui/frmMain.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/shapes/Container2D.h"
#include "cad/shapes/ShapeDrawHooks.h"
#include "edit/commands/CommandTable.h"
#include "edit/commands/DrawingCommands.h"
#include "edit/entities/SelectionOps.h"
#include "edit/ui/DrawPageControls.h"

using namespace drawpages;

namespace {

constexpr std::int32_t kPointGrid = 55;
constexpr std::int32_t kBoltCircle = 56;
constexpr int kClosedEvent = 3;

double Number(const QLineEdit* edit)
{
    return QLocale::c().toDouble(edit->text());
}

int Whole(const QLineEdit* edit)
{
    return QLocale::c().toInt(edit->text());
}

TRealSpinEdit* AngleSpin(QWidget* page, const char* name, int step)
{
    auto* spin = Named(new TRealSpinEdit(page), name);
    spin->SetMinValue(TFixed4::FromInt(-360));
    spin->SetMaxValue(TFixed4::FromInt(360));
    spin->SetIncrement(TFixed4::FromInt(step));
    spin->SetValue(TFixed4::FromInt(0));
    return spin;
}

} // namespace

void TfrmMain::CreateDrawingPages()
{
    {
        TPageColumn page(Page(4));
        txtDiamArco = page.Edit("lblDiamArco", QStringLiteral("Diameter:"), "txtDiamArco", QStringLiteral("1"));
    }
    {
        TPageColumn page(Page(19));
        txtDiamArcoPolare =
            page.Edit("lblDiamArcoPolare", QStringLiteral("Diameter:"), "txtDiamArcoPolare", QStringLiteral("1"));
        rseArcoPolareSa = page.Row("lblArcoPolareSa", QStringLiteral("Start angle:"), AngleSpin(page.Widget(), "rseArcoPolareSa", 45));
        rseArcoPolareEa = page.Row("lblArcoPolareEa", QStringLiteral("End angle:"), AngleSpin(page.Widget(), "rseArcoPolareEa", 45));
    }
    for (int index : {20, 27}) {
        TPageColumn page(Page(index));
        QToolButton* closed = page.Button(index == 20 ? "sbtPolyClosed" : "sbtSplineClosed", QStringLiteral("Closed"));
        connect(closed, &QToolButton::clicked, this, [this] { LocalPrg().SendUserEvent(kClosedEvent); });
    }
    {
        TPageColumn page(Page(21));
        page.Readout(nol_stxRaggio, QStringLiteral("Radius:"));
    }
    {
        TPageColumn page(Page(28));
        QLabel* note = page.Label("lblPoint", QStringLiteral("Click to place a point."));
        note->setWordWrap(true);
        page.Layout()->addWidget(note);
    }
    {
        TPageColumn page(Page(30));
        txtLinePolLen = page.Edit("lblLinePolLen", QStringLiteral("Length:"), "txtLinePolLen", QStringLiteral("1"));
        txtLinePolAngle = page.Row("lblLinePolAngle", QStringLiteral("Angle:"), AngleSpin(page.Widget(), "txtLinePolAngle", 30));
    }
    {
        TPageColumn page(Page(35));
        txtPtGridDx = page.Edit("lblPtGridDx", QStringLiteral("Step X:"), "txtPtGridDx", QStringLiteral("2"));
        txtPtGridDy = page.Edit("lblPtGridDy", QStringLiteral("Step Y:"), "txtPtGridDy", QStringLiteral("2"));
        txtPtGridNx = page.Edit("lblPtGridNx", QStringLiteral("Columns:"), "txtPtGridNx", QStringLiteral("5"));
        txtPtGridNy = page.Edit("lblPtGridNy", QStringLiteral("Rows:"), "txtPtGridNy", QStringLiteral("5"));
        txtPtGridAngle = page.Edit("lblPtGridAngle", QStringLiteral("Angle:"), "txtPtGridAngle", QStringLiteral("0"));
    }
    {
        TPageColumn page(Page(36));
        txtBoltCirRadius = page.Edit("lblBoltCirRadius", QStringLiteral("Radius:"), "txtBoltCirRadius", QStringLiteral("1"));
        txtBoltCirSa = page.Edit("lblBoltCirSa", QStringLiteral("Start angle:"), "txtBoltCirSa", QStringLiteral("0"));
        txtBoltCircAngleBet =
            page.Edit("lblBoltCircAngleBet", QStringLiteral("Angle between:"), "txtBoltCircAngleBet", QStringLiteral("45"));
        txtBoltCircNPt = page.Edit("lblBoltCircNPt", QStringLiteral("Points:"), "txtBoltCircNPt", QStringLiteral("8"));
        chkBoltCircPC = Named(new QCheckBox(QStringLiteral("Create points"), page.Widget()), "chkBoltCircPC");
        chkBoltCircPC->setChecked(true);
        chkBoltCircHC = Named(new QCheckBox(QStringLiteral("Create hole"), page.Widget()), "chkBoltCircHC");
        page.Layout()->addWidget(chkBoltCircPC);
        page.Layout()->addWidget(chkBoltCircHC);
        txtBoltCirDiaHole = Named(new QLineEdit(QStringLiteral("1"), page.Widget()), "txtBoltCirDiaHole");
        page.Row("lblBoltCirDiaHole", QStringLiteral("Hole diameter:"), txtBoltCirDiaHole);
        lblBoltCirDiaHole = page.LastLabel();
        lblBoltCirDiaHole->setEnabled(false);
        txtBoltCirDiaHole->setEnabled(false);
    }

    for (QLineEdit* edit : {txtDiamArco, txtDiamArcoPolare, txtLinePolLen, txtPtGridDx, txtPtGridDy, txtPtGridNx,
                            txtPtGridNy, txtBoltCirRadius, txtBoltCirSa, txtBoltCircAngleBet, txtBoltCircNPt})
        InstallKeyFilter(*edit, SoloNumeriPos);
    for (QLineEdit* edit : {txtPtGridAngle, txtBoltCirDiaHole})
        InstallKeyFilter(*edit, SoloNumeriEMeno);

    // Only what the user types restarts a command; the spin edits' arrows
    // write their text themselves, so any change of theirs counts.
    const auto restartOnEdit = [this](std::int32_t code, QLineEdit* field, bool caretAtEnd) {
        connect(field, &QLineEdit::textEdited, this,
                [this, code, field, caretAtEnd] { DrawingFieldChange(code, field, caretAtEnd); });
    };
    restartOnEdit(5, txtDiamArco, false);
    restartOnEdit(7, txtDiamArcoPolare, false);
    restartOnEdit(30, txtLinePolLen, false);
    for (std::pair<std::int32_t, TRealSpinEdit*> spin : {std::pair{7, rseArcoPolareSa}, std::pair{7, rseArcoPolareEa},
                                                         std::pair{30, txtLinePolAngle}})
        connect(spin.second, &QLineEdit::textChanged, this,
                [this, spin] { DrawingFieldChange(spin.first, spin.second, false); });
    for (QLineEdit* edit : {txtPtGridDx, txtPtGridDy, txtPtGridNx, txtPtGridNy, txtPtGridAngle})
        restartOnEdit(kPointGrid, edit, true);
    for (QLineEdit* edit : {txtBoltCirRadius, txtBoltCirSa, txtBoltCircAngleBet, txtBoltCircNPt, txtBoltCirDiaHole})
        restartOnEdit(kBoltCircle, edit, true);
    connect(chkBoltCircPC, &QCheckBox::clicked, this, [this] { DrawingFieldChange(kBoltCircle, nullptr, true); });
    connect(chkBoltCircHC, &QCheckBox::clicked, this, &TfrmMain::chkBoltCircHCClick);

    CreateTextAndInfoPages();
    for (const std::int32_t code : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 30, kPointGrid, kBoltCircle})
        CommandActions[code] = [this, code] { DrawFromPage(code); };
    CommandActions[kExplodePlacedAction] = [this] { ExplodeLastPlaced(); };
}

// A placed text, point grid or bolt circle is the drawing's newest object;
// its points, holes and strokes become objects of their own.
void TfrmMain::ExplodeLastPlaced()
{
    TObject2D* last = nullptr;
    {
        const auto objects = LocalCad().ObjectsIterator();
        for (TGraphicObject* object = objects->First(); object != nullptr; object = objects->Next())
            last = dynamic_cast<TObject2D*>(object);
    }
    if (dynamic_cast<TContainer2D*>(last) == nullptr)
        return;
    TExplodeCounts counts;
    if (EsplodeBlocco(LocalCad(), *last, counts))
        LocalCad().RepaintViewports();
}

void TfrmMain::DrawFromPage(std::int32_t code)
{
    const TCommandRow* row = FindCommand(code);
    if (row == nullptr)
        return;
    std::unique_ptr<TObject2D> object;
    std::string error;
    if (code == kPointGrid) {
        object = PointGrid({Number(txtPtGridDx), Number(txtPtGridDy), Whole(txtPtGridNx), Whole(txtPtGridNy),
                            Number(txtPtGridAngle)},
                           error);
    } else if (code == kBoltCircle) {
        TBoltCircleParameters bolt;
        bolt.Radius = Number(txtBoltCirRadius);
        bolt.StartAngle = Number(txtBoltCirSa);
        bolt.AngleBetween = Number(txtBoltCircAngleBet);
        bolt.Count = Whole(txtBoltCircNPt);
        bolt.HoleDiameter = Number(txtBoltCirDiaHole);
        bolt.CreatePoints = chkBoltCircPC->isChecked();
        bolt.CreateHoles = chkBoltCircHC->isChecked();
        object = BoltCircle(bolt, error);
    } else {
        TDrawingParameters p;
        p.CircleDiameter = Number(txtDiamArco);
        p.PolarArcDiameter = Number(txtDiamArcoPolare);
        p.PolarArcStart = rseArcoPolareSa->Value().ToDouble();
        p.PolarArcEnd = rseArcoPolareEa->Value().ToDouble();
        p.PolarLineLength = Number(txtLinePolLen);
        p.PolarLineAngle = txtLinePolAngle->Value().ToDouble();
        object = StarterPrimitive(code, p);
    }
    if (!error.empty()) {
        Messaggio(QString::fromStdString(error));
        if (LocalPrg().IsBusy())
            LocalPrg().StopOperation();
        return;
    }
    StartDrawingTask(LocalPrg(), *row, std::move(object));
}

void TfrmMain::DrawingFieldChange(std::int32_t code, QLineEdit* field, bool caretAtEnd)
{
    if (FillingControls || (field != nullptr && !NumeroOk(field->text())))
        return;
    const int caret = field != nullptr ? field->cursorPosition() : 0;
    StartCommand(code);
    if (field == nullptr)
        return;
    field->setFocus();
    field->setCursorPosition(caretAtEnd ? static_cast<int>(field->text().size()) : caret);
}

void TfrmMain::chkBoltCircHCClick()
{
    const bool holes = chkBoltCircHC->isChecked();
    lblBoltCirDiaHole->setEnabled(holes);
    txtBoltCirDiaHole->setEnabled(holes);
    StartCommand(kBoltCircle);
}

void TfrmMain::MyPuntoClick() { StartCommand(1); }
void TfrmMain::MyLineEndPtClick() { StartCommand(2); }
void TfrmMain::sbtRectangleClick() { StartCommand(3); }
void TfrmMain::MyCircleCtDiaClick() { StartCommand(5); }
void TfrmMain::MyArcCtPtSaEaClick() { StartCommand(6); }
void TfrmMain::MyArcPolarClick() { StartCommand(7); }
void TfrmMain::mnuEllipseCloseClick() { StartCommand(8); }
void TfrmMain::mnuEllipseOpenClick() { StartCommand(9); }
void TfrmMain::sbtPolyClick() { StartCommand(10); }
void TfrmMain::sbtSplineClick() { StartCommand(11); }
void TfrmMain::MyLinePolarClick() { StartCommand(30); }
void TfrmMain::MyPointGridClick() { StartCommand(kPointGrid); }
void TfrmMain::MyBoltPointClick() { StartCommand(kBoltCircle); }
