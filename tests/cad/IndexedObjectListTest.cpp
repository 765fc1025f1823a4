#include <gtest/gtest.h>

#include "cad/CADExceptions.h"
#include "cad/IndexedObjectList.h"

TEST(IndexedObjectList, FixedSlotsOwnTheirObjects)
{
    TIndexedObjectList<std::string> list(3);
    list.SetObject(2, std::make_unique<std::string>("two"));
    EXPECT_EQ(*list.GetObject(2), "two");
    EXPECT_EQ(list.GetObject(0), nullptr);
    try {
        list.SetObject(3, std::make_unique<std::string>("three"));
        FAIL();
    } catch (const ECADOutOfBound& e) {
        EXPECT_STREQ(e.what(), "TIndexedObjectList.SetObject: Index out of bounds.");
    }
    try {
        list.GetObject(-1);
        FAIL();
    } catch (const ECADOutOfBound& e) {
        EXPECT_STREQ(e.what(), "TIndexedObjectList.GetObject: Index out of bounds.");
    }
    list.SetSize(2);
    list.SetSize(3);
    EXPECT_EQ(list.GetObject(2), nullptr) << "shrinking frees the objects beyond the new size";

    TIndexedObjectList<std::string> empty(0);
    empty.SetObject(5, std::make_unique<std::string>("ignored"));
    EXPECT_EQ(empty.GetObject(5), nullptr) << "an empty array gives none and takes nothing";
}
