#pragma once

// The pen of one layer: its colour and width. Nothing changes until OK.

#include <QDialog>

#include "cad/canvas/CanvasTypes.h"

class QGroupBox;
class QPushButton;
class TColorBox;
class TfrmLayer;
class TfrmMain;
class Tpenwidthcombo;

class TfrmLayerAttr : public QDialog {
    Q_OBJECT

public:
    TfrmLayerAttr(TfrmLayer& table, TfrmMain& main, QWidget* parent = nullptr);

    void ColorBox1Change();
    void penwidthcombo1Change();
    void btnOkClick();
    void btnCancelClick();

    // Set while shown, cleared by OK.
    bool LayerAttrCancelled = false;
    TColor PendingColor = clBlack;
    int PendingWidth = 1;

    QGroupBox* GroupBox1 = nullptr;
    TColorBox* ColorBox1 = nullptr;
    Tpenwidthcombo* penwidthcombo1 = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void FormShow();
    void FormClose();

    TfrmLayer& Table;
    TfrmMain& Main;
    // The layer being edited; none when the table has no row selected.
    int Layer = -1;
};

extern TfrmLayerAttr* frmLayerAttr;
