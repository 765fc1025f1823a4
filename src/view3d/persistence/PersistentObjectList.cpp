#include "view3d/persistence/PersistentObjectList.h"

#include <algorithm>

#include "view3d/persistence/PersistenceErrors.h"
#include "view3d/persistence/PersistentClassRegistry.h"

namespace {

const bool Registered = RegisterPersistentClass<TPersistentObjectList>();

bool IsIntegerTag(TArchiveTag tag)
{
    return tag == TArchiveTag::Int8 || tag == TArchiveTag::Int16 || tag == TArchiveTag::Int32;
}

bool IsStringTag(TArchiveTag tag)
{
    return tag == TArchiveTag::ShortString || tag == TArchiveTag::LongString || tag == TArchiveTag::WideString ||
           tag == TArchiveTag::Utf8String;
}

bool IsBooleanTag(TArchiveTag tag)
{
    return tag == TArchiveTag::False || tag == TArchiveTag::True;
}

} // namespace

std::string TPersistentObjectList::ClassName() const
{
    return StaticClassName;
}

int TPersistentObjectList::Count() const
{
    return static_cast<int>(Items.size());
}

int TPersistentObjectList::Capacity() const
{
    return static_cast<int>(Items.capacity());
}

void TPersistentObjectList::SetCapacity(int capacity)
{
    if (capacity < Count())
        throw EListError(InvalidListIndexText);
    if (capacity > Capacity())
        Items.reserve(static_cast<std::size_t>(capacity));
}

int TPersistentObjectList::GrowthDelta() const
{
    return Delta;
}

void TPersistentObjectList::SetGrowthDelta(int delta)
{
    Delta = std::max(delta, 1);
}

int TPersistentObjectList::Add(TPersistentObject* item)
{
    Insert(Count(), item);
    return Count() - 1;
}

void TPersistentObjectList::Insert(int index, TPersistentObject* item)
{
    CheckIndex(index, Count() + 1);
    if (Count() == Capacity())
        SetCapacity(Capacity() + Delta);
    Items.insert(Items.begin() + index, item);
}

void TPersistentObjectList::Delete(int index)
{
    CheckIndex(index, Count());
    Items.erase(Items.begin() + index);
}

void TPersistentObjectList::Exchange(int first, int second)
{
    CheckIndex(first, Count());
    CheckIndex(second, Count());
    std::swap(Items[static_cast<std::size_t>(first)], Items[static_cast<std::size_t>(second)]);
}

int TPersistentObjectList::IndexOf(const TPersistentObject* item) const
{
    const auto found = std::find(Items.begin(), Items.end(), item);
    return found == Items.end() ? -1 : static_cast<int>(found - Items.begin());
}

TPersistentObject* TPersistentObjectList::Get(int index) const
{
    CheckIndex(index, Count());
    return Items[static_cast<std::size_t>(index)];
}

void TPersistentObjectList::Put(int index, TPersistentObject* item)
{
    CheckIndex(index, Count());
    Items[static_cast<std::size_t>(index)] = item;
}

void TPersistentObjectList::Clear()
{
    std::vector<TPersistentObject*>().swap(Items);
    CreatedItems.clear();
}

void TPersistentObjectList::WriteToFiler(TVirtualWriter& writer) const
{
    writer.WriteInteger(0);
    writer.WriteListBegin();
    std::vector<std::string> classNames;
    for (const TPersistentObject* item : Items) {
        if (item == nullptr) {
            writer.WriteBoolean(false);
            writer.WriteInteger(0);
            continue;
        }
        const std::string name = item->ClassName();
        const auto known = std::find(classNames.begin(), classNames.end(), name);
        if (known == classNames.end()) {
            writer.WriteString(name);
            classNames.push_back(name);
        } else {
            writer.WriteInteger(static_cast<std::int32_t>(known - classNames.begin()));
        }
        item->WriteToFiler(writer);
    }
    writer.WriteListEnd();
}

void TPersistentObjectList::ReadFromFiler(TVirtualReader& reader)
{
    ReadFromFilerWithEvent(reader, {});
}

void TPersistentObjectList::ReadFromFilerWithEvent(TVirtualReader& reader, const TObjectCreated& created)
{
    const TVirtualReader::TNesting nesting(reader);
    Clear();
    const int version = reader.ReadInteger();
    if (version != 0)
        RaiseUnknownArchiveVersion(ClassName(), version);
    reader.ReadListBegin();
    std::vector<std::string> classNames;
    while (!reader.EndOfList()) {
        const TArchiveTag tag = reader.NextTag();
        std::string name;
        if (IsIntegerTag(tag)) {
            const int index = reader.ReadInteger();
            if (index < 0 || index >= static_cast<int>(classNames.size()))
                throw EFilerError(BrokenObjectListArchiveText);
            name = classNames[static_cast<std::size_t>(index)];
        } else if (IsStringTag(tag)) {
            name = reader.ReadString();
            classNames.push_back(name);
        } else if (IsBooleanTag(tag)) {
            // An empty slot. The integer beside it was a memory address once;
            // it never becomes a reference.
            reader.ReadBoolean();
            reader.ReadInteger();
            Add(nullptr);
            continue;
        } else {
            throw EFilerError(BrokenObjectListArchiveText);
        }
        std::unique_ptr<TPersistentObject> object = CreatePersistentObject(name);
        if (!object)
            throw EFilerError(BrokenObjectListArchiveText);
        if (created)
            created(*this, *object);
        object->ReadFromFiler(reader);
        Add(object.get());
        CreatedItems.push_back(std::move(object));
    }
    reader.ReadListEnd();
}

void TPersistentObjectList::CheckIndex(int index, int count) const
{
    if (index < 0 || index >= count)
        throw EListError(InvalidListIndexText);
}
