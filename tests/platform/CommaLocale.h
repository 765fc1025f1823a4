#pragma once

// Switches the C, C++ and Qt default locales to German (',' as decimal
// separator) for the life of the object, so that number tests fail when
// some code formats or parses numbers through the locale.

#include <clocale>
#include <locale>
#include <string>

#include <QLocale>

class CommaLocale {
public:
    CommaLocale() : savedC_(std::setlocale(LC_ALL, nullptr)), savedQt_(QLocale())
    {
        try {
            std::locale::global(std::locale("de_DE.UTF-8"));
        } catch (const std::runtime_error&) {
            // Active() reports it; the test asserts on that.
        }
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    ~CommaLocale()
    {
        std::locale::global(savedCpp_);
        std::setlocale(LC_ALL, savedC_.c_str());
        QLocale::setDefault(savedQt_);
    }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    // True when the C library now writes numbers with a comma.
    static bool Active() { return std::localeconv()->decimal_point[0] == ','; }

private:
    std::string savedC_;
    std::locale savedCpp_;
    QLocale savedQt_;
};
