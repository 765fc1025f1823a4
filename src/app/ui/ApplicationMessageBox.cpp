#include "app/ui/ApplicationMessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace {

TMessageBoxHook& Hook()
{
    static TMessageBoxHook hook;
    return hook;
}

QMessageBox::Icon IconOf(int flags)
{
    switch (flags & 0xF0) {
    case kMbIconError:
        return QMessageBox::Critical;
    case kMbIconQuestion:
        return QMessageBox::Question;
    case kMbIconWarning:
        return QMessageBox::Warning;
    case kMbIconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

int ApplicationMessageBox(const QString& text, const QString& caption, int flags)
{
    if (Hook())
        return Hook()(text, caption, flags);
    const bool yesNo = (flags & 0x0F) == kMbYesNo;
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(IconOf(flags), caption, shown,
        yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, QApplication::activeWindow());
    const int answer = box.exec();
    if (!yesNo)
        return kIdOk;
    return answer == QMessageBox::Yes ? kIdYes : kIdNo;
}

TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook)
{
    TMessageBoxHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}
