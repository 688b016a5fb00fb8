#include "support/CommaLocale.h"

#include <clocale>
#include <cstdio>
#include <gtest/gtest.h>

namespace zt::test {

bool commaLocaleAvailable() {
    const char* current = std::setlocale(LC_ALL, nullptr);
    const std::string previous = current ? current : "C";
    const bool there = std::setlocale(LC_ALL, commaLocaleName) != nullptr;
    std::setlocale(LC_ALL, previous.c_str());
    return there;
}

CommaLocale::CommaLocale() {
    const char* current = std::setlocale(LC_ALL, nullptr);
    previous_ = current ? current : "C";
    if (!std::setlocale(LC_ALL, commaLocaleName))
        return;
    // The locale must really write a comma, or the test would prove nothing.
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    EXPECT_EQ(probe[1], ',') << commaLocaleName << " does not write a decimal comma";
    previousQt_ = QLocale();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    active_ = true;
}

CommaLocale::~CommaLocale() {
    if (!active_)
        return;
    QLocale::setDefault(previousQt_);
    std::setlocale(LC_ALL, previous_.c_str());
}

} // namespace zt::test
