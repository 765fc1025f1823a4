#pragma once

// A collection of named materials that the materials of scene objects link
// to by name, and its archive: version 2 of the tagged binary archive.

#include <iosfwd>
#include <string>
#include <vector>

#include "view3d/material/LibMaterials.h"
#include "view3d/notification/UpdateAble.h"

class QImage;
class TGLLibMaterial;
class TGLMaterial;
class TVirtualReader;
class TVirtualWriter;

class TGLMaterialLibrary : public TGLCadenceAbleComponent {
public:
    static constexpr int kArchiveVersion = 2;

    explicit TGLMaterialLibrary(TGLNotifyObject* owner = nullptr);
    // The materials that link to it lose the link.
    ~TGLMaterialLibrary() override;

    TGLLibMaterials& Materials() { return LibMaterials; }
    const TGLLibMaterials& Materials() const { return LibMaterials; }

    const std::string& TexturePaths() const { return Paths; }
    // Folders separated by ";": each is trimmed, empty ones are dropped, and
    // each gets a trailing separator so that a file name can follow.
    void SetTexturePaths(const std::string& value);
    const std::vector<std::string>& TexturePathList() const { return PathList; }

    // A material that shows the picture lit (modulated), mipmapped and
    // linearly filtered; named materialName, or the first free variant of it.
    TGLLibMaterial& AddTextureMaterial(const std::string& materialName, const QImage& picture);
    // A relative file name is looked for in the texture paths in their order,
    // then as it is. A file that cannot be read raises ETexture and adds nothing.
    TGLLibMaterial& AddTextureMaterial(const std::string& materialName, const std::string& fileName);

    // The picture of each texture in use goes with its material; one larger
    // than a texture picture may be raises ETexture, as reading would refuse it.
    void WriteToFiler(TVirtualWriter& writer) const;
    // The whole archive is read before the library changes, so a damaged one
    // leaves it as it was. Unless keepExisting, the library is emptied first;
    // with it, a material of a name the library holds is read into that one.
    // Linked materials link again by their names afterwards.
    void ReadFromFiler(TVirtualReader& reader, bool keepExisting = false);

    // Nothing reaches the stream when the writing fails.
    void SaveToStream(std::ostream& stream) const;
    void LoadFromStream(std::istream& stream);
    // Adds the stream's materials to the ones the library holds.
    void AddMaterialsFromStream(std::istream& stream);

private:
    friend class TGLMaterial;

    std::string FindTextureFile(const std::string& fileName) const;
    void RegisterReferrer(TGLMaterial& material);
    void UnregisterReferrer(TGLMaterial& material);

    TGLLibMaterials LibMaterials;
    std::string Paths;
    std::vector<std::string> PathList;
    // The materials whose MaterialLibrary is this one.
    std::vector<TGLMaterial*> Referrers;
};
