#pragma once

// The window of a drawing view. All of the view's behaviour is in its core;
// the widget shows the core's window picture and hands it the input, so the
// interaction engine hooked into the core sees each event exactly once.

#include <memory>

#include <QWidget>

#include "cad/view/CADViewport2DCore.h"

class TCADViewport : public QWidget {
    Q_OBJECT

public:
    TCADViewport(std::unique_ptr<TCADViewportCore> core, QWidget* parent = nullptr);
    ~TCADViewport() override;

    TCADViewportCore& Core() { return *CoreValue; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    std::unique_ptr<TCADViewportCore> CoreValue;
    // Fine-grained wheels and touch pads send parts of a notch; they add up.
    int WheelRemainder = 0;
};

class TCADViewport2D : public TCADViewport {
    Q_OBJECT

public:
    explicit TCADViewport2D(QWidget* parent = nullptr);

    TCADViewport2DCore& Core2D() { return static_cast<TCADViewport2DCore&>(Core()); }
};

// The key code the engine compares (letters and digits as upper-case
// characters, Enter 13, Esc 27, ...); 0 for keys it does not know.
int VirtualKeyFromQt(int qtKey);
