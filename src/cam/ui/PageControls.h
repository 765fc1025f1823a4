#pragma once

// Controls of the CNC pages, named as the language file and the tests know them.

#include <QString>
#include <QToolButton>

// A text-only speed button; the text is UTF-8, as the source's literals are.
inline QToolButton* MakeButton(QWidget* parent, const char* name, const char* text)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(QString::fromUtf8(text));
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}
