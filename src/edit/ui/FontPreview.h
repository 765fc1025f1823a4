#pragma once

// The large preview of one character of the engraving font: its strokes in
// red, fitted to the box, each stroke's start marked by a green square.

#include <cstdint>

#include <QWidget>

class TTTFToVectorConverter;

class TFontPreview : public QWidget {
    Q_OBJECT
public:
    TFontPreview(TTTFToVectorConverter& converter, QWidget* parent = nullptr);

    std::uint32_t PreviewChar() const { return Code; }
    void SetPreviewChar(std::uint32_t code);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TTTFToVectorConverter& Converter;
    std::uint32_t Code = 'A';
};
