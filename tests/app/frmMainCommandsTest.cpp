#include <gtest/gtest.h>

#include <filesystem>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

#include "WidgetInput.h"
#include "app/CommandCode.h"
#include "app/Language.h"
#include "app/ui/controls/MruBar.h"
#include "app/ui/frmCoord.h"
#include "app/ui/frmMain.h"
#include "app/ui/glyphs/Glyphs.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/engine/SelectObject.h"
#include "cad/engine/Sel2Punti.h"
#include "cad/engine/SelectObjects.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/ui/CADViewport.h"
#include "edit/commands/OffsetCommand.h"
#include "edit/entities/DeletedEntities.h"
#include "edit/entities/SelectionOps.h"
#include "platform/IniFile.h"

namespace {

void Settle()
{
    QApplication::processEvents();
}

// A window on screen with the world (0, 0)-(100, 100) in its view.
void ShowWithView(TfrmMain& frm)
{
    frm.resize(1000, 700);
    frm.show();
    Settle();
    frm.VistaGrafica->Core2D().ZoomWindow(MakeRect2D(0, 0, 100, 100));
    Settle();
}

QStringList ItemNames(const QMenu& menu)
{
    QStringList names;
    for (const QAction* item : menu.actions())
        names << item->objectName();
    return names;
}

// Picks at a world point as the left button's release there would.
void PickAt(TfrmMain& frm, float x, float y)
{
    frm.LocalPrg().SetCurrentPoint(MakePoint2D(x, y));
    frm.LocalPrg().SendEvent(TCADPrgEvent::MouseUp, 0, 0, ssLeft);
}

float FirstY(const TObject2D& object)
{
    return (*static_cast<const TPrimitive2D&>(object).Points())[0].Y;
}

// Records the left-button presses the running task receives.
class TPressLog : public TCADState {
public:
    static constexpr const char* ClassName = "TPressLog";
    TPressLog(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& next)
        : TCADState(engine, std::move(param), next)
    {
    }
    bool ProcessEvent(TCADPrgEvent kind, int button, TShiftState, int, TCADStateClass&) override
    {
        if (kind == TCADPrgEvent::MouseDown && button == CADPRG_LEFT)
            Presses().push_back(static_cast<TCADPrg2D&>(Engine()).GetCurrentPoint());
        return false;
    }
    static std::vector<TPoint2D>& Presses()
    {
        static std::vector<TPoint2D> presses;
        return presses;
    }
};

} // namespace

TEST(frmMainCommands, SplitButtonMenuRebindsTheButtonAndStartsTheCommand)
{
    TfrmMain frm;
    ShowWithView(frm);
    QMenu* menu = frm.lnkMenuModify->ActiveMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(ItemNames(*menu), (QStringList{"mnuFillet", "mnuDivide", "mnuTrim", "mnuBreak", "mnuExtend",
                                             "mnuMoveNode", "mnuChangeLayer", "mnuJoin", "mnuOffset", "mnuExplode",
                                             "mnuPolySemplify"}));
    for (TYarvLinkedMenuSpeedButton* arrow : {frm.lnkMenuArc, frm.lnkMenuLinea, frm.lnkMenuPunto, frm.lnkMenuXform,
                                              frm.lnkMenuDelete, frm.lnkMenuAnalisi})
        EXPECT_NE(arrow->ActiveMenu(), nullptr) << arrow->objectName().toStdString();

    // Choosing offset: the split button takes its glyph, hint and command,
    // the page shows, the recently-used bar gets it and the pick runs.
    for (QAction* item : menu->actions())
        if (item->objectName() == QLatin1String("mnuOffset"))
            item->trigger();
    EXPECT_EQ(CommandCode, 29);
    EXPECT_EQ(IconImage(frm.lsbModify->icon()), IconImage(CommandGlyphIcon(17)));
    EXPECT_EQ(frm.lsbModify->toolTip(), GetLangString(217));
    EXPECT_EQ(frm.ActivePage(), 15);
    EXPECT_TRUE(frm.LocalPrg().IsBusy());
    EXPECT_TRUE(frm.LocalPrg().CurrentOperation() == TCADStateClass::Of<TCAD2DSelectObject>());
    EXPECT_EQ(frm.pnlMRU->List().Entry(0).Key, 17);

    // Esc ends it; the split button now repeats offset by itself.
    frm.FormKeyPress('\x1b');
    EXPECT_FALSE(frm.LocalPrg().IsBusy());
    EXPECT_EQ(CommandCode, 12);
    frm.lsbModify->click();
    EXPECT_EQ(CommandCode, 29);
    EXPECT_TRUE(frm.LocalPrg().IsBusy());

    // Explode keeps its glyph off the recently-used bar and starts its selection.
    for (QAction* item : menu->actions())
        if (item->objectName() == QLatin1String("mnuExplode"))
            item->trigger();
    EXPECT_EQ(CommandCode, 48);
    EXPECT_EQ(IconImage(frm.lsbModify->icon()), IconImage(CommandGlyphIcon(27)));
    EXPECT_EQ(frm.pnlMRU->List().Entry(0).Key, 17);
    EXPECT_EQ(frm.pnlMRU->List().Entry(1).Key, 0);
    EXPECT_TRUE(frm.LocalPrg().CurrentOperation() == TCADStateClass::Of<TCAD2DSelectObjects>());

    // The picture of the window with the modify menu open beside its button.
    menu->popup(frm.lnkMenuModify->mapToGlobal(frm.lnkMenuModify->MenuOrigin()));
    Settle();
    QImage shot = frm.grab().toImage();
    {
        QPainter painter(&shot);
        painter.drawPixmap(frm.mapFromGlobal(menu->pos()), menu->grab());
    }
    menu->hide();
    const std::filesystem::path folder(KESTRO_TEST_OUTPUT_DIR);
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(shot.save(QString::fromStdString((folder / "frmMainSplitMenu.png").string())));
}

TEST(frmMainCommands, MiddleButtonAndEnterRepeatOnlyWhatMayBeRepeated)
{
    TfrmMain frm;
    ShowWithView(frm);
    int undeletes = 0;
    frm.CommandActions[24] = [&undeletes] { ++undeletes; };
    const QPoint inView = frm.VistaGrafica->rect().center();

    // Nothing run yet: neither the middle button nor Enter repeats.
    EXPECT_EQ(CommandCode, 999);
    Click(frm.VistaGrafica, inView, Qt::MiddleButton);
    frm.FormKeyPress('\r');
    EXPECT_EQ(undeletes, 0);

    for (QAction* item : frm.lnkMenuDelete->ActiveMenu()->actions())
        if (item->objectName() == QLatin1String("mnuUndelete"))
            item->trigger();
    EXPECT_EQ(undeletes, 1);
    Click(frm.VistaGrafica, inView, Qt::MiddleButton);
    EXPECT_EQ(undeletes, 2);
    frm.FormKeyPress('\r');
    EXPECT_EQ(undeletes, 3);

    // While a task runs the middle button does nothing.
    frm.StartCommand(29);
    Click(frm.VistaGrafica, inView, Qt::MiddleButton);
    EXPECT_EQ(CommandCode, 29);
    EXPECT_EQ(undeletes, 3);

    // After Esc nothing is repeated until a command starts again.
    frm.FormKeyPress('\x1b');
    Click(frm.VistaGrafica, inView, Qt::MiddleButton);
    frm.FormKeyPress('\r');
    EXPECT_EQ(CommandCode, 12);
    EXPECT_FALSE(frm.LocalPrg().IsBusy());
    EXPECT_EQ(undeletes, 3);

    // The window delete leaves window select on until it ends.
    EXPECT_FALSE(frm.mnuWinSelect->isChecked());
    frm.ChooseCommand(53);
    EXPECT_TRUE(frm.mnuWinSelect->isChecked());
    EXPECT_TRUE(frm.sbtWinSel->isChecked());
    frm.sbtWinSelClick();
    EXPECT_FALSE(frm.mnuWinSelect->isChecked());
    EXPECT_FALSE(frm.sbtWinSel->isChecked());
}

TEST(frmMainCommands, TogglesKeepMenuButtonAndRunnerTogether)
{
    TfrmMain frm;
    frm.sbtUseOrtho->click();
    EXPECT_TRUE(frm.mnuOrtho->isChecked());
    EXPECT_TRUE(frm.LocalPrg().UseOrto);
    frm.mnuOrtho->trigger();
    EXPECT_FALSE(frm.sbtUseOrtho->isChecked());
    EXPECT_FALSE(frm.LocalPrg().UseOrto);

    frm.mnuSnap2Grid2->trigger();
    EXPECT_TRUE(frm.sbmSnap2Grid->isChecked());
    EXPECT_TRUE(frm.LocalPrg().UseSnap);
    frm.sbmSnap2Grid->trigger();
    EXPECT_FALSE(frm.mnuSnap2Grid2->isChecked());
    EXPECT_FALSE(frm.LocalPrg().UseSnap);
}

TEST(frmMainCommands, TypedPointIsSentOnlyWhenAcceptedAndReadable)
{
    // The dialog translates itself as it opens; a missing language file would stop it with a message.
    std::unique_ptr<IniFile> language = std::make_unique<IniFile>(IniFile::FromText("[frmCoord]\n"));
    std::swap(language, LanguageFile);
    TfrmMain frm;
    TfrmCoord dialog(&frm);
    frmCoord = &dialog;
    ShowWithView(frm);
    TPressLog::Presses().clear();
    frm.LocalPrg().StartOperation(TCADStateClass::Of<TPressLog>());
    frm.LocalPrg().SetCurrentPoint(MakePoint2D(1.25f, -3.5f));

    const auto typeAndClose = [&](const QString& x, const QString& y, bool accept) {
        QTimer::singleShot(0, &dialog, [&dialog, x, y, accept] {
            dialog.txtCoordX->setText(x);
            dialog.txtCoordY->setText(y);
            (accept ? dialog.btnOk : dialog.btnCancel)->click();
        });
        frm.mnuCoordClick();
    };
    QString shownX;
    QTimer::singleShot(0, &dialog, [&] {
        shownX = dialog.txtCoordX->text();
        dialog.btnCancel->click();
    });
    frm.mnuCoordClick();
    EXPECT_EQ(shownX, QStringLiteral(" 1.250"));

    typeAndClose(QStringLiteral("20"), QStringLiteral("30"), false);
    typeAndClose(QStringLiteral("20"), QStringLiteral("abc"), true);
    typeAndClose(QStringLiteral("-"), QStringLiteral("30"), true);
    EXPECT_TRUE(TPressLog::Presses().empty());
    typeAndClose(QStringLiteral("20.5"), QStringLiteral("-30"), true);
    ASSERT_EQ(TPressLog::Presses().size(), 1u);
    EXPECT_FLOAT_EQ(TPressLog::Presses()[0].X, 20.5f);
    EXPECT_FLOAT_EQ(TPressLog::Presses()[0].Y, -30.0f);
    frm.LocalPrg().StopOperation();
    frmCoord = nullptr;
    std::swap(language, LanguageFile);
}

TEST(frmMainCommands, OffsetPreviewFlipDoneAndStaleCopies)
{
    TfrmMain frm;
    TCADCmp2D& cad = frm.LocalCad();
    TObject2D* line = cad.AddObject(-1, std::make_unique<TLine2D>(-1, MakePoint2D(10, 10), MakePoint2D(40, 10)));
    const std::int32_t lineID = line->ID;
    ShowWithView(frm);
    TOffsetCommand& offset = OffsetCommand();

    // The copy waits on the left of the line's direction, then on its right.
    frm.ChooseCommand(29);
    frm.txtOffsetDist->setText(QStringLiteral("2"));
    PickAt(frm, 25, 10);
    ASSERT_TRUE(offset.Pending());
    EXPECT_FLOAT_EQ(FirstY(*offset.Preview), 12.0f);
    EXPECT_EQ(offset.Arrow.size(), 5u);
    EXPECT_TRUE(frm.LocalPrg().IsBusy()) << "the offset state waits for Done";
    frm.sbtFlipOffset->click();
    ASSERT_TRUE(offset.Pending());
    EXPECT_FLOAT_EQ(FirstY(*offset.Preview), 8.0f);
    const QImage preview = frm.VistaGrafica->grab().toImage();

    // Done with Move: the copy replaces the line, the task ends, the pages go.
    frm.rbtOffsetMove->setChecked(true);
    frm.sbtOffsetOk->click();
    EXPECT_FALSE(offset.Pending());
    EXPECT_FALSE(frm.LocalPrg().IsBusy());
    EXPECT_FALSE(frm.PagesVisible());
    EXPECT_EQ(cad.GetObject(lineID), nullptr);
    ASSERT_EQ(cad.ObjectsCount(), 1);
    TObject2D* moved = cad.GetObject(cad.ObjectsIterator()->First()->ID);
    EXPECT_FLOAT_EQ(FirstY(*moved), 8.0f);

    // Esc drops a waiting copy: a later Done adds nothing.
    frm.ChooseCommand(29);
    PickAt(frm, 25, 8);
    ASSERT_TRUE(offset.Pending());
    frm.FormKeyPress('\x1b');
    EXPECT_FALSE(offset.Pending());
    frm.sbtOffsetOk->click();
    EXPECT_EQ(cad.ObjectsCount(), 1);

    // A source deleted while its copy waits is not deleted again.
    frm.ChooseCommand(29);
    PickAt(frm, 25, 8);
    ASSERT_TRUE(offset.Pending());
    cad.DeleteObject(moved->ID);
    frm.sbtOffsetOk->click();
    EXPECT_EQ(cad.ObjectsCount(), 1);
    EXPECT_FALSE(frm.LocalPrg().IsBusy());

    // A circle shrunk to nothing makes no copy and ends the pick.
    cad.AddObject(-1, std::make_unique<TCerchio2D>(-1, MakePoint2D(70, 70), MakePoint2D(71, 70)));
    frm.txtOffsetDist->setText(QStringLiteral("-1"));
    frm.ChooseCommand(29);
    PickAt(frm, 71, 70);
    EXPECT_FALSE(offset.Pending());
    EXPECT_FALSE(frm.LocalPrg().IsBusy());

    const std::filesystem::path folder(KESTRO_TEST_OUTPUT_DIR);
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(preview.save(QString::fromStdString((folder / "frmMainOffsetPreview.png").string())));
}

// Undelete chosen from the delete button's menu acts at once on what the
// delete command took.
TEST(frmMainCommands, UndeleteFromTheMenuShowsTheDeletedObjectAgain)
{
    TfrmMain frm;
    ShowWithView(frm);
    if (!DeletedEntities)
        DeletedEntities = std::make_unique<TDeletedEntities>();
    DeletedEntities->clear();
    TObject2D* line = frm.LocalCad().AddObject(-1, std::make_unique<TLine2D>(-1, MakePoint2D(10, 10), MakePoint2D(40, 10)));
    DeleteToStack(*line, *DeletedEntities);
    ASSERT_FALSE(line->Visible);

    for (QAction* item : frm.lnkMenuDelete->ActiveMenu()->actions())
        if (item->objectName() == QLatin1String("mnuUndelete"))
            item->trigger();
    EXPECT_EQ(CommandCode, 24);
    EXPECT_TRUE(line->Visible);
    EXPECT_TRUE(line->ToBeSaved);
    EXPECT_TRUE(DeletedEntities->empty());
}

// The distance command from the analyse button's menu measures between two picked points.
TEST(frmMainCommands, DistanceFromTheMenuStartsTheTwoPointMeasure)
{
    TfrmMain frm;
    ShowWithView(frm);
    for (QAction* item : frm.lnkMenuAnalisi->ActiveMenu()->actions())
        if (item->objectName() == QLatin1String("mnuDistance"))
            item->trigger();
    EXPECT_EQ(CommandCode, 57);
    EXPECT_EQ(frm.ActivePage(), 37);
    EXPECT_TRUE(frm.LocalPrg().CurrentOperation() == TCADStateClass::Of<TSCSel2Punti>());
}
