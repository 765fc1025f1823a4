// The pages of the transform commands: how the interactive translate,
// rotate, mirror and scale work (typed values, mirror axis, uniform or
// separate factors, copy or move, copies), and the mirror and scale pages'
// buttons that act on the whole drawing at once.

#include <optional>

#include <QButtonGroup>
#include <QEvent>
#include <QGroupBox>
#include <QRadioButton>
#include <QToolButton>

#include "app/ui/controls/NumericKeyFilter.h"
#include "app/ui/frmMain.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/engine/EngineGlobals.h"
#include "edit/ui/DrawPageControls.h"
#include "app/ui/PageWidgets.h"
#include "import/Placement.h"

using drawpages::Named;
using drawpages::TPageColumn;

namespace {

constexpr int kMirrorPage = 9;
constexpr int kScalePage = 10;
constexpr int kRotatePage = 33;
constexpr int kTranslatePage = 34;

// A page's own copy/move pair writes the one switch the transforms read,
// and shows it again whenever the page comes up (another page may have
// changed it meanwhile).
void CopyMovePair(QWidget& page, QRadioButton* copy, QRadioButton* move)
{
    auto* pair = new QButtonGroup(&page);
    pair->addButton(copy);
    pair->addButton(move);
    QObject::connect(copy, &QRadioButton::toggled, copy, [](bool on) { TransformCopyMode = on; });
    new TEventAction(
        page, [](QEvent& event, bool&) { return event.type() == QEvent::Show; },
        [copy, move] { (TransformCopyMode ? copy : move)->setChecked(true); });
    (TransformCopyMode ? copy : move)->setChecked(true);
}

// The copy/move pair and, unless the command makes one copy only, the
// number of copies.
void CopiesRows(TPageColumn& page, const char* copyName, const char* moveName, const char* repeatName)
{
    if (repeatName != nullptr) {
        QLineEdit* repeat =
            page.Edit("", QStringLiteral("Copies:"), repeatName, QString::number(TransformRepeat));
        InstallKeyFilter(*repeat, SoloNumeriPos);
        // A count that is no whole number leaves the last good one.
        QObject::connect(repeat, &QLineEdit::textChanged, repeat, [](const QString& text) {
            bool ok = false;
            const int count = text.toInt(&ok);
            if (ok)
                TransformRepeat = count;
        });
    }
    auto* copy = Named(new QRadioButton(QStringLiteral("Copy"), page.Widget()), copyName);
    auto* move = Named(new QRadioButton(QStringLiteral("Move"), page.Widget()), moveName);
    page.Layout()->addWidget(copy);
    page.Layout()->addWidget(move);
    CopyMovePair(*page.Widget(), copy, move);
}

} // namespace

void TfrmMain::CreateTransformPages()
{
    {
        QWidget* widget = Page(kMirrorPage);
        TPageColumn page(widget);
        gprMirrorAxis = Named(new QGroupBox(QStringLiteral("Mirror axis"), widget), "gprMirrorAxis");
        auto* axisColumn = new QVBoxLayout(gprMirrorAxis);
        auto* axes = new QButtonGroup(gprMirrorAxis);
        int index = 0;
        for (const char* text : {"2 Points", "X Axis", "Y Axis", "XY Axis"}) {
            auto* item = new QRadioButton(QString::fromLatin1(text), gprMirrorAxis);
            axes->addButton(item, index++);
            axisColumn->addWidget(item);
        }
        axes->button(0)->setChecked(true);
        page.Layout()->addWidget(gprMirrorAxis);
        CopiesRows(page, "rbtMirrorCopy", "rbtMirrorMove", nullptr);
        sbtMirrorAll = page.Button("sbtMirrorAll", QStringLiteral("All entities"));
        connect(sbtMirrorAll, &QToolButton::clicked, this, [this, axes] { sbtMirrorAllClick(axes->checkedId()); });
        connect(page.Button("sbtMirrorClose", QStringLiteral("Close")), &QToolButton::clicked, this,
                &TfrmMain::SpeedButton6Click);
    }
    {
        QWidget* widget = Page(kScalePage);
        TPageColumn page(widget);
        txtScaleX = page.Edit("lblScaleX", QStringLiteral("Scale factor:"), "txtScaleX", QStringLiteral("1"));
        txtScaleY = page.Edit("lblScaleY", QStringLiteral("Scale Y:"), "txtScaleY", QStringLiteral("1"));
        QLabel* lblScaleY = page.LastLabel();
        for (QLineEdit* field : {txtScaleX, txtScaleY})
            InstallKeyFilter(*field, SoloNumeriPos);
        // Uniform is the first choice: one factor, the Y field out of sight.
        txtScaleY->hide();
        lblScaleY->hide();
        rbtScaleUniform = Named(new QRadioButton(QStringLiteral("Uniform"), widget), "rbtScaleUniform");
        rbtScaleXy = Named(new QRadioButton(QStringLiteral("X / Y"), widget), "rbtScaleXy");
        auto* factors = new QButtonGroup(widget);
        factors->addButton(rbtScaleUniform);
        factors->addButton(rbtScaleXy);
        rbtScaleUniform->setChecked(true);
        page.Layout()->addWidget(rbtScaleUniform);
        page.Layout()->addWidget(rbtScaleXy);
        connect(rbtScaleUniform, &QAbstractButton::clicked, this, &TfrmMain::rbtScaleUniformClick);
        connect(rbtScaleXy, &QAbstractButton::clicked, this, &TfrmMain::rbtScaleXyClick);
        // A uniform factor is both factors.
        SendEventWhenTyped(txtScaleX, CADPRG_APPLY_SCALE, [this] {
            if (rbtScaleUniform->isChecked())
                txtScaleY->setText(txtScaleX->text());
        });
        SendEventWhenTyped(txtScaleY, CADPRG_APPLY_SCALE);
        CopiesRows(page, "rbtScaleCopy", "rbtScaleMove", "txtScaleRepeat");
        // Accepts the typed factors, as the other pages' Done buttons do.
        connect(page.Button("SpeedButton3", QStringLiteral("Done")), &QToolButton::clicked, this,
                &TfrmMain::sbtDoneClick);
        sbtScaleAll = page.Button("sbtScaleAll", QStringLiteral("All entities"));
        connect(sbtScaleAll, &QToolButton::clicked, this, &TfrmMain::ScaleAllFromPage);
        connect(page.Button("sbtScaleClose", QStringLiteral("Close")), &QToolButton::clicked, this,
                &TfrmMain::SpeedButton6Click);
    }
    {
        TPageColumn page(Page(kRotatePage));
        QLineEdit* angle = page.Edit("lblRotateAngle", QStringLiteral("Angle:"), "txtRotateAngle", QStringLiteral("0"));
        // Enter in the angle accepts it.
        InstallKeyFilter(*angle, SoloNumeriEMenoEEnter);
        SendEventWhenTyped(angle, CADPRG_APPLY_ANGLE);
        connect(angle, &QLineEdit::returnPressed, this, [this] { LocalPrg().SendUserEvent(CADPRG_ACCEPT); });
        CopiesRows(page, "rbtRotateCopy", "rbtRotateMove", "txtRotateRepeat");
        connect(page.Button("sbtRotateOk", QStringLiteral("Done")), &QToolButton::clicked, this,
                &TfrmMain::sbtDoneClick);
        connect(page.Button("sbtRotateClose", QStringLiteral("Close")), &QToolButton::clicked, this,
                &TfrmMain::SpeedButton6Click);
    }
    {
        TPageColumn page(Page(kTranslatePage));
        for (QLineEdit* field : {page.Edit("lblTransDx", QStringLiteral("dX:"), "txtTransDx", QStringLiteral("0")),
                                 page.Edit("lblTransDy", QStringLiteral("dY:"), "txtTransDy", QStringLiteral("0"))}) {
            InstallKeyFilter(*field, SoloNumeriEMeno);
            SendEventWhenTyped(field, CADPRG_APPLY_MOVE);
        }
        CopiesRows(page, "rbtTransCopy", "rbtTransMove", "txtTransRepeat");
        connect(page.Button("sbtTranslateOk", QStringLiteral("Done")), &QToolButton::clicked, this,
                &TfrmMain::sbtDoneClick);
        connect(page.Button("sbtTranslateClose", QStringLiteral("Close")), &QToolButton::clicked, this,
                &TfrmMain::SpeedButton6Click);
    }
}

void TfrmMain::ScaleAllFromPage()
{
    const std::optional<float> sx = ParseFieldNumber(txtScaleX->text().toStdString());
    const std::optional<float> sy =
        rbtScaleUniform->isChecked() ? sx : ParseFieldNumber(txtScaleY->text().toStdString());
    // A factor of 0 would flatten the whole drawing beyond recall.
    if (!sx || !sy || *sx <= 0 || *sy <= 0) {
        Messaggio(QStringLiteral("The scale factors must be numbers above 0."));
        return;
    }
    sbtScaleAllClick(*sx, *sy);
}
