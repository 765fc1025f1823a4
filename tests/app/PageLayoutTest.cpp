// Every option page and every dialog as a person reads it: at the smallest
// window size, in each shipped language, no two visible controls overlap,
// none reaches out of its page, and no caption is cut.

#include <filesystem>
#include <string>
#include <vector>

#include <QApplication>
#include <QGroupBox>
#include <QRadioButton>
#include <QStackedWidget>
#include <gtest/gtest.h>

#include "ProgramTestFolder.h"
#include "app/ui/frmAbout.h"
#include "app/ui/frmCoord.h"
#include "app/ui/frmGrid.h"
#include "app/ui/frmMain.h"
#include "cam/ui/frmTool.h"
#include "edit/ui/frmLayer.h"
#include "edit/ui/frmLayerAttr.h"
#include "support/LayoutFaults.h"

namespace {

// The window as shown, kept for review.
void SavePicture(QWidget& window, const std::string& name)
{
    const std::filesystem::path folder = std::filesystem::path(KESTRO_TEST_OUTPUT_DIR) / "layout";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(window.grab().save(QString::fromStdString((folder / (name + ".png")).string())));
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += "\n  " + line;
    return text;
}

class PageLayout : public ProgramTestFolder, public testing::WithParamInterface<const char*> {
protected:
    // The program started in the language, its window at its smallest.
    TfrmMain& StartSmallest()
    {
        const QString language = QString::fromLatin1(GetParam());
        const QString file = QStringLiteral("language/") + language + QStringLiteral(".lng");
        if (!QFile::exists(Path(file))) {
            EXPECT_TRUE(QFile::copy(QStringLiteral(KESTRO_PROGRAM_DIR "/") + file, Path(file))) << GetParam();
        }
        WriteSettings("[Default]\nLanguage=" + language.toLatin1() + "\n");
        TfrmMain& frm = Start();
        frm.resize(frm.minimumSize());
        frm.show();
        QApplication::processEvents();
        return frm;
    }

    // The page as the page control shows it.
    static QWidget& Show(TfrmMain& frm, int page)
    {
        frm.PageControl1->setCurrentIndex(page);
        frm.PageControl1->show();
        QApplication::processEvents();
        return *frm.Page(page);
    }
};

} // namespace

TEST_P(PageLayout, EveryPageReadsAtTheSmallestWindowSize)
{
    TfrmMain& frm = StartSmallest();
    ASSERT_EQ(frm.size(), frm.minimumSize());
    for (int page = 0; page < frm.PageControl1->count(); ++page) {
        QWidget& shown = Show(frm, page);
        EXPECT_EQ(LayoutFaults(shown), std::vector<std::string>{})
            << "page " << page << " " << shown.objectName().toStdString() << Joined(LayoutFaults(shown));
        if (page == 5 || page == 44 || page == 46)
            SavePicture(frm, std::string(GetParam()) + "-" + shown.objectName().toStdString());
    }
    // The chain page shows the drill points' group when drilling.
    frm.rdbDrill->click();
    frm.grpDrillPoints->show();
    QWidget& chain = Show(frm, 42);
    EXPECT_EQ(LayoutFaults(chain), std::vector<std::string>{}) << "drill points" << Joined(LayoutFaults(chain));
    SavePicture(frm, std::string(GetParam()) + "-tabChain-drill");
}

TEST_P(PageLayout, EveryDialogReads)
{
    StartSmallest();
    for (QDialog* dialog : std::initializer_list<QDialog*>{frmCoord, frmAbout, frmTool, frmGrid, frmLayer,
             frmLayerAttr}) {
        ASSERT_NE(dialog, nullptr);
        dialog->show();
        QApplication::processEvents();
        EXPECT_EQ(LayoutFaults(*dialog), std::vector<std::string>{})
            << dialog->objectName().toStdString() << Joined(LayoutFaults(*dialog));
        dialog->hide();
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, PageLayout, testing::Values("english", "deutsch"));
