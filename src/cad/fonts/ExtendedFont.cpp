#include "cad/fonts/ExtendedFont.h"

#include <algorithm>
#include <cstring>

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include "cad/canvas/DecorativeCanvas.h"

namespace {

constexpr std::int32_t DefaultGuiFontHeight = -11;
constexpr std::int32_t NormalWeight = 400;

bool IsPlaceholderFace(const std::string& face)
{
    return face.empty() || face == "Small Font" || face == "Small Fonts";
}

} // namespace

TExtendedFont::TExtendedFont()
{
    LogFont.Height = DefaultGuiFontHeight;
    LogFont.Weight = NormalWeight;
    SetFaceName("Small Font");
}

TExtendedFont::~TExtendedFont()
{
    SetCanvas(nullptr);
}

void TExtendedFont::SetHeight(std::int32_t height)
{
    LogFont.Height = height;
    SelectIntoCanvas();
}

void TExtendedFont::Assign(const TExtendedFont& other)
{
    if (&other == this)
        return;
    LogFont = other.LogFont;
    SelectIntoCanvas();
}

void TExtendedFont::SetCanvas(TDecorativeCanvas* canvas)
{
    if (SelectedPainter)
        SelectedPainter->setFont(PainterOwnFont);
    SelectedPainter = nullptr;
    CanvasValue = canvas;
    if (CanvasValue && CanvasValue->GetPainter()) {
        SelectedPainter = CanvasValue->GetPainter();
        PainterOwnFont = SelectedPainter->font();
        SelectIntoCanvas();
    }
}

void TExtendedFont::SelectIntoCanvas() const
{
    if (SelectedPainter)
        SelectedPainter->setFont(ToQFont());
}

void TExtendedFont::SetFaceName(const std::string& face)
{
    LogFont.FaceName.fill('\0');
    const std::size_t length = std::min(face.size(), LogFont.FaceName.size() - 1);
    std::memcpy(LogFont.FaceName.data(), face.data(), length);
}

std::string TExtendedFont::FaceName() const
{
    const char* begin = LogFont.FaceName.data();
    const char* end = std::find(begin, begin + LogFont.FaceName.size(), '\0');
    return std::string(begin, end);
}

QFont TExtendedFont::ToQFont() const
{
    const std::string face = FaceName();
    QFont font = IsPlaceholderFace(face) ? QFontDatabase::systemFont(QFontDatabase::GeneralFont)
                                         : QFont(QString::fromLatin1(face.data(), static_cast<qsizetype>(face.size())));
    if (LogFont.Weight > 0)
        font.setWeight(static_cast<QFont::Weight>(std::clamp(LogFont.Weight, 1, 1000)));
    else
        font.setWeight(QFont::Normal);
    font.setItalic(LogFont.Italic != 0);
    font.setUnderline(LogFont.Underline != 0);
    font.setStrikeOut(LogFont.StrikeOut != 0);

    if (LogFont.Height < 0) {
        font.setPixelSize(std::max(1, -LogFont.Height));
    } else if (LogFont.Height > 0) {
        // A positive height is the whole cell (ascent + descent): shrink the
        // character size until the cell fits.
        const int cell = LogFont.Height;
        font.setPixelSize(cell);
        const int measured = QFontMetrics(font).height();
        if (measured > cell)
            font.setPixelSize(std::max(1, static_cast<int>(static_cast<long long>(cell) * cell / measured)));
    }
    return font;
}
