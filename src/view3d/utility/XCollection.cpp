#include "view3d/utility/XCollection.h"

#include <algorithm>
#include <map>

#include "view3d/persistence/BinaryReader.h"
#include "view3d/persistence/BinaryWriter.h"
#include "view3d/persistence/PersistenceErrors.h"

namespace {

std::map<std::string, const TXCollectionItemClass*>& ItemClasses()
{
    static std::map<std::string, const TXCollectionItemClass*> classes;
    return classes;
}

bool IsIntegerTag(TArchiveTag tag)
{
    return tag == TArchiveTag::Int8 || tag == TArchiveTag::Int16 || tag == TArchiveTag::Int32;
}

} // namespace

bool TXCollectionItemClass::InheritsFrom(const TXCollectionItemClass& other) const
{
    for (const TXCollectionItemClass* c = this; c != nullptr; c = c->Parent)
        if (c == &other)
            return true;
    return false;
}

void RegisterXCollectionItemClass(const TXCollectionItemClass& itemClass)
{
    ItemClasses()[itemClass.ClassName] = &itemClass;
}

const TXCollectionItemClass* FindXCollectionItemClass(const std::string& className)
{
    const auto found = ItemClasses().find(className);
    return found == ItemClasses().end() ? nullptr : found->second;
}

TXCollectionItem::TXCollectionItem(TXCollection& owner, const TXCollectionItemClass& itemClass)
    : Name(itemClass.FriendlyName), OwnerCollection(owner), Class(itemClass)
{
}

TXCollection& TXCollectionItem::Owner() const
{
    return OwnerCollection;
}

const TXCollectionItemClass& TXCollectionItem::ItemClass() const
{
    return Class;
}

void TXCollectionItem::WriteToFiler(TVirtualWriter& writer) const
{
    writer.WriteInteger(0);
    writer.WriteString(Name);
}

void TXCollectionItem::ReadFromFiler(TVirtualReader& reader)
{
    const int version = reader.ReadInteger();
    if (version != 0)
        RaiseUnknownArchiveVersion(Class.ClassName, version);
    Name = reader.ReadString();
}

int TXCollection::Count() const
{
    return static_cast<int>(Items.size());
}

TXCollectionItem& TXCollection::Item(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(InvalidListIndexText);
    return *Items[static_cast<std::size_t>(index)];
}

bool TXCollection::CanAdd(const TXCollectionItemClass& itemClass) const
{
    return std::none_of(Items.begin(), Items.end(), [&](const auto& item) {
        const TXCollectionItemClass& present = item->ItemClass();
        return (itemClass.UniqueItem && present.InheritsFrom(itemClass)) ||
               (present.UniqueItem && itemClass.InheritsFrom(present));
    });
}

TXCollectionItem& TXCollection::Add(const TXCollectionItemClass& itemClass)
{
    if (!CanAdd(itemClass))
        throw EListError("Class " + itemClass.ClassName + " cannot be added to this collection");
    Items.push_back(itemClass.Create(*this));
    return *Items.back();
}

void TXCollection::Delete(int index)
{
    Item(index);
    Items.erase(Items.begin() + index);
}

void TXCollection::Clear()
{
    Items.clear();
}

void TXCollection::Assign(const TXCollection& source)
{
    if (&source == this)
        return;
    std::string archive;
    TBinaryWriter writer(archive);
    source.WriteToFiler(writer);
    TBinaryReader reader(archive);
    ReadFromFiler(reader);
}

void TXCollection::WriteToFiler(TVirtualWriter& writer) const
{
    writer.WriteInteger(Count());
    std::vector<const TXCollectionItemClass*> written;
    for (const auto& item : Items) {
        const auto known = std::find(written.begin(), written.end(), &item->ItemClass());
        if (known == written.end()) {
            writer.WriteString(item->ItemClass().ClassName);
            written.push_back(&item->ItemClass());
        } else {
            writer.WriteInteger(static_cast<std::int32_t>(known - written.begin()));
        }
        item->WriteToFiler(writer);
    }
}

void TXCollection::ReadFromFiler(TVirtualReader& reader)
{
    Clear();
    const int count = reader.ReadInteger();
    if (count < 0)
        reader.RaiseReadError();
    std::vector<const TXCollectionItemClass*> classes;
    for (int i = 0; i < count; ++i) {
        const TXCollectionItemClass* itemClass = nullptr;
        if (IsIntegerTag(reader.NextTag())) {
            const int index = reader.ReadInteger();
            if (index < 0 || index >= static_cast<int>(classes.size()))
                reader.RaiseReadError();
            itemClass = classes[static_cast<std::size_t>(index)];
        } else {
            itemClass = FindXCollectionItemClass(reader.ReadString());
            if (itemClass == nullptr)
                reader.RaiseReadError();
            classes.push_back(itemClass);
        }
        // Two items of a unique class cannot have been written by a collection.
        if (!CanAdd(*itemClass))
            reader.RaiseReadError();
        Add(*itemClass).ReadFromFiler(reader);
    }
}
