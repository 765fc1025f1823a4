#pragma once

// The tool dialog: the cutter's type, number, speed, feeds, diameter and
// shape, which become the NC program's tool words. Opened for the one
// current tool it is small; as a tool database it also shows the tool list
// beside the fields.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;

class TfrmTool : public QDialog {
    Q_OBJECT
public:
    explicit TfrmTool(QWidget* parent = nullptr);

    enum TToolType { Flat, BullNose, Spherical, Conical, Drill, Undefined };

    // Shown for the one current tool (true) or as the tool database.
    bool SingleTool = true;
    // The type shown when the dialog opens, and the list row selected once.
    int RememberedType = Flat;
    int RememberedRow = 0;

    QGroupBox* grpInfo = nullptr;
    QLabel* imgTipoUt = nullptr;
    QLineEdit* txtUtName = nullptr;
    QComboBox* cboTipoUt = nullptr;
    QSpinBox* sedToolNum = nullptr;
    QLineEdit* txtGiri = nullptr;
    QLineEdit* txtFeedrate = nullptr;
    QLineEdit* txtPlungeRate = nullptr;
    QLineEdit* txtDiametro = nullptr;
    QLabel* lblAngolo = nullptr;
    QLineEdit* txtAngolo = nullptr;
    QLabel* lblDiamFlat = nullptr;
    QLineEdit* txtDiamFlat = nullptr;
    QLineEdit* txtPassZ = nullptr;
    QLabel* lblC_Raggio = nullptr;
    QLineEdit* txtC_Raggio = nullptr;
    QCheckBox* chkCoolant = nullptr;
    QTreeWidget* ListView1 = nullptr;
    QPushButton* btnDelete = nullptr;
    QPushButton* btnAdd = nullptr;
    QPushButton* btnModify = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

    void cboTipoUtChange();
    void txtDiametroChange();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    bool RowSelected = false;
};

extern TfrmTool* frmTool;
