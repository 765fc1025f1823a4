#include <string>
#include <vector>

#include <QImage>
#include <gtest/gtest.h>

#include "app/ui/controls/VertRuler.h"

namespace {

std::vector<std::string> LabelTexts(const TRulerMarks& marks)
{
    std::vector<std::string> texts;
    for (const TRulerLabel& label : marks.Labels)
        texts.push_back(label.Text);
    return texts;
}

bool HasTick(const TRulerMarks& marks, int y, int x1, int x2)
{
    for (const TRulerTick& tick : marks.Ticks)
        if (tick.Y == y && tick.X1 == x1 && tick.X2 == x2)
            return true;
    return false;
}

} // namespace

TEST(VertRuler, LabelsRunFromTheZeroRowBothWays)
{
    TVertRuler ruler;
    ASSERT_EQ(ruler.geometry(), QRect(30, 122, 25, 300));
    ASSERT_EQ(ruler.ScalaOffset(), 100);
    ASSERT_EQ(ruler.ScalaFactor(), 2);
    const TRulerMarks marks = ruler.Marks();
    const std::vector<std::string> expected = {"0", "1", "2", "3", "4", "5", "6", "7", "8",
                                               "9", "10", "-1", "-2", "-3", "-4", "-5"};
    EXPECT_EQ(LabelTexts(marks), expected);
    for (const TRulerLabel& label : marks.Labels) {
        const int s = std::stoi(label.Text);
        EXPECT_EQ(label.X, 11);
        EXPECT_EQ(label.Top, 100 + 20 * s - 4) << label.Text;
    }
    EXPECT_TRUE(HasTick(marks, 120, 1, 10)) << "major tick";
    EXPECT_TRUE(HasTick(marks, 130, 1, 7)) << "half tick below a major one";
    EXPECT_TRUE(HasTick(marks, 70, 1, 7)) << "half tick above a major one";
    EXPECT_TRUE(HasTick(marks, 122, 1, 5)) << "minor tick";
    EXPECT_TRUE(HasTick(marks, 98, 1, 5)) << "minor tick above the zero row";
    EXPECT_FALSE(HasTick(marks, 121, 1, 5));
}

TEST(VertRuler, ScaleSettingsMoveTheMarks)
{
    TVertRuler ruler;
    ruler.resize(40, 200);
    ruler.SetScalaOffset(0);
    ruler.SetScalaFactor(4);
    ruler.SetScalaTextIncrement(0.1);
    ruler.SetScalaEdgePos(TRulerEdge::Right);
    const TRulerMarks marks = ruler.Marks();
    EXPECT_EQ(LabelTexts(marks), (std::vector<std::string>{"0", "0.1", "0.2", "0.3", "0.4", "0.5"}));
    EXPECT_EQ(marks.Labels.front().X, 20);
    EXPECT_TRUE(HasTick(marks, 40, 38, 30)) << "on the right edge the ticks point left";
    EXPECT_TRUE(HasTick(marks, 60, 38, 33));
    EXPECT_TRUE(HasTick(marks, 44, 38, 35));

    ruler.SetScalaOffset(500);  // zero below the ruler: only negative labels
    ruler.SetScalaTextIncrement(-2.5);
    EXPECT_EQ(LabelTexts(ruler.Marks()), (std::vector<std::string>{"20", "22.5", "25", "27.5", "30"}));

    ruler.SetScalaShowText(false);
    EXPECT_TRUE(ruler.Marks().Labels.empty());
    EXPECT_FALSE(ruler.Marks().Ticks.empty());

    ruler.SetScalaFactor(0);
    EXPECT_TRUE(ruler.Marks().Ticks.empty()) << "a zero spacing gives no ticks and no endless loop";
}

TEST(VertRuler, PaintsTicksAndLabelsInTheScaleColour)
{
    TVertRuler ruler;
    const QColor ink(200, 0, 0);
    const QRgb inkRgb = ink.rgb();
    ruler.SetScalaColor(ink);
    const QRgb background = ruler.palette().color(QPalette::Midlight).rgb();
    // Text is smoothed, so its pixels are blends: count what is not background.
    const auto inkCountRightOfTicks = [&](const QImage& image) {
        int count = 0;
        for (int y = 105; y < 200; ++y)
            for (int x = 11; x < image.width() - 1; ++x)
                count += image.pixel(x, y) != background ? 1 : 0;
        return count;
    };

    QImage image = ruler.grab().toImage();
    ASSERT_EQ(image.size(), QSize(25, 300));
    EXPECT_EQ(image.pixel(8, 120), inkRgb) << "major tick";
    EXPECT_NE(image.pixel(8, 121), inkRgb);
    EXPECT_EQ(image.pixel(6, 110), inkRgb) << "half tick";
    EXPECT_EQ(image.pixel(3, 112), inkRgb) << "minor tick";
    EXPECT_EQ(image.pixel(3, 113), background) << "background";
    EXPECT_GT(inkCountRightOfTicks(image), 0) << "labels";

    ruler.SetScalaShowText(false);
    ruler.SetShowUnit(false);
    image = ruler.grab().toImage();
    EXPECT_EQ(inkCountRightOfTicks(image), 0);
}
