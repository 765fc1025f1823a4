#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <QFileDialog>
#include <QTemporaryDir>
#include <QToolButton>

#include "../../platform/CommaLocale.h"
#include "app/CommandCode.h"
#include "app/Language.h"
#include "app/ui/ApplicationMessageBox.h"
#include "app/ui/frmMain.h"
#include "cad/base/Settings.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "import/LastDxfFileName.h"
#include "import/ui/SaveDialog.h"

namespace {

std::string ReadText(const QString& path)
{
    std::ostringstream text;
    text << std::ifstream(path.toStdString(), std::ios::binary).rdbuf();
    return text.str();
}

struct TShownBox {
    QString Text;
    QString Caption;
    int Flags;
};

// The main window with a line from (1, 2) to (3, 4); message boxes and the
// save dialog answer in the user's place.
class SaveVector : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Folder.isValid());
        PreviousBoxHook = SetMessageBoxHook([this](const QString& text, const QString& caption, int flags) {
            Boxes.push_back({text, caption, flags});
            return kIdOk;
        });
        PreviousDialogHook = SetSaveDialogHook([this](TSaveDialog& dialog) {
            Proposed = dialog.FileName;
            Filter = dialog.Filter;
            StatusWhileAsked = Frm.StatusText();
            if (Typed.isEmpty())
                return false;
            dialog.FileName = Typed;
            dialog.FilterIndex = FilterIndex;
            return true;
        });
        Frm.LocalCad().AddObject(-1, std::make_unique<TLine2D>(0, MakePoint2D(1, 2), MakePoint2D(3, 4)));
        Frm.VisPagine({12});
    }

    void TearDown() override
    {
        SetMessageBoxHook(PreviousBoxHook);
        SetSaveDialogHook(PreviousDialogHook);
        LastDxfFileName = SavedLastDxf;
        LoadedFileName = SavedLoaded;
        UnitsMode = SavedUnits;
        CommandCode = SavedCommand;
    }

    QString InFolder(const QString& name) const { return Folder.filePath(name); }

    QTemporaryDir Folder;
    TfrmMain Frm;
    std::vector<TShownBox> Boxes;
    QString Typed; // empty: the user cancels
    int FilterIndex = 1;
    QString Proposed;
    QString Filter;
    QString StatusWhileAsked;

private:
    TMessageBoxHook PreviousBoxHook;
    TSaveDialogHook PreviousDialogHook;
    std::string SavedLastDxf = LastDxfFileName;
    std::string SavedLoaded = LoadedFileName;
    std::int32_t SavedUnits = UnitsMode;
    std::int32_t SavedCommand = CommandCode;
};

TEST_F(SaveVector, TheChosenTypeIsWritten)
{
    const std::string hpgl = "IN;SP1;\nPU40,80;\nPD120,160;\nSP0;\n";
    const std::string points = "1.000 2.000\n3.000 4.000\n\n";
    const struct {
        const char* typed;
        int filter;
        const char* written; // the file that must exist afterwards, or none
        std::string text;
    } cases[] = {
        {"a", 2, "a.txt", points},
        {"b", 3, "b.hgl", hpgl},
        {"c.plt", 1, "c.plt", hpgl},
        {"D.TXT", 3, "D.TXT", points},
        {"e.hgl", 2, "e.hgl", hpgl},
        {"f.out", 2, "f.out", points},
        {"g", 1, nullptr, {}},
        {"h.dxf", 2, nullptr, {}},
    };
    for (const auto& c : cases) {
        Boxes.clear();
        Typed = InFolder(QString::fromLatin1(c.typed));
        FilterIndex = c.filter;
        Frm.VisPagine({12});
        Frm.sbtSaveClick();

        EXPECT_EQ(StatusWhileAsked, GetLangString(402)) << c.typed;
        EXPECT_EQ(Frm.StatusText(), QString()) << c.typed;
        EXPECT_FALSE(Frm.PagesVisible()) << c.typed;
        EXPECT_EQ(CommandCode, kCommandNone);
        if (c.written) {
            EXPECT_TRUE(Boxes.empty()) << c.typed;
            EXPECT_EQ(ReadText(InFolder(QString::fromLatin1(c.written))), c.text) << c.typed;
            EXPECT_EQ(LastDxfFileName, InFolder(QString::fromLatin1(c.written)).toStdString());
        } else {
            // DXF cannot be written: the user is told, and nothing appears.
            ASSERT_EQ(Boxes.size(), 1u) << c.typed;
            EXPECT_EQ(Boxes[0].Text, GetLangString(403));
            EXPECT_EQ(Boxes[0].Flags, kMbOk + kMbIconWarning);
        }
    }
    EXPECT_EQ(QDir(Folder.path()).entryList(QDir::Files).size(), 6);
}

TEST_F(SaveVector, ProposedNamesAndTheDialogsFilter)
{
    const struct {
        const char* lastDxf;
        const char* loaded; // the file last opened
        const char* proposed;
    } cases[] = {
        {"/work/drawings/plate.dxf", "/work/photo.bmp", "/work/drawings/plate"},
        {"", "/work/photos/photo.bmp", "photo"},
        {"", "", "t"}, // the open dialog starts on the sample folder's "*.*"
    };
    for (const auto& c : cases) {
        LastDxfFileName = c.lastDxf;
        LoadedFileName = c.loaded;
        Frm.sbtSaveClick();
        EXPECT_EQ(Proposed, QString::fromLatin1(c.proposed)) << c.lastDxf << " " << c.loaded;
        // Cancelling changes nothing but hides the pages.
        EXPECT_EQ(LastDxfFileName, c.lastDxf);
        EXPECT_FALSE(Frm.PagesVisible());
    }
    EXPECT_EQ(Filter, QStringLiteral("Dxf files (*.dxf)|*.DXF|Txt files (*.txt)|*.TXT|Hpgl files (*.hgl)|*.HGL"));

    // The dialog the user sees: Qt's own, whose patterns match either case.
    TSaveDialog dialog;
    dialog.Filter = Filter;
    dialog.FilterIndex = 3;
    const std::unique_ptr<QFileDialog> shown = dialog.CreateFileDialog(&Frm);
    EXPECT_EQ(shown->objectName(), QStringLiteral("SaveDialog"));
    EXPECT_EQ(shown->nameFilters().join(QLatin1Char(';')),
              QStringLiteral("Dxf files (*.DXF);Txt files (*.TXT);Hpgl files (*.HGL)"));
    EXPECT_EQ(shown->selectedNameFilter(), QStringLiteral("Hpgl files (*.HGL)"));
}

TEST_F(SaveVector, EmptyDrawingAndFailedWrites)
{
    // The save button starts the command.
    Frm.LocalCad().DeleteAllObjects();
    Frm.sbtSave->click();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, GetLangString(405));
    EXPECT_EQ(Boxes[0].Caption, GetLangString(406));
    EXPECT_EQ(Boxes[0].Flags, kMbOk + kMbIconWarning);
    EXPECT_TRUE(Proposed.isNull()) << "no dialog for an empty drawing";

    Boxes.clear();
    Frm.LocalCad().AddObject(-1, std::make_unique<TLine2D>(0, MakePoint2D(1, 2), MakePoint2D(3, 4)));
    Typed = InFolder(QStringLiteral("missing/plate.txt"));
    Frm.sbtSaveClick();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_TRUE(Boxes[0].Text.contains(Typed)) << Boxes[0].Text.toStdString();
    EXPECT_EQ(Boxes[0].Flags, kMbOk + kMbIconError);
}

TEST_F(SaveVector, PointsInInchesWithACommaLocale)
{
    CommaLocale comma;
    ASSERT_TRUE(CommaLocale::Active());
    UnitsMode = 1;
    const std::vector<TPoint2D> points{MakePoint2D(0.5f, -1.25f), MakePoint2D(2, 0.125f), MakePoint2D(1, 1)};
    Frm.LocalCad().AddObject(-1, std::make_unique<TPolygon2D>(0, points));
    Frm.ScriveTxt(InFolder(QStringLiteral("inches.txt")));
    EXPECT_EQ(ReadText(InFolder(QStringLiteral("inches.txt"))),
              "1.0000 2.0000\n3.0000 4.0000\n\n"
              "0.5000 -1.2500\n2.0000 0.1250\n1.0000 1.0000\n0.5000 -1.2500\n\n");
    Frm.ScriveHpgl(InFolder(QStringLiteral("inches.hgl")));
    EXPECT_EQ(ReadText(InFolder(QStringLiteral("inches.hgl"))),
              "IN;SP1;\nPU1016,2032;\nPD3048,4064;\nPU508,-1270;\nPD2032,127,1016,1016,508,-1270;\nSP0;\n");
}

TEST_F(SaveVector, OpenReplacesTheDrawingWithAnSvgFile)
{
    const QString file = InFolder(QStringLiteral("plate.svg"));
    std::ofstream(file.toStdString()) << "<svg><rect x='1' y='2' width='3' height='4' fill='#0000ff'/></svg>";
    Frm.LoadSvgFile(file);
    EXPECT_EQ(LoadedFileName, file.toStdString());
    ASSERT_EQ(Frm.LocalCad().ObjectsCount(), 1);
    TRect2D box;
    ASSERT_TRUE(Frm.LocalCad().GetExtension(box));
    EXPECT_EQ(box.FirstEdge.X, 1.0f);
    EXPECT_EQ(box.FirstEdge.Y, -6.0f);
    EXPECT_EQ(Frm.LocalCad().Layers().GetLayer(1).Pen().Color, 0xFF0000);
}

} // namespace
