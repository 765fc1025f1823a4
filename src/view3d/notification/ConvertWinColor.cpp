#include "view3d/notification/ConvertWinColor.h"

#include "view3d/utility/CrossPlatform.h"

Vector4f ConvertWinColor(TColor color, float alpha)
{
    const TColor rgb = ColorToRGB(color);
    return {static_cast<float>(GetRValue(rgb)) / 255.0f, static_cast<float>(GetGValue(rgb)) / 255.0f,
            static_cast<float>(GetBValue(rgb)) / 255.0f, alpha};
}
