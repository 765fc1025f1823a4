#pragma once

// The grid and snap dialog: grid steps, sub-divisions and snap steps, each
// applied as soon as it is chosen, and all put back when the dialog is
// cancelled or closed by its frame.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class TfrmMain;

class TfrmGrid : public QDialog {
    Q_OBJECT
public:
    // Works on the main window's view, engine, grid button and snap menu.
    explicit TfrmGrid(TfrmMain& main, QWidget* parent = nullptr);

    // The combos from the current values: grid steps and sub-divisions as
    // "%6.3f", snap steps in the units' display format. Applies nothing.
    void FillFromMain();

    // What the dialog can change, as it was when it was shown.
    struct TSaved {
        double XSnap = 0.0;
        double YSnap = 0.0;
        double GridDeltaX = 0.0;
        double GridDeltaY = 0.0;
        double GridSubX = 0.0;
        double GridSubY = 0.0;
        bool SnapToGrid = false;
        bool ShowGrid = false;
    };

    void nol_cboGridXChange();
    void nol_cboGridYChange();
    void nol_cboGridSubXChange();
    void nol_cboGridSubYChange();
    void nol_cboXSnapChange();
    void nol_cboYSnapChange();
    void chkShowGridClick();
    void chkSnap2GridClick();
    void btnOkClick();
    void btnCancelClick();

    QLabel* lblGridX = nullptr;
    QComboBox* nol_cboGridX = nullptr;
    QLabel* lblGridY = nullptr;
    QComboBox* nol_cboGridY = nullptr;
    QCheckBox* chkUnisceGrid = nullptr;
    QLabel* lblGridSubX = nullptr;
    QComboBox* nol_cboGridSubX = nullptr;
    QLabel* lblGridSubY = nullptr;
    QComboBox* nol_cboGridSubY = nullptr;
    QCheckBox* chkUnisceSubGrid = nullptr;
    QLabel* lblSnapX = nullptr;
    QComboBox* nol_cboXSnap = nullptr;
    QLabel* lblSnapY = nullptr;
    QComboBox* nol_cboYSnap = nullptr;
    QCheckBox* chkUnisceSnap = nullptr;
    QCheckBox* chkShowGrid = nullptr;
    QCheckBox* chkSnap2Grid = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    // Every way of closing ends here: OK keeps the values, the others put back the saved ones.
    void done(int result) override;

private:
    enum class TValue { GridDeltaX, GridDeltaY, GridSubX, GridSubY, XSnap, YSnap };
    // A typed text that is no number keeps the value applied last.
    void Apply(TValue value, const QComboBox& combo);
    // The change of one combo of a linked pair, carried to its twin.
    void PairChange(QComboBox* changed, TValue value, QComboBox* twin, TValue twinValue, const QCheckBox* link);
    void RestoreSaved();

    TfrmMain& Main;
    TSaved Saved;
    bool RestoreOnClose = false;
    bool CopyingToTwin = false;
};

extern TfrmGrid* frmGrid;
