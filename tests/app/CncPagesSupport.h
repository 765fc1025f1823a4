#pragma once

// What the tests that drive the CNC pages share: a guard that puts back the
// CAM globals the pages write, and the drawing they machine.

#include <string>

#include "cam/ProgressSink.h"
#include "cam/chains/Chains.h"
#include "cam/nc/NcWords.h"
#include "cam/nc/PostSettings.h"
#include "cam/simulation/NcSimulation.h"
#include "cam/toolpath/Toolpaths.h"

class TCamGlobalsGuard {
public:
    ~TCamGlobalsGuard()
    {
        ChainList = TChainList();
        MachiningType = TMachiningType::Contour;
        OffsetRadius = Offset;
        NcJobValues = Job;
        PostSettings = Post;
        PostName = Name;
        LastKey = 0;
        NcSimulation = TNcSimulation();
    }

private:
    float Offset = OffsetRadius;
    TNcJobValues Job = NcJobValues;
    TPostSettings Post = PostSettings;
    std::string Name = PostName;
};

// A 100 x 60 frame of lines and a circle inside it, as DXF text.
inline constexpr char kFramePlateDxf[] = "0\nSECTION\n2\nENTITIES\n"
                                         "0\nLINE\n8\n0\n10\n0\n20\n0\n11\n100\n21\n0\n"
                                         "0\nLINE\n8\n0\n10\n100\n20\n0\n11\n100\n21\n60\n"
                                         "0\nLINE\n8\n0\n10\n100\n20\n60\n11\n0\n21\n60\n"
                                         "0\nLINE\n8\n0\n10\n0\n20\n60\n11\n0\n21\n0\n"
                                         "0\nCIRCLE\n8\n0\n10\n50\n20\n30\n40\n10\n"
                                         "0\nENDSEC\n0\nEOF\n";
