#include "sim/core/moneyText.h"

#include <cmath>
#include <cstdio>

namespace sim {

std::string moneyText(double units) {
    double hundredths = std::round(units / 100.0);
    if (!std::isfinite(hundredths) || std::fabs(hundredths) >= 1e17) {
        char text[64];
        std::snprintf(text, sizeof text, "%.6g", units / 10000.0);
        return text;
    }
    auto whole = static_cast<long long>(std::fabs(hundredths));
    std::string digits = std::to_string(whole / 100);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ' ';
        grouped += digits[i];
    }
    char cents[8];
    std::snprintf(cents, sizeof cents, ",%02lld", whole % 100);
    return (hundredths < 0 ? "-" : "") + grouped + cents;
}

}  // namespace sim
