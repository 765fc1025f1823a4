#pragma once

// Every process-wide value that start-up or the settings file sets, taken
// when the object is made and put back by Restore, so that one test's
// settings do not reach the next.

#include <array>
#include <cstdint>
#include <string>

#include <QString>

#include "app/CommandCode.h"
#include "app/Language.h"
#include "cad/base/Settings.h"

class TStartupGlobals {
public:
    TStartupGlobals() = default;
    void Restore() const
    {
        UnitsMode = SavedUnitsMode;
        DisplayFormat = SavedDisplayFormat;
        ChainTol = SavedChainTol;
        SystemTol = SavedSystemTol;
        CornerRound = SavedCornerRound;
        FormColor = SavedFormColor;
        DefaultLayerColor = SavedDefaultLayerColor;
        LayerContrastColor = SavedLayerContrastColor;
        LanguageName = SavedLanguageName;
        PostName = SavedPostName;
        ToolIndex = SavedToolIndex;
        NcDir = SavedNcDir;
        LoadedFileName = SavedLoadedFileName;
        TempDir = SavedTempDir;
        BaseTitle = SavedBaseTitle;
        LogPath = SavedLogPath;
        MruBarEnabled = SavedMruBarEnabled;
        CommandCode = SavedCommandCode;
        PageTexts = SavedPageTexts;
    }

private:
    std::int32_t SavedUnitsMode = UnitsMode;
    std::string SavedDisplayFormat = DisplayFormat;
    double SavedChainTol = ChainTol;
    double SavedSystemTol = SystemTol;
    double SavedCornerRound = CornerRound;
    TColor SavedFormColor = FormColor;
    TColor SavedDefaultLayerColor = DefaultLayerColor;
    TColor SavedLayerContrastColor = LayerContrastColor;
    std::string SavedLanguageName = LanguageName;
    std::string SavedPostName = PostName;
    std::int32_t SavedToolIndex = ToolIndex;
    std::string SavedNcDir = NcDir;
    std::string SavedLoadedFileName = LoadedFileName;
    std::string SavedTempDir = TempDir;
    std::string SavedBaseTitle = BaseTitle;
    std::string SavedLogPath = LogPath;
    bool SavedMruBarEnabled = MruBarEnabled;
    std::int32_t SavedCommandCode = CommandCode;
    std::array<QString, kPageTextCount> SavedPageTexts = PageTexts;
};
