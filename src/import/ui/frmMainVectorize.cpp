// The first two pages of "Vectorize": brightness thresholds that turn the
// loaded picture into black and white, and the removal of isolated spots.
// The third page, the tracer's, fills itself.

#include <utility>

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/CommandCode.h"
#include "app/Language.h"
#include "app/LanguageMessages.h"
#include "app/ui/ApplicationMessageBox.h"
#include "app/ui/frmMain.h"
#include "cad/drawing/CADCmp2D.h"
#include "import/LoadedFile.h"
#include "import/MonoRaster.h"

namespace {

constexpr int kPageVect1 = 0;
constexpr int kPageVect2 = 1;
constexpr int kPageVect3 = 2;
constexpr int kMsgNoRaster = 407;
constexpr int kMsgVectorizeCaption = 408;

QLabel* Swatch(QWidget* parent, const char* name, Qt::GlobalColor color)
{
    auto* swatch = new QLabel(parent);
    swatch->setObjectName(QString::fromLatin1(name));
    swatch->setFixedSize(14, 14);
    swatch->setAutoFillBackground(true);
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, color);
    swatch->setPalette(palette);
    return swatch;
}

QSpinBox* SpinBox(QWidget* parent, const char* name, int minimum, int maximum, int value)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setRange(minimum, maximum);
    spin->setValue(value);
    return spin;
}

QToolButton* PageButton(QWidget* parent, const char* name, const char* text)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(QString::fromLatin1(text));
    button->setMinimumWidth(70);
    return button;
}

QHBoxLayout* ButtonRow(std::initializer_list<QWidget*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QWidget* button : buttons)
        row->addWidget(button);
    return row;
}

} // namespace

void TfrmMain::CreateVectorizePages()
{
    QWidget* page = Page(kPageVect1);
    auto* group = new QGroupBox(QStringLiteral("Brightness Threshold:"), page);
    group->setObjectName(QStringLiteral("grpSoglia"));
    auto* grid = new QGridLayout(group);
    const auto addThreshold = [&](int row, const char* sliderName, const char* spinName, int value) {
        auto* slider = new QSlider(Qt::Horizontal, group);
        slider->setObjectName(QString::fromLatin1(sliderName));
        slider->setRange(0, 255);
        slider->setTickInterval(25);
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setValue(value);
        QSpinBox* spin = SpinBox(group, spinName, 0, 255, value);
        grid->addWidget(slider, row, 1);
        grid->addWidget(spin, row, 2);
        connect(slider, &QSlider::valueChanged, this, [this, spin](int position) {
            const QSignalBlocker blocker(spin);
            spin->setValue(position);
            tbrThresholdChange();
        });
        connect(spin, &QSpinBox::valueChanged, slider, &QSlider::setValue);
        return std::pair{slider, spin};
    };
    std::tie(tbrRosso, sedRosso) = addThreshold(0, "tbrRosso", "sedRosso", 40);
    std::tie(tbrVerde, sedVerde) = addThreshold(1, "tbrVerde", "sedVerde", 30);
    std::tie(tbrBlu, sedBlu) = addThreshold(2, "tbrBlu", "sedBlu", 40);
    imgRed = Swatch(group, "imgRed", Qt::red);
    imgVerde = Swatch(group, "imgVerde", Qt::green);
    imgBlu = Swatch(group, "imgBlu", Qt::blue);
    imgNero = Swatch(group, "imgNero", Qt::black);
    auto* redCell = new QHBoxLayout;
    redCell->setSpacing(0);
    redCell->addWidget(imgRed);
    redCell->addWidget(imgNero);
    grid->addLayout(redCell, 0, 0);
    grid->addWidget(imgVerde, 1, 0);
    grid->addWidget(imgBlu, 2, 0);
    chkViewOriginal = new QCheckBox(QStringLiteral("View Original"), page);
    chkViewOriginal->setObjectName(QStringLiteral("chkViewOriginal"));
    chkViewOriginal->setChecked(true);
    connect(chkViewOriginal, &QCheckBox::clicked, this, &TfrmMain::chkViewOriginalClick);
    QToolButton* next1 = PageButton(page, "sbtVectNext1", "Next Page");
    connect(next1, &QToolButton::clicked, this, [this] {
        SetActivePage(kPageVect2);
        sbtVectPrev2->setEnabled(LoadedFile.RasterDepthClass != 0);
    });
    auto* column = new QVBoxLayout(page);
    column->addWidget(group);
    column->addWidget(chkViewOriginal);
    column->addStretch();
    column->addLayout(ButtonRow({next1}));
    MostraTBar(true);

    page = Page(kPageVect2);
    group = new QGroupBox(QStringLiteral("Remove isolate spots:"), page);
    group->setObjectName(QStringLiteral("grpSpots"));
    grid = new QGridLayout(group);
    sedSpotsNeri = SpinBox(group, "sedSpotsNeri", 1, 8, 1);
    sedSpotsBianchi = SpinBox(group, "sedSpotsBianchi", 1, 8, 1);
    // The captions wrap: beside their spin boxes they are wider than the page.
    for (const auto& [caption, row] : {std::pair{"Black spots size (pixel):", 0}, {"White spots size (pixel):", 1}}) {
        auto* label = new QLabel(QString::fromLatin1(caption), group);
        label->setWordWrap(true);
        grid->addWidget(label, row, 0);
    }
    grid->addWidget(sedSpotsNeri, 0, 1);
    grid->addWidget(sedSpotsBianchi, 1, 1);
    sbtVec2a = PageButton(group, "sbtVec2a", "Remove");
    sbtVec2b = PageButton(group, "sbtVec2b", "Cancel");
    grid->addLayout(ButtonRow({sbtVec2a, sbtVec2b}), 2, 0, 1, 2);
    connect(sbtVec2a, &QToolButton::clicked, this, &TfrmMain::sbtVec2aClick);
    connect(sbtVec2b, &QToolButton::clicked, this, &TfrmMain::sbtVec2bClick);
    sbtVectPrev2 = PageButton(page, "sbtVectPrev2", "Prev Pg");
    QToolButton* next2 = PageButton(page, "sbtVectNext2", "Next Page");
    connect(sbtVectPrev2, &QToolButton::clicked, this, [this] { SetActivePage(kPageVect1); });
    connect(next2, &QToolButton::clicked, this, [this] { SetActivePage(kPageVect3); });
    column = new QVBoxLayout(page);
    column->addWidget(group);
    column->addStretch();
    column->addLayout(ButtonRow({sbtVectPrev2, next2}));

    connect(sbtVect, &QToolButton::clicked, this, &TfrmMain::sbtVectClick);
}

void TfrmMain::sbtVectClick()
{
    CommandCode = kCommandNone;
    if (!LoadedFile.IsRasterLoaded()) {
        ApplicationMessageBox(GetLangString(kMsgNoRaster), GetLangString(kMsgVectorizeCaption),
                              kMbOk + kMbIconWarning);
        return;
    }
    AbilitaPnl(false, true, false, false);
    const bool thresholds = LoadedFile.RasterDepthClass != 0;
    if (thresholds)
        VisPagine({kPageVect1, kPageVect2, kPageVect3});
    else
        VisPagine({kPageVect2, kPageVect3});
    sbtVectPrev2->setEnabled(thresholds);
    if (chkViewOriginal->isChecked()) {
        chkViewOriginal->setChecked(false);
        chkViewOriginalClick();
    }
}

void TfrmMain::MostraTBar(bool rgb)
{
    for (QWidget* control : std::initializer_list<QWidget*>{imgRed, imgVerde, imgBlu, tbrVerde, tbrBlu, sedVerde, sedBlu})
        control->setVisible(rgb);
    imgNero->setVisible(!rgb);
}

void TfrmMain::CreaBmpMono()
{
    // Without a picture there is nothing to threshold, and the drawing stays.
    if (LoadedFile.SourceRaster.isNull())
        return;
    const QImage& source = LoadedFile.SourceRaster;
    if (source.format() == QImage::Format_Indexed8)
        MostraTBar(false);
    else
        MostraTBar(true);
    QImage mono = ThresholdRaster(source, LoadedFile.RasterDepthClass,
                                  {tbrRosso->value(), tbrVerde->value(), tbrBlu->value()});
    if (mono.isNull())
        return;
    LoadedFile.MonoRaster = std::move(mono);
    ShowRaster(!chkViewOriginal->isChecked(), false);
}

void TfrmMain::tbrThresholdChange()
{
    if (FillingControls)
        return;
    chkViewOriginal->setChecked(false);
    CreaBmpMono();
}

void TfrmMain::chkViewOriginalClick()
{
    if (!FillingControls)
        CreaBmpMono();
}

void TfrmMain::sbtVec2aClick()
{
    if (LoadedFile.MonoRaster.isNull())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    RemoveBlackSpots(LoadedFile.MonoRaster, sedSpotsNeri->value());
    RemoveWhiteSpots(LoadedFile.MonoRaster, sedSpotsBianchi->value());
    QApplication::restoreOverrideCursor();
    ShowRaster(!chkViewOriginal->isChecked(), false);
}

void TfrmMain::sbtVec2bClick()
{
    CreaBmpMono();
}
