// The option pages of the main window and the page sets that commands show.

#include <array>

#include <QStackedWidget>

#include "app/Language.h"
#include "app/ui/controls/MruBar.h"
#include "app/ui/frmMain.h"
#include "cam/ProgressSink.h"

namespace {

// By page index: commands name their pages by these numbers.
constexpr std::array<const char*, kPageCount> kPageNames{
    "tabVect1", "tabVect2", "tabVect3", "tabFont", "tabCircleCtDia", "tabAttrib", "tabSnapGrid", "tabLayer",
    "tabInfo", "tabMirror", "tabScale", "tabVisGridSet", "tabSettings", "tabOpen2", "tabChangeLayer",
    "tabOffset", "tabFillet", "tabPolySemplify", "tabExtend", "tabArcPolar", "tabPoly", "tabCircleCtPt",
    "tabDelSmall", "tabLineInfo", "tabArcInfo", "tabRectInfo", "tabEllipseInfo", "tabSpline", "tabPoint",
    "tabExplodeInfo", "tabLinePolar", "tabLineTanAngle", "tabArcTan", "tabRotate", "tabTranslate",
    "tabPointGrid", "tabBoltCircle", "tabDistance", "TabSheet1", "TabSheet2", "tabCnc1", "tabCnc2", "tabChain",
    "tabContour", "tabDrill", "tabPocket", "tabIso"};

// Pages whose activation the CNC pages and the 3D view care about.
constexpr int kPageCnc2 = 41;
constexpr int kPageContour = 43;
constexpr int kPageDrill = 44;
constexpr int kPageIso = 46;

} // namespace

void TfrmMain::CreatePages()
{
    PageControl1 = new QStackedWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    for (const char* name : kPageNames) {
        auto* page = new QWidget;
        page->setObjectName(QString::fromLatin1(name));
        PageControl1->addWidget(page);
    }
    // No command has opened its pages yet.
    PageControl1->hide();
}

QWidget* TfrmMain::Page(int index) const
{
    return IsPageIndex(index) ? PageControl1->widget(index) : nullptr;
}

int TfrmMain::ActivePage() const
{
    return PageControl1->currentIndex();
}

bool TfrmMain::PagesVisible() const
{
    return !PageControl1->isHidden();
}

void TfrmMain::VisPagine(std::span<const int> pages)
{
    const std::optional<TPageSetView> view = PageSet.Show(pages);
    if (!view)
        return;
    FillingControls = false;
    CloseZDepth();
    ZDepthMode3D(false);
    LastKey = ESCAPE_KEY;
    // A command that hid the recently-used bar gets it back.
    if (MruBarEnabled)
        pnlMRU->show();
    ApplyPageView(*view);
}

void TfrmMain::VisPagina(int page)
{
    const std::optional<TPageSetView> view = TPageSet::ShowOne(page);
    if (!view)
        return;
    FillingControls = false;
    ApplyPageView(*view);
}

void TfrmMain::ApplyPageView(const TPageSetView& view)
{
    ShownPageList = view.Pages;
    if (!view.Pages.empty())
        PageControl1->setCurrentIndex(view.Pages.front());
    PageControl1->setVisible(view.ControlVisible);
    switch (view.Status) {
    case TStatusChange::Keep:
        break;
    case TStatusChange::Clear:
        Messaggio();
        break;
    case TStatusChange::PageText:
        Messaggio(PageTexts[static_cast<std::size_t>(view.StatusPage)]);
        break;
    }
}

void TfrmMain::SetActivePage(int page)
{
    if (!IsPageIndex(page))
        return;
    PageControl1->setCurrentIndex(page);
    PageControl1Change();
}

void TfrmMain::PageControl1Change()
{
    const int page = ActivePage();
    if (!IsPageIndex(page))
        return;
    Messaggio(PageTexts[static_cast<std::size_t>(page)]);
    switch (page) {
    case kPageCnc2:
    case kPageContour:
        ZDepthMode3D(false);
        txtConZRapidClick();
        break;
    case kPageDrill:
        txtDriZRapidClick();
        break;
    case kPageIso:
        ShowZDepth();
        break;
    default:
        break;
    }
}
