#include "edit/ui/EditPages.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/Language.h"
#include "app/ui/frmMain.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/engine/SelectObject.h"
#include "cad/engine/SelectTwoObjects.h"
#include "edit/commands/EditSettings.h"
#include "edit/commands/EditStates.h"

namespace {

constexpr int kFilletPage = 16;
constexpr int kExtendPage = 18;
constexpr int kLineTanAnglePage = 31;
constexpr int kArcTanPage = 32;

template <typename TControl>
TControl* Named(TControl* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

// A labelled field whose text, when it reads as a number, becomes the value.
// Numbers are read with a point whatever the locale; other text leaves the
// last value in place.
QLineEdit* AddNumberField(QGridLayout& grid, QWidget* page, const char* label, const char* name,
                          const QString& caption, const QString& initial, double& value)
{
    const int row = grid.rowCount();
    grid.addWidget(Named(new QLabel(caption, page), label), row, 0);
    auto* field = Named(new QLineEdit(initial, page), name);
    grid.addWidget(field, row, 1);
    QObject::connect(field, &QLineEdit::textChanged, field, [&value](const QString& text) {
        bool ok = false;
        const double number = QLocale::c().toDouble(text.trimmed(), &ok);
        if (ok)
            value = number;
    });
    return field;
}

QGridLayout* PageGrid(QWidget* page)
{
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(6, 6, 6, 6);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    column->addLayout(grid);
    column->addStretch();
    return grid;
}

void ShowBox(const TEditBox& box)
{
    QStringList lines;
    for (int message : box.Messages)
        lines << GetLangString(message);
    const QString caption = box.Caption ? GetLangString(box.Caption) : QStringLiteral("Kestro");
    if (box.Warning)
        QMessageBox::warning(nullptr, caption, lines.join(QLatin1Char('\n')));
    else
        QMessageBox::information(nullptr, caption, lines.join(QLatin1Char('\n')));
}

// The tangent arc's selection for the chosen mode, started at once.
void StartArcTanSelection(TfrmMain& form, bool twoEntities)
{
    TCADPrg2D& runner = form.LocalPrg();
    if (runner.IsBusy())
        runner.StopOperation();
    if (twoEntities)
        runner.StartOperation(TCADStateClass::Of<TCAD2DSeleziona2Ogg>(),
                              std::make_unique<TCAD2DSelectObjectsParam>(5, TCADStateClass::Of<TMyArcoTan2>()));
    else
        runner.StartOperation(TCADStateClass::Of<TCAD2DSelectObject>(),
                              std::make_unique<TCAD2DSelectObjectsParam>(5, TCADStateClass::Of<TMyArcoTan1>()));
}

} // namespace

void CreateEditPages(TfrmMain& form)
{
    TEditSettings& settings = EditSettings();
    settings.ShowBox = ShowBox;

    if (QWidget* page = form.Page(kFilletPage)) {
        QGridLayout* grid = PageGrid(page);
        AddNumberField(*grid, page, "lblRaccordo", "txtRaccordo", QStringLiteral("Radius:"), QStringLiteral("10"),
                       settings.FilletRadius);
    }
    if (QWidget* page = form.Page(kExtendPage)) {
        QGridLayout* grid = PageGrid(page);
        AddNumberField(*grid, page, "lblExtLungh", "txtExtLungh", QStringLiteral("Length:"), QStringLiteral("1"),
                       settings.ExtendLength);
    }
    if (QWidget* page = form.Page(kLineTanAnglePage)) {
        QGridLayout* grid = PageGrid(page);
        AddNumberField(*grid, page, "lblLenTanAng", "txtLenTanAng", QStringLiteral("Length:"), QStringLiteral("1"),
                       settings.TanLineLength);
        const int row = grid->rowCount();
        grid->addWidget(Named(new QLabel(QStringLiteral("Angle:"), page), "lblLinTanAngle"), row, 0);
        auto* angle = Named(new QSpinBox(page), "txtLinTanAngle");
        angle->setRange(-360, 360);
        angle->setSingleStep(30);
        angle->setValue(0);
        grid->addWidget(angle, row, 1);
        QObject::connect(angle, &QSpinBox::valueChanged, angle,
                         [&settings](int degrees) { settings.TanLineAngle = degrees; });
    }
    if (QWidget* page = form.Page(kArcTanPage)) {
        QGridLayout* grid = PageGrid(page);
        auto* oneEntity = Named(new QRadioButton(QStringLiteral("1 entity + center point"), page), "rbtTanTo1");
        auto* twoEntities = Named(new QRadioButton(QStringLiteral("2 entities"), page), "rbtTanTo2");
        oneEntity->setChecked(!settings.ArcTanTwoEntities);
        twoEntities->setChecked(settings.ArcTanTwoEntities);
        grid->addWidget(oneEntity, 0, 0, 1, 2);
        grid->addWidget(twoEntities, 1, 0, 1, 2);
        auto* group = Named(new QGroupBox(page), "grpArcTan");
        auto* groupGrid = new QGridLayout(group);
        AddNumberField(*groupGrid, group, "lblArcTanRadius", "txtArcTanRadius", QStringLiteral("Radius:"),
                       QStringLiteral("1"), settings.ArcTanRadius);
        auto* trim = Named(new QCheckBox(QStringLiteral("Trim entities"), group), "chkArcTanTrim");
        trim->setChecked(settings.ArcTanTrim);
        groupGrid->addWidget(trim, groupGrid->rowCount(), 0, 1, 2);
        grid->addWidget(group, 2, 0, 1, 2);
        group->setVisible(settings.ArcTanTwoEntities);
        QObject::connect(trim, &QCheckBox::toggled, trim, [&settings](bool on) { settings.ArcTanTrim = on; });
        // The radius and trimming belong to the arc between two entities only.
        QObject::connect(twoEntities, &QRadioButton::toggled, group, [&settings, group](bool on) {
            settings.ArcTanTwoEntities = on;
            group->setVisible(on);
        });
        // Choosing a mode starts its selection.
        QObject::connect(oneEntity, &QRadioButton::clicked, oneEntity,
                         [&form] { StartArcTanSelection(form, false); });
        QObject::connect(twoEntities, &QRadioButton::clicked, twoEntities,
                         [&form] { StartArcTanSelection(form, true); });
    }
}
