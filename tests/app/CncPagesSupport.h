#pragma once

// What the tests that drive the CNC pages share: a guard that puts back the
// CAM globals the pages write, the drawing they machine, and its contour and
// pocket made through the pages' buttons.

#include <string>

#include <QApplication>
#include <QComboBox>
#include <QRadioButton>
#include <QToolButton>
#include <gtest/gtest.h>

#include "WidgetInput.h"
#include "app/ui/frmMain.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/ui/CADViewport.h"
#include "import/ui/SaveDialog.h"

#include "cam/ProgressSink.h"
#include "cam/chains/Chains.h"
#include "cam/nc/NcWords.h"
#include "cam/nc/PostSettings.h"
#include "cam/simulation/NcSimulation.h"
#include "cam/toolpath/Toolpaths.h"

class TCamGlobalsGuard {
public:
    ~TCamGlobalsGuard()
    {
        ChainList = TChainList();
        MachiningType = TMachiningType::Contour;
        OffsetRadius = Offset;
        NcJobValues = Job;
        PostSettings = Post;
        PostName = Name;
        LastKey = 0;
        NcSimulation = TNcSimulation();
    }

private:
    float Offset = OffsetRadius;
    TNcJobValues Job = NcJobValues;
    TPostSettings Post = PostSettings;
    std::string Name = PostName;
};

// A 100 x 60 frame of lines and a circle inside it, as DXF text.
inline constexpr char kFramePlateDxf[] = "0\nSECTION\n2\nENTITIES\n"
                                         "0\nLINE\n8\n0\n10\n0\n20\n0\n11\n100\n21\n0\n"
                                         "0\nLINE\n8\n0\n10\n100\n20\n0\n11\n100\n21\n60\n"
                                         "0\nLINE\n8\n0\n10\n100\n20\n60\n11\n0\n21\n60\n"
                                         "0\nLINE\n8\n0\n10\n0\n20\n60\n11\n0\n21\n0\n"
                                         "0\nCIRCLE\n8\n0\n10\n50\n20\n30\n40\n10\n"
                                         "0\nENDSEC\n0\nEOF\n";

// The contour of the open frame plate, then its pocket, through the CNC
// pages' buttons, saved as ncPath; ends on the NC page with the program.
// The caller answers No to keeping the contour when the NC page is left.
inline void ContourAndPocketTheFramePlate(TfrmMain& frm, const QString& ncPath)
{
    const TSaveDialogHook previousDialog = SetSaveDialogHook([ncPath](TSaveDialog& dialog) {
        dialog.FileName = ncPath;
        return true;
    });
    frm.sbtCnc->click();
    frm.sbtNewNc->click();
    frm.sbtNextB1->click();
    frm.sbtNextB2->click();
    TCADViewport2DCore& view = frm.VistaGrafica->Core2D();
    view.ZoomWindow(MakeRect2D(-20, -20, 120, 120));
    frm.sbtChain->click();
    const TPoint2D edge = view.WorldToScreen(MakePoint2D(50, 60));
    Click(frm.VistaGrafica, QPoint(static_cast<int>(edge.X), static_cast<int>(edge.Y)));
    QApplication::processEvents();
    ASSERT_EQ(ChainList.Chains.size(), 1u);
    frm.cboCCDir->setCurrentIndex(2);
    frm.sbtNextB3->click();
    frm.sbtConCalculate->click();
    ASSERT_EQ(frm.ActivePage(), 46);
    frm.sbtPrevB5->click();
    frm.sbtPrevB4C->click();
    frm.sbtPrevB3->click();
    frm.rdbPocket->click();
    frm.sbtNextB2->click();
    frm.sbtNextB3->click();
    ASSERT_EQ(frm.ActivePage(), 45);
    frm.sbtPocCalculate->click();
    SetSaveDialogHook(previousDialog);
    ASSERT_EQ(frm.ActivePage(), 46);
}
