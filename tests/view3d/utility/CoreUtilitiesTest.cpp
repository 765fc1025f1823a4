#include <cerrno>
#include <climits>
#include <numbers>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "view3d/maths/MatrixGeometry.h"
#include "view3d/maths/VectorGeometry.h"
#include "view3d/utility/CrossPlatform.h"
#include "view3d/utility/GLUtils.h"
#include "view3d/utility/GeometryBB.h"

namespace {

TEST(CoreUtilities, RoundUpToPowerOf2)
{
    const struct {
        int In;
        int Out;
    } cases[] = {{INT_MIN, 1}, {-5, 1}, {0, 1}, {1, 1}, {2, 2}, {3, 4}, {200, 256}, {256, 256}, {257, 512},
                 {1 << 30, 1 << 30}, {INT_MAX, 1 << 30}};
    for (const auto& c : cases)
        EXPECT_EQ(RoundUpToPowerOf2(c.In), c.Out) << c.In;
}

TEST(CoreUtilities, ColoursAndPlatformCalls)
{
    constexpr TColor buttonFace = static_cast<TColor>(0xFF00000Fu);
    EXPECT_EQ(ColorToRGB(buttonFace), 0xF0F0F0);
    EXPECT_EQ(ColorToRGB(static_cast<TColor>(0xFF000005u)), 0xFFFFFF);
    EXPECT_EQ(ColorToRGB(0x123456), 0x123456);
    EXPECT_EQ(GetRValue(0x123456), 0x56);
    EXPECT_EQ(GetGValue(0x123456), 0x34);
    EXPECT_EQ(GetBValue(0x123456), 0x12);

    errno = ENOENT;
    try {
        RaiseLastOSError();
        ADD_FAILURE() << "nothing was raised";
    } catch (const EOSError& error) {
        EXPECT_STREQ(error.what(), "OS Error : No such file or directory");
    }

    std::int64_t frequency = 0;
    EXPECT_TRUE(QueryPerformanceFrequency(frequency));
    EXPECT_EQ(frequency, 1'000'000'000);
    std::int64_t first = 0;
    std::int64_t second = 0;
    QueryPerformanceCounter(first);
    QueryPerformanceCounter(second);
    EXPECT_GE(second, first);

    EXPECT_EQ(SqrtAlphaTable()[0], 0);
    EXPECT_EQ(SqrtAlphaTable()[64], 128);
    EXPECT_EQ(SqrtAlphaTable()[255], 255);
}

TEST(CoreUtilities, FileHelpers)
{
    QTemporaryDir folder;
    const std::string name = folder.filePath("text.bin").toStdString();
    const std::string text("one\0two\r\n", 9);
    SaveStringToFile(name, text);
    EXPECT_EQ(SizeOfFile(name), 9);
    EXPECT_EQ(LoadStringFromFile(name), text);
    SaveStringToFile(name, "");
    EXPECT_EQ(SizeOfFile(name), 0);
    const std::string missing = folder.filePath("missing.bin").toStdString();
    EXPECT_EQ(LoadStringFromFile(missing), "");
    EXPECT_EQ(SizeOfFile(missing), 0);
}

TEST(CoreUtilities, BoundingBoxes)
{
    TAABB box;
    SetBB(box, {-1, 2, -3});
    EXPECT_TRUE(Vector3Equals(box.Min, {-1, -2, -3}));
    EXPECT_TRUE(Vector3Equals(box.Max, {1, 2, 3}));
    IncludeInBB(box, {5, 0, 0});
    EXPECT_EQ(box.Max.X, 5);
    AddBB(box, {{0, -7, 0}, {0, 0, 9}});
    EXPECT_TRUE(Vector3Equals(box.Min, {-1, -7, -3}));
    EXPECT_TRUE(Vector3Equals(box.Max, {5, 2, 9}));
    ScaleBB(box, {2, 1, 1});
    EXPECT_EQ(box.Min.X, -2);
    EXPECT_EQ(box.Max.X, 10);

    TAABB turned{{0, 0, 0}, {1, 2, 3}};
    const Matrix4f m = MatrixMultiply(CreateRotationMatrix({0, 0, 1}, std::numbers::pi_v<float> / 2),
                                      CreateScaleAndTranslationMatrix({1, 1, 1}, {10, 0, 0}));
    BBTransform(turned, m);
    EXPECT_NEAR(turned.Min.X, 10, 1e-6f);
    EXPECT_NEAR(turned.Max.X, 12, 1e-6f);
    EXPECT_NEAR(turned.Min.Y, -1, 1e-6f);
    EXPECT_NEAR(turned.Max.Y, 0, 1e-6f);
    EXPECT_NEAR(turned.Max.Z, 3, 1e-6f);
}

} // namespace
