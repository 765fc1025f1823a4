#include <gtest/gtest.h>

#include <QString>

#include "../platform/CommaLocale.h"
#include "app/NumericText.h"
#include "cad/base/Settings.h"

namespace {

class TUnits {
public:
    explicit TUnits(int mode)
        : Saved(UnitsMode)
    {
        UnitsMode = mode;
    }
    ~TUnits() { UnitsMode = Saved; }

private:
    int Saved;
};

} // namespace

TEST(NumericText, FormattaByUnitsMode)
{
    const CommaLocale comma;
    struct Case {
        int units;
        float value;
        const char* expected;
    };
    const Case cases[] = {
        {0, 1.5f, "1.500"},
        {1, 1.5f, "1.5000"},
        {0, -0.0004f, "-0.000"},
        {0, 2.0005f, "2.000"},  // the float is just below 2.0005
        {1, 1234.56789f, "1234.5679"},
        {0, -12.25f, "-12.250"},
        // Any other units mode formats as millimetres.
        {2, 1.5f, "1.500"},
        {-1, 3.0f, "3.000"},
    };
    for (const Case& c : cases) {
        const TUnits units(c.units);
        EXPECT_EQ(formatta(c.value), QString::fromLatin1(c.expected)) << "units " << c.units << " value " << c.value;
    }
}

TEST(NumericText, StatusCoordinatesAreSixWideByUnits)
{
    const CommaLocale comma;
    {
        const TUnits mm(0);
        EXPECT_EQ(StatusCoordinates(1.5, -20.125), QStringLiteral("X:  1.500 Y: -20.125"));
        EXPECT_EQ(StatusCoordinates(1234.5, 0), QStringLiteral("X: 1234.500 Y:  0.000"));
    }
    const TUnits inch(1);
    EXPECT_EQ(StatusCoordinates(0.25, 3), QStringLiteral("X: 0.2500 Y: 3.0000"));
}

TEST(NumericText, NumeroOk)
{
    struct Case {
        const char* text;
        bool ok;
    };
    const Case cases[] = {
        {"", false}, {"-", false}, {".", false}, {"-.", true}, {"5", true}, {"0.25", true}, {"--", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NumeroOk(QString::fromLatin1(c.text)), c.ok) << '"' << c.text << '"';
}

TEST(NumericText, KeyFiltersTakeTheirKeysAndRefuseTheRest)
{
    struct Case {
        char key;
        bool positive;
        bool withMinus;
        bool withEnter;
    };
    const Case cases[] = {
        {'0', true, true, true}, {'9', true, true, true}, {'.', true, true, true},
        {kKeyBackspace, true, true, true}, {'-', false, true, true}, {kKeyEnter, false, false, true},
        {kKeyEsc, false, false, false}, {',', false, false, false}, {'e', false, false, false},
        {'+', false, false, false}, {' ', false, false, false}, {kKeyRefused, false, false, false},
    };
    for (const Case& c : cases) {
        const auto expect = [&c](bool taken) { return taken ? c.key : kKeyRefused; };
        EXPECT_EQ(SoloNumeriPos(c.key), expect(c.positive)) << int(c.key);
        EXPECT_EQ(SoloNumeriEMeno(c.key), expect(c.withMinus)) << int(c.key);
        EXPECT_EQ(SoloNumeriEMenoEEnter(c.key), expect(c.withEnter)) << int(c.key);
    }
}

TEST(NumericText, CoordinateXKeysFollowTheTextAndTheCaret)
{
    const struct {
        const char* text;
        int caret;
        char key;
        bool taken;
    } cases[] = {
        {"", 0, '-', true},       {"12", 0, '-', true},     {"12", 2, '-', false},  // only in front
        {"-12", 0, '-', false},   {"1", 1, '5', true},      {"-1", 0, '5', false},  // not before the sign
        {"-1", 1, '5', true},     {"1", 1, '.', true},      {"1.5", 3, '.', false},
        {"-1", 0, '.', false},    {"-1", 2, '.', true},     {"-1.5", 0, kKeyBackspace, true},
        {"-1.5", 0, kKeyEnter, true}, {"1", 1, 'e', false}, {"1", 1, ',', false},   {"1", 1, '+', false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CoordXKey(QString::fromLatin1(c.text), c.caret, c.key), c.taken ? c.key : kKeyRefused)
            << c.text << " caret " << c.caret << " key " << int(c.key);
}
