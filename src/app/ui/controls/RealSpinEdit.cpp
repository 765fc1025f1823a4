#include "app/ui/controls/RealSpinEdit.h"

#include <algorithm>
#include <array>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QStyle>
#include <QStyleOptionFrame>

#include "app/ui/controls/RealSpinButton.h"

namespace {

// Keys that change the text without typing a character, refused while the
// editor is off just as typed characters are.
constexpr std::array kEditingKeys = {
    QKeySequence::Undo, QKeySequence::Redo, QKeySequence::Delete, QKeySequence::Backspace,
    QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfWord,
    QKeySequence::DeleteEndOfLine, QKeySequence::DeleteCompleteLine,
};

bool IsEditingKey(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete
        || std::any_of(kEditingKeys.begin(), kEditingKeys.end(),
                       [event](QKeySequence::StandardKey key) { return event->matches(key); });
}

} // namespace

TRealSpinEdit::TRealSpinEdit(QWidget* parent)
    : QLineEdit(parent)
    , ButtonValue(new TRealSpinButton(this))
{
    setText(QStringLiteral("0"));
    ButtonValue->setCursor(Qt::ArrowCursor);
    connect(ButtonValue, &TRealSpinButton::UpClick, this, [this] {
        UpClick();
        setFocus();
    });
    connect(ButtonValue, &TRealSpinButton::DownClick, this, [this] {
        DownClick();
        setFocus();
    });
    setMinimumHeight(MinHeight());
    PlaceButton();
}

TFixed4 TRealSpinEdit::Value() const
{
    return TFixed4::Parse(text().toStdString()).value_or(MinValueValue);
}

void TRealSpinEdit::SetValue(TFixed4 value)
{
    setText(QString::fromStdString(ClampToLimits(value, MinValueValue, MaxValueValue).ToString()));
}

void TRealSpinEdit::SetEditorEnabled(bool enabled)
{
    EditorEnabledValue = enabled;
    // A dropped text is a paste.
    setAcceptDrops(enabled);
}

void TRealSpinEdit::UpClick()
{
    if (isReadOnly())
        QApplication::beep();
    else
        SetValue(Value() + IncrementValue);
}

void TRealSpinEdit::DownClick()
{
    if (isReadOnly())
        QApplication::beep();
    else
        SetValue(Value() - IncrementValue);
}

bool TRealSpinEdit::IsValidChar(QChar key, bool editorEnabled)
{
    const char16_t c = key.unicode();
    const bool control = c < 32 || c == 127;
    if (control)
        return c != '\r' && (editorEnabled || (c != '\b' && c != 127));
    if (!editorEnabled)
        return false;
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == ',' || c == '.';
}

int TRealSpinEdit::MinHeight() const
{
    const int fontHeight = fontMetrics().height();
    const int systemHeight = QFontMetrics(QApplication::font()).height();
    constexpr int borderHeight = 1;
    return fontHeight + std::min(systemHeight, fontHeight) / 4 + 4 * borderHeight + 2;
}

void TRealSpinEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        event->key() == Qt::Key_Up ? UpClick() : DownClick();
        event->accept();
        return;
    }
    // Enter types nothing here; it goes on to the window, which accepts the running task with it.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if ((event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Paste)) && !MayCutAndPaste()) {
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool refused = (!EditorEnabledValue && IsEditingKey(event))
        || std::any_of(typed.begin(), typed.end(),
                       [this](QChar c) { return !IsValidChar(c, EditorEnabledValue); });
    if (refused) {
        QApplication::beep();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TRealSpinEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // An arrow gives the focus back with OtherFocusReason; the window coming
    // back to the front or a closed popup does not enter the edit anew.
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::MouseFocusReason && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        selectAll();
}

void TRealSpinEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    const TFixed4 value = Value();
    if (ClampToLimits(value, MinValueValue, MaxValueValue) != value)
        SetValue(value);
}

void TRealSpinEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    PlaceButton();
}

void TRealSpinEdit::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        setMinimumHeight(MinHeight());
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        PlaceButton();
}

void TRealSpinEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (QAction* action : menu->actions()) {
        const QString name = action->objectName();
        if ((name == QLatin1String("edit-cut") || name == QLatin1String("edit-paste")) && !MayCutAndPaste())
            action->setEnabled(false);
        if ((name == QLatin1String("edit-delete") || name == QLatin1String("edit-undo")
             || name == QLatin1String("edit-redo")) && !EditorEnabledValue)
            action->setEnabled(false);
    }
    menu->popup(event->globalPos());
}

void TRealSpinEdit::mouseReleaseEvent(QMouseEvent* event)
{
    // The middle button pastes the X selection.
    if (event->button() == Qt::MiddleButton && !MayCutAndPaste()) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TRealSpinEdit::PlaceButton()
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    const int frame = hasFrame() ? style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this) : 0;
    const int buttonWidth = std::max(ButtonValue->width(), TRealSpinButton::MinimumWidth);
    if (hasFrame())
        ButtonValue->setGeometry(width() - frame - 1 - buttonWidth, frame, buttonWidth, height() - 2 * frame - 1);
    else
        ButtonValue->setGeometry(width() - buttonWidth, 1, buttonWidth, height() - 3);
    // The text ends two pixels short of the arrows.
    setTextMargins(0, 0, width() - frame - ButtonValue->x() + 2, 0);
}
