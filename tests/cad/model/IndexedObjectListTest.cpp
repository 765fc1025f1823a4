#include <gtest/gtest.h>

#include "cad/base/CADExceptions.h"
#include "cad/model/IndexedObjectList.h"
#include "support/ExceptionMessage.h"

using cadtest::MessageOf;

TEST(IndexedObjectList, FixedSlotsOwnTheirObjects)
{
    TIndexedObjectList<std::string> list(3);
    list.SetObject(2, std::make_unique<std::string>("two"));
    EXPECT_EQ(*list.GetObject(2), "two");
    EXPECT_EQ(list.GetObject(0), nullptr);
    EXPECT_EQ(MessageOf<ECADOutOfBound>([&] { list.SetObject(3, std::make_unique<std::string>("three")); }),
              "TIndexedObjectList.SetObject: Index out of bounds.");
    EXPECT_EQ(MessageOf<ECADOutOfBound>([&] { list.GetObject(-1); }),
              "TIndexedObjectList.GetObject: Index out of bounds.");
    list.SetSize(2);
    list.SetSize(3);
    EXPECT_EQ(list.GetObject(2), nullptr) << "shrinking frees the objects beyond the new size";

    TIndexedObjectList<std::string> empty(0);
    empty.SetObject(5, std::make_unique<std::string>("ignored"));
    EXPECT_EQ(empty.GetObject(5), nullptr) << "an empty array gives none and takes nothing";
}
