// The tracing page of the main window: Preview traces the loaded picture into
// the drawing over its grey copy, a tracer that is missing or fails is
// reported as what went wrong and adds nothing, Accept keeps the result and
// Cancel drops it.

#include <gtest/gtest.h>

#include <vector>

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QProgressBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include "app/Language.h"
#include "app/ui/ApplicationMessageBox.h"
#include "app/ui/controls/RealSpinEdit.h"
#include "app/ui/frmMain.h"
#include "cad/base/Settings.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/model/GraphicObject.h"
#include "cad/shapes/Bitmap2D.h"
#include "cad/shapes/Polyline2D.h"
#include "import/LoadedFile.h"
#include "import/MonoRaster.h"
#include "platform/ProgramFolder.h"
#include "support/ImageTestSupport.h"
#include "support/ViewportTestSupport.h"

namespace {

struct TContents {
    int Bitmaps = 0;
    int Polylines = 0;
};

TContents Contents(TCADCmp2D& drawing)
{
    TContents contents;
    auto objects = drawing.ObjectsIterator();
    for (TGraphicObject* object = objects->First(); object; object = objects->Next()) {
        contents.Bitmaps += dynamic_cast<TBitmap2D*>(object) ? 1 : 0;
        contents.Polylines += dynamic_cast<TPolyline2D*>(object) ? 1 : 0;
    }
    return contents;
}

// A loaded picture of 80 x 60 pixels shown 40 x 30 mm at (10, 20): a ring
// and a bar; its black-and-white copy as the thresholding left it.
class VectTracePage : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Temp.isValid());
        PreviousBoxHook = SetMessageBoxHook([this](const QString& text, const QString&, int) {
            Boxes.push_back(text);
            return kIdOk;
        });
        SetProgramFolder(QStringLiteral(KESTRO_PROGRAM_DIR));
        TempDir = (Temp.path() + QLatin1Char('/')).toStdString();
        QImage mono = MakeMonoRaster(QSize(80, 60));
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 80; ++x) {
                const int d = (x - 25) * (x - 25) + (y - 30) * (y - 30);
                mono.scanLine(y)[x] = (d >= 100 && d <= 324) || (x >= 55 && x < 70 && y >= 10 && y < 50) ? 0 : 255;
            }
        LoadedFile.SourceRaster = mono.convertToFormat(QImage::Format_RGB32);
        LoadedFile.MonoRaster = mono;
        LoadedFile.IsBmpLoaded = true;
        LoadedFile.RasterPixelWidth = 80;
        LoadedFile.RasterPixelHeight = 60;
        LoadedFile.RasterWorldWidth = 40.0f;
        LoadedFile.RasterWorldHeight = 30.0f;
        LoadedFile.RasterOriginX = 10.0f;
        LoadedFile.RasterOriginY = 20.0f;
        Frm.VisPagine({0, 1, 2});
        Frm.SetActivePage(2);
    }

    void TearDown() override
    {
        SetMessageBoxHook(PreviousBoxHook);
        SetProgramFolder({});
        TempDir = SavedTempDir;
        LoadedFile = TLoadedFile();
    }

    QTemporaryDir Temp;
    TfrmMain Frm;
    std::vector<QString> Boxes;

private:
    TMessageBoxHook PreviousBoxHook;
    std::string SavedTempDir = TempDir;
};

TEST_F(VectTracePage, PreviewTracesOverTheGreyPictureAndAcceptKeepsIt)
{
    EXPECT_EQ(Frm.sedError_threshold->Value(), TFixed4::FromInt(2));
    EXPECT_EQ(Frm.sedFilter_iterations->value(), 4);
    EXPECT_EQ(Frm.sedCorner_threshold->value(), 90);
    EXPECT_FALSE(Frm.chkCenterLine->isChecked());
    EXPECT_FALSE(Frm.sbtVectDone->isEnabled());

    Frm.sbtPreviewVect->click();
    EXPECT_TRUE(Boxes.empty());
    // The ring's two outlines and the bar's, beside the picture.
    TContents contents = Contents(Frm.LocalCad());
    EXPECT_EQ(contents.Bitmaps, 1);
    EXPECT_EQ(contents.Polylines, 3);
    EXPECT_EQ(LoadedFile.MonoRaster.color(0), qRgb(200, 200, 200));
    EXPECT_TRUE(Frm.sbtVectDone->isEnabled());
    EXPECT_TRUE(Frm.ProgressBar1->isHidden());
    EXPECT_EQ(Frm.StatusText(), PageTexts[2]);

    TRect2D box;
    ASSERT_TRUE(Frm.LocalCad().GetExtension(box));
    auto view = viewtest::MakeView(400, 300, MakeRect2D(8, 18, 52, 52), 1.0f);
    view->SetCADCmp2D(&Frm.LocalCad());
    view->SetBackGroundColor(clWhite);
    view->Repaint();
    EXPECT_TRUE(imagetest::SaveTestImage(view->WindowImage(), "import/trace-preview.png"));

    // Centre lines: a second Preview replaces the first result.
    Frm.chkCenterLine->setChecked(true);
    Frm.sbtPreviewVect->click();
    contents = Contents(Frm.LocalCad());
    EXPECT_EQ(contents.Bitmaps, 1);
    EXPECT_EQ(contents.Polylines, 2);

    Frm.sbtVectDone->click();
    EXPECT_FALSE(Frm.PagesVisible());
    EXPECT_EQ(Contents(Frm.LocalCad()).Polylines, 2);
}

TEST_F(VectTracePage, MissingTracerIsReportedAndCancelDropsTheResult)
{
    QTemporaryDir empty;
    SetProgramFolder(empty.path());
    Frm.sbtPreviewVect->click();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_TRUE(Boxes[0].startsWith(QStringLiteral("KOVRA DLL ") + GetLangString(453)));
    TContents contents = Contents(Frm.LocalCad());
    EXPECT_EQ(contents.Bitmaps, 1);
    EXPECT_EQ(contents.Polylines, 0);
    // Accept becomes available all the same, as after any run.
    EXPECT_TRUE(Frm.sbtVectDone->isEnabled());

    SetProgramFolder(QStringLiteral(KESTRO_PROGRAM_DIR));
    Frm.sbtPreviewVect->click();
    EXPECT_EQ(Contents(Frm.LocalCad()).Polylines, 3);
    Frm.sbtCancelVect->click();
    contents = Contents(Frm.LocalCad());
    EXPECT_EQ(contents.Polylines, 0);
    EXPECT_FALSE(Frm.PagesVisible());

    // An error threshold of 0 is taken as 10.
    Frm.VisPagine({0, 1, 2});
    Frm.sedError_threshold->SetMinValue(TFixed4());
    Frm.sedError_threshold->SetValue(TFixed4());
    Frm.sbtPreviewVect->click();
    EXPECT_EQ(Frm.sedError_threshold->Value(), TFixed4::FromInt(10));
}

TEST_F(VectTracePage, EachFailureOfTheTracerIsNamedAndAddsNothing)
{
    struct TCase {
        const char* Name;
        // The tracer's shell lines; $8 is its result file.
        const char* Script;
        int Message;
        // What the tracer or the system said, which comes with the message.
        const char* Said;
    };
    const TCase cases[] = {
        {"error", "echo 'kovra: bad picture' >&2; exit 3", 465, "kovra: bad picture"},
        {"crash", "kill -SEGV $$", 466, ""},
        {"Esc", "exec sleep 30", 467, ""},
        {"unreadable result", "mkdir \"$8\"", 468, "directory"},
        {"cut result", "printf '0\\nSECTION\\n2\\nENTITIES\\n0\\nPOINT\\n8\\n0\\n10\\n1\\n20\\n1\\n' > \"$8\"", 469, ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        QTemporaryDir folder;
        QFile tracer(folder.filePath(QStringLiteral("kovra")));
        ASSERT_TRUE(tracer.open(QIODevice::WriteOnly));
        tracer.write(QByteArray("#!/bin/sh\n") + c.Script + "\n");
        tracer.close();
        tracer.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        SetProgramFolder(folder.path());
        Boxes.clear();
        // Esc while the tracer runs stops it.
        if (c.Message == 467)
            QTimer::singleShot(300, &Frm, [this] {
                QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QCoreApplication::sendEvent(&Frm, &esc);
            });
        Frm.sbtPreviewVect->click();
        ASSERT_EQ(Boxes.size(), 1u);
        EXPECT_TRUE(Boxes[0].startsWith(GetLangString(c.Message))) << Boxes[0].toStdString();
        EXPECT_TRUE(Boxes[0].contains(QString::fromLatin1(c.Said))) << Boxes[0].toStdString();
        EXPECT_EQ(Contents(Frm.LocalCad()).Polylines, 0);
        EXPECT_EQ(Frm.LocalCad().ObjectsCount(), 1);
    }
}

} // namespace
