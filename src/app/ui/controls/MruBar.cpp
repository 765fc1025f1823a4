#include "app/ui/controls/MruBar.h"

#include <QMouseEvent>
#include <QToolButton>

namespace {

constexpr int kButtonSize = 25;
constexpr int kFirstButtonTop = 9;

} // namespace

TMruBar::TMruBar(QWidget* parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("pnlMRU"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAutoFillBackground(true);
    setGeometry(463, 406, 29, 136);

    auto* grip = new QFrame(this);
    grip->setObjectName(QStringLiteral("pnlMRUb"));
    grip->setFrameStyle(QFrame::Panel | QFrame::Raised);
    grip->setGeometry(2, 3, kButtonSize, 3);

    for (int i = 0; i < TMruList::Count; ++i) {
        auto* button = new QToolButton(this);
        button->setObjectName(QStringLiteral("sbtMRU%1").arg(i + 1));
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setIconSize(QSize(20, 20));
        button->setGeometry(2, kFirstButtonTop + i * kButtonSize, kButtonSize, kButtonSize);
        connect(button, &QToolButton::clicked, this, [this, i] { RunButton(i); });
        Buttons[static_cast<std::size_t>(i)] = button;
    }
}

void TMruBar::MRUadd(std::int32_t key, const QString& hint, TMruHandler handler)
{
    const bool shown = parentWidget() != nullptr ? isVisibleTo(parentWidget()) : !isHidden();
    if (!shown)
        return;
    ListValue.Add(key, hint, std::move(handler));
    RefreshButtons();
}

void TMruBar::RefreshButtons()
{
    for (int i = TMruList::Count - 1; i >= 0; --i) {
        const MRURecord& entry = ListValue.Entry(i);
        if (entry.Key == 0)
            continue;
        QToolButton* button = Buttons[static_cast<std::size_t>(i)];
        ButtonHandlers[static_cast<std::size_t>(i)] = entry.Handler;
        button->setToolTip(entry.Hint);
        button->setIcon(Glyphs ? Glyphs(entry.Key) : QIcon());
    }
}

void TMruBar::RunButton(int index)
{
    // The command adds itself to the list again, which rebinds this very
    // button, so it runs from a copy that outlives the rebinding.
    const TMruHandler handler = ButtonHandlers[static_cast<std::size_t>(index)];
    if (handler)
        handler(Buttons[static_cast<std::size_t>(index)]);
}

void TMruBar::mousePressEvent(QMouseEvent* event)
{
    Dragging = true;
    PressPoint = event->position().toPoint();
    event->accept();
}

void TMruBar::mouseMoveEvent(QMouseEvent* event)
{
    if (!Dragging)
        return;
    const QPoint moved = event->position().toPoint();
    QPoint target(moved.x() + x() - PressPoint.x(), moved.y() + y() - PressPoint.y());
    if (parentWidget() != nullptr)
        target = ClampBarPosition(target, size(), parentWidget()->size());
    move(target);
}

void TMruBar::mouseReleaseEvent(QMouseEvent*)
{
    Dragging = false;
}
