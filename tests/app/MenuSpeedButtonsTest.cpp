#include <vector>

#include <QHBoxLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include "WidgetInput.h"
#include "app/ui/controls/MenuSpeedButtons.h"

namespace {

// Records where the menu would open instead of opening it.
template <typename TButton>
class TRecording : public TButton {
public:
    using TButton::TButton;
    void PopupMenu(const QPoint& screenPoint) override
    {
        Opened.push_back(this->mapFromGlobal(screenPoint));
        DownWhileOpen.push_back(this->isDown());
    }
    std::vector<QPoint> Opened;
    std::vector<bool> DownWhileOpen;
};

void Mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace

TEST(MenuSpeedButton, OpensItsMenuAtThePlacingCornerAndClicksOnce)
{
    QWidget window;
    QMenu menu;
    auto* button = new TRecording<TYarvMenuSpeedButton>(&window);
    button->setGeometry(10, 10, 25, 25);
    button->SetActiveMenu(&menu);
    int clicks = 0;
    QObject::connect(button, &QToolButton::clicked, [&clicks] { ++clicks; });

    const std::pair<TMenuPlacing, QPoint> corners[] = {{TMenuPlacing::mpTopLeft, {0, 0}},
        {TMenuPlacing::mpBottomLeft, {0, 25}}, {TMenuPlacing::mpTopRight, {25, 0}}, {TMenuPlacing::mpBottomRight, {25, 25}}};
    for (const auto& [placing, corner] : corners) {
        button->MenuPlacing = placing;
        Click(button, {5, 5});
        EXPECT_EQ(button->Opened.back(), corner);
    }
    EXPECT_EQ(clicks, 4);

    // Down while the menu is open, unless the button comes up first.
    EXPECT_TRUE(button->DownWhileOpen.back());
    button->ReleaseButton = true;
    Click(button, {5, 5});
    EXPECT_FALSE(button->DownWhileOpen.back());
    EXPECT_FALSE(button->isDown());

    // Released outside the button: no click, no menu; without a menu: a click only.
    Mouse(button, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton);
    Mouse(button, QEvent::MouseButtonRelease, {40, 5}, Qt::NoButton);
    EXPECT_EQ(button->Opened.size(), 5u);
    EXPECT_EQ(clicks, 5);
    button->SetActiveMenu(nullptr);
    Click(button, {5, 5});
    EXPECT_EQ(button->Opened.size(), 5u);
    EXPECT_EQ(clicks, 6);
}

TEST(SplitButton, ArrowHalfFollowsTheCommandHalfAndThePairActsAsOneButton)
{
    QWidget window;
    window.resize(200, 60);
    auto* command = new TYarvLinkedSpeedButton(&window);
    command->setGeometry(10, 5, 23, 25);
    auto* arrow = new TRecording<TYarvLinkedMenuSpeedButton>(&window);
    QMenu menu;
    arrow->SetActiveMenu(&menu);
    command->SetMenuButton(arrow);
    window.show();
    EXPECT_EQ(arrow->geometry(), QRect(33, 5, 14, 25));

    command->move(50, 20);
    EXPECT_EQ(arrow->geometry(), QRect(73, 20, 14, 25));
    command->resize(30, 28);
    EXPECT_EQ(arrow->geometry(), QRect(80, 20, 14, 28));
    arrow->move(0, 0);
    EXPECT_EQ(arrow->geometry(), QRect(80, 20, 14, 28)) << "no other place while linked";

    int commandClicks = 0;
    int arrowClicks = 0;
    QObject::connect(command, &QToolButton::clicked, [&commandClicks] { ++commandClicks; });
    QObject::connect(arrow, &QToolButton::clicked, [&arrowClicks] { ++arrowClicks; });

    // Pressed on the command half, both halves show pressed; released over
    // the arrow half, the command runs and no menu opens.
    Mouse(command, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton);
    EXPECT_TRUE(command->isDown());
    EXPECT_TRUE(arrow->isDown());
    EXPECT_TRUE(arrow->PressedByPartner());
    Click(arrow, {5, 5});
    EXPECT_EQ(arrowClicks, 0) << "the arrow's own clicks are set aside meanwhile";
    Mouse(command, QEvent::MouseMove, {35, 5}, Qt::LeftButton);
    EXPECT_TRUE(command->isDown());
    EXPECT_TRUE(arrow->isDown());
    Mouse(command, QEvent::MouseMove, {100, 5}, Qt::LeftButton);
    EXPECT_FALSE(command->isDown());
    EXPECT_FALSE(arrow->isDown()) << "off the pair both come up";
    Mouse(command, QEvent::MouseMove, {35, 5}, Qt::LeftButton);
    Mouse(command, QEvent::MouseButtonRelease, {35, 5}, Qt::NoButton);
    EXPECT_EQ(commandClicks, 1);
    EXPECT_FALSE(arrow->PressedByPartner());
    EXPECT_FALSE(command->isDown());
    EXPECT_TRUE(arrow->Opened.empty());

    // The menu opens only from the arrow half itself, below its left corner.
    Click(arrow, {5, 5});
    ASSERT_EQ(arrow->Opened.size(), 1u);
    EXPECT_EQ(arrow->Opened[0], QPoint(0, 28));
    EXPECT_EQ(commandClicks, 1);

    // Enabled state and the flat look go both ways.
    command->setEnabled(false);
    EXPECT_FALSE(arrow->isEnabled());
    arrow->setEnabled(true);
    EXPECT_TRUE(command->isEnabled());
    command->SetFlat(false);
    EXPECT_FALSE(arrow->autoRaise());
}
