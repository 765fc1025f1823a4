#include "platform/SystemColors.h"

#include <array>

namespace {

constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    return r | (g << 8) | (b << 16);
}

// The system colours of a default desktop, by index: without a window system
// to ask, these are the values a user would see.
constexpr std::array<std::uint32_t, 31> SystemColors = {
    Rgb(200, 200, 200), // scroll bar
    Rgb(0, 0, 0),       // background
    Rgb(153, 180, 209), // active caption
    Rgb(191, 205, 219), // inactive caption
    Rgb(240, 240, 240), // menu
    Rgb(255, 255, 255), // window
    Rgb(100, 100, 100), // window frame
    Rgb(0, 0, 0),       // menu text
    Rgb(0, 0, 0),       // window text
    Rgb(0, 0, 0),       // caption text
    Rgb(180, 180, 180), // active border
    Rgb(244, 247, 252), // inactive border
    Rgb(171, 171, 171), // application workspace
    Rgb(0, 120, 215),   // highlight
    Rgb(255, 255, 255), // highlight text
    Rgb(240, 240, 240), // button face
    Rgb(160, 160, 160), // button shadow
    Rgb(109, 109, 109), // grey text
    Rgb(0, 0, 0),       // button text
    Rgb(0, 0, 0),       // inactive caption text
    Rgb(255, 255, 255), // button highlight
    Rgb(105, 105, 105), // 3D dark shadow
    Rgb(227, 227, 227), // 3D light
    Rgb(0, 0, 0),       // tooltip text
    Rgb(255, 255, 225), // tooltip background
    Rgb(0, 0, 0),       // (unused)
    Rgb(0, 102, 204),   // hot light
    Rgb(185, 209, 234), // gradient active caption
    Rgb(215, 228, 242), // gradient inactive caption
    Rgb(51, 153, 255),  // menu highlight
    Rgb(240, 240, 240), // menu bar
};

} // namespace

std::uint32_t GetSysColor(int index)
{
    if (index < 0 || index >= static_cast<int>(SystemColors.size()))
        return 0;
    return SystemColors[static_cast<std::size_t>(index)];
}
