#include "view3d/utility/CrossPlatform.h"

#include <cerrno>
#include <chrono>
#include <string>
#include <system_error>

#include <QImage>

#include "platform/SystemColors.h"

TColor ColorToRGB(TColor color)
{
    if (color >= 0)
        return color;
    return static_cast<TColor>(GetSysColor(color & 0xFF));
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
