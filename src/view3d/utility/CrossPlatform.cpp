#include "view3d/utility/CrossPlatform.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <string>
#include <system_error>

#include <QImage>

namespace {

constexpr TColor Rgb(int r, int g, int b)
{
    return static_cast<TColor>(r | (g << 8) | (b << 16));
}

// The system colours of a default desktop, by index: without a window system
// to ask, these are the values a user would see.
constexpr std::array<TColor, 31> SystemColors = {
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

TColor ColorToRGB(TColor color)
{
    if (color >= 0)
        return color;
    const auto index = static_cast<std::size_t>(color & 0xFF);
    return index < SystemColors.size() ? SystemColors[index] : 0;
}

int GetRValue(TColor color)
{
    return color & 0xFF;
}

int GetGValue(TColor color)
{
    return (color >> 8) & 0xFF;
}

int GetBValue(TColor color)
{
    return (color >> 16) & 0xFF;
}

void RaiseLastOSError()
{
    throw EOSError("OS Error : " + std::system_category().message(errno));
}

std::uint8_t* GetScanLine(QImage& image, int row)
{
    return image.scanLine(row);
}

void QueryPerformanceCounter(std::int64_t& counter)
{
    counter = std::chrono::duration_cast<std::chrono::nanoseconds>(
                  std::chrono::steady_clock::now().time_since_epoch())
                  .count();
}

bool QueryPerformanceFrequency(std::int64_t& frequency)
{
    frequency = 1'000'000'000;
    return true;
}
