// The settings file: read, written back, read again. What the second read
// gives must be what the first gave, and a second write must change nothing.

#include <string_view>

#include "FuzzSupport.h"
#include "app/SettingsFile.h"
#include "cad/base/Settings.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

namespace {

struct TSnapshot {
    TSettingsWindowValues Values;
    std::int32_t Units;
    double Chain, System, Corner;
    std::string Language, Post, Nc;
    std::int32_t Tool;
    TColor Form, Layers, Contrast;
    bool Mru;

    bool operator==(const TSnapshot& o) const
    {
        const TSettingsWindowValues& a = Values;
        const TSettingsWindowValues& b = o.Values;
        return a.WindowColor == b.WindowColor && a.BackgroundColor == b.BackgroundColor &&
               a.GridColor == b.GridColor && a.ShowGrid == b.ShowGrid && a.ShowAxes == b.ShowAxes &&
               a.GridDeltaX == b.GridDeltaX && a.GridDeltaY == b.GridDeltaY && a.SnapX == b.SnapX &&
               a.SnapY == b.SnapY && a.RapidFeedrate == b.RapidFeedrate && a.OpenFileName == b.OpenFileName &&
               a.MruVisible == b.MruVisible && a.MruLeft == b.MruLeft && a.MruTop == b.MruTop && Units == o.Units &&
               Chain == o.Chain && System == o.System && Corner == o.Corner && Language == o.Language &&
               Post == o.Post && Nc == o.Nc && Tool == o.Tool && Form == o.Form && Layers == o.Layers &&
               Contrast == o.Contrast && Mru == o.Mru;
    }
};

TSnapshot Read(const IniFile& file)
{
    const TSettingsWindowValues values = ReadSettings(file);
    return {values,   UnitsMode, ChainTol, SystemTol,         CornerRound,        LanguageName, PostName,
            NcDir,    ToolIndex, FormColor, DefaultLayerColor, LayerContrastColor, MruBarEnabled};
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The folder only names the default NC folder; no application object is needed for it.
    SetProgramFolder(QStringLiteral("/kestro"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    IniFile file = IniFile::FromText(std::string_view(reinterpret_cast<const char*>(data), size));
    const TSnapshot first = Read(file);
    WriteSettings(file, first.Values);
    const std::string written = file.ToText();

    IniFile again = IniFile::FromText(written);
    const TSnapshot second = Read(again);
    fuzz::Require(second == first, "the settings read back differ from those written");
    WriteSettings(again, second.Values);
    fuzz::Require(again.ToText() == written, "a second write changed the file");
    return 0;
}
