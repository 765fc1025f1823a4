#include "view3d/opengl/FloatingPointMode.h"

#include <cfenv>

// The 3D view needs infinities and NaNs to behave as IEEE says.
#if defined(__FAST_MATH__)
#error "the program relies on infinities and NaNs: do not build it with -ffast-math or -Ofast"
#endif

void InitializeFloatingPointMode()
{
    fedisableexcept(FE_ALL_EXCEPT);
    std::fesetround(FE_TONEAREST);
}

bool FloatingPointModeIsSet()
{
    return fegetexcept() == 0 && std::fegetround() == FE_TONEAREST;
}
