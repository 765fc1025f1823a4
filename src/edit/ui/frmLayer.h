#pragma once

// The layer table: the drawing's 256 layers in a grid where the user picks
// the current layer, shows and hides layers, renames them and opens the
// attribute dialog for a layer's pen. Every change shows at once on the
// live layers; Cancel (or the frame's close box) puts them all back.

#include <memory>
#include <optional>

#include <QDialog>

#include "edit/entities/LayerBackup.h"

class QLabel;
class QPainter;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
class TfrmMain;

class TfrmLayer : public QDialog {
    Q_OBJECT

public:
    static constexpr int kColumnNumber = 0;
    static constexpr int kColumnCurrent = 1;
    static constexpr int kColumnName = 2;
    static constexpr int kColumnVisible = 3;
    static constexpr int kColumnColour = 4;
    static constexpr int kColumnPenWidth = 5;

    explicit TfrmLayer(TfrmMain& main, QWidget* parent = nullptr);
    ~TfrmLayer() override;

    // Grid rows count from 1 for layer 0; row 0 is the header (no layer).
    int SelectedRow() const { return SelectedRowValue; }
    // The layer of the selected row; none while no row is selected.
    std::optional<int> SelectedLayer() const;

    // Draws one cell of a layer's row.
    void ScriveRiga(QPainter& painter, const QRect& rect, int row, int column) const;
    void StringGrid1SelectCell(int column, int row);
    // A finished edit of a name.
    void StringGrid1SetEditText(int column, int row, const QString& text);
    void btnOkClick();
    void btnCancelClick();

    // Set while shown, cleared by OK: any other close restores the backup.
    bool LayerTableCancelled = false;

    QTableWidget* StringGrid1 = nullptr;
    QLabel* lblLayerNum = nullptr;
    QLabel* lblLayerCurr = nullptr;
    QLabel* lblLayerName = nullptr;
    QLabel* lblLayerVis = nullptr;
    QLabel* lblLayerCol = nullptr;
    QLabel* lblLayerPenW = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void FormShow();
    void FormClose();
    void NameEdited(QTableWidgetItem* item);
    void RepaintView();

    TfrmMain& Main;
    std::unique_ptr<TLayerBackup> Backup;
    int SelectedRowValue = 0;
    bool FillingGrid = false;
};

extern TfrmLayer* frmLayer;
