// A vector font file, then text measured and drawn with it.

#include <QImage>
#include <QPainter>

#include "FuzzSupport.h"
#include "cad/base/CADExceptions.h"
#include "cad/canvas/DecorativeCanvas.h"
#include "cad/fonts/VectFont.h"
#include "cad/fonts/VectFontLayout.h"
#include "cad/geometry/Geometry2D.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::QuietMessages();
    fuzz::StartOffscreenApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TCADStreamReader stream = fuzz::ReaderOf(data, size);
    std::unique_ptr<TVectFont> font;
    try {
        font = std::make_unique<TVectFont>(stream, CADCurrentVersion);
    } catch (const ECADCoreException&) {
        return 0;
    }
    // Every code once, with line breaks and spaces among them.
    std::string text;
    for (int code = 0; code < 256; ++code)
        text += static_cast<char>(code);
    VectTextExtent(font.get(), text, 0.02f, 0.1f, 10.0f);
    QImage image(64, 48, QImage::Format_RGB32);
    QPainter painter(&image);
    TDecorativeCanvas canvas(&painter);
    const TTransform2D view = MakeScale2D(0.5f, -0.5f);
    TPoint2D pen = MakePoint2D(-20, 0);
    for (const char c : text)
        DrawVectChar(font.get(), c, pen, canvas, view, 0.1f, 10.0f);
    return 0;
}
