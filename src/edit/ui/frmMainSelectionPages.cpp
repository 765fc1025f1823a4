// The pages of the selection commands (change layer, simplify, small
// entities, explode report), undelete, and the whole-drawing mirror and scale.

#include <functional>
#include <optional>

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/Language.h"
#include "app/NumericText.h"
#include "app/ui/PageWidgets.h"
#include "app/ui/controls/NumericKeyFilter.h"
#include "app/ui/frmMain.h"
#include "cad/canvas/ImageCanvas.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/ui/CADViewport.h"
#include "edit/entities/DeletedEntities.h"
#include "edit/entities/SelectionOps.h"
#include "edit/commands/SelectionState.h"
#include "import/Placement.h"

namespace {

constexpr int kChangeLayerPage = 14;
constexpr int kSimplifyPage = 17;
constexpr int kDelSmallPage = 22;
constexpr int kExplodePage = 29;

std::string Message(int message)
{
    return GetLangString(message).toStdString();
}

} // namespace

void TfrmMain::CreateSelectionPages()
{
    // Undelete acts at once when the framework starts it.
    CommandActions[24] = [this] { MyUndeleteClick(); };
    QWidget* layerPage = Page(kChangeLayerPage);
    auto* layerLayout = new QVBoxLayout(layerPage);
    layerLayout->addWidget(new QLabel(QStringLiteral("Move to layer:"), layerPage));
    cboLayerTo = NamedControl(new QComboBox(layerPage), "cboLayerTo");
    layerLayout->addWidget(cboLayerTo);
    layerLayout->addStretch();
    connect(cboLayerTo, &QComboBox::currentIndexChanged, this,
            [](int index) { SelectionActions.TargetLayer = index < 0 ? 0 : index; });
    // The layers are listed afresh whenever the page is shown.
    new TEventAction(
        *layerPage, [](QEvent& event, bool&) { return event.type() == QEvent::Show; }, [this] { FillLayerTo(); });

    QWidget* simplifyPage = Page(kSimplifyPage);
    auto* simplifyLayout = new QVBoxLayout(simplifyPage);
    simplifyLayout->addWidget(new QLabel(QStringLiteral("Tolerance:"), simplifyPage));
    txtFiltroPoly = NamedControl(new QLineEdit(QStringLiteral("0.025"), simplifyPage), "txtFiltroPoly");
    InstallKeyFilter(*txtFiltroPoly, SoloNumeriPos);
    simplifyLayout->addWidget(txtFiltroPoly);
    lblFiltro = NamedControl(new QLabel(simplifyPage), "lblFiltro");
    simplifyLayout->addWidget(lblFiltro);
    simplifyLayout->addStretch();
    connect(txtFiltroPoly, &QLineEdit::textChanged, this,
            [](const QString& text) { SelectionActions.ToleranceText = text.toStdString(); });

    QWidget* smallPage = Page(kDelSmallPage);
    auto* smallLayout = new QVBoxLayout(smallPage);
    smallLayout->addWidget(new QLabel(QStringLiteral("Box limit:"), smallPage));
    txtSmallX = NamedControl(new QLineEdit(QStringLiteral("0.025"), smallPage), "txtSmallX");
    InstallKeyFilter(*txtSmallX, SoloNumeriPos);
    smallLayout->addWidget(txtSmallX);
    sbtDelSmall = PageTextButton(smallPage, "sbtDelSmall", QStringLiteral("Delete All"));
    sbtIdentSmallEnt = PageTextButton(smallPage, "sbtIdentSmallEnt", QStringLiteral("Identify All"));
    smallLayout->addWidget(sbtDelSmall);
    smallLayout->addWidget(sbtIdentSmallEnt);
    stxReportSmall = NamedControl(new QLabel(smallPage), "stxReportSmall");
    smallLayout->addWidget(stxReportSmall);
    smallLayout->addStretch();
    connect(sbtDelSmall, &QToolButton::clicked, this, &TfrmMain::sbtDelSmallClick);
    connect(sbtIdentSmallEnt, &QToolButton::clicked, this, &TfrmMain::sbtIdentSmallEntClick);

    QWidget* explodePage = Page(kExplodePage);
    auto* explodeLayout = new QVBoxLayout(explodePage);
    stxInfoEsplode = NamedControl(new QLabel(explodePage), "stxInfoEsplode");
    stxInfoEsplode->setWordWrap(true);
    explodeLayout->addWidget(stxInfoEsplode);
    explodeLayout->addStretch();

    ShowTransformRepeat = [this](const char* field, int repeat) {
        if (auto* edit = findChild<QLineEdit*>(QString::fromLatin1(field)))
            edit->setText(QString::number(repeat));
    };
    SelectionActions.Text = Message;
    SelectionActions.ShowExplodeReport = [this](const std::string& text) {
        stxInfoEsplode->setText(QString::fromStdString(text));
    };
    SelectionActions.ShowSimplifyReport = [this](const std::string& text) {
        // The report's line break is CR LF in the wrong order; a label wants a plain one.
        lblFiltro->setText(QString::fromStdString(text).replace(QStringLiteral("\n\r"), QStringLiteral("\n")));
    };
}

void TfrmMain::FillLayerTo()
{
    const std::vector<std::string> items = ChangeLayerItems(LocalCad().Layers());
    cboLayerTo->clear();
    for (const std::string& item : items)
        cboLayerTo->addItem(QString::fromStdString(item));
    cboLayerTo->setCurrentIndex(LocalCad().CurrentLayer);
}

void TfrmMain::MyUndeleteClick()
{
    if (DeletedEntities && Undelete(LocalCad(), *DeletedEntities))
        VistaGrafica->Core().Repaint();
}

void TfrmMain::sbtDelSmallClick()
{
    const std::optional<float> limit = ParseFieldNumber(txtSmallX->text().toStdString());
    if (!limit)
        return;
    const int count = DeleteSmallEntities(LocalCad(), *limit);
    if (DeletedEntities && LocalCad().ObjectsCount() == 0)
        DeletedEntities->clear();
    VistaGrafica->Core().Repaint();
    stxReportSmall->setText(QString::fromStdString(SmallEntitiesReport(count, true, Message)));
}

void TfrmMain::sbtIdentSmallEntClick()
{
    const std::optional<float> limit = ParseFieldNumber(txtSmallX->text().toStdString());
    if (!limit)
        return;
    const std::vector<TSmallEntity> small = FindSmallEntities(LocalCad(), *limit);
    TCADViewportCore& view = VistaGrafica->Core();
    {
        TImageCanvas::TScope scope(view.OnScreen());
        if (QPainter* painter = scope.Canvas().GetPainter()) {
            painter->setPen(QPen(Qt::red, 1));
            for (const TSmallEntity& entity : small) {
                const TPoint2D at = CartesianPoint2D(view.WorldToScreen(entity.Corner));
                const QPointF p(at.X, at.Y);
                painter->drawLine(p - QPointF(4, 4), p + QPointF(4, 4));
                painter->drawLine(p - QPointF(4, -4), p + QPointF(4, -4));
            }
        }
    }
    VistaGrafica->update();
    stxReportSmall->setText(
        QString::fromStdString(SmallEntitiesReport(static_cast<int>(small.size()), false, Message)));
}

void TfrmMain::sbtMirrorAllClick(int axisChoice)
{
    // Two points make a mirror line only for a picked selection.
    if (axisChoice < 1 || axisChoice > 3)
        return;
    MirrorAll(LocalCad(), axisChoice);
    VistaGrafica->Core().Repaint();
    // The running mirror task has nothing left to do. Objects picked before
    // the button would otherwise be mirrored a second time by the next move
    // of the mouse: the task is cancelled when accepting did not end it.
    LocalPrg().SendUserEvent(1);
    if (LocalPrg().IsBusy())
        LocalPrg().SendUserEvent(2);
}

void TfrmMain::sbtScaleAllClick(float sx, float sy)
{
    ScalaTutto(LocalCad(), sx, sy);
    VistaGrafica->Core().Repaint();
}
