#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QStackedWidget>
#include <QToolButton>

#include "WidgetInput.h"
#include "app/CommandCode.h"
#include "app/Language.h"
#include "app/LanguageMessages.h"
#include "app/TranslateForms.h"
#include "app/ui/controls/MruBar.h"
#include "app/ui/controls/NumericKeyFilter.h"
#include "app/ui/frmMain.h"
#include "app/ui/glyphs/Glyphs.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/engine/EngineGlobals.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Punto2D.h"
#include "cad/ui/CADViewport.h"
#include "cad/view/ScreenCursor.h"
#include "cam/ProgressSink.h"
#include "platform/IniFile.h"

namespace {

// Status texts of our own, so that a test sees which page's text is shown.
class TTestPageTexts {
public:
    TTestPageTexts()
        : Saved(PageTexts)
    {
        for (std::size_t i = 0; i < PageTexts.size(); ++i)
            PageTexts[i] = QStringLiteral("text of page %1").arg(i);
    }
    ~TTestPageTexts() { PageTexts = Saved; }

private:
    std::array<QString, kPageTextCount> Saved;
};

class TSnapModeGuard {
public:
    ~TSnapModeGuard() { SnapMode = Saved; }

private:
    std::int32_t Saved = SnapMode;
};

void Settle()
{
    QApplication::processEvents();
}

QImage SnapImage(int index)
{
    return SnapGlyphPixmap(index).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Counts the key presses of one key that reach a control.
class TKeyCounter : public QObject {
public:
    explicit TKeyCounter(Qt::Key key)
        : Key(key)
    {
    }
    int Count = 0;

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Key)
            ++Count;
        return false;
    }

private:
    Qt::Key Key;
};

} // namespace

TEST(frmMain, ControlsCarryTheirNames)
{
    TfrmMain frm;
    EXPECT_EQ(frm.objectName(), QStringLiteral("frmMain"));
    EXPECT_EQ(frm.windowTitle(), QStringLiteral("Kestro"));
    for (const char* name :
        {"pnlVistaGrafica", "pnlCmd", "pnlTbr1", "pnlTbr2", "pnlTbr3", "pnlTbr4", "sbtNew", "sbtOpen", "sbtSave",
            "sbtVect", "sbtCnc", "sbtSetting", "sbtAbout", "sbtExit", "sbtAutozoom", "sbtZoomBack", "sbtZoomIn",
            "sbtZoomWin", "sbtPan", "sbtRedraw", "sbtRectangle", "sbtPoly", "sbtSpline", "sbtTTFConv", "lsbArc",
            "lsbLine", "lsbPoint", "lsbModify", "lsbXform", "lsbDelete", "lsbAnalyze", "PageControl1",
            "nol_pnlStatus1", "ProgressBar1", "pnlStatus2", "pnlStatus3", "sbmSnap", "sbtUseOrtho", "sbtAxisOnOff",
            "sbtWinSel", "sbtGridOnOff", "sbtCancel", "sbtDone", "pnlStatus4", "sbtLayer", "imgLayerCol",
            "PopupSnap", "PopupDestro"})
        EXPECT_NE(frm.findChild<QObject*>(QString::fromLatin1(name)), nullptr) << name;
    for (const char* name : {"mnuEndpoint", "mnuMidpoint", "mnuCenter", "mnuPoint", "mnuAuto", "sbmSnap2Grid",
             "mnuEndpoint2", "mnuMidpoint2", "mnuCenter2", "mnuPoint2", "mnuAuto2", "mnuSnap2Grid2"})
        EXPECT_NE(frm.findChild<QAction*>(QString::fromLatin1(name)), nullptr) << name;

    ASSERT_EQ(frm.PageControl1->count(), 47);
    const std::pair<int, const char*> pages[] = {{0, "tabVect1"}, {5, "tabAttrib"}, {12, "tabSettings"},
        {13, "tabOpen2"}, {17, "tabPolySemplify"}, {38, "TabSheet1"}, {39, "TabSheet2"}, {40, "tabCnc1"},
        {46, "tabIso"}};
    for (const auto& [index, name] : pages)
        EXPECT_EQ(frm.Page(index)->objectName(), QString::fromLatin1(name)) << index;
    EXPECT_EQ(frm.Page(47), nullptr);

    EXPECT_FALSE(frm.sbtCnc->isHidden()) << "the way in to the CNC pages";
    EXPECT_FALSE(frm.PagesVisible()) << "no command has opened its pages yet";
    EXPECT_EQ(frm.sbtCancel->toolTip(), QStringLiteral("Stop operation"));
    EXPECT_EQ(frm.sbtDone->toolTip(), QStringLiteral("Accept operation"));
}

TEST(frmMain, TheLanguageFileReachesButtonsAndBothSnapMenus)
{
    TfrmMain frm;
    const IniFile file = IniFile::FromText("[frmMain]\n"
                                           "frmMain.Caption=Kestro CAM\n"
                                           "sbtDone.Hint=Accetta\n"
                                           "sbtLayer.Caption=Layer corrente:\n"
                                           "mnuEndpoint.Caption=Estremo\n"
                                           "mnuEndpoint2.Caption=Estremo\n"
                                           "sbmSnap2Grid.Caption=Griglia\n");
    TranslateForms({&frm}, &file);
    EXPECT_EQ(frm.windowTitle(), QStringLiteral("Kestro CAM"));
    EXPECT_EQ(frm.sbtDone->toolTip(), QStringLiteral("Accetta"));
    EXPECT_EQ(frm.sbtLayer->text(), QStringLiteral("Layer corrente:"));
    EXPECT_EQ(frm.mnuEndpoint->text(), QStringLiteral("Estremo"));
    EXPECT_EQ(frm.mnuEndpoint2->text(), QStringLiteral("Estremo"));
    EXPECT_EQ(frm.sbmSnap2Grid->text(), QStringLiteral("Griglia"));
    EXPECT_EQ(frm.sbtCancel->toolTip(), QStringLiteral("Stop operation")) << "untranslated controls keep their text";
}

TEST(frmMain, VisPagineShowsRestoresAndHidesPageSets)
{
    const TTestPageTexts texts;
    TfrmMain frm;
    frm.Messaggio(QStringLiteral("before"));

    frm.VisPagine({998});
    EXPECT_FALSE(frm.PagesVisible());
    EXPECT_EQ(frm.StatusText(), QStringLiteral("before"));

    LastKey = 0;
    frm.FillingControls = true;
    frm.VisPagine({5, 13});
    EXPECT_TRUE(frm.PagesVisible());
    EXPECT_EQ(frm.ShownPages(), (std::vector<int>{5, 13}));
    EXPECT_EQ(frm.ActivePage(), 5);
    EXPECT_EQ(frm.PageControl1->currentWidget()->objectName(), QStringLiteral("tabAttrib"));
    EXPECT_EQ(frm.StatusText(), QStringLiteral("text of page 5"));
    EXPECT_EQ(LastKey, ESCAPE_KEY) << "a change of pages stops a running computation";
    EXPECT_FALSE(frm.FillingControls);

    // The page's Next button.
    frm.SetActivePage(13);
    EXPECT_EQ(frm.PageControl1->currentWidget()->objectName(), QStringLiteral("tabOpen2"));
    EXPECT_EQ(frm.StatusText(), QStringLiteral("text of page 13"));

    // A nested page, then back to the set that was open.
    frm.VisPagine({11});
    EXPECT_EQ(frm.StatusText(), QStringLiteral("text of page 11"));
    frm.VisPagine({0, 1, 2});
    frm.VisPagina(7);
    EXPECT_EQ(frm.ActivePage(), 7);
    EXPECT_EQ(frm.StatusText(), QStringLiteral("text of page 7"));
    frm.VisPagine({998});
    EXPECT_EQ(frm.ShownPages(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(frm.ActivePage(), 0);
    EXPECT_EQ(frm.StatusText(), QStringLiteral("text of page 0"));

    frm.VisPagine({999});
    EXPECT_FALSE(frm.PagesVisible());
    EXPECT_TRUE(frm.ShownPages().empty());
    EXPECT_EQ(frm.StatusText(), QString());
    frm.Messaggio(QStringLiteral("after"));
    frm.VisPagine({998});
    EXPECT_FALSE(frm.PagesVisible()) << "999 forgot the set";
    EXPECT_EQ(frm.StatusText(), QStringLiteral("after"));

    frm.VisPagina(12);
    EXPECT_TRUE(frm.PagesVisible());
    frm.VisPagina(999);
    EXPECT_FALSE(frm.PagesVisible());
    EXPECT_EQ(frm.StatusText(), QString());
}

TEST(frmMain, PageChangesBringBackTheRecentlyUsedBar)
{
    const bool saved = MruBarEnabled;
    TfrmMain frm;
    frm.show();
    Settle();
    ASSERT_TRUE(frm.pnlMRU->isVisible());

    // A command starts and lists itself with the picture of its key.
    int runs = 0;
    frm.MRUadd(6, QStringLiteral("Fillet"), [&runs](QObject*) { ++runs; });
    EXPECT_EQ(IconImage(frm.pnlMRU->Button(0)->icon()), IconImage(CommandGlyphIcon(6)));
    EXPECT_EQ(frm.pnlMRU->Button(0)->toolTip(), QStringLiteral("Fillet"));

    frm.pnlMRU->hide();
    MruBarEnabled = true;
    frm.VisPagine({16});
    EXPECT_TRUE(frm.pnlMRU->isVisible());

    frm.pnlMRU->hide();
    MruBarEnabled = false;
    frm.VisPagine({16});
    EXPECT_FALSE(frm.pnlMRU->isVisible()) << "the user switched the bar off";
    MruBarEnabled = saved;
}

TEST(frmMain, SnapMenusKeepOneModeAndShowItOnTheButton)
{
    const TSnapModeGuard guard;
    TfrmMain frm;
    SnapMode = SNAP_OFF;
    frm.ImpostaGlyph();
    EXPECT_EQ(IconImage(frm.sbmSnap->icon()), SnapImage(7));

    TCADViewport2DCore& view = frm.VistaGrafica->Core2D();
    frm.mnuPoint->trigger();
    EXPECT_EQ(SnapMode, SNAP_POINT);
    EXPECT_EQ(view.PickClass, TObject2DClass::Of<TPunto2D>()) << "point snap picks points only";

    frm.mnuEndpoint->trigger();
    EXPECT_FALSE(frm.mnuPoint->isChecked());
    EXPECT_EQ(view.PickClass, TObject2DClass()) << "every other mode picks all objects";
    EXPECT_TRUE(frm.mnuEndpoint->isChecked());
    EXPECT_TRUE(frm.mnuEndpoint2->isChecked()) << "the twin follows";
    EXPECT_EQ(SnapMode, SNAP_ENDPOINT);
    EXPECT_EQ(IconImage(frm.sbmSnap->icon()), SnapImage(9));

    // The context menu's item chooses the centre and clears the end point in both menus.
    frm.mnuCenter2->trigger();
    EXPECT_TRUE(frm.mnuCenter->isChecked());
    EXPECT_TRUE(frm.mnuCenter2->isChecked());
    EXPECT_FALSE(frm.mnuEndpoint->isChecked());
    EXPECT_FALSE(frm.mnuEndpoint2->isChecked());
    EXPECT_EQ(SnapMode, SNAP_CENTRE);
    EXPECT_EQ(IconImage(frm.sbmSnap->icon()), SnapImage(13));

    const std::pair<QAction*, int> modes[] = {{frm.mnuMidpoint, SNAP_MIDPOINT}, {frm.mnuPoint, SNAP_POINT},
        {frm.mnuAuto, SNAP_AUTO}, {frm.mnuEndpoint, SNAP_ENDPOINT}};
    for (const auto& [item, mode] : modes) {
        item->trigger();
        EXPECT_EQ(SnapMode, mode);
        int checked = 0;
        for (QAction* any : {frm.mnuEndpoint, frm.mnuMidpoint, frm.mnuCenter, frm.mnuPoint, frm.mnuAuto})
            checked += any->isChecked() ? 1 : 0;
        EXPECT_EQ(checked, 1) << "mode " << mode;
    }

    // Clicking the checked end point again switches object snap off.
    frm.mnuEndpoint->trigger();
    EXPECT_FALSE(frm.mnuEndpoint->isChecked());
    EXPECT_FALSE(frm.mnuEndpoint2->isChecked());
    EXPECT_EQ(SnapMode, SNAP_OFF);
    EXPECT_EQ(IconImage(frm.sbmSnap->icon()), SnapImage(7));

    frm.mnuPoint2->trigger();
    EXPECT_EQ(view.PickClass, TObject2DClass::Of<TPunto2D>());
    frm.mnuPoint->trigger();
    EXPECT_EQ(SnapMode, SNAP_OFF);
    EXPECT_EQ(view.PickClass, TObject2DClass()) << "unchecking Point allows all objects again";

    // With grid snap on in the engine the button shows the grid variant.
    frm.LocalPrg().UseSnap = true;
    frm.ImpostaGlyph();
    EXPECT_EQ(IconImage(frm.sbmSnap->icon()), SnapImage(8));
    EXPECT_NE(SnapImage(7), SnapImage(8));
}

TEST(frmMain, LayoutFollowsTheClientSize)
{
    TfrmMain frm;
    frm.VisPagine({12});
    frm.resize(1000, 700);
    frm.show();
    Settle();
    ASSERT_EQ(frm.size(), QSize(1000, 700));

    EXPECT_EQ(frm.pnlVistaGrafica->geometry(), QRect(5, 5, 763, 663));
    EXPECT_EQ(frm.pnlCmd->pos(), QPoint(774, 5));
    EXPECT_EQ(frm.PageControl1->geometry(), QRect(774, 143, 221, 523));
    EXPECT_EQ(frm.nol_pnlStatus1->geometry(), QRect(4, 671, 160, 25));
    EXPECT_EQ(frm.pnlStatus2->geometry(), QRect(168, 671, 512, 25));
    EXPECT_EQ(frm.pnlStatus3->pos(), QPoint(684, 671));
    EXPECT_EQ(frm.pnlStatus4->pos(), QPoint(867, 671));

    // Nothing of the right column or the status row leaves the window.
    for (QWidget* control : {static_cast<QWidget*>(frm.pnlCmd), static_cast<QWidget*>(frm.pnlStatus4)})
        EXPECT_LE(control->geometry().right(), 1000 - 1) << control->objectName().toStdString();
    for (QWidget* group : {frm.pnlTbr1, frm.pnlTbr2, frm.pnlTbr3, frm.pnlTbr4})
        EXPECT_TRUE(frm.pnlCmd->rect().contains(group->geometry())) << group->objectName().toStdString();
    EXPECT_LE(frm.pnlCmd->geometry().bottom(), 143) << "the tool bars end above the pages";

    frm.resize(TfrmMain::kDesignedClientWidth, TfrmMain::kDesignedClientHeight);
    Settle();
    EXPECT_EQ(frm.pnlCmd->pos(), QPoint(566, 5));
    EXPECT_EQ(frm.pnlStatus2->geometry(), QRect(168, 537, 304, 25));
}

TEST(frmMain, ToolBarGroupsAreEnabledTogether)
{
    TfrmMain frm;
    frm.AbilitaPnl(false, true, false, false);
    for (QWidget* control : std::initializer_list<QWidget*>{frm.sbtOpen, frm.sbtSetting, frm.sbtLayer,
             frm.sbtUseOrtho, frm.sbtGridOnOff, frm.sbtRectangle, frm.lsbArc, frm.lsbDelete, frm.lsbXform})
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    for (QWidget* control : std::initializer_list<QWidget*>{frm.sbtZoomIn, frm.sbtPan, frm.sbtRedraw, frm.sbmSnap, frm.sbtCancel})
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();

    frm.AbilitaPnl(true, true, true, true);
    for (QWidget* control : std::initializer_list<QWidget*>{frm.sbtOpen, frm.sbtLayer, frm.sbtUseOrtho,
             frm.sbtRectangle, frm.lsbArc, frm.lsbDelete})
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();

    QToolButton* calculate = frm.sbtConCalculate;
    calculate->setEnabled(false);
    frm.TogliAssoc();
    EXPECT_TRUE(calculate->isEnabled());
}

TEST(frmMain, CurrentLayerShowsNumberAndColour)
{
    TfrmMain frm;
    frm.LocalCad().Layers().GetLayer(3).SetPenColor(0x0000FF);
    frm.LocalCad().CurrentLayer = 3;
    frm.CurrLayerInfo();
    EXPECT_EQ(frm.sbtLayer->text(), GetLangString(kMsgCurrentLayer) + QStringLiteral(" 3"));
    const QImage swatch = frm.imgLayerCol->pixmap().toImage();
    EXPECT_EQ(swatch.pixelColor(swatch.width() / 2, swatch.height() / 2), QColor(255, 0, 0));

    frm.CurrLayerCol(0x00FF00);
    const QImage green = frm.imgLayerCol->pixmap().toImage();
    EXPECT_EQ(green.pixelColor(green.width() / 2, green.height() / 2), QColor(0, 255, 0));
}

TEST(frmMain, EscAndEnterReachTheWindowAndPassOn)
{
    TfrmMain frm;
    frm.VisPagine({15});
    auto* field = new QLineEdit(frm.Page(15));
    InstallKeyFilter(*field, SoloNumeriPos);
    TKeyCounter escOnPage(Qt::Key_Escape);
    frm.Page(15)->installEventFilter(&escOnPage);
    frm.show();
    Settle();
    field->setFocus();
    ASSERT_EQ(frm.focusWidget(), field);

    PressKey(field, Qt::Key_1, QStringLiteral("1"));
    PressKey(field, Qt::Key_Minus, QStringLiteral("-"));
    PressKey(field, Qt::Key_Comma, QStringLiteral(","));
    PressKey(field, Qt::Key_Period, QStringLiteral("."));
    PressKey(field, Qt::Key_5, QStringLiteral("5"));
    EXPECT_EQ(field->text(), QStringLiteral("1.5"));
    PressKey(field, Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_EQ(field->text(), QStringLiteral("1."));

    CommandCode = 7;
    LastKey = 0;
    PressKey(field, Qt::Key_Escape, QStringLiteral("\x1b"));
    EXPECT_EQ(CommandCode, kCommandCancelled);
    EXPECT_EQ(LastKey, ESCAPE_KEY);
    EXPECT_EQ(escOnPage.Count, 1) << "the refused Esc goes on to the field's parents";
    EXPECT_EQ(field->text(), QStringLiteral("1."));

    // Enter changes neither the command code nor LastKey.
    LastKey = 0;
    PressKey(field, Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(CommandCode, kCommandCancelled);
    EXPECT_EQ(LastKey, 0);

    // A key typed into another window is not the main window's.
    QLineEdit other;
    other.show();
    Settle();
    CommandCode = 7;
    PressKey(&other, Qt::Key_Escape, QStringLiteral("\x1b"));
    EXPECT_EQ(CommandCode, 7);
}

TEST(frmMain, PointerOverTheViewAndTheToolBars)
{
    TfrmMain frm;
    SetScreenCursor(crDefault);
    QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), QPointF(10, 10));
    QApplication::sendEvent(frm.VistaGrafica, &enter);
    EXPECT_EQ(ScreenCursor(), crNoSnap);
    EXPECT_TRUE(frm.MouseInView);

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(frm.VistaGrafica, &leave);
    EXPECT_EQ(ScreenCursor(), crDefault);
    EXPECT_FALSE(frm.MouseInView);

    // A snap cursor left over from the view goes back to the arrow on the tool bars.
    SetScreenCursor(crEndPoint);
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 140), QPointF(2, 140), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(frm.pnlCmd, &move);
    EXPECT_EQ(ScreenCursor(), crDefault);
    SetScreenCursor(crPan);
    QApplication::sendEvent(frm.pnlCmd, &move);
    EXPECT_EQ(ScreenCursor(), crPan) << "only the view's cursors are put back";
    SetScreenCursor(crDefault);
}

TEST(frmMain, AxesButtonAndOverlayTextInTheView)
{
    TfrmMain frm;
    frm.resize(1000, 700);
    frm.show();
    Settle();
    TCADViewportCore& view = frm.VistaGrafica->Core();
    frm.sbtAxisOnOff->click();
    EXPECT_TRUE(view.ShowAssi());
    frm.sbtAxisOnOff->click();
    EXPECT_FALSE(view.ShowAssi());

    view.SetBackGroundColor(0x808080);
    frm.TestoGrafico(QStringLiteral("Machining time"));
    const QImage& window = view.WindowImage();
    ASSERT_EQ(window.size(), frm.VistaGrafica->size());
    // Yellow text on the view's background, centred, in the band 25 pixels above the bottom.
    int yellow = 0;
    int left = window.width();
    int right = 0;
    for (int y = window.height() - 25; y < window.height() - 5; ++y)
        for (int x = 0; x < window.width(); ++x)
            if (window.pixelColor(x, y) == QColor(255, 255, 0)) {
                ++yellow;
                left = std::min(left, x);
                right = std::max(right, x);
            }
    EXPECT_GT(yellow, 30);
    EXPECT_NEAR((left + right) / 2, window.width() / 2, 3);
    EXPECT_EQ(window.pixelColor(window.width() / 2, window.height() / 2), QColor(0x80, 0x80, 0x80));
    // Nothing yellow above the text's band.
    EXPECT_NE(window.pixelColor(window.width() / 2, window.height() - 40), QColor(255, 255, 0));
}

TEST(frmMain, ScreenshotOfTheWholeWindow)
{
    const TTestPageTexts texts;
    TfrmMain frm;
    // The view as start-up leaves it: grey background, grid and axes on, one
    // millimetre per unit from (-10, -10).
    TCADViewport2DCore& view = frm.VistaGrafica->Core2D();
    view.SetBackGroundColor(0x808080);
    view.SetGridColor(0x800000);
    view.SetGridDeltaX(10.0f);
    view.SetGridDeltaY(10.0f);
    view.SetShowGrid(true);
    view.SetShowAssi(true);
    view.SetAspectRatio(1.0f);
    frm.sbtGridOnOff->setChecked(true);
    frm.sbtAxisOnOff->setChecked(true);
    frm.VisPagine({12});
    frm.nol_pnlStatus1->setText(QStringLiteral("X: 12.500 Y: 40.000"));
    frm.resize(1000, 700);
    frm.show();
    Settle();
    view.ZoomWindow(MakeRect2D(-10, -10, 290, 290));
    Settle();

    const QImage shot = frm.grab().toImage();
    ASSERT_EQ(shot.size(), QSize(1000, 700));
    // The view shows its background and its grid lines.
    int background = 0;
    int grid = 0;
    for (int y = 20; y < 650; y += 3)
        for (int x = 20; x < 750; ++x) {
            const QColor colour = shot.pixelColor(x, y);
            background += colour == QColor(0x80, 0x80, 0x80) ? 1 : 0;
            grid += colour == QColor(0x00, 0x00, 0x80) ? 1 : 0;
        }
    EXPECT_GT(background, 50000);
    EXPECT_GT(grid, 1000);

    const std::filesystem::path folder(KESTRO_TEST_OUTPUT_DIR);
    std::filesystem::create_directories(folder);
    const QString file = QString::fromStdString((folder / "frmMain.png").string());
    ASSERT_TRUE(shot.save(file));
}
