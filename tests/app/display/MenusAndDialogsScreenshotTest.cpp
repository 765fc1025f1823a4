#include <filesystem>

#include <QAction>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "ProgramTestFolder.h"
#include "app/MenuLook.h"
#include "app/ui/controls/XPMenu.h"
#include "app/ui/frmAbout.h"
#include "app/ui/frmGrid.h"
#include "app/ui/frmMain.h"

namespace {

void Save(const QImage& image, const char* name)
{
    const std::filesystem::path folder(KESTRO_TEST_OUTPUT_DIR);
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(image.save(QString::fromStdString((folder / name).string())));
}

QImage GrabScreen(const QWidget& widget, const QRect& area)
{
    return widget.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage().convertToFormat(
        QImage::Format_RGB32);
}

int CountColour(const QImage& image, TColor colour)
{
    const QColor wanted(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == wanted ? 1 : 0;
    return count;
}

using MenusOnScreen = ProgramTestFolder;

} // namespace

// The snap button's menu as the user opens it, with Endpoint chosen and the
// pointer on Center; the picture is kept for review.
TEST_F(MenusOnScreen, SnapMenuOpensBelowItsButtonWithItsPictures)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    TfrmMain& frm = Start();
    frm.resize(1000, 700);
    frm.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));
    frm.mnuEndpoint->trigger();

    QImage shot;
    QRect menuArea;
    int itemHeight = 0;
    int separatorHeight = 0;
    QTimer::singleShot(300, [&] {
        QMenu* menu = frm.PopupSnap;
        ASSERT_TRUE(menu->isVisible());
        menu->setActiveAction(frm.mnuCenter);
        QTest::qWait(150);
        menuArea = menu->geometry();
        itemHeight = menu->actionGeometry(frm.mnuEndpoint).height();
        separatorHeight = menu->actionGeometry(menu->actions().at(6)).height();
        const QRect button(frm.sbmSnap->mapToGlobal(QPoint(0, 0)), frm.sbmSnap->size());
        shot = GrabScreen(frm, menuArea.united(button).adjusted(-12, -12, 12, 12));
        menu->close();
    });
    QTest::mouseClick(frm.sbmSnap, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    ASSERT_FALSE(shot.isNull());
    Save(shot, "PopupSnap-xvfb.png");

    // Below the button's left corner; items 24 pixels high (the pictures and 4), the separator 4.
    EXPECT_EQ(menuArea.topLeft(), frm.sbmSnap->mapToGlobal(QPoint(0, frm.sbmSnap->height())));
    EXPECT_EQ(itemHeight, 24);
    EXPECT_EQ(separatorHeight, 4);
    const TMenuWorkingColors colours = frm.XPMenu1->WorkingColors();
    EXPECT_GT(CountColour(shot, colours.Selection), 200) << "the item under the pointer";
    EXPECT_GT(CountColour(shot, colours.Border), 300) << "the flat frame";
    EXPECT_GT(CountColour(shot, colours.CheckedArea), 50) << "the frame of the chosen mode";
}

// The About window and the grid dialog over the main window.
TEST_F(MenusOnScreen, AboutWindowAndGridDialog)
{
    TfrmMain& frm = Start();
    frm.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));
    frm.mnuAbout1->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frmAbout));
    QTest::qWait(150);
    const QImage about = frmAbout->grab().toImage();
    Save(about, "frmAbout-xvfb.png");
    EXPECT_GT(about.width(), 300);
    frmAbout->btnOk->click();

    QImage grid;
    QTimer::singleShot(300, [&] {
        grid = frmGrid->grab().toImage();
        frmGrid->btnCancel->click();
    });
    frm.ShowGridDialog();
    ASSERT_FALSE(grid.isNull());
    Save(grid, "frmGrid-xvfb.png");
    EXPECT_EQ(grid.size(), QSize(526, 292));
}
