#include "view3d/lists/BaseList.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "view3d/persistence/PersistenceErrors.h"

TBaseList::TBaseList(int itemSize) : Size(itemSize) {}

TBaseList::~TBaseList()
{
    FreeOwnStorage();
}

int TBaseList::Count() const
{
    return ItemCount;
}

void TBaseList::SetCount(int count)
{
    if (count < 0)
        throw EListError(InvalidListIndexText);
    if (count > ItemCapacity)
        SetCapacity(count);
    if ((ListOptions & OptionZeroFill) != 0 && count > ItemCount)
        std::memset(ItemAddress(ItemCount), 0, static_cast<std::size_t>(count - ItemCount) * Size);
    ItemCount = count;
}

int TBaseList::Capacity() const
{
    return ItemCapacity;
}

void TBaseList::SetCapacity(int capacity)
{
    if (capacity == ItemCapacity)
        return;
    if (capacity < 0)
        throw EListError(InvalidListIndexText);
    const std::size_t bytes = static_cast<std::size_t>(capacity) * static_cast<std::size_t>(Size);
    const int kept = std::min(ItemCount, capacity);
    if ((ListOptions & OptionExternalStorage) != 0) {
        // The caller's items move into storage of the list's own.
        auto* own = static_cast<std::uint8_t*>(bytes == 0 ? nullptr : std::malloc(bytes));
        if (bytes != 0 && own == nullptr)
            throw std::bad_alloc();
        if (kept > 0)
            std::memcpy(own, Storage, static_cast<std::size_t>(kept) * Size);
        ListOptions &= ~OptionExternalStorage;
        Storage = own;
    } else if (bytes == 0) {
        FreeOwnStorage();
    } else {
        // malloc and realloc give memory in which the float items may live.
        auto* grown = static_cast<std::uint8_t*>(std::realloc(Storage, bytes));
        if (grown == nullptr)
            throw std::bad_alloc();
        Storage = grown;
    }
    ItemCapacity = capacity;
    ItemCount = kept;
}

int TBaseList::GrowthDelta() const
{
    return Delta;
}

void TBaseList::SetGrowthDelta(int delta)
{
    Delta = std::max(delta, 1);
}

int TBaseList::ItemSize() const
{
    return Size;
}

unsigned TBaseList::Options() const
{
    return ListOptions;
}

void TBaseList::SetOptions(unsigned options)
{
    // Whether the storage is external is the list's own business.
    ListOptions = (options & ~OptionExternalStorage) | (ListOptions & OptionExternalStorage);
}

void TBaseList::Flush()
{
    ItemCount = 0;
}

void TBaseList::Clear()
{
    SetCapacity(0);
}

void TBaseList::UseExternalStorage(void* items, int capacity)
{
    if (capacity < 0 || (items == nullptr && capacity > 0))
        throw EListError(InvalidListIndexText);
    FreeOwnStorage();
    Storage = static_cast<std::uint8_t*>(items);
    ListOptions |= OptionExternalStorage;
    ItemCapacity = capacity;
    ItemCount = capacity;
}

void TBaseList::Assign(const TPersistentObject& source)
{
    const auto* list = dynamic_cast<const TBaseList*>(&source);
    if (list == nullptr || list->Size != Size) {
        TPersistentObject::Assign(source);
        return;
    }
    if (list == this)
        return;
    SetCapacity(list->ItemCount);
    Delta = list->Delta;
    ItemCount = ItemCapacity;
    if (ItemCount > 0)
        std::memcpy(Storage, list->Storage, static_cast<std::size_t>(ItemCount) * Size);
}

void TBaseList::WriteToFiler(TVirtualWriter& writer) const
{
    TPersistentObject::WriteToFiler(writer);
    writer.WriteInteger(0);
    writer.WriteInteger(ItemCount);
    writer.WriteInteger(Size);
    if (ItemCount > 0)
        writer.WriteRaw(Storage, static_cast<std::size_t>(ItemCount) * Size);
}

void TBaseList::ReadFromFiler(TVirtualReader& reader)
{
    TPersistentObject::ReadFromFiler(reader);
    const int version = reader.ReadInteger();
    if (version != 0)
        RaiseUnknownArchiveVersion(ClassName(), version);
    const int count = reader.ReadInteger();
    const int itemSize = reader.ReadInteger();
    // A foreign item size, or more items than the archive holds bytes, is damage.
    if (itemSize != Size || count < 0 || static_cast<std::size_t>(count) > reader.RemainingBytes() / Size)
        reader.RaiseReadError();
    Flush();
    SetCapacity(count);
    if (count > 0)
        reader.ReadRaw(Storage, static_cast<std::size_t>(count) * Size);
    ItemCount = count;
}

std::uint8_t* TBaseList::ItemAddress(int index)
{
    if (Storage == nullptr)
        return nullptr;
    return Storage + static_cast<std::size_t>(index) * Size;
}

const std::uint8_t* TBaseList::ItemAddress(int index) const
{
    if (Storage == nullptr)
        return nullptr;
    return Storage + static_cast<std::size_t>(index) * Size;
}

int TBaseList::AddItems(const void* items, int count)
{
    const int first = ItemCount;
    if (first + count > ItemCapacity) {
        int capacity = ItemCapacity;
        while (capacity < first + count)
            capacity += Delta;
        SetCapacity(capacity);
    }
    std::memcpy(ItemAddress(first), items, static_cast<std::size_t>(count) * Size);
    ItemCount = first + count;
    return first;
}

void TBaseList::CheckIndex(int index) const
{
    if (index < 0 || index >= ItemCount)
        throw EListError(InvalidListIndexText);
}

void TBaseList::FreeOwnStorage()
{
    if ((ListOptions & OptionExternalStorage) == 0)
        std::free(Storage);
    Storage = nullptr;
    ListOptions &= ~OptionExternalStorage;
    ItemCapacity = 0;
    ItemCount = 0;
}
