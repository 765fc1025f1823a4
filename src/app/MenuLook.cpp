#include "app/MenuLook.h"

#include <algorithm>
#include <cmath>

#include "cad/canvas/CanvasTypes.h"

namespace {

int Red(TColor c) { return c & 0xFF; }
int Green(TColor c) { return (c >> 8) & 0xFF; }
int Blue(TColor c) { return (c >> 16) & 0xFF; }

TColor Rgb(int r, int g, int b)
{
    return static_cast<TColor>(std::clamp(r, 0, 255) | (std::clamp(g, 0, 255) << 8) | (std::clamp(b, 0, 255) << 16));
}

int LightenChannel(int value, int percent)
{
    return value + static_cast<int>(std::nearbyint((255.0 - value) * percent / 100.0));
}

} // namespace

TColor TSystemColors::Resolve(TColor color) const
{
    switch (color) {
    case clBtnFace: return BtnFace;
    case clHighlight: return Highlight;
    case clBtnShadow: return BtnShadow;
    case clMenuText: return MenuText;
    case clInactiveCaption: return InactiveCaption;
    case clWindow: return Window;
    default: break;
    }
    // Other system colours do not occur in menus; a plain colour is itself.
    return color < 0 ? BtnFace : color;
}

TColor Lighten(TColor color, int percent)
{
    const int p = std::min(percent, 100);
    return Rgb(LightenChannel(Red(color), p), LightenChannel(Green(color), p), LightenChannel(Blue(color), p));
}

TColor Darken(TColor color, int amount)
{
    return Rgb(Red(color) - amount, Green(color) - (amount - 2), Blue(color) - amount);
}

TMenuWorkingColors MenuWorkingColors(const TMenuColorProperties& properties, const TSystemColors& system,
                                     bool highColor)
{
    const auto plain = [&system](TColor color) { return system.Resolve(color); };
    constexpr TColor white = 0xFFFFFF;
    constexpr TColor silver = 0xC0C0C0;
    const TColor btnFace = system.BtnFace;
    const TColor highlight = system.Highlight;
    const TColor btnShadow = system.BtnShadow;

    TMenuWorkingColors c;
    c.Item = plain(properties.Color);
    c.IconColumn = plain(properties.IconBackColor);
    c.Selection = plain(properties.SelectColor);
    c.SelectionBorder = plain(properties.SelectBorderColor);
    c.MenuBar = plain(properties.MenuBarColor);
    c.Disabled = plain(properties.DisabledColor);
    c.Checked = plain(properties.CheckedColor);
    c.Separator = plain(properties.SeparatorColor);
    c.Font = plain(properties.FontColor);
    c.SelectFont = plain(properties.SelectFontColor);
    if (highColor) {
        c.CheckedArea = Lighten(plain(properties.SelectColor), 75);
        c.CheckedAreaSelected = Lighten(plain(properties.SelectColor), 50);
        c.Border = Darken(btnFace, 90);
        c.Shadow = Darken(btnFace, 76);
    } else {
        c.CheckedArea = white;
        c.CheckedAreaSelected = silver;
        c.Border = btnShadow;
        c.Shadow = btnShadow;
    }
    if (!properties.UseSystemColors)
        return c;

    c.Font = system.MenuText;
    if (highColor) {
        c.Item = Lighten(btnFace, 86);
        c.IconColumn = Lighten(btnFace, 16);
        c.Selection = Lighten(highlight, 68);
        c.SelectionBorder = highlight;
        c.MenuBar = btnFace;
        c.Disabled = Lighten(btnShadow, 10);
        c.Separator = Lighten(btnShadow, 25);
        c.Checked = highlight;
        c.CheckedArea = Lighten(highlight, 75);
        c.CheckedAreaSelected = Lighten(highlight, 50);
    } else {
        c.Item = white;
        c.IconColumn = btnFace;
        c.Selection = white;
        c.SelectionBorder = highlight;
        c.MenuBar = btnFace;
        c.Disabled = btnShadow;
        c.Separator = highlight;
        c.Checked = btnShadow;
        c.CheckedArea = white;
        c.CheckedAreaSelected = white;
    }
    return c;
}

int MenuGradientPercent(int x, int iconWidth)
{
    const int steep = std::max(0, iconWidth + 5);
    const int percent = 3 * std::min(x, steep) + std::max(0, x - steep);
    return std::clamp(percent, 0, 96);
}

TMenuItemSize MeasureMenuItem(const TMenuItemMetrics& item, int iconWidth, TMenuItemSize proposed)
{
    if (item.Separator)
        return {proposed.Width, kMenuSeparatorHeight};
    const int icon = item.OnMenuBar ? item.ImageWidth : std::max(item.ImageWidth, iconWidth);
    const int width = item.CaptionWidth + item.ShortcutWidth - item.AmpersandWidth + icon + 10;
    const int textHeight = item.TextHeight + static_cast<int>(std::nearbyint(0.75 * item.TextHeight));
    const int height = std::max(textHeight, item.ImageHeight + 4);
    return {std::max(proposed.Width, width), std::max(proposed.Height, height)};
}

TMenuOrigin MenuPlacingOrigin(TMenuPlacing placing, int width, int height)
{
    switch (placing) {
    case TMenuPlacing::mpTopLeft: return {0, 0};
    case TMenuPlacing::mpBottomLeft: return {0, height};
    case TMenuPlacing::mpTopRight: return {width, 0};
    case TMenuPlacing::mpBottomRight: return {width, height};
    }
    return {0, height};
}
