// The main window's file commands that this part of the program owns:
// "Save vector" with its writers.

#include <exception>
#include <string>

#include <QFileInfo>

#include "app/CommandCode.h"
#include "app/Language.h"
#include "app/LanguageMessages.h"
#include "app/NumericText.h"
#include "app/SettingsFile.h"
#include "app/ui/ApplicationMessageBox.h"
#include "app/ui/frmMain.h"
#include "cad/base/Settings.h"
#include "cad/drawing/CADCmp2D.h"
#include "import/LastDxfFileName.h"
#include "import/VectorWriters.h"
#include "import/ui/SaveDialog.h"

namespace {

const QString kSaveFilter = QStringLiteral("Dxf files (*.dxf)|*.DXF|Txt files (*.txt)|*.TXT|Hpgl files (*.hgl)|*.HGL");

// The last drawing's name, else the open dialog's without its folder, either
// without its extension; the open dialog's "*.*" stands for no name.
QString ProposedSaveName(const QString& openDialogName)
{
    QString name = !LastDxfFileName.empty() ? QString::fromStdString(LastDxfFileName)
                                            : QFileInfo(openDialogName).fileName();
    if (name == QLatin1String("*.*"))
        name = QStringLiteral("t");
    const QString suffix = QFileInfo(name).suffix();
    if (!suffix.isEmpty())
        name.chop(suffix.size() + 1);
    return name;
}

enum class TSaveFormat { Refused, Points, Hpgl };

// The writer for the chosen name: its extension decides, else the filter.
TSaveFormat SaveFormat(const QString& fileName, int filterIndex)
{
    const QString extension = QFileInfo(fileName).suffix().toUpper();
    if (extension == QLatin1String("TXT"))
        return TSaveFormat::Points;
    if (extension == QLatin1String("HGL") || extension == QLatin1String("PLT"))
        return TSaveFormat::Hpgl;
    if (extension == QLatin1String("DXF"))
        return TSaveFormat::Refused;
    return filterIndex == 2 ? TSaveFormat::Points : filterIndex == 3 ? TSaveFormat::Hpgl : TSaveFormat::Refused;
}

} // namespace

void TfrmMain::sbtSaveClick()
{
    CommandCode = kCommandNone;
    if (LocalCad().ObjectsCount() == 0) {
        ApplicationMessageBox(GetLangString(kMsgNothingToSave), GetLangString(kMsgSaveCaption),
                              kMbOk + kMbIconWarning);
        return;
    }
    Messaggio(GetLangString(kMsgSaveStatus));
    if (!SaveDialog)
        SaveDialog = new TSaveDialog(this);
    SaveDialog->Filter = kSaveFilter;
    // The open dialog holds the file last opened, or starts from the settings.
    SaveDialog->FileName = ProposedSaveName(LoadedFileName.empty() ? OpenDialogFileName(SettingsWindowValues())
                                                                   : QString::fromStdString(LoadedFileName));
    SaveDialog->DefaultExt = QStringLiteral("dxf");
    SaveDialog->OverwritePrompt = true;
    if (SaveDialog->Execute(this)) {
        QString fileName = SaveDialog->FileName;
        if (QFileInfo(fileName).suffix().isEmpty()) {
            static const char* const extensions[] = {".dxf", ".txt", ".hgl"};
            const int index = SaveDialog->FilterIndex;
            fileName += index >= 1 && index <= 3 ? QString::fromLatin1(extensions[index - 1])
                                                 : QLatin1Char('.') + SaveDialog->DefaultExt;
        }
        LastDxfFileName = fileName.toStdString();
        Messaggio();
        try {
            switch (SaveFormat(fileName, SaveDialog->FilterIndex)) {
            case TSaveFormat::Points:
                ScriveTxt(fileName);
                break;
            case TSaveFormat::Hpgl:
                ScriveHpgl(fileName);
                break;
            case TSaveFormat::Refused:
                ApplicationMessageBox(GetLangString(kMsgNoDxfWriter), GetLangString(kMsgBoxCaption),
                                      kMbOk + kMbIconWarning);
                break;
            }
        } catch (const std::exception& e) {
            ApplicationMessageBox(QString::fromStdString(e.what()), GetLangString(kMsgBoxCaption),
                                  kMbOk + kMbIconError);
        }
    }
    VisPagine({999});
}

void TfrmMain::ScriveHpgl(const QString& fileName)
{
    WriteFileAtomically(fileName.toStdString(), [&](std::ostream& out) { WriteHpgl(LocalCad(), out, UnitsMode); });
}

void TfrmMain::ScriveTxt(const QString& fileName)
{
    WriteFileAtomically(fileName.toStdString(), [&](std::ostream& out) {
        WritePointList(LocalCad(), out, [](float value) { return formatta(value).toStdString(); });
    });
}
