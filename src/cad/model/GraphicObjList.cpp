#include "cad/model/GraphicObjList.h"

#include <string>

#include "cad/base/CADExceptions.h"

namespace {

class TLockGuard {
public:
    explicit TLockGuard(TCADCoreSynchroObject& section) : Section(section) { Section.Lock(); }
    ~TLockGuard() { Section.Unlock(); }
    TLockGuard(const TLockGuard&) = delete;
    TLockGuard& operator=(const TLockGuard&) = delete;

private:
    TCADCoreSynchroObject& Section;
};

} // namespace

TGraphicObjIterator::TGraphicObjIterator(TGraphicObjList& list) : List(list)
{
    TLockGuard guard(List.Lock);
    ++List.ActiveIterators;
    Position = List.Nodes.begin();
}

TGraphicObjIterator::~TGraphicObjIterator()
{
    TLockGuard guard(List.Lock);
    if (List.ActiveIterators > 0)
        --List.ActiveIterators;
}

TGraphicObject* TGraphicObjIterator::First()
{
    Position = List.Nodes.begin();
    return Current();
}

TGraphicObject* TGraphicObjIterator::Next()
{
    if (Position == List.Nodes.end())
        return nullptr;
    ++Position;
    return Current();
}

TGraphicObject* TGraphicObjIterator::Current() const
{
    return Position == List.Nodes.end() ? nullptr : *Position;
}

TGraphicObject* TGraphicObjIterator::Search(std::int32_t id)
{
    Position = List.Find(id);
    return Current();
}

int TGraphicObjIterator::Count() const
{
    return List.Count();
}

TExclusiveGraphicObjIterator::TExclusiveGraphicObjIterator(TGraphicObjList& list) : TGraphicObjIterator(list)
{
    ++List.ExclusiveIterators;
}

TExclusiveGraphicObjIterator::~TExclusiveGraphicObjIterator()
{
    --List.ExclusiveIterators;
}

TGraphicObject* TExclusiveGraphicObjIterator::UnlinkCurrent()
{
    if (Position == List.Nodes.end())
        return nullptr;
    TGraphicObject* object = *Position;
    TLockGuard guard(List.Lock);
    auto next = List.Nodes.erase(Position);
    ++List.ChangeCount;
    if (next == List.Nodes.end() && !List.Nodes.empty())
        next = std::prev(List.Nodes.end());
    Position = next;
    return object;
}

void TExclusiveGraphicObjIterator::DeleteCurrent()
{
    List.FreeObject(UnlinkCurrent());
}

std::unique_ptr<TGraphicObject> TExclusiveGraphicObjIterator::RemoveCurrent()
{
    return std::unique_ptr<TGraphicObject>(UnlinkCurrent());
}

TGraphicObjList::~TGraphicObjList()
{
    for (TGraphicObject* object : Nodes)
        FreeObject(object);
}

void TGraphicObjList::FreeObject(TGraphicObject* object) const
{
    if (!OwnsObjects)
        return;
    try {
        delete object;
    } catch (...) {
        // A failing destructor must not stop the list from freeing the rest.
    }
}

std::unique_ptr<TGraphicObjIterator> TGraphicObjList::GetIterator()
{
    if (ExclusiveIterators > 0)
        throw ECADListBlocked("TGraphicObjList.GetIterator: The list has exclusive iterator.");
    return std::unique_ptr<TGraphicObjIterator>(new TGraphicObjIterator(*this));
}

std::unique_ptr<TExclusiveGraphicObjIterator> TGraphicObjList::GetExclusiveIterator()
{
    if (ActiveIterators > 0)
        throw ECADListBlocked("TGraphicObjList.GetExclusiveIterator: The list has active iterators.");
    return GetPrivilegedIterator();
}

std::unique_ptr<TExclusiveGraphicObjIterator> TGraphicObjList::GetPrivilegedIterator()
{
    return std::unique_ptr<TExclusiveGraphicObjIterator>(new TExclusiveGraphicObjIterator(*this));
}

std::list<TGraphicObject*>::iterator TGraphicObjList::Find(std::int32_t id)
{
    for (auto it = Nodes.begin(); it != Nodes.end(); ++it)
        if ((*it)->ID == id)
            return it;
    return Nodes.end();
}

TGraphicObject* TGraphicObjList::FindObject(std::int32_t id)
{
    auto it = Find(id);
    return it == Nodes.end() ? nullptr : *it;
}

void TGraphicObjList::CheckNoIterators(const char* operation) const
{
    if (ActiveIterators > 0)
        throw ECADListBlocked(std::string("TGraphicObjList.") + operation + ": The list has active iterators.");
}

void TGraphicObjList::Link(TGraphicObject* object)
{
    TLockGuard guard(Lock);
    Nodes.push_back(object);
    ++ChangeCount;
}

void TGraphicObjList::Add(TGraphicObject* object)
{
    CheckNoIterators("Add");
    Link(object);
}

void TGraphicObjList::Add(std::unique_ptr<TGraphicObject> object)
{
    // A refused object stays with the caller's pointer and is freed there.
    CheckNoIterators("Add");
    Link(object.release());
}

void TGraphicObjList::Delete(std::int32_t id)
{
    CheckNoIterators("Delete");
    auto it = Find(id);
    if (it == Nodes.end())
        throw ECADListObjNotFound("TGraphicObjList.Delete: Object not found");
    TGraphicObject* object = *it;
    {
        TLockGuard guard(Lock);
        Nodes.erase(it);
        ++ChangeCount;
    }
    FreeObject(object);
}

std::unique_ptr<TGraphicObject> TGraphicObjList::Remove(std::int32_t id)
{
    CheckNoIterators("Remove");
    auto it = Find(id);
    if (it == Nodes.end())
        throw ECADListObjNotFound("TGraphicObjList.Remove: No object found");
    std::unique_ptr<TGraphicObject> object(*it);
    TLockGuard guard(Lock);
    Nodes.erase(it);
    ++ChangeCount;
    return object;
}

void TGraphicObjList::Clear()
{
    CheckNoIterators("Clear");
    TLockGuard guard(Lock);
    for (TGraphicObject* object : Nodes)
        FreeObject(object);
    Nodes.clear();
    ++ChangeCount;
}
