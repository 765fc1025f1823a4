// Opening pictures and drawings in the main window, as a user does it: the
// pictures are written at test time by ImageMagick and libjpeg's cjpeg, the
// drawing comes from another program's package, and the message boxes and
// the open dialog answer in the user's place.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QGroupBox>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>

#include "app/CommandCode.h"
#include "app/Language.h"
#include "app/ui/ApplicationMessageBox.h"
#include "app/ui/frmMain.h"
#include "cad/base/Settings.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Bitmap2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/ui/CADViewport.h"
#include "cam/nc/PostSettings.h"
#include "import/LastDxfFileName.h"
#include "import/LoadedFile.h"
#include "import/ui/SaveDialog.h"
#include "support/ImageTestSupport.h"

namespace {

const char* const kForeignDrawing = "/usr/share/openscad/testdata/dxf/polygon-many-holes.dxf";

struct TShownBox {
    QString Text;
    QString Caption;
};

QStringList TreeLines(const QTreeWidget& tree)
{
    QStringList lines;
    if (const QTreeWidgetItem* root = tree.topLevelItem(0)) {
        lines << root->text(0);
        for (int i = 0; i < root->childCount(); ++i)
            lines << root->child(i)->text(0);
    }
    return lines;
}

class OpenFiles : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Folder.isValid());
        PreviousBoxHook = SetMessageBoxHook([this](const QString& text, const QString& caption, int) {
            Boxes.push_back({text, caption});
            return Answer;
        });
        PreviousDialogHook = SetSaveDialogHook([this](TSaveDialog& dialog) {
            ++DialogsShown;
            if (Typed.isEmpty())
                return false;
            dialog.FileName = Typed;
            return true;
        });
        UnitsMode = 0;
        LoadedFile = TLoadedFile{};
        Frm.resize(1000, 700);
    }

    void TearDown() override
    {
        SetMessageBoxHook(PreviousBoxHook);
        SetSaveDialogHook(PreviousDialogHook);
        LastDxfFileName = SavedLastDxf;
        LoadedFileName = SavedLoaded;
        UnitsMode = SavedUnits;
        CommandCode = SavedCommand;
        LoadedFile = TLoadedFile{};
    }

    // A picture ImageMagick writes from its built-in logo.
    QString Picture(const std::string& name, const std::string& options, const std::string& format = {})
    {
        const QString path = Folder.filePath(QString::fromStdString(name));
        const std::string command = "/usr/bin/convert logo: -resize 320x " + options + " '" + format +
                                    path.toStdString() + "' 2>/dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return path;
    }

    QString Copy(const QString& from, const std::string& name, std::size_t keep, std::size_t damageAt = 0)
    {
        std::ifstream in(from.toStdString(), std::ios::binary);
        std::string bytes{std::istreambuf_iterator<char>(in), {}};
        bytes.resize(std::min(keep, bytes.size()));
        if (damageAt < bytes.size() && damageAt > 0)
            bytes[damageAt] = '\x7f';
        const QString path = Folder.filePath(QString::fromStdString(name));
        std::ofstream(path.toStdString(), std::ios::binary) << bytes;
        return path;
    }

    QString Text(const std::string& name, const std::string& text)
    {
        const QString path = Folder.filePath(QString::fromStdString(name));
        std::ofstream(path.toStdString(), std::ios::binary) << text;
        return path;
    }

    const TBitmap2D* ShownBitmap()
    {
        auto* bitmap = dynamic_cast<TBitmap2D*>(Frm.LocalCad().GetObject(0));
        return Frm.LocalCad().ObjectsCount() == 1 ? bitmap : nullptr;
    }

    void Screenshot(const std::string& name)
    {
        Frm.LocalCad().RepaintViewports();
        EXPECT_TRUE(imagetest::SaveTestImage(Frm.grab().toImage(), "open-files/" + name));
    }

    QTemporaryDir Folder;
    TfrmMain Frm;
    std::vector<TShownBox> Boxes;
    int Answer = kIdYes;
    QString Typed;
    int DialogsShown = 0;

private:
    TMessageBoxHook PreviousBoxHook;
    TSaveDialogHook PreviousDialogHook;
    std::string SavedLastDxf = LastDxfFileName;
    std::string SavedLoaded = LoadedFileName;
    std::int32_t SavedUnits = UnitsMode;
    std::int32_t SavedCommand = CommandCode;
};

TEST_F(OpenFiles, APictureOpensAtItsSizeAndTurnsBlackAndWhite)
{
    Frm.LocalCad().AddObject(-1, std::make_unique<TLine2D>(0, MakePoint2D(1, 2), MakePoint2D(3, 4)));
    Typed = Picture("logo.bmp", "-density 72 -units PixelsPerInch", "BMP3:");
    Frm.sbtOpenClick();

    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, GetLangString(452));
    EXPECT_EQ(Boxes[0].Caption, GetLangString(450));
    EXPECT_TRUE(LoadedFile.IsBmpLoaded);
    EXPECT_FALSE(LoadedFile.IsJpegLoaded || LoadedFile.IsDxfLoaded || LoadedFile.IsSvgLoaded);
    EXPECT_EQ(Frm.windowTitle(), QString::fromStdString(BaseTitle) + QStringLiteral(" - ") + Typed);
    EXPECT_EQ(LoadedFile.LoadedFileName, Typed.toStdString());
    // 72 dpi: 320 pixels are 112.889 mm.
    const int height = LoadedFile.RasterPixelHeight;
    EXPECT_EQ(TreeLines(*Frm.treInfoRas),
              (QStringList{GetLangString(118), GetLangString(110) + QStringLiteral("logo.bmp"),
                           GetLangString(111) + QStringLiteral("320"), GetLangString(112) + QString::number(height),
                           GetLangString(113) + QStringLiteral("24 bit"), GetLangString(114) + QStringLiteral("72"),
                           GetLangString(115) + QStringLiteral(" 0")}));
    EXPECT_EQ(Frm.grpInfoFile->title(), GetLangString(116));
    EXPECT_NEAR(LoadedFile.RasterWorldWidth, 112.889f, 1e-3f);
    EXPECT_NEAR(LoadedFile.RasterWorldHeight, height / 72.0f * 25.4f, 1e-3f);
    EXPECT_EQ(Frm.ShownPages(), (std::vector<int>{5, 13}));
    EXPECT_EQ(Frm.ActivePage(), 5);
    EXPECT_TRUE(Frm.sbtGridOnOff->isChecked());
    EXPECT_EQ(Frm.VistaGrafica->Core().GridDeltaX(), 10.0f);
    // The drawing is the picture alone, shown as loaded.
    const TBitmap2D* shown = ShownBitmap();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(imagetest::SamePixels(shown->Bitmap, LoadedFile.SourceRaster));
    EXPECT_NEAR((*shown->Points())[1].X - (*shown->Points())[0].X, 112.889f, 1e-3f);
    Screenshot("picture-opened.png");

    // Vectorize shows the thresholds and the black-and-white picture.
    Frm.sbtVectClick();
    EXPECT_EQ(Frm.ShownPages(), (std::vector<int>{0, 1, 2}));
    EXPECT_FALSE(Frm.chkViewOriginal->isChecked());
    EXPECT_FALSE(Frm.tbrVerde->isHidden());
    const QImage firstMono = LoadedFile.MonoRaster;
    ASSERT_NE(ShownBitmap(), nullptr);
    EXPECT_TRUE(imagetest::SamePixels(ShownBitmap()->Bitmap, firstMono));
    Frm.sedRosso->setValue(200);
    EXPECT_EQ(Frm.tbrRosso->value(), 200);
    const QImage darker = LoadedFile.MonoRaster;
    EXPECT_NE(darker, firstMono);
    EXPECT_TRUE(imagetest::SamePixels(ShownBitmap()->Bitmap, darker));
    Screenshot("picture-black-and-white.png");

    // Spot removal works on the shown picture; Cancel gives back the thresholded one.
    Frm.findChild<QToolButton*>(QStringLiteral("sbtVectNext1"))->click();
    EXPECT_EQ(Frm.ActivePage(), 1);
    EXPECT_TRUE(Frm.sbtVectPrev2->isEnabled());
    Frm.sedSpotsNeri->setValue(8);
    Frm.sedSpotsBianchi->setValue(8);
    Frm.sbtVec2a->click();
    EXPECT_NE(LoadedFile.MonoRaster, darker);
    EXPECT_TRUE(imagetest::SamePixels(ShownBitmap()->Bitmap, LoadedFile.MonoRaster));
    Frm.sbtVec2b->click();
    EXPECT_EQ(LoadedFile.MonoRaster, darker);
    Frm.findChild<QToolButton*>(QStringLiteral("sbtVectNext2"))->click();
    EXPECT_EQ(Frm.ActivePage(), 2);
}

TEST_F(OpenFiles, VectorizeStartsWhereThePictureNeedsIt)
{
    Frm.sbtVectClick();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, GetLangString(407));
    EXPECT_EQ(Boxes[0].Caption, GetLangString(408));
    EXPECT_FALSE(Frm.PagesVisible());

    // A one-bit picture has nothing to threshold: its grey level decides.
    ASSERT_TRUE(Frm.OpenFile(Picture("bilevel.bmp", "-type bilevel", "BMP3:")));
    EXPECT_EQ(LoadedFile.RasterDepthClass, 0);
    Frm.sbtVectClick();
    EXPECT_EQ(Frm.ShownPages(), (std::vector<int>{1, 2}));
    EXPECT_FALSE(Frm.sbtVectPrev2->isEnabled());
    EXPECT_FALSE(Frm.tbrVerde->isVisibleTo(&Frm));

    // A JPEG with its density in dots per centimetre.
    Frm.LocalCad().DeleteAllObjects();
    ASSERT_TRUE(Frm.OpenFile(Picture("logo.jpg", "-density 100 -units PixelsPerCentimeter")));
    EXPECT_TRUE(LoadedFile.IsJpegLoaded);
    EXPECT_FALSE(LoadedFile.IsBmpLoaded);
    EXPECT_EQ(Frm.grpInfoFile->title(), GetLangString(117));
    EXPECT_NEAR(LoadedFile.RasterWorldWidth, 32.0f, 1e-3f);
    Frm.sbtVectClick();
    EXPECT_EQ(Frm.ShownPages(), (std::vector<int>{0, 1, 2}));
    ASSERT_NE(ShownBitmap(), nullptr);
    EXPECT_TRUE(imagetest::SamePixels(ShownBitmap()->Bitmap, LoadedFile.MonoRaster));
}

TEST_F(OpenFiles, AFileThatCannotBeReadChangesNothing)
{
    const QString bmp = Picture("good.bmp", "", "BMP3:");
    const QString jpeg = Picture("good.jpg", "");
    ASSERT_TRUE(Frm.OpenFile(bmp));
    const QImage source = LoadedFile.SourceRaster;
    const QStringList tree = TreeLines(*Frm.treInfoRas);

    const QString refused[] = {
        Copy(bmp, "short.bmp", 3000),
        Copy(bmp, "signature.bmp", 100000, 1),
        Copy(bmp, "header.bmp", 40),
        Copy(jpeg, "short.jpg", 2000),
        Copy(jpeg, "empty.jpeg", 0),
        Text("open.dxf", "0\nSECTION\n2\nENTITIES\n0\nPOLYLINE\n8\n0\n66\n1\n0\nVERTEX\n8\n0\n10\n1\n20\n2\n0\nEOF\n"),
        Folder.filePath(QStringLiteral("missing.dxf")),
        Text("arc.svg", "<svg><path d='M 0 0 A 5 5 0 0 1 10 10'/></svg>"),
        Text("broken.svg", "<svg><path d='M 0 0 L 1 1'>"),
        Text("picture.png", "not a picture"),
    };
    for (const QString& file : refused) {
        Boxes.clear();
        EXPECT_FALSE(Frm.OpenFile(file)) << file.toStdString();
        ASSERT_EQ(Boxes.size(), 1u) << file.toStdString();
        EXPECT_EQ(Boxes[0].Caption, GetLangString(450));
        EXPECT_FALSE(Boxes[0].Text.isEmpty());
        EXPECT_TRUE(LoadedFile.IsBmpLoaded) << file.toStdString();
        EXPECT_FALSE(LoadedFile.IsJpegLoaded || LoadedFile.IsDxfLoaded || LoadedFile.IsSvgLoaded);
        EXPECT_EQ(LoadedFile.LoadedFileName, bmp.toStdString());
        EXPECT_EQ(LoadedFile.SourceRaster, source);
        EXPECT_EQ(TreeLines(*Frm.treInfoRas), tree);
        ASSERT_NE(ShownBitmap(), nullptr) << file.toStdString();
    }
    EXPECT_EQ(Boxes[0].Text, GetLangString(458));

    // Answering No to clearing the drawing: no dialog, nothing changes.
    Boxes.clear();
    Answer = kIdNo;
    Frm.sbtOpenClick();
    EXPECT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(DialogsShown, 0);
    EXPECT_TRUE(LoadedFile.IsBmpLoaded);
    EXPECT_NE(ShownBitmap(), nullptr);
}

// A drawing opens with what the import could read: the user is told once,
// in words, what was left out, or that the file ends early.
TEST_F(OpenFiles, ADrawingOpensWithWhatCouldBeReadAndSaysWhatIsMissing)
{
    const std::string line = "0\nLINE\n8\n0\n10\n0\n20\n0\n11\n10\n21\n0\n";
    const std::string circle = "0\nCIRCLE\n8\n0\n10\n5\n20\n5\n40\n2\n";
    struct TCase {
        std::string Name;
        std::string Text;
        int Objects;
        QString Told;
    };
    const TCase cases[] = {
        {"library.dxf",
         "0\nSECTION\n2\nENTITIES\n" + line + circle + circle + "0\nHATCH\n8\n0\n2\nSOLID\n0\nMTEXT\n1\nnote\n" +
             "0\nENDSEC\n0\nEOF\n",
         3, QStringLiteral("Entities left out of the drawing: 1 HATCH, 1 MTEXT.")},
        {"cut.dxf", "0\nSECTION\n2\nENTITIES\n" + line + circle + "0\nLINE\n8\n0\n10\n3", 2,
         QStringLiteral("The file ends early: the drawing holds what came before its end.")},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Boxes.clear();
        Frm.LocalCad().DeleteAllObjects();
        ASSERT_TRUE(Frm.OpenFile(Text(c.Name, c.Text)));
        EXPECT_TRUE(LoadedFile.IsDxfLoaded);
        EXPECT_EQ(Frm.LocalCad().ObjectsCount(), c.Objects);
        ASSERT_EQ(Boxes.size(), 1u);
        EXPECT_EQ(Boxes[0].Text, c.Told);
        EXPECT_EQ(Frm.ShownPages(), (std::vector<int>{5, 13}));
    }
}

TEST_F(OpenFiles, NewClearsThePictureTheLayersAndTheKind)
{
    ASSERT_TRUE(Frm.OpenFile(Picture("logo.bmp", "", "BMP3:")));
    Frm.LocalCad().Layers().GetLayer(3).SetName("Walls");
    Frm.LocalCad().Layers().GetLayer(3).SetPenColor(0x0000FF);
    Frm.sbtNewClick();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Frm.LocalCad().ObjectsCount(), 0);
    EXPECT_FALSE(LoadedFile.IsBmpLoaded);
    EXPECT_TRUE(LoadedFile.SourceRaster.isNull());
    EXPECT_TRUE(LoadedFile.MonoRaster.isNull());
    EXPECT_EQ(Frm.LocalCad().Layers().GetLayer(3).Name(), "Layer_3");
    EXPECT_EQ(Frm.LocalCad().Layers().GetLayer(3).Pen().Color, DefaultLayerColor);
    EXPECT_EQ(Frm.windowTitle(), QString::fromStdString(BaseTitle));
    EXPECT_FALSE(Frm.PagesVisible());
    // Vectorize has nothing left to work on.
    Boxes.clear();
    Frm.sbtVectClick();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, GetLangString(407));
}

TEST_F(OpenFiles, ADrawingOpensWithItsExtentAndCounts)
{
    Typed = QString::fromLatin1(kForeignDrawing);
    Frm.sbtOpenClick();
    for (const TShownBox& shown : Boxes)
        ADD_FAILURE() << shown.Text.toStdString();
    EXPECT_TRUE(LoadedFile.IsDxfLoaded);
    EXPECT_EQ(LastDxfFileName, kForeignDrawing);
    TRect2D box{};
    ASSERT_TRUE(Frm.LocalCad().GetExtension(box));
    EXPECT_EQ(LoadedFile.DrawingOrigMinX, box.FirstEdge.X);
    EXPECT_EQ(LoadedFile.RasterOriginY, box.FirstEdge.Y);
    EXPECT_FLOAT_EQ(LoadedFile.DrawingOrigWidth, box.SecondEdge.X - box.FirstEdge.X);
    EXPECT_FLOAT_EQ(LoadedFile.RasterWorldHeight, box.SecondEdge.Y - box.FirstEdge.Y);
    const QStringList lines = TreeLines(*Frm.treInfoRas);
    ASSERT_EQ(lines.size(), 12);
    EXPECT_EQ(lines[0], GetLangString(180) + QStringLiteral(" - Version: 2000"));
    EXPECT_EQ(lines[1], GetLangString(182) + QStringLiteral("polygon-many-holes.dxf"));
    // 12 lines and 21 circles, as the file's entities section holds them.
    EXPECT_EQ(lines.mid(6), (QStringList{GetLangString(187) + "0", GetLangString(188) + "12",
                                         GetLangString(189) + "0", GetLangString(190) + "21",
                                         GetLangString(191) + "0", GetLangString(192) + "0"}));
    EXPECT_EQ(Frm.ShownPages(), (std::vector<int>{5, 13}));
    EXPECT_FALSE(Frm.FillingControls);
    Screenshot("drawing-opened.png");

    // A drawing whose corners share their X: the upper X word repeats the
    // lower one and is left out. An SVG shows the first lines only.
    Frm.LocalCad().DeleteAllObjects();
    const bool modal = PostSettings.XYZModal;
    PostSettings.XYZModal = true;
    const bool opened = Frm.OpenFile(Text("upright.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n5\n20\n1\n11\n5\n21\n9\n"
                                                 "0\nENDSEC\n0\nEOF\n"));
    PostSettings.XYZModal = modal;
    ASSERT_TRUE(opened);
    const QStringList upright = TreeLines(*Frm.treInfoRas);
    ASSERT_GE(upright.size(), 4);
    EXPECT_TRUE(upright[3].startsWith(GetLangString(184) + QStringLiteral(" , "))) << upright[3].toStdString();
    EXPECT_FALSE(upright[2].startsWith(GetLangString(183) + QStringLiteral(" , "))) << upright[2].toStdString();
    Frm.LocalCad().DeleteAllObjects();
    ASSERT_TRUE(Frm.OpenFile(Text("plate.svg", "<svg><rect x='1' y='2' width='3' height='4' fill='#0000ff'/></svg>")));
    EXPECT_TRUE(LoadedFile.IsSvgLoaded);
    EXPECT_FALSE(LoadedFile.IsDxfLoaded);
    EXPECT_EQ(TreeLines(*Frm.treInfoRas).size(), 4);
    EXPECT_EQ(LoadedFile.DrawingOrigHeight, 4.0f);
}

} // namespace
