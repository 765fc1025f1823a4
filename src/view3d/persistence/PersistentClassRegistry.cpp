#include "view3d/persistence/PersistentClassRegistry.h"

#include <map>

namespace {

// Built on first use: registrations run while the program starts, in no set order.
std::map<std::string, TPersistentFactory>& Registry()
{
    static std::map<std::string, TPersistentFactory> registry;
    return registry;
}

} // namespace

void RegisterPersistentClass(const std::string& name, TPersistentFactory factory)
{
    Registry()[name] = std::move(factory);
}

std::unique_ptr<TPersistentObject> CreatePersistentObject(const std::string& name)
{
    const auto found = Registry().find(name);
    if (found == Registry().end())
        return nullptr;
    return found->second();
}
