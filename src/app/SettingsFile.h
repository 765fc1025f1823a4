#pragma once

// The settings file "kestro.ini" in the program folder: read once at start
// into the settings globals (cad/Settings.h) and into the values that the
// windows take, written back once when the user confirms closing.
//
// [Color]   Form, BackGround, DefLayers, Grid              (TColor integers)
// [Default] Unit, ChainTol, SystemTol, RapidFeedrate, CornerRound, SGrid, SAxis,
//           Language, GridX, GridY, SnapX, SnapY, Pst, Tool, FOpen, NcDir,
//           MRUenable, MRUpx, MRUpy
//
// A missing file or key, or a value that is not a number of its kind, gives
// the default; the tolerances and the rapid feed rate default by units mode.

#include <cstdint>
#include <optional>
#include <string>

#include <QString>

#include "cad/base/Settings.h"

class IniFile;

// clWindow, the system's window colour, as the settings file stores it.
inline constexpr TColor kClWindow = static_cast<TColor>(0xFF000005u);

// The layers' colour that "Reset def." gives, and the one a first start
// takes: lime, seen on the grey background that a first start also takes.
inline constexpr TColor kResetLayerColor = 0x00FF00;

// The values of the settings file that the main window applies to its
// controls, and hands back at close.
struct TSettingsWindowValues {
    TColor WindowColor = kClWindow;       // Form: the main window and its panels
    TColor BackgroundColor = 0x808080;    // BackGround: the 2D and 3D view backgrounds
    TColor GridColor = 0x800000;          // Grid: the 2D view's grid
    bool ShowGrid = true;                 // SGrid
    bool ShowAxes = true;                 // SAxis
    double GridDeltaX = 10.0;             // GridX
    double GridDeltaY = 10.0;             // GridY
    double SnapX = 10.0;                  // SnapX: the engine's snap steps
    double SnapY = 10.0;                  // SnapY
    std::string RapidFeedrate = "10000";  // the rapid feed rate text of the CNC page
    std::string OpenFileName;             // FOpen as read; see OpenDialogFileName
    bool MruVisible = true;               // MRUenable: the recently-used bar is shown
    std::int32_t MruLeft = 500;           // MRUpx, MRUpy: the bar's position
    std::int32_t MruTop = 400;
};

// program folder + "/kestro.ini".
QString SettingsFilePath();

// Reads every key into the globals (UnitsMode, DisplayFormat, ChainTol,
// SystemTol, CornerRound, FormColor, DefaultLayerColor, LayerContrastColor,
// LanguageName, PostName, ToolIndex, NcDir, MruBarEnabled) and returns the
// window values. An empty NcDir becomes program folder + "/sample".
TSettingsWindowValues ReadSettings(const IniFile& file);
// ReadSettings of the file at path; a missing or unreadable file gives the defaults.
TSettingsWindowValues ReadSettingsFile(const QString& path);

// The name the open dialog starts with: FOpen, or program folder + "/sample/*.*".
QString OpenDialogFileName(const TSettingsWindowValues& values);

// The contrast colour that goes with a view background at start.
TColor LayerContrastForBackground(TColor background);

// Writes every key but Pst and Tool, [Color] first, then [Default] in the
// order Unit, ChainTol, SystemTol, CornerRound, SGrid, SAxis, GridX, GridY,
// SnapX, SnapY, FOpen, NcDir, Language, MRUenable, MRUpx, MRUpy, RapidFeedrate.
// Keys already in the file keep their place. FOpen is the last file the user
// opened (LoadedFileName), or the value read at start when none was opened.
void WriteSettings(IniFile& file, const TSettingsWindowValues& values);
// WriteSettings into the file at path, keeping its other keys, and saves it
// in one step. None on success, otherwise the message to show the user.
std::optional<QString> WriteSettingsFile(const QString& path, const TSettingsWindowValues& values);
