#pragma once

// A growable array of fixed-size items that archives itself as raw bytes.
// The typed lists (TVectorLists.h) give its items their type.

#include <cstdint>
#include <span>

#include "view3d/persistence/PersistentObject.h"

class TBaseList : public TPersistentObject {
public:
    // The storage belongs to the caller and is replaced, not resized, when the list grows.
    static constexpr unsigned OptionExternalStorage = 1;
    // Items that growing the count adds are zero bytes.
    static constexpr unsigned OptionZeroFill = 2;

    ~TBaseList() override;

    int Count() const;
    void SetCount(int count);
    int Capacity() const;
    void SetCapacity(int capacity);
    int GrowthDelta() const;
    void SetGrowthDelta(int delta);
    int ItemSize() const;
    unsigned Options() const;
    void SetOptions(unsigned options);

    // Count 0, capacity kept.
    void Flush();
    // Count and capacity 0.
    void Clear();
    // The list works on `capacity` items of the caller's memory, all counted,
    // until it has to grow; it then copies them into storage of its own.
    void UseExternalStorage(void* items, int capacity);

    // A list of the same item size is copied as raw bytes; anything else goes
    // to the persistent-object assignment.
    void Assign(const TPersistentObject& source) override;

    void WriteToFiler(TVirtualWriter& writer) const override;
    void ReadFromFiler(TVirtualReader& reader) override;

protected:
    explicit TBaseList(int itemSize);

    std::uint8_t* ItemAddress(int index);
    const std::uint8_t* ItemAddress(int index) const;
    // Appends `items` items, growing by the growth delta; returns the index of the first.
    int AddItems(const void* items, int count);
    // EListError "Invalid list index" unless 0 <= index < Count.
    void CheckIndex(int index) const;

private:
    void FreeOwnStorage();

    std::uint8_t* Storage = nullptr;
    int ItemCount = 0;
    int ItemCapacity = 0;
    int Delta = 16;
    unsigned ListOptions = OptionZeroFill;
    const int Size;
};
