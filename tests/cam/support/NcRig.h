#pragma once

// A post read from ini text, with its own modal memory, job values and writer,
// so that NC tests neither read nor change the program's globals.

#include <cmath>
#include <numbers>
#include <string_view>

#include "cam/nc/NcWords.h"
#include "cam/nc/PostSettings.h"

struct TNcRig {
    explicit TNcRig(std::string_view postText) : Post(ReadPostSettingsFromText(postText))
    {
        Modal.BlockNumber = Post.SeqStart;
    }

    TPostSettings Post;
    TNcModalMemory Modal;
    TNcJobValues Job;
    TNcWriter Writer{Post, Modal, Job};
};

// An arc from start to end sweeping the given degrees, counter-clockwise when
// positive and clockwise when negative.
inline TChainElement ArcOfSweep(TVect start, TVect end, double sweepDegrees)
{
    return MakeElement(start, end, std::tan(sweepDegrees * std::numbers::pi / 180.0 / 4.0));
}
