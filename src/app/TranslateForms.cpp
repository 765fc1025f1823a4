#include "app/TranslateForms.h"

#include <optional>
#include <string>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QVariant>
#include <QWidget>

#include "app/Language.h"
#include "platform/IniFile.h"

namespace {

LanguageMessageSink& MessageSink()
{
    static LanguageMessageSink sink;
    return sink;
}

void ShowLanguageMessage(const QString& text)
{
    if (MessageSink()) {
        MessageSink()(text);
        return;
    }
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox::critical(nullptr, QStringLiteral("Kestro"), shown, QMessageBox::Ok);
}

// The translated value of a key, or none when the key is missing or empty.
std::optional<QString> Translation(const IniFile& file, const std::string& section, const QString& key)
{
    const std::optional<std::string> value = file.Find(section, key.toStdString());
    if (!value || value->empty())
        return std::nullopt;
    return JoinLangLines(*value);
}

void SetCaption(QObject& control, const QString& value)
{
    // A caption of two lines breaks as Qt's controls break their texts.
    QString text = value;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (auto* button = qobject_cast<QAbstractButton*>(&control))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(&control))
        label->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(&control))
        group->setTitle(text);
    else if (auto* action = qobject_cast<QAction*>(&control))
        action->setText(text);
    else if (auto* menu = qobject_cast<QMenu*>(&control))
        menu->setTitle(text);
    else if (control.metaObject()->indexOfProperty("caption") >= 0)
        control.setProperty("caption", text);
}

void SetHint(QObject& control, const QString& text)
{
    if (auto* widget = qobject_cast<QWidget*>(&control))
        widget->setToolTip(text);
    else if (auto* action = qobject_cast<QAction*>(&control))
        action->setToolTip(text);
}

QString ItemKey(const QString& name, int index)
{
    return name + QStringLiteral(".items[") + QString::number(index) + QLatin1Char(']');
}

void TranslateItems(QObject& control, const IniFile& file, const std::string& section)
{
    const QString name = control.objectName();
    if (auto* combo = qobject_cast<QComboBox*>(&control)) {
        for (int i = 0; i < combo->count(); ++i)
            if (const auto text = Translation(file, section, ItemKey(name, i)))
                combo->setItemText(i, *text);
        return;
    }
    const QVariant items = control.property("items");
    if (items.metaType() != QMetaType::fromType<QStringList>())
        return;
    QStringList texts = items.toStringList();
    for (int i = 0; i < texts.size(); ++i)
        if (const auto text = Translation(file, section, ItemKey(name, i)))
            texts[i] = *text;
    control.setProperty("items", texts);
}

void TranslateControl(QObject& control, const IniFile& file, const std::string& section)
{
    const QString name = control.objectName();
    if (name.isEmpty())
        return;
    if (const auto caption = Translation(file, section, name + QStringLiteral(".Caption")))
        SetCaption(control, *caption);
    if (const auto hint = Translation(file, section, name + QStringLiteral(".Hint")))
        SetHint(control, *hint);
    TranslateItems(control, file, section);
}

// A dialog or other top-level window parented to this one has a section of
// its own; a popup menu is part of the window that owns it.
bool IsOtherWindow(const QObject& child)
{
    const auto* widget = qobject_cast<const QWidget*>(&child);
    return widget != nullptr && widget->isWindow() && qobject_cast<const QMenu*>(widget) == nullptr;
}

void TranslateChildren(const QObject& owner, const IniFile& file, const std::string& section)
{
    for (QObject* child : owner.children()) {
        if (IsOtherWindow(*child))
            continue;
        TranslateControl(*child, file, section);
        TranslateChildren(*child, file, section);
    }
}

}  // namespace

void SetLanguageMessageSink(LanguageMessageSink sink)
{
    MessageSink() = std::move(sink);
}

void TranslateForms(const QList<QWidget*>& windows, const IniFile* file)
{
    if (file == nullptr) {
        ShowLanguageMessage(QStringLiteral("Language file not found!\r\n") + LanguageFilePath);
        return;
    }
    for (QWidget* window : windows) {
        if (window == nullptr)
            continue;
        const std::string section = window->objectName().toStdString();
        if (const auto caption = Translation(*file, section, window->objectName() + QStringLiteral(".Caption")))
            window->setWindowTitle(*caption);
        TranslateChildren(*window, *file, section);
    }
}
