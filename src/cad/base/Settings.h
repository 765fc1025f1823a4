#pragma once

// Process-wide settings that the engine and the CAM code read. The shell
// fills them from the settings file at start-up and writes them back at close.

#include <cstdint>
#include <string>

using TColor = std::int32_t;

extern std::int32_t UnitsMode;       // 0 millimetres, 1 inches
extern std::string DisplayFormat;    // "%0.3f" or "%0.4f"; empty until the settings are read
extern double ChainTol;              // end points closer than this join a chain
extern double SystemTol;             // shortest element kept, intersection tolerance
extern double CornerRound;           // corner angle in degrees above which an offset corner gets an arc
extern TColor FormColor;
extern TColor DefaultLayerColor;
extern TColor LayerContrastColor;
extern std::string LanguageName;
extern std::string PostName;
extern std::int32_t ToolIndex;
extern std::string NcDir;
extern std::string LoadedFileName;
extern std::string TempDir;
extern std::string BaseTitle;
extern std::string LogPath;
extern bool MruBarEnabled;
