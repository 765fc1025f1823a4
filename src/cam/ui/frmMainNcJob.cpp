// The NC job's commands: New and Open name the NC file, the Calculate
// buttons of the contour, drill and pocket pages write their programs into
// the NC editor and save it, and Undo takes the last one back. The depth
// passes of those pages are shown in their pass labels.

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>

#include <QAbstractButton>
#include <QCheckBox>
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
#include <QToolButton>

#include "app/Language.h"
#include "app/ui/ApplicationMessageBox.h"
#include "app/ui/frmMain.h"
#include "cad/ui/CADViewport.h"
#include "cad/base/Settings.h"
#include "cam/chains/Chains.h"
#include "cam/nc/NcJob.h"
#include "cam/nc/NcProgram.h"
#include "cam/simulation/NcSimulation.h"
#include "cam/simulation/NcSimulationSink.h"
#include "cam/toolpath/Toolpaths.h"
#include "cam/ui/NcViewDrawing.h"
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
constexpr int kMsgNotANumber = 725;
constexpr int kMsgMachiningTime = 754;

QString Text(int message)
{
    return GetLangString(message);
}

// The Z fields and pass labels of one machining page.
struct TDepthPage {
    QLineEdit* ZRapid;
    QLineEdit* TopOfStock;
    QLineEdit* Depth;
    QLineEdit* Increment;
    QLabel* PassesLabel;
    QLabel* LastPassLabel;
};

TDepthPage DepthPage(const TfrmMain& w, int page)
{
    switch (page) {
    case kPageDrill:
        return {w.txtDriZRapid, w.txtDriTopStock, w.txtDriZDepthTot, w.txtDriIncPassZ, w.lblDriNumDCuts,
                w.lblDriNumFCuts};
    case kPagePocket:
        return {w.txtPocZRapid, w.txtPocTopStock, w.txtPocZDepthTot, w.txtPocIncPassZ, w.lblPocNumDCuts,
                w.lblPocNumFCuts};
    default:
        return {w.txtConZRapid, w.txtConTopStock, w.txtConZDepthTot, w.txtConIncPassZ, w.lblConNumDCuts,
                w.lblConNumFCuts};
    }
}

// A number field; text that is no number reads as 0, which only the pass
// labels ever show: Calculate refuses such a field first (FieldsHoldNumbers).
double FieldNumber(const QLineEdit* field)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(field->text().trimmed(), &ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

TDepthFields DepthFieldsOf(const TfrmMain& window, int page)
{
    const TDepthPage fields = DepthPage(window, page);
    return {FieldNumber(fields.ZRapid), FieldNumber(fields.TopOfStock), FieldNumber(fields.Depth),
            FieldNumber(fields.Increment)};
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

std::string EditorText(const TfrmMain& window)
{
    return window.ricIso->toPlainText().toStdString();
}

void SetEditorText(const TfrmMain& window, const std::string& text)
{
    window.ricIso->setPlainText(QString::fromStdString(text));
}

// A rate field of the job; text that is no number leaves the rate as it was.
void TakeRate(const std::string& text, double& rate)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(QString::fromStdString(text).trimmed(), &ok);
    if (ok)
        rate = value;
}

double ToolRadius()
{
    bool ok = false;
    const double diameter = QLocale::c().toDouble(QString::fromStdString(NcJobValues.ToolDiameter).trimmed(), &ok);
    return ok && diameter > 0.0 ? diameter / 2.0 : 0.0;
}

// The simulation starts again for a new program or file. The time totals
// stay: each program appended to the file adds to the file's time.
void RestartSimulation(TfrmMain& window)
{
    ResetSimulation(NcSimulation);
    NcSimulation.FirstMove = true;
    NcSimulation.CurrentLine = 0;
    window.NcShowZDepth = true;
}

// One calculation: the hourglass, the bar, the undo record; then the
// program goes into the editor, and the file is saved when all went well.
class TCalculation {
public:
    explicit TCalculation(TfrmMain& window)
        : window_(window), progress_(window.ProgressBar1), sink_(NcSimulation, static_cast<float>(ToolRadius())),
          drawing_(window.VistaGrafica->Core(), NcSimulation)
    {
        window.Messaggio(Text(kMsgCalculating));
        LastKey = 0;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        window.ProgressBar1->setRange(0, 100);
        window.ProgressBar1->setValue(0);
        window.ProgressBar1->show();
        RestartSimulation(window);
        TakeRate(NcJobValues.FeedRate, NcSimulation.FeedRate);
        TakeRate(NcJobValues.PlungeRate, NcSimulation.PlungeRate);
        TakeRate(window.txtRapidFeedrate->text().toStdString(), NcSimulation.RapidRate);
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
            window_.sbtDelLastOp->setEnabled(true);
        }
        if (failure != TCamFailure::None) {
            QApplication::restoreOverrideCursor();
            ShowFailure(failure);
            QApplication::setOverrideCursor(Qt::WaitCursor);
            return false;
        }
        window_.SetActivePage(kPageIso);
        window_.TestoGrafico(Text(kMsgMachiningTime) +
                             QString::fromStdString(FormatDuration(std::llround(NcSimulation.TotalSeconds()))));
        window_.sbrNcSimul->setMaximum(std::max(CountTextLines(editorText_) - 1, 0));
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
    TNcSimulationSink sink_;
    TNcViewDrawing drawing_;
    std::string editorText_;
    TNcProgramWriter writer_{PostSettings, NcModal, NcJobValues, NcJobState, &sink_};
};

// The caption of the label that names the field, without its colon; the
// field's name when no label names it.
QString FieldCaption(const QLineEdit& field)
{
    for (const QLabel* label : field.parentWidget()->findChildren<QLabel*>())
        if (label->buddy() == &field) {
            QString caption = label->text().trimmed();
            if (caption.endsWith(QLatin1Char(':')))
                caption.chop(1);
            return caption;
        }
    return field.objectName();
}

// Every field the calculation reads holds a number; otherwise the message
// that names the first that does not, and no calculation, so that no text
// is read as 0 and the last program stays as it is.
bool FieldsHoldNumbers(std::initializer_list<const QLineEdit*> fields)
{
    for (const QLineEdit* field : fields) {
        bool ok = false;
        const double value = QLocale::c().toDouble(field->text().trimmed(), &ok);
        if (ok && std::isfinite(value))
            continue;
        ApplicationMessageBox(Text(kMsgNotANumber) + QStringLiteral("\r\n") + FieldCaption(*field),
                              Text(kMsgCaption), kMbOk + kMbIconWarning);
        return false;
    }
    return true;
}

// Something to machine, number fields that hold numbers, and the depth side
// of the page; otherwise the message that says what is missing, and no
// calculation.
bool ReadyToCalculate(const TfrmMain& window, bool hasInput, int page, const QCheckBox* writeEof, TDepthJob& job,
                      std::initializer_list<const QLineEdit*> pageFields)
{
    if (!hasInput) {
        ApplicationMessageBox(Text(kMsgNoChains), Text(kMsgCaption), kMbOk + kMbIconWarning);
        return false;
    }
    const TDepthPage depthFields = DepthPage(window, page);
    if (!FieldsHoldNumbers({depthFields.ZRapid, depthFields.TopOfStock, depthFields.Depth, depthFields.Increment,
                            window.txtRapidFeedrate}) ||
        !FieldsHoldNumbers(pageFields))
        return false;
    const TDepthFields fields = DepthFieldsOf(window, page);
    job.Plan = ComputeDepthPassPlan(fields);
    if (!job.Plan.Usable()) {
        // No program that rapids through the stock, or never reaches its depth.
        ApplicationMessageBox(Text(RefusalMessage(job.Plan.Status)), Text(kMsgCaption), kMbOk + kMbIconWarning);
        return false;
    }
    job.ZRapid = static_cast<float>(fields.ZRapid);
    job.TopOfStock = static_cast<float>(fields.TopOfStock);
    job.WriteEof = writeEof->isChecked();
    return true;
}

void ShowFileName(QLabel* label, const std::string& path)
{
    const QFontMetrics metrics = label->fontMetrics();
    const std::string shown = ShortenPathForWidth(path, label->width(), [&](const std::string& text) {
        return metrics.horizontalAdvance(QString::fromStdString(text));
    });
    label->setText(QString::fromStdString(shown));
}

} // namespace

void TfrmMain::ConnectNcJob()
{
    // No page holds the undo button: the NC page's "Prev Pg (4)" offers the
    // undo; the button keeps whether there is something to take back.
    sbtDelLastOp = new QToolButton(this);
    sbtDelLastOp->setObjectName(QStringLiteral("sbtDelLastOp"));
    sbtDelLastOp->setText(Text(kMsgUndoCaption));
    sbtDelLastOp->setEnabled(false);
    sbtDelLastOp->hide();
    const auto connectButton = [this](QAbstractButton* button, void (TfrmMain::*handler)()) {
        connect(button, &QAbstractButton::clicked, this, handler);
    };
    connectButton(sbtNewNc, &TfrmMain::sbtNewNcClick);
    connectButton(sbtAppendNc, &TfrmMain::sbtAppendNcClick);
    connectButton(sbtConCalculate, &TfrmMain::sbtConCalculateClick);
    connectButton(sbtDriCalculate, &TfrmMain::sbtDriCalculateClick);
    connectButton(sbtPocCalculate, &TfrmMain::sbtPocCalculateClick);
    connectButton(sbtDelLastOp, &TfrmMain::sbtDelLastOpClick);
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
    // A name given without extension takes the post's, so that Open, which
    // lists only those, finds the file again.
    if (!opening)
        dialog->FileName = WithExtension(dialog->FileName, ext);
    NcJobValues.NcFileName = dialog->FileName.toStdString();
    NcDir = QFileInfo(dialog->FileName).absolutePath().toStdString();
    ShowFileName(stxNcFileName, NcJobValues.NcFileName);
    sbtNextB1->setEnabled(true);
    return true;
}

void TfrmMain::sbtNewNcClick()
{
    if (!NameNcFile(false))
        return;
    StartNcFile(NcJobState, NcModal, PostSettings);
    SetEditorText(*this, {});
    NcSimulation.WorkSeconds = 0.0;
    NcSimulation.RapidSeconds = 0.0;
    sbtDelLastOp->setEnabled(false);
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
    // A later calculation appends to the loaded program, which has its start
    // already; nothing of it can be taken back. What it last told the control
    // is not known, so the next program writes every word again.
    NcJobState.Undo.Used = true;
    NcJobState.FirstProgram = false;
    NcModal.ClearWords();
    sbtDelLastOp->setEnabled(false);
    RestartSimulation(*this);
    NcSimulation.WorkSeconds = 0.0;
    NcSimulation.RapidSeconds = 0.0;
    sbrNcSimul->setMaximum(std::max(CountTextLines(text) - 1, 0));
    SetActivePage(kPageIso);
}

void TfrmMain::ShowPassPlan(int page)
{
    const TDepthPage fields = DepthPage(*this, page);
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
    fields.PassesLabel->setText(first);
    fields.LastPassLabel->setText(second);
}

void TfrmMain::sbtConCalculateClick()
{
    TDepthJob depth;
    if (!ReadyToCalculate(*this, !ChainList.Chains.empty(), kPageContour, chkConWriteEof, depth,
                          {txtConStockXY, txtConRoughSize, txtConFinishSize, txtLInSize, txtLoutSize}))
        return;
    TContourJob contour;
    contour.Side = CompensationSide();
    contour.OffsetRadius = OffsetRadius;
    contour.StockXY = FieldNumber(txtConStockXY);
    contour.RoughCuts = speConNRoughCuts->value();
    contour.FinishCuts = speConNFinishCuts->value();
    contour.RoughSize = FieldNumber(txtConRoughSize);
    contour.FinishSize = FieldNumber(txtConFinishSize);
    contour.LeadIn = static_cast<TLead>(std::clamp(cboLeadIn->currentIndex(), 0, 2));
    contour.LeadOut = static_cast<TLead>(std::clamp(cboLeadOut->currentIndex(), 0, 2));
    contour.LeadInSize = FieldNumber(txtLInSize);
    contour.LeadOutSize = FieldNumber(txtLoutSize);
    contour.Reverse = ChainList.Reverse;

    TCalculation calculation(*this);
    std::vector<int> withoutLeads;
    const TCamFailure failure = WriteContourJob(calculation.Writer(), ChainList.Chains, contour, depth,
                                                calculation.Progress(), &withoutLeads);
    if (failure == TCamFailure::None) {
        sbtNextB4C->setEnabled(true);
        sbtConCalculate->setEnabled(false);
    }
    if (calculation.Finish(failure) && !withoutLeads.empty()) {
        QString chains;
        for (const int chain : withoutLeads)
            chains += QLatin1Char(' ') + QString::number(chain);
        Messaggio(QString::fromLatin1(LEAD_LEFT_OUT) + chains);
    }
}

void TfrmMain::sbtPocCalculateClick()
{
    TDepthJob depth;
    if (!ReadyToCalculate(*this, !ChainList.Chains.empty(), kPagePocket, chkPocWriteEof, depth,
                          {txtPocStockXY, txtPocStepOverPer, txtPocFinishSize}))
        return;
    TPocketJob pocket;
    pocket.OffsetRadius = OffsetRadius;
    pocket.StockXY = FieldNumber(txtPocStockXY);
    pocket.StepOverPercent = FieldNumber(txtPocStepOverPer);
    pocket.FinishCuts = spePocNFinishCuts->value();
    pocket.FinishSize = FieldNumber(txtPocFinishSize);
    pocket.Spiral = chkPocSpiralInOut->isChecked();
    pocket.Reverse = ChainList.Reverse;

    TCalculation calculation(*this);
    calculation.Finish(WritePocketJob(calculation.Writer(), ChainList.Chains, pocket, depth, calculation.Progress()));
}

void TfrmMain::sbtDriCalculateClick()
{
    TDepthJob depth;
    if (!ReadyToCalculate(*this, !ChainList.DrillPoints.empty(), kPageDrill, Dri_chkWriteEof, depth, {dri_txtPasso}))
        return;
    TDrillJob drill;
    drill.Cycle = cboCycle->currentIndex() >= 0 ? cboCycle->currentIndex() + 1 : 1;
    drill.ZRapid = depth.ZRapid;
    drill.TopOfStock = depth.TopOfStock;
    drill.Depth = static_cast<float>(FieldNumber(txtDriZDepthTot));
    drill.WriteEof = depth.WriteEof;
    NcJobValues.PeckIncrement = FieldNumber(txtDriIncPassZ);
    NcJobValues.Pitch = FieldNumber(dri_txtPasso);

    TCalculation calculation(*this);
    calculation.Writer().GenerateDrillProgram(ChainList.DrillPoints, drill, depth.Plan);
    sbtNextB4D->setEnabled(true);
    sbtDriCalculate->setEnabled(false);
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
    sbtDelLastOp->setEnabled(false);
    RedrawChains();
    TogliAssoc();
    NcSimulation.WorkSeconds = 0.0;
    NcSimulation.RapidSeconds = 0.0;
}
