#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include "WidgetInput.h"
#include "app/ui/controls/RealSpinButton.h"
#include "app/ui/controls/RealSpinEdit.h"

namespace {

TFixed4 Fixed(const char* text) { return *TFixed4::Parse(text); }

void TypeText(QWidget* widget, const QString& text)
{
    for (QChar c : text)
        PressKey(widget, c.unicode() >= 'a' ? Qt::Key_A + (c.unicode() - 'a') : c.unicode(), QString(c));
}

void LeaveEdit(QWidget* widget)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(widget, &out);
}

} // namespace

TEST(RealSpinEdit, StartsAtZeroWithoutLimits)
{
    TRealSpinEdit edit;
    EXPECT_EQ(edit.text(), "0");
    EXPECT_EQ(edit.Increment(), TFixed4::FromInt(1));
    EXPECT_EQ(edit.MinValue(), TFixed4());
    EXPECT_EQ(edit.MaxValue(), TFixed4());
    EXPECT_TRUE(edit.EditorEnabled());

    edit.SetValue(TFixed4::FromInt(-1000000));
    EXPECT_EQ(edit.text(), "-1000000");
    edit.setText(QStringLiteral("123456.789"));
    LeaveEdit(&edit);
    EXPECT_EQ(edit.text(), "123456.789");
    EXPECT_EQ(edit.Value(), Fixed("123456.789"));
}

TEST(RealSpinEdit, TypedValuesOutsideTheLimitsAreHeldOnLeaving)
{
    TRealSpinEdit edit;
    edit.SetMaxValue(TFixed4::FromInt(90));
    const struct {
        const char* typed;
        const char* shown;
    } cases[] = {
        {"120", "90"},
        {"-3.5", "0"},
        {"45.25", "45.25"},   // inside: left as typed
        {"90.0", "90.0"},
        {"", ""},             // reads as the lower limit, which is inside
    };
    for (const auto& c : cases) {
        edit.setText(QString());
        TypeText(&edit, QString::fromLatin1(c.typed));
        ASSERT_EQ(edit.text(), QString::fromLatin1(c.typed)) << "every character is accepted";
        LeaveEdit(&edit);
        EXPECT_EQ(edit.text(), QString::fromLatin1(c.shown)) << c.typed;
    }
}

TEST(RealSpinEdit, TextThatDoesNotReadGivesTheLowerLimit)
{
    TRealSpinEdit edit;
    edit.SetMinValue(TFixed4::FromInt(5));
    edit.SetMaxValue(TFixed4::FromInt(10));
    for (const char* text : {"", "-", ".", "1,5", "abc"}) {
        edit.setText(QString::fromLatin1(text));
        EXPECT_EQ(edit.Value(), TFixed4::FromInt(5)) << '"' << text << '"';
    }
    edit.setText(QString());
    PressKey(&edit, Qt::Key_Up);
    EXPECT_EQ(edit.text(), "6") << "the step starts from the lower limit";
}

TEST(RealSpinEdit, ArrowKeysStepByTheIncrementWithoutDrift)
{
    TRealSpinEdit edit;
    edit.SetIncrement(Fixed("0.1"));
    for (int i = 0; i < 3; ++i)
        PressKey(&edit, Qt::Key_Up);
    EXPECT_EQ(edit.text(), "0.3");
    EXPECT_EQ(edit.Value().Raw(), 3000);
    for (int i = 0; i < 5; ++i)
        PressKey(&edit, Qt::Key_Down);
    EXPECT_EQ(edit.text(), "-0.2");

    edit.SetMinValue(TFixed4::FromInt(-1));
    edit.SetMaxValue(TFixed4::FromInt(1));
    edit.SetIncrement(Fixed("0.75"));
    PressKey(&edit, Qt::Key_Up);
    EXPECT_EQ(edit.text(), "0.55");
    PressKey(&edit, Qt::Key_Up);
    EXPECT_EQ(edit.text(), "1") << "a step past the limit stops at it";
    for (int i = 0; i < 4; ++i)
        PressKey(&edit, Qt::Key_Down);
    EXPECT_EQ(edit.text(), "-1");
}

TEST(RealSpinEdit, AReadOnlyEditIsNotStepped)
{
    TRealSpinEdit edit;
    edit.setReadOnly(true);
    PressKey(&edit, Qt::Key_Up);
    edit.Button()->UpButton()->click();
    EXPECT_EQ(edit.text(), "0");
}

TEST(RealSpinEdit, ArrowButtonsStepOncePerClick)
{
    QWidget window;
    auto* edit = new TRealSpinEdit(&window);
    edit->setGeometry(10, 10, 120, 24);
    window.show();
    edit->SetIncrement(Fixed("2.5"));

    TRealSpinArrow* up = edit->Button()->UpButton();
    TRealSpinArrow* down = edit->Button()->DownButton();
    Click(up, up->rect().center());
    EXPECT_EQ(edit->text(), "2.5");
    Click(up, up->rect().center());
    Click(down, down->rect().center());
    Click(down, down->rect().center());
    Click(down, down->rect().center());
    EXPECT_EQ(edit->text(), "-2.5");

    for (TRealSpinArrow* arrow : {up, down}) {
        EXPECT_TRUE(arrow->autoRepeat());
        EXPECT_EQ(arrow->autoRepeatDelay(), 400);
        EXPECT_EQ(arrow->autoRepeatInterval(), 100);
    }
}

TEST(RealSpinEdit, EnteringTheEditSelectsItsText)
{
    const struct {
        Qt::FocusReason reason;
        bool selected;
    } cases[] = {
        {Qt::TabFocusReason, true},
        {Qt::BacktabFocusReason, true},
        {Qt::ShortcutFocusReason, true},
        {Qt::OtherFocusReason, true},  // an arrow hands the focus back
        {Qt::MouseFocusReason, false}, // a click into the text places the cursor
        {Qt::ActiveWindowFocusReason, false},
        {Qt::PopupFocusReason, false},
    };
    for (const auto& c : cases) {
        TRealSpinEdit edit;
        edit.setText(QStringLiteral("12.5"));
        edit.deselect();
        QFocusEvent in(QEvent::FocusIn, c.reason);
        QCoreApplication::sendEvent(&edit, &in);
        EXPECT_EQ(edit.selectedText(), c.selected ? QStringLiteral("12.5") : QString()) << c.reason;
    }
}

TEST(RealSpinEdit, TheArrowsSitAtTheRightEdgeBesideTheText)
{
    QWidget window;
    auto* edit = new TRealSpinEdit(&window);
    edit->setGeometry(0, 0, 100, 30);
    window.show();
    const QRect button = edit->Button()->geometry();
    EXPECT_GE(button.width(), 15);
    EXPECT_LE(button.right(), edit->width() - 1);
    EXPECT_GE(button.left(), edit->width() - 25) << "at the right edge";
    EXPECT_GT(button.height(), edit->height() / 2);
    EXPECT_LE(edit->textMargins().right(), button.width() + 5);
    EXPECT_GE(edit->textMargins().right(), button.width());

    const QRect upper = edit->Button()->UpButton()->geometry();
    const QRect lower = edit->Button()->DownButton()->geometry();
    EXPECT_EQ(upper.top(), 0);
    EXPECT_EQ(upper.height(), button.height() / 2);
    EXPECT_EQ(lower.top(), upper.bottom()) << "the lower arrow overlaps the upper by one pixel";
    EXPECT_EQ(lower.bottom(), button.height() - 1);

    edit->resize(100, 4);
    EXPECT_GE(edit->height(), edit->MinHeight());
    EXPECT_GT(edit->MinHeight(), edit->fontMetrics().height());
}

TEST(RealSpinEdit, KeyFilterAcceptsOnlyNumberCharacters)
{
    const struct {
        char16_t key;
        bool withEditor;
        bool withoutEditor;
    } cases[] = {
        {'0', true, false}, {'9', true, false}, {'+', true, false}, {'-', true, false},
        {'.', true, false}, {',', true, false}, {'a', false, false}, {'e', false, false},
        {' ', false, false}, {'\b', true, false}, {127, true, false}, {'\r', false, false},
        {3, true, true},   // Ctrl+C still copies
        {27, true, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TRealSpinEdit::IsValidChar(QChar(c.key), true), c.withEditor) << int(c.key);
        EXPECT_EQ(TRealSpinEdit::IsValidChar(QChar(c.key), false), c.withoutEditor) << int(c.key);
    }

    TRealSpinEdit edit;
    edit.setText(QString());
    TypeText(&edit, QStringLiteral("1a2 b-,.x"));
    EXPECT_EQ(edit.text(), "12-,.");
    PressKey(&edit, Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_EQ(edit.text(), "12-,");
}

TEST(RealSpinEdit, WithoutTheEditorOnlyTheArrowsChangeTheValue)
{
    TRealSpinEdit edit;
    edit.SetEditorEnabled(false);
    edit.setText(QStringLiteral("42"));
    TypeText(&edit, QStringLiteral("7"));
    PressKey(&edit, Qt::Key_Backspace, QStringLiteral("\b"));
    PressKey(&edit, Qt::Key_Delete);
    edit.setCursorPosition(0);
    PressKey(&edit, Qt::Key_Delete);
    EXPECT_EQ(edit.text(), "42");
    PressKey(&edit, Qt::Key_Up);
    EXPECT_EQ(edit.text(), "43");

    QApplication::clipboard()->setText(QStringLiteral("9"));
    edit.selectAll();
    PressKey(&edit, Qt::Key_V, QStringLiteral("\x16"), Qt::ControlModifier);
    PressKey(&edit, Qt::Key_X, QStringLiteral("\x18"), Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "43") << "no cut and paste without the editor";

    edit.SetEditorEnabled(true);
    edit.selectAll();
    PressKey(&edit, Qt::Key_V, QStringLiteral("\x16"), Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "9") << "paste works with the editor";
}
