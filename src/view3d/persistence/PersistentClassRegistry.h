#pragma once

// Persistent classes by name, so that an archive can name the class of each
// object it holds. Each class registers itself when its file is linked.

#include <functional>
#include <memory>
#include <string>

#include "view3d/persistence/PersistentObject.h"

using TPersistentFactory = std::function<std::unique_ptr<TPersistentObject>()>;

void RegisterPersistentClass(const std::string& name, TPersistentFactory factory);
// A new instance, or none when no class has that name.
std::unique_ptr<TPersistentObject> CreatePersistentObject(const std::string& name);

// For a class with a static StaticClassName and a default constructor.
template <class T>
bool RegisterPersistentClass()
{
    RegisterPersistentClass(T::StaticClassName, [] { return std::make_unique<T>(); });
    return true;
}
