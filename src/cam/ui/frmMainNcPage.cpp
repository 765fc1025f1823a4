// The NC page: the program's text, stepping and scrolling through it with
// the simulation drawn over the drawing, the limits of the moves, saving,
// finding text and leaving the CNC pages.

#include <cmath>
#include <optional>

#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/Language.h"
#include "app/NumericText.h"
#include "app/ui/ApplicationMessageBox.h"
#include "app/ui/frmMain.h"
#include "cad/ui/CADViewport.h"
#include "cad/view/CADViewportCore.h"
#include "cam/nc/NcJob.h"
#include "cam/simulation/NcSimulation.h"
#include "cam/nc/NcWords.h"
#include "cam/ui/NcFindDialog.h"
#include "cam/ui/NcViewDrawing.h"
#include "cam/ui/PageControls.h"
#include "import/ui/SaveDialog.h"
#include "view3d/ui/NcScene3D.h"

namespace {

constexpr int kPageIso = 46;
constexpr int kMsgNcFiles = 701;
constexpr int kMsgLine = 717;
constexpr int kMsgMachiningTime = 754;

QLabel* MakeLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

// Hands the editor's keys to the line counter before the editor moves the caret.
class TIsoKeyWatch final : public QObject {
public:
    TIsoKeyWatch(QObject* parent, std::function<void(int)> keyDown) : QObject(parent), keyDown_(std::move(keyDown)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
            keyDown_(static_cast<QKeyEvent*>(event)->key());
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(int)> keyDown_;
};

// Selects the whole line and brings it into view.
void SelectLine(QPlainTextEdit& editor, int line)
{
    const QTextBlock block = editor.document()->findBlockByNumber(line);
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
    editor.ensureCursorVisible();
}

QString LineText(const QPlainTextEdit& editor, int line)
{
    return editor.document()->findBlockByNumber(line).text();
}

} // namespace

void TfrmMain::CreateNcPage()
{
    QWidget* page = Page(kPageIso);
    auto* layout = new QVBoxLayout(page);

    pnlTbr1Iso = new QFrame(page);
    pnlTbr1Iso->setObjectName(QStringLiteral("pnlTbr1Iso"));
    auto* bar = new QGridLayout(pnlTbr1Iso);
    sbtIsoRewind = MakeButton(pnlTbr1Iso, "sbtIsoRewind", "Rewind");
    sbtIsoSimul = MakeButton(pnlTbr1Iso, "sbtIsoSimul", "Simulate");
    sbtIsoEnd = MakeButton(pnlTbr1Iso, "sbtIsoEnd", "End");
    sbtIsoStop = MakeButton(pnlTbr1Iso, "sbtIsoStop", "Stop");
    sbtIsoStep = MakeButton(pnlTbr1Iso, "sbtIsoStep", "Step");
    sbtIsoOpen = MakeButton(pnlTbr1Iso, "sbtIsoOpen", "Open nc file");
    sbtIsoSave = MakeButton(pnlTbr1Iso, "sbtIsoSave", "Save nc file");
    sbtIsoFind = MakeButton(pnlTbr1Iso, "sbtIsoFind", "Find");
    sbtIsoExit = MakeButton(pnlTbr1Iso, "sbtIsoExit", "Close nc section");
    sbtIsoLimits = MakeButton(pnlTbr1Iso, "sbtIsoLimits", "Nc Limits");
    sbtWireSimul = MakeButton(pnlTbr1Iso, "sbtWireSimul", "Wire");
    sbtWireSimul->setCheckable(true);
    sbtPrevB5 = MakeButton(pnlTbr1Iso, "sbtPrevB5", "Prev Pg (4)");
    QToolButton* buttons[] = {sbtIsoRewind, sbtIsoSimul, sbtIsoEnd,    sbtIsoStop,   sbtIsoStep, sbtIsoFind,
                              sbtIsoOpen,   sbtIsoSave,  sbtIsoLimits, sbtWireSimul, sbtPrevB5,  sbtIsoExit};
    // Two to a row, as wide as the page lets them, so that every caption
    // shows whole; the longest, the last, has a row of its own.
    bar->setContentsMargins(0, 0, 0, 0);
    constexpr int kCount = static_cast<int>(std::size(buttons));
    for (int k = 0; k < kCount; ++k) {
        buttons[k]->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        if (k == kCount - 1)
            bar->addWidget(buttons[k], (k + 1) / 2, 0, 1, 2);
        else
            bar->addWidget(buttons[k], k / 2, k % 2);
    }
    layout->addWidget(pnlTbr1Iso);

    sbrNcSimul = new QScrollBar(Qt::Horizontal, page);
    sbrNcSimul->setObjectName(QStringLiteral("sbrNcSimul"));
    sbrNcSimul->setMaximum(0);
    layout->addWidget(sbrNcSimul);

    pnlIso = new QFrame(page);
    pnlIso->setObjectName(QStringLiteral("pnlIso"));
    auto* isoLayout = new QVBoxLayout(pnlIso);
    isoLayout->setContentsMargins(0, 0, 0, 0);
    ricIso = new QPlainTextEdit(pnlIso);
    ricIso->setObjectName(QStringLiteral("ricIso"));
    ricIso->setLineWrapMode(QPlainTextEdit::NoWrap);
    ricIso->setFont(QFont(QStringLiteral("Courier New"), 9));
    isoLayout->addWidget(ricIso);
    layout->addWidget(pnlIso, 1);

    pnlLimits = new QFrame(page);
    pnlLimits->setObjectName(QStringLiteral("pnlLimits"));
    pnlLimits->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* limits = new QGridLayout(pnlLimits);
    stxLimXmax = MakeLabel(pnlLimits, "stxLimXmax");
    stxLimXmin = MakeLabel(pnlLimits, "stxLimXmin");
    stxLimYmax = MakeLabel(pnlLimits, "stxLimYmax");
    stxLimYmin = MakeLabel(pnlLimits, "stxLimYmin");
    limits->addWidget(new QLabel(QStringLiteral("X max"), pnlLimits), 0, 0);
    limits->addWidget(stxLimXmax, 0, 1);
    limits->addWidget(new QLabel(QStringLiteral("X min"), pnlLimits), 1, 0);
    limits->addWidget(stxLimXmin, 1, 1);
    limits->addWidget(new QLabel(QStringLiteral("Y max"), pnlLimits), 2, 0);
    limits->addWidget(stxLimYmax, 2, 1);
    limits->addWidget(new QLabel(QStringLiteral("Y min"), pnlLimits), 3, 0);
    limits->addWidget(stxLimYmin, 3, 1);
    pnlLimits->hide();
    layout->addWidget(pnlLimits);

    nol_IsoStatus1 = MakeLabel(page, "nol_IsoStatus1");
    layout->addWidget(nol_IsoStatus1);

    connect(sbtPrevB5, &QToolButton::clicked, this, [this] { sbtPrevB5Click(); });
    connect(sbtIsoStep, &QToolButton::clicked, this, [this] { sbtIsoStepClick(); });
    connect(sbrNcSimul, &QScrollBar::valueChanged, this, [this](int position) { sbrNcSimulChange(position); });
    connect(sbtIsoSave, &QToolButton::clicked, this, [this] { sbtIsoSaveClick(); });
    connect(sbtIsoExit, &QToolButton::clicked, this, [this] { sbtIsoExitClick(); });
    connect(sbtIsoFind, &QToolButton::clicked, this, [this] { sbtIsoFindClick(); });
    connect(sbtIsoLimits, &QToolButton::pressed, this, [this] { sbtIsoLimitsMouseDown(); });
    connect(sbtIsoLimits, &QToolButton::released, this, [this] { sbtIsoLimitsMouseUp(); });
    connect(sbtWireSimul, &QToolButton::toggled, this, [](bool down) { NcSimulation.Wireframe = down; });
    ricIso->installEventFilter(new TIsoKeyWatch(ricIso, [this](int key) { ricIsoKeyDown(key); }));

    NcSimulation.LimitShown = [this](TNcLimit limit, float value) {
        QLabel* labels[] = {stxLimXmax, stxLimXmin, stxLimYmax, stxLimYmin};
        labels[static_cast<int>(limit)]->setText(formatta(value));
    };
}

void TfrmMain::SimulOnOff(bool enabled)
{
    for (QToolButton* button :
         {sbtIsoRewind, sbtIsoSimul, sbtIsoEnd, sbtIsoStep, sbtIsoOpen, sbtIsoSave, sbtIsoFind, sbtIsoExit})
        button->setEnabled(enabled);
}

void TfrmMain::ReadBackLine(int line, TNcReadMode mode)
{
    TNcSimulation& sim = NcSimulation;
    // Into the 3D toolpath while the 3D view is shown, else over the drawing.
    std::optional<TNcViewDrawing> drawing;
    if (View3DMode)
        sim.Toolpath3D = Scene3D.get();
    else
        drawing.emplace(VistaGrafica->Core(), sim);
    SimulateNcLine(sim, LineText(*ricIso, line).toStdString(), PostSettings, mode);
    sim.Toolpath3D = nullptr;
}

void TfrmMain::sbtIsoStepClick()
{
    if (NcShowZDepth) {
        NcShowZDepth = false;
        ShowZDepth();
    }
    ricIso->setFocus();
    TNcSimulation& sim = NcSimulation;
    // A read from the first line counts the program from its start; what
    // the calculation (or an earlier read) counted is not added twice.
    if (sim.CurrentLine == 0)
        RestartReadBack(sim);
    const bool readable = ReadBackKnowsDialect(PostSettings.Dialect);
    if (!readable)
        nol_IsoStatus1->setText(QString::fromLatin1(DIALECT_NOT_READ));
    const int count = ricIso->document()->blockCount();
    if (sim.CurrentLine < count) {
        SelectLine(*ricIso, sim.CurrentLine);
        ReadBackLine(sim.CurrentLine, TNcReadMode::Step);
        ++sim.CurrentLine;
    }
    if (sim.CurrentLine < count)
        SelectLine(*ricIso, sim.CurrentLine);
    else if (!readable)
        TestoGrafico(QString::fromLatin1(DIALECT_NOT_READ));
    else
        TestoGrafico(GetLangString(kMsgMachiningTime) +
                     QString::fromStdString(FormatDuration(std::llround(sim.TotalSeconds()))));
}

void TfrmMain::sbrNcSimulChange(int position)
{
    if (position >= ricIso->document()->blockCount())
        return;
    SelectLine(*ricIso, position);
    ReadBackLine(position, TNcReadMode::Scroll);
    ricIso->verticalScrollBar()->setValue(position);
    QCoreApplication::processEvents();
}

void TfrmMain::sbtIsoSaveClick()
{
    if (!SaveDialog)
        SaveDialog = new TSaveDialog(this);
    const QString ext = QString::fromStdString(PostSettings.FileExtension);
    const QFileInfo current(QString::fromStdString(NcJobValues.NcFileName));
    SaveDialog->Filter = GetLangString(kMsgNcFiles) + QStringLiteral(" (*.") + ext + QStringLiteral(")|*.") + ext;
    SaveDialog->FilterIndex = 1;
    SaveDialog->FileName = current.path() == QStringLiteral(".") ? current.completeBaseName()
                                                                   : current.path() + QLatin1Char('/') +
                                                                         current.completeBaseName();
    SaveDialog->DefaultExt = ext;
    SaveDialog->OverwritePrompt = true;
    SaveDialog->ForOpening = false;
    if (!SaveDialog->Execute(this))
        return;
    // A name given without extension takes the post's, as New's does.
    SaveDialog->FileName = WithExtension(SaveDialog->FileName, ext);
    if (!SaveNcText(SaveDialog->FileName.toStdString(), ricIso->toPlainText().toStdString()))
        ApplicationMessageBox(SaveDialog->FileName, GetLangString(450), kMbOk + kMbIconError);
}

void TfrmMain::sbtIsoExitClick()
{
    VisPagina(kPagesHide);
    ZDepthMode3D(false);
    Scene3D->ClearToolpath();
}

void TfrmMain::sbtIsoFindClick()
{
    if (FindDialog1 == nullptr) {
        FindDialog1 = new TNcFindDialog(this);
        FindDialog1->OnFind = [this] { FindDialog1Find(); };
    }
    const QPoint topRight = ricIso->mapToGlobal(QPoint(ricIso->width(), 0));
    FindDialog1->adjustSize();
    FindDialog1->move(topRight.x() - FindDialog1->width(), topRight.y());
    FindDialog1->show();
    FindDialog1->raise();
}

void TfrmMain::FindDialog1Find()
{
    QTextCursor from = ricIso->textCursor();
    if (!from.hasSelection())
        from.movePosition(QTextCursor::Start);
    const QTextCursor match = ricIso->document()->find(FindDialog1->FindText(), from.selectionEnd(),
                                                       QTextDocument::FindCaseSensitively);
    if (match.isNull()) {
        QTextCursor end = ricIso->textCursor();
        end.movePosition(QTextCursor::End);
        ricIso->setTextCursor(end);
    } else {
        ricIso->setTextCursor(match);
    }
    ricIso->ensureCursorVisible();
}

void TfrmMain::sbtIsoLimitsMouseDown()
{
    pnlLimits->show();
    Scene3D->ShowExtents(true, {NcSimulation.Extents, NcSimulation.ZMinRapid, NcSimulation.ZMinWork});
}

void TfrmMain::sbtIsoLimitsMouseUp()
{
    pnlLimits->hide();
    Scene3D->ShowExtents(false, {NcSimulation.Extents, NcSimulation.ZMinRapid, NcSimulation.ZMinWork});
}

void TfrmMain::ricIsoKeyDown(int key)
{
    if (key != Qt::Key_PageUp && key != Qt::Key_PageDown && key != Qt::Key_Up && key != Qt::Key_Down)
        return;
    NcSimulation.CurrentLine = ricIso->textCursor().blockNumber() + 1;
    nol_IsoStatus1->setText(GetLangString(kMsgLine) + QString::number(NcSimulation.CurrentLine) +
                            QLatin1Char('/') + QString::number(ricIso->document()->blockCount()));
}
