#pragma once

// The small "Z Depth" window that floats over the main window while an NC
// program is read back: a vertical gauge of the tool's depth (the bar down to
// the current Z, marks at the lowest rapid and work Z) on a ruler whose zero
// row and scale two sliders set, the switch between the 2D and the 3D view,
// and the four camera views of the 3D view.

#include <functional>

#include <QWidget>

#include "view3d/maths/CameraPresets.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QSlider;
class QToolButton;
class TVertRuler;
struct TNcSimulation;

class TfrmZDepth : public QWidget {
    Q_OBJECT
public:
    // Follows the simulation's depths on the gauge while it lives.
    explicit TfrmZDepth(TNcSimulation& sim, QWidget* parent = nullptr);
    ~TfrmZDepth() override;

    // Switches the 3D mode: the main window shows or hides its 3D view
    // (SwitchView3D, which says whether the view is now shown), and the view
    // buttons are enabled while it is.
    void modo3d(bool on);
    std::function<bool(bool on)> SwitchView3D;
    // A view button was clicked.
    std::function<void(TViewPreset)> PresetChosen;

    void TrackBarOffsetChange();
    void TrackBarScaChange();
    void chk3dviewClick();
    void sbtTopViewClick();
    void sbtFrontViewClick();
    void sbtSideViewClick();
    void sbtIsoViewClick();

    // The pixel row of a depth on the gauge: ten minor steps of the ruler's
    // factor make one labelled step of its (negative) text increment, from
    // the offset slider's zero row. Rows beyond any screen are held to a
    // bound, so that no depth can overflow a row.
    int GaugeRow(double z) const;

    QGroupBox* grpZDepth = nullptr;
    QFrame* pnlZGauge = nullptr;
    TVertRuler* VertRuler1 = nullptr;
    QFrame* pnlZAttiva = nullptr;
    QFrame* pnlZMinRap = nullptr;
    QFrame* pnlZMinLav = nullptr;
    QSlider* TrackBarOffset = nullptr;
    QSlider* TrackBarSca = nullptr;
    QGroupBox* grp3DSimulation = nullptr;
    QToolButton* sbtTopView = nullptr;
    QToolButton* sbtFrontView = nullptr;
    QToolButton* sbtSideView = nullptr;
    QToolButton* sbtIsoView = nullptr;
    QCheckBox* chk3dview = nullptr;

protected:
    // Translates the window and gives it the user's window colour.
    void showEvent(QShowEvent* event) override;

private:
    // The bar down to the current Z in the colour of the move, the marks at
    // the lowest Z of each kind.
    void GaugeMove(bool isWork);
    void ClearGauge();
    void PlaceBars();
    void ChoosePreset(TViewPreset preset);

    TNcSimulation& sim_;
};

// The program's Z-depth window, while it exists.
extern TfrmZDepth* frmZDepth;
