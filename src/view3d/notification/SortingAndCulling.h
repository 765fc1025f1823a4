#pragma once

// How a scene object orders its children for drawing, and which objects it
// leaves out because they lie outside the view. "Inherited" takes the mode
// of the parent (at the top, the scene's).

enum class TGLObjectsSorting {
    osInherited,
    osNone,
    osRenderFarthestFirst,
    osRenderBlendedLast,
    osRenderNearestFirst,
};

enum class TGLVisibilityCulling {
    vcInherited,
    vcNone,
    vcObjectBased,
    vcHierarchical,
};
