#include "view3d/objects/LinesNode.h"

TGLLinesNode::TGLLinesNode(TGLNodes& collection, const Vector4f& color)
    : TGLNode(collection), ColorValue(this, color, [this](TGLNotifyObject&) { Changed(); })
{
}

void TGLLinesNode::Assign(const TGLNode& source)
{
    TGLNode::Assign(source);
    if (const auto* node = dynamic_cast<const TGLLinesNode*>(&source))
        ColorValue.Initialize(node->ColorValue.Color());
}
