#include <type_traits>

#include <gtest/gtest.h>

#include "cad/base/CADExceptions.h"
#include "cad/model/ClassRegistry.h"
#include "cad/model/GraphicObjList.h"
#include "support/ExceptionMessage.h"
#include "support/TestShapes.h"

using cadtest::MessageOf;

namespace {

std::unique_ptr<TTestBox2D> BoxWithID(int id)
{
    auto box = std::make_unique<TTestBox2D>();
    box->ID = id;
    return box;
}

// Counts destructions so that ownership can be checked.
class TCountedBox2D : public TTestBox2D {
public:
    explicit TCountedBox2D(int& destroyed) : Destroyed(destroyed) {}
    ~TCountedBox2D() override { ++Destroyed; }
    int& Destroyed;
};

} // namespace

TEST(GraphicObjList, SharedIteratorsBlockChangesAndExclusiveIterators)
{
    TGraphicObjList list;
    list.Add(BoxWithID(1));
    list.Add(BoxWithID(2));
    {
        auto shared = list.GetIterator();
        auto second = list.GetIterator();
        EXPECT_EQ(MessageOf<ECADListBlocked>([&] { list.Add(BoxWithID(3)); }),
                  "TGraphicObjList.Add: The list has active iterators.");
        EXPECT_EQ(MessageOf<ECADListBlocked>([&] { list.Delete(1); }),
                  "TGraphicObjList.Delete: The list has active iterators.");
        EXPECT_EQ(MessageOf<ECADListBlocked>([&] { list.Remove(1); }),
                  "TGraphicObjList.Remove: The list has active iterators.");
        EXPECT_EQ(MessageOf<ECADListBlocked>([&] { list.Clear(); }),
                  "TGraphicObjList.Clear: The list has active iterators.");
        EXPECT_EQ(MessageOf<ECADListBlocked>([&] { list.GetExclusiveIterator(); }),
                  "TGraphicObjList.GetExclusiveIterator: The list has active iterators.");
        EXPECT_EQ(list.Count(), 2);
    }
    EXPECT_FALSE(list.HasActiveIterators());
    {
        auto exclusive = list.GetExclusiveIterator();
        EXPECT_EQ(MessageOf<ECADListBlocked>([&] { list.GetIterator(); }),
                  "TGraphicObjList.GetIterator: The list has exclusive iterator.");
        auto privileged = list.GetPrivilegedIterator();
        privileged.reset();
        EXPECT_TRUE(list.HasExclusiveIterator()) << "a nested privileged iterator does not release the outer one";
    }
    EXPECT_FALSE(list.HasExclusiveIterator());
    list.Add(BoxWithID(3));
    EXPECT_EQ(list.Count(), 3);
}

TEST(GraphicObjList, IteratorsWalkSearchAndDeleteInPlace)
{
    TGraphicObjList list;
    for (int id : {10, 20, 30})
        list.Add(BoxWithID(id));
    auto it = list.GetExclusiveIterator();
    EXPECT_EQ(it->Current()->ID, 10) << "a new iterator stands on the first node";
    EXPECT_EQ(it->Next()->ID, 20);
    EXPECT_EQ(it->Next()->ID, 30);
    EXPECT_EQ(it->Next(), nullptr);
    EXPECT_EQ(it->Current(), nullptr);
    EXPECT_EQ(it->Search(20)->ID, 20);
    EXPECT_EQ(it->Search(99), nullptr);

    it->Search(20);
    it->DeleteCurrent();
    EXPECT_EQ(it->Current()->ID, 30) << "moves to the next node";
    it->DeleteCurrent();
    EXPECT_EQ(it->Current()->ID, 10) << "the last node moves back to the previous one";
    std::unique_ptr<TGraphicObject> removed = it->RemoveCurrent();
    EXPECT_EQ(removed->ID, 10);
    EXPECT_EQ(it->Current(), nullptr);
    EXPECT_EQ(it->Count(), 0);
}

TEST(GraphicObjList, DeleteFreesRemoveHandsBackClearFreesAll)
{
    int destroyed = 0;
    auto add = [&](TGraphicObjList& list, int id) {
        auto object = std::make_unique<TCountedBox2D>(destroyed);
        object->ID = id;
        list.Add(std::move(object));
    };
    {
        TGraphicObjList list;
        for (int id : {1, 2, 3, 4})
            add(list, id);
        list.Delete(1);
        EXPECT_EQ(destroyed, 1);
        std::unique_ptr<TGraphicObject> kept(list.Remove(2));
        EXPECT_EQ(destroyed, 1);
        EXPECT_EQ(MessageOf<ECADListObjNotFound>([&] { list.Delete(1); }), "TGraphicObjList.Delete: Object not found");
        EXPECT_EQ(MessageOf<ECADListObjNotFound>([&] { list.Remove(1); }), "TGraphicObjList.Remove: No object found");
        list.Clear();
        EXPECT_EQ(destroyed, 3);
        EXPECT_EQ(list.Count(), 0);
        add(list, 5);
    }
    EXPECT_EQ(destroyed, 5) << "the list frees what it owns, the removed object its holder";

    destroyed = 0;
    TCountedBox2D borrowed(destroyed);
    {
        TGraphicObjList list;
        list.OwnsObjects = false;
        list.Add(&borrowed);
        list.Clear();
        list.Add(&borrowed);
    }
    EXPECT_EQ(destroyed, 0) << "a list that does not own its objects never frees them";
}

TEST(GraphicObjList, TheListLockIsASynchroObject)
{
    static_assert(std::is_base_of_v<TCADCoreSynchroObject, TCADCoreCriticalSection>);
    TCADCoreSynchroObject none;
    none.Lock();
    none.Lock(); // the base lock does nothing, so locking twice cannot block
    none.Unlock();

    TCADCoreCriticalSection section;
    TCADCoreSynchroObject& lock = section;
    lock.Lock();
    lock.Unlock();
    lock.Lock(); // a real section is free again after its unlock
    lock.Unlock();
}

TEST(ClassRegistry, RegistersFindsAndRefuses)
{
    CADCoreClearRegistry();
    CADCoreRegisterClass(3, {"TTestBox2D", [] { return std::make_unique<TTestBox2D>(); }});
    EXPECT_EQ(CADCoreFindClassIndex("TTestBox2D"), 3);
    EXPECT_EQ(CADCoreFindClassByIndex(3).Create()->ClassName(), "TTestBox2D");
    EXPECT_EQ(CADCoreFindClassByName("TTestBox2D").Name, "TTestBox2D");

    EXPECT_EQ(MessageOf<ECADObjClassNotFound>(
                  [] { CADCoreRegisterClass(3, {"TOther2D", [] { return std::make_unique<TTestBox2D>(); }}); }),
              "CADCoreRegisterClass: Index 3 already allocated by TTestBox2D");
    EXPECT_EQ(MessageOf<ECADOutOfBound>([] { CADCoreRegisterClass(512, {"TOther2D", nullptr}); }),
              "CADCoreRegisterClass: Out of bound registration index");
    EXPECT_EQ(MessageOf<ECADObjClassNotFound>([] { CADCoreFindClassIndex("ttestbox2d"); }),
              "CADCoreFindClassIndex: ttestbox2d graphic class not found")
        << "names are compared with case";
    EXPECT_EQ(MessageOf<ECADObjClassNotFound>([] { CADCoreFindClassByIndex(4); }),
              "CADCoreFindClassByIndex: Index not registered");
    EXPECT_THROW(CADCoreFindClassByIndex(512), ECADOutOfBound);
    EXPECT_THROW(CADCoreFindClassByIndex(-1), ECADOutOfBound);
    CADCoreClearRegistry();
}
