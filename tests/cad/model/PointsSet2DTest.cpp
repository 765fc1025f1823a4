#include <gtest/gtest.h>

#include "cad/base/CADExceptions.h"
#include "cad/model/PointsSet2D.h"
#include "support/ExceptionMessage.h"

using cadtest::MessageOf;

namespace {

TPoint2D P(float x, float y) { return TPoint2D{x, y, 1.0f}; }

} // namespace

TEST(PointsSet2D, OutOfBoundAccessRaisesWithItsText)
{
    TPointsSet2D set(4);
    set.Append(P(1, 2));
    EXPECT_EQ(MessageOf<ECADOutOfBound>([&] { set.Get(1); }), "TPointsSet2D.Get: Index out of bound");
    EXPECT_EQ(MessageOf<ECADOutOfBound>([&] { set.Get(-1); }), "TPointsSet2D.Get: Index out of bound");
    EXPECT_EQ(MessageOf<ECADOutOfBound>([&] { set.Delete(1); }), "TPointsSet2D.Delete: Vector out of bound");
    EXPECT_EQ(MessageOf<ECADOutOfBound>([&] { set.Insert(1, P(0, 0)); }), "TPointsSet2D.Insert: Vector out of bound");
    set.GrowingEnabled = false;
    EXPECT_EQ(MessageOf<ECADOutOfBound>([&] { set.Put(4, P(0, 0)); }), "TPointsSet2D.Put: Vector out of bound");
    const TPoint2D many[6] = {};
    EXPECT_EQ(MessageOf<ECADOutOfBound>([&] { set.AddPoints(many); }), "TPointsSet2D.AddPoints: Vector out of bound");
    EXPECT_EQ(set.Count(), 1);
}

TEST(PointsSet2D, PutPastTheEndGrowsAndExtendsTheCount)
{
    TPointsSet2D set(4);
    set.Put(0, P(0, 0));
    set.Put(1, P(1, 1));
    set.Put(9, P(9, 9));
    EXPECT_EQ(set.Capacity(), 10);
    EXPECT_EQ(set.Count(), 10);
    EXPECT_EQ(set.Get(5).W, 1.0f) << "new entries are (0, 0, 1)";
    EXPECT_EQ(set.Get(9).X, 9.0f);
    set.Put(10, P(10, 10));
    EXPECT_EQ(set.Capacity(), 21) << "doubling plus one";
}

TEST(PointsSet2D, HoldsAHundredThousandPointsWithoutWrapping)
{
    TPointsSet2D set(0);
    for (int i = 0; i < 100000; ++i)
        set.Append(P(static_cast<float>(i), static_cast<float>(-i)));
    ASSERT_EQ(set.Count(), 100000);
    for (int i : {0, 32767, 32768, 65535, 65536, 99999})
        EXPECT_EQ(set.Get(i).X, static_cast<float>(i));
    const TRect2D box = set.Extent();
    EXPECT_EQ(box.SecondEdge.X, 99999.0f);
    EXPECT_EQ(box.FirstEdge.Y, -99999.0f);
}

TEST(PointsSet2D, InsertDeleteAndAddKeepOrder)
{
    TPointsSet2D set(2);
    set.AddPoints(std::vector<TPoint2D>{P(0, 0), P(2, 0), P(3, 0)});
    set.Insert(1, P(1, 0));
    ASSERT_EQ(set.Count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(set.Get(i).X, static_cast<float>(i));
    set.Delete(0);
    EXPECT_EQ(set.Count(), 3);
    EXPECT_EQ(set.Get(0).X, 1.0f);
    set.Clear();
    EXPECT_EQ(set.Count(), 0);
    EXPECT_GE(set.Capacity(), 4) << "clearing keeps the capacity";
}

TEST(PointsSet2D, AddPointsChecksTheHighestIndexAndAlwaysNotifies)
{
    TPointsSet2D set(5);
    set.GrowingEnabled = false;
    int calls = 0;
    set.OnChange = [&](TPointsSet2D&) { ++calls; };
    const TPoint2D six[6] = {P(0, 0), P(1, 0), P(2, 0), P(3, 0), P(4, 0), P(5, 0)};
    set.AddPoints(six); // the highest index, 5, is not beyond a capacity of 5
    EXPECT_EQ(set.Count(), 6);
    EXPECT_EQ(set.Capacity(), 11) << "the capacity grows by the number of points";
    EXPECT_EQ(set.Get(5).X, 5.0f);
    EXPECT_EQ(calls, 1);

    set.AddPoints(std::span<const TPoint2D>());
    EXPECT_EQ(set.Count(), 6);
    EXPECT_EQ(calls, 2) << "an empty array still notifies";
}

TEST(PointsSet2D, CopyFromSkipsPointsTheSourceLacks)
{
    TPointsSet2D source(3);
    source.AddPoints(std::vector<TPoint2D>{P(1, 1), P(2, 2)});
    TPointsSet2D target(1);
    target.CopyFrom(source, 0, 4);
    EXPECT_EQ(target.Capacity(), 5);
    EXPECT_EQ(target.Count(), 2);
    EXPECT_EQ(target.Get(1).Y, 2.0f);
}

TEST(PointsSet2D, NotifiesOnceAndNotFromInsideItsOwnHandler)
{
    TPointsSet2D set(2);
    int calls = 0;
    set.OnChange = [&](TPointsSet2D& changed) {
        ++calls;
        if (changed.Count() == 1)
            changed.Append(P(5, 5)); // a change made by the handler does not notify again
    };
    set.Append(P(1, 1));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(set.Count(), 2);
    set.AddPoints(std::vector<TPoint2D>{P(1, 1), P(2, 2), P(3, 3)});
    EXPECT_EQ(calls, 2) << "adding several points notifies once";
    set.Put(0, P(0, 0));
    EXPECT_EQ(calls, 2) << "Put does not notify";
    set.SetNotifySuspended(true);
    set.SetPoint(0, P(0, 0));
    EXPECT_EQ(calls, 2);

    set.SetNotifySuspended(false);
    set.OnChange = [&](TPointsSet2D&) { throw std::runtime_error("handler failed"); };
    EXPECT_THROW(set.Append(P(0, 0)), std::runtime_error);
    set.OnChange = [&](TPointsSet2D&) { ++calls; };
    set.Append(P(0, 0));
    EXPECT_EQ(calls, 3) << "a failing handler does not leave notifications blocked";
}

TEST(PointsSet2D, ExtentOfCartesianPoints)
{
    TPointsSet2D set(3);
    EXPECT_EQ(set.Extent().SecondEdge.X, 0.0f);
    set.Append(TPoint2D{4, 8, 2});
    set.Append(P(-1, 1));
    set.Append(P(3, -2));
    const TRect2D box = set.Extent();
    EXPECT_EQ(box.FirstEdge.X, -1.0f);
    EXPECT_EQ(box.FirstEdge.Y, -2.0f);
    EXPECT_EQ(box.SecondEdge.X, 3.0f) << "later points widen the box";
    EXPECT_EQ(box.SecondEdge.Y, 4.0f) << "(4, 8, 2) counts as (2, 4)";
}
