#pragma once

// A drop-down list of colours, each shown with its swatch and its name: the
// sixteen standard colours, four extended ones and the system's window
// colour. A colour chosen elsewhere (the settings file, a reset) that is not
// in the list is added to it under its hexadecimal value, so the box always
// shows the colour in use.

#include <QComboBox>

#include "cad/base/Settings.h"

class TColorBox : public QComboBox {
    Q_OBJECT

public:
    explicit TColorBox(QWidget* parent = nullptr);

    // The colour of the current item; clBlack when none is current.
    TColor Selected() const;
    // Makes the colour the current item without reporting a change.
    void SetSelected(TColor color);

private:
    void AddColor(TColor color, const QString& name);
};
