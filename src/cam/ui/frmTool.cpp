#include "cam/ui/frmTool.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>

#include "app/Language.h"
#include "app/NumericText.h"
#include "app/TranslateForms.h"
#include "app/ui/controls/NumericKeyFilter.h"
#include "cam/ui/CncPictures.h"
#include "platform/IniFile.h"

TfrmTool* frmTool = nullptr;

namespace {

constexpr int kFormHeight = 330;
constexpr int kInfoWidth = 255;
constexpr int kButtonTop = kFormHeight - 35;

// The spindle speed is a whole number of revolutions.
char DigitsOnly(char key)
{
    return (key >= '0' && key <= '9') || key == kKeyBackspace ? key : kKeyRefused;
}

template <typename TControl>
TControl* Named(TControl* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

} // namespace

TfrmTool::TfrmTool(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTool"));
    setWindowTitle(QStringLiteral("Tool database"));

    ListView1 = Named(new QTreeWidget(this), "ListView1");
    ListView1->setHeaderLabels({QStringLiteral("No."), QStringLiteral("Name"), QStringLiteral("Diameter")});
    ListView1->setRootIsDecorated(false);
    ListView1->setGeometry(5, 5, 220, kButtonTop - 40);
    btnDelete = Named(new QPushButton(QStringLiteral("Delete..."), this), "btnDelete");
    btnAdd = Named(new QPushButton(QStringLiteral("Add"), this), "btnAdd");
    btnModify = Named(new QPushButton(QStringLiteral("Modify"), this), "btnModify");
    btnDelete->setGeometry(5, kButtonTop - 30, 70, 25);
    btnAdd->setGeometry(80, kButtonTop - 30, 70, 25);
    btnModify->setGeometry(155, kButtonTop - 30, 70, 25);

    grpInfo = Named(new QGroupBox(this), "grpInfo");
    auto* form = new QFormLayout(grpInfo);
    form->setContentsMargins(6, 6, 6, 6);
    form->setVerticalSpacing(3);
    imgTipoUt = Named(new QLabel(grpInfo), "imgTipoUt");
    imgTipoUt->setFixedSize(64, 64);
    cboTipoUt = Named(new QComboBox(grpInfo), "cboTipoUt");
    cboTipoUt->addItems({QStringLiteral("Flat"), QStringLiteral("Bull-nose"), QStringLiteral("Sferical"),
                         QStringLiteral("Conical"), QStringLiteral("Drill"), QStringLiteral("Undefined")});
    const auto field = [this](const char* name, const char* text) {
        return Named(new QLineEdit(QString::fromLatin1(text), grpInfo), name);
    };
    txtUtName = field("txtUtName", "");
    sedToolNum = Named(new QSpinBox(grpInfo), "sedToolNum");
    sedToolNum->setRange(1, 999);
    sedToolNum->setValue(1);
    txtGiri = field("txtGiri", "1000");
    txtFeedrate = field("txtFeedrate", "1000");
    txtPlungeRate = field("txtPlungeRate", "1000");
    txtDiametro = field("txtDiametro", "5");
    txtAngolo = field("txtAngolo", "0");
    txtDiamFlat = field("txtDiamFlat", "0");
    txtPassZ = field("txtPassZ", "0");
    txtC_Raggio = field("txtC_Raggio", "0");
    chkCoolant = Named(new QCheckBox(QStringLiteral("Coolant"), grpInfo), "chkCoolant");
    const auto label = [this](const char* name, const char* text) {
        return Named(new QLabel(QString::fromLatin1(text), grpInfo), name);
    };
    lblAngolo = label("lblAngolo", "Taper angle:");
    lblDiamFlat = label("lblDiamFlat", "Flat diameter:");
    lblC_Raggio = label("lblC_Raggio", "Corner radius:");
    form->addRow(imgTipoUt, cboTipoUt);
    form->addRow(label("lblUtName", "Name:"), txtUtName);
    form->addRow(label("lblToolNum", "Tool number:"), sedToolNum);
    form->addRow(label("lblGiri", "Speed (rpm):"), txtGiri);
    form->addRow(label("lblFeedrate", "Feed rate:"), txtFeedrate);
    form->addRow(label("lblPlungeRate", "Plunge rate:"), txtPlungeRate);
    form->addRow(label("lblDiametro", "Diameter:"), txtDiametro);
    form->addRow(lblAngolo, txtAngolo);
    form->addRow(lblDiamFlat, txtDiamFlat);
    form->addRow(label("lblPassZ", "Pass depth:"), txtPassZ);
    form->addRow(lblC_Raggio, txtC_Raggio);
    form->addRow(chkCoolant);

    btnOk = Named(new QPushButton(QStringLiteral("Ok"), this), "btnOk");
    btnOk->setDefault(true);
    btnCancel = Named(new QPushButton(QStringLiteral("Cancel"), this), "btnCancel");

    InstallKeyFilter(*txtGiri, DigitsOnly);
    for (QLineEdit* number : {txtFeedrate, txtPlungeRate, txtDiametro})
        InstallKeyFilter(*number, SoloNumeriPos);

    connect(cboTipoUt, &QComboBox::currentIndexChanged, this, [this] { cboTipoUtChange(); });
    connect(txtDiametro, &QLineEdit::textChanged, this, [this] { txtDiametroChange(); });
    connect(btnOk, &QPushButton::clicked, this, [this] { done(1); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { done(0); });
    cboTipoUtChange();
}

void TfrmTool::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TfrmTool::FormShow()
{
    TranslateForms({this}, LanguageFile.get());
    cboTipoUt->setCurrentIndex(RememberedType);
    cboTipoUtChange();
    ListView1->setVisible(!SingleTool);
    btnAdd->setVisible(!SingleTool);
    btnModify->setVisible(!SingleTool);
    btnDelete->setVisible(!SingleTool);
    if (SingleTool) {
        setWindowTitle(GetLangString(750));
        grpInfo->setGeometry(5, 5, kInfoWidth, kButtonTop - 10);
        setFixedSize(268, kFormHeight);
        btnOk->setGeometry(78, kButtonTop, 80, 25);
        btnCancel->setGeometry(178, kButtonTop, 80, 25);
        txtDiametro->setFocus();
        txtDiametro->selectAll();
    } else {
        setWindowTitle(GetLangString(751));
        grpInfo->setGeometry(230, 5, kInfoWidth, kButtonTop - 10);
        setFixedSize(494, kFormHeight);
        btnOk->setGeometry(304, kButtonTop, 80, 25);
        btnCancel->setGeometry(404, kButtonTop, 80, 25);
        if (!RowSelected && RememberedRow >= 0 && RememberedRow < ListView1->topLevelItemCount()) {
            ListView1->setCurrentItem(ListView1->topLevelItem(RememberedRow));
            RowSelected = true;
        }
    }
}

void TfrmTool::cboTipoUtChange()
{
    const int type = cboTipoUt->currentIndex();
    imgTipoUt->setPixmap(ToolTypePixmap(type));
    const auto show = [](bool on, std::initializer_list<QWidget*> controls) {
        for (QWidget* control : controls)
            control->setVisible(on);
    };
    switch (type) {
    case BullNose:
        show(true, {lblC_Raggio, txtC_Raggio});
        txtC_Raggio->setReadOnly(false);
        show(false, {lblAngolo, txtAngolo, lblDiamFlat, txtDiamFlat});
        break;
    case Spherical:
        show(true, {lblC_Raggio, txtC_Raggio});
        txtC_Raggio->setReadOnly(true);
        show(false, {lblAngolo, txtAngolo, lblDiamFlat, txtDiamFlat});
        txtDiametroChange();
        break;
    case Conical:
        show(false, {lblC_Raggio, txtC_Raggio});
        show(true, {lblAngolo, txtAngolo, lblDiamFlat, txtDiamFlat});
        break;
    case Flat:
    case Drill:
        show(false, {lblC_Raggio, txtC_Raggio, lblAngolo, txtAngolo, lblDiamFlat, txtDiamFlat});
        break;
    default:
        break;
    }
}

void TfrmTool::txtDiametroChange()
{
    if (cboTipoUt->currentIndex() != Spherical)
        return;
    const double diameter = QLocale::c().toDouble(txtDiametro->text().trimmed());
    txtC_Raggio->setText(QString::asprintf("%0.3f", diameter / 2.0));
}
