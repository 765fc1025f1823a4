// The main window's menus: their flat look, the help menu of the About
// button with F1, and the grid dialog of the snap button.

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QShortcut>

#include "app/CommandCode.h"
#include "app/HelpViewer.h"
#include "app/SnapGlyph.h"
#include "app/ui/ShellOpen.h"
#include "app/ui/controls/XPMenu.h"
#include "app/ui/frmAbout.h"
#include "app/ui/frmGrid.h"
#include "app/ui/frmMain.h"
#include "app/ui/glyphs/Glyphs.h"
#include "cad/engine/EngineGlobals.h"
#include "platform/ProgramFolder.h"

namespace {

// The main window's help keyword: F1 shows this topic.
constexpr const char* kMainHelpKeyword = "1000";

QAction* AddItem(QMenu* menu, const char* name, const QString& text)
{
    QAction* item = menu->addAction(text);
    item->setObjectName(QString::fromLatin1(name));
    return item;
}

} // namespace

void TfrmMain::CreateMenus()
{
    mnuAbout = new QMenu(this);
    mnuAbout->setObjectName(QStringLiteral("mnuAbout"));
    mnuHelp = AddItem(mnuAbout, "mnuHelp", QStringLiteral("&Help"));
    mnuTutorials = mnuAbout->addMenu(QStringLiteral("Tutorials"));
    mnuTutorials->setObjectName(QStringLiteral("mnuTutorials"));
    const char* tutorials[][2] = {{"mnuTutor1", "Tutor &1 - Vectorize and engraving"},
                                  {"mnuTutor2", "Tutor &2 - Contour toolpath"},
                                  {"mnuTutor3", "Tutor &3 - Pocket toolpath"},
                                  {"mnuTutor4", "Tutor &4 - Multiple toolpath"}};
    for (int i = 0; i < 4; ++i)
        connect(AddItem(mnuTutorials, tutorials[i][0], QString::fromLatin1(tutorials[i][1])), &QAction::triggered, this,
                [this, i] { mnuTutorClick(i + 1); });
    mnuAbout1 = AddItem(mnuAbout, "mnuAbout1", QStringLiteral("&About"));
    mnuWeb = AddItem(mnuAbout, "mnuWeb", QStringLiteral("&Web Page"));
    mnuAbout1->setIcon(GlyphIcon(TGlyph::About));
    connect(mnuHelp, &QAction::triggered, this, &TfrmMain::mnuHelpClick);
    connect(mnuAbout1, &QAction::triggered, this, &TfrmMain::mnuAbout1Click);
    connect(mnuWeb, &QAction::triggered, this, &TfrmMain::mnuWebClick);
    sbtAbout->SetActiveMenu(mnuAbout);

    // The snap menus show each mode's picture of the snap button.
    const std::pair<QAction*, int> snapPictures[] = {
        {mnuEndpoint, SNAP_ENDPOINT}, {mnuMidpoint, SNAP_MIDPOINT}, {mnuCenter, SNAP_CENTRE}, {mnuPoint, SNAP_POINT},
        {mnuAuto, SNAP_AUTO}, {mnuEndpoint2, SNAP_ENDPOINT}, {mnuMidpoint2, SNAP_MIDPOINT}, {mnuCenter2, SNAP_CENTRE},
        {mnuPoint2, SNAP_POINT}, {mnuAuto2, SNAP_AUTO}, {sbmSnap2Grid, SNAP_OFF}, {mnuSnap2Grid2, SNAP_OFF}};
    for (const auto& [item, mode] : snapPictures)
        item->setIcon(SnapGlyphIcon(SnapGlyphIndex(mode, item == sbmSnap2Grid || item == mnuSnap2Grid2)));

    XPMenu1 = new TXPMenu(this);
    XPMenu1->setObjectName(QStringLiteral("XPMenu1"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    XPMenu1->SetFont(font);
    XPMenu1->ImageSize = kGlyphSize;
    XPMenu1->Colors.IconBackColor = WindowColorValue;
    XPMenu1->Colors.UseSystemColors = false;
    XPMenu1->Gradient = true;
    XPMenu1->FlatMenu = true;
    XPMenu1->SetActive(true);

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, &TfrmMain::HelpKeyPress);
}

void TfrmMain::mnuHelpClick()
{
    HelpManager().HelpCommand(kHelpContents, 0);
}

void TfrmMain::mnuAbout1Click()
{
    CommandCode = kCommandNone;
    if (frmAbout != nullptr)
        frmAbout->show();
}

void TfrmMain::mnuWebClick()
{
    CommandCode = kCommandNone;
    ShellOpen(QStringLiteral("https://") + QString::fromLatin1(kMakerWebAddress));
}

void TfrmMain::mnuTutorClick(int tutorial)
{
    // The tutorials are documents of their own beside the program; their
    // submenu stays hidden while none is shipped.
    ShellOpen(ProgramFolder() + QStringLiteral("/tutorials/tutor") + QString::number(tutorial) + QStringLiteral(".html"));
}

void TfrmMain::HelpKeyPress()
{
    HelpManager().HelpKeyword(QString::fromLatin1(kMainHelpKeyword));
}

void TfrmMain::ShowGridDialog()
{
    if (frmGrid == nullptr)
        return;
    frmGrid->FillFromMain();
    frmGrid->exec();
}
