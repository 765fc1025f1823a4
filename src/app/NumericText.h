#pragma once

// Numbers as the main window shows them and as the user types them into the
// numeric fields of the option pages. Always with '.', whatever the locale.

#include <QString>

// printf's "%<width>.<decimals>f" without the locale.
QString FormatFixed(double value, int decimals, int width = 0);

// The value with three decimals in millimetres (units mode 0) and four in
// inches (units mode 1); any other units mode reads as millimetres.
QString formatta(float value);

// The pointer position of the status line: "X: %6.3f Y: %6.3f" in
// millimetres, "X: %6.4f Y: %6.4f" in inches.
QString StatusCoordinates(double x, double y);

// A numeric field's text may be converted: it is not empty and not a lone
// "-" or ".".
bool NumeroOk(const QString& text);

// Key characters as the filters below see them.
inline constexpr char kKeyRefused = '\0';
inline constexpr char kKeyBackspace = '\b';
inline constexpr char kKeyEnter = '\r';
inline constexpr char kKeyEsc = '\x1b';

// Key filters of numeric fields: each gives the key back when the field takes
// it, and kKeyRefused otherwise.
// Digits, '.' and Backspace.
char SoloNumeriPos(char key);
// Also '-'.
char SoloNumeriEMeno(char key);
// Also '-' and Enter.
char SoloNumeriEMenoEEnter(char key);

using TKeyFilter = char (*)(char key);

// The key filter of the coordinate dialog's X field, which also looks at the
// text and the caret: Backspace and Enter always pass; a digit, and "." while
// the text holds none, pass unless the caret stands before a "-"; "-" passes
// only at the start of a text that holds none.
char CoordXKey(const QString& text, int caret, char key);
