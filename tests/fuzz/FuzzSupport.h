#pragma once

// What every fuzz target shares: the input as a stream, a message sink that
// keeps quiet, and Qt set up once for drawing without a display.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <QGuiApplication>

#include "cad/base/CADMessageSink.h"
#include "cad/drawing/CADClassRegistration.h"
#include "cad/stream/CADStream.h"

namespace fuzz {

inline TCADStreamReader ReaderOf(const std::uint8_t* data, std::size_t size)
{
    return TCADStreamReader(std::vector<std::uint8_t>(data, data + size), "fuzz input");
}

// Notices are what damaged input is expected to produce: they are dropped.
inline void QuietMessages()
{
    SetCADMessageSink([](const std::string&) {});
}

// Fonts and painting need an application object; offscreen needs no display.
inline void StartOffscreenApplication()
{
    static int argc = 1;
    static char name[] = "kestro_fuzz";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication application(argc, argv);
}

// What a reader of the drawing engine's streams needs once: quiet notices,
// Qt for pictures and text, and the stream codes of every class.
inline int StartDrawingEngine()
{
    QuietMessages();
    StartOffscreenApplication();
    RegisterCADClasses();
    return 0;
}

// A round trip that does not give back what it was given is a fault like a
// crash: the fuzzer stops on it and keeps the input.
inline void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

} // namespace fuzz
