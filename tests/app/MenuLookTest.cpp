#include <gtest/gtest.h>

#include "app/MenuLook.h"

namespace {

// Distinct plain colours for every system colour, so that a slot that takes
// the wrong one shows.
TSystemColors System()
{
    TSystemColors system;
    system.BtnFace = 0xC8D0D4;
    system.Highlight = 0x6A240A;
    system.BtnShadow = 0x808080;
    system.MenuText = 0x101010;
    system.InactiveCaption = 0x909090;
    system.Window = 0xFFFFFE;
    return system;
}

} // namespace

TEST(MenuColours, LightenAndDarkenMoveEachChannelAndStayInRange)
{
    const struct {
        TColor colour;
        int percent;
        TColor lightened;
    } lighten[] = {
        {0x000000, 0, 0x000000},
        {0x000000, 50, 0x808080},   // 127.5 rounds to the even 128
        {0x000002, 50, 0x808080},   // red: 2 + 126.5, rounded to the even 126
        {0x000003, 50, 0x808081},   // red: 3 + 126
        {0x0000FF, 50, 0x8080FF},   // a full channel stays full
        {0x102030, 100, 0xFFFFFF},
        {0x102030, 150, 0xFFFFFF},  // more than 100 percent is 100
    };
    for (const auto& c : lighten)
        EXPECT_EQ(Lighten(c.colour, c.percent), c.lightened) << std::hex << c.colour << " " << std::dec << c.percent;

    const struct {
        TColor colour;
        int amount;
        TColor darkened;
    } darken[] = {
        {0x808080, 90, 0x262826},   // green loses two less
        {0x101010, 90, 0x000000},   // clamped at 0
        {0x000000, 1, 0x000100},    // green gains what 1 - 2 takes away
        {0xFFFFFF, -10, 0xFFFFFF},  // clamped at 255
    };
    for (const auto& c : darken)
        EXPECT_EQ(Darken(c.colour, c.amount), c.darkened) << std::hex << c.colour << " " << std::dec << c.amount;
}

TEST(MenuColours, WorkingColoursComeFromThePropertiesOrFromTheSystem)
{
    const TSystemColors system = System();
    EXPECT_EQ(system.Resolve(clBtnFace), system.BtnFace);
    EXPECT_EQ(system.Resolve(0x123456), 0x123456);

    // The main window's menus: its own colours, a window-coloured icon column.
    TMenuColorProperties own;
    own.UseSystemColors = false;
    own.IconBackColor = 0xFFC0C0;
    own.SelectColor = 0x00FF00;
    const TMenuWorkingColors high = MenuWorkingColors(own, system, true);
    EXPECT_EQ(high.Item, system.BtnFace);
    EXPECT_EQ(high.IconColumn, 0xFFC0C0);
    EXPECT_EQ(high.Selection, 0x00FF00);
    EXPECT_EQ(high.SelectionBorder, system.Highlight);
    EXPECT_EQ(high.Disabled, system.InactiveCaption);
    EXPECT_EQ(high.Font, system.MenuText);
    EXPECT_EQ(high.SelectFont, system.MenuText);
    EXPECT_EQ(high.CheckedArea, Lighten(0x00FF00, 75));
    EXPECT_EQ(high.CheckedAreaSelected, Lighten(0x00FF00, 50));
    EXPECT_EQ(high.Border, Darken(system.BtnFace, 90));
    EXPECT_EQ(high.Shadow, Darken(system.BtnFace, 76));

    const TMenuWorkingColors low = MenuWorkingColors(own, system, false);
    EXPECT_EQ(low.CheckedArea, 0xFFFFFF);
    EXPECT_EQ(low.CheckedAreaSelected, 0xC0C0C0);
    EXPECT_EQ(low.Border, system.BtnShadow);
    EXPECT_EQ(low.Shadow, system.BtnShadow);

    // System colours replace every colour property.
    const TMenuColorProperties systemLook;
    const TMenuWorkingColors fromSystem = MenuWorkingColors(systemLook, system, true);
    const TMenuWorkingColors expected{
        .Item = Lighten(system.BtnFace, 86),
        .IconColumn = Lighten(system.BtnFace, 16),
        .Selection = Lighten(system.Highlight, 68),
        .SelectionBorder = system.Highlight,
        .MenuBar = system.BtnFace,
        .Disabled = Lighten(system.BtnShadow, 10),
        .Checked = system.Highlight,
        .Separator = Lighten(system.BtnShadow, 25),
        .CheckedArea = Lighten(system.Highlight, 75),
        .CheckedAreaSelected = Lighten(system.Highlight, 50),
        .Border = Darken(system.BtnFace, 90),
        .Shadow = Darken(system.BtnFace, 76),
        .Font = system.MenuText,
        .SelectFont = system.MenuText,
    };
    EXPECT_EQ(fromSystem, expected);

    const TMenuWorkingColors fewBits = MenuWorkingColors(systemLook, system, false);
    EXPECT_EQ(fewBits.Item, 0xFFFFFF);
    EXPECT_EQ(fewBits.IconColumn, system.BtnFace);
    EXPECT_EQ(fewBits.Separator, system.Highlight);
    EXPECT_EQ(fewBits.Checked, system.BtnShadow);
}

TEST(MenuItems, GradientRisesSteeplyAcrossTheIconColumnThenSlowly)
{
    const struct {
        int x;
        int percent;
    } columns[] = {{0, 0}, {1, 3}, {29, 87}, {30, 88}, {37, 95}, {38, 96}, {39, 96}, {400, 96}};
    for (const auto& c : columns)
        EXPECT_EQ(MenuGradientPercent(c.x, 24), c.percent) << c.x;
    EXPECT_EQ(MenuGradientPercent(5, 0), 15);
    EXPECT_EQ(MenuGradientPercent(6, 0), 16);
}

TEST(MenuItems, MeasureGrowsWhatThePlatformProposes)
{
    TMenuItemMetrics text;
    text.CaptionWidth = 50;
    text.TextHeight = 13;

    TMenuItemMetrics separator = text;
    separator.Separator = true;
    for (int height : {8, 13, 40}) {
        separator.TextHeight = height;
        EXPECT_EQ(MeasureMenuItem(separator, 24, {120, 30}), (TMenuItemSize{120, 4})) << "whatever the font";
    }

    // Caption + icon column + 10; one and three quarter text heights.
    EXPECT_EQ(MeasureMenuItem(text, 24, {0, 0}), (TMenuItemSize{84, 23}));
    TMenuItemMetrics withShortcut = text;
    withShortcut.ShortcutWidth = 47;  // "Ctrl+S" and "WWW"
    EXPECT_EQ(MeasureMenuItem(withShortcut, 24, {0, 0}).Width - MeasureMenuItem(text, 24, {0, 0}).Width, 47);
    TMenuItemMetrics mnemonic = text;
    mnemonic.AmpersandWidth = 6;
    EXPECT_EQ(MeasureMenuItem(mnemonic, 24, {0, 0}).Width, 78);
    TMenuItemMetrics evenHalf = text;
    evenHalf.TextHeight = 14;  // 10.5 rounds to the even 10
    EXPECT_EQ(MeasureMenuItem(evenHalf, 24, {0, 0}).Height, 24);

    // A picture at least as tall as the item plus 4; a wide one widens the column.
    TMenuItemMetrics picture = text;
    picture.ImageWidth = 20;
    picture.ImageHeight = 20;
    EXPECT_EQ(MeasureMenuItem(picture, 24, {0, 0}), (TMenuItemSize{84, 24}));
    picture.ImageWidth = 32;
    EXPECT_EQ(MeasureMenuItem(picture, 24, {0, 0}).Width, 92);
    TMenuItemMetrics bar = text;
    bar.OnMenuBar = true;
    EXPECT_EQ(MeasureMenuItem(bar, 24, {0, 0}).Width, 60) << "no icon column on a menu bar";

    EXPECT_EQ(MeasureMenuItem(text, 24, {200, 30}), (TMenuItemSize{200, 30})) << "never smaller than proposed";
}

TEST(MenuButtons, MenuOpensAtTheCornerOfItsPlacing)
{
    EXPECT_EQ(MenuPlacingOrigin(TMenuPlacing::mpTopLeft, 25, 20), (TMenuOrigin{0, 0}));
    EXPECT_EQ(MenuPlacingOrigin(TMenuPlacing::mpBottomLeft, 25, 20), (TMenuOrigin{0, 20}));
    EXPECT_EQ(MenuPlacingOrigin(TMenuPlacing::mpTopRight, 25, 20), (TMenuOrigin{25, 0}));
    EXPECT_EQ(MenuPlacingOrigin(TMenuPlacing::mpBottomRight, 25, 20), (TMenuOrigin{25, 20}));
}
