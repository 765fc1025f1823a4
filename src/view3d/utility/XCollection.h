#pragma once

// Typed, streamable item lists that scene objects keep for behaviours and
// effects. Items are made by class, from a registry of item classes.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "view3d/persistence/VirtualFiler.h"

class TXCollection;
class TXCollectionItem;

struct TXCollectionItemClass {
    std::string ClassName;
    std::string FriendlyName;
    // A collection holds at most one item of a unique class or of its descendants.
    bool UniqueItem = false;
    const TXCollectionItemClass* Parent = nullptr;
    std::function<std::unique_ptr<TXCollectionItem>(TXCollection& owner)> Create;

    bool InheritsFrom(const TXCollectionItemClass& other) const;
};

// The class must outlive every collection that uses it.
void RegisterXCollectionItemClass(const TXCollectionItemClass& itemClass);
// None when no class has that name.
const TXCollectionItemClass* FindXCollectionItemClass(const std::string& className);

class TXCollectionItem {
public:
    TXCollectionItem(TXCollection& owner, const TXCollectionItemClass& itemClass);
    virtual ~TXCollectionItem() = default;
    TXCollectionItem(const TXCollectionItem&) = delete;
    TXCollectionItem& operator=(const TXCollectionItem&) = delete;

    TXCollection& Owner() const;
    const TXCollectionItemClass& ItemClass() const;
    std::string Name;

    // The archive version 0, then the name; subclasses add their own data.
    virtual void WriteToFiler(TVirtualWriter& writer) const;
    virtual void ReadFromFiler(TVirtualReader& reader);

private:
    TXCollection& OwnerCollection;
    const TXCollectionItemClass& Class;
};

class TXCollection {
public:
    int Count() const;
    TXCollectionItem& Item(int index) const;

    // Whether an item of the class may join, given the unique classes.
    bool CanAdd(const TXCollectionItemClass& itemClass) const;
    // A new item of the class at the end, named after its friendly name;
    // EListError when the class may not join.
    TXCollectionItem& Add(const TXCollectionItemClass& itemClass);
    void Delete(int index);
    void Clear();
    // Items of the same classes with the same data.
    void Assign(const TXCollection& source);

    void WriteToFiler(TVirtualWriter& writer) const;
    void ReadFromFiler(TVirtualReader& reader);

private:
    std::vector<std::unique_ptr<TXCollectionItem>> Items;
};
