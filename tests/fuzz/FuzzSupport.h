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
#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/stream/CADStream.h"
#include "cad/view/CADViewport2DCore.h"

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

// What a user does with a drawing just read: sees it whole, and picks at its
// corners and centre.
inline void RedrawAndPick(TCADCmp2D& drawing)
{
    TCADViewport2DCore view;
    view.Resize(64, 48);
    view.SetCADCmp2D(&drawing);
    view.ZoomToExtension();
    view.Repaint();
    TRect2D box = MakeRect2D(0, 0, 0, 0);
    drawing.GetExtension(box);
    const TPoint2D points[] = {box.FirstEdge, box.SecondEdge,
                               MakePoint2D((box.FirstEdge.X + box.SecondEdge.X) / 2,
                                           (box.FirstEdge.Y + box.SecondEdge.Y) / 2)};
    for (const TPoint2D& point : points) {
        int code = 0;
        view.PickObject(point, 4, code, false);
    }
}

} // namespace fuzz
