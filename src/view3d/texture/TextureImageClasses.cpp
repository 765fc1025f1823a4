#include "view3d/texture/TextureImageClasses.h"

#include <map>

#include "view3d/texture/CubeMapImage.h"
#include "view3d/texture/PictureImage.h"
#include "view3d/texture/SizedImage.h"

namespace {

using TFactory = std::unique_ptr<TGLTextureImage> (*)(TGLNotifyObject* owner);

template <class TImage>
std::unique_ptr<TGLTextureImage> Make(TGLNotifyObject* owner)
{
    return std::make_unique<TImage>(owner);
}

const std::map<std::string, TFactory>& Classes()
{
    static const std::map<std::string, TFactory> classes{
        {"TGLBlankImage", Make<TGLBlankImage>},
        {"TGLPersistentImage", Make<TGLPersistentImage>},
        {"TGLPicFileImage", Make<TGLPicFileImage>},
        {"TGLCubeMapImage", Make<TGLCubeMapImage>},
        {"TGLFloatDataImage", Make<TGLFloatDataImage>},
    };
    return classes;
}

} // namespace

std::unique_ptr<TGLTextureImage> CreateTextureImage(const std::string& className, TGLNotifyObject* owner)
{
    const auto found = Classes().find(className);
    return found == Classes().end() ? nullptr : found->second(owner);
}
