// The file road as a user walks it: File > Open on each kind of file the
// program reads (DXF, SVG, BMP, JPEG), the reference point set on the
// placement page, Done; then a look at what the drawing holds.

#include <map>
#include <string>

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRadioButton>
#include <QToolButton>
#include <gtest/gtest.h>

#include "ProgramTestFolder.h"
#include "import/ui/SaveDialog.h"
#include "support/LayoutFaults.h"
#include "RoadSupport.h"

namespace {

// A drawing of every kind of line the import reads: a 100 x 50 frame, a
// circle, an arc, a point and an open polyline.
constexpr char kDrawing[] = "0\nSECTION\n2\nENTITIES\n"
                            "0\nLWPOLYLINE\n8\n0\n90\n4\n70\n1\n10\n0\n20\n0\n10\n100\n20\n0\n10\n100\n20\n50\n10\n0\n20\n50\n"
                            "0\nLINE\n8\nWALLS\n10\n10\n20\n10\n11\n40\n21\n40\n"
                            "0\nCIRCLE\n8\n0\n10\n70\n20\n25\n40\n10\n"
                            "0\nARC\n8\n0\n10\n50\n20\n25\n40\n20\n50\n0\n51\n90\n"
                            "0\nPOINT\n8\n0\n10\n5\n20\n45\n"
                            "0\nPOLYLINE\n8\n0\n66\n1\n70\n0\n"
                            "0\nVERTEX\n8\n0\n10\n20\n20\n5\n0\nVERTEX\n8\n0\n10\n30\n20\n15\n0\nVERTEX\n8\n0\n10\n40\n20\n5\n"
                            "0\nSEQEND\n0\nENDSEC\n0\nEOF\n";

constexpr char kPicture[] = "<svg xmlns='http://www.w3.org/2000/svg' width='100mm' height='50mm' viewBox='0 0 100 50'>"
                            "<rect x='0' y='0' width='100' height='50' fill='none' stroke='black'/>"
                            "<polyline points='60,40 70,10 80,40' fill='none' stroke='black'/>"
                            "<path d='M 10 10 L 40 40 L 40 10 Z' fill='none' stroke='black'/>"
                            "</svg>";

QImage Photo()
{
    QImage image(80, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(10, 10, 30, 20, Qt::black);
    painter.setBrush(Qt::darkGray);
    painter.drawEllipse(50, 5, 25, 25);
    return image;
}

class OpenFileRoad : public ProgramTestFolder {
protected:
    void TearDown() override
    {
        SetSaveDialogHook(PreviousDialog);
        ProgramTestFolder::TearDown();
    }

    QString ToOpen;
    TSaveDialogHook PreviousDialog =
        SetSaveDialogHook([this](TSaveDialog& dialog) {
            dialog.FileName = ToOpen;
            return !ToOpen.isEmpty();
        });
};

} // namespace

TEST_F(OpenFileRoad, EachKindOfFileOpensAndIsPlacedAtTheOrigin)
{
    WriteFile(QStringLiteral("plan.dxf"), kDrawing);
    WriteFile(QStringLiteral("plan.svg"), kPicture);
    ASSERT_TRUE(Photo().save(Path(QStringLiteral("photo.bmp")), "BMP"));
    ASSERT_TRUE(Photo().save(Path(QStringLiteral("photo.jpg")), "JPEG", 90));
    TfrmMain& frm = Start();
    frm.resize(1000, 700);
    frm.show();
    QApplication::processEvents();

    const struct {
        const char* file;
        std::map<std::string, int> kinds;
    } files[] = {
        {"plan.dxf", {{"TPolyline2D", 2}, {"TLine2D", 1}, {"TCerchio2D", 1}, {"TArco2D", 1}, {"TPunto2D", 1}}},
        {"plan.svg", {{"TPolygon2D", 3}}},
        {"photo.bmp", {{"TBitmap2D", 1}}},
        {"photo.jpg", {{"TBitmap2D", 1}}},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.file);
        Boxes.clear();
        Answer = kIdYes;  // the drawing of the file before goes
        ToOpen = Path(QString::fromLatin1(f.file));
        frm.sbtOpen->click();
        EXPECT_EQ(frm.ShownPages(), (std::vector<int>{5, 13}));
        EXPECT_EQ(ObjectKinds(frm.LocalCad()), f.kinds);
        TRect2D opened{};
        ASSERT_TRUE(frm.LocalCad().GetExtension(opened));
        // The information page reads in a small window and a large one.
        for (const QSize size : {QSize(800, 600), QSize(1280, 1000)}) {
            frm.resize(size);
            QApplication::processEvents();
            EXPECT_EQ(LayoutFaults(*frm.Page(5)), std::vector<std::string>{}) << size.width();
            SaveRoadPicture(frm, "open-" + QFileInfo(ToOpen).suffix().toStdString() + "-information-" +
                                     std::to_string(size.width()) + ".png");
        }
        frm.resize(1000, 700);

        // The centre of what was opened to the origin, then Done.
        frm.SetActivePage(13);
        frm.rbtOrigine0->click();
        frm.sbtOpenDone->click();
        EXPECT_FALSE(frm.PagesVisible());
        for (const TShownBox& box : Boxes)
            EXPECT_EQ(box.Text, GetLangString(452)) << "only the question before the drawing goes";
        EXPECT_EQ(ObjectKinds(frm.LocalCad()), f.kinds);
        ExpectSoundDrawing(frm.LocalCad());
        TRect2D placed{};
        ASSERT_TRUE(frm.LocalCad().GetExtension(placed));
        EXPECT_NEAR(placed.FirstEdge.X + placed.SecondEdge.X, 0, 1e-3);
        EXPECT_NEAR(placed.FirstEdge.Y + placed.SecondEdge.Y, 0, 1e-3);
        EXPECT_NEAR(placed.SecondEdge.X - placed.FirstEdge.X, opened.SecondEdge.X - opened.FirstEdge.X, 1e-3);
        EXPECT_NEAR(placed.SecondEdge.Y - placed.FirstEdge.Y, opened.SecondEdge.Y - opened.FirstEdge.Y, 1e-3);
    }
}
