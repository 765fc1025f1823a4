#include <gtest/gtest.h>

#include <filesystem>

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/TranslateForms.h"
#include "app/ui/controls/ColorBox.h"
#include "app/ui/frmMain.h"
#include "cad/drawing/CADCmp2D.h"
#include "edit/ui/PenWidthCombo.h"
#include "edit/ui/frmLayer.h"
#include "edit/ui/frmLayerAttr.h"

namespace {

// The main window with its two layer dialogs, as start-up makes them.
class LayerDialogs : public testing::Test {
protected:
    LayerDialogs() : Table(Frm, &Frm), Attributes(Table, Frm, &Frm)
    {
        frmLayer = &Table;
        frmLayerAttr = &Attributes;
        // No language file here: the designed English texts stay.
        SetLanguageMessageSink([](const QString&) {});
    }
    ~LayerDialogs() override
    {
        SetLanguageMessageSink(nullptr);
        frmLayerAttr = nullptr;
        frmLayer = nullptr;
    }

    TLayer& Layer(int index) { return Frm.LocalCad().Layers().GetLayer(index); }

    void ShowTable()
    {
        Table.show();
        QApplication::processEvents();
    }

    void ClickCell(int layer, int column)
    {
        QTableWidget* grid = Table.StringGrid1;
        grid->scrollToItem(grid->item(layer, column));
        const QRect cell = grid->visualItemRect(grid->item(layer, column));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    }

    // Runs the action on the attribute dialog once it is shown modally.
    void WhenAttributesShow(std::function<void()> action)
    {
        QTimer::singleShot(0, &Attributes, [this, action] {
            ASSERT_TRUE(Attributes.isVisible());
            action();
        });
    }

    TfrmMain Frm;
    TfrmLayer Table;
    TfrmLayerAttr Attributes;
};

TEST_F(LayerDialogs, CancelPutsBackEveryLayerAndTheCurrentLayer)
{
    Frm.SetCurrentLayer(2);
    Layer(9).SetName("Contour");
    ShowTable();
    EXPECT_EQ(Table.StringGrid1->rowCount(), 256);
    EXPECT_EQ(Table.StringGrid1->item(9, TfrmLayer::kColumnName)->text(), QStringLiteral("Contour"));
    EXPECT_EQ(Table.SelectedRow(), 0);

    for (int layer : {4, 5, 7})
        ClickCell(layer, TfrmLayer::kColumnVisible);
    EXPECT_FALSE(Layer(4).Visible);
    EXPECT_FALSE(Layer(7).Visible);
    EXPECT_EQ(Table.SelectedRow(), 8);

    // A rename typed into the name cell; a name too long is cut to the layer's length.
    QTableWidget* grid = Table.StringGrid1;
    grid->setCurrentCell(9, TfrmLayer::kColumnName);
    grid->editItem(grid->item(9, TfrmLayer::kColumnName));
    auto* editor = grid->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("Pocket roughing of the left-hand side"));
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(Layer(9).Name(), "Pocket roughing of the left-han");

    // The number column is never edited, so it never renames a layer.
    grid->editItem(grid->item(3, TfrmLayer::kColumnNumber));
    EXPECT_EQ(grid->indexWidget(grid->model()->index(3, TfrmLayer::kColumnNumber)), nullptr);
    EXPECT_EQ(Layer(3).Name(), "Layer_3");

    ClickCell(6, TfrmLayer::kColumnCurrent);
    EXPECT_EQ(Frm.LocalCad().CurrentLayer, 6);
    EXPECT_TRUE(Frm.sbtLayer->text().endsWith(QStringLiteral(" 6")));

    Table.btnCancel->click();
    EXPECT_FALSE(Table.isVisible());
    EXPECT_TRUE(Layer(4).Visible);
    EXPECT_TRUE(Layer(5).Visible);
    EXPECT_TRUE(Layer(7).Visible);
    EXPECT_EQ(Layer(9).Name(), "Contour");
    EXPECT_EQ(Frm.LocalCad().CurrentLayer, 2);
    EXPECT_TRUE(Frm.sbtLayer->text().endsWith(QStringLiteral(" 2")));

    // OK keeps what was done; the frame's close box acts as Cancel.
    ShowTable();
    ClickCell(4, TfrmLayer::kColumnVisible);
    Table.btnOk->click();
    EXPECT_FALSE(Layer(4).Visible);
    ShowTable();
    ClickCell(4, TfrmLayer::kColumnVisible);
    Table.close();
    EXPECT_FALSE(Layer(4).Visible);
}

TEST_F(LayerDialogs, AttributesStartFromTheLayerAndChangeOnlyOnOk)
{
    Layer(3).SetPen({0x00FF00, TPenStyle::Solid, TPenMode::Copy, 2});
    ShowTable();

    // Width 10 and OK: the colour the layer had stays.
    WhenAttributesShow([this] {
        EXPECT_EQ(Attributes.ColorBox1->Selected(), TColor(0x00FF00));
        EXPECT_EQ(Attributes.penwidthcombo1->PenWidth(), 2);
        Attributes.penwidthcombo1->setCurrentIndex(9);
        emit Attributes.penwidthcombo1->activated(9);
        EXPECT_EQ(Layer(3).Pen().Width, 2) << "nothing changes before OK";
        Attributes.btnOk->click();
    });
    ClickCell(3, TfrmLayer::kColumnPenWidth);
    EXPECT_EQ(Layer(3).Pen().Width, 10);
    EXPECT_EQ(Layer(3).Pen().Color, TColor(0x00FF00));

    WhenAttributesShow([this] {
        Attributes.penwidthcombo1->setCurrentIndex(0);
        emit Attributes.penwidthcombo1->activated(0);
        Attributes.btnCancel->click();
    });
    ClickCell(3, TfrmLayer::kColumnColour);
    EXPECT_EQ(Layer(3).Pen().Width, 10) << "Cancel changes nothing";

    // Without a selected row there is no layer to change.
    Table.btnCancel->click();
    ShowTable();
    Attributes.show();
    EXPECT_FALSE(Attributes.btnOk->isEnabled());
    Attributes.btnCancel->click();
}

TEST_F(LayerDialogs, ScreenshotOfTheLayerTable)
{
    Layer(0).SetPenColor(0x0000FF);
    Layer(1).SetPen({0xFF0000, TPenStyle::Solid, TPenMode::Copy, 4});
    Layer(2).Visible = false;
    Layer(3).SetName("Engraving");
    Layer(3).SetPen({0x008000, TPenStyle::Solid, TPenMode::Copy, 10});
    Frm.SetCurrentLayer(1);
    ShowTable();
    ClickCell(3, TfrmLayer::kColumnName);
    const QImage shot = Table.grab().toImage();

    // The current layer's row is yellow, the selected one blue.
    QTableWidget* grid = Table.StringGrid1;
    const auto colourAt = [&](int layer, int column, QPoint offset) {
        const QRect cell = grid->visualItemRect(grid->item(layer, column));
        return shot.pixelColor(grid->viewport()->mapTo(&Table, cell.topLeft() + offset));
    };
    EXPECT_EQ(colourAt(1, TfrmLayer::kColumnName, {200, 3}), QColor(Qt::yellow));
    EXPECT_EQ(colourAt(3, TfrmLayer::kColumnName, {200, 3}), QColor(Qt::blue));
    EXPECT_EQ(colourAt(0, TfrmLayer::kColumnColour, {32, 11}), QColor(255, 0, 0));
    EXPECT_EQ(colourAt(3, TfrmLayer::kColumnPenWidth, {25, 11}), QColor(Qt::black));

    const std::filesystem::path folder(KESTRO_TEST_OUTPUT_DIR);
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(shot.save(QString::fromStdString((folder / "frmLayer.png").string())));
}

} // namespace
