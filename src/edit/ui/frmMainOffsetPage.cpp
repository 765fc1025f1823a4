// The offset command's page: the distance, copy or move, Done and Flip.

#include <optional>

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/NumericText.h"
#include "app/PageSet.h"
#include "app/ui/controls/NumericKeyFilter.h"
#include "app/ui/frmMain.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/CADPrg2D.h"
#include "edit/commands/OffsetCommand.h"

namespace {

constexpr int kOffsetPage = 15;

template <class TControl>
TControl* NamedControl(TControl* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

} // namespace

void TfrmMain::CreateOffsetPage()
{
    QWidget* page = Page(kOffsetPage);
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(6, 6, 6, 6);
    auto* grid = new QGridLayout;
    column->addLayout(grid);
    grid->addWidget(NamedControl(new QLabel(QStringLiteral("Distance:"), page), "lblOffsetDist"), 0, 0);
    txtOffsetDist = NamedControl(new QLineEdit(QStringLiteral("1"), page), "txtOffsetDist");
    InstallKeyFilter(*txtOffsetDist, SoloNumeriEMeno);
    grid->addWidget(txtOffsetDist, 0, 1);
    rbtOffsetCopy = NamedControl(new QRadioButton(QStringLiteral("Copy"), page), "rbtOffsetCopy");
    rbtOffsetMove = NamedControl(new QRadioButton(QStringLiteral("Move"), page), "rbtOffsetMove");
    rbtOffsetCopy->setChecked(true);
    grid->addWidget(rbtOffsetCopy, 1, 0);
    grid->addWidget(rbtOffsetMove, 1, 1);
    sbtOffsetOk = NamedControl(new QToolButton(page), "sbtOffsetOk");
    sbtOffsetOk->setText(QStringLiteral("Done"));
    sbtFlipOffset = NamedControl(new QToolButton(page), "sbtFlipOffset");
    sbtFlipOffset->setText(QStringLiteral("Flip dir"));
    for (QToolButton* button : {sbtOffsetOk, sbtFlipOffset}) {
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setFocusPolicy(Qt::NoFocus);
    }
    grid->addWidget(sbtOffsetOk, 2, 0);
    grid->addWidget(sbtFlipOffset, 2, 1);
    column->addStretch();

    connect(sbtOffsetOk, &QToolButton::clicked, this, &TfrmMain::sbtOffsetOkClick);
    connect(sbtFlipOffset, &QToolButton::clicked, this, &TfrmMain::sbtFlipOffsetClick);
    connect(txtOffsetDist, &QLineEdit::textChanged, this, &TfrmMain::txtOffsetDistChange);

    TOffsetCommand& command = OffsetCommand();
    command.Clear();
    command.ReadDistance = [this]() -> std::optional<float> {
        const QString text = txtOffsetDist->text().trimmed();
        bool ok = false;
        const float value = QLocale::c().toFloat(text, &ok);
        if (!NumeroOk(text) || !ok)
            return std::nullopt;
        return value;
    };
}

void TfrmMain::txtOffsetDistChange()
{
    // A text that is no number keeps the last distance; the pick reads the field again.
    if (const std::optional<float> distance = OffsetCommand().ReadDistance())
        OffsetCommand().Distance = *distance;
}

void TfrmMain::sbtOffsetOkClick()
{
    TOffsetCommand& command = OffsetCommand();
    if (!command.Accept(rbtOffsetMove->isChecked()))
        return;
    LocalPrg().StopOperation();
    VisPagina(kPagesHide);
}

void TfrmMain::sbtFlipOffsetClick()
{
    OffsetCommand().Flip();
}
