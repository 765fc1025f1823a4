#pragma once

// A node of a line object, with the colour the line takes at it.

#include "view3d/notification/Color.h"
#include "view3d/notification/Nodes.h"

class TGLLinesNode : public TGLNode, public TGLNotifyObject {
public:
    // The colour starts as the given one (the line's node colour of the moment).
    TGLLinesNode(TGLNodes& collection, const Vector4f& color);

    TGLColor& Color() { return ColorValue; }
    const TGLColor& Color() const { return ColorValue; }

    // With another line node, its colour too.
    void Assign(const TGLNode& source) override;

private:
    TGLColor ColorValue;
};
