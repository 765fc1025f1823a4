// The NC job's commands: New and Open name the NC file, the Calculate
// buttons of the contour, drill and pocket pages write their programs into
// the NC editor and save it, and Undo takes the last one back. The depth
// passes of those pages are shown in their pass labels.

#include <cmath>
#include <string>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QSpinBox>

#include "app/Language.h"
#include "app/ui/ApplicationMessageBox.h"
#include "app/ui/frmMain.h"
#include "cad/base/Settings.h"
#include "cam/Chains.h"
#include "cam/NcJob.h"
#include "cam/NcProgram.h"
#include "cam/Toolpaths.h"
#include "import/ui/SaveDialog.h"

namespace {

constexpr int kPageContour = 43;
constexpr int kPageDrill = 44;
constexpr int kPagePocket = 45;
constexpr int kPageIso = 46;

constexpr int kMsgCalculating = 445;
constexpr int kMsgCaption = 450;
constexpr int kMsgStepOverZero = 456;
constexpr int kMsgNoChains = 459;
constexpr int kMsgUndoCaption = 460;
constexpr int kMsgNcFiles = 701;
constexpr int kMsgRapidNotAbove = 702;
constexpr int kMsgBadIncrement = 703;
constexpr int kMsgPasses = 704;
constexpr int kMsgPass = 705;
constexpr int kMsgLastPass = 706;
constexpr int kMsgDepthAboveTop = 707;
constexpr int kMsgNotWritten = 708;
constexpr int kMsgNotRead = 709;
constexpr int kMsgFailed1 = 720;
constexpr int kMsgFailed2 = 721;
constexpr int kMsgFailed3 = 722;
constexpr int kMsgUndoQuestion = 723;
constexpr int kMsgOnePass = 724;
constexpr int kMsgMachiningTime = 754;

QString Text(int message)
{
    return GetLangString(message);
}

// The Z fields and pass labels of one machining page.
struct TDepthPage {
    const char* ZRapid;
    const char* TopOfStock;
    const char* Depth;
    const char* Increment;
    const char* PassesLabel;
    const char* LastPassLabel;
};

const TDepthPage& DepthPage(int page)
{
    static const TDepthPage contour = {"txtConZRapid", "txtConTopStock", "txtConZDepthTot", "txtConIncPassZ",
                                       "lblConNumDCuts", "lblConNumFCuts"};
    static const TDepthPage drill = {"txtDriZRapid", "txtDriTopStock", "txtDriZDepthTot", "txtDriIncPassZ",
                                     "lblDriNumDCuts", "lblDriNumFCuts"};
    static const TDepthPage pocket = {"txtPocZRapid", "txtPocTopStock", "txtPocZDepthTot", "txtPocIncPassZ",
                                      "lblPocNumDCuts", "lblPocNumFCuts"};
    switch (page) {
    case kPageDrill: return drill;
    case kPagePocket: return pocket;
    default: return contour;
    }
}

// The pages fill themselves; their controls are found by name.
template <class T>
T* Control(const TfrmMain& window, const char* name)
{
    return window.findChild<T*>(QString::fromLatin1(name));
}

// A number field; text that is no number counts as 0, which the checks refuse.
double FieldNumber(const TfrmMain& window, const char* name)
{
    const auto* field = Control<QLineEdit>(window, name);
    if (!field)
        return 0.0;
    bool ok = false;
    const double value = QLocale::c().toDouble(field->text().trimmed(), &ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

bool Checked(const TfrmMain& window, const char* name)
{
    const auto* box = Control<QAbstractButton>(window, name);
    return box && box->isChecked();
}

int SpinValue(const TfrmMain& window, const char* name, int otherwise)
{
    const auto* spin = Control<QSpinBox>(window, name);
    return spin ? spin->value() : otherwise;
}

void SetEnabled(const TfrmMain& window, const char* name, bool enabled)
{
    if (auto* control = Control<QWidget>(window, name))
        control->setEnabled(enabled);
}

TDepthFields DepthFieldsOf(const TfrmMain& window, int page)
{
    const TDepthPage& names = DepthPage(page);
    return {FieldNumber(window, names.ZRapid), FieldNumber(window, names.TopOfStock), FieldNumber(window, names.Depth),
            FieldNumber(window, names.Increment)};
}

// The number as the units show it, without the post's separator.
QString UnitsNumber(double value)
{
    return QString::fromStdString(FormatSepNumber(value)).trimmed();
}

int RefusalMessage(TPassPlanStatus status)
{
    switch (status) {
    case TPassPlanStatus::RapidNotAbove: return kMsgRapidNotAbove;
    case TPassPlanStatus::BadIncrement: return kMsgBadIncrement;
    case TPassPlanStatus::DepthAboveTop: return kMsgDepthAboveTop;
    default: return 0;
    }
}

void ShowFailure(TCamFailure failure)
{
    if (failure == TCamFailure::StepOverZero) {
        ApplicationMessageBox(Text(kMsgStepOverZero), Text(kMsgCaption), kMbOk + kMbIconError);
        return;
    }
    ApplicationMessageBox(Text(kMsgFailed1) + QStringLiteral("\r\n") + Text(kMsgFailed2) + QStringLiteral("\r\n") +
                              Text(kMsgFailed3),
                          Text(kMsgCaption), kMbOk + kMbIconWarning);
}

// The status row's bar, the message loop and Esc, for the toolpath loops.
class TWindowProgress : public TProgressSink {
public:
    explicit TWindowProgress(QProgressBar* bar) : bar_(bar) {}
    void SetProgress(int percent) override { bar_->setValue(percent); }
    void PumpMessages() override { QCoreApplication::processEvents(); }
    bool Aborted() override { return LastKey == ESCAPE_KEY; }

private:
    QProgressBar* bar_;
};

// Draws each move of the program over the drawing while it is written.
class TSimulationSink : public TNcMoveSink {
public:
    void PlaneMove(int /*motion*/, const TChainElement& /*path*/) override {}
    void ZMove(bool /*work*/, double /*z*/) override {}
    void DrillHole(int /*motion*/, TVect /*point*/, double /*zRapid*/, double /*depth*/) override {}
};

QPlainTextEdit* Editor(const TfrmMain& window)
{
    return Control<QPlainTextEdit>(window, "ricIso");
}

std::string EditorText(const TfrmMain& window)
{
    const QPlainTextEdit* editor = Editor(window);
    return editor ? editor->toPlainText().toStdString() : std::string();
}

void SetEditorText(const TfrmMain& window, const std::string& text)
{
    if (QPlainTextEdit* editor = Editor(window))
        editor->setPlainText(QString::fromStdString(text));
}

// One calculation: the hourglass, the bar, the undo record; then the
// program goes into the editor, and the file is saved when all went well.
class TCalculation {
public:
    explicit TCalculation(TfrmMain& window) : window_(window), progress_(window.ProgressBar1)
    {
        window.Messaggio(Text(kMsgCalculating));
        LastKey = 0;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        window.ProgressBar1->setRange(0, 100);
        window.ProgressBar1->setValue(0);
        window.ProgressBar1->show();
        editorText_ = EditorText(window);
        BeginNcOperation(NcJobState, NcModal, CountTextLines(editorText_));
    }

    ~TCalculation()
    {
        QApplication::restoreOverrideCursor();
        window_.ProgressBar1->hide();
    }

    TCalculation(const TCalculation&) = delete;
    TCalculation& operator=(const TCalculation&) = delete;

    TNcProgramWriter& Writer() { return writer_; }
    TProgressSink& Progress() { return progress_; }

    // True when the program was written and saved.
    bool Finish(TCamFailure failure)
    {
        // Text written before a failure stays in the editor, unsaved, where Undo can take it back.
        if (!writer_.Text().empty()) {
            AppendTextLines(editorText_, writer_.Text());
            SetEditorText(window_, editorText_);
            SetEnabled(window_, "sbtDelLastOp", true);
        }
        if (failure != TCamFailure::None) {
            QApplication::restoreOverrideCursor();
            ShowFailure(failure);
            QApplication::setOverrideCursor(Qt::WaitCursor);
            return false;
        }
        window_.SetActivePage(kPageIso);
        window_.TestoGrafico(Text(kMsgMachiningTime) + QString::fromStdString(FormatDuration(0)));
        const int lines = CountTextLines(editorText_);
        if (auto* scroll = Control<QScrollBar>(window_, "sbrNcSimul"))
            scroll->setMaximum(std::max(lines - 1, 0));
        if (!SaveNcText(NcJobValues.NcFileName, editorText_)) {
            QApplication::restoreOverrideCursor();
            ApplicationMessageBox(Text(kMsgNotWritten) + QStringLiteral("\r\n") +
                                      QString::fromStdString(NcJobValues.NcFileName),
                                  Text(kMsgCaption), kMbOk + kMbIconError);
            QApplication::setOverrideCursor(Qt::WaitCursor);
            return false;
        }
        return true;
    }

private:
    TfrmMain& window_;
    TWindowProgress progress_;
    TSimulationSink sink_;
    std::string editorText_;
    TNcProgramWriter writer_{PostSettings, NcModal, NcJobValues, NcJobState, &sink_};
};

// The depth side of a page, or a refusal with the page's message.
bool DepthJobOf(const TfrmMain& window, int page, const char* writeEof, TDepthJob& job)
{
    const TDepthFields fields = DepthFieldsOf(window, page);
    job.Plan = ComputeDepthPassPlan(fields);
    if (!job.Plan.Usable()) {
        // No program that rapids through the stock, or never reaches its depth.
        ApplicationMessageBox(Text(RefusalMessage(job.Plan.Status)), Text(kMsgCaption), kMbOk + kMbIconWarning);
        return false;
    }
    job.ZRapid = static_cast<float>(fields.ZRapid);
    job.TopOfStock = static_cast<float>(fields.TopOfStock);
    job.WriteEof = Checked(window, writeEof);
    return true;
}

void ShowFileName(const TfrmMain& window, const char* name, const std::string& path)
{
    auto* label = Control<QLabel>(window, name);
    if (!label)
        return;
    const QFontMetrics metrics = label->fontMetrics();
    const std::string shown = ShortenPathForWidth(path, label->width(), [&](const std::string& text) {
        return metrics.horizontalAdvance(QString::fromStdString(text));
    });
    label->setText(QString::fromStdString(shown));
}

} // namespace

void TfrmMain::ConnectNcJob()
{
    const auto connectButton = [this](const char* name, void (TfrmMain::*handler)()) {
        if (auto* button = Control<QAbstractButton>(*this, name))
            connect(button, &QAbstractButton::clicked, this, handler);
    };
    connectButton("sbtNewNc", &TfrmMain::sbtNewNcClick);
    connectButton("sbtAppendNc", &TfrmMain::sbtAppendNcClick);
    connectButton("sbtConCalculate", &TfrmMain::sbtConCalculateClick);
    connectButton("sbtDriCalculate", &TfrmMain::sbtDriCalculateClick);
    connectButton("sbtPocCalculate", &TfrmMain::sbtPocCalculateClick);
    connectButton("sbtDelLastOp", &TfrmMain::sbtDelLastOpClick);
}

bool TfrmMain::NameNcFile(bool opening)
{
    TSaveDialog* dialog = nullptr;
    if (opening) {
        if (!OpenDialog)
            OpenDialog = new TOpenDialog(this);
        dialog = OpenDialog;
    } else {
        if (!SaveDialog)
            SaveDialog = new TSaveDialog(this);
        dialog = SaveDialog;
    }
    const QString ext = QString::fromStdString(PostSettings.FileExtension);
    dialog->FileName = QString::fromStdString(NcDir) + QLatin1Char('/') +
                       QString::fromStdString(ProposedNcFileName(dialog->FileName.toStdString()));
    dialog->Filter = Text(kMsgNcFiles) + QStringLiteral(" (*.") + ext + QStringLiteral(")|*.") + ext;
    dialog->FilterIndex = 1;
    dialog->DefaultExt = ext;
    dialog->OverwritePrompt = true;
    if (!dialog->Execute(this))
        return false;
    NcJobValues.NcFileName = dialog->FileName.toStdString();
    NcDir = QFileInfo(dialog->FileName).absolutePath().toStdString();
    ShowFileName(*this, "stxNcFileName", NcJobValues.NcFileName);
    ShowFileName(*this, "lblNomeNcFile", NcJobValues.NcFileName);
    SetEnabled(*this, "sbtNextB1", true);
    return true;
}

void TfrmMain::sbtNewNcClick()
{
    if (!NameNcFile(false))
        return;
    StartNcFile(NcJobState, NcModal, PostSettings);
    SetEditorText(*this, {});
    SetEnabled(*this, "sbtDelLastOp", false);
    if (MachiningType == TMachiningType::Drill)
        ClearDrillPoints();
    else
        ClearChains();
}

void TfrmMain::sbtAppendNcClick()
{
    if (!NameNcFile(true))
        return;
    QFile file(QString::fromStdString(NcJobValues.NcFileName));
    if (!file.open(QIODevice::ReadOnly)) {
        ApplicationMessageBox(Text(kMsgNotRead) + QStringLiteral("\r\n") + file.fileName(), Text(kMsgCaption),
                              kMbOk + kMbIconError);
        return;
    }
    std::string text;
    AppendTextLines(text, file.readAll().toStdString());
    SetEditorText(*this, text);
    // A later calculation appends to the loaded program; nothing of it can be taken back.
    NcJobState.Undo.Used = true;
    SetEnabled(*this, "sbtDelLastOp", false);
    ShowZDepth();
    SetActivePage(kPageIso);
}

void TfrmMain::ShowPassPlan(int page)
{
    const TDepthPage& names = DepthPage(page);
    auto* passes = Control<QLabel>(*this, names.PassesLabel);
    auto* lastPass = Control<QLabel>(*this, names.LastPassLabel);
    const TDepthPassPlan plan = ComputeDepthPassPlan(DepthFieldsOf(*this, page));
    QString first;
    QString second;
    if (plan.Status == TPassPlanStatus::OnePass) {
        second = Text(kMsgOnePass);
    } else if (!plan.Usable()) {
        second = Text(RefusalMessage(plan.Status));
    } else {
        const QString full = QString::number(plan.Passes) + QLatin1Char(' ') +
                             Text(plan.Passes < 2 ? kMsgPass : kMsgPasses) + QLatin1Char(' ') + UnitsNumber(plan.Step1);
        if (plan.ExtraPass) {
            first = full;
            second = Text(kMsgLastPass) + QLatin1Char(' ') + UnitsNumber(plan.Step2);
        } else {
            second = full;
        }
    }
    if (passes)
        passes->setText(first);
    if (lastPass)
        lastPass->setText(second);
    TogliAssoc();
}

void TfrmMain::sbtConCalculateClick()
{
    if (ChainList.Chains.empty()) {
        ApplicationMessageBox(Text(kMsgNoChains), Text(kMsgCaption), kMbOk + kMbIconWarning);
        return;
    }
    TDepthJob depth;
    if (!DepthJobOf(*this, kPageContour, "chkConWriteEof", depth))
        return;
    TContourJob contour;
    contour.Side = CompensationSide();
    contour.OffsetRadius = OffsetRadius;
    contour.StockXY = FieldNumber(*this, "txtConStockXY");
    contour.RoughCuts = SpinValue(*this, "speConNRoughCuts", 1);
    contour.FinishCuts = SpinValue(*this, "speConNFinishCuts", 0);
    contour.RoughSize = FieldNumber(*this, "txtConRoughSize");
    contour.FinishSize = FieldNumber(*this, "txtConFinishSize");
    if (cboLeadIn)
        contour.LeadIn = static_cast<TLead>(std::clamp(cboLeadIn->currentIndex(), 0, 2));
    if (cboLeadOut)
        contour.LeadOut = static_cast<TLead>(std::clamp(cboLeadOut->currentIndex(), 0, 2));
    contour.LeadInSize = FieldNumber(*this, "txtLInSize");
    contour.LeadOutSize = FieldNumber(*this, "txtLoutSize");
    contour.Reverse = ChainList.Reverse;

    TCalculation calculation(*this);
    const TCamFailure failure =
        WriteContourJob(calculation.Writer(), ChainList.Chains, contour, depth, calculation.Progress());
    if (failure == TCamFailure::None) {
        SetEnabled(*this, "sbtNextB4C", true);
        SetEnabled(*this, "sbtConCalculate", false);
    }
    calculation.Finish(failure);
}

void TfrmMain::sbtPocCalculateClick()
{
    if (ChainList.Chains.empty()) {
        ApplicationMessageBox(Text(kMsgNoChains), Text(kMsgCaption), kMbOk + kMbIconWarning);
        return;
    }
    TDepthJob depth;
    if (!DepthJobOf(*this, kPagePocket, "chkPocWriteEof", depth))
        return;
    TPocketJob pocket;
    pocket.OffsetRadius = OffsetRadius;
    pocket.StockXY = FieldNumber(*this, "txtPocStockXY");
    pocket.StepOverPercent = FieldNumber(*this, "txtPocStepOverPer");
    pocket.FinishCuts = SpinValue(*this, "spePocNFinishCuts", 0);
    pocket.FinishSize = FieldNumber(*this, "txtPocFinishSize");
    pocket.Spiral = Checked(*this, "chkPocSpiralInOut");
    pocket.Reverse = ChainList.Reverse;

    TCalculation calculation(*this);
    calculation.Finish(WritePocketJob(calculation.Writer(), ChainList.Chains, pocket, depth, calculation.Progress()));
}

void TfrmMain::sbtDriCalculateClick()
{
    if (ChainList.DrillPoints.empty()) {
        ApplicationMessageBox(Text(kMsgNoChains), Text(kMsgCaption), kMbOk + kMbIconWarning);
        return;
    }
    TDepthJob depth;
    if (!DepthJobOf(*this, kPageDrill, "Dri_chkWriteEof", depth))
        return;
    TDrillJob drill;
    const auto* cycle = Control<QComboBox>(*this, "cboCycle");
    drill.Cycle = cycle && cycle->currentIndex() >= 0 ? cycle->currentIndex() + 1 : 1;
    drill.ZRapid = depth.ZRapid;
    drill.TopOfStock = depth.TopOfStock;
    drill.Depth = static_cast<float>(FieldNumber(*this, "txtDriZDepthTot"));
    drill.WriteEof = depth.WriteEof;
    NcJobValues.PeckIncrement = FieldNumber(*this, "txtDriIncPassZ");
    NcJobValues.Pitch = FieldNumber(*this, "dri_txtPasso");

    TCalculation calculation(*this);
    calculation.Writer().GenerateDrillProgram(ChainList.DrillPoints, drill, depth.Plan);
    SetEnabled(*this, "sbtNextB4D", true);
    SetEnabled(*this, "sbtDriCalculate", false);
    calculation.Finish(TCamFailure::None);
}

void TfrmMain::OfferUndoLastOperation()
{
    sbtDelLastOpClick();
}

void TfrmMain::sbtDelLastOpClick()
{
    if (NcJobState.Undo.Used)
        return;
    if (ApplicationMessageBox(Text(kMsgUndoQuestion), Text(kMsgUndoCaption), kMbYesNo + kMbIconQuestion) != kIdYes)
        return;
    std::string text = EditorText(*this);
    if (!TakeBackNcOperation(text, NcJobState, NcModal, PostSettings))
        return;
    // The file on disk keeps the operation until the next save.
    SetEditorText(*this, text);
    SetEnabled(*this, "sbtDelLastOp", false);
    RedrawChains();
    TogliAssoc();
}
