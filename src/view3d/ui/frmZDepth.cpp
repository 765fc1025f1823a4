#include "view3d/ui/frmZDepth.h"

#include <algorithm>
#include <cmath>

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QPalette>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>

#include "app/Language.h"
#include "app/TranslateForms.h"
#include "app/ui/DialogControls.h"
#include "app/ui/controls/VertRuler.h"
#include "cad/base/Settings.h"
#include "cad/canvas/DecorativeCanvas.h"
#include "cam/simulation/NcSimulation.h"

TfrmZDepth* frmZDepth = nullptr;

namespace {

constexpr int kGaugeWidth = 58;
constexpr int kGaugeHeight = 400;
constexpr int kRulerWidth = 25;
// Rows further off than this are off every screen; holding them here keeps
// any depth, however far, a valid row.
constexpr double kRowBound = 1.0e6;

void Fill(QFrame* panel, TColor color)
{
    QPalette colours = panel->palette();
    colours.setColor(QPalette::Window, ToQColor(color));
    panel->setPalette(colours);
    panel->setAutoFillBackground(true);
}

QToolButton* ViewButton(QWidget* parent, const char* name, const char* glyph, const char* hint, int x)
{
    auto* button = Named(new QToolButton(parent), name);
    button->setText(QString::fromLatin1(glyph));
    button->setToolTip(QString::fromLatin1(hint));
    button->setAutoRaise(true);
    button->setGeometry(x, 20, 22, 22);
    return button;
}

} // namespace

TfrmZDepth::TfrmZDepth(TNcSimulation& sim, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
    , sim_(sim)
{
    setObjectName(QStringLiteral("frmZDepth"));
    setWindowTitle(QStringLiteral("Z Depth"));
    setFixedSize(115, 563);

    grpZDepth = Named(new QGroupBox(QStringLiteral("Z Depth:"), this), "grpZDepth");
    grpZDepth->setGeometry(4, 4, 107, 470);
    pnlZGauge = Named(new QFrame(grpZDepth), "pnlZGauge");
    pnlZGauge->setGeometry(6, 20, kGaugeWidth, kGaugeHeight);
    Fill(pnlZGauge, 0xFFFFFF);

    VertRuler1 = Named(new TVertRuler(pnlZGauge), "VertRuler1");
    VertRuler1->setGeometry(0, 0, kRulerWidth, kGaugeHeight);
    VertRuler1->SetScalaOffset(200);
    VertRuler1->SetScalaFactor(2);
    VertRuler1->SetScalaTextIncrement(-5.0);
    VertRuler1->SetScalaFontSize(6);
    VertRuler1->SetScalaColor(QColor(0, 0, 128));
    VertRuler1->SetShowUnit(false);
    VertRuler1->SetTextUnit(QStringLiteral("mm"));

    pnlZAttiva = Named(new QFrame(pnlZGauge), "pnlZAttiva");
    pnlZAttiva->setGeometry(kRulerWidth + 2, 0, kGaugeWidth - kRulerWidth - 4, 0);
    Fill(pnlZAttiva, SIM_WORK_COLOR);
    pnlZMinRap = Named(new QFrame(pnlZGauge), "pnlZMinRap");
    pnlZMinRap->setGeometry(kRulerWidth + 2, -1, kGaugeWidth - kRulerWidth - 4, 2);
    Fill(pnlZMinRap, SIM_RAPID_COLOR);
    pnlZMinLav = Named(new QFrame(pnlZGauge), "pnlZMinLav");
    pnlZMinLav->setGeometry(kRulerWidth + 2, -1, kGaugeWidth - kRulerWidth - 4, 2);
    Fill(pnlZMinLav, SIM_WORK_COLOR);

    // The slider's rows run down as the gauge's do.
    TrackBarOffset = Named(new QSlider(Qt::Vertical, grpZDepth), "TrackBarOffset");
    TrackBarOffset->setInvertedAppearance(true);
    TrackBarOffset->setRange(0, kGaugeHeight);
    TrackBarOffset->setValue(200);
    TrackBarOffset->setTickInterval(50);
    TrackBarOffset->setTickPosition(QSlider::TicksRight);
    TrackBarOffset->setGeometry(68, 14, 32, kGaugeHeight + 12);
    TrackBarSca = Named(new QSlider(Qt::Horizontal, grpZDepth), "TrackBarSca");
    TrackBarSca->setRange(1, 10);
    TrackBarSca->setValue(2);
    TrackBarSca->setTickPosition(QSlider::TicksBelow);
    TrackBarSca->setGeometry(6, 428, 95, 32);

    grp3DSimulation = Named(new QGroupBox(QStringLiteral("3D simulation:"), this), "grp3DSimulation");
    grp3DSimulation->setGeometry(4, 478, 107, 81);
    sbtTopView = ViewButton(grp3DSimulation, "sbtTopView", "T", "Top view", 6);
    sbtFrontView = ViewButton(grp3DSimulation, "sbtFrontView", "F", "Front view", 30);
    sbtSideView = ViewButton(grp3DSimulation, "sbtSideView", "S", "Side view", 54);
    sbtIsoView = ViewButton(grp3DSimulation, "sbtIsoView", "I", "Iso view", 78);
    chk3dview = Named(new QCheckBox(QStringLiteral("3Dview"), grp3DSimulation), "chk3dview");
    chk3dview->setToolTip(QStringLiteral("Enable / disable 3d view"));
    chk3dview->setGeometry(6, 50, 95, 22);

    connect(TrackBarOffset, &QSlider::valueChanged, this, &TfrmZDepth::TrackBarOffsetChange);
    connect(TrackBarSca, &QSlider::valueChanged, this, &TfrmZDepth::TrackBarScaChange);
    connect(chk3dview, &QCheckBox::clicked, this, &TfrmZDepth::chk3dviewClick);
    connect(sbtTopView, &QToolButton::clicked, this, &TfrmZDepth::sbtTopViewClick);
    connect(sbtFrontView, &QToolButton::clicked, this, &TfrmZDepth::sbtFrontViewClick);
    connect(sbtSideView, &QToolButton::clicked, this, &TfrmZDepth::sbtSideViewClick);
    connect(sbtIsoView, &QToolButton::clicked, this, &TfrmZDepth::sbtIsoViewClick);

    sim_.ZGauge = [this](bool isWork, float, bool) { GaugeMove(isWork); };
    sim_.GaugeCleared = [this] { ClearGauge(); };
}

TfrmZDepth::~TfrmZDepth()
{
    sim_.ZGauge = nullptr;
    sim_.GaugeCleared = nullptr;
}

void TfrmZDepth::modo3d(bool on)
{
    const bool shown = SwitchView3D ? SwitchView3D(on) : on;
    for (QToolButton* button : {sbtTopView, sbtFrontView, sbtSideView, sbtIsoView})
        button->setEnabled(shown);
}

void TfrmZDepth::chk3dviewClick()
{
    modo3d(chk3dview->isChecked());
    // Where the 3D view cannot be shown the box does not claim it is.
    if (chk3dview->isChecked() && !sbtIsoView->isEnabled()) {
        const QSignalBlocker quiet(chk3dview);
        chk3dview->setChecked(false);
    }
}

void TfrmZDepth::TrackBarOffsetChange()
{
    VertRuler1->SetScalaOffset(TrackBarOffset->value());
    PlaceBars();
}

void TfrmZDepth::TrackBarScaChange()
{
    const int factor = TrackBarSca->value();
    VertRuler1->SetScalaFactor(factor);
    VertRuler1->SetScalaTextIncrement(factor == 1 ? -10.0 : factor == 2 ? -5.0 : factor == 3 ? -2.0 : -1.0);
    PlaceBars();
}

int TfrmZDepth::GaugeRow(double z) const
{
    const double row =
        VertRuler1->ScalaFactor() * z * 10.0 / VertRuler1->ScalaTextIncrement() + TrackBarOffset->value();
    // Not a number, as a row, is off the top.
    if (!(row > -kRowBound))
        return static_cast<int>(-kRowBound);
    if (row > kRowBound)
        return static_cast<int>(kRowBound);
    return static_cast<int>(std::nearbyint(row));
}

void TfrmZDepth::PlaceBars()
{
    // Held just beyond the gauge's edges: a bar or mark off the scale shows
    // at the edge it passed, or not at all.
    const auto clampRow = [](int row) { return std::clamp(row, -2, kGaugeHeight + 1); };
    pnlZAttiva->resize(pnlZAttiva->width(), std::clamp(GaugeRow(sim_.ZCurrent), 0, kGaugeHeight));
    pnlZMinRap->move(pnlZMinRap->x(), clampRow(GaugeRow(sim_.ZMinRapid) - 1));
    pnlZMinLav->move(pnlZMinLav->x(), clampRow(GaugeRow(sim_.ZMinWork) - 1));
}

void TfrmZDepth::GaugeMove(bool isWork)
{
    Fill(pnlZAttiva, isWork ? SIM_WORK_COLOR : SIM_RAPID_COLOR);
    PlaceBars();
}

void TfrmZDepth::ClearGauge()
{
    pnlZAttiva->resize(pnlZAttiva->width(), 0);
    pnlZMinRap->move(pnlZMinRap->x(), -1);
    pnlZMinLav->move(pnlZMinLav->x(), -1);
}

void TfrmZDepth::ChoosePreset(TViewPreset preset)
{
    if (PresetChosen)
        PresetChosen(preset);
}

void TfrmZDepth::sbtTopViewClick()
{
    ChoosePreset(TViewPreset::Top);
}

void TfrmZDepth::sbtFrontViewClick()
{
    ChoosePreset(TViewPreset::Front);
}

void TfrmZDepth::sbtSideViewClick()
{
    ChoosePreset(TViewPreset::Side);
}

void TfrmZDepth::sbtIsoViewClick()
{
    ChoosePreset(TViewPreset::Iso);
}

void TfrmZDepth::showEvent(QShowEvent* event)
{
    TranslateForms({this}, LanguageFile.get());
    QPalette colours = palette();
    colours.setColor(QPalette::Window, ToQColor(FormColor));
    setPalette(colours);
    setAutoFillBackground(true);
    QWidget::showEvent(event);
}
