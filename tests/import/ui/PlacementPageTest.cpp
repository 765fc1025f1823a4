#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

#include "app/ui/frmMain.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/ui/CADViewport.h"
#include "cad/view/CADViewport2DCore.h"
#include "import/LoadedFile.h"

namespace {

TRect2D Extent(TfrmMain& frm)
{
    TRect2D box;
    frm.LocalCad().GetExtension(box);
    return box;
}

} // namespace

// The page as a user works it after opening a drawing of (10, 20)-(110, 70):
// top right to the origin, a quarter turn, then twice the width.
TEST(PlacementPage, ChoicesTurnsAndSizesPlaceTheOpenedDrawing)
{
    const TLoadedFile saved = LoadedFile;
    TfrmMain frm;
    const TPoint2D outline[] = {MakePoint2D(10, 20), MakePoint2D(110, 20), MakePoint2D(110, 70),
                                MakePoint2D(10, 70), MakePoint2D(10, 20)};
    frm.LocalCad().AddObject(-1, std::make_unique<TPolyline2D>(-1, outline));
    frm.LocalCad().AddObject(-1, std::make_unique<TLine2D>(-1, MakePoint2D(10, 20), MakePoint2D(40, 40)));
    frm.LocalCad().AddObject(-1, std::make_unique<TCerchio2D>(-1, MakePoint2D(80, 45), MakePoint2D(95, 45)));
    LoadedFile = TLoadedFile();
    LoadedFile.IsDxfLoaded = true;
    LoadedFile.DrawingOrigWidth = LoadedFile.RasterWorldWidth = 100;
    LoadedFile.DrawingOrigHeight = LoadedFile.RasterWorldHeight = 50;
    LoadedFile.DrawingOrigMinX = LoadedFile.RasterOriginX = 10;
    LoadedFile.DrawingOrigMinY = LoadedFile.RasterOriginY = 20;
    frm.txtVecLarg->setText(QStringLiteral("100"));
    frm.txtVecAlt->setText(QStringLiteral("50"));
    frm.VisPagine({5, 13});
    frm.SetActivePage(13);
    frm.resize(1000, 700);
    frm.show();
    QApplication::processEvents();

    frm.rbtOrigine3->click();
    EXPECT_EQ(frm.txtOriginX->text().toDouble(), 110);
    EXPECT_EQ(frm.txtOriginY->text().toDouble(), 70);
    EXPECT_NEAR(Extent(frm).SecondEdge.X, 0, 1e-3);
    EXPECT_NEAR(Extent(frm).SecondEdge.Y, 0, 1e-3);

    // A quarter turn to the left: the top right corner becomes the top left one.
    frm.sbtRotCCW->click();
    EXPECT_TRUE(frm.rbtOrigine2->isChecked());
    EXPECT_EQ(LoadedFile.PlacementRotation, 90);
    EXPECT_NEAR(Extent(frm).FirstEdge.X, 0, 1e-3);
    EXPECT_NEAR(Extent(frm).SecondEdge.Y, 0, 1e-3);
    frm.VistaGrafica->Core2D().ZoomWindow(MakeRect2D(-60, -120, 120, 20));
    QApplication::processEvents();
    const std::filesystem::path folder = std::filesystem::path(KESTRO_TEST_OUTPUT_DIR) / "import";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(frm.grab().save(QString::fromStdString((folder / "placement-page.png").string())));

    // Twice the width, keeping the ratio: the drawing is scaled from what was imported.
    frm.txtVecLarg->setText(QStringLiteral("200"));
    frm.txtVecLargChange();
    EXPECT_EQ(frm.txtVecAlt->text().toDouble(), 100);
    frm.SizeFieldDone();
    EXPECT_NEAR(Extent(frm).FirstEdge.X, 20, 1e-3);
    EXPECT_NEAR(Extent(frm).SecondEdge.Y, 140, 1e-3);

    // A size that is no size is refused and changes nothing.
    frm.txtVecLarg->setText(QStringLiteral("-5"));
    frm.txtVecLargChange();
    EXPECT_EQ(frm.txtVecAlt->text().toDouble(), 100);
    EXPECT_EQ(LoadedFile.RasterWorldWidth, 200);

    LoadedFile = saved;
}
