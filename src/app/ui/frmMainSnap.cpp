// The object-snap mode: two menus that mirror each other (the snap button's
// and the "Snap to..." submenu of the view's context menu) and the snap
// button's picture.

#include <QAction>
#include <QFrame>
#include <QMenu>
#include <QToolButton>

#include "app/SnapGlyph.h"
#include "app/ui/controls/MenuSpeedButtons.h"
#include "app/ui/frmMain.h"
#include "app/ui/glyphs/Glyphs.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/engine/EngineGlobals.h"
#include "cad/shapes/Punto2D.h"
#include "cad/ui/CADViewport.h"

namespace {

QAction* AddItem(QMenu* menu, const char* name, const QString& text)
{
    QAction* item = menu->addAction(text);
    item->setObjectName(QString::fromLatin1(name));
    item->setCheckable(true);
    return item;
}

} // namespace

void TfrmMain::CreateSnapMenus()
{
    PopupSnap = new QMenu(this);
    PopupSnap->setObjectName(QStringLiteral("PopupSnap"));
    PopupSnap->addAction(QStringLiteral("Snap to:"))->setEnabled(false);
    mnuEndpoint = AddItem(PopupSnap, "mnuEndpoint", QStringLiteral("Endpoint"));
    mnuMidpoint = AddItem(PopupSnap, "mnuMidpoint", QStringLiteral("Midpoint"));
    mnuCenter = AddItem(PopupSnap, "mnuCenter", QStringLiteral("Center"));
    mnuPoint = AddItem(PopupSnap, "mnuPoint", QStringLiteral("Point"));
    mnuAuto = AddItem(PopupSnap, "mnuAuto", QStringLiteral("Auto"));
    PopupSnap->addSeparator();
    sbmSnap2Grid = AddItem(PopupSnap, "sbmSnap2Grid", QStringLiteral("Grid"));
    sbmSnap->SetActiveMenu(PopupSnap);

    PopupDestro = new QMenu(this);
    PopupDestro->setObjectName(QStringLiteral("PopupDestro"));
    mnuSnapTo = PopupDestro->addMenu(QStringLiteral("Snap to..."));
    mnuSnapTo->setObjectName(QStringLiteral("mnuSnapTo"));
    mnuEndpoint2 = AddItem(mnuSnapTo, "mnuEndpoint2", QStringLiteral("Endpoint"));
    mnuMidpoint2 = AddItem(mnuSnapTo, "mnuMidpoint2", QStringLiteral("Midpoint"));
    mnuCenter2 = AddItem(mnuSnapTo, "mnuCenter2", QStringLiteral("Center"));
    mnuPoint2 = AddItem(mnuSnapTo, "mnuPoint2", QStringLiteral("Point"));
    mnuAuto2 = AddItem(mnuSnapTo, "mnuAuto2", QStringLiteral("Auto"));
    mnuSnapTo->addSeparator();
    mnuSnap2Grid2 = AddItem(mnuSnapTo, "mnuSnap2Grid2", QStringLiteral("Grid"));

    pnlVistaGrafica->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(pnlVistaGrafica, &QWidget::customContextMenuRequested, this,
        [this](const QPoint& at) { PopupDestro->popup(pnlVistaGrafica->mapToGlobal(at)); });

    SnapItems = {
        {mnuEndpoint, mnuEndpoint2, SNAP_ENDPOINT},
        {mnuMidpoint, mnuMidpoint2, SNAP_MIDPOINT},
        {mnuCenter, mnuCenter2, SNAP_CENTRE},
        {mnuPoint, mnuPoint2, SNAP_POINT},
        {mnuAuto, mnuAuto2, SNAP_AUTO},
    };
    for (const TSnapItem& item : SnapItems) {
        connect(item.First, &QAction::triggered, this, [this, item] { SnapItemClick(item); });
        connect(item.Second, &QAction::triggered, this, [this, item] { SnapItem2Click(item); });
    }
}

void TfrmMain::SnapItem2Click(const TSnapItem& item)
{
    item.First->setChecked(item.Second->isChecked());
    SnapItemClick(item);
}

void TfrmMain::SnapItemClick(const TSnapItem& item)
{
    const bool checked = item.First->isChecked();
    item.Second->setChecked(checked);
    for (const TSnapItem& other : SnapItems) {
        if (other.First == item.First)
            continue;
        other.First->setChecked(false);
        other.Second->setChecked(false);
    }
    // Point snap considers point objects only.
    VistaGrafica->Core2D().PickClass = mnuPoint->isChecked() ? TObject2DClass::Of<TPunto2D>() : TObject2DClass();
    SnapMode = checked ? item.Mode : SNAP_OFF;
    ImpostaGlyph();
}

bool TfrmMain::GridSnapOn() const
{
    return LocalPrgValue->UseSnap;
}

void TfrmMain::ImpostaGlyph()
{
    sbmSnap->setIcon(SnapGlyphIcon(SnapGlyphIndex(SnapMode, GridSnapOn())));
}
