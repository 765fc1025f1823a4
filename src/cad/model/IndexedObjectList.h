#pragma once

// A fixed-size array of objects addressed by index (the vector fonts use it).

#include <memory>
#include <vector>

template <typename T>
class TIndexedObjectList {
public:
    explicit TIndexedObjectList(int size) { SetSize(size); }

    // Objects beyond a smaller size are freed; new entries are empty.
    void SetSize(int size) { Slots.resize(size > 0 ? static_cast<std::size_t>(size) : 0); }
    int Size() const { return static_cast<int>(Slots.size()); }

    void SetObject(int index, std::unique_ptr<T> object);
    T* GetObject(int index) const;

private:
    std::vector<std::unique_ptr<T>> Slots;
};

#include "cad/base/CADExceptions.h"

template <typename T>
void TIndexedObjectList<T>::SetObject(int index, std::unique_ptr<T> object)
{
    if (Slots.empty())
        return;
    if (index < 0 || index >= Size())
        throw ECADOutOfBound("TIndexedObjectList.SetObject: Index out of bounds.");
    Slots[static_cast<std::size_t>(index)] = std::move(object);
}

template <typename T>
T* TIndexedObjectList<T>::GetObject(int index) const
{
    if (Slots.empty())
        return nullptr;
    if (index < 0 || index >= Size())
        throw ECADOutOfBound("TIndexedObjectList.GetObject: Index out of bounds.");
    return Slots[static_cast<std::size_t>(index)].get();
}
