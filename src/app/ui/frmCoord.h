#pragma once

// The coordinate dialog: the user types a point instead of clicking it. The
// caller fills both fields, shows the dialog modally and reads them back.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TfrmCoord : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCoord(QWidget* parent = nullptr);

    QLabel* lblCoordX = nullptr;
    QLineEdit* txtCoordX = nullptr;
    QLabel* lblCoordY = nullptr;
    QLineEdit* txtCoordY = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

    // The X field takes a number with one leading sign and one point.
    bool txtCoordXKeyPress(char key) const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

extern TfrmCoord* frmCoord;
