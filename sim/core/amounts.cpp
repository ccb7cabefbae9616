#include "sim/core/amounts.h"

#include <cmath>

namespace sim {

double roundToHundredths(double amount) {
    if (!std::isfinite(amount)) return amount;
    // fmod is exact, so the halfway test sees the amount's true remainder;
    // dividing by 100 first would round before the test.
    double remainder = std::fmod(amount, 100.0);
    double down = amount - remainder;  // towards zero
    if (std::fabs(remainder) >= 50.0) return down + std::copysign(100.0, amount);
    return down;
}

}  // namespace sim
