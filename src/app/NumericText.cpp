#include "app/NumericText.h"

#include <array>
#include <charconv>

#include "cad/base/Settings.h"

QString FormatFixed(double value, int decimals, int width)
{
    // Room for the 309 integer digits of the largest double, sign, point and decimals.
    std::array<char, 330> buffer{};
    const auto [end, error] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, decimals);
    if (error != std::errc())
        return {};
    const QString text = QString::fromLatin1(buffer.data(), static_cast<qsizetype>(end - buffer.data()));
    return text.rightJustified(width, QLatin1Char(' '));
}

namespace {

int UnitDecimals()
{
    return UnitsMode == 1 ? 4 : 3;
}

bool IsDigitOrPoint(char key)
{
    return (key >= '0' && key <= '9') || key == '.';
}

} // namespace

QString formatta(float value)
{
    return FormatFixed(value, UnitDecimals(), 0);
}

QString StatusCoordinates(double x, double y)
{
    const int decimals = UnitDecimals();
    return QStringLiteral("X: ") + FormatFixed(x, decimals, 6) + QStringLiteral(" Y: ") + FormatFixed(y, decimals, 6);
}

bool NumeroOk(const QString& text)
{
    return !text.isEmpty() && text != QStringLiteral("-") && text != QStringLiteral(".");
}

char SoloNumeriPos(char key)
{
    return IsDigitOrPoint(key) || key == kKeyBackspace ? key : kKeyRefused;
}

char SoloNumeriEMeno(char key)
{
    return key == '-' ? key : SoloNumeriPos(key);
}

char SoloNumeriEMenoEEnter(char key)
{
    return key == kKeyEnter ? key : SoloNumeriEMeno(key);
}

char CoordXKey(const QString& text, int caret, char key)
{
    if (key == kKeyBackspace || key == kKeyEnter)
        return key;
    const bool hasMinus = text.contains(QLatin1Char('-'));
    const bool beforeMinus = hasMinus && caret == 0;
    if (key >= '0' && key <= '9')
        return beforeMinus ? kKeyRefused : key;
    if (key == '.')
        return text.contains(QLatin1Char('.')) || beforeMinus ? kKeyRefused : key;
    if (key == '-')
        return !hasMinus && caret == 0 ? key : kKeyRefused;
    return kKeyRefused;
}
