#pragma once

// Small helpers for building the option pages: named controls, text-only
// buttons, and actions run on an event of a control.

#include <functional>
#include <utility>

#include <QEvent>
#include <QObject>
#include <QString>
#include <QToolButton>

template <typename TControl>
TControl* NamedControl(TControl* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

// A flat button showing only its text; it never takes the focus from a field.
inline QToolButton* PageTextButton(QWidget* parent, const char* name, const QString& text)
{
    auto* button = NamedControl(new QToolButton(parent), name);
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// Runs the action on every event the test accepts; the event goes no further
// when the test says so. Owned by the watched control.
class TEventAction : public QObject {
public:
    // Gives true when the event is the one to act on; consume tells whether
    // it stops there.
    using TTest = std::function<bool(QEvent& event, bool& consume)>;

    TEventAction(QObject& watched, TTest test, std::function<void()> action)
        : QObject(&watched), Test(std::move(test)), Action(std::move(action))
    {
        watched.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        bool consume = false;
        if (Test(*event, consume)) {
            Action();
            return consume;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    TTest Test;
    std::function<void()> Action;
};
