#pragma once

// A list of persistent objects that archives each object's class by name the
// first time it occurs and by index afterwards. The listed objects are
// borrowed, except those the list creates while it reads an archive: it owns
// those until it is cleared or destroyed.

#include <functional>
#include <memory>
#include <vector>

#include "view3d/persistence/PersistentObject.h"

class TPersistentObjectList : public TPersistentObject {
public:
    static constexpr const char* StaticClassName = "TPersistentObjectList";
    // Called for each object the reading creates, before it reads its data.
    using TObjectCreated = std::function<void(TPersistentObjectList& list, TPersistentObject& object)>;

    std::string ClassName() const override;

    int Count() const;
    int Capacity() const;
    void SetCapacity(int capacity);
    int GrowthDelta() const;
    void SetGrowthDelta(int delta);

    // Returns the index of the new item.
    int Add(TPersistentObject* item);
    // Index may be Count, to append.
    void Insert(int index, TPersistentObject* item);
    void Delete(int index);
    void Exchange(int first, int second);
    // The first identical reference, or -1.
    int IndexOf(const TPersistentObject* item) const;
    TPersistentObject* Get(int index) const;
    void Put(int index, TPersistentObject* item);
    // Count and capacity 0; objects created by reading are freed.
    void Clear();

    void WriteToFiler(TVirtualWriter& writer) const override;
    void ReadFromFiler(TVirtualReader& reader) override;
    void ReadFromFilerWithEvent(TVirtualReader& reader, const TObjectCreated& created);

private:
    void CheckIndex(int index, int count) const;

    std::vector<TPersistentObject*> Items;
    std::vector<std::unique_ptr<TPersistentObject>> CreatedItems;
    int Delta = 16;
};
