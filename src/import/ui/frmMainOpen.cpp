// "New" and "Open" of the main window's file tool bar, the loaders of
// pictures and drawings, and the file-information page.
//
// Every loader reads its whole file before it touches the drawing or the
// loaded-file record, so a file that cannot be read is reported and leaves
// everything as it was; the kind of the loaded file is set only once its
// loader has succeeded.

#include <cmath>
#include <exception>
#include <memory>
#include <string>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QVBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QTreeWidget>

#include "app/CommandCode.h"
#include "app/DeletedEntities.h"
#include "app/Language.h"
#include "app/LanguageMessages.h"
#include "app/NumericText.h"
#include "app/SettingsFile.h"
#include "app/ui/ApplicationMessageBox.h"
#include "app/ui/frmMain.h"
#include "cad/base/CADExceptions.h"
#include "cad/base/CADMessageSink.h"
#include "cad/base/Settings.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/dxf/DXF2DImport.h"
#include "cad/fonts/FontRegistry.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Bitmap2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/ui/CADViewport.h"
#include "cam/nc/NcWords.h"
#include "import/LastDxfFileName.h"
#include "import/LoadedFile.h"
#include "import/MonoRaster.h"
#include "import/RasterFiles.h"
#include "import/SvgException.h"
#include "import/SvgToDrawing.h"
#include "import/ui/SaveDialog.h"

namespace {

constexpr int kPageAttrib = 5;
constexpr int kPageOpen2 = 13;

constexpr int kMsgOpenStatus = 400;
constexpr int kMsgClearAll = 452;
constexpr int kMsgUnknownType = 458;
constexpr int kMsgBmpGroup = 116;
constexpr int kMsgJpegGroup = 117;
constexpr int kMsgVectorGroup = 180;

const QString kOpenFilter = QStringLiteral(
    "Image/Dxf Vector files (*.bmp,*.jpg, *.dxf)|*.BMP;*.JPG;*.JPEG;*.DXF;*.SVG|Image files (*.bmp,*.jpg)|"
    "*.BMP;*.JPG;*.JPEG|Dxf Vector files (*.dxf)|*.DXF");

class TWaitCursor {
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

// A file the loader refused; its text has been told to the user already.
struct TLoadRefused {};

QString Msg(int number)
{
    return GetLangString(number);
}

QString BaseName(const QString& fileName)
{
    return QFileInfo(fileName).fileName();
}

void SetFileName(const QString& fileName)
{
    LoadedFile.LoadedFileName = fileName.toStdString();
    // The settings file remembers it as the open dialog's next start.
    LoadedFileName = LoadedFile.LoadedFileName;
}

// The tree's root with one child per line, all shown.
void FillInfoTree(QTreeWidget& tree, const QString& root, const QStringList& lines)
{
    tree.clear();
    auto* top = new QTreeWidgetItem(&tree, QStringList{root});
    for (const QString& line : lines)
        new QTreeWidgetItem(top, QStringList{line});
    tree.expandAll();
}

template <typename TWidget>
TWidget* Control(TfrmMain& frm, const char* name)
{
    return frm.findChild<TWidget*>(QString::fromLatin1(name));
}

// The size fields and the unit labels of the placement live on pages that
// fill themselves; they are written when they exist.
void SetSizeFields(TfrmMain& frm, const QString& width, const QString& height)
{
    if (auto* field = Control<QLineEdit>(frm, "txtVecLarg"))
        field->setText(width);
    if (auto* field = Control<QLineEdit>(frm, "txtVecAlt"))
        field->setText(height);
    const QString unit = frm.cboUnits->currentText();
    for (const char* name : {"nol_lblUnita1", "nol_lblUnita2"})
        if (auto* label = Control<QLabel>(frm, name))
            label->setText(unit);
}

void ShowDrawingOrigin(TfrmMain& frm, bool show)
{
    for (const char* name : {"rbtOriginDxf", "grpDxfRotate"})
        if (auto* control = Control<QWidget>(frm, name))
            control->setVisible(show);
}

// Runs an import into a drawing of its own first, so that a file that
// fails halfway changes nothing of the user's drawing. The importers' own
// notices are collected and shown as one message.
template <typename TImport>
void ProbeImport(TImport import)
{
    std::string notices;
    TCADMessageSink previous = SetCADMessageSink([&](const std::string& text) {
        notices += notices.empty() ? text : "\n" + text;
    });
    bool failed = false;
    try {
        TCADCmp2D scratch;
        failed = !import(scratch);
    } catch (...) {
        SetCADMessageSink(previous);
        throw;
    }
    SetCADMessageSink(previous);
    if (failed) {
        ApplicationMessageBox(QString::fromStdString(notices), Msg(kMsgBoxCaption), kMbOk + kMbIconError);
        throw TLoadRefused{};
    }
}

// The first registered font writes TEXT entities; without one they are left out.
TVectFont* FirstVectFont()
{
    for (int index = 0; index < CADCoreFontRegistrySize; ++index) {
        try {
            return CADCoreFindFontByIndex(index);
        } catch (const ECADCoreException&) {
        }
    }
    return nullptr;
}

// The drawing file read once, into a drawing of its own that starts from the
// user's layers: a file refused whole changes nothing. What the import left
// out, and why it stopped, is collected into one notice.
struct TDxfRead {
    TCADCmp2D Drawing;
    TDXFImportResult Result;
    std::string Notice;
};

void AddNotice(std::string& notice, const std::string& text)
{
    if (!text.empty())
        notice += notice.empty() ? text : "\n" + text;
}

void ReadDxf(const QString& fileName, const TLayers& layers, TDxfRead& read)
{
    for (int index = 0; index < TLayers::Count; ++index)
        read.Drawing.Layers().GetLayer(index) = layers.GetLayer(index);
    TCADMessageSink previous = SetCADMessageSink([&](const std::string& text) { AddNotice(read.Notice, text); });
    TDXF2DImport import(fileName.toStdString(), &read.Drawing);
    import.SetVectFont(FirstVectFont());
    try {
        read.Result = import.Import();
    } catch (const ECADFileNotValid& invalid) {
        read.Result = import.LastResult();
        AddNotice(read.Notice, invalid.what());
    } catch (...) {
        SetCADMessageSink(previous);
        throw;
    }
    SetCADMessageSink(previous);
    AddNotice(read.Notice, DXFImportNotice(read.Result));
}

} // namespace

void TfrmMain::sbtNewClick()
{
    CommandCode = kCommandNone;
    if (LocalCad().ObjectsCount() > 0 && CancellatoTutto()) {
        if (DeletedEntities)
            DeletedEntities->clear();
        setWindowTitle(QString::fromStdString(BaseTitle));
        ClearChainsOrDrillPoints();
    }
    LocalCad().RepaintViewports();
    VisPagine({999});
}

void TfrmMain::ClearDrawing()
{
    // A running or suspended task may hold objects of the drawing (its picks).
    LocalPrg().StopAllOperations();
    LocalCad().DeleteAllObjects();
}

bool TfrmMain::CancellatoTutto()
{
    if (ApplicationMessageBox(Msg(kMsgClearAll), Msg(kMsgBoxCaption), kMbYesNo + kMbIconWarning) != kIdYes)
        return false;
    FreeRasters();
    for (int index = 0; index < TLayers::Count; ++index) {
        TLayer& layer = LocalCad().Layers().GetLayer(index);
        layer = TLayer(index);
        layer.ApplyDefaultColor(DefaultLayerColor);
    }
    ClearDrawing();
    LocalCad().RepaintViewports();
    LoadedFile.ClearKinds();
    CurrLayerInfo();
    return true;
}

void TfrmMain::FreeRasters()
{
    LoadedFile.FreeRasters();
}

void TfrmMain::sbtOpenClick()
{
    CommandCode = kCommandNone;
    if (LocalCad().ObjectsCount() > 0) {
        if (!CancellatoTutto())
            return;
        VisPagine({999});
        ClearChainsOrDrillPoints();
    }
    Messaggio(Msg(kMsgOpenStatus));
    if (!OpenDialog) {
        OpenDialog = new TOpenDialog(this);
        OpenDialog->FileName = LoadedFile.LoadedFileName.empty()
                                   ? OpenDialogFileName(SettingsWindowValues())
                                   : QString::fromStdString(LoadedFile.LoadedFileName);
    }
    OpenDialog->Filter = kOpenFilter;
    if (!OpenDialog->Execute(this)) {
        Messaggio();
        return;
    }
    OpenFile(OpenDialog->FileName);
}

bool TfrmMain::OpenFile(const QString& fileName)
{
    TWaitCursor wait;
    const QString suffix = QFileInfo(fileName).suffix().toUpper();
    Messaggio();
    setWindowTitle(QString::fromStdString(BaseTitle) + QStringLiteral(" - ") + fileName);
    bool loaded = true;
    try {
        if (suffix == QLatin1String("BMP"))
            LoadBmpFile(fileName);
        else if (suffix == QLatin1String("DXF"))
            LoadDxfFile(fileName);
        else if (suffix == QLatin1String("SVG"))
            LoadSvgFile(fileName);
        else if (suffix == QLatin1String("JPG") || suffix == QLatin1String("JPEG"))
            LoadJpegFile(fileName);
        else {
            ApplicationMessageBox(Msg(kMsgUnknownType), Msg(kMsgBoxCaption), kMbOk + kMbIconWarning);
            loaded = false;
        }
    } catch (const TLoadRefused&) {
        loaded = false;
    } catch (const std::exception& error) {
        // RasterError, svg::svg_exception and the DXF reader's errors all say
        // what was wrong with the file.
        ApplicationMessageBox(QString::fromStdString(error.what()), Msg(kMsgBoxCaption), kMbOk + kMbIconError);
        loaded = false;
    }
    if (loaded) {
        LoadedFile.PlacementRotation = 0;
        LoadedFile.PlacementShownCorner = 0;
        LoadedFile.PlacementCorner = 0;
    }
    return loaded;
}

void TfrmMain::LoadBmpFile(const QString& fileName)
{
    LoadRasterFile(fileName, false);
}

void TfrmMain::LoadJpegFile(const QString& fileName)
{
    LoadRasterFile(fileName, true);
}

void TfrmMain::LoadRasterFile(const QString& fileName, bool jpeg)
{
    const std::string name = fileName.toStdString();
    LoadedRaster raster = jpeg ? LoadJpegRaster(name) : LoadBmpRaster(name);
    const int bitCount = jpeg ? 24 : raster.bitCount;

    SetFileName(fileName);
    if (auto* corner = Control<QRadioButton>(*this, "rbtOrigine1"))
        corner->setChecked(true);
    FreeRasters();
    LoadedFile.SourceRaster = std::move(raster.image);
    LoadedFile.RasterDepthClass = RasterDepthClass(bitCount);
    LoadedFile.RasterPixelWidth = LoadedFile.SourceRaster.width();
    LoadedFile.RasterPixelHeight = LoadedFile.SourceRaster.height();

    FillInfoTree(*treInfoRas, Msg(118),
                 {Msg(110) + BaseName(fileName), Msg(111) + QString::number(LoadedFile.RasterPixelWidth),
                  Msg(112) + QString::number(LoadedFile.RasterPixelHeight),
                  Msg(113) + QString::fromStdString(DepthText(bitCount)),
                  Msg(114) + QString::number(raster.resolutionShown), Msg(115) + QStringLiteral(" 0")});

    const bool millimetres = UnitsMode == 0;
    LoadedFile.RasterWorldWidth =
        static_cast<float>(RasterWorldSize(LoadedFile.RasterPixelWidth, raster.dotsPerInch, millimetres));
    LoadedFile.RasterWorldHeight =
        static_cast<float>(RasterWorldSize(LoadedFile.RasterPixelHeight, raster.dotsPerInch, millimetres));
    // A picture comes in with its lower-left corner at the origin, whatever
    // the drawing opened before it left behind.
    LoadedFile.RasterOriginX = 0.0f;
    LoadedFile.RasterOriginY = 0.0f;

    FillingControls = true;
    SetSizeFields(*this, formatta(LoadedFile.RasterWorldWidth), formatta(LoadedFile.RasterWorldHeight));
    ShowDrawingOrigin(*this, false);
    chkViewOriginal->setChecked(true);

    ShowRaster(false, true);
    LoadedFile.MonoRaster = MakeMonoRaster(LoadedFile.SourceRaster.size());
    PresetGridForOpen();
    ShowOpenPages(jpeg ? kMsgJpegGroup : kMsgBmpGroup);

    LoadedFile.ClearKinds();
    (jpeg ? LoadedFile.IsJpegLoaded : LoadedFile.IsBmpLoaded) = true;
    MostraTBar(true);
    CreaBmpMono();
    LocalCad().RepaintViewports();
}

void TfrmMain::ShowOpenPages(int groupCaption)
{
    VisPagine({kPageAttrib, kPageOpen2});
    grpInfoFile->setTitle(Msg(groupCaption));
    AbilitaPnl(false, true, false, false);
}

namespace {

// What the two drawing loaders share once the file is in the drawing: the
// pages, the extent bookkeeping, the information tree and the frame.
void FinishVectorLoad(TfrmMain& frm, const QString& fileName, const TDXFImportCounters* counters)
{
    frm.ShowOpenPages(kMsgVectorGroup);
    frm.FillingControls = true;
    frm.PresetGridForOpen();

    TRect2D box{};
    if (!frm.LocalCad().GetExtension(box) || box.FirstEdge.X > box.SecondEdge.X)
        box = TRect2D{};
    const float minX = box.FirstEdge.X;
    const float minY = box.FirstEdge.Y;
    const float maxX = box.SecondEdge.X;
    const float maxY = box.SecondEdge.Y;
    LoadedFile.DrawingOrigWidth = LoadedFile.RasterWorldWidth = std::fabs(maxX - minX);
    LoadedFile.DrawingOrigHeight = LoadedFile.RasterWorldHeight = std::fabs(maxY - minY);

    for (QRadioButton* corner : frm.findChildren<QRadioButton*>())
        if (corner->objectName().startsWith(QLatin1String("rbtOrigine")))
            corner->setChecked(false);
    if (auto* origin = Control<QRadioButton>(frm, "rbtOriginDxf"))
        origin->setChecked(true);
    ShowDrawingOrigin(frm, true);
    LoadedFile.DrawingOrigMinX = LoadedFile.RasterOriginX = minX;
    LoadedFile.DrawingOrigMinY = LoadedFile.RasterOriginY = minY;
    LoadedFile.PlacementViewShiftX = 0.0f;
    LoadedFile.PlacementViewShiftY = 0.0f;

    const auto number = [](double value) { return QString::fromStdString(FormatSepNumber(value)); };
    SetSizeFields(frm, number(LoadedFile.DrawingOrigWidth), number(LoadedFile.DrawingOrigHeight));

    // The corners as the NC program would write them; the upper corner's
    // words are left out where they repeat the lower one's.
    TNcModalMemory modal;
    modal.ClearWords();
    const TNcJobValues job;
    TNcWriter words(PostSettings, modal, job);
    const QString lower = QString::fromStdString(words.FormatXWord(minX) + ", " + words.FormatYWord(minY));
    const QString upper = QString::fromStdString(words.FormatXWord(maxX) + ", " + words.FormatYWord(maxY));
    QStringList lines{Msg(182) + BaseName(fileName), Msg(183) + QLatin1Char(' ') + lower,
                      Msg(184) + QLatin1Char(' ') + upper};
    if (counters) {
        lines << Msg(185) + number(LoadedFile.DrawingOrigWidth) << Msg(186) + number(LoadedFile.DrawingOrigHeight)
              << Msg(187) + QString::number(counters->Points) << Msg(188) + QString::number(counters->Lines)
              << Msg(189) + QString::number(counters->Arcs) << Msg(190) + QString::number(counters->Circles)
              << Msg(191) + QString::number(counters->Polylines) << Msg(192) + QString::number(counters->Ellipses);
        if (counters->Inserts != 0)
            lines << Msg(193) + QString::number(counters->Inserts);
    }
    FillInfoTree(*frm.treInfoRas, Msg(kMsgVectorGroup) + QStringLiteral(" - Version: ") + QString::number(DxfVersion),
                 lines);

    TCADViewport2DCore& view = frm.VistaGrafica->Core2D();
    view.ZoomToExtension();
    view.ZoomOut();
    // The extent as a frame in the view only; the drawing does not hold it.
    TFrame2D frame(0, MakePoint2D(minX, minY), MakePoint2D(maxX, maxY));
    view.DrawObject2D(frame, false);
    frm.FillingControls = false;
}

} // namespace

void TfrmMain::LoadDxfFile(const QString& fileName)
{
    auto read = std::make_unique<TDxfRead>();
    ReadDxf(fileName, LocalCad().Layers(), *read);
    // A file that gave nothing and did not end as it should is refused; one
    // that gave something opens with it, and the user hears what is missing.
    const bool nothingRead = read->Drawing.ObjectsCount() == 0 && read->Drawing.SourceBlocksCount() == 0;
    if (nothingRead && read->Result.Failed) {
        ApplicationMessageBox(QString::fromStdString(read->Notice), Msg(kMsgBoxCaption), kMbOk + kMbIconError);
        throw TLoadRefused{};
    }
    SetFileName(fileName);
    ClearDrawing();
    for (int index = 0; index < TLayers::Count; ++index)
        LocalCad().Layers().GetLayer(index) = read->Drawing.Layers().GetLayer(index);
    LocalCad().CurrentLayer = read->Drawing.CurrentLayer;
    LocalCad().TakeAllFrom(read->Drawing);
    LastDxfFileName = fileName.toStdString();
    LoadedFile.ClearKinds();
    LoadedFile.IsDxfLoaded = true;
    FinishVectorLoad(*this, fileName, &read->Result.Counters);
    if (!read->Notice.empty())
        ApplicationMessageBox(QString::fromStdString(read->Notice), Msg(kMsgBoxCaption), kMbOk + kMbIconWarning);
}

void TfrmMain::LoadSvgFile(const QString& fileName)
{
    ProbeImport([&](TCADCmp2D& scratch) {
        ImportSvgFile(fileName.toStdString(), scratch);
        return true;
    });
    SetFileName(fileName);
    ClearDrawing();
    ImportSvgFile(fileName.toStdString(), LocalCad());
    LoadedFile.ClearKinds();
    LoadedFile.IsSvgLoaded = true;
    FinishVectorLoad(*this, fileName, nullptr);
}

void TfrmMain::ShowRaster(bool mono, bool zoom)
{
    TCADCmp2D& drawing = LocalCad();
    const QImage& picture = mono ? LoadedFile.MonoRaster : LoadedFile.SourceRaster;
    const std::uint8_t layer = drawing.CurrentLayer;
    drawing.CurrentLayer = 0;
    ClearDrawing();
    if (!picture.isNull()) {
        const TPoint2D first = MakePoint2D(LoadedFile.RasterOriginX, LoadedFile.RasterOriginY);
        const TPoint2D second = MakePoint2D(LoadedFile.RasterOriginX + LoadedFile.RasterWorldWidth,
                                            LoadedFile.RasterOriginY + LoadedFile.RasterWorldHeight);
        drawing.AddObject(0, std::make_unique<TBitmap2D>(0, first, second, picture));
    }
    if (zoom)
        VistaGrafica->Core2D().ZoomToExtension();
    drawing.RepaintViewports();
    drawing.CurrentLayer = layer;
}

void TfrmMain::PresetGridForOpen()
{
    TCADViewportCore& view = VistaGrafica->Core();
    LoadedFile.SavedGridDeltaX = view.GridDeltaX();
    LoadedFile.SavedGridDeltaY = view.GridDeltaY();
    LoadedFile.SavedGridDown = sbtGridOnOff->isChecked();
    LoadedFile.SavedAxisDown = sbtAxisOnOff->isChecked();
    const float step = UnitsMode == 0 ? 10.0f : 1.0f;
    view.SetGridDeltaX(step);
    view.SetGridDeltaY(step);
    sbtGridOnOff->setChecked(true);
    sbtGridOnOffClick();
    sbtAxisOnOff->setChecked(true);
    sbtAxisOnOffClick();
}

void TfrmMain::CreateOpenPages()
{
    QWidget* page = Page(kPageAttrib);
    // The information on top; the placement puts its size group below it.
    auto* layout = new QVBoxLayout(page);
    grpInfoFile = new QGroupBox(page);
    grpInfoFile->setObjectName(QStringLiteral("grpInfoFile"));
    auto* infoLayout = new QVBoxLayout(grpInfoFile);
    treInfoRas = new QTreeWidget(grpInfoFile);
    treInfoRas->setObjectName(QStringLiteral("treInfoRas"));
    treInfoRas->setHeaderHidden(true);
    // Long file names and corner words scroll rather than lose their ends.
    treInfoRas->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    treInfoRas->header()->setStretchLastSection(false);
    infoLayout->addWidget(treInfoRas);
    layout->addWidget(grpInfoFile, 1);
    auto* next = new QToolButton(page);
    next->setObjectName(QStringLiteral("sbtAttribNext"));
    next->setText(QStringLiteral("Next Page"));
    layout->addWidget(next, 0, Qt::AlignRight);
    connect(next, &QToolButton::clicked, this, [this] { SetActivePage(kPageOpen2); });
    connect(sbtNew, &QToolButton::clicked, this, &TfrmMain::sbtNewClick);
    connect(sbtOpen, &QToolButton::clicked, this, &TfrmMain::sbtOpenClick);
    CreateVectorizePages();
}
