// Page 2 of the vectorize pages: the tracer's parameters, Preview (trace the
// black-and-white picture and show the result over a grey copy of it),
// Accept, Cancel and the way back to the spot page.

#include <memory>

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/Language.h"
#include "app/ui/ApplicationMessageBox.h"
#include "app/ui/controls/RealSpinEdit.h"
#include "app/ui/frmMain.h"
#include "cad/base/Settings.h"
#include "cad/drawing/CADCmp2D.h"
#include "import/LoadedFile.h"
#include "import/MonoRaster.h"
#include "import/TracerRun.h"
#include "platform/ProcessRunner.h"

namespace {

constexpr int kTracePage = 2;
constexpr int kSpotsPage = 1;
constexpr int kMsgTracing = 410;
constexpr int kMsgTracerFailed = 453;
constexpr int kMsgNoTempFile = 454;
constexpr int kMsgCheckTempFolder = 455;
constexpr int kMsgTracerError = 465;
constexpr int kMsgTracerCrashed = 466;
constexpr int kMsgTracingCancelled = 467;
constexpr int kMsgResultUnreadable = 468;
constexpr int kMsgResultCut = 469;

// The message of each way a run can fail.
int FailureMessage(TTraceRunResult::TOutcome outcome)
{
    using TOutcome = TTraceRunResult::TOutcome;
    switch (outcome) {
    case TOutcome::TracerFailed:
        return kMsgTracerError;
    case TOutcome::TracerCrashed:
        return kMsgTracerCrashed;
    case TOutcome::Cancelled:
        return kMsgTracingCancelled;
    case TOutcome::ResultUnreadable:
        return kMsgResultUnreadable;
    case TOutcome::ResultCut:
        return kMsgResultCut;
    default:
        return kMsgTracerFailed;
    }
}

// What a failed run says: what went wrong, then why in the tracer's or the
// system's words when they are known. A missing tracer says it as it always has.
QString TraceFailureText(const TTraceRunResult& result)
{
    QString text = GetLangString(FailureMessage(result.Outcome));
    if (result.Outcome == TTraceRunResult::TOutcome::TracerMissing)
        text.prepend(QStringLiteral("KOVRA DLL "));
    if (!result.Detail.isEmpty() && result.Outcome != TTraceRunResult::TOutcome::Cancelled)
        text += QStringLiteral("\r\n\r\n") + result.Detail;
    return text;
}

template <typename TControl>
TControl* Named(TControl* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

QToolButton* TextButton(QWidget* parent, const char* name, const QString& text)
{
    auto* button = Named(new QToolButton(parent), name);
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QSpinBox* SpinBox(QWidget* parent, const char* name, int min, int max, int step, int value)
{
    auto* box = Named(new QSpinBox(parent), name);
    box->setRange(min, max);
    box->setSingleStep(step);
    box->setValue(value);
    return box;
}

} // namespace

void TfrmMain::CreateVectTracePage()
{
    QWidget* page = Page(kTracePage);
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(6, 6, 6, 6);

    auto* group = Named(new QGroupBox(QStringLiteral("Parameters:"), page), "grpParameters");
    auto* grid = new QGridLayout(group);
    sedError_threshold = Named(new TRealSpinEdit(group), "sedError_threshold");
    sedError_threshold->SetMinValue(TFixed4::FromRaw(100));
    sedError_threshold->SetMaxValue(TFixed4::FromInt(20));
    sedError_threshold->SetIncrement(TFixed4::FromInt(1));
    sedError_threshold->SetValue(TFixed4::FromInt(2));
    sedFilter_iterations = SpinBox(group, "sedFilter_iterations", 1, 10, 1, 4);
    sedCorner_threshold = SpinBox(group, "sedCorner_threshold", 60, 135, 5, 90);
    chkCenterLine = Named(new QCheckBox(group), "chkCenterLine");
    const std::pair<const char*, const char*> labels[] = {{"lblError_threshold", "Error threshold:"},
                                                          {"lblFilter_iterations", "Filter iterations:"},
                                                          {"lblCorner_threshold", "Corner threshold:"},
                                                          {"lblCenterLine", "Centerline:"}};
    QWidget* const fields[] = {sedError_threshold, sedFilter_iterations, sedCorner_threshold, chkCenterLine};
    for (int row = 0; row < 4; ++row) {
        grid->addWidget(Named(new QLabel(QString::fromLatin1(labels[row].second), group), labels[row].first), row, 0);
        grid->addWidget(fields[row], row, 1);
    }
    column->addWidget(group);

    sbtPreviewVect = TextButton(page, "sbtPreviewVect", QStringLiteral("Preview"));
    sbtVectDone = TextButton(page, "sbtVectDone", QStringLiteral("Accept"));
    sbtVectDone->setEnabled(false);
    column->addWidget(sbtPreviewVect);
    column->addWidget(sbtVectDone);
    column->addStretch();
    auto* bottom = new QHBoxLayout;
    sbtVectPrev3 = TextButton(page, "sbtVectPrev3", QStringLiteral("Prev Pg"));
    sbtCancelVect = TextButton(page, "sbtCancelVect", QStringLiteral("X"));
    bottom->addWidget(sbtVectPrev3);
    bottom->addStretch();
    bottom->addWidget(sbtCancelVect);
    column->addLayout(bottom);

    connect(sbtPreviewVect, &QToolButton::clicked, this, [this] { sbtPreviewVectClick(); });
    connect(sbtVectDone, &QToolButton::clicked, this, [this] { sbtVectDoneClick(); });
    connect(sbtVectPrev3, &QToolButton::clicked, this, [this] { sbtVectPrev3Click(); });
    connect(sbtCancelVect, &QToolButton::clicked, this, [this] { sbtCancelVectClick(); });

    TracerRunner = new TProcessRunner;
    TracerRunner->setParent(this);
}

TTracerParameters TfrmMain::TracerParameters() const
{
    TTracerParameters parameters;
    parameters.ErrorThreshold = sedError_threshold->Value().ToDouble();
    parameters.FilterIterations = sedFilter_iterations->value();
    parameters.CornerThreshold = sedCorner_threshold->value();
    parameters.CenterLine = chkCenterLine->isChecked();
    return parameters;
}

void TfrmMain::sbtPreviewVectClick()
{
    if (TracerRunner->Running() || LoadedFile.MonoRaster.isNull())
        return;
    // The picture turns light grey where it is black, so that the traced lines stand out on it.
    SetMonoPalette(LoadedFile.MonoRaster, true);
    ShowRaster(true, false);
    if (sedError_threshold->Value() <= TFixed4())
        sedError_threshold->SetValue(TFixed4::FromInt(10));

    QApplication::setOverrideCursor(Qt::WaitCursor);
    Messaggio(GetLangString(kMsgTracing));
    TracerRunner->StopControls = {sbtCancelVect, sbtCancel};
    TracerRunner->OnProgress = [this](int percent) { ProgressBar1->setValue(percent); };
    ProgressBar1->setRange(0, 100);
    ProgressBar1->show();
    const TTraceRunResult result = RunTracer(TracerProgramPath(), LoadedFile.MonoRaster, TracerParameters(),
                                             RasterMapping(LoadedFile), QString::fromStdString(TempDir),
                                             *TracerRunner, LocalCad());
    ProgressBar1->hide();
    QApplication::restoreOverrideCursor();
    LocalCad().RepaintViewports();

    switch (result.Outcome) {
    case TTraceRunResult::TOutcome::Imported:
        break;
    case TTraceRunResult::TOutcome::NoTempFile:
        ApplicationMessageBox(GetLangString(kMsgNoTempFile) + QStringLiteral("\r\n\r\n") +
                                  QString::fromStdString(TempDir) + QStringLiteral("\r\n\r\n") +
                                  GetLangString(kMsgCheckTempFolder),
                              GetLangString(450), kMbOk + kMbIconWarning);
        break;
    default:
        ApplicationMessageBox(TraceFailureText(result), GetLangString(450), kMbOk);
        break;
    }
    sbtVectDone->setEnabled(true);
    Messaggio(PageTexts[kTracePage]);
}

void TfrmMain::sbtVectDoneClick()
{
    VisPagine({999});
    AbilitaPnl(true, true, true, true);
}

void TfrmMain::sbtCancelVectClick()
{
    // The source picture comes back: View Original is checked without its
    // own handler running, then the black-and-white picture is rebuilt,
    // which also drops the traced result.
    FillingControls = true;
    chkViewOriginal->setChecked(true);
    FillingControls = false;
    CreaBmpMono();
    VisPagine({999});
    AbilitaPnl(true, true, true, true);
}

void TfrmMain::sbtVectPrev3Click()
{
    SetActivePage(kSpotsPage);
    CreaBmpMono();
}
