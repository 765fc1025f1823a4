#pragma once

// Small builders the drawing, text and information pages share: named
// controls in a label-and-field grid.

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>

namespace drawpages {

template <typename TControl>
TControl* Named(TControl* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

// A page laid out as a column: a grid of rows, then whatever follows.
class TPageColumn {
public:
    explicit TPageColumn(QWidget* page) : Page(page), Column(new QVBoxLayout(page)), Grid(new QGridLayout)
    {
        Column->setContentsMargins(6, 6, 6, 6);
        Column->addLayout(Grid);
    }
    ~TPageColumn() { Column->addStretch(); }
    TPageColumn(const TPageColumn&) = delete;
    TPageColumn& operator=(const TPageColumn&) = delete;

    QLabel* Label(const char* name, const QString& text)
    {
        auto* label = Named(new QLabel(text, Page), name);
        return label;
    }
    template <typename TControl>
    TControl* Row(const char* labelName, const QString& text, TControl* control)
    {
        Last = Label(labelName, text);
        Grid->addWidget(Last, RowCount, 0);
        Grid->addWidget(control, RowCount, 1);
        ++RowCount;
        return control;
    }
    QLineEdit* Edit(const char* labelName, const QString& text, const char* name, const QString& value)
    {
        auto* edit = Named(new QLineEdit(value, Page), name);
        return Row(labelName, text, edit);
    }
    // A read-out label beside its caption.
    QLabel* Readout(const char* name, const QString& caption)
    {
        auto* value = Named(new QLabel(Page), name);
        return Row("", caption, value);
    }
    QToolButton* Button(const char* name, const QString& text)
    {
        auto* button = Named(new QToolButton(Page), name);
        button->setText(text);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setFocusPolicy(Qt::NoFocus);
        Column->addWidget(button);
        return button;
    }
    // The caption of the row added last.
    QLabel* LastLabel() const { return Last; }
    QVBoxLayout* Layout() const { return Column; }
    QWidget* Widget() const { return Page; }

private:
    QWidget* Page;
    QVBoxLayout* Column;
    QGridLayout* Grid;
    int RowCount = 0;
    QLabel* Last = nullptr;
};

} // namespace drawpages
