#pragma once

// The ordered object lists of a drawing. While any iterator is alive the list
// refuses to change; an exclusive iterator also bars new shared iterators.
// Iterators are RAII objects: destroying one releases the list.

#include <cstdint>
#include <list>
#include <memory>
#include <mutex>

#include "cad/model/GraphicObject.h"

class TGraphicObjList;

// A lock that does nothing: the base of the engine's synchronisation objects.
class TCADCoreSynchroObject {
public:
    virtual ~TCADCoreSynchroObject() = default;
    virtual void Lock() {}
    virtual void Unlock() {}
};

// Guards node linking and the iterator counts for an optional painting thread.
class TCADCoreCriticalSection : public TCADCoreSynchroObject {
public:
    void Lock() override { Mutex.lock(); }
    void Unlock() override { Mutex.unlock(); }

private:
    std::mutex Mutex;
};

class TGraphicObjIterator {
public:
    virtual ~TGraphicObjIterator();
    TGraphicObjIterator(const TGraphicObjIterator&) = delete;
    TGraphicObjIterator& operator=(const TGraphicObjIterator&) = delete;

    TGraphicObject* First();
    TGraphicObject* Next();
    TGraphicObject* Current() const;
    TGraphicObject* Search(std::int32_t id);
    int Count() const;

protected:
    friend class TGraphicObjList;
    explicit TGraphicObjIterator(TGraphicObjList& list);

    TGraphicObjList& List;
    std::list<TGraphicObject*>::iterator Position;
};

class TExclusiveGraphicObjIterator : public TGraphicObjIterator {
public:
    ~TExclusiveGraphicObjIterator() override;

    // Unlinks and frees the current object; the position moves to the next
    // node, or to the previous one when it was the last.
    void DeleteCurrent();
    // The same without freeing: the caller receives the object.
    std::unique_ptr<TGraphicObject> RemoveCurrent();

private:
    friend class TGraphicObjList;
    explicit TExclusiveGraphicObjIterator(TGraphicObjList& list);
    TGraphicObject* UnlinkCurrent();
};

class TGraphicObjList {
public:
    TGraphicObjList() = default;
    ~TGraphicObjList();
    TGraphicObjList(const TGraphicObjList&) = delete;
    TGraphicObjList& operator=(const TGraphicObjList&) = delete;

    std::unique_ptr<TGraphicObjIterator> GetIterator();
    std::unique_ptr<TExclusiveGraphicObjIterator> GetExclusiveIterator();
    // Exclusive without the checks, for code that already holds the list.
    std::unique_ptr<TExclusiveGraphicObjIterator> GetPrivilegedIterator();

    // Takes ownership when OwnsObjects is set; otherwise the list only refers to it.
    void Add(TGraphicObject* object);
    void Add(std::unique_ptr<TGraphicObject> object);
    void Delete(std::int32_t id);
    // Unlinks without freeing; the caller receives the object.
    std::unique_ptr<TGraphicObject> Remove(std::int32_t id);
    void Clear();
    bool HasActiveIterators() const { return ActiveIterators > 0; }
    bool HasExclusiveIterator() const { return ExclusiveIterators > 0; }
    // The object with that ID, or none; takes no iterator.
    TGraphicObject* FindObject(std::int32_t id);
    int Count() const { return static_cast<int>(Nodes.size()); }
    // Counts the objects linked and unlinked, for caches built from the list.
    std::uint64_t Changes() const { return ChangeCount; }
    // Raises the refusal of the named operation while iterators are alive.
    void CheckNoIterators(const char* operation) const;

    bool OwnsObjects = true;

private:
    friend class TGraphicObjIterator;
    friend class TExclusiveGraphicObjIterator;

    std::list<TGraphicObject*>::iterator Find(std::int32_t id);
    void Link(TGraphicObject* object);
    void FreeObject(TGraphicObject* object) const;

    std::list<TGraphicObject*> Nodes;
    std::uint64_t ChangeCount = 0;
    int ExclusiveIterators = 0;
    int ActiveIterators = 0;
    TCADCoreCriticalSection Lock;
};
