#include "cam/ProgressSink.h"

unsigned char LastKey = 0;

void TLastKeyProgressSink::SetProgress(int /*percent*/) {}

void TLastKeyProgressSink::PumpMessages() {}

bool TLastKeyProgressSink::Aborted()
{
    return LastKey == ESCAPE_KEY;
}

TProgressSink& DefaultProgressSink()
{
    static TLastKeyProgressSink sink;
    return sink;
}
