#include "app/SettingsFile.h"

#include <QFileInfo>

#include "app/UnitsMode.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

namespace {

constexpr const char* kColor = "Color";
constexpr const char* kDefault = "Default";

}  // namespace

QString SettingsFilePath()
{
    return ProgramFolder() + QStringLiteral("/kestro.ini");
}

TColor LayerContrastForBackground(TColor background)
{
    return background == 0xC0C0C0 ? 0xA4A0A0 : 0xC0C0C0;
}

TSettingsWindowValues ReadSettings(const IniFile& file)
{
    TSettingsWindowValues values;

    FormColor = file.ReadInteger(kColor, "Form", kClWindow);
    values.WindowColor = FormColor;
    values.BackgroundColor = file.ReadInteger(kColor, "BackGround", values.BackgroundColor);
    LayerContrastColor = LayerContrastForBackground(values.BackgroundColor);
    DefaultLayerColor = file.ReadInteger(kColor, "DefLayers", kResetLayerColor);
    values.GridColor = file.ReadInteger(kColor, "Grid", values.GridColor);

    // Only two units modes exist; any other number would leave every
    // units-dependent table without an entry.
    const std::int32_t unit = file.ReadInteger(kDefault, "Unit", 0);
    UnitsMode = unit == 1 ? 1 : 0;
    const TUnitsModeDefaults& defaults = UnitsModeDefaults(UnitsMode);
    DisplayFormat = defaults.DisplayFormat;
    ChainTol = file.ReadFloat(kDefault, "ChainTol", defaults.ChainTol);
    SystemTol = file.ReadFloat(kDefault, "SystemTol", defaults.SystemTol);
    values.RapidFeedrate = file.ReadString(kDefault, "RapidFeedrate", defaults.RapidFeedrate);
    CornerRound = file.ReadFloat(kDefault, "CornerRound", 1.0);
    values.ShowGrid = file.ReadBool(kDefault, "SGrid", values.ShowGrid);
    values.ShowAxes = file.ReadBool(kDefault, "SAxis", values.ShowAxes);
    LanguageName = file.ReadString(kDefault, "Language", "english");
    values.GridDeltaX = file.ReadFloat(kDefault, "GridX", values.GridDeltaX);
    values.GridDeltaY = file.ReadFloat(kDefault, "GridY", values.GridDeltaY);
    values.SnapX = file.ReadFloat(kDefault, "SnapX", values.SnapX);
    values.SnapY = file.ReadFloat(kDefault, "SnapY", values.SnapY);
    PostName = file.ReadString(kDefault, "Pst", "Fanuc_mm");
    ToolIndex = file.ReadInteger(kDefault, "Tool", 0);
    values.OpenFileName = file.ReadString(kDefault, "FOpen", "");
    NcDir = file.ReadString(kDefault, "NcDir", "");
    if (NcDir.empty())
        NcDir = (ProgramFolder() + QStringLiteral("/sample")).toStdString();
    MruBarEnabled = file.ReadBool(kDefault, "MRUenable", true);
    values.MruVisible = MruBarEnabled;
    values.MruLeft = file.ReadInteger(kDefault, "MRUpx", values.MruLeft);
    values.MruTop = file.ReadInteger(kDefault, "MRUpy", values.MruTop);
    return values;
}

TSettingsWindowValues ReadSettingsFile(const QString& path)
{
    const std::optional<IniFile> file = IniFile::FromFile(path);
    return ReadSettings(file ? *file : IniFile());
}

QString OpenDialogFileName(const TSettingsWindowValues& values)
{
    if (!values.OpenFileName.empty())
        return QString::fromStdString(values.OpenFileName);
    return ProgramFolder() + QStringLiteral("/sample/*.*");
}

void WriteSettings(IniFile& file, const TSettingsWindowValues& values)
{
    file.WriteInteger(kColor, "Form", values.WindowColor);
    file.WriteInteger(kColor, "BackGround", values.BackgroundColor);
    file.WriteInteger(kColor, "DefLayers", DefaultLayerColor);
    file.WriteInteger(kColor, "Grid", values.GridColor);

    file.WriteInteger(kDefault, "Unit", UnitsMode);
    file.WriteFloat(kDefault, "ChainTol", ChainTol);
    file.WriteFloat(kDefault, "SystemTol", SystemTol);
    file.WriteFloat(kDefault, "CornerRound", CornerRound);
    file.WriteBool(kDefault, "SGrid", values.ShowGrid);
    file.WriteBool(kDefault, "SAxis", values.ShowAxes);
    file.WriteFloat(kDefault, "GridX", values.GridDeltaX);
    file.WriteFloat(kDefault, "GridY", values.GridDeltaY);
    file.WriteFloat(kDefault, "SnapX", values.SnapX);
    file.WriteFloat(kDefault, "SnapY", values.SnapY);
    // Without a file opened in this session the name read at start is kept,
    // so that the open dialog does not forget its place.
    file.WriteString(kDefault, "FOpen", LoadedFileName.empty() ? values.OpenFileName : LoadedFileName);
    file.WriteString(kDefault, "NcDir", NcDir);
    file.WriteString(kDefault, "Language", LanguageName);
    file.WriteBool(kDefault, "MRUenable", values.MruVisible);
    file.WriteInteger(kDefault, "MRUpx", values.MruLeft);
    file.WriteInteger(kDefault, "MRUpy", values.MruTop);
    file.WriteString(kDefault, "RapidFeedrate", values.RapidFeedrate);
}

std::optional<QString> WriteSettingsFile(const QString& path, const TSettingsWindowValues& values)
{
    std::optional<IniFile> file = IniFile::FromFile(path);
    if (!file && QFileInfo::exists(path))
        return QStringLiteral("The settings could not be saved: the file \"") + path + QStringLiteral("\" cannot be read, so it was left as it is.");
    if (!file)
        file.emplace();
    WriteSettings(*file, values);
    try {
        file->SaveToFile(path);
    } catch (const EIniFileError& error) {
        return QStringLiteral("The settings could not be saved.\n") + QString::fromStdString(error.what());
    }
    return std::nullopt;
}
