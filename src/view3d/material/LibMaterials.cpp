#include "view3d/material/LibMaterials.h"

#include <algorithm>

#include "view3d/material/LibMaterial.h"

std::uint32_t LibMaterialNameHash(const std::string& name)
{
    auto hash = static_cast<std::uint32_t>(name.size());
    for (const char c : name)
        hash = 2 * hash + static_cast<unsigned char>(c);
    return hash;
}

TGLLibMaterials::TGLLibMaterials(TGLMaterialLibrary* owner) : Library(owner) {}

TGLLibMaterials::~TGLLibMaterials() = default;

TGLLibMaterial& TGLLibMaterials::Add()
{
    Items.push_back(std::make_unique<TGLLibMaterial>(*this));
    return *Items.back();
}

void TGLLibMaterials::Delete(int index)
{
    Items.erase(Items.begin() + index);
}

void TGLLibMaterials::Clear()
{
    Items.clear();
}

TGLLibMaterial* TGLLibMaterials::GetLibMaterialByName(const std::string& name) const
{
    if (name.empty())
        return nullptr;
    const std::uint32_t hash = LibMaterialNameHash(name);
    const auto found = std::find_if(Items.begin(), Items.end(), [&](const auto& item) {
        return item->NameHash() == hash && item->Name() == name;
    });
    return found == Items.end() ? nullptr : found->get();
}

std::string TGLLibMaterials::MakeUniqueName(const std::string& name, const TGLLibMaterial* except) const
{
    const auto taken = [&](const std::string& candidate) {
        const TGLLibMaterial* holder = GetLibMaterialByName(candidate);
        return holder != nullptr && holder != except;
    };
    std::string candidate = name;
    for (int number = 1; taken(candidate); ++number)
        candidate = name + std::to_string(number);
    return candidate;
}
