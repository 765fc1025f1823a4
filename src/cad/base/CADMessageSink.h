#pragma once

// Where the drawing engine's notices go ("File not found!", "Object class not
// found. Object not load", ...). The engine never opens a window itself: the
// shell points the sink at a message box, tests record the texts, and by
// default they are written to the standard error stream.

#include <functional>
#include <string>

using TCADMessageSink = std::function<void(const std::string& text)>;

void ShowCADMessage(const std::string& text);

// Installs a sink and gives back the one it replaces; an empty sink restores
// the default.
TCADMessageSink SetCADMessageSink(TCADMessageSink sink);
