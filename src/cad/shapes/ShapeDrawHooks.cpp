#include "cad/shapes/ShapeDrawHooks.h"

#include <charconv>

TShapeDrawHooks& ShapeDrawHooks()
{
    static TShapeDrawHooks hooks;
    return hooks;
}

void ShowShapeLabel(const char* label, double value)
{
    const TShapeDrawHooks& hooks = ShapeDrawHooks();
    if (!hooks.SetLabel)
        return;
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 4);
    hooks.SetLabel(label, result.ec == std::errc() ? std::string(text, result.ptr) : std::string("0.0000"));
}
