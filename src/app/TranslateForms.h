#pragma once

// Puts a window into the language of the language file: its caption, and the
// caption, hint and list items of every control it holds, each looked up by
// the control's objectName in the section named after the window.

#include <functional>

#include <QList>
#include <QString>

class IniFile;
class QWidget;

// Where TranslateForms reports a missing language file. The default shows an
// error box with an OK button; tests put their own in its place.
using LanguageMessageSink = std::function<void(const QString& text)>;
// An empty sink brings back the default.
void SetLanguageMessageSink(LanguageMessageSink sink);

// With no file: reports "Language file not found!\r\n" and the path of the
// last language file tried, and changes nothing. Otherwise, for each window
// (null entries skipped), from section <window objectName>:
//   "<window>.Caption"      the window title;
//   "<control>.Caption"     the text of a button, label, action or menu, the
//                           title of a group box, or a "caption" property;
//   "<control>.Hint"        the tool tip of a widget or action;
//   "<control>.items[<i>]"  item i of a combo box, or of a QStringList
//                           property "items" (radio groups), for each item
//                           that exists; none is added or removed.
// An empty or missing value leaves the designed text. Controls inside another
// window (a dialog parented to this one) belong to that window's section.
void TranslateForms(const QList<QWidget*>& windows, const IniFile* file);
