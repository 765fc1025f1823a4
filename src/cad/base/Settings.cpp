#include "cad/base/Settings.h"

std::int32_t UnitsMode = 0;
std::string DisplayFormat;
double ChainTol = 0.001;
double SystemTol = 0.0001;
double CornerRound = 1.0;
TColor FormColor = 0;
TColor DefaultLayerColor = 0;
TColor LayerContrastColor = 0;
std::string LanguageName;
std::string PostName = "fanuc_mm";
std::int32_t ToolIndex = 0;
std::string NcDir;
std::string LoadedFileName;
std::string TempDir;
std::string BaseTitle;
std::string LogPath;
bool MruBarEnabled = true;
