// The placement page of the main window (page 13, "Reference setting") and
// the "Scale to:" group of the information page (page 5): the handlers read
// and write the controls; the placement itself is TPlacement's.

#include <functional>
#include <memory>
#include <optional>

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/NumericText.h"
#include "app/ui/PageWidgets.h"
#include "app/ui/controls/NumericKeyFilter.h"
#include "app/ui/frmMain.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/ui/CADViewport.h"
#include "cad/view/CADViewport2DCore.h"
#include "cam/nc/NcWords.h"
#include "import/LoadedFile.h"
#include "import/Placement.h"

namespace {

constexpr int kAttribPage = 5;
constexpr int kOpenPage = 13;

QString SepNumber(double value)
{
    return QString::fromStdString(FormatSepNumber(value));
}

// The window's view and picture as the placement needs them.
class TFrmPlacementHost : public TPlacementHost {
public:
    explicit TFrmPlacementHost(TfrmMain& form) : Form(form) {}

    void PanView(float dx, float dy) override { Form.VistaGrafica->Core().PanWindow(dx, dy); }
    void ShowRaster() override { Form.ShowRaster(false, true); }
    void Repaint() override { Form.VistaGrafica->Core().Repaint(); }
    void ZoomExtents() override
    {
        Form.VistaGrafica->Core2D().ZoomToExtension();
        Form.VistaGrafica->Core().Repaint();
    }

private:
    TfrmMain& Form;
};

// Enter in a field runs the action and goes no further.
bool IsEnter(QEvent& event, bool& consume)
{
    if (event.type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent&>(event).key();
    consume = key == Qt::Key_Return || key == Qt::Key_Enter;
    return consume;
}

// The next left click in the view while the pick is armed.
class TPickOriginFilter : public QObject {
public:
    explicit TPickOriginFilter(TfrmMain& form) : QObject(&form), Form(form) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress && Form.PickOriginArmed) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                Form.PickOriginArmed = false;
                const QPointF at = mouse->position();
                Form.OrigineRast(CartesianPoint2D(Form.VistaGrafica->Core().ScreenToWorld(
                    MakePoint2D(static_cast<float>(at.x()), static_cast<float>(at.y())))));
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    TfrmMain& Form;
};

} // namespace

void TfrmMain::CreatePlacementPages()
{
    QWidget* page = Page(kOpenPage);
    auto* layout = new QVBoxLayout(page);

    grpOrigin = NamedControl(new QGroupBox(QStringLiteral("Reference Point"), page), "grpOrigin");
    auto* corners = new QGridLayout(grpOrigin);
    // Each choice pictures the corner it brings to the origin; its name is the tip.
    const struct {
        QRadioButton** Button;
        const char* Name;
        const char* Picture;
        const char* Tip;
        int Row, Column, Tag;
    } choices[] = {
        {&rbtOrigine2, "rbtOrigine2", "\u250C", "Top left", 0, 0, 2},
        {&rbtOrigine3, "rbtOrigine3", "\u2510", "Top right", 0, 2, 3},
        {&rbtOrigine0, "rbtOrigine0", "\u253C", "Centre", 1, 1, 5},
        {&rbtOrigine1, "rbtOrigine1", "\u2514", "Bottom left", 2, 0, 1},
        {&rbtOrigine4, "rbtOrigine4", "\u2518", "Bottom right", 2, 2, 4},
    };
    for (const auto& choice : choices) {
        *choice.Button = NamedControl(new QRadioButton(QString::fromUtf8(choice.Picture), grpOrigin), choice.Name);
        (*choice.Button)->setToolTip(QString::fromLatin1(choice.Tip));
        (*choice.Button)->setProperty("tag", choice.Tag);
        corners->addWidget(*choice.Button, choice.Row, choice.Column, Qt::AlignCenter);
        connect(*choice.Button, &QRadioButton::clicked, this, &TfrmMain::rbtOrigine1Click);
    }
    rbtOrigine1->setChecked(true);
    // The text is longer than the page is wide: it takes two lines.
    rbtOriginDxf = NamedControl(new QRadioButton(QStringLiteral("Use drawing origin\nand orientation"), grpOrigin),
                                "rbtOriginDxf");
    corners->addWidget(rbtOriginDxf, 3, 0, 1, 3);
    connect(rbtOriginDxf, &QRadioButton::clicked, this, &TfrmMain::rbtOriginDxfClick);
    layout->addWidget(grpOrigin);

    auto* reference = new QGridLayout;
    txtOriginX = NamedControl(new QLineEdit(QStringLiteral("0.00"), page), "txtOriginX");
    txtOriginY = NamedControl(new QLineEdit(QStringLiteral("0.00"), page), "txtOriginY");
    reference->addWidget(new QLabel(QStringLiteral("Reference point X:"), page), 0, 0);
    reference->addWidget(txtOriginX, 0, 1);
    reference->addWidget(new QLabel(QStringLiteral("Y:"), page), 1, 0);
    reference->addWidget(txtOriginY, 1, 1);
    for (QLineEdit* field : {txtOriginX, txtOriginY}) {
        InstallKeyFilter(*field, SoloNumeriEMenoEEnter);
        new TEventAction(*field, IsEnter, [this] { txtOriginEnter(); });
        connect(field, &QLineEdit::textEdited, this, &TfrmMain::txtOriginChange);
    }
    sbtSelectPt = PageTextButton(page, "sbtSelectPt", QStringLiteral("Select Pt."));
    connect(sbtSelectPt, &QToolButton::clicked, this, &TfrmMain::sbtSelectPtClick);
    reference->addWidget(sbtSelectPt, 2, 1);
    layout->addLayout(reference);

    grpDxfRotate = NamedControl(new QGroupBox(QStringLiteral("Rotate:"), page), "grpDxfRotate");
    auto* rotate = new QHBoxLayout(grpDxfRotate);
    sbtRotCCW = PageTextButton(grpDxfRotate, "sbtRotCCW", QStringLiteral("+90° CCW"));
    sbtRotCW = PageTextButton(grpDxfRotate, "sbtRotCW", QStringLiteral("-90° CW"));
    rotate->addWidget(sbtRotCCW);
    rotate->addWidget(sbtRotCW);
    connect(sbtRotCCW, &QToolButton::clicked, this, &TfrmMain::sbtRotCCWClick);
    connect(sbtRotCW, &QToolButton::clicked, this, &TfrmMain::sbtRotCWClick);
    layout->addWidget(grpDxfRotate);

    auto* buttons = new QHBoxLayout;
    sbtOpenPrev = PageTextButton(page, "sbtOpenPrev", QStringLiteral("Prev Pg (3)"));
    sbtOpenDone = PageTextButton(page, "sbtOpenDone", QStringLiteral("Done"));
    buttons->addWidget(sbtOpenPrev);
    buttons->addWidget(sbtOpenDone);
    connect(sbtOpenPrev, &QToolButton::clicked, this, &TfrmMain::sbtOpenPrevClick);
    connect(sbtOpenDone, &QToolButton::clicked, this, &TfrmMain::sbtOpenDoneClick);
    layout->addLayout(buttons);
    layout->addStretch();

    QWidget* attrib = Page(kAttribPage);
    grpScaleTo = NamedControl(new QGroupBox(QStringLiteral("Scale to:"), attrib), "grpScaleTo");
    auto* sizes = new QGridLayout(grpScaleTo);
    txtVecLarg = NamedControl(new QLineEdit(grpScaleTo), "txtVecLarg");
    txtVecAlt = NamedControl(new QLineEdit(grpScaleTo), "txtVecAlt");
    nol_lblUnita1 = NamedControl(new QLabel(QStringLiteral("mm"), grpScaleTo), "nol_lblUnita1");
    nol_lblUnita2 = NamedControl(new QLabel(QStringLiteral("mm"), grpScaleTo), "nol_lblUnita2");
    chkRatio = NamedControl(new QCheckBox(QStringLiteral("Keep ratio"), grpScaleTo), "chkRatio");
    chkRatio->setChecked(true);
    sizes->addWidget(new QLabel(QStringLiteral("Width:"), grpScaleTo), 0, 0);
    sizes->addWidget(txtVecLarg, 0, 1);
    sizes->addWidget(nol_lblUnita1, 0, 2);
    sizes->addWidget(new QLabel(QStringLiteral("Height:"), grpScaleTo), 1, 0);
    sizes->addWidget(txtVecAlt, 1, 1);
    sizes->addWidget(nol_lblUnita2, 1, 2);
    sizes->addWidget(chkRatio, 2, 0, 1, 3);
    for (QLineEdit* field : {txtVecLarg, txtVecAlt}) {
        InstallKeyFilter(*field, SoloNumeriEMenoEEnter);
        new TEventAction(*field, IsEnter, [this] { SizeFieldDone(); });
        connect(field, &QLineEdit::editingFinished, this, &TfrmMain::SizeFieldDone);
    }
    connect(txtVecLarg, &QLineEdit::textEdited, this, &TfrmMain::txtVecLargChange);
    connect(txtVecAlt, &QLineEdit::textEdited, this, &TfrmMain::txtVecAltChange);
    connect(chkRatio, &QCheckBox::clicked, this, &TfrmMain::chkRatioClick);
    // Below the information group, above the page's Next button.
    auto* attribLayout = qobject_cast<QBoxLayout*>(attrib->layout());
    attribLayout->insertWidget(attribLayout->indexOf(grpInfoFile) + 1, grpScaleTo);

    VistaGrafica->installEventFilter(new TPickOriginFilter(*this));
}

void TfrmMain::rbtOrigine1Click()
{
    if (FillingControls)
        return;
    int tag = 0;
    for (QRadioButton* choice : {rbtOrigine1, rbtOrigine2, rbtOrigine3, rbtOrigine4, rbtOrigine0})
        if (choice->isChecked())
            tag = choice->property("tag").toInt();
    if (tag == 0)
        return;
    TFrmPlacementHost host(*this);
    TPlacement placement(LocalCad(), LoadedFile, host);
    const TVect shown = placement.ChooseCorner(tag);
    FillingControls = true;
    txtOriginX->setText(SepNumber(shown.X));
    txtOriginY->setText(SepNumber(shown.Y));
    FillingControls = false;
    VistaGrafica->Core().Repaint();
}

void TfrmMain::rbtOriginDxfClick()
{
    if (FillingControls)
        return;
    TFrmPlacementHost host(*this);
    TPlacement placement(LocalCad(), LoadedFile, host);
    const TVect shown = placement.UseDrawingOrigin();
    FillingControls = true;
    txtOriginX->setText(SepNumber(shown.X));
    txtOriginY->setText(SepNumber(shown.Y));
    FillingControls = false;
    VistaGrafica->Core().Repaint();
}

namespace {

void Turn(TfrmMain& form, int direction)
{
    TFrmPlacementHost host(form);
    TPlacement placement(form.LocalCad(), LoadedFile, host);
    int shownCorner = 0;
    const std::optional<TVect> shown = placement.Turn(direction, shownCorner);
    if (!shown)
        return;
    form.FillingControls = true;
    form.txtOriginX->setText(SepNumber(shown->X));
    form.txtOriginY->setText(SepNumber(shown->Y));
    QRadioButton* const byTag[] = {nullptr, form.rbtOrigine1, form.rbtOrigine2, form.rbtOrigine3, form.rbtOrigine4};
    if (shownCorner >= 1 && shownCorner <= 4)
        byTag[shownCorner]->setChecked(true);
    form.FillingControls = false;
    form.VistaGrafica->Core().Repaint();
}

// Unchecks every reference choice: a radio group always keeps one otherwise.
void UncheckChoices(TfrmMain& form)
{
    for (QRadioButton* choice : {form.rbtOrigine1, form.rbtOrigine2, form.rbtOrigine3, form.rbtOrigine4,
                                 form.rbtOrigine0, form.rbtOriginDxf}) {
        choice->setAutoExclusive(false);
        choice->setChecked(false);
        choice->setAutoExclusive(true);
    }
}

} // namespace

void TfrmMain::sbtRotCCWClick()
{
    Turn(*this, 1);
}

void TfrmMain::sbtRotCWClick()
{
    Turn(*this, -1);
}

void TfrmMain::txtOriginEnter()
{
    TFrmPlacementHost host(*this);
    TPlacement placement(LocalCad(), LoadedFile, host);
    if (placement.TypedReference(txtOriginX->text().toStdString(), txtOriginY->text().toStdString()))
        VistaGrafica->Core().Repaint();
}

void TfrmMain::txtOriginChange()
{
    if (!FillingControls)
        UncheckChoices(*this);
}

void TfrmMain::sbtSelectPtClick()
{
    PickOriginArmed = true;
}

void TfrmMain::OrigineRast(TPoint2D point)
{
    TFrmPlacementHost host(*this);
    TPlacement placement(LocalCad(), LoadedFile, host);
    const TVect shown = placement.PickedReference(point);
    FillingControls = true;
    txtOriginX->setText(formatta(static_cast<float>(shown.X)));
    txtOriginY->setText(formatta(static_cast<float>(shown.Y)));
    UncheckChoices(*this);
    FillingControls = false;
    VistaGrafica->Core().Repaint();
}

namespace {

void SizeChanged(TfrmMain& form, bool width)
{
    if (form.FillingControls)
        return;
    TFrmPlacementHost host(form);
    TPlacement placement(form.LocalCad(), LoadedFile, host);
    std::optional<float> derived;
    QLineEdit* typed = width ? form.txtVecLarg : form.txtVecAlt;
    QLineEdit* other = width ? form.txtVecAlt : form.txtVecLarg;
    const bool keep = form.chkRatio->isChecked();
    const TSizeError error = width ? placement.WidthTyped(typed->text().toStdString(), keep, derived)
                                   : placement.HeightTyped(typed->text().toStdString(), keep, derived);
    // A refused size (not a number, or not above 0) is marked and keeps the last good one.
    typed->setStyleSheet(error == TSizeError::None ? QString() : QStringLiteral("color: red"));
    if (!derived)
        return;
    form.FillingControls = true;
    other->setText(placement.IsRaster() ? formatta(*derived) : SepNumber(*derived));
    other->setStyleSheet(QString());
    form.FillingControls = false;
}

} // namespace

void TfrmMain::txtVecLargChange()
{
    SizeChanged(*this, true);
}

void TfrmMain::txtVecAltChange()
{
    SizeChanged(*this, false);
}

void TfrmMain::SizeFieldDone()
{
    if (!LoadedFile.IsRasterLoaded() && !LoadedFile.IsDxfLoaded && !LoadedFile.IsSvgLoaded)
        return;
    TFrmPlacementHost host(*this);
    TPlacement placement(LocalCad(), LoadedFile, host);
    placement.ApplySize();
}

void TfrmMain::chkRatioClick()
{
    if (FillingControls || !chkRatio->isChecked())
        return;
    TFrmPlacementHost host(*this);
    TPlacement placement(LocalCad(), LoadedFile, host);
    float height = 0.0f;
    if (placement.KeepRatioChecked(txtVecLarg->text().toStdString(), height) != TSizeError::None) {
        txtVecLarg->setStyleSheet(QStringLiteral("color: red"));
        return;
    }
    FillingControls = true;
    txtVecAlt->setText(placement.IsRaster() ? formatta(height) : SepNumber(height));
    if (!placement.IsRaster()) {
        UncheckChoices(*this);
        rbtOriginDxf->setChecked(true);
    }
    FillingControls = false;
}

void TfrmMain::sbtOpenDoneClick()
{
    VisPagine({999});
    TCADViewportCore& view = VistaGrafica->Core();
    view.SetGridDeltaX(LoadedFile.SavedGridDeltaX);
    view.SetGridDeltaY(LoadedFile.SavedGridDeltaY);
    sbtGridOnOff->setChecked(LoadedFile.SavedGridDown);
    sbtGridOnOffClick();
    sbtAxisOnOff->setChecked(LoadedFile.SavedAxisDown);
    sbtAxisOnOffClick();
    AbilitaPnl(true, true, true, true);
    Messaggio();
    view.Repaint();
}

void TfrmMain::sbtOpenPrevClick()
{
    SetActivePage(kAttribPage);
}
