#include "sim/core/stamp.h"

#include <cstring>

namespace sim {
namespace {

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
long daysFromCivil(long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}

unsigned daysInMonth(long y, unsigned m) {
    static const unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : days[m - 1];
}

}  // namespace

std::optional<std::uint32_t> buildStampOf(std::string_view text) {
    static const char months[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
    if (text.size() != 11 || text[3] != ' ' || text[6] != ' ') return std::nullopt;
    unsigned month = 0;
    for (unsigned m = 0; m < 12; ++m)
        if (text.substr(0, 3) == std::string_view(months + 3 * m, 3)) month = m + 1;
    if (!month) return std::nullopt;
    auto digit = [&](std::size_t i) { return text[i] >= '0' && text[i] <= '9'; };
    if (!(digit(5) && (digit(4) || text[4] == ' '))) return std::nullopt;
    for (std::size_t i = 7; i < 11; ++i)
        if (!digit(i)) return std::nullopt;
    unsigned day = (text[4] == ' ' ? 0 : text[4] - '0') * 10 + (text[5] - '0');
    long year = (text[7] - '0') * 1000 + (text[8] - '0') * 100 + (text[9] - '0') * 10 + (text[10] - '0');
    if (year < 1980 || day < 1 || day > daysInMonth(year, month)) return std::nullopt;
    return static_cast<std::uint32_t>(daysFromCivil(year, month, day) - daysFromCivil(1980, 1, 1));
}

}  // namespace sim
