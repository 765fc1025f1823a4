#pragma once

// A numeric edit with spin arrows whose value is a four-decimal fixed-point
// number. QDoubleSpinBox does not fit: here equal limits mean no limits, a
// text that does not read gives the lower limit, and out-of-range text is
// only corrected when the edit loses the focus.

#include <QLineEdit>

#include "app/Fixed4.h"

class TRealSpinButton;

class TRealSpinEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TRealSpinEdit(QWidget* parent = nullptr);

    // The text read as a number; MinValue when it does not read.
    TFixed4 Value() const;
    // Writes the value, held inside the limits, as its shortest text.
    void SetValue(TFixed4 value);

    TFixed4 Increment() const { return IncrementValue; }
    void SetIncrement(TFixed4 increment) { IncrementValue = increment; }
    TFixed4 MinValue() const { return MinValueValue; }
    void SetMinValue(TFixed4 min) { MinValueValue = min; }
    TFixed4 MaxValue() const { return MaxValueValue; }
    void SetMaxValue(TFixed4 max) { MaxValueValue = max; }
    // Whether the user may type into the edit; the arrows work either way.
    bool EditorEnabled() const { return EditorEnabledValue; }
    void SetEditorEnabled(bool enabled);

    TRealSpinButton* Button() const { return ButtonValue; }

    // Value + Increment, or - Increment; a beep instead when the edit is read-only.
    void UpClick();
    void DownClick();

    // Whether a typed character may reach the edit: digits, signs, '.' and
    // ',' and the control characters other than Enter; without the editor
    // only control characters other than Backspace and Delete.
    static bool IsValidChar(QChar key, bool editorEnabled);

    // The least height that shows a line of the edit's font.
    int MinHeight() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // The whole text is selected whenever the edit gets the focus, but for a
    // click into the text, which places the cursor.
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool MayCutAndPaste() const { return EditorEnabledValue && !isReadOnly(); }
    void PlaceButton();

    TFixed4 IncrementValue = TFixed4::FromInt(1);
    TFixed4 MinValueValue;
    TFixed4 MaxValueValue;
    bool EditorEnabledValue = true;
    TRealSpinButton* ButtonValue;
};
