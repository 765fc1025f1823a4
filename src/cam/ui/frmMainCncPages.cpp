// The CNC pages: the NC file and post-processor, the operation and tool, and
// the contour, drilling and pocket parameters, with the rules that keep their
// controls consistent and the way from page to page.

#include <algorithm>
#include <array>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/Language.h"
#include "app/ui/ApplicationMessageBox.h"
#include "app/ui/PageWidgets.h"
#include "app/ui/controls/NumericKeyFilter.h"
#include "app/ui/frmMain.h"
#include "cad/base/CADMessageSink.h"
#include "cad/base/Settings.h"
#include "cam/chains/Chains.h"
#include "cam/nc/NcWords.h"
#include "cam/nc/PostSettings.h"
#include "cam/ProgressSink.h"
#include "cam/toolpath/Toolpaths.h"
#include "cam/ui/CncPictures.h"
#include "cam/ui/frmTool.h"
#include "platform/ProgramFolder.h"

namespace {

constexpr int kPageCnc1 = 40;
constexpr int kPageCnc2 = 41;
constexpr int kPageChain = 42;
constexpr int kPageContour = 43;
constexpr int kPageDrill = 44;
constexpr int kPagePocket = 45;
constexpr int kPageIso = 46;

// Hint pictures.
constexpr int kHintZRapid = 0;
constexpr int kHintStock = 4;
constexpr int kHintPassCounts = 5;
constexpr int kHintCutSize = 6;
constexpr int kHintIncrement = 3;
constexpr int kHintNoZ = 7;
constexpr int kHintStepOver = 8;

// Smaller than the pictures are drawn for, so that the machining pages fit the smallest window.
constexpr int kHintPictureSize = 72;

constexpr int kSideOff = 0;
constexpr int kSideRight = 2;

QLineEdit* Field(QWidget* parent, const char* name, const char* text)
{
    return NamedControl(new QLineEdit(QString::fromLatin1(text), parent), name);
}

QLabel* Caption(QWidget* parent, const char* name, const char* text)
{
    return NamedControl(new QLabel(QString::fromLatin1(text), parent), name);
}

QSpinBox* Counter(QWidget* parent, const char* name, int low, int high, int value)
{
    auto* spin = NamedControl(new QSpinBox(parent), name);
    spin->setRange(low, high);
    spin->setValue(value);
    return spin;
}

QLabel* Picture(QWidget* parent, const char* name)
{
    auto* picture = NamedControl(new QLabel(parent), name);
    picture->setAlignment(Qt::AlignCenter);
    picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return picture;
}

QLabel* PassLabel(QWidget* parent, const char* name)
{
    auto* label = NamedControl(new QLabel(parent), name);
    label->setWordWrap(true);
    return label;
}

// Runs the action whenever the control takes the focus.
void OnFocus(QWidget* control, std::function<void()> action)
{
    new TEventAction(
        *control,
        [](QEvent& event, bool& /*consume*/) { return event.type() == QEvent::FocusIn; },
        std::move(action));
}

// A Prev / Next pair at the foot of a page.
QHBoxLayout* PageButtons(QToolButton* previous, QToolButton* next)
{
    auto* row = new QHBoxLayout;
    if (previous != nullptr)
        row->addWidget(previous);
    row->addStretch();
    if (next != nullptr)
        row->addWidget(next);
    return row;
}

// What the three machining pages share: the hint picture on top, the four
// Z fields with their captions, the two pass labels, then rows of their own.
struct TMachiningPage {
    QWidget* Page;
    QVBoxLayout* Layout;
    QGridLayout* Grid;
    QLabel* Picture;
    QLabel* Labels[4];
    QLineEdit* Fields[4];
    QLabel* PassLabels[2];
    int Row;

    // A caption and its control on the next row.
    template <typename TControl>
    TControl* AddRow(const char* labelName, const char* caption, TControl* control)
    {
        QLabel* label = Caption(Page, labelName, caption);
        label->setBuddy(control);
        Grid->addWidget(label, Row, 0);
        Grid->addWidget(control, Row, 1);
        ++Row;
        return control;
    }
};

// The prefix names the page's controls: "Con" gives txtConZRapid, lblConNumDCuts...
TMachiningPage BeginMachiningPage(QWidget* page, const char* prefix, const char* pictureName)
{
    static constexpr const char* kNames[] = {"ZRapid", "TopStock", "ZDepthTot", "IncPassZ"};
    static constexpr const char* kCaptions[] = {"Feed Plane:", "Top of part:", "Depth:", "Depth increment:"};
    static constexpr const char* kDefaults[] = {"2", "0", "-1", "1"};
    TMachiningPage m{};
    m.Page = page;
    m.Layout = new QVBoxLayout(page);
    // The pages hold many rows: close together they fit the smallest window.
    m.Layout->setContentsMargins(4, 4, 4, 4);
    m.Layout->setSpacing(3);
    m.Picture = Picture(page, pictureName);
    m.Layout->addWidget(m.Picture);
    m.Grid = new QGridLayout;
    m.Grid->setVerticalSpacing(2);
    m.Layout->addLayout(m.Grid);
    for (int k = 0; k < 4; ++k) {
        const QByteArray field = QByteArray("txt") + prefix + kNames[k];
        const QByteArray label = QByteArray("lbl") + prefix + kNames[k];
        m.Labels[k] = Caption(page, label.constData(), kCaptions[k]);
        m.Fields[k] = Field(page, field.constData(), kDefaults[k]);
        m.Labels[k]->setBuddy(m.Fields[k]);
        m.Grid->addWidget(m.Labels[k], k, 0);
        m.Grid->addWidget(m.Fields[k], k, 1);
    }
    for (int k = 0; k < 2; ++k) {
        const QByteArray name = QByteArray("lbl") + prefix + (k == 0 ? "NumDCuts" : "NumFCuts");
        m.PassLabels[k] = PassLabel(page, name.constData());
        m.Grid->addWidget(m.PassLabels[k], 4 + k, 0, 1, 2);
    }
    m.Row = 6;
    return m;
}

// The foot: the Calculate button beside the Write EOF check, and the Prev / Next pair.
void EndMachiningPage(const TMachiningPage& m, QToolButton* calculate, QCheckBox* writeEof, QToolButton* previous,
                      QToolButton* next)
{
    auto* row = new QHBoxLayout;
    row->addWidget(calculate);
    row->addStretch();
    row->addWidget(writeEof);
    m.Layout->addLayout(row);
    m.Layout->addLayout(PageButtons(previous, next));
    m.Layout->addStretch();
}

QCheckBox* Check(QWidget* parent, const char* name, const char* text)
{
    return NamedControl(new QCheckBox(QString::fromLatin1(text), parent), name);
}

} // namespace

void TfrmMain::CreateCncPages()
{
    // Page 40: the NC file and the post-processor.
    {
        QWidget* page = Page(kPageCnc1);
        auto* layout = new QVBoxLayout(page);
        sbtNewNc = PageTextButton(page, "sbtNewNc", QStringLiteral("New"));
        sbtAppendNc = PageTextButton(page, "sbtAppendNc", QStringLiteral("Open"));
        auto* fileRow = new QHBoxLayout;
        fileRow->addWidget(sbtNewNc);
        fileRow->addWidget(sbtAppendNc);
        fileRow->addStretch();
        layout->addLayout(fileRow);
        layout->addWidget(Caption(page, "lblNcFileName", "NC file:"));
        stxNcFileName = NamedControl(new QLabel(page), "stxNcFileName");
        stxNcFileName->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        layout->addWidget(stxNcFileName);
        layout->addWidget(Caption(page, "lblPostName", "Post-processor:"));
        cboPostName = NamedControl(new QComboBox(page), "cboPostName");
        layout->addWidget(cboPostName);
        stxPstCommento = NamedControl(new QLabel(page), "stxPstCommento");
        stxPstCommento->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        stxPstCommento->setWordWrap(true);
        stxPstCommento->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        stxPstCommento->setMinimumHeight(80);
        layout->addWidget(stxPstCommento);
        // A file must be named before anything is calculated.
        sbtNextB1 = PageTextButton(page, "sbtNextB1", QStringLiteral("Next Pg (2)"));
        sbtNextB1->setEnabled(false);
        layout->addLayout(PageButtons(nullptr, sbtNextB1));
        layout->addStretch();
    }

    // Page 41: the operation and the tool.
    {
        QWidget* page = Page(kPageCnc2);
        auto* layout = new QVBoxLayout(page);
        auto* operation = NamedControl(new QGroupBox(QStringLiteral("Operation:"), page), "grpOperation");
        auto* operationLayout = new QVBoxLayout(operation);
        rdbContour = NamedControl(new QRadioButton(QStringLiteral("Contour / Engraving"), operation), "rdbContour");
        rdbDrill = NamedControl(new QRadioButton(QStringLiteral("Drill"), operation), "rdbDrill");
        rdbPocket = NamedControl(new QRadioButton(QStringLiteral("Pocket"), operation), "rdbPocket");
        rdbContour->setChecked(true);
        for (QRadioButton* radio : {rdbContour, rdbDrill, rdbPocket})
            operationLayout->addWidget(radio);
        layout->addWidget(operation);

        auto* tool = NamedControl(new QGroupBox(QStringLiteral("Tool:"), page), "grpTool");
        auto* toolLayout = new QGridLayout(tool);
        imgTool = Picture(tool, "imgTool");
        imgTool->setFixedSize(68, 68);
        sbtToolSelect = PageTextButton(tool, "sbtToolSelect", QStringLiteral("Select ..."));
        sbtToolEdit = PageTextButton(tool, "sbtToolEdit", QStringLiteral("Edit ..."));
        toolLayout->addWidget(imgTool, 0, 0, 2, 1);
        toolLayout->addWidget(sbtToolSelect, 0, 1);
        toolLayout->addWidget(sbtToolEdit, 1, 1);
        layout->addWidget(tool);

        auto* rapid = new QGridLayout;
        QLabel* rapidCaption = Caption(page, "lblRapidFeedrate", "Rapid feed rate:");
        rapid->addWidget(rapidCaption, 0, 0);
        txtRapidFeedrate = Field(page, "txtRapidFeedrate", "10000");
        rapidCaption->setBuddy(txtRapidFeedrate);
        rapid->addWidget(txtRapidFeedrate, 0, 1);
        layout->addLayout(rapid);
        sbtPrevB2 = PageTextButton(page, "sbtPrevB2", QStringLiteral("Prev Pg (1)"));
        sbtNextB2 = PageTextButton(page, "sbtNextB2", QStringLiteral("Next Pg (3)"));
        layout->addLayout(PageButtons(sbtPrevB2, sbtNextB2));
        layout->addStretch();
    }

    // Page 43: contour and engraving.
    {
        TMachiningPage m = BeginMachiningPage(Page(kPageContour), "Con", "imgContour");
        imgContour = m.Picture;
        lblConZRapid = m.Labels[0];
        lblConTopStock = m.Labels[1];
        lblConZDepthTot = m.Labels[2];
        lblConIncPassZ = m.Labels[3];
        txtConZRapid = m.Fields[0];
        txtConTopStock = m.Fields[1];
        txtConZDepthTot = m.Fields[2];
        txtConIncPassZ = m.Fields[3];
        lblConNumDCuts = m.PassLabels[0];
        lblConNumFCuts = m.PassLabels[1];
        txtConStockXY = m.AddRow("lblConStockXY", "Stock to leave:", Field(m.Page, "txtConStockXY", "0"));
        speConNRoughCuts = m.AddRow("lblConNRoughCuts", "Rough cuts:", Counter(m.Page, "speConNRoughCuts", 1, 99, 1));
        txtConRoughSize = m.AddRow("lblConRoughSize", "Rough cut size:", Field(m.Page, "txtConRoughSize", "0"));
        speConNFinishCuts =
            m.AddRow("lblConNFinishCuts", "Finish cuts:", Counter(m.Page, "speConNFinishCuts", 0, 9, 0));
        txtConFinishSize = m.AddRow("lblConFinishSize", "Finish cut size:", Field(m.Page, "txtConFinishSize", "0"));
        chkConWriteEof = Check(m.Page, "chkConWriteEof", "Write EOF");
        sbtConCalculate = PageTextButton(m.Page, "sbtConCalculate", QStringLiteral("Calculate"));
        sbtPrevB4C = PageTextButton(m.Page, "sbtPrevB4C", QStringLiteral("Prev Pg (3)"));
        sbtNextB4C = PageTextButton(m.Page, "sbtNextB4C", QStringLiteral("Next Pg (5)"));
        // The NC page has something to show only after a calculation.
        sbtNextB4C->setEnabled(false);
        EndMachiningPage(m, sbtConCalculate, chkConWriteEof, sbtPrevB4C, sbtNextB4C);
    }

    // Page 44: drilling.
    {
        TMachiningPage m = BeginMachiningPage(Page(kPageDrill), "Dri", "imgDrill");
        imgDrill = m.Picture;
        txtDriZRapid = m.Fields[0];
        txtDriTopStock = m.Fields[1];
        txtDriZDepthTot = m.Fields[2];
        txtDriIncPassZ = m.Fields[3];
        lblDriNumDCuts = m.PassLabels[0];
        lblDriNumFCuts = m.PassLabels[1];
        cboCycle = m.AddRow("lblCycle", "Cycle:", NamedControl(new QComboBox(m.Page), "cboCycle"));
        cboCycle->addItems({QStringLiteral("Drill"), QStringLiteral("PeckDrill"), QStringLiteral("Tap")});
        dri_txtPasso = m.AddRow("lblDriPasso", "Pitch:", Field(m.Page, "dri_txtPasso", "1"));
        Dri_chkWriteEof = Check(m.Page, "Dri_chkWriteEof", "Write EOF");
        sbtDriCalculate = PageTextButton(m.Page, "sbtDriCalculate", QStringLiteral("Calculate"));
        sbtPrevB4D = PageTextButton(m.Page, "sbtPrevB4D", QStringLiteral("Prev Pg (3)"));
        sbtNextB4D = PageTextButton(m.Page, "sbtNextB4D", QStringLiteral("Next Pg (5)"));
        sbtNextB4D->setEnabled(false);
        EndMachiningPage(m, sbtDriCalculate, Dri_chkWriteEof, sbtPrevB4D, sbtNextB4D);
    }

    // Page 45: pockets.
    {
        TMachiningPage m = BeginMachiningPage(Page(kPagePocket), "Poc", "imgPocket");
        imgPocket = m.Picture;
        txtPocZRapid = m.Fields[0];
        txtPocTopStock = m.Fields[1];
        txtPocZDepthTot = m.Fields[2];
        txtPocIncPassZ = m.Fields[3];
        lblPocNumDCuts = m.PassLabels[0];
        lblPocNumFCuts = m.PassLabels[1];
        txtPocStockXY = m.AddRow("lblPocStockXY", "Stock to leave:", Field(m.Page, "txtPocStockXY", "0"));
        txtPocStepOverPer = m.AddRow("lblPocStepOverPer", "Step-over (%):", Field(m.Page, "txtPocStepOverPer", "50"));
        spePocNFinishCuts =
            m.AddRow("lblPocNFinishCuts", "Finish cuts:", Counter(m.Page, "spePocNFinishCuts", 0, 9, 0));
        txtPocFinishSize = m.AddRow("lblPocFinishSize", "Finish cut size:", Field(m.Page, "txtPocFinishSize", "0"));
        chkPocSpiralInOut = Check(m.Page, "chkPocSpiralInOut", "Spiral In-Out");
        chkPocSpiralInOut->setChecked(true);
        chkPocWriteEof = Check(m.Page, "chkPocWriteEof", "Write EOF");
        m.Layout->addWidget(chkPocSpiralInOut);
        sbtPocCalculate = PageTextButton(m.Page, "sbtPocCalculate", QStringLiteral("Calculate"));
        sbtPrevB4P = PageTextButton(m.Page, "sbtPrevB4P", QStringLiteral("Prev Pg (3)"));
        sbtNextB4P = PageTextButton(m.Page, "sbtNextB4P", QStringLiteral("Next Pg (5)"));
        EndMachiningPage(m, sbtPocCalculate, chkPocWriteEof, sbtPrevB4P, sbtNextB4P);
    }

    ConnectCncPages();
}

void TfrmMain::ConnectCncPages()
{
    connect(sbtCnc, &QToolButton::clicked, this, [this] { sbtCncClick(); });
    connect(sbtNextB1, &QToolButton::clicked, this, [this] { sbtNextB1Click(); });
    connect(sbtPrevB2, &QToolButton::clicked, this, [this] { sbtPrevB2Click(); });
    connect(sbtNextB2, &QToolButton::clicked, this, [this] { sbtNextB2Click(); });
    connect(sbtPrevB3, &QToolButton::clicked, this, [this] { sbtPrevB3Click(); });
    connect(sbtNextB3, &QToolButton::clicked, this, [this] { sbtNextB3Click(); });
    for (QToolButton* previous : {sbtPrevB4C, sbtPrevB4D, sbtPrevB4P})
        connect(previous, &QToolButton::clicked, this, [this] { sbtPrevB4CClick(); });
    for (QToolButton* next : {sbtNextB4C, sbtNextB4D, sbtNextB4P})
        connect(next, &QToolButton::clicked, this, [this] { sbtNextB4CClick(); });

    connect(rdbContour, &QRadioButton::clicked, this, [this] { rdbContourClick(); });
    connect(rdbDrill, &QRadioButton::clicked, this, [this] { rdbDrillClick(); });
    connect(rdbPocket, &QRadioButton::clicked, this, [this] { rdbPocketClick(); });
    connect(sbtToolSelect, &QToolButton::clicked, this, [this] { sbtToolSelectClick(); });
    connect(sbtToolEdit, &QToolButton::clicked, this, [this] { sbtToolSelectClick(); });

    connect(cboCCDir, &QComboBox::currentIndexChanged, this, [this] { cboCCDirChange(); });
    connect(cboLeadIn, &QComboBox::currentIndexChanged, this, [this] { cboLeadInChange(); });
    connect(cboLeadOut, &QComboBox::currentIndexChanged, this, [this] { cboLeadOutChange(); });
    connect(txtCCoffset, &QLineEdit::textChanged, this, [this] { txtCCoffsetChange(); });
    connect(speConNRoughCuts, &QSpinBox::valueChanged, this, [this] { speConNRoughCutsChange(); });
    connect(speConNFinishCuts, &QSpinBox::valueChanged, this, [this] { speConNFinishCutsChange(); });
    connect(spePocNFinishCuts, &QSpinBox::valueChanged, this, [this] { spePocNFinishCutsChange(); });
    connect(cboPostName, &QComboBox::activated, this, [this] { cboPostNameChange(); });

    // Z fields: a change plans the passes again; entering one shows its
    // picture and the plan.
    const std::pair<int, std::array<QLineEdit*, 4>> zFields[] = {
        {kPageContour, {txtConZRapid, txtConTopStock, txtConZDepthTot, txtConIncPassZ}},
        {kPageDrill, {txtDriZRapid, txtDriTopStock, txtDriZDepthTot, txtDriIncPassZ}},
        {kPagePocket, {txtPocZRapid, txtPocTopStock, txtPocZDepthTot, txtPocIncPassZ}},
    };
    for (const auto& [page, fields] : zFields) {
        int k = 0;
        for (QLineEdit* field : fields) {
            connect(field, &QLineEdit::textChanged, this, [this, page] { ZFieldChange(page); });
            const int hint = k++;
            OnFocus(field, [this, page, hint] {
                if (page == kPageContour)
                    ShowHint(page, PostSettings.LYarvPost ? kHintNoZ : hint);
                else
                    ShowHint(page, PostSettings.OmitZ ? kHintNoZ : kHintIncrement);
                ShowPassPlan(page);
            });
        }
    }
    OnFocus(txtConStockXY, [this] {
        ShowHint(kPageContour, kHintStock);
        lblConNumDCuts->clear();
        lblConNumFCuts->clear();
    });
    for (QWidget* count : std::initializer_list<QWidget*>{speConNRoughCuts, speConNFinishCuts})
        OnFocus(count, [this] { ShowHint(kPageContour, kHintPassCounts); });
    for (QWidget* size : std::initializer_list<QWidget*>{txtConRoughSize, txtConFinishSize})
        OnFocus(size, [this] { ShowHint(kPageContour, kHintCutSize); });
    OnFocus(txtPocStepOverPer, [this] { ShowHint(kPagePocket, kHintStepOver); });

    // Only the keys of numbers reach the number fields; the Z fields, the
    // stock and the pitch may be negative.
    for (QLineEdit* field : {txtConZRapid, txtConTopStock, txtConZDepthTot, txtConIncPassZ, txtDriZRapid,
             txtDriTopStock, txtDriZDepthTot, txtDriIncPassZ, txtPocZRapid, txtPocTopStock, txtPocZDepthTot,
             txtPocIncPassZ, txtConStockXY, txtPocStockXY, dri_txtPasso})
        InstallKeyFilter(*field, SoloNumeriEMeno);
    for (QLineEdit* field : {txtRapidFeedrate, txtConRoughSize, txtConFinishSize, txtPocStepOverPer,
             txtPocFinishSize, txtLInSize, txtLoutSize, txtCCoffset})
        InstallKeyFilter(*field, SoloNumeriPos);

    // Any other parameter lets the Calculate buttons run again.
    for (QLineEdit* field : {txtConStockXY, txtConRoughSize, txtConFinishSize, dri_txtPasso, txtPocStockXY,
             txtPocStepOverPer, txtPocFinishSize, txtLInSize, txtLoutSize})
        connect(field, &QLineEdit::textChanged, this, [this] { TogliAssoc(); });
    for (QSpinBox* count : {speConNRoughCuts, speConNFinishCuts, spePocNFinishCuts})
        connect(count, &QSpinBox::valueChanged, this, [this] { TogliAssoc(); });
    for (QCheckBox* check : {chkConWriteEof, Dri_chkWriteEof, chkPocSpiralInOut, chkPocWriteEof})
        connect(check, &QCheckBox::toggled, this, [this] { TogliAssoc(); });
    connect(cboCycle, &QComboBox::currentIndexChanged, this, [this] { TogliAssoc(); });

    cboCCDirChange();
    spePocNFinishCutsChange();
    ShowToolOffset();
    imgTool->setPixmap(ToolTypePixmap(TfrmTool::Flat));
    ShowHint(kPageContour, kHintIncrement);
    ShowHint(kPageDrill, kHintIncrement);
    ShowHint(kPagePocket, kHintIncrement);
}

// Navigation ---------------------------------------------------------------

namespace {

int MachiningPage()
{
    switch (MachiningType) {
    case TMachiningType::Drill:
        return kPageDrill;
    case TMachiningType::Pocket:
        return kPagePocket;
    default:
        return kPageContour;
    }
}

} // namespace

void TfrmMain::sbtCncClick()
{
    VisPagine({kPageCnc1});
}

void TfrmMain::sbtNextB1Click()
{
    VisPagine({kPageCnc2});
}

void TfrmMain::sbtPrevB2Click()
{
    VisPagine({kPageCnc1});
}

void TfrmMain::sbtNextB2Click()
{
    VisPagine({kPageChain});
}

void TfrmMain::sbtPrevB3Click()
{
    VisPagine({kPageCnc2});
}

void TfrmMain::sbtNextB3Click()
{
    const int page = MachiningPage();
    VisPagine({page});
    ShowPassPlan(page);
    switch (page) {
    case kPageContour:
        txtConZRapidClick();
        txtConZRapid->setFocus();
        break;
    case kPageDrill:
        txtDriZRapidClick();
        txtDriZRapid->setFocus();
        break;
    default:
        txtPocZRapidClick();
        txtPocZRapid->setFocus();
        break;
    }
}

void TfrmMain::sbtPrevB4CClick()
{
    LastKey = ESCAPE_KEY;
    VisPagine({kPageChain});
}

void TfrmMain::sbtNextB4CClick()
{
    LastKey = ESCAPE_KEY;
    VisPagine({kPageIso});
}

void TfrmMain::sbtPrevB5Click()
{
    ZDepthMode3D(false);
    CloseZDepth();
    OfferUndoLastOperation();
    VisPagine({MachiningPage()});
    // A program kept ("No") stays the one program of its Calculate; taking
    // it back has already let the buttons run again.
    if (MachiningType != TMachiningType::Drill && ChainList.Chains.empty())
        sbtConCalculate->setEnabled(false);
}

// The operation ------------------------------------------------------------

void TfrmMain::ShowChainGroups(bool drilling)
{
    grpChain->setVisible(!drilling);
    grpCutterComp->setVisible(!drilling);
    grpDrillPoints->setVisible(drilling);
}

void TfrmMain::rdbContourClick()
{
    const TMachiningType previous = MachiningType;
    MachiningType = TMachiningType::Contour;
    if (previous == TMachiningType::Drill)
        ClearDrillPoints();
    TogliAssoc();
    ShowChainGroups(false);
    cboCCDir->setEnabled(true);
    if (previous == TMachiningType::Pocket)
        cboCCDir->setCurrentIndex(SideBeforePocket);
    cboCCDirChange();
    sbtNextB3->setEnabled(!ChainList.Chains.empty());
}

void TfrmMain::rdbDrillClick()
{
    const TMachiningType previous = MachiningType;
    MachiningType = TMachiningType::Drill;
    if (previous != TMachiningType::Drill)
        ClearChains();
    TogliAssoc();
    ShowChainGroups(true);
    sbtNextB3->setEnabled(!ChainList.DrillPoints.empty());
    RedrawChains();
}

void TfrmMain::rdbPocketClick()
{
    const TMachiningType previous = MachiningType;
    MachiningType = TMachiningType::Pocket;
    if (previous == TMachiningType::Drill)
        ClearDrillPoints();
    TogliAssoc();
    ShowChainGroups(false);
    // The pocket cuts inside its chains: the side is forced and the user's
    // own choice kept for the contour.
    if (previous != TMachiningType::Pocket)
        SideBeforePocket = std::max(cboCCDir->currentIndex(), kSideOff);
    cboCCDir->setCurrentIndex(kSideRight);
    cboCCDirChange();
    cboCCDir->setEnabled(false);
    for (QWidget* lead : std::initializer_list<QWidget*>{cboLeadIn, cboLeadOut, txtLInSize, txtLoutSize, lblInLead,
             lblOutLead})
        lead->setEnabled(false);
    sbtNextB3->setEnabled(!ChainList.Chains.empty());
}

// Compensation and passes --------------------------------------------------

void TfrmMain::cboCCDirChange()
{
    if (cboCCDir == nullptr || speConNRoughCuts == nullptr)
        return;
    const bool side = cboCCDir->currentIndex() > kSideOff;
    if (!side) {
        cboLeadIn->setCurrentIndex(0);
        cboLeadOut->setCurrentIndex(0);
        speConNRoughCuts->setValue(1);
        speConNFinishCuts->setValue(0);
    }
    for (QWidget* control : std::initializer_list<QWidget*>{cboLeadIn, cboLeadOut, speConNRoughCuts,
             speConNFinishCuts, txtConStockXY})
        control->setEnabled(side);
    cboLeadInChange();
    cboLeadOutChange();
    speConNRoughCutsChange();
    speConNFinishCutsChange();
    RedrawChains();
}

void TfrmMain::cboLeadInChange()
{
    const bool on = cboLeadIn->isEnabled() && cboLeadIn->currentIndex() > 0;
    txtLInSize->setEnabled(on);
    lblInLead->setEnabled(on);
}

void TfrmMain::cboLeadOutChange()
{
    const bool on = cboLeadOut->isEnabled() && cboLeadOut->currentIndex() > 0;
    txtLoutSize->setEnabled(on);
    lblOutLead->setEnabled(on);
}

namespace {

// A size field that only counts while its pass count asks for it.
void EnableCutSize(QLineEdit* size, bool on)
{
    size->setEnabled(on);
    if (!on)
        size->setText(QStringLiteral("0.0"));
}

} // namespace

void TfrmMain::speConNRoughCutsChange()
{
    EnableCutSize(txtConRoughSize, speConNRoughCuts->isEnabled() && speConNRoughCuts->value() > 1);
}

void TfrmMain::speConNFinishCutsChange()
{
    EnableCutSize(txtConFinishSize, speConNFinishCuts->isEnabled() && speConNFinishCuts->value() >= 1);
}

void TfrmMain::spePocNFinishCutsChange()
{
    EnableCutSize(txtPocFinishSize, spePocNFinishCuts->value() >= 1);
}

void TfrmMain::txtCCoffsetChange()
{
    bool ok = false;
    const double radius = QLocale::c().toDouble(txtCCoffset->text().trimmed(), &ok);
    OffsetRadius = ok ? static_cast<float>(radius) : 0.0f;
}

// A changed Z field lets the Calculate buttons run again; showing the plan
// (a field taking the focus, the page coming up) does not, so that a program
// kept on the NC page is not written a second time.
void TfrmMain::ZFieldChange(int page)
{
    ShowPassPlan(page);
    TogliAssoc();
}

// Hint pictures ------------------------------------------------------------

void TfrmMain::ShowHint(int page, int k)
{
    QLabel* picture = page == kPageContour ? imgContour : page == kPageDrill ? imgDrill : imgPocket;
    picture->setPixmap(CncHintPixmap(k, kHintPictureSize));
}

void TfrmMain::txtConZRapidClick()
{
    if (imgContour == nullptr)
        return;
    ShowHint(kPageContour, PostSettings.LYarvPost ? kHintNoZ : kHintIncrement);
    txtConStockXY->setEnabled(cboCCDir->currentIndex() > kSideOff);
}

void TfrmMain::txtDriZRapidClick()
{
    if (imgDrill != nullptr)
        ShowHint(kPageDrill, PostSettings.OmitZ ? kHintNoZ : kHintIncrement);
}

void TfrmMain::txtPocZRapidClick()
{
    ShowHint(kPagePocket, PostSettings.OmitZ ? kHintNoZ : kHintIncrement);
}

// The post-processor -------------------------------------------------------

void TfrmMain::FillPostNames()
{
    const QDir folder(ProgramFolder() + QStringLiteral("/pst"));
    QStringList names;
    for (const QString& file : folder.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase))
        if (file.endsWith(QStringLiteral(".pst"), Qt::CaseInsensitive))
            names << file.left(file.size() - 4);
    const QSignalBlocker quiet(cboPostName);
    cboPostName->clear();
    cboPostName->addItems(names);
    cboPostName->setCurrentIndex(
        static_cast<int>(names.indexOf(QRegularExpression(QRegularExpression::escape(QString::fromStdString(PostName)),
            QRegularExpression::CaseInsensitiveOption))));
}

void TfrmMain::LoadNamedPost()
{
    try {
        if (PostFilePath(ProgramFolder()).isEmpty()) {
            // The defaults stand in, but the user should know the chosen post is not what writes.
            PostSettings = TPostSettings();
            ShowCADMessage(POST_NOT_FOUND);
        }
        LoadPostProcessor(ProgramFolder());
    } catch (const EPostError&) {
        // Reported by the loader; the values read so far stay.
    }
    stxPstCommento->setText(QString::fromStdString(PostSettings.PostComment));
    EnableZControl(!PostSettings.OmitZ);
}

void TfrmMain::cboPostNameChange()
{
    if (cboPostName->currentIndex() < 0)
        return;
    PostName = cboPostName->currentText().toStdString();
    LoadNamedPost();
}

void TfrmMain::EnableZControl(bool on)
{
    for (QLabel* label : {lblConZRapid, lblConTopStock, lblConZDepthTot, lblConIncPassZ})
        label->setEnabled(on);
    if (!on) {
        lblConNumDCuts->clear();
        lblConNumFCuts->setText(GetLangString(724));
    }
}

// The tool -----------------------------------------------------------------

void TfrmMain::ShowToolOffset()
{
    const double diameter = QLocale::c().toDouble(QString::fromStdString(NcJobValues.ToolDiameter).trimmed());
    txtCCoffset->setText(QString::number(diameter / 2.0, 'f', 3));
}

void TfrmMain::sbtToolSelectClick()
{
    if (frmTool == nullptr)
        return;
    // The dialog opens on the tool the job uses now.
    frmTool->SingleTool = true;
    frmTool->sedToolNum->setValue(NcJobValues.ToolNumber);
    frmTool->txtUtName->setText(QString::fromStdString(NcJobValues.ToolName));
    frmTool->txtDiametro->setText(QString::fromStdString(NcJobValues.ToolDiameter));
    frmTool->txtGiri->setText(QString::fromStdString(NcJobValues.SpindleSpeed));
    frmTool->txtFeedrate->setText(QString::fromStdString(NcJobValues.FeedRate));
    frmTool->txtPlungeRate->setText(QString::fromStdString(NcJobValues.PlungeRate));
    frmTool->chkCoolant->setChecked(NcJobValues.Coolant);
    if (frmTool->exec() == 1)
        ApplyToolValues();
}

void TfrmMain::ApplyToolValues()
{
    const auto positive = [](const QLineEdit* field) {
        bool ok = false;
        const double value = QLocale::c().toDouble(field->text().trimmed(), &ok);
        return ok && value > 0.0;
    };
    if (!positive(frmTool->txtDiametro) || !positive(frmTool->txtFeedrate) || !positive(frmTool->txtPlungeRate)
        || !positive(frmTool->txtGiri)) {
        // Nothing of a tool that cannot cut replaces the one the job has.
        ApplicationMessageBox(QStringLiteral("The tool needs a diameter, a speed and feed rates above 0."),
                              GetLangString(450), kMbOk + kMbIconWarning);
        return;
    }
    NcJobValues.ToolNumber = frmTool->sedToolNum->value();
    NcJobValues.ToolName = frmTool->txtUtName->text().toStdString();
    NcJobValues.ToolDiameter = frmTool->txtDiametro->text().trimmed().toStdString();
    NcJobValues.SpindleSpeed = frmTool->txtGiri->text().trimmed().toStdString();
    NcJobValues.FeedRate = frmTool->txtFeedrate->text().trimmed().toStdString();
    NcJobValues.PlungeRate = frmTool->txtPlungeRate->text().trimmed().toStdString();
    NcJobValues.Coolant = frmTool->chkCoolant->isChecked();
    frmTool->RememberedType = frmTool->cboTipoUt->currentIndex();
    imgTool->setPixmap(ToolTypePixmap(frmTool->RememberedType));
    ShowToolOffset();
    TogliAssoc();
}
