#pragma once

// Which picture format reads files of an extension.

#include <string>

// The image format (as the image reader names it) for an extension, with or
// without its leading "."; empty when no format reads it. Case is ignored.
std::string GetGraphicClassForExtension(const std::string& extension);
