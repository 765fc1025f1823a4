#include "cad/view/ScreenCursor.h"

#include <utility>

namespace {

int CurrentSlot = crDefault;

TScreenCursorSink& Sink()
{
    static TScreenCursorSink sink;
    return sink;
}

} // namespace

int ScreenCursor()
{
    return CurrentSlot;
}

void SetScreenCursor(int slot)
{
    if (slot == CurrentSlot)
        return;
    CurrentSlot = slot;
    if (Sink())
        Sink()(slot);
}

TScreenCursorSink SetScreenCursorSink(TScreenCursorSink sink)
{
    return std::exchange(Sink(), std::move(sink));
}
