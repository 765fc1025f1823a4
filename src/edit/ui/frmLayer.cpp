#include "edit/ui/frmLayer.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/Language.h"
#include "app/TranslateForms.h"
#include "app/ui/DialogControls.h"
#include "app/ui/frmMain.h"
#include "cad/drawing/CADCmp2D.h"
#include "edit/ui/frmLayerAttr.h"

TfrmLayer* frmLayer = nullptr;

namespace {

constexpr int kColumnWidths[] = {33, 53, 288, 64, 64, 64};
constexpr int kRowHeight = 22;

// The pictures of the visible and the hidden layer and the current-layer mark.
enum class TLayerImage { Visible, Hidden, Current };

void DrawLayerImage(QPainter& painter, const QRect& cell, TLayerImage image)
{
    const QRect box(cell.center().x() - 8, cell.center().y() - 8, 16, 16);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (image == TLayerImage::Current) {
        painter.setPen(QPen(QColor(0, 128, 0), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QPoint tick[] = {{box.left() + 2, box.top() + 8}, {box.left() + 6, box.top() + 13},
                               {box.left() + 14, box.top() + 3}};
        painter.drawPolyline(tick, 3);
    } else {
        const bool visible = image == TLayerImage::Visible;
        const QColor ink = visible ? Qt::black : Qt::gray;
        painter.setPen(QPen(ink, 1.5));
        painter.setBrush(visible ? Qt::white : QColor(230, 230, 230));
        painter.drawEllipse(QRectF(box.left() + 0.5, box.top() + 4.5, 15, 7));
        painter.setBrush(ink);
        painter.drawEllipse(QPointF(box.center()) + QPointF(0.5, 0.5), 2.5, 2.5);
        if (!visible) {
            painter.setPen(QPen(Qt::red, 2));
            painter.drawLine(box.topLeft() + QPoint(1, 1), box.bottomRight() - QPoint(1, 1));
        }
    }
    painter.restore();
}

// A name the layer takes whole: its UTF-8 form fits the layer's length
// without a character cut in two.
QString FittingName(QString text)
{
    while (text.toUtf8().size() > static_cast<qsizetype>(TLayer::MaxNameLength))
        text.chop(1);
    return text;
}

class TLayerCellDelegate : public QStyledItemDelegate {
public:
    explicit TLayerCellDelegate(TfrmLayer& table) : QStyledItemDelegate(&table), Table(table) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        Table.ScriveRiga(*painter, option.rect, index.row() + 1, index.column());
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            line->setMaxLength(static_cast<int>(TLayer::MaxNameLength));
        return editor;
    }

private:
    TfrmLayer& Table;
};

} // namespace

TfrmLayer::TfrmLayer(TfrmMain& main, QWidget* parent) : QDialog(parent), Main(main)
{
    setObjectName(QStringLiteral("frmLayer"));
    setWindowTitle(QStringLiteral("Layers"));

    // The header captions are language texts carried by hidden labels.
    const std::pair<QLabel*&, const char*> labels[] = {
        {lblLayerNum, "No."},     {lblLayerCurr, "Current"}, {lblLayerName, "Name"},
        {lblLayerVis, "Visible"}, {lblLayerCol, "Colour"},   {lblLayerPenW, "Pen width"},
    };
    const char* names[] = {"lblLayerNum", "lblLayerCurr", "lblLayerName", "lblLayerVis", "lblLayerCol", "lblLayerPenW"};
    int i = 0;
    for (const auto& [label, caption] : labels) {
        label = Named(new QLabel(QString::fromLatin1(caption), this), names[i++]);
        label->hide();
    }

    StringGrid1 = Named(new QTableWidget(TLayers::Count, 6, this), "StringGrid1");
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setDefaultSectionSize(kRowHeight);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->horizontalHeader()->setHighlightSections(false);
    StringGrid1->setSelectionMode(QAbstractItemView::NoSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                 QAbstractItemView::AnyKeyPressed);
    StringGrid1->setItemDelegate(new TLayerCellDelegate(*this));
    int gridWidth = 2 * StringGrid1->frameWidth() + 18;
    for (int column = 0; column < 6; ++column) {
        StringGrid1->setColumnWidth(column, kColumnWidths[column]);
        gridWidth += kColumnWidths[column];
    }
    for (int row = 0; row < TLayers::Count; ++row)
        for (int column = 0; column < 6; ++column) {
            auto* item = new QTableWidgetItem;
            // Only the name is typed; a number or a picture is never edited.
            Qt::ItemFlags flags = Qt::ItemIsEnabled;
            if (column == kColumnName)
                flags |= Qt::ItemIsEditable | Qt::ItemIsSelectable;
            item->setFlags(flags);
            StringGrid1->setItem(row, column, item);
        }
    StringGrid1->setMinimumWidth(gridWidth);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(StringGrid1);
    layout->addLayout(OkCancelRow(this, btnOk, btnCancel));
    resize(gridWidth + 24, 480);

    connect(StringGrid1, &QTableWidget::cellClicked, this,
            [this](int row, int column) { StringGrid1SelectCell(column, row + 1); });
    connect(StringGrid1, &QTableWidget::itemChanged, this, &TfrmLayer::NameEdited);
    connect(btnOk, &QPushButton::clicked, this, &TfrmLayer::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmLayer::btnCancelClick);
}

TfrmLayer::~TfrmLayer() = default;

std::optional<int> TfrmLayer::SelectedLayer() const
{
    if (SelectedRowValue < 1 || SelectedRowValue > TLayers::Count)
        return std::nullopt;
    return SelectedRowValue - 1;
}

void TfrmLayer::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TfrmLayer::FormShow()
{
    TranslateForms({this}, LanguageFile.get());
    LayerTableCancelled = true;
    StringGrid1->setHorizontalHeaderLabels({lblLayerNum->text(), lblLayerCurr->text(), lblLayerName->text(),
                                            lblLayerVis->text(), lblLayerCol->text(), lblLayerPenW->text()});
    SelectedRowValue = 0;
    Backup = std::make_unique<TLayerBackup>(Main.LocalCad());
    FillingGrid = true;
    const TLayers& layers = Main.LocalCad().Layers();
    for (int layer = 0; layer < TLayers::Count; ++layer) {
        StringGrid1->item(layer, kColumnNumber)->setText(QString::number(layer));
        StringGrid1->item(layer, kColumnName)->setText(QString::fromStdString(layers.GetLayer(layer).Name()));
    }
    FillingGrid = false;
}

void TfrmLayer::ScriveRiga(QPainter& painter, const QRect& rect, int row, int column) const
{
    if (row < 1 || row > TLayers::Count)
        return;
    const int layerIndex = row - 1;
    const TCADCmp2D& drawing = Main.LocalCad();
    const TLayer& layer = drawing.Layers().GetLayer(layerIndex);
    const bool current = layerIndex == drawing.CurrentLayer;
    const bool selected = row == SelectedRowValue;
    painter.save();
    QColor fill = Qt::white;
    if (current)
        fill = Qt::yellow;
    if (selected)
        fill = Qt::blue;
    painter.fillRect(rect, fill);
    painter.setPen(selected ? Qt::white : Qt::black);
    switch (column) {
    case kColumnNumber:
    case kColumnName: {
        const QString text = StringGrid1->item(layerIndex, column)->text();
        painter.drawText(rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, text);
        break;
    }
    case kColumnCurrent:
        if (current)
            DrawLayerImage(painter, rect, TLayerImage::Current);
        break;
    case kColumnVisible:
        DrawLayerImage(painter, rect, layer.Visible ? TLayerImage::Visible : TLayerImage::Hidden);
        break;
    case kColumnColour: {
        const QRect swatch(rect.center().x() - 24, rect.center().y() - 8, 48, 16);
        painter.fillRect(swatch, ToQColor(layer.Pen().Color));
        painter.setPen(Qt::black);
        painter.drawRect(swatch.adjusted(0, 0, -1, -1));
        break;
    }
    case kColumnPenWidth: {
        painter.fillRect(rect, Qt::white);
        const int middle = rect.top() + rect.height() / 2;
        painter.setPen(QPen(Qt::black, layer.Pen().Width, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(rect.left() + 8, middle, rect.left() + 43, middle);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawText(QPoint(rect.left() + 50, rect.top() + 5 + painter.fontMetrics().ascent()),
                         QString::number(layer.Pen().Width));
        break;
    }
    default: break;
    }
    painter.restore();
}

void TfrmLayer::StringGrid1SelectCell(int column, int row)
{
    if (row < 1 || row > TLayers::Count)
        return;
    SelectedRowValue = row;
    TCADCmp2D& drawing = Main.LocalCad();
    const int layerIndex = row - 1;
    switch (column) {
    case kColumnCurrent:
        Main.SetCurrentLayer(layerIndex);
        break;
    case kColumnVisible: {
        TLayer& layer = drawing.Layers().GetLayer(layerIndex);
        layer.Visible = !layer.Visible;
        RepaintView();
        break;
    }
    case kColumnColour:
    case kColumnPenWidth:
        if (frmLayerAttr != nullptr)
            frmLayerAttr->exec();
        Main.CurrLayerCol(drawing.Layers().GetLayer(drawing.CurrentLayer).Pen().Color);
        break;
    default: break;
    }
    StringGrid1->viewport()->update();
}

void TfrmLayer::NameEdited(QTableWidgetItem* item)
{
    if (FillingGrid || item->column() != kColumnName)
        return;
    StringGrid1SetEditText(item->column(), item->row() + 1, item->text());
}

void TfrmLayer::StringGrid1SetEditText(int column, int row, const QString& text)
{
    if (column != kColumnName || row < 1 || row > TLayers::Count)
        return;
    TLayer& layer = Main.LocalCad().Layers().GetLayer(row - 1);
    layer.SetName(FittingName(text).toStdString());
    // The cell shows what the layer kept.
    const QString kept = QString::fromStdString(layer.Name());
    QTableWidgetItem* item = StringGrid1->item(row - 1, column);
    if (item->text() != kept) {
        FillingGrid = true;
        item->setText(kept);
        FillingGrid = false;
    }
}

void TfrmLayer::btnOkClick()
{
    LayerTableCancelled = false;
    accept();
}

void TfrmLayer::btnCancelClick()
{
    reject();
}

void TfrmLayer::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TfrmLayer::FormClose()
{
    if (LayerTableCancelled && Backup) {
        Backup->Restore(Main.LocalCad());
        RepaintView();
    }
    LayerTableCancelled = false;
    Backup.reset();
    Main.CurrLayerInfo();
}

void TfrmLayer::RepaintView()
{
    Main.LocalCad().RepaintViewports();
}
