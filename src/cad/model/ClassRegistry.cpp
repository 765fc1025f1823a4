#include "cad/model/ClassRegistry.h"

#include <array>
#include <optional>

#include "cad/base/CADExceptions.h"

namespace {

std::array<std::optional<TGraphicObjectClass>, CADCoreRegistrySize>& Registry()
{
    static std::array<std::optional<TGraphicObjectClass>, CADCoreRegistrySize> slots;
    return slots;
}

} // namespace

void CADCoreRegisterClass(int index, TGraphicObjectClass graphicClass)
{
    if (index < 0 || index >= CADCoreRegistrySize)
        throw ECADOutOfBound("CADCoreRegisterClass: Out of bound registration index");
    auto& slot = Registry()[static_cast<std::size_t>(index)];
    if (slot)
        throw ECADObjClassNotFound("CADCoreRegisterClass: Index " + std::to_string(index) + " already allocated by " +
                                   slot->Name);
    slot = std::move(graphicClass);
}

int CADCoreFindClassIndex(const std::string& className)
{
    const auto& slots = Registry();
    for (int i = 0; i < CADCoreRegistrySize; ++i)
        if (slots[static_cast<std::size_t>(i)] && slots[static_cast<std::size_t>(i)]->Name == className)
            return i;
    throw ECADObjClassNotFound("CADCoreFindClassIndex: " + className + " graphic class not found");
}

const TGraphicObjectClass& CADCoreFindClassByName(const std::string& className)
{
    return CADCoreFindClassByIndex(CADCoreFindClassIndex(className));
}

const TGraphicObjectClass& CADCoreFindClassByIndex(int index)
{
    if (index < 0 || index >= CADCoreRegistrySize)
        throw ECADOutOfBound("CADCoreFindClassByIndex: Index out of bound");
    const auto& slot = Registry()[static_cast<std::size_t>(index)];
    if (!slot)
        throw ECADObjClassNotFound("CADCoreFindClassByIndex: Index not registered");
    return *slot;
}

void CADCoreClearRegistry()
{
    for (auto& slot : Registry())
        slot.reset();
}
