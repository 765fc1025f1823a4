#include "app/ui/frmMain.h"
#include "view3d/ui/NcScene3D.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QStackedWidget>
#include <QToolButton>

#include "app/Language.h"
#include "app/LanguageMessages.h"
#include "app/ui/controls/MenuSpeedButtons.h"
#include "app/ui/controls/MruBar.h"
#include "app/ui/glyphs/Glyphs.h"
#include "cad/canvas/DecorativeCanvas.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/ui/CADViewport.h"
#include "edit/ui/EditPages.h"

namespace {

constexpr int kButtonSize = 25;
constexpr int kRightColumnWidth = 221;
constexpr int kStatusHeight = 25;

QFrame* MakePanel(QWidget* parent, const char* name, QFrame::Shadow shadow)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::Panel | shadow);
    return panel;
}

QLabel* MakeStatusLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setIndent(4);
    return label;
}

template <typename TButton = QToolButton>
TButton* MakeButton(QWidget* parent, const char* name, TGlyph glyph, const QString& hint, bool toggle = false)
{
    auto* button = new TButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(GlyphIcon(glyph));
    button->setIconSize(QSize(kGlyphSize, kGlyphSize));
    button->setFixedSize(kButtonSize, kButtonSize);
    button->setAutoRaise(true);
    button->setToolTip(hint);
    button->setCheckable(toggle);
    // Speed buttons never take the focus from the field the user types in.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// A tool bar group: its buttons side by side; hiding one closes the gap.
QFrame* MakeGroup(QWidget* parent, const char* name)
{
    QFrame* group = MakePanel(parent, name, QFrame::Raised);
    auto* row = new QHBoxLayout(group);
    row->setContentsMargins(3, 3, 3, 3);
    row->setSpacing(0);
    row->setSizeConstraint(QLayout::SetFixedSize);
    return group;
}

template <typename TButton = QToolButton>
TButton* AddButton(QFrame* group, const char* name, TGlyph glyph, const QString& hint, bool toggle = false)
{
    TButton* button = MakeButton<TButton>(group, name, glyph, hint, toggle);
    group->layout()->addWidget(button);
    return button;
}

// A split button: the command half in the row, the arrow half flush at its
// right in the gap the row leaves for it.
TYarvLinkedSpeedButton* AddSplitButton(QFrame* group, const char* name, const char* arrowName, TGlyph glyph,
                                       const QString& hint, TYarvLinkedMenuSpeedButton*& arrow)
{
    auto* button = AddButton<TYarvLinkedSpeedButton>(group, name, glyph, hint);
    button->setFixedWidth(kButtonSize - 2);
    static_cast<QHBoxLayout*>(group->layout())->addSpacing(TYarvLinkedMenuSpeedButton::kWidth);
    arrow = new TYarvLinkedMenuSpeedButton(group);
    arrow->setObjectName(QString::fromLatin1(arrowName));
    button->SetMenuButton(arrow);
    return button;
}

} // namespace

TfrmMain::TfrmMain(QWidget* parent)
    : QWidget(parent)
    , LocalCadValue(std::make_unique<TCADCmp2D>())
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Kestro"));
    setMinimumSize(kDesignedClientWidth, kDesignedClientHeight);

    pnlVistaGrafica = MakePanel(this, "pnlVistaGrafica", QFrame::Sunken);
    CreateView();
    CreateView3D();

    CreateToolBars();
    ResetSplitButtons();
    CreatePages();
    CreateOpenPages();
    CreateSettingsPage();
    CreatePlacementPages();
    CreateSelectionPages();
    CreateTransformPages();
    CreateDrawingPages();
    CreateEditPages(*this);
    CreateVectTracePage();
    CreateChainPage();
    CreateCncPages();
    CreateNcPage();
    CreateStatusRow();
    CreateSnapMenus();
    CreateMenus();
    CreateNavigation();
    pnlMRU = new TMruBar(this);
    pnlMRU->SetGlyphSource(CommandGlyphIcon);
    pnlMRU->raise();

    // The window sees every key before the control that has the focus.
    qApp->installEventFilter(this);

    resize(kDesignedClientWidth, kDesignedClientHeight);
    LayoutControls();
    ImpostaGlyph();
    CurrLayerInfo();
    CreateOffsetPage();
    CreateCommands();
    ConnectNcJob();
}

TfrmMain::~TfrmMain()
{
    qApp->removeEventFilter(this);
    TCADViewportCore& view = VistaGrafica->Core();
    view.OnMouseEnter = nullptr;
    view.OnMouseLeave = nullptr;
    // The runner lets the view go before the view and the drawing go.
    LocalPrgValue.reset();
    ReleaseView3D();
}

void TfrmMain::CreateToolBars()
{
    pnlCmd = MakePanel(this, "pnlCmd", QFrame::Raised);
    pnlCmd->resize(kRightColumnWidth, 135);
    pnlCmd->setMouseTracking(true);
    pnlCmd->installEventFilter(this);

    pnlTbr1 = MakeGroup(pnlCmd, "pnlTbr1");
    sbtNew = AddButton(pnlTbr1, "sbtNew", TGlyph::New, QStringLiteral("New"));
    sbtOpen = AddButton(pnlTbr1, "sbtOpen", TGlyph::Open, QStringLiteral("Open"));
    sbtSave = AddButton(pnlTbr1, "sbtSave", TGlyph::Save, QStringLiteral("Save"));
    sbtVect = AddButton(pnlTbr1, "sbtVect", TGlyph::Vectorize, QStringLiteral("Vectorize"));
    sbtCnc = AddButton(pnlTbr1, "sbtCnc", TGlyph::Cnc, QStringLiteral("Create Nc program"));
    sbtSetting = AddButton(pnlTbr1, "sbtSetting", TGlyph::Settings, QStringLiteral("Settings"));
    sbtAbout = AddButton<TYarvMenuSpeedButton>(pnlTbr1, "sbtAbout", TGlyph::About, QStringLiteral("About"));
    sbtExit = AddButton(pnlTbr1, "sbtExit", TGlyph::Exit, QStringLiteral("Close application"));

    pnlTbr2 = MakeGroup(pnlCmd, "pnlTbr2");
    sbtAutozoom = AddButton(pnlTbr2, "sbtAutozoom", TGlyph::ZoomExtents, QStringLiteral("Autozoom"));
    sbtZoomBack = AddButton(pnlTbr2, "sbtZoomBack", TGlyph::ZoomOut, QStringLiteral("Zoom -"));
    sbtZoomIn = AddButton(pnlTbr2, "sbtZoomIn", TGlyph::ZoomIn, QStringLiteral("Zoom +"));
    sbtZoomWin = AddButton(pnlTbr2, "sbtZoomWin", TGlyph::ZoomWindow, QStringLiteral("Zoom window"), true);
    sbtPan = AddButton(pnlTbr2, "sbtPan", TGlyph::Pan, QStringLiteral("Pan"), true);
    sbtRedraw = AddButton(pnlTbr2, "sbtRedraw", TGlyph::Redraw, QStringLiteral("Redraw"));

    pnlTbr3 = MakeGroup(pnlCmd, "pnlTbr3");
    sbtRectangle = AddButton(pnlTbr3, "sbtRectangle", TGlyph::Rectangle, QStringLiteral("Rectangle"));
    sbtPoly = AddButton(pnlTbr3, "sbtPoly", TGlyph::Polyline, QStringLiteral("Polyline"));
    sbtSpline = AddButton(pnlTbr3, "sbtSpline", TGlyph::Spline, QStringLiteral("Spline"));
    sbtTTFConv = AddButton(pnlTbr3, "sbtTTFConv", TGlyph::VectorText, QStringLiteral("Create vector font"));
    lsbArc = AddSplitButton(pnlTbr3, "lsbArc", "lnkMenuArc", TGlyph::Circle, QStringLiteral("Circle: centre and point"), lnkMenuArc);
    lsbLine = AddSplitButton(pnlTbr3, "lsbLine", "lnkMenuLinea", TGlyph::Line, QStringLiteral("Line"), lnkMenuLinea);
    lsbPoint = AddSplitButton(pnlTbr3, "lsbPoint", "lnkMenuPunto", TGlyph::Point, QStringLiteral("Point"), lnkMenuPunto);

    pnlTbr4 = MakeGroup(pnlCmd, "pnlTbr4");
    lsbModify = AddSplitButton(pnlTbr4, "lsbModify", "lnkMenuModify", TGlyph::Fillet, QStringLiteral("Fillet"), lnkMenuModify);
    lsbXform = AddSplitButton(pnlTbr4, "lsbXform", "lnkMenuXform", TGlyph::Translate, QStringLiteral("Translate"), lnkMenuXform);
    lsbDelete = AddSplitButton(pnlTbr4, "lsbDelete", "lnkMenuDelete", TGlyph::Delete, QStringLiteral("Delete"), lnkMenuDelete);
    lsbAnalyze = AddSplitButton(pnlTbr4, "lsbAnalyze", "lnkMenuAnalisi", TGlyph::Info, QStringLiteral("Entity information"), lnkMenuAnalisi);

    int top = 2;
    for (QFrame* group : {pnlTbr1, pnlTbr2, pnlTbr3, pnlTbr4}) {
        group->move(2, top);
        top += 33;
    }

    connect(sbtRedraw, &QToolButton::clicked, this, &TfrmMain::sbtRedrawClick);
    connect(sbtExit, &QToolButton::clicked, this, &TfrmMain::sbtExitClick);
    connect(sbtSave, &QToolButton::clicked, this, &TfrmMain::sbtSaveClick);
}

void TfrmMain::CreateStatusRow()
{
    nol_pnlStatus1 = MakeStatusLabel(this, "nol_pnlStatus1");
    ProgressBar1 = new QProgressBar(nol_pnlStatus1);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setGeometry(2, 2, 156, kStatusHeight - 4);
    ProgressBar1->hide();

    pnlStatus2 = MakeStatusLabel(this, "pnlStatus2");

    pnlStatus3 = MakePanel(this, "pnlStatus3", QFrame::Sunken);
    pnlStatus3->resize(179, kStatusHeight);
    auto* toggles = new QHBoxLayout(pnlStatus3);
    toggles->setContentsMargins(2, 0, 2, 0);
    toggles->setSpacing(0);
    sbmSnap = MakeButton<TYarvMenuSpeedButton>(pnlStatus3, "sbmSnap", TGlyph::Grid, QStringLiteral("Snap"));
    sbmSnap->installEventFilter(this);
    sbtUseOrtho = MakeButton(pnlStatus3, "sbtUseOrtho", TGlyph::Ortho, QStringLiteral("Ortho mode"), true);
    sbtAxisOnOff = MakeButton(pnlStatus3, "sbtAxisOnOff", TGlyph::Axes, QStringLiteral("Show axes"), true);
    sbtWinSel = MakeButton(pnlStatus3, "sbtWinSel", TGlyph::WindowSelect, QStringLiteral("Window select"), true);
    sbtGridOnOff = MakeButton(pnlStatus3, "sbtGridOnOff", TGlyph::Grid, QStringLiteral("Show grid"), true);
    sbtCancel = MakeButton(pnlStatus3, "sbtCancel", TGlyph::Stop, QStringLiteral("Stop operation"));
    sbtDone = MakeButton(pnlStatus3, "sbtDone", TGlyph::Accept, QStringLiteral("Accept operation"));
    for (QToolButton* button : std::initializer_list<QToolButton*>{sbmSnap, sbtUseOrtho, sbtAxisOnOff, sbtWinSel, sbtGridOnOff, sbtCancel, sbtDone})
        toggles->addWidget(button);
    toggles->addStretch();
    connect(sbtAxisOnOff, &QToolButton::clicked, this, &TfrmMain::sbtAxisOnOffClick);

    pnlStatus4 = MakePanel(this, "pnlStatus4", QFrame::Sunken);
    pnlStatus4->resize(128, kStatusHeight);
    sbtLayer = new QToolButton(pnlStatus4);
    sbtLayer->setObjectName(QStringLiteral("sbtLayer"));
    sbtLayer->setText(QStringLiteral("Current layer:"));
    sbtLayer->setToolButtonStyle(Qt::ToolButtonTextOnly);
    sbtLayer->setAutoRaise(true);
    sbtLayer->setFocusPolicy(Qt::NoFocus);
    sbtLayer->setGeometry(2, 2, 100, kStatusHeight - 4);
    imgLayerCol = new QLabel(pnlStatus4);
    imgLayerCol->setObjectName(QStringLiteral("imgLayerCol"));
    imgLayerCol->setGeometry(106, 4, 16, 16);
}

void TfrmMain::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutControls();
}

void TfrmMain::LayoutControls()
{
    const int clientWidth = width();
    const int clientHeight = height();
    pnlVistaGrafica->setGeometry(5, 5, clientWidth - 237, clientHeight - 37);
    for (QWidget* view : pnlVistaGrafica->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        view->setGeometry(pnlVistaGrafica->contentsRect());

    pnlCmd->move(clientWidth - 226, 5);
    PageControl1->setGeometry(clientWidth - 226, 143, kRightColumnWidth, clientHeight - 177);

    const int statusTop = clientHeight - 29;
    nol_pnlStatus1->setGeometry(4, statusTop, 160, kStatusHeight);
    pnlStatus2->setGeometry(168, statusTop, clientWidth - 488, kStatusHeight);
    pnlStatus3->move(pnlStatus2->x() + pnlStatus2->width() + 4, statusTop);
    pnlStatus4->move(pnlStatus3->x() + 183, statusTop);
}

void TfrmMain::Messaggio(const QString& text)
{
    pnlStatus2->setText(text);
    pnlStatus2->repaint();
}

QString TfrmMain::StatusText() const
{
    return pnlStatus2->text();
}

void TfrmMain::MRUadd(std::int32_t key, const QString& hint, TMruHandler handler)
{
    pnlMRU->MRUadd(key, hint, std::move(handler));
}

void TfrmMain::AbilitaPnl(bool file, bool view, bool draw, bool modify)
{
    for (QWidget* control : std::initializer_list<QWidget*>{pnlTbr1, sbtAbout, sbtNew, sbtOpen, sbtExit, sbtSave,
             sbtCnc, sbtSetting, sbtVect, sbtLayer, sbtUseOrtho, sbtAxisOnOff, sbtWinSel, sbtGridOnOff})
        control->setEnabled(file);
    pnlTbr2->setEnabled(view);
    for (QWidget* control : std::initializer_list<QWidget*>{pnlTbr3, lsbPoint, lsbLine, sbtRectangle, lsbArc,
             sbtPoly, sbtSpline, sbtTTFConv})
        control->setEnabled(draw);
    for (QWidget* control : std::initializer_list<QWidget*>{pnlTbr4, lsbDelete, lsbAnalyze, lsbModify, lsbXform})
        control->setEnabled(modify);
    if (CommandsValue)
        CommandsValue->ToolbarsEnabled = file && view && draw && modify;
}

void TfrmMain::TogliAssoc()
{
    // The CNC pages' buttons; found by name, since those pages fill themselves.
    for (const char* name : {"sbtConCalculate", "sbtDriCalculate", "sbtPocCalculate"})
        if (auto* button = findChild<QAbstractButton*>(QString::fromLatin1(name)))
            button->setEnabled(true);
}

void TfrmMain::CurrLayerInfo()
{
    const int layer = LocalCad().CurrentLayer;
    sbtLayer->setText(GetLangString(kMsgCurrentLayer) + QLatin1Char(' ') + QString::number(layer));
    CurrLayerCol(LocalCad().Layers().GetLayer(layer).Pen().Color);
}

void TfrmMain::CurrLayerCol(TColor color)
{
    QPixmap swatch(imgLayerCol->size());
    swatch.fill(ToQColor(color));
    QPainter painter(&swatch);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    painter.end();
    imgLayerCol->setPixmap(swatch);
}
