#include "cad/base/CADMessageSink.h"

#include <iostream>
#include <utility>

namespace {

void WriteToStandardError(const std::string& text)
{
    std::cerr << text << '\n';
}

TCADMessageSink& CurrentSink()
{
    static TCADMessageSink sink = WriteToStandardError;
    return sink;
}

} // namespace

void ShowCADMessage(const std::string& text)
{
    // A copy, so that a sink may replace itself while it runs.
    const TCADMessageSink sink = CurrentSink();
    sink(text);
}

TCADMessageSink SetCADMessageSink(TCADMessageSink sink)
{
    if (!sink)
        sink = WriteToStandardError;
    return std::exchange(CurrentSink(), std::move(sink));
}
