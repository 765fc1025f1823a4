#pragma once

// Input as the user gives it, sent straight to one widget, and icons as
// images that tests can compare pixel for pixel.

#include <QColor>
#include <QCoreApplication>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include "app/ui/glyphs/Glyphs.h"

// Presses and releases a key, as the keyboard would.
inline void PressKey(QWidget* widget, int key, const QString& text = QString(),
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(widget, &release);
}

// Presses and releases a mouse button at a point of the widget.
inline void Click(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), button, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
}

// The icon at the glyph size.
inline QImage IconImage(const QIcon& icon)
{
    return icon.pixmap(QSize(kGlyphSize, kGlyphSize)).toImage().convertToFormat(QImage::Format_ARGB32);
}

// How many pixels of the image have exactly the colour.
inline int CountColour(const QImage& image, const QColor& colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour ? 1 : 0;
    return count;
}
