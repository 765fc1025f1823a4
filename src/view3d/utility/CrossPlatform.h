#pragma once

// The few platform services the 3D view uses outside OpenGL.

#include <cstdint>
#include <stdexcept>

#include "cad/base/Settings.h"

class QImage;

class EOSError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A negative colour names a system colour by its low byte and becomes that
// colour's value; any other colour is returned unchanged (0x00BBGGRR).
TColor ColorToRGB(TColor color);
int GetRValue(TColor color);
int GetGValue(TColor color);
int GetBValue(TColor color);

// Raises EOSError "OS Error : " and the system's text for the last error (errno).
[[noreturn]] void RaiseLastOSError();

// The first byte of one row of an image.
std::uint8_t* GetScanLine(QImage& image, int row);

// A monotonic high-resolution counter and its ticks per second; the
// frequency query tells whether the platform has such a counter.
void QueryPerformanceCounter(std::int64_t& counter);
bool QueryPerformanceFrequency(std::int64_t& frequency);
