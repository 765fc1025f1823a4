#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "view3d/objects/SamplingScale.h"

namespace {

class CountingOwner : public TGLUpdateAbleComponent {
public:
    void NotifyChange(TGLNotifyObject* sender) override
    {
        ++Changes;
        LastSender = sender;
    }
    int Changes = 0;
    TGLNotifyObject* LastSender = nullptr;
};

TEST(SamplingScale, MinAndMaxPushEachOtherAndNotifyTheOwner)
{
    CountingOwner owner;
    TGLSamplingScale scale(&owner);
    EXPECT_FLOAT_EQ(scale.Step(), 0.1f);
    EXPECT_FALSE(scale.IsValid());
    scale.SetMin(2.0f);
    EXPECT_FLOAT_EQ(scale.Max(), 2.0f);
    scale.SetMax(-1.0f);
    EXPECT_FLOAT_EQ(scale.Min(), -1.0f);
    EXPECT_FALSE(scale.IsValid());
    scale.SetMax(3.0f);
    EXPECT_TRUE(scale.IsValid());
    EXPECT_FLOAT_EQ(scale.Min(), -1.0f);
    EXPECT_EQ(owner.Changes, 3);
    EXPECT_EQ(owner.LastSender, &scale);
    scale.SetMax(3.0f);
    scale.SetOrigin(0.0f);
    EXPECT_EQ(owner.Changes, 3);
    scale.SetOrigin(0.5f);
    scale.SetStep(0.5f);
    EXPECT_EQ(owner.Changes, 5);
}

// The scale cannot be copied, so the tests ask it one thing each.
template <typename Ask>
auto WithScale(float min, float max, float origin, float step, Ask ask)
{
    TGLSamplingScale scale(nullptr);
    scale.SetMax(max);
    scale.SetMin(min);
    scale.SetOrigin(origin);
    scale.SetStep(step);
    return ask(scale);
}

std::vector<float> Values(float min, float max, float origin, float step, bool sampled = true)
{
    return WithScale(min, max, origin, step, [&](const TGLSamplingScale& s) { return s.Values(sampled); });
}

TEST(SamplingScale, StepBaseAndCountsAlignOnTheOrigin)
{
    struct Case {
        std::string Name;
        float Min, Max, Origin, Step;
        float Base;
        int Count;
    };
    const Case cases[] = {
        {"origin on min", 0, 1, 0, 0.1f, 0, 10},
        {"origin above min", 0, 1, 0.25f, 0.1f, 0.05f, 10},
        {"origin below min (negative q)", 0, 1, -0.25f, 0.1f, 0.05f, 10},
        {"origin whole steps below min", 0, 1, -1, 0.5f, 0, 2},
        {"origin whole steps above min", 0, 1, 1, 0.5f, 0, 2},
        {"span not a whole number of steps", 0, 1.04f, 0, 0.1f, 0, 11},
        {"zero step", 0, 1, 0.3f, 0, 0, 0},
        {"negative step", 0, 1, 0.3f, -0.1f, 0, 0},
        {"a step too fine to count", 0, 1, 0.3f, 1e-30f, 0, TGLSamplingScale::MaxSteps},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        WithScale(c.Min, c.Max, c.Origin, c.Step, [&](const TGLSamplingScale& scale) {
            EXPECT_NEAR(scale.StepBase(), c.Base, 1e-6);
            EXPECT_EQ(scale.MaxStepCount(), c.Count);
            return 0;
        });
    }
}

TEST(SamplingScale, ValuesReachMaxAndStayFiniteForAnyStep)
{
    // 1 / 0.1f is just under 10: without the tolerance Max would be lost.
    const std::vector<float> tenths = Values(0, 1, 0, 0.1f);
    ASSERT_EQ(tenths.size(), 11u);
    EXPECT_NEAR(tenths.back(), 1.0f, 1e-6);
    EXPECT_NEAR(tenths[3], 0.3f, 1e-6);

    const std::vector<float> aligned = Values(0, 1, -1, 0.5f);
    EXPECT_EQ(aligned, (std::vector<float>{0.0f, 0.5f, 1.0f}));
    EXPECT_EQ(Values(0, 1, 0.25f, 0.5f, false), std::vector<float>{0.25f});
    EXPECT_EQ(Values(0, 1, 0.25f, 0.0f), std::vector<float>{0.0f});
    EXPECT_EQ(Values(0, 1, 0.25f, -0.5f), std::vector<float>{0.0f});
    // The first aligned value lies beyond Max.
    EXPECT_TRUE(Values(0, 0.05f, 0.07f, 0.1f).empty());
    EXPECT_EQ(Values(0, 1, 0.3f, 1e-30f).size(), std::size_t(TGLSamplingScale::MaxSteps) + 1);
}

} // namespace
