#pragma once

// The image kinds by class name, so that a texture's image can be chosen by
// the name kept in a scene file. The five kinds of this folder are
// registered from the start.

#include <memory>
#include <string>

#include "view3d/texture/TextureImage.h"

// Null when no kind of that name is registered.
std::unique_ptr<TGLTextureImage> CreateTextureImage(const std::string& className, TGLNotifyObject* owner);
