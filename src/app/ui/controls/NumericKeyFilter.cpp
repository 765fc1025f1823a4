#include "app/ui/controls/NumericKeyFilter.h"

#include <QKeyEvent>
#include <QObject>
#include <QWidget>

namespace {

class TKeyFilterObject : public QObject {
public:
    TKeyFilterObject(QObject* parent, TKeyFilter filter)
        : QObject(parent)
        , Filter(filter)
    {
    }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const std::optional<char> typed = KeyCharacter(*key);
        if (!typed || Filter(*typed) != kKeyRefused)
            return false;
        if (*typed == kKeyEsc || *typed == kKeyEnter)
            key->ignore();  // kept from the field, passed on to its parents
        return true;
    }

private:
    TKeyFilter Filter;
};

} // namespace

std::optional<char> KeyCharacter(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Escape:
        return kKeyEsc;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kKeyEnter;
    case Qt::Key_Backspace:
        return kKeyBackspace;
    default:
        break;
    }
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return std::nullopt;
    const QString text = event.text();
    if (text.size() != 1 || text.front().unicode() < 0x20 || text.front().unicode() == 0x7F)
        return std::nullopt;
    const char16_t typed = text.front().unicode();
    return typed < 0x80 ? static_cast<char>(typed) : kKeyRefused;
}

void InstallKeyFilter(QWidget& field, TKeyFilter filter)
{
    field.installEventFilter(new TKeyFilterObject(&field, filter));
}
