// The main window's side of the drawing and editing commands: the shell the
// command framework drives, the split buttons' menus, the status row's
// toggles and buttons, typed point entry, the view's middle button and
// double click, and the transform pages' fields.

#include <cmath>
#include <optional>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QToolButton>

#include "app/CommandCode.h"
#include "app/Language.h"
#include "app/NumericText.h"
#include "app/ui/controls/MruBar.h"
#include "app/ui/frmCoord.h"
#include "app/ui/frmMain.h"
#include "app/ui/glyphs/Glyphs.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/engine/RealTimePan.h"
#include "cad/engine/Sel2Punti.h"
#include "cad/engine/SelectObject.h"
#include "cad/engine/SelectObjects.h"
#include "cad/engine/SelectObjectsInArea.h"
#include "cad/engine/SelectObjectsParam.h"
#include "cad/engine/SelectTwoObjects.h"
#include "cad/engine/ZoomArea.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/JustifiedVectText2D.h"
#include "cad/ui/CADViewport.h"
#include "cad/view/ScreenCursor.h"
#include "cam/ProgressSink.h"
#include "edit/commands/CommandStates.h"
#include "edit/commands/OffsetCommand.h"

namespace {

constexpr int kAperture = 5;
// The explode command shows its glyph on its split button only.
constexpr int kButtonOnlyKey = 27;
constexpr int kMsgScaleUniform = 310;
constexpr int kMsgScaleX = 311;

// The linked buttons in the order of the tool bars, with their arrow halves.
constexpr const char* kLinkedButtons[] = {"lsbArc", "lsbLine", "lsbPoint", "lsbModify", "lsbXform", "lsbDelete",
                                          "lsbAnalyze"};

QString CommandHint(const TfrmMain& window, const TCommandRow& row)
{
    if (row.Hint != 0)
        return GetLangString(row.Hint);
    const auto* control = window.findChild<QWidget*>(QString::fromLatin1(row.HintOf));
    return control != nullptr ? control->toolTip() : QString();
}

std::optional<double> ReadReal(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (!NumeroOk(trimmed))
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

class TfrmMainCommandShell : public TCommandShell {
public:
    explicit TfrmMainCommandShell(TfrmMain& window) : Window(window) {}

    void ShowPage(int page) override { Window.VisPagina(page); }

    void AddRecent(const TCommandRow& row) override
    {
        if (row.Key == kButtonOnlyKey)
            return;
        const std::int32_t code = row.Code;
        Window.MRUadd(row.Key, CommandHint(Window, row), [this, code](QObject*) { Window.StartCommand(code); });
    }

    void BindLinkedButton(const TCommandRow& row) override
    {
        auto* button = Window.findChild<QToolButton*>(QString::fromLatin1(row.LinkedButton));
        if (button == nullptr)
            return;
        button->setIcon(QIcon());
        button->setIcon(CommandGlyphIcon(row.Key));
        QObject::disconnect(button, &QToolButton::clicked, nullptr, nullptr);
        const std::int32_t code = row.Code;
        QObject::connect(button, &QToolButton::clicked, &Window, [this, code] { Window.StartCommand(code); });
        button->setToolTip(CommandHint(Window, row));
    }

    bool Busy() const override { return Window.LocalPrg().IsBusy(); }
    void StopOperation() override { Window.LocalPrg().StopOperation(); }

    void StartTask(const TCommandRow& row, bool windowSelect) override
    {
        Window.ShowWindowSelect();
        if (RunAction(row))
            return;
        TCADPrg2D& prg = Window.LocalPrg();
        using enum TCommandTask;
        switch (row.Task) {
        case SelectOne:
            StartSelection<TCAD2DSelectObject>(row.Shape);
            break;
        case SelectTwo:
            StartSelection<TCAD2DSeleziona2Ogg>(row.Shape);
            break;
        case TangentArc: {
            const auto* toOne = Window.findChild<QAbstractButton*>(QStringLiteral("rbtTanTo1"));
            if (toOne == nullptr || toOne->isChecked())
                StartSelection<TCAD2DSelectObject>("TMyArcoTan1");
            else
                StartSelection<TCAD2DSeleziona2Ogg>("TMyArcoTan2");
            break;
        }
        case MultiSelect:
        case WindowSelect: {
            const TCADStateClass after = CommandStateClass(row.Shape);
            if (!after)
                break;
            if (windowSelect)
                prg.StartOperation(TCADStateClass::Of<TCAD2DSelectObjectsInArea>(),
                                   std::make_unique<TCAD2DSelectObjectsInAreaParam>(0, after, SelectedCallback()));
            else
                StartSelection<TCAD2DSelectObjects>(row.Shape);
            break;
        }
        case SelectPoints:
            prg.StartOperation(TCADStateClass::Of<TSCSel2Punti>(), std::make_unique<TSCSel2PuntiParam>());
            break;
        case SuspendPan:
            Suspend(TCADStateClass::Of<TCADPrgRealTimePan>());
            break;
        case SuspendZoom:
            Suspend(TCADStateClass::Of<TCADPrgZoomArea>());
            break;
        default:
            // Drawing and placing tasks take their values from their pages;
            // until a command's action is given it starts nothing.
            break;
        }
    }

    void RunAtOnce(const TCommandRow& row) override { RunAction(row); }

    void SendUserEvent(int event) override { Window.LocalPrg().SendUserEvent(event); }
    void EnableToolbars() override { Window.AbilitaPnl(true, true, true, true); }
    void DefaultCursor() override { Window.unsetCursor(); }

    void EndPanMode() override
    {
        SetScreenCursor(crDefault);
        Window.EndPanMode();
    }

    void ZoomWindowUp() override { Window.ZoomWindowUp(); }

    void ExplodePlaced() override
    {
        if (const auto action = Window.CommandActions.find(TfrmMain::kExplodePlacedAction);
            action != Window.CommandActions.end())
            action->second();
    }

    void AbortComputation() override { LastKey = ESCAPE_KEY; }

private:
    bool RunAction(const TCommandRow& row)
    {
        const auto action = Window.CommandActions.find(row.Code);
        if (action == Window.CommandActions.end())
            return false;
        action->second();
        return true;
    }

    TSelectionCallback SelectedCallback()
    {
        return [this](TCAD2DSelectObjectsParam& param, TObject2D* object, bool selected, int code) {
            Window.OnSelectedObj(param, object, selected, code);
        };
    }

    template <class TSelection>
    void StartSelection(const char* afterName)
    {
        const TCADStateClass after = CommandStateClass(afterName != nullptr ? afterName : "");
        if (!after)
            return;
        Window.LocalPrg().StartOperation(TCADStateClass::Of<TSelection>(),
                                         std::make_unique<TCAD2DSelectObjectsParam>(kAperture, after, SelectedCallback()));
    }

    void Suspend(const TCADStateClass& state)
    {
        TCADPrg2D& prg = Window.LocalPrg();
        if (!prg.IsBusy() || !prg.SuspendOperation(state))
            prg.StartOperation(state);
    }

    TfrmMain& Window;
};

} // namespace

void TfrmMain::CreateCommands()
{
    CommandShellValue = std::make_unique<TfrmMainCommandShell>(*this);
    CommandsValue = std::make_unique<TCommandFramework>(*CommandShellValue, CommandCode);

    // The split buttons' menus list their commands in the table's order.
    for (const char* buttonName : kLinkedButtons) {
        const QString name = QString::fromLatin1(buttonName);
        auto* button = findChild<TYarvLinkedSpeedButton*>(name);
        if (button == nullptr || button->MenuButton() == nullptr)
            continue;
        auto* menu = new QMenu(this);
        menu->setObjectName(QStringLiteral("Popup") + name.mid(3));
        for (const TCommandRow& row : CommandTable()) {
            if (row.LinkedButton == nullptr || name != QLatin1String(row.LinkedButton))
                continue;
            QAction* item = menu->addAction(CommandGlyphIcon(row.Key), CommandHint(*this, row));
            item->setObjectName(QString::fromLatin1(row.MenuHandler).chopped(5));
            const std::int32_t code = row.Code;
            connect(item, &QAction::triggered, this, [this, code] { ChooseCommand(code); });
        }
        button->MenuButton()->SetActiveMenu(menu);
        SplitMenus[name] = menu;
    }

    // The view's context menu: ortho, window select, typed point, done and cancel.
    const auto addItem = [this](const char* itemName, const QString& text, bool checkable) {
        QAction* item = PopupDestro->addAction(text);
        item->setObjectName(QString::fromLatin1(itemName));
        item->setCheckable(checkable);
        return item;
    };
    PopupDestro->addSeparator();
    mnuOrtho = addItem("mnuOrtho", QStringLiteral("Ortho"), true);
    mnuWinSelect = addItem("mnuWinSelect", QStringLiteral("Window select"), true);
    mnuCoord = addItem("mnuCoord", QStringLiteral("Coordinate"), false);
    PopupDestro->addSeparator();
    mnuDone = addItem("mnuDone", QStringLiteral("Done"), false);
    mnuCancel = addItem("mnuCancel", QStringLiteral("Cancel"), false);
    connect(mnuOrtho, &QAction::triggered, this, &TfrmMain::mnuOrthoClick);
    connect(sbtUseOrtho, &QToolButton::clicked, this, [this] {
        mnuOrtho->setChecked(!mnuOrtho->isChecked());
        mnuOrthoClick();
    });
    connect(mnuWinSelect, &QAction::triggered, this, &TfrmMain::mnuWinSelectClick);
    connect(sbtWinSel, &QToolButton::clicked, this, &TfrmMain::sbtWinSelClick);
    connect(sbmSnap2Grid, &QAction::triggered, this, &TfrmMain::sbmSnap2GridClick);
    connect(mnuSnap2Grid2, &QAction::triggered, this, &TfrmMain::mnuSnap2Grid2Click);
    connect(mnuCoord, &QAction::triggered, this, &TfrmMain::mnuCoordClick);
    connect(mnuDone, &QAction::triggered, this, &TfrmMain::sbtDoneClick);
    connect(mnuCancel, &QAction::triggered, this, &TfrmMain::btnCancelClick);
    connect(sbtDone, &QToolButton::clicked, this, &TfrmMain::sbtDoneClick);
    connect(sbtCancel, &QToolButton::clicked, this, &TfrmMain::sbtCancelClick);
    for (QToolButton* button : {sbtRectangle, sbtPoly, sbtSpline, sbtTTFConv}) {
        const QString starter = button->objectName() + QStringLiteral("Click");
        for (const TCommandRow& row : CommandTable())
            if (starter == QLatin1String(row.Starter)) {
                const std::int32_t code = row.Code;
                connect(button, &QToolButton::clicked, this, [this, code] { StartCommand(code); });
            }
    }

    // The task runner's end, the selection's marks, and the view's double click.
    LocalPrg().OnEndOperation = [this](TCADPrg&, const TCADStateClass&, TCADPrgParam*) {
        Commands().EndOperation();
        ShowWindowSelect();
    };
    TCADViewport2DCore& view = VistaGrafica->Core2D();
    view.OnDblClick = [this, previous = view.OnDblClick] {
        if (previous)
            previous();
        VistaGraficaDblClick();
    };
}

void TfrmMain::StartCommand(std::int32_t code)
{
    Commands().Start(code);
}

void TfrmMain::ChooseCommand(std::int32_t code)
{
    Commands().Choose(code);
    // The diameter commands start typing in their first field.
    if (code == 5 || code == 7) {
        const TCommandRow* row = FindCommand(code);
        if (QWidget* page = Page(row->Page))
            if (auto* field = page->findChild<QLineEdit*>(QStringLiteral("txtDiamArco")))
                field->setFocus();
    }
}

void TfrmMain::RepeatLastCommand()
{
    Commands().RepeatLastCommand();
}

// The split buttons' own commands.
void TfrmMain::MyCircleCtPtClick()
{
    StartCommand(4);
}

void TfrmMain::MyDeleteClick()
{
    StartCommand(21);
}

void TfrmMain::MyFilletClick()
{
    StartCommand(13);
}

void TfrmMain::MyTraslaClick()
{
    StartCommand(25);
}

void TfrmMain::MyInfoClick()
{
    StartCommand(50);
}

void TfrmMain::OnSelectedObj(TCAD2DSelectObjectsParam& /*param*/, TObject2D* object, bool /*selected*/, int /*code*/)
{
    if (object != nullptr)
        VistaGrafica->Core2D().DrawObject2DWithRubber(*object, false);
}

void TfrmMain::sbtDoneClick()
{
    LocalPrg().SendUserEvent(CADPRG_ACCEPT);
}

void TfrmMain::sbtClosePolyClick()
{
    LocalPrg().SendUserEvent(CADPRG_CLOSE_FIGURE);
}

void TfrmMain::btnCancelClick()
{
    Commands().Cancel();
}

void TfrmMain::sbtCancelClick()
{
    Commands().Stop();
}

void TfrmMain::mnuOrthoClick()
{
    LocalPrg().UseOrto = mnuOrtho->isChecked();
    sbtUseOrtho->setChecked(mnuOrtho->isChecked());
}

void TfrmMain::mnuWinSelectClick()
{
    Commands().WindowSelect = !Commands().WindowSelect;
    ShowWindowSelect();
}

void TfrmMain::ShowWindowSelect()
{
    // The window delete switches window select on and off by itself.
    mnuWinSelect->setChecked(Commands().WindowSelect);
    sbtWinSel->setChecked(Commands().WindowSelect);
}

void TfrmMain::sbtWinSelClick()
{
    mnuWinSelectClick();
}

void TfrmMain::sbmSnap2GridClick()
{
    LocalPrg().UseSnap = sbmSnap2Grid->isChecked();
    mnuSnap2Grid2->setChecked(sbmSnap2Grid->isChecked());
    ImpostaGlyph();
}

void TfrmMain::mnuSnap2Grid2Click()
{
    const bool on = mnuSnap2Grid2->isChecked();
    LocalPrg().UseSnap = on;
    sbmSnap2Grid->setChecked(on);
    // The grid dialog's box, when the dialog exists.
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* box = top->findChild<QAbstractButton*>(QStringLiteral("chkSnap2Grid")))
            box->setChecked(on);
    ImpostaGlyph();
}

void TfrmMain::mnuCoordClick()
{
    std::unique_ptr<TfrmCoord> own;
    TfrmCoord* dialog = frmCoord;
    if (dialog == nullptr) {
        own = std::make_unique<TfrmCoord>(this);
        dialog = own.get();
    }
    const TPoint2D current = LocalPrg().GetCurrentPoint();
    dialog->txtCoordX->setText(FormatFixed(current.X, 3, 6));
    dialog->txtCoordY->setText(FormatFixed(current.Y, 3, 6));
    dialog->txtCoordX->setFocus();
    if (dialog->exec() != QDialog::Accepted)
        return;
    const std::optional<double> x = ReadReal(dialog->txtCoordX->text());
    const std::optional<double> y = ReadReal(dialog->txtCoordY->text());
    if (!x || !y)
        return;
    LocalPrg().SetCurrentPoint(MakePoint2D(static_cast<float>(*x), static_cast<float>(*y)));
    LocalPrg().SendEvent(TCADPrgEvent::MouseDown, 0, 0, ssLeft);
}

void TfrmMain::VistaGraficaDblClick()
{
    int code = 0;
    TObject2D* object = VistaGrafica->Core2D().PickObject(LocalPrg().GetCurrentPoint(), kAperture, code, false);
    auto* text = dynamic_cast<TJustifiedVectText2D*>(object);
    if (text == nullptr)
        return;
    bool ok = false;
    const QString changed = QInputDialog::getText(this, QStringLiteral("Edit Text"), QStringLiteral("String"),
                                                  QLineEdit::Normal, QString::fromLatin1(text->Text), &ok);
    if (!ok)
        return;
    text->SetText(changed.toLatin1().toStdString());
    VistaGrafica->Core().Repaint();
}

void TfrmMain::SendEventWhenTyped(QLineEdit* field, int event, std::function<void()> before)
{
    // textEdited comes only from the user's typing in the focused field.
    connect(field, &QLineEdit::textEdited, this, [this, field, event, before](const QString& text) {
        if (before)
            before();
        if (field->hasFocus() && NumeroOk(text))
            LocalPrg().SendUserEvent(event);
    });
}

void TfrmMain::rbtScaleUniformClick()
{
    auto* uniform = findChild<QAbstractButton*>(QStringLiteral("rbtScaleUniform"));
    if (uniform == nullptr || !uniform->isChecked())
        return;
    for (const char* name : {"txtScaleY", "lblScaleY"})
        if (auto* control = findChild<QWidget*>(QString::fromLatin1(name)))
            control->hide();
    if (auto* label = findChild<QLabel*>(QStringLiteral("lblScaleX")))
        label->setText(GetLangString(kMsgScaleUniform));
}

void TfrmMain::rbtScaleXyClick()
{
    auto* uniform = findChild<QAbstractButton*>(QStringLiteral("rbtScaleUniform"));
    if (uniform != nullptr && uniform->isChecked())
        return;
    if (auto* label = findChild<QLabel*>(QStringLiteral("lblScaleX")))
        label->setText(GetLangString(kMsgScaleX));
    for (const char* name : {"txtScaleY", "lblScaleY"})
        if (auto* control = findChild<QWidget*>(QString::fromLatin1(name)))
            control->show();
}
