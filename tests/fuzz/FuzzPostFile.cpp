// A post-processor file of any bytes, then a short program written through it:
// every template, straight and arc moves, and drilling words.

#include <string_view>

#include "FuzzSupport.h"
#include "cad/base/Settings.h"
#include "cam/chains/ChainElement.h"
#include "cam/nc/NcWords.h"
#include "cam/nc/PostSettings.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    UnitsMode = 0;
    DisplayFormat = "%0.3f";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const TPostSettings post =
        ReadPostSettingsFromText(std::string_view(reinterpret_cast<const char*>(data), size));
    TNcModalMemory modal;
    TNcJobValues job;
    TNcWriter writer(post, modal, job);
    for (const std::string* templ : {&post.PostComment, &post.StartOfFile, &post.ToolChange,
                                     &post.BeforeFirstFeedMove, &post.AfterFirstFeedMove,
                                     &post.BeforeLastFeedMove, &post.AfterLastFeedMove, &post.EndOfFile})
        writer.WriteTemplate(*templ, 12.5, -3.25);
    for (const TCycleTemplates& cycle : post.Cycles) {
        writer.WriteTemplate(cycle.CycleDef, 1, 2);
        writer.WriteTemplate(cycle.CycleMove, 3, 4);
        writer.WriteTemplate(cycle.CycleCancel, 3, 4);
    }
    writer.WriteMoveLine(MOTION_RAPID, RAPID_FEED, 0, 0);
    writer.WriteNcLine(MOTION_LINEAR, writer.FormatZWord(-1.5));
    writer.WriteMoveLine(MOTION_LINEAR, "250", 10, 0);
    writer.WriteArcBlock(TChainElement{10, 0, 0, 10, 0.4142, 0, 0});
    writer.WriteArcBlock(TChainElement{0, 10, 10, 0, -1, 0, 0});
    writer.WriteArcBlock(TChainElement{10, 0, 20, 0, 0, 0, 0});
    writer.FormatCycleWord(post.DepthPrefix, -5);
    writer.FormatToolWord(3);
    return 0;
}
