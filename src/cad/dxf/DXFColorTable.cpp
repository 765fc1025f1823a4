#include "cad/dxf/DXFColorTable.h"

#include <cmath>

namespace {

constexpr TColor Rgb(int r, int g, int b)
{
    return static_cast<TColor>(r | (g << 8) | (b << 16));
}

struct TRgb {
    int R, G, B;
};

// The full colour of each block of ten entries from 10 to 240.
constexpr TRgb BlockColours[24] = {
    {255, 0, 0},   {255, 63, 0},  {255, 127, 0}, {255, 191, 0}, {191, 255, 0}, {127, 255, 0},
    {63, 255, 0},  {0, 255, 0},   {0, 255, 0},   {0, 255, 63},  {0, 255, 127}, {0, 255, 191},
    {0, 191, 255}, {0, 127, 255}, {0, 63, 255},  {0, 0, 255},   {0, 0, 255},   {63, 0, 255},
    {127, 0, 255}, {191, 0, 255}, {255, 0, 255}, {255, 0, 191}, {255, 0, 127}, {255, 0, 63},
};

int Tint(int c)
{
    return 127 + (c + 1) / 2;
}

std::array<TColor, 256> BuildTable()
{
    std::array<TColor, 256> table{};
    const TRgb fixed[] = {{255, 255, 255}, {255, 0, 0},     {255, 255, 0},   {0, 255, 0},   {0, 255, 255},
                          {0, 0, 255},     {255, 0, 255},   {0, 0, 0},       {134, 134, 134}, {187, 187, 187}};
    for (int i = 0; i < 10; ++i)
        table[i] = Rgb(fixed[i].R, fixed[i].G, fixed[i].B);
    for (int h = 0; h < 24; ++h) {
        const TRgb c = BlockColours[h];
        table[10 + 10 * h] = Rgb(c.R, c.G, c.B);
        table[11 + 10 * h] = Rgb(Tint(c.R), Tint(c.G), Tint(c.B));
        for (int i = 12; i < 20; ++i)
            table[i + 10 * h] = Rgb(0, 0, 0);
    }
    const int greys[] = {0, 45, 91, 137, 183, 179};
    for (int i = 0; i < 6; ++i)
        table[250 + i] = Rgb(greys[i], greys[i], greys[i]);
    return table;
}

} // namespace

const std::array<TColor, 256>& DxfColorTable()
{
    static const std::array<TColor, 256> table = BuildTable();
    return table;
}

TColor DxfLayerColor(double colourNumber)
{
    const double index = std::fabs(std::round(colourNumber));
    if (!(index <= 255.0))
        return DxfColorTable()[7];
    return DxfColorTable()[static_cast<int>(index)];
}
