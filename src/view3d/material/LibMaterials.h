#pragma once

// The library materials of one material library, found by name.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TGLLibMaterial;
class TGLMaterialLibrary;

// The key names are compared by first: the length, then for each character
// hash := 2 * hash + its code, in 32 bits.
std::uint32_t LibMaterialNameHash(const std::string& name);

class TGLLibMaterials {
public:
    explicit TGLLibMaterials(TGLMaterialLibrary* owner);
    ~TGLLibMaterials();
    TGLLibMaterials(const TGLLibMaterials&) = delete;
    TGLLibMaterials& operator=(const TGLLibMaterials&) = delete;

    TGLMaterialLibrary* Owner() const { return Library; }

    int Count() const { return static_cast<int>(Items.size()); }
    TGLLibMaterial& operator[](int index) const { return *Items[static_cast<std::size_t>(index)]; }

    // A new material named "LibMaterial" (or the first free variant of it).
    TGLLibMaterial& Add();
    void Delete(int index);
    void Clear();

    // Exact, case-sensitive; none when no material has the name.
    TGLLibMaterial* GetLibMaterialByName(const std::string& name) const;
    // The name itself when no material other than `except` holds it, else
    // the name with the first number from 1 up that makes it free.
    std::string MakeUniqueName(const std::string& name, const TGLLibMaterial* except = nullptr) const;

private:
    TGLMaterialLibrary* Library;
    std::vector<std::unique_ptr<TGLLibMaterial>> Items;
};
