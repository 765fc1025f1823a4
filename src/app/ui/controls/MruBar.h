#pragma once

// The floating bar of recently-used commands: five flat buttons, the most
// recent command on top, each starting its command again. The user drags it
// by its body or its grip anywhere inside the window it floats in.

#include <array>
#include <cstdint>
#include <functional>

#include <QFrame>
#include <QIcon>

#include "app/MruList.h"

class QToolButton;

class TMruBar : public QFrame {
    Q_OBJECT
public:
    // The glyph of a command by its key, as the command buttons show it.
    using TGlyphSource = std::function<QIcon(std::int32_t key)>;

    // pnlMRU with its grip pnlMRUb and the buttons sbtMRU1 to sbtMRU5, at the designed place.
    explicit TMruBar(QWidget* parent = nullptr);

    void SetGlyphSource(TGlyphSource source) { Glyphs = std::move(source); }

    // Called by each command as it starts. Does nothing while the bar is
    // hidden, so that switching the bar on shows the list as it was.
    void MRUadd(std::int32_t key, const QString& hint, TMruHandler handler);

    const TMruList& List() const { return ListValue; }
    // 0 is sbtMRU1, the top button.
    QToolButton* Button(int index) const { return Buttons.at(static_cast<std::size_t>(index)); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void RefreshButtons();
    void RunButton(int index);

    TMruList ListValue;
    std::array<QToolButton*, TMruList::Count> Buttons{};
    // What each button starts. A button whose entry is empty keeps its last command.
    std::array<TMruHandler, TMruList::Count> ButtonHandlers;
    TGlyphSource Glyphs;
    bool Dragging = false;
    QPoint PressPoint;
};
