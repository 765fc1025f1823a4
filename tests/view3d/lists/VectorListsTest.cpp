#include <cmath>
#include <cstring>
#include <memory>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "support/ArchiveBytes.h"

#include "view3d/lists/SortLists.h"
#include "view3d/lists/VectorLists.h"
#include "view3d/maths/VectorGeometry.h"
#include "view3d/persistence/BinaryReader.h"
#include "view3d/persistence/PersistenceErrors.h"
#include "view3d/persistence/PersistentObjectList.h"

namespace {

using namespace archive_bytes;

TEST(VectorLists, GrowInStepsOfSixteen)
{
    TAffineVectorList list;
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(list.Add(static_cast<float>(i), 0, 0), i);
    EXPECT_EQ(list.Capacity(), 16);
    EXPECT_EQ(list.Add(16, 0, 0), 16);
    EXPECT_EQ(list.Capacity(), 32);
    EXPECT_EQ(list.IndexOf({5, 0, 0}), 5);
    EXPECT_EQ(list.IndexOf({5, 0, -0.0f}), -1);
    EXPECT_EQ(list.FindOrAdd({5, 0, 0}), 5);
    EXPECT_EQ(list.FindOrAdd({5, 1, 0}), 17);

    TIntegerList integers;
    for (int i = 0; i < 5; ++i)
        integers.Add(i, i + 1, i + 2);
    EXPECT_EQ(integers.Add(7, 8, 9), 15);
    EXPECT_EQ(integers.Capacity(), 32);
    EXPECT_EQ(integers.Get(17), 9);
    // The integer list's indexed access is checked like every other list's.
    EXPECT_THROW(integers.Get(18), EListError);
    EXPECT_THROW(integers.Put(-1, 0), EListError);

    TByteList bytes;
    bytes.SetCount(3);
    EXPECT_EQ(bytes.Get(2), 0);
    bytes.Put(2, 200);
    bytes.SetCount(1);
    bytes.SetCount(3);
    EXPECT_EQ(bytes.Get(2), 0) << "growing the count fills with zero";
    bytes.Flush();
    EXPECT_EQ(bytes.Count(), 0);
    EXPECT_EQ(bytes.Capacity(), 3);
    bytes.Clear();
    EXPECT_EQ(bytes.Capacity(), 0);
}

TEST(VectorLists, ExternalStorageIsCopiedWhenTheListGrows)
{
    Vector3f outside[2] = {{1, 2, 3}, {4, 5, 6}};
    TAffineVectorList list;
    list.UseExternalStorage(outside, 2);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_TRUE(list.Options() & TBaseList::OptionExternalStorage);
    list.Put(0, {7, 8, 9});
    EXPECT_EQ(outside[0].X, 7);
    list.Add(10, 11, 12);
    EXPECT_FALSE(list.Options() & TBaseList::OptionExternalStorage);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_TRUE(Vector3Equals(list.Get(0), {7, 8, 9}));
    EXPECT_TRUE(Vector3Equals(list.Get(1), {4, 5, 6}));
    list.Put(1, {0, 0, 0});
    EXPECT_EQ(outside[1].X, 4) << "the caller's memory is left alone once the list has its own";
}

TEST(VectorLists, VectorOperations)
{
    TVectorList list;
    Vector3f minimum;
    Vector3f maximum;
    list.GetExtents(minimum, maximum);
    constexpr float inf = std::numeric_limits<float>::infinity();
    EXPECT_TRUE(Vector3Equals(minimum, {inf, inf, inf}));
    EXPECT_TRUE(Vector3Equals(maximum, {-inf, -inf, -inf}));

    list.AddPoint(1, -2, 3);
    list.Add(Vector3f{-4, 5, 0}, 0);
    list.GetExtents(minimum, maximum);
    EXPECT_TRUE(Vector3Equals(minimum, {-4, -2, 0}));
    EXPECT_TRUE(Vector3Equals(maximum, {1, 5, 3}));
    EXPECT_TRUE(Vector3Equals(list.Sum(), {-3, 3, 3}));
    list.Translate({1, 1, 1});
    EXPECT_TRUE(Vector4Equals(list.Get(0), {2, -1, 4, 1}));
    EXPECT_TRUE(Vector4Equals(list.Get(1), {-3, 6, 1, 0}));

    TVectorList other;
    other.AddPoint(2, -1, 3);
    other.AddPoint(-3, 6, 1);
    EXPECT_FLOAT_EQ(list.MaxSpacing(other), 1.0f);
    list.SubtractList(other);
    EXPECT_TRUE(Vector4Equals(list.Get(0), {0, 0, 1, 1}));
    list.CombineList(other, 2);
    EXPECT_TRUE(Vector4Equals(list.Get(1), {-6, 12, 2, 0}));
    list.Normalize();
    EXPECT_FLOAT_EQ(Vector4Length3(list.Get(1)), 1.0f);
    other.Add({1, 2, 3, 4});
    EXPECT_THROW(list.AddList(other), EListError);

    TVectorList between;
    TVectorList a;
    TVectorList b;
    a.AddPoint(0, 0, 0);
    b.AddPoint(2, 4, 6);
    between.Lerp(a, b, 0.5f);
    EXPECT_TRUE(Vector4Equals(between.Get(0), {1, 2, 3, 1}));

    TAffineVectorList copy;
    TAffineVectorList source;
    source.Add(1, 2, 3);
    copy.Assign(source);
    EXPECT_EQ(copy.Count(), 1);
    EXPECT_TRUE(Vector3Equals(copy.Get(0), {1, 2, 3}));
    EXPECT_THROW(copy.Assign(list), EConvertError) << "items of another size are not copied as bytes";
}

// The archive of an affine vector list: list version, count, item size, the
// raw items, then the vector list's own version.
TEST(VectorLists, ArchiveForm)
{
    TAffineVectorList list;
    list.Add(1, 2, 3);
    const std::string archive =
        Bytes({2, 0, 2, 1, 2, 12}) + FloatBytes(1) + FloatBytes(2) + FloatBytes(3) + Bytes({2, 0});
    EXPECT_EQ(list.SaveToString(), archive);
    TAffineVectorList read;
    read.LoadFromString(archive);
    ASSERT_EQ(read.Count(), 1);
    EXPECT_TRUE(Vector3Equals(read.Get(0), {1, 2, 3}));

    const struct {
        const char* What;
        std::string Archive;
        const char* Error;
    } cases[] = {
        {"list version 1", Bytes({2, 1, 2, 0, 2, 12, 2, 0}), "TAffineVectorList : unknown archive version 1"},
        {"vector version 1", Bytes({2, 0, 2, 0, 2, 12, 2, 1}), "TAffineVectorList : unknown archive version 1"},
        {"item size 16", Bytes({2, 0, 2, 1, 2, 16}) + std::string(16, '\0') + Bytes({2, 0}),
         "TBinaryReader, read type error"},
        {"item size 4", Bytes({2, 0, 2, 3, 2, 4}) + std::string(12, '\0') + Bytes({2, 0}),
         "TBinaryReader, read type error"},
        {"count past the bytes", Bytes({2, 0, 4, 0, 0, 0, 0x10, 2, 12}) + std::string(24, '\0'),
         "TBinaryReader, read type error"},
        {"negative count", Bytes({2, 0, 2, -1, 2, 12, 2, 0}), "TBinaryReader, read type error"},
        {"items cut short", Bytes({2, 0, 2, 2, 2, 12}) + std::string(12, '\0'), "TBinaryReader, read type error"},
    };
    for (const auto& c : cases)
        ExpectRefused(c.What, [&] { read.LoadFromString(c.Archive); }, c.Error);

    // In an object list the class comes back by its name.
    TPersistentObjectList objects;
    objects.Add(&list);
    TPersistentObjectList again;
    again.LoadFromString(objects.SaveToString());
    ASSERT_EQ(again.Count(), 1);
    EXPECT_EQ(again.Get(0)->ClassName(), "TAffineVectorList");
}

TEST(SortLists, KeysSortAscendingWithTheirObjects)
{
    const std::vector<std::vector<float>> orders = {
        {3, 1, 2}, {2, 1}, {1, 2}, {5}, {4, 4, 1, 4, 0, 9, -1, 4}, {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, -1, -2, -3, -4, -5, -6, -7},
    };
    for (const auto& order : orders) {
        TSingleList keys;
        TPersistentObjectList objects;
        std::vector<std::unique_ptr<TSingleList>> owners;
        for (const float key : order) {
            keys.Add(key);
            owners.push_back(std::make_unique<TSingleList>());
            owners.back()->Add(key);
            objects.Add(owners.back().get());
        }
        QuickSortLists(0, keys.Count() - 1, keys, objects);
        for (int i = 0; i < keys.Count(); ++i) {
            if (i > 0) {
                EXPECT_LE(keys.Get(i - 1), keys.Get(i));
            }
            EXPECT_EQ(static_cast<TSingleList*>(objects.Get(i))->Get(0), keys.Get(i)) << "pair " << i;
        }
    }
    TSingleList keys;
    keys.Add(1);
    TPersistentObjectList objects;
    EXPECT_THROW(QuickSortLists(0, 0, keys, objects), EListError);
}

} // namespace
